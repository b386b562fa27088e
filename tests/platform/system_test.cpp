// The platform layer on the real file system of whichever system runs the tests: replacing a
// file, the read-only attribute, a lock, a failed write, names in Hangul, the user's folders
// and running a program.
#include "platform/system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "document/file_operations.h"
#include "platform/atomic_file_writer.h"
#include "platform/folder_notifier.h"
#include "sami/sami_file.h"
#include "support/faulty_file_operations.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"

namespace verbanta {
namespace {

using test::fsPath;
using test::TempFolder;

class PlatformFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    SystemFileOperations files;
    // A folder and a file named in Hangul: UTF-8 here, wide characters for the Windows calls.
    std::string hangulFolder = folder.path("자막 폴더");
    std::string target = hangulFolder + "/영화 자막.smi";

    void SetUp() override
    {
        std::filesystem::create_directory(fsPath(hangulFolder));
        ASSERT_TRUE(writeFileAtomically(target, "old", files).ok());
    }

    static void makeReadOnly(const std::string& path)
    {
        // On Windows this sets the read-only attribute.
        std::filesystem::permissions(fsPath(path),
                                     std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);
    }
};

TEST_F(PlatformFileTest, AHangulPathIsWrittenReplacedListedAndReadBack)
{
    const AtomicWriteResult result = writeFileAtomically(target, "새 내용", files);
    ASSERT_TRUE(result.ok()) << static_cast<int>(result.failed) << " " << result.error;
    std::string bytes;
    ASSERT_TRUE(files.readFile(target, bytes));
    EXPECT_EQ(bytes, "새 내용");
    // Whole: no temporary file is left beside it, and the name comes back as it was given.
    EXPECT_EQ(files.listDirectory(hangulFolder), std::vector<std::string>{"영화 자막.smi"});
    EXPECT_TRUE(files.exists(target));
    EXPECT_TRUE(files.isDirectory(hangulFolder));
    EXPECT_TRUE(files.sameFile(target, hangulFolder + "/./영화 자막.smi"));

    const platform::PathInfo info = platform::pathInfo(target);
    EXPECT_EQ(info.kind, platform::PathInfo::Kind::Regular);
    EXPECT_EQ(info.size, std::string("새 내용").size());
    const int handle = platform::openFile(target, false);
    ASSERT_GE(handle, 0);
    char buffer[64];
    const std::int64_t n = platform::readSome(handle, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0)), "새 내용");
    EXPECT_EQ(platform::readSome(handle, buffer, sizeof buffer), 0);
    EXPECT_TRUE(platform::closeHandle(handle));
    EXPECT_EQ(platform::pathInfo(hangulFolder).kind, platform::PathInfo::Kind::Directory);
    EXPECT_EQ(platform::pathInfo(hangulFolder + "/없는 파일").kind,
              platform::PathInfo::Kind::Missing);
}

TEST_F(PlatformFileTest, TheReadOnlyAttributeIsSeenClearedAndKeptByAReplacement)
{
    EXPECT_FALSE(files.isReadOnly(target));
    EXPECT_TRUE(platform::pathInfo(target).ownerWritable);
    makeReadOnly(target);
    EXPECT_TRUE(files.isReadOnly(target));
    EXPECT_FALSE(platform::pathInfo(target).ownerWritable);
    EXPECT_EQ(files.status(target).mode & 0200, 0u);
    // Opening it for writing is refused, for reading not (the document is then read-only).
    if (!test::runningAsRoot()) {
        EXPECT_LT(platform::openFile(target, true), 0);
    }
    const int reading = platform::openFile(target, false);
    EXPECT_GE(reading, 0);
    platform::closeHandle(reading);

    // The save's question answered yes: the attribute goes, and saving works again.
    test::RecordingMessenger messenger;
    EXPECT_TRUE(sami::clearReadOnlyAttribute(target, messenger));
    EXPECT_FALSE(files.isReadOnly(target));
    ASSERT_TRUE(writeFileAtomically(target, "saved", files).ok());
    EXPECT_FALSE(files.isReadOnly(target));

    // The attribute carries over to a new file, as a replacement keeps it.
    const std::string other = hangulFolder + "/읽기 전용.smi";
    ASSERT_TRUE(writeFileAtomically(other, "first", files).ok());
    makeReadOnly(other);
    EXPECT_TRUE(files.makeWritable(other));
    EXPECT_FALSE(files.isReadOnly(other));
    FileStatus readOnly = files.status(other);
    readOnly.mode &= ~0222u;
    const int handle = files.createFile(hangulFolder + "/새 파일.smi", 0666);
    ASSERT_GE(handle, 0);
    EXPECT_TRUE(files.copyAttributes(handle, readOnly));
    EXPECT_TRUE(files.writeFile(handle, "x"));
    EXPECT_TRUE(files.closeFile(handle));
    EXPECT_TRUE(files.isReadOnly(hangulFolder + "/새 파일.smi"));
    files.makeWritable(hangulFolder + "/새 파일.smi");
}

