// Loading SAMI files from the file system: the read-only attribute, the size limit, every
// opening error, and input that is not SAMI at all.
#include "sami/sami_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <random>

#include "model/sami_model.h"
#include "sami/sami_test_util.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

namespace fs = std::filesystem;

class SamiFileTest : public ::testing::Test {
protected:
    AppSettings settings;
    test::RecordingMessenger messenger;
    SamiModel model{settings};
    test::TempDir dir{"sami_file_" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};

    void SetUp() override { model.setMessenger(messenger); }

    std::string lastMessage() const
    {
        return messenger.shown.empty() ? std::string() : messenger.shown.back().text;
    }
    /// A one-caption model content to tell whether a failed load left the model alone.
    void seedModel()
    {
        model.LoadText(test::samiWithBody("<SYNC Start=1><P Class=KRCC>kept"));
        messenger.shown.clear();
    }
};

TEST_F(SamiFileTest, LoadsAFileAndKnowsItIsWritable)
{
    const std::string path = dir.file("a.smi");
    test::writeFile(path, test::goldenFile("two_languages.smi"));
    ASSERT_TRUE(model.LoadFile(path, true));
    EXPECT_FALSE(model.readOnly);
    EXPECT_EQ(model.listCount, 2);
    EXPECT_EQ(writeSami(model, -1), test::goldenFile("two_languages.smi"));
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(SamiFileTest, ReadingNeverChangesTheModeAndOpeningForEditingClearsReadOnly)
{
    const std::string path = dir.file("ro.smi");
    test::writeFile(path, test::goldenFile("new_document.smi"));
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    ASSERT_TRUE(model.LoadFile(path, true));
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::group_read);

    EXPECT_TRUE(sami::clearReadOnlyAttribute(path, messenger));
    ASSERT_TRUE(model.LoadFile(path, true));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, path + "\n파일의 읽기 전용 속성을 해제하였습니다.");
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_NE(fs::status(path).permissions() & fs::perms::group_read, fs::perms::none);
}

TEST_F(SamiFileTest, ClearsTheReadOnlyAttributeAlsoInAFolderThatCannotBeWritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: write permission is never refused";
    // The attribute belongs to the file: a folder without write permission does not keep the
    // owner from clearing it, so the file loads writable.
    const std::string path = dir.file("locked.smi");
    test::writeFile(path, test::goldenFile("new_document.smi"));
    fs::permissions(path, fs::perms::owner_read);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    sami::clearReadOnlyAttribute(path, messenger);
    ASSERT_TRUE(model.LoadFile(path, true));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_FALSE(model.readOnly);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, path + "\n파일의 읽기 전용 속성을 해제하였습니다.");
}

TEST_F(SamiFileTest, SaysWhenTheReadOnlyAttributeCannotBeClearedAndLoadsReadOnly)
{
    // Only another user's file keeps its attribute: the superuser loads it as "nobody".
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to load a file as another user";
    const std::string path = dir.file("theirs.smi");
    test::writeFile(path, test::samiWithBody("<SYNC Start=1><P Class=KRCC>theirs"));
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        std::string report = "no privileges dropped";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            AppSettings childSettings;
            test::RecordingMessenger childMessenger;
            SamiModel theirs(childSettings);
            theirs.setMessenger(childMessenger);
            sami::clearReadOnlyAttribute(path, childMessenger);
            const bool loaded = theirs.LoadFile(path, true);
            report = std::string(loaded ? "loaded" : "failed") +
                     (theirs.readOnly ? " read-only" : " writable") + " " +
                     std::to_string(theirs.GetCount());
            for (const auto& shown : childMessenger.shown) report += "|" + shown.text;
        }
        [[maybe_unused]] const auto written = ::write(channel[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(report, "loaded read-only 1|" + path +
                          "\n파일의 읽기 전용 속성을 해제할 수 없습니다.\n\n"
                          "파일이 쓰기 불가능한 상태인지 확인해 주십시오.");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(SamiFileTest, ReportsAFileWithoutReadPermission)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: read permission is never refused";
    const std::string path = dir.file("secret.smi");
    test::writeFile(path, "x");
    fs::permissions(path, fs::perms::owner_write);
    seedModel();
    EXPECT_FALSE(model.LoadFile(path, true));
    EXPECT_EQ(lastMessage(), path + "\r을 읽을 권한이 없습니다.");
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{"kept"}));
}

TEST_F(SamiFileTest, AcceptsExactlyTheSizeLimit)
{
    // Blanks before the SAMI element are read and dropped, so the limit is quick to reach.
    const std::string sami = test::samiWithBody("<SYNC Start=1><P Class=KRCC>a");
    std::string bytes = std::string(kMaxSamiFileBytes - sami.size(), ' ') + sami;
    ASSERT_EQ(bytes.size(), 64u * 1024 * 1024);
    const std::string path = dir.file("limit.smi");
    test::writeFile(path, bytes);
    ASSERT_TRUE(model.LoadFile(path, true));
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(model.GetCount(), 1);

    test::writeFile(path, " " + bytes);
    seedModel();
    EXPECT_FALSE(model.LoadFile(path, true));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, path + "\n파일의 크기가 너무 커서 편집이 불가능합니다.");
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{"kept"}));
}

