// The document keeps the encoding its file was opened in: saves write it back, save-as may
// choose another, and a new document, a failed open or a failed save do what they should.
#include <gtest/gtest.h>

#include "document/document.h"
#include "document_test_support.h"
#include "model/codepage.h"
#include "sami/sami_file.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/faulty_file_operations.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"

namespace verbanta {
namespace {

using test::TempFolder;

/// A one-caption SAMI file in UTF-8 holding Korean and an emoji.
std::string utf8File()
{
    std::string file = test::samiFile({1000});
    return file.replace(file.find("c1000"), 5, "안녕 😀");
}

class DocumentEncodingTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    test::RecordingViews views;
    test::FaultyFileOperations files;
    Document doc{settings, messenger, files};

    void SetUp() override { doc.setViews(&views); }

    std::string write(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder.path(name);
        TempFolder::write(path, bytes);
        return path;
    }
};

TEST_F(DocumentEncodingTest, SavesInTheEncodingTheFileWasOpenedIn)
{
    const std::string path = write("a.smi", "\xEF\xBB\xBF" + utf8File());
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8Bom);
    EXPECT_EQ(doc.model().GetFirst().text, test::cp949("안녕 ") + "&#128512;");

    SyncEntry entry = doc.model().GetFirst();
    entry.text += test::cp949(" 더");
    doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
    doc.setModifiedFlag(true);
    ASSERT_TRUE(doc.fileSave());
    const std::string saved = TempFolder::read(path);
    EXPECT_TRUE(saved.starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(saved.find("안녕 😀 더"), std::string::npos);
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8Bom);
}

TEST_F(DocumentEncodingTest, SaveAsTakesTheChosenEncodingAndKeepsIt)
{
    ASSERT_TRUE(doc.openDocument(write("a.smi", utf8File())));
    const std::string other = folder.path("b.smi");
    ASSERT_TRUE(doc.saveDocument(other, TextEncoding::Utf16Le));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf16Le);
    EXPECT_EQ(doc.pathName(), other);
    const std::string saved = TempFolder::read(other);
    ASSERT_TRUE(saved.starts_with("\xFF\xFE"));
    EXPECT_NE(test::iconvConvert(saved.substr(2), "UTF-8", "UTF-16LE").find("안녕 😀"),
              std::string::npos);

    // Saved to CP949, the emoji CP949 lacks stays as its reference: nothing is lost.
    ASSERT_TRUE(doc.saveDocument(other, TextEncoding::Cp949));
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);
    EXPECT_NE(TempFolder::read(other).find(test::cp949("안녕 ") + "&#128512;"), std::string::npos);
    ASSERT_TRUE(doc.openDocument(other));
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);
    EXPECT_EQ(doc.model().GetFirst().text, test::cp949("안녕 ") + "&#128512;");
}

TEST_F(DocumentEncodingTest, AFailedSaveKeepsTheEncoding)
{
    const std::string path = write("a.smi", utf8File());
    ASSERT_TRUE(doc.openDocument(path));
    files.fault = [](const std::string& op, const std::string&, const std::string&) {
        return op == "rename" ? EIO : 0;
    };
    EXPECT_FALSE(doc.saveDocument(path, TextEncoding::Utf16Le));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8);
    EXPECT_EQ(TempFolder::read(path), utf8File());
}

TEST_F(DocumentEncodingTest, NewDocumentsAndFailedOpensAreCp949)
{
    ASSERT_TRUE(doc.openDocument(write("a.smi", utf8File())));
    ASSERT_TRUE(doc.newDocument());
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);

    ASSERT_TRUE(doc.openDocument(write("a.smi", utf8File())));
    const std::string big = write("big.smi", std::string(kMaxUnicodeSamiFileBytes + 1, 'a'));
    EXPECT_FALSE(doc.openDocument(big));
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);
}

TEST_F(DocumentEncodingTest, ReloadTakesTheEncodingTheFileNowHas)
{
    const std::string path = write("a.smi", utf8File());
    ASSERT_TRUE(doc.openDocument(path));
    TempFolder::write(path, test::samiFile({1000, 2000}));
    doc.ReloadFromDisk();
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);
    EXPECT_EQ(doc.model().GetCount(), 2);
}

TEST_F(DocumentEncodingTest, SaveLanguageWritesTheDocumentsEncodingOrTheOneGiven)
{
    ASSERT_TRUE(doc.openDocument(write("a.smi", "\xEF\xBB\xBF" + utf8File())));
    const std::string same = folder.path("same.smi");
    const std::string utf16 = folder.path("utf16.smi");
    ASSERT_TRUE(doc.saveLanguage(same, 0));
    ASSERT_TRUE(doc.saveLanguage(utf16, 0, TextEncoding::Utf16Le));
    EXPECT_TRUE(TempFolder::read(same).starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(TempFolder::read(utf16).starts_with("\xFF\xFE"));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8Bom);
}

TEST_F(DocumentEncodingTest, ReopensInTheChosenEncodingAndReloadsInIt)
{
    // CP949 "치킨" happens to be well-formed UTF-8, so the guess reads it wrongly.
    std::string file = test::samiFile({1000});
    const std::string path =
        write("a.smi", file.replace(file.find("c1000"), 5, test::cp949("치킨")));
    ASSERT_TRUE(doc.openDocument(path));
    ASSERT_EQ(doc.encoding(), TextEncoding::Utf8);
    EXPECT_NE(doc.model().GetFirst().text, test::cp949("치킨"));

    // Edits are offered for saving first; cancelling keeps everything as it is.
    doc.setModifiedFlag(true);
    messenger.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(doc.reopenInEncoding(TextEncoding::Cp949));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8);
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(doc.reopenInEncoding(TextEncoding::Cp949));
    EXPECT_EQ(messenger.questions.size(), 2u);
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);
    EXPECT_EQ(doc.model().GetFirst().text, test::cp949("치킨"));
    EXPECT_FALSE(doc.isModified());

    // A reload keeps the choice; a file opened afresh is guessed again.
    doc.ReloadFromDisk();
    EXPECT_EQ(doc.encoding(), TextEncoding::Cp949);
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8);
    doc.newDocument();
    EXPECT_FALSE(doc.reopenInEncoding(TextEncoding::Cp949));
}

TEST_F(DocumentEncodingTest, ReopenedAsUtf8AMarkedFileKeepsItsMark)
{
    const std::string path = write("a.smi", "\xEF\xBB\xBF" + utf8File());
    ASSERT_TRUE(doc.openDocument(path));
    ASSERT_TRUE(doc.reopenInEncoding(TextEncoding::Utf8));
    EXPECT_EQ(doc.encoding(), TextEncoding::Utf8Bom);
    EXPECT_EQ(doc.model().GetFirst().text, test::cp949("안녕 ") + "&#128512;");
}

}  // namespace
}  // namespace verbanta
