// Saving through the temporary file with a backup: every branch on real files, with the file
// operations made to fail where a branch needs it, and a complete file on disk throughout.
#include "document/safe_save.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "document/document.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"
#include "support/faulty_file_operations.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "document_test_support.h"

namespace verbanta {
namespace {

using test::TempFolder;

class SafeSaveTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    test::FaultyFileOperations files;
    Document doc{settings, messenger, files};
    std::string target = folder.path("movie.smi");
    std::string backup = folder.path("movie.BAK");
    std::string oldBytes = test::samiFile({1000, 2000});
    std::string newBytes;

    /// Opens the existing movie.smi and edits it, so that a save has something new to write.
    void openAndEdit(const std::string& path)
    {
        TempFolder::write(path, oldBytes);
        ASSERT_TRUE(doc.openDocument(path));
        SyncEntry entry = doc.model().GetFirst();
        entry.text = "changed";
        doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
        doc.setModifiedFlag(true);
        newBytes = writeSami(doc.model(), -1);
        messenger.shown.clear();
        files.log.clear();
    }

    void failWith(const std::string& op, const std::string& a, int error = EACCES,
                  const std::string& b = "")
    {
        files.fault = [=](const std::string& o, const std::string& x, const std::string& y) {
            return o == op && x == a && (b.empty() || y == b) ? error : 0;
        };
    }

    std::string temporary(int n = 0) const { return temporaryFileName(folder.root() + "/", n); }

    /// The save's edits are still in the model and still marked.
    void expectEditsKept()
    {
        EXPECT_EQ(doc.model().GetFirst().text, "changed");
        EXPECT_TRUE(doc.isModified());
    }
};

TEST(SaveNames, TemporaryNamesHaveThreeDigits)
{
    EXPECT_EQ(temporaryFileName("/d/", 0), "/d/~Pel000.TMP");
    EXPECT_EQ(temporaryFileName("", 42), "~Pel042.TMP");
    EXPECT_EQ(temporaryFileName("/d/", 999), "/d/~Pel999.TMP");
}

TEST(SaveNames, BackupCutsTheExtensionOnlyAfterTheLastSeparator)
{
    EXPECT_EQ(backupNameOf("/subs/movie.smi").path, "/subs/movie.BAK");
    EXPECT_EQ(backupNameOf("/my.dir/movie").path, "/my.dir/movie.BAK");
    EXPECT_EQ(backupNameOf("movie").path, "movie.BAK");
    EXPECT_EQ(backupNameOf("/a.b/c.d.smi").path, "/a.b/c.d.BAK");
    EXPECT_FALSE(backupNameOf("/subs/movie.smi").alternate);
}

TEST(SaveNames, BackupOfAFileNamedLikeItsBackupEndsInBac)
{
    EXPECT_EQ(backupNameOf("/subs/movie.BAK").path, "/subs/movie.BAC");
    EXPECT_TRUE(backupNameOf("/subs/movie.BAK").alternate);
    EXPECT_EQ(backupNameOf("/subs/movie.bak").path, "/subs/movie.BAC");
}

TEST_F(SafeSaveTest, KeepsThePreviousFileAsBackupAndLeavesNoTemporaryFile)
{
    openAndEdit(target);
    ASSERT_TRUE(doc.saveDocument(target));
    EXPECT_EQ(TempFolder::read(target), newBytes);
    EXPECT_EQ(TempFolder::read(backup), oldBytes);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"movie.BAK", "movie.smi"}));
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(messenger.shown.empty());
}

TEST_F(SafeSaveTest, ASecondSaveReplacesTheOldBackup)
{
    openAndEdit(target);
    ASSERT_TRUE(doc.saveDocument(target));
    SyncEntry entry = doc.model().GetFirst();
    entry.text = "again";
    doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
    const std::string third = writeSami(doc.model(), -1);
    ASSERT_TRUE(doc.saveDocument(target));
    EXPECT_EQ(TempFolder::read(backup), newBytes);
    EXPECT_EQ(TempFolder::read(target), third);
}

TEST_F(SafeSaveTest, WithoutBackupOptionTheFileIsReplacedAlone)
{
    settings.MakeBackup = false;
    openAndEdit(target);
    ASSERT_TRUE(doc.saveDocument(target));
    EXPECT_EQ(TempFolder::read(target), newBytes);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    // The new file is renamed over the old one, which is never deleted first.
    EXPECT_FALSE(files.called("remove " + target));
}

TEST_F(SafeSaveTest, SavingUnderANewNameMakesNoBackup)
{
    openAndEdit(target);
    const std::string other = folder.path("other.smi");
    ASSERT_TRUE(doc.saveDocument(other));
    EXPECT_EQ(TempFolder::read(other), newBytes);
    EXPECT_FALSE(TempFolder::exists(folder.path("other.BAK")));
    EXPECT_EQ(doc.pathName(), other);
    EXPECT_EQ(doc.title(), "other.smi");
}

