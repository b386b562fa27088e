// verbanta-cli convert with a SubRip, WebVTT or ASS output name, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/export_format.h"
#include "formats/export_sample.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/temp_folder.h"

#ifdef VERBANTA_CLI_PATH

namespace verbanta::test {
namespace {

class ExportCli : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};
    TempFolder folder;
    std::string err;

    void SetUp() override
    {
        FillExportSample(model);
        ASSERT_TRUE(model.SaveFile(folder.path("in.smi"), -1));
    }
    int run(const std::string& args)
    {
        const std::string command = std::string("'") + VERBANTA_CLI_PATH + "' convert " + args +
                                    " 2>'" + folder.path("stderr") + "' >/dev/null";
        const int raw = std::system(command.c_str());
        err = TempFolder::read(folder.path("stderr"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::string in() const { return "'" + folder.path("in.smi") + "'"; }
    std::string out(const std::string& name) const { return "'" + folder.path(name) + "'"; }
    static std::string golden(const std::string& name)
    {
        return TempFolder::read(std::string(VERBANTA_TEST_DATA_DIR) + "/export/" + name);
    }
};

TEST_F(ExportCli, WritesTheFirstLanguageOfASamiFileByDefault)
{
    ASSERT_EQ(run(in() + " " + out("a.srt")), 0) << err;
    EXPECT_EQ(TempFolder::read(folder.path("a.srt")), golden("two_languages_0.srt"));
    ASSERT_EQ(run(in() + " " + out("a.ASS")), 0) << err;
    EXPECT_EQ(TempFolder::read(folder.path("a.ASS")), golden("two_languages_0.ass"));
}

TEST_F(ExportCli, WritesTheChosenLanguage)
{
    ASSERT_EQ(run("--language 1 " + in() + " " + out("b.vtt")), 0) << err;
    EXPECT_EQ(TempFolder::read(folder.path("b.vtt")), golden("two_languages_1.vtt"));
}

TEST_F(ExportCli, RefusesALanguageTheFileLacks)
{
    EXPECT_EQ(run("--language 5 " + in() + " " + out("c.srt")), 1);
    EXPECT_NE(err.find("이 자막 파일에는 5번 언어가 없습니다."), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(folder.path("c.srt")));
}

TEST_F(ExportCli, RefusesALanguageForSamiOrTextOutput)
{
    EXPECT_EQ(run("--language 1 " + in() + " " + out("d.smi")), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path("d.smi")));
}

TEST_F(ExportCli, ConvertsAForeignFileToAnotherFormat)
{
    const std::string subRip = "1\r\n00:00:01,000 --> 00:00:02,500\r\n<i>Hi</i>\r\n\r\n";
    {
        std::ofstream file(folder.path("e.srt"), std::ios::binary);
        file << subRip;
    }
    ASSERT_EQ(run(out("e.srt") + " " + out("e.vtt")), 0) << err;
    EXPECT_EQ(TempFolder::read(folder.path("e.vtt")),
              "WEBVTT\r\n\r\n00:00:01.000 --> 00:00:02.500\r\n<i>Hi</i>\r\n\r\n");
}

}  // namespace
}  // namespace verbanta::test

#endif