TEST_F(SamiFileTest, ReportsAMissingFile)
{
    const std::string path = dir.file("missing.smi");
    seedModel();
    EXPECT_FALSE(model.LoadFile(path, true));
    EXPECT_EQ(lastMessage(), path + "\r이 존재하지 않습니다.");
    EXPECT_EQ(messenger.shown.back().icon, MessageIcon::Error);
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{"kept"}));
}

TEST_F(SamiFileTest, ReportsAMissingFolderAsABadPath)
{
    const std::string path = dir.file("nowhere/missing.smi");
    EXPECT_FALSE(model.LoadFile(path, true));
    EXPECT_EQ(lastMessage(),
              path + "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.");
    const std::string throughFile = dir.file("plain/inside.smi");
    test::writeFile(dir.file("plain"), "x");
    EXPECT_FALSE(model.LoadFile(throughFile, true));
    EXPECT_EQ(
        lastMessage(),
        throughFile + "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.");
    const std::string tooLong = dir.file(std::string(300, 'n') + ".smi");
    EXPECT_FALSE(model.LoadFile(tooLong, true));
    EXPECT_EQ(lastMessage(),
              tooLong + "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.");
}

TEST_F(SamiFileTest, ReportsADirectory)
{
    EXPECT_FALSE(model.LoadFile(dir.path().string(), true));
    EXPECT_EQ(lastMessage(), dir.path().string() + "\r은 디렉토리입니다.");
}

TEST_F(SamiFileTest, RefusesSpecialFilesWithoutHanging)
{
    const std::string fifo = dir.file("pipe.smi");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(model.LoadFile(fifo, true));
    EXPECT_EQ(lastMessage(), fifo + "\r은 특수한 파일입니다.");
    EXPECT_FALSE(model.LoadFile("/dev/zero", true));
    EXPECT_EQ(lastMessage(), "/dev/zero\r은 특수한 파일입니다.");
}

TEST_F(SamiFileTest, EndsTheTextAtAZeroByteAndSaysWhereAndHowMuchWasNotRead)
{
    std::string bytes = test::samiWithBody(
        "<SYNC Start=1><P Class=KRCC>before<SYNC Start=2><P "
        "Class=KRCC>after");
    const std::size_t at = bytes.find("<SYNC Start=2>");
    bytes[at] = '\0';
    const std::string path = dir.file("zero.smi");
    test::writeFile(path, bytes);
    ASSERT_TRUE(model.LoadFile(path, true));
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{"before"}));
    EXPECT_EQ(model.unreadBytes, bytes.size() - at);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].icon, MessageIcon::Warning);
    EXPECT_NE(messenger.shown[0].text.find(std::to_string(at + 1) + "번째 바이트"),
              std::string::npos);

    // In UTF-16 only a whole zero character counts, at its place in the file.
    bytes[at] = '<';
    std::string wide = "\xFF\xFE";
    for (const char c : bytes) wide += {c, '\0'};
    wide[2 + 2 * at] = '\0';
    test::writeFile(path, wide);
    messenger.shown.clear();
    ASSERT_TRUE(model.LoadFile(path, true));
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{"before"}));
    EXPECT_EQ(model.unreadBytes, wide.size() - 2 - 2 * at);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_NE(messenger.shown[0].text.find(std::to_string(3 + 2 * at) + "번째 바이트"),
              std::string::npos);
}

TEST_F(SamiFileTest, ReadsAFileWhoseSizeReadsAsZeroToItsEnd)
{
    // The room for the bytes is sized by the file's measure and must grow when more come.
    // A process's command line under /proc measures 0 bytes and holds what we put there.
    if (!fs::exists("/proc/self/cmdline"))
        GTEST_SKIP() << "no /proc file system to give a file that measures 0 bytes";
    const std::string caption(20000, 'x');
    const std::string sami = test::samiWithBody("<SYNC Start=1><P Class=KRCC>" + caption);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl("/bin/sleep", sami.c_str(), "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string path = "/proc/" + std::to_string(child) + "/cmdline";
    for (int i = 0; i < 500 && test::readFile(path).rfind(sami, 0) != 0; ++i)
        ::usleep(10000);  // until the command line is the new program's
    const bool loaded = model.LoadFile(path, true);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{caption}));
    EXPECT_EQ(model.unreadBytes, 4u);  // the NUL after the markup, "30" and its NUL
}

TEST_F(SamiFileTest, AppendsAFileAfterTheCurrentList)
{
    seedModel();
    const std::string path = dir.file("more.smi");
    test::writeFile(path, test::samiWithBody("<SYNC Start=5><P Class=KRCC>appended"));
    ASSERT_TRUE(model.LoadFile(path, false));
    EXPECT_EQ(test::textsOf(model, 0), (std::vector<std::string>{"kept", "appended"}));
    EXPECT_FALSE(model.CanUndo());
}