TEST_F(SafeSaveTest, ATemporaryFileLeftByAKilledSaveIsReplaced)
{
    TempFolder::write(temporary(0), "cut short");
    openAndEdit(target);
    ASSERT_TRUE(doc.saveDocument(target));
    EXPECT_TRUE(files.called("rename " + temporary(0) + " -> " + target));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"movie.BAK", "movie.smi"}));
}

TEST_F(SafeSaveTest, AllTemporaryNamesTakenFailsWithoutAMessage)
{
    // Folders are never taken for temporary files left behind.
    for (int n = 0; n < kTemporaryNameCount; ++n) std::filesystem::create_directory(temporary(n));
    openAndEdit(target);
    EXPECT_FALSE(doc.saveDocument(target));
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    EXPECT_FALSE(TempFolder::exists(backup));
    expectEditsKept();
}

TEST_F(SafeSaveTest, FlushesTheTemporaryFileBeforeAnyRenameAndTheFolderAfterTheLast)
{
    openAndEdit(target);
    ASSERT_TRUE(doc.saveDocument(target));
    const int synced = files.indexOf("flushFile " + temporary());
    const int backedUp = files.indexOf("link " + target + " -> " + backup);
    const int renamed = files.indexOf("rename " + temporary() + " -> " + target);
    const int folderSynced = files.indexOf("syncDirectory " + folder.root() + "/");
    ASSERT_GE(synced, 0);
    EXPECT_LT(synced, backedUp);
    EXPECT_LT(backedUp, renamed);
    EXPECT_GT(folderSynced, renamed);
}

TEST_F(SafeSaveTest, ASavedFileKeepsItsPermissions)
{
    openAndEdit(target);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(doc.saveDocument(target));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SafeSaveTest, WriteFailureReportsTheWritersMessageAndLeavesTheFile)
{
    openAndEdit(target);
    failWith("flushFile", temporary(), EIO);
    EXPECT_FALSE(doc.saveDocument(target));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "파일 기록 중에 다음 에러가 발생하였습니다.\r- 하드웨어 에러.");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, SavingIntoAMissingFolderFailsWithTheWritersMessage)
{
    openAndEdit(target);
    EXPECT_FALSE(doc.saveDocument(folder.path("missing/movie.smi")));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text.rfind("파일 \"" + folder.path("missing/~Pel000.TMP"), 0),
              0u);
    EXPECT_EQ(doc.pathName(), target);
    expectEditsKept();
}

TEST_F(SafeSaveTest, BacQuestionAnsweredYesKeepsTheBacBackup)
{
    const std::string bak = folder.path("movie.BAK");
    openAndEdit(bak);
    messenger.answers.push_back(Answer::Yes);
    ASSERT_TRUE(doc.saveDocument(bak));
    ASSERT_EQ(messenger.questions.size(), 1u);
    EXPECT_EQ(messenger.questions[0],
              "백업 파일 \"" + folder.path("movie.BAC") + "\"을 보존하시겠습니까?");
    EXPECT_EQ(TempFolder::read(folder.path("movie.BAC")), oldBytes);
    EXPECT_EQ(TempFolder::read(bak), newBytes);
}

TEST_F(SafeSaveTest, BacQuestionAnsweredNoCancelsTheSaveAndKeepsTheEdits)
{
    const std::string bak = folder.path("movie.BAK");
    openAndEdit(bak);
    messenger.answers.push_back(Answer::No);
    EXPECT_FALSE(doc.saveDocument(bak));
    EXPECT_EQ(messenger.questions.size(), 1u);
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.BAK"});
    EXPECT_EQ(TempFolder::read(bak), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, AnUndeletableBackupStopsTheSave)
{
    TempFolder::write(backup, "older backup");
    openAndEdit(target);
    failWith("remove", backup);
    EXPECT_FALSE(doc.saveDocument(target));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "기존의 백업 파일 \"" + backup + "\"을 삭제할 수 없습니다.");
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    EXPECT_EQ(TempFolder::read(backup), "older backup");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"movie.BAK", "movie.smi"}));
    expectEditsKept();
}

TEST_F(SafeSaveTest, ABackupLockedByAnotherProgramIsNotDeleted)
{
    TempFolder::write(backup, "older backup");
    openAndEdit(target);
    const int lockFd = ::open(backup.c_str(), O_RDONLY);
    ASSERT_GE(lockFd, 0);
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);
    EXPECT_FALSE(doc.saveDocument(target));
    ::close(lockFd);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "기존의 백업 파일 \"" + backup + "\"을 삭제할 수 없습니다.");
    EXPECT_EQ(TempFolder::read(backup), "older backup");
    EXPECT_EQ(TempFolder::read(target), oldBytes);
}

