#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "formats/export_format.h"
#include "formats/export_sample.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

namespace fs = std::filesystem;

class ExportFileTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};
    test::RecordingMessenger messenger;
    fs::path dir;

    void SetUp() override
    {
        test::FillExportSample(model);
        dir = fs::temp_directory_path() /
              ("verbanta-export-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string onlyMessage() const
    {
        return messenger.shown.size() == 1 ? messenger.shown[0].text : "(not one message)";
    }
};

TEST_F(ExportFileTest, WritesTheExportReplacingAnExistingFile)
{
    const fs::path path = dir / "out.vtt";
    std::ofstream(path) << "old content that is longer than nothing";
    EXPECT_TRUE(exportSubtitlesToFile(model, 1, ExportFormat::WebVtt, path.string(), messenger));
    EXPECT_EQ(read(path), exportSubtitles(model, 1, ExportFormat::WebVtt));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(ExportFileTest, RefusesALanguageTheDocumentLacks)
{
    const fs::path path = dir / "out.srt";
    EXPECT_FALSE(exportSubtitlesToFile(model, 2, ExportFormat::SubRip, path.string(), messenger));
    EXPECT_EQ(onlyMessage(), "이 자막 파일에는 2번 언어가 없습니다.");
    EXPECT_EQ(messenger.shown.at(0).icon, MessageIcon::Error);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(exportSubtitlesToFile(model, -1, ExportFormat::SubRip, path.string(), messenger));
}

TEST_F(ExportFileTest, ReportsWhyTheFileCannotBeCreated)
{
    EXPECT_FALSE(exportSubtitlesToFile(model, 0, ExportFormat::SubRip, dir.string(), messenger));
    EXPECT_EQ(onlyMessage(), "파일 \"" + dir.string() + "\"\r는 디렉토리입니다.");

    messenger.shown.clear();
    const std::string missing = (dir / "no such folder" / "out.srt").string();
    EXPECT_FALSE(exportSubtitlesToFile(model, 0, ExportFormat::SubRip, missing, messenger));
    EXPECT_EQ(onlyMessage(), "파일 \"" + missing + "\"\r는 유효하지 않은 파일명입니다.");
}

TEST_F(ExportFileTest, ReportsAReadOnlyFile)
{
    const fs::path path = dir / "locked.ass";
    std::ofstream(path) << "keep";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    if (std::ofstream(path, std::ios::app).is_open())
        GTEST_SKIP() << "this user may write read-only files";
    EXPECT_FALSE(exportSubtitlesToFile(model, 0, ExportFormat::Ass, path.string(), messenger));
    EXPECT_EQ(onlyMessage(), "파일 \"" + path.string() + "\"\r은 읽기 전용 파일입니다.");
    EXPECT_EQ(read(path), "keep");
}

TEST_F(ExportFileTest, ReportsAFullDiskAndLeavesADeviceAlone)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(exportSubtitlesToFile(model, 0, ExportFormat::SubRip, "/dev/full", messenger));
    EXPECT_EQ(onlyMessage(), "파일 기록 중에 다음 에러가 발생하였습니다.\r- 디스크 용량 부족.");
    EXPECT_TRUE(fs::exists("/dev/full"));
}

TEST_F(ExportFileTest, DeletesAPartlyWrittenFile)
{
    // A file size limit makes the write fail half-way, as a full disk would.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const fs::path path = dir / "partial.srt";
    const bool written =
        exportSubtitlesToFile(model, 0, ExportFormat::SubRip, path.string(), messenger);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(onlyMessage(), "파일 기록 중에 다음 에러가 발생하였습니다.");
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace verbanta