TEST_F(SamiFileTest, SurvivesBinaryGarbage)
{
    std::mt19937 random(12345);
    const std::string path = dir.file("garbage.smi");
    for (int round = 0; round < 50; ++round) {
        std::string bytes(4096, '\0');  // after a SAMI element, so that it is read as SAMI
        for (char& c : bytes) {
            // Mostly markup characters, so that the scanner's states are all reached.
            static constexpr char kAlphabet[] = "<>/!-=\"' \r\nSYNCPstartClassID{};:.#&\x80\xb0";
            c = (random() % 4 == 0) ? static_cast<char>(random())
                                    : kAlphabet[random() % (sizeof kAlphabet - 1)];
        }
        test::writeFile(path, "<SAMI>" + bytes);
        ASSERT_TRUE(model.LoadFile(path, true)) << "round " << round;
        const std::string first = writeSami(model, -1);
        SamiModel again(settings);
        again.LoadText(first);
        EXPECT_EQ(writeSami(again, -1), first) << "round " << round;
    }
}

TEST_F(SamiFileTest, MapsSystemErrorsToReasons)
{
    const std::string p = dir.file("x.smi");
    EXPECT_EQ(sami::openFailureReason(EMFILE, p), "\r- 이미 너무 많은 파일이 열려 있습니다.");
    EXPECT_EQ(sami::openFailureReason(EIO, p), "\r- 하드웨어 에러.");
    for (const int error : {ENAMETOOLONG, EINVAL, ENOTDIR, ELOOP})
        EXPECT_EQ(sami::openFailureReason(error, p),
                  "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.");
    EXPECT_EQ(sami::openFailureReason(ENFILE, p), "\r- 이미 너무 많은 파일이 열려 있습니다.");
    for (const int error : {ETXTBSY, EAGAIN, EBUSY, ENOLCK})
        EXPECT_EQ(sami::openFailureReason(error, p), "\r은 사용 중입니다.");
    EXPECT_EQ(sami::openFailureReason(ENOENT, p), "\r이 존재하지 않습니다.");
    EXPECT_EQ(sami::openFailureReason(EACCES, p), "\r이 존재하지 않습니다.");  // no status
    EXPECT_EQ(sami::openFailureReason(EOVERFLOW, p), "\r을 열 수 없습니다(이유 알 수 없음).");
    EXPECT_EQ(sami::createFailureReason(EACCES, p), "\r을 신규 작성할 수 없습니다.");
    EXPECT_EQ(sami::createFailureReason(ENOSPC, p), "\r- 디렉토리 용량을 초과하였습니다.");
    EXPECT_EQ(sami::createFailureReason(EMFILE, p), "\r- 이미 너무 많은 파일이 열려 있습니다.");
    EXPECT_EQ(sami::createFailureReason(EIO, p), "\r- 하드웨어 에러.");
    EXPECT_EQ(sami::createFailureReason(EBUSY, p), "\r은 사용 중입니다.");
    EXPECT_EQ(sami::createFailureReason(EOVERFLOW, p), "\r을 열 수 없습니다(이유 알 수 없음).");
    test::writeFile(p, "x");
    fs::permissions(p, fs::perms::owner_read);
    EXPECT_EQ(sami::createFailureReason(EACCES, p), "\r은 읽기 전용 파일입니다.");
    fs::permissions(p, fs::perms::owner_all);
    // A permission error names itself, for reading and for writing alike.
    EXPECT_EQ(sami::createFailureReason(EACCES, p),
              "\r에 쓸 권한이 없습니다(파일이나 폴더의 권한을 확인해 주십시오).");
    EXPECT_EQ(sami::createFailureReason(EPERM, p), sami::createFailureReason(EACCES, p));
    EXPECT_EQ(sami::openFailureReason(EACCES, p), "\r을 읽을 권한이 없습니다.");
    EXPECT_EQ(sami::openFailureReason(EPERM, p), "\r을 읽을 권한이 없습니다.");
    EXPECT_EQ(sami::createFailureReason(ENXIO, p), "\r는 특수한 파일입니다.");
    EXPECT_EQ(sami::openFailureReason(EACCES, "/dev/null"), "\r은 특수한 파일입니다.");
    EXPECT_EQ(sami::createFailureReason(EACCES, "/dev/null"), "\r는 특수한 파일입니다.");
    EXPECT_EQ(sami::writeFailureMessage(EIO),
              "파일 기록 중에 다음 에러가 발생하였습니다.\r- 하드웨어 에러.");
    EXPECT_EQ(sami::writeFailureMessage(EDQUOT),
              "파일 기록 중에 다음 에러가 발생하였습니다.\r- 디스크 용량 부족.");
    EXPECT_EQ(sami::writeFailureMessage(EAGAIN), "파일이 잠겨 있습니다.");
    EXPECT_EQ(sami::writeFailureMessage(EFBIG), "파일 기록 중에 다음 에러가 발생하였습니다.");
}

}  // namespace
}  // namespace verbanta