TEST_F(SafeSaveTest, ATargetLockedByAnotherProgramKeepsItsContent)
{
    openAndEdit(target);
    const int lockFd = ::open(target.c_str(), O_RDONLY);
    ASSERT_GE(lockFd, 0);
    ASSERT_EQ(::flock(lockFd, LOCK_SH), 0);
    EXPECT_FALSE(doc.saveDocument(target));
    ::close(lockFd);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "백업 파일 \"" + backup + "\"을 작성할 수 없습니다.");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, SavingOverAReadOnlyFileLeavesTheNewFileWritableByItsOwner)
{
    openAndEdit(target);
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    ASSERT_TRUE(doc.saveDocument(target));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(TempFolder::read(backup), oldBytes);
}

TEST_F(SafeSaveTest, ABackupThatCannotBeMadeStopsTheSave)
{
    openAndEdit(target);
    failWith("link", target, EACCES, backup);
    EXPECT_FALSE(doc.saveDocument(target));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, "백업 파일 \"" + backup + "\"을 작성할 수 없습니다.");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, AFailedFinalRenamePutsThePreviousFileBack)
{
    openAndEdit(target);
    failWith("rename", temporary(), EACCES, target);
    EXPECT_FALSE(doc.saveDocument(target));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "파일 \"" + temporary() + "\"의 이름을 \"" + target + "\"로 변경할 수 없습니다.");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, WithoutSecondNamesTheBackupIsARenameThatAFailedSaveTakesBack)
{
    // A file system without hard links: the previous file is renamed to the backup name.
    openAndEdit(target);
    files.fault = [&](const std::string& op, const std::string& from, const std::string&) {
        if (op == "link")
            return EPERM;
        return op == "rename" && from == temporary() ? EACCES : 0;
    };
    EXPECT_FALSE(doc.saveDocument(target));
    EXPECT_TRUE(files.called("rename " + target + " -> " + backup));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    EXPECT_EQ(TempFolder::read(target), oldBytes);

    // When the previous file cannot go back either, it stays whole as the backup.
    files.fault = [&](const std::string& op, const std::string&, const std::string& to) {
        return op == "link" ? EPERM : op == "rename" && to == target ? EACCES : 0;
    };
    EXPECT_FALSE(doc.saveDocument(target));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.BAK"});
    EXPECT_EQ(TempFolder::read(backup), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, AFailedFinalRenameWithoutBackupLeavesTheTargetAsItWas)
{
    settings.MakeBackup = false;
    openAndEdit(target);
    failWith("rename", temporary(), EACCES, target);
    EXPECT_FALSE(doc.saveDocument(target));
    EXPECT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"movie.smi"});
    EXPECT_EQ(TempFolder::read(target), oldBytes);
    expectEditsKept();
}

TEST_F(SafeSaveTest, SavingThroughALinkWritesItsFileWithTheBackupBesideIt)
{
    std::filesystem::create_directory(folder.path("real"));
    const std::string real = folder.path("real/movie.smi");
    const std::string link = folder.path("link.smi");
    std::filesystem::create_symlink(real, link);
    openAndEdit(real);
    ASSERT_TRUE(doc.openDocument(link));
    SyncEntry entry = doc.model().GetFirst();
    entry.text = "changed";
    doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
    ASSERT_TRUE(doc.saveDocument(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(real), newBytes);
    EXPECT_EQ(TempFolder::read(folder.path("real/movie.BAK")), oldBytes);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"link.smi", "real"}));
    EXPECT_EQ(doc.pathName(), link);
}

TEST_F(SafeSaveTest, ACompleteFileIsOnDiskAtEveryStep)
{
    for (const bool makeBackup : {true, false}) {
        for (const char* failing : {"", "remove", "rename"}) {
            SCOPED_TRACE(std::string(failing) + (makeBackup ? " with backup" : " without"));
            settings.MakeBackup = makeBackup;
            TempFolder::write(backup, oldBytes);
            openAndEdit(target);
            int checks = 0;
            files.watch = [&](const std::string& step) {
                // The target itself, not only some file beside it.
                ++checks;
                const bool whole =
                    TempFolder::exists(target) &&
                    (TempFolder::read(target) == oldBytes || TempFolder::read(target) == newBytes);
                EXPECT_TRUE(whole) << step;
            };
            const std::string op = failing;
            files.fault = [&](const std::string& o, const std::string&, const std::string& to) {
                return o == op && (op == "remove" || to == target) ? EIO : 0;
            };
            doc.saveDocument(target);
            files.watch = nullptr;
            files.fault = nullptr;
            EXPECT_GT(checks, 0);
            std::filesystem::remove(temporary());
        }
    }
}

}  // namespace
}  // namespace verbanta
