// A recovery copy of the whole document and its restoring as a modified document bound to
// the original file.
#include "document/autosave_snapshot.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "document/file_operations.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "document_test_support.h"

namespace verbanta {
namespace {

using test::TempFolder;

constexpr const char* kOwnId = "fedcba9876543210";
constexpr const char* kCrashedId = "0123456789abcdef";

const std::string kTwoLanguages =
    "<SAMI>\r\n<HEAD>\r\n<TITLE>t</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { margin-left:8pt; }\r\n.KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
    "<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\r\nko\r\n<SYNC Start=1000><P Class=ENCC>\r\n"
    "en\r\n</BODY>\r\n</SAMI>";

class RecoverySnapshotTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    test::RecordingViews views;
    Document doc{settings, messenger, systemFileOperations()};
    std::string recovery = folder.path("recovery");
    std::string original = folder.path("movie.smi");

    void SetUp() override
    {
        doc.setViews(&views);
        TempFolder::write(original, kTwoLanguages);
        ASSERT_TRUE(doc.openDocument(original));
    }

    /// Edits the first caption to a Korean text, as the user would.
    void editKorean()
    {
        SyncEntry entry = doc.model().GetFirst();
        entry.text = test::cp949("고쳐 쓴 자막");
        doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
        doc.setModifiedFlag(true);
    }

    /// The copy a crashed run left of the current document.
    void crashWithCopy(std::int64_t savedAt = 1796736000)
    {
        RecoveryStore crashed(recovery, kCrashedId, systemFileOperations());
        const RecoverySnapshot s = makeRecoverySnapshot(doc, savedAt);
        ASSERT_TRUE(crashed.writeCopy(s.bytes, s.manifest));
    }
};

TEST_F(RecoverySnapshotTest, HoldsTheWholeModelAllLanguagesAndTheCleanTitle)
{
    editKorean();
    ASSERT_EQ(doc.title(), "movie.smi *");
    const RecoverySnapshot s = makeRecoverySnapshot(doc, 42);
    EXPECT_EQ(s.bytes, writeSami(doc.model(), -1));
    EXPECT_NE(s.bytes.find(test::cp949("고쳐 쓴 자막")), std::string::npos);
    EXPECT_NE(s.bytes.find("ENCC"), std::string::npos);
    EXPECT_NE(s.bytes.find("en\r\n"), std::string::npos);
    EXPECT_EQ(s.manifest.originalPath, original);
    EXPECT_EQ(s.manifest.title, "movie.smi");
    EXPECT_EQ(s.manifest.savedAt, 42);
    EXPECT_EQ(s.manifest.encoding, "cp949");
}

TEST_F(RecoverySnapshotTest, RestoresAsAModifiedDocumentThatSavesToTheOriginalWithBackup)
{
    editKorean();
    const std::string edited = writeSami(doc.model(), -1);
    crashWithCopy();
    TempFolder::write(folder.path("movie.mkv"), "video");

    // The next run starts with an empty document.
    Document next{settings, messenger, systemFileOperations()};
    test::RecordingViews nextViews;
    next.setViews(&nextViews);
    next.newDocument();
    RecoveryStore store(recovery, kOwnId, systemFileOperations());
    const auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 1u);
    ASSERT_TRUE(restoreRecoveryCopy(next, store, entries[0], messenger));

    EXPECT_EQ(writeSami(next.model(), -1), edited);
    EXPECT_EQ(next.model().GetLanguageCount(), 2);
    EXPECT_EQ(next.pathName(), original);
    EXPECT_TRUE(next.isModified());
    EXPECT_EQ(next.title(), "movie.smi *");
    EXPECT_TRUE(nextViews.recent.empty());
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(nextViews.videos, std::vector<std::string>{folder.path("movie.mkv")});

    ASSERT_TRUE(next.fileSave());
    EXPECT_EQ(TempFolder::read(original), edited);
    EXPECT_EQ(TempFolder::read(folder.path("movie.BAK")), kTwoLanguages);
    EXPECT_FALSE(next.isModified());
}

TEST_F(RecoverySnapshotTest, AUtf8DocumentIsCopiedAndRestoredInUtf8)
{
    const std::string utf8 = folder.path("utf8.smi");
    std::string text = kTwoLanguages;
    text.replace(text.find("ko\r\n"), 2, "한국어 자막");  // UTF-8 bytes in the file
    TempFolder::write(utf8, text);
    ASSERT_TRUE(doc.openDocument(utf8));
    ASSERT_EQ(doc.encoding(), TextEncoding::Utf8);
    editKorean();
    const RecoverySnapshot s = makeRecoverySnapshot(doc, 7);
    EXPECT_EQ(s.manifest.encoding, "utf-8");
    EXPECT_NE(s.bytes.find("고쳐 쓴 자막"), std::string::npos);  // UTF-8, not CP949
    EXPECT_EQ(s.bytes.find(test::cp949("고쳐 쓴 자막")), std::string::npos);
    crashWithCopy();

    Document next{settings, messenger, systemFileOperations()};
    RecoveryStore store(recovery, kOwnId, systemFileOperations());
    const auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 1u);
    ASSERT_TRUE(restoreRecoveryCopy(next, store, entries[0], messenger));
    EXPECT_EQ(next.model().GetFirst().text, test::cp949("고쳐 쓴 자막"));
    EXPECT_EQ(next.encoding(), TextEncoding::Utf8);
    ASSERT_TRUE(next.fileSave());
    EXPECT_NE(TempFolder::read(utf8).find("고쳐 쓴 자막"), std::string::npos);
}

TEST_F(RecoverySnapshotTest, AnUntitledDocumentIsRestoredUntitled)
{
    doc.newDocument();
    SyncEntry entry;
    doc.model().InitEntry(entry);
    entry.startMs = 500;
    entry.text = test::cp949("고쳐 쓴 자막");
    doc.model().AddTail(entry, true);
    doc.setModifiedFlag(true);
    crashWithCopy();
    Document next{settings, messenger, systemFileOperations()};
    RecoveryStore store(recovery, kOwnId, systemFileOperations());
    const auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].manifest.originalPath, "");
    EXPECT_EQ(entries[0].manifest.title, Document::kUntitled);
    ASSERT_TRUE(restoreRecoveryCopy(next, store, entries[0], messenger));
    EXPECT_EQ(next.pathName(), "");
    EXPECT_EQ(next.title(), std::string(Document::kUntitled) + " *");
    EXPECT_EQ(next.model().GetFirst().text, test::cp949("고쳐 쓴 자막"));
}

TEST_F(RecoverySnapshotTest, ACopyThatVanishedLeavesTheDocumentAsItWasWithOneMessage)
{
    editKorean();
    crashWithCopy();
    RecoveryStore store(recovery, kOwnId, systemFileOperations());
    const auto entries = store.listLeftCopies();
    ASSERT_EQ(entries.size(), 1u);
    std::filesystem::remove(entries[0].copyPath);
    const std::string before = writeSami(doc.model(), -1);
    EXPECT_FALSE(restoreRecoveryCopy(doc, store, entries[0], messenger));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              "복구 파일 \"" + entries[0].copyPath + "\"을 읽을 수 없습니다.");
    EXPECT_EQ(writeSami(doc.model(), -1), before);
    EXPECT_EQ(doc.pathName(), original);
}

}  // namespace
}  // namespace verbanta
