// Replacing a file whole or not at all: every step made to fail in turn, links, permissions,
// owners, temporary files left by killed writes, FIFOs, and a disk that really fills up.
#include "platform/atomic_file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/messenger.h"
#include "sami/sami_file.h"
#include "support/faulty_file_operations.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"

namespace verbanta {
namespace {

using test::TempFolder;

class AtomicFileWriterTest : public ::testing::Test {
protected:
    TempFolder folder;
    test::FaultyFileOperations files;
    std::string target = folder.path("a.smi");
    const std::string oldBytes = "old content";
    const std::string newBytes = std::string(100000, 'n');

    void SetUp() override { TempFolder::write(target, oldBytes); }

    unsigned modeOf(const std::string& path) const
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
};

TEST_F(AtomicFileWriterTest, EveryFailingStepLeavesTheTargetWholeAndNoTemporaryFile)
{
    struct Case {
        const char* op;
        WriteStep step;
        int error;
    };
    const Case cases[] = {
        {"createFile", WriteStep::Open, EACCES},        {"copyAttributes", WriteStep::Open, EPERM},
        {"writeFile", WriteStep::Write, ENOSPC},        {"flushFile", WriteStep::Flush, EIO},
        {"closeFile", WriteStep::Close, EDQUOT},        {"rename", WriteStep::Rename, EBUSY},
        {"syncDirectory", WriteStep::FolderFlush, EIO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.op);
        TempFolder::write(target, oldBytes);
        files.fault = [&](const std::string& op, const std::string&, const std::string&) {
            return op == c.op ? c.error : 0;
        };
        const AtomicWriteResult result = writeFileAtomically(target, newBytes, files);
        files.fault = nullptr;
        EXPECT_EQ(result.failed, c.step);
        EXPECT_EQ(result.error, c.error);
        // Only a folder that fails to reach the disk comes after the new file took its place.
        EXPECT_EQ(TempFolder::read(target), c.step == WriteStep::FolderFlush ? newBytes : oldBytes);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"a.smi"});
    }
}

TEST_F(AtomicFileWriterTest, FlushesTheFileBeforeTheRenameAndTheFolderAfterIt)
{
    ASSERT_TRUE(writeFileAtomically(target, newBytes, files).ok());
    const std::string temporary = folder.path("~Pel000.TMP");
    const int flushed = files.indexOf("flushFile " + temporary);
    const int renamed = files.indexOf("rename " + temporary + " -> " + target);
    ASSERT_GE(flushed, 0);
    EXPECT_LT(flushed, renamed);
    EXPECT_GT(files.indexOf("syncDirectory " + folder.root() + "/"), renamed);
    EXPECT_EQ(TempFolder::read(target), newBytes);
}

TEST_F(AtomicFileWriterTest, ReusesATemporaryFileLeftByAKilledWriteAndSkipsOneInUse)
{
    const std::string first = folder.path("~Pel000.TMP");
    const std::string second = folder.path("~Pel001.TMP");
    TempFolder::write(first, "being written by another save");
    const int inUse = ::open(first.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
    TempFolder::write(second, "left by a killed save");
    const AtomicWriteResult result = writeFileAtomically(target, newBytes, files);
    ::close(inUse);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.temporaryPath, second);
    EXPECT_EQ(TempFolder::read(first), "being written by another save");
    EXPECT_FALSE(TempFolder::exists(second));
    EXPECT_EQ(TempFolder::read(target), newBytes);
}

TEST_F(AtomicFileWriterTest, WritesTheFileALinkPointsToAndKeepsTheLink)
{
    std::filesystem::create_directory(folder.path("real"));
    const std::string real = folder.path("real/b.smi");
    TempFolder::write(real, oldBytes);
    const std::string link = folder.path("link.smi");
    std::filesystem::create_symlink("real/b.smi", link);
    const AtomicWriteResult result = writeFileAtomically(link, newBytes, files);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.target, real);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(real), newBytes);
    // A link to a file that does not exist yet creates that file.
    std::filesystem::create_symlink("real/new.smi", folder.path("dangling.smi"));
    ASSERT_TRUE(writeFileAtomically(folder.path("dangling.smi"), "x", files).ok());
    EXPECT_EQ(TempFolder::read(folder.path("real/new.smi")), "x");
    // A loop of links is refused without touching anything.
    std::filesystem::create_symlink("loop2", folder.path("loop1"));
    std::filesystem::create_symlink("loop1", folder.path("loop2"));
    EXPECT_EQ(writeFileAtomically(folder.path("loop1"), "x", files).failed, WriteStep::Resolve);
}

TEST_F(AtomicFileWriterTest, KeepsPermissionsOwnerAndGroup)
{
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(target, newBytes, files).ok());
    EXPECT_EQ(modeOf(target), 0640u);

    AtomicWriteOptions privateFile;
    privateFile.newFileMode = 0600;
    ASSERT_TRUE(writeFileAtomically(folder.path("new.smi"), "x", files, privateFile).ok());
    EXPECT_EQ(modeOf(folder.path("new.smi")), 0600u);

    if (!test::runningAsRoot())
        GTEST_SKIP() << "giving a file to another user needs the superuser";
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(writeFileAtomically(target, oldBytes, files).ok());
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicFileWriterTest, AFifoWithoutReaderFailsAtOnceAndStaysAFifo)
{
    const std::string fifo = folder.path("pipe.smi");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const AtomicWriteResult result = writeFileAtomically(fifo, "x", files);
    EXPECT_EQ(result.failed, WriteStep::Open);
    EXPECT_EQ(result.error, ENXIO);
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

/// A small file system of its own, mounted for the test and unmounted after it.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& where) : m_where(where)
    {
        std::filesystem::create_directory(where);
        m_mounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_where.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    std::string m_where;
    bool m_mounted = false;
};

TEST_F(AtomicFileWriterTest, AFullDiskKeepsTheOldFileAndSaysSo)
{
    if (!test::runningAsRoot())
        GTEST_SKIP() << "mounting a small file system needs the superuser";
    const SmallDisk disk(folder.path("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "this system does not let the test mount a file system";
    const std::string file = folder.path("disk/a.smi");
    const std::string old(40000, 'o');
    TempFolder::write(file, old);
    test::RecordingMessenger messenger;
    EXPECT_FALSE(sami::writeFileReporting(file, std::string(40000, 'n'), messenger));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "파일 기록 중에 다음 에러가 발생하였습니다.\r- 디스크 용량 부족.");
    EXPECT_EQ(TempFolder::read(file), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path("disk")),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace verbanta