TEST_F(PlatformFileTest, AFailedWriteLeavesTheTargetWholeAndNoTemporaryFile)
{
    // A real refusal: another holder has the target in use, so it cannot be replaced.
    const int lock = platform::lockFile(target + ".lock");
    ASSERT_GE(lock, 0);
    EXPECT_TRUE(files.isLocked(target + ".lock"));
    EXPECT_LT(platform::lockFile(target + ".lock"), 0);
    EXPECT_TRUE(platform::closeHandle(lock));
    EXPECT_FALSE(files.isLocked(target + ".lock"));
    EXPECT_TRUE(platform::removeFile(target + ".lock"));

    const int holder = files.createFile(hangulFolder + "/in use.smi", 0666);
    ASSERT_GE(holder, 0);
    EXPECT_TRUE(files.isLocked(hangulFolder + "/in use.smi"));
    std::string bytes;
    EXPECT_FALSE(files.readFile(hangulFolder + "/in use.smi", bytes));
    EXPECT_EQ(errno, EBUSY);
    AtomicWriteResult result = writeFileAtomically(hangulFolder + "/in use.smi", "new", files);
    EXPECT_EQ(result.failed, WriteStep::Rename);
    EXPECT_EQ(result.error, EBUSY);
    EXPECT_TRUE(files.closeFile(holder));

    // The disk full in the middle of the write, as the system would say it.
    test::FaultyFileOperations faulty;
    faulty.fault = [](const std::string& op, const std::string&, const std::string&) {
        return op == "writeFile" ? ENOSPC : 0;
    };
    result = writeFileAtomically(target, std::string(100000, 'n'), faulty);
    EXPECT_EQ(result.failed, WriteStep::Write);
    ASSERT_TRUE(files.readFile(target, bytes));
    EXPECT_EQ(bytes, "old");
    std::vector<std::string> names = files.listDirectory(hangulFolder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"in use.smi", "영화 자막.smi"}));

    // A folder is no file to replace.
    result = writeFileAtomically(hangulFolder, "x", files);
    EXPECT_EQ(result.failed, WriteStep::Resolve);
    EXPECT_EQ(result.error, EISDIR);
}

TEST(PlatformSystemTest, TheUsersFoldersEndInTheProgramsName)
{
#ifdef _WIN32
    EXPECT_FALSE(platform::homeFolder().empty());
    for (const std::string& folder : {platform::userDataFolder(), platform::userCacheFolder()}) {
        ASSERT_GT(folder.size(), 9u);
        EXPECT_EQ(folder.substr(folder.size() - 9), "\\Verbanta");
    }
#else
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CACHE_HOME", "/cache root", 1);
    ::setenv("XDG_DATA_HOME", "relative/data", 1);  // not absolute: ignored
    EXPECT_EQ(platform::userCacheFolder(), "/cache root/Verbanta");
    if (home.empty() || home[0] != '/')
        EXPECT_EQ(platform::userDataFolder(), "");
    else
        EXPECT_EQ(platform::userDataFolder(), home + "/.local/share/Verbanta");
    ::unsetenv("XDG_CACHE_HOME");
    ::unsetenv("XDG_DATA_HOME");
#endif
    EXPECT_GT(platform::processId(), 0u);
}

TEST(PlatformSystemTest, RunsAProgramWithItsOutputInAFileAndGivesItsExitCode)
{
#ifndef VERBANTA_CLI_PATH
    GTEST_SKIP() << "the command-line program is not built";
#else
    TempFolder folder;
    const std::string output = folder.path("출력.txt");
    const std::string errors = folder.path("errors.txt");
    EXPECT_EQ(platform::runProcess({VERBANTA_CLI_PATH, "--version"}, output, errors), 0);
    EXPECT_EQ(TempFolder::read(output).rfind("verbanta-cli ", 0), 0u);
    // An argument with a space and a quote arrives whole.
    EXPECT_EQ(platform::runProcess({VERBANTA_CLI_PATH, "info", folder.path("없는 \"파일\".smi")},
                                   output, errors),
              1);
    EXPECT_NE(TempFolder::read(errors).find("없는 \"파일\".smi"), std::string::npos);
    EXPECT_EQ(platform::runProcess({folder.path("no such program")}), -1);
    EXPECT_FALSE(platform::startProcess({folder.path("no such program")}));
#endif
}

}  // namespace
}  // namespace verbanta
