// The document's life: new, open, the modified mark in the title, the save prompt and the
// save command's need for a name, reload, save by language and merge.
#include "document/document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "document/file_operations.h"
#include "editor/caption_editor.h"
#include "editor/editor_fakes.h"
#include "settings/app_settings.h"
#include "support/recording_messenger.h"
#include "support/temp_folder.h"
#include "document_test_support.h"

namespace verbanta {
namespace {

using test::TempFolder;

class DocumentTest : public ::testing::Test {
protected:
    TempFolder folder;
    AppSettings settings;
    test::RecordingMessenger messenger;
    test::RecordingViews views;
    Document doc{settings, messenger, systemFileOperations()};

    void SetUp() override { doc.setViews(&views); }

    std::string file(const std::string& name, std::initializer_list<int> times = {1000, 2000})
    {
        const std::string path = folder.path(name);
        TempFolder::write(path, test::samiFile(times));
        return path;
    }

    void edit()
    {
        SyncEntry entry = doc.model().GetFirst();
        entry.text = "edited";
        doc.model().SetAt(doc.model().GetHeadPosition(), entry, true);
        doc.setModifiedFlag(true);
    }
};

TEST_F(DocumentTest, ANewDocumentIsUntitledCleanAndHasTheDefaultHeader)
{
    ASSERT_TRUE(doc.openDocument(file("a.smi")));
    edit();
    ASSERT_TRUE(doc.newDocument());
    EXPECT_EQ(doc.title(), "제목없음");
    EXPECT_TRUE(doc.pathName().empty());
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.model().GetCount(), 0);
    EXPECT_EQ(doc.model().GetLanguageCount(), 1);
    EXPECT_EQ(doc.model().idStyles.size(), 3u);
    EXPECT_FALSE(doc.model().CanUndo());
    EXPECT_EQ(views.stops, 2);
    EXPECT_EQ(views.clears, 2);
}

TEST_F(DocumentTest, OpeningAFileLoadsItAndNamesTheDocument)
{
    const std::string path = file("movie.smi");
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_EQ(doc.model().GetCount(), 2);
    EXPECT_EQ(doc.pathName(), path);
    EXPECT_EQ(doc.title(), "movie.smi");
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(views.recent, std::vector<std::string>{path});
    EXPECT_EQ(views.stops, 1);
    EXPECT_TRUE(views.videos.empty());
}

TEST_F(DocumentTest, OpeningAMissingFileShowsTheFrameworksMessageAndKeepsTheDocument)
{
    ASSERT_TRUE(doc.openDocument(file("a.smi")));
    edit();
    const std::string missing = folder.path("missing.smi");
    EXPECT_FALSE(doc.openDocument(missing));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              missing + "\n이 파일을 찾을 수 없음.\n경로와 파일 이름이 정확한지 확인하십시오.");
    EXPECT_EQ(doc.model().GetFirst().text, "edited");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocumentTest, AFileThatFailsToLoadLeavesAnEmptyUntitledDocument)
{
    ASSERT_TRUE(doc.openDocument(file("a.smi")));
    const std::string folderPath = folder.path("sub");
    std::filesystem::create_directory(folderPath);
    EXPECT_FALSE(doc.openDocument(folderPath));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text, folderPath + "\r은 디렉토리입니다.");
    EXPECT_EQ(doc.model().GetCount(), 0);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(doc.pathName().empty());
    EXPECT_EQ(doc.title(), "제목없음");
    EXPECT_EQ(TempFolder::read(folder.path("a.smi")), test::samiFile({1000, 2000}));
}

TEST_F(DocumentTest, AnUnreadableFileGivesTheReadersMessageAndStaysIntact)
{
    if (test::runningAsRoot())
        GTEST_SKIP() << "running as root: every file is readable";
    const std::string path = file("secret.smi");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    EXPECT_FALSE(doc.openDocument(path));
    // The reader first clears the read-only attribute (and says so), then fails to open.
    ASSERT_FALSE(messenger.shown.empty());
    EXPECT_EQ(messenger.shown.back().text.rfind(path + "\r", 0), 0u);
    EXPECT_EQ(messenger.shown.back().icon, MessageIcon::Error);
    EXPECT_TRUE(doc.pathName().empty());
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(TempFolder::read(path), test::samiFile({1000, 2000}));
}

TEST_F(DocumentTest, AFileWithoutSamiIsRefusedAndOfferedForImportWhenAReaderKnowsIt)
{
    const std::string prose = folder.path("prose.smi");
    TempFolder::write(prose, "just some words\r\n");
    EXPECT_FALSE(doc.openDocument(prose));
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(
        messenger.shown[0].text,
        prose + "\n파일에 SAMI 자막이 없습니다.\nSAMI 자막 파일이 아니거나 손상된 파일입니다.");
    EXPECT_TRUE(messenger.questions.empty());

    const std::string subrip = folder.path("subrip.smi");
    TempFolder::write(subrip, "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n");
    messenger.answers = {Answer::Yes};
    ASSERT_TRUE(doc.openDocument(subrip));
    ASSERT_EQ(messenger.questions.size(), 1u);
    EXPECT_EQ(messenger.questions[0], subrip +
                                          "\n이 파일은 다른 형식의 자막 파일로 읽을 수 "
                                          "있습니다.\n자막 파일로 가져오시겠습니까?");
    EXPECT_GT(doc.model().GetCount(), 0);
    EXPECT_TRUE(doc.pathName().empty());
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocumentTest, AFileCutShortByANulCharacterIsSaidAndReplacedOnlyAfterAsking)
{
    std::string bytes = test::samiFile({1000, 2000, 3000});
    const std::size_t cut = bytes.find("<SYNC Start=2000>");
    bytes[cut] = '\0';
    const std::string path = folder.path("nul.smi");
    TempFolder::write(path, bytes);
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_EQ(doc.model().GetCount(), 1);
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.shown[0].text,
              path + "\n파일의 " + std::to_string(cut + 1) +
                  "번째 바이트가 널 문자(0)여서 그 앞까지만 읽었습니다.\n그 바이트부터 끝까지 " +
                  std::to_string(bytes.size() - cut) + "바이트는 읽지 않았습니다.");
    edit();
    messenger.answers = {Answer::No};
    EXPECT_FALSE(doc.fileSave());
    ASSERT_EQ(messenger.questions.size(), 1u);
    EXPECT_NE(messenger.questions[0].find("더 짧은 파일"), std::string::npos);
    EXPECT_EQ(TempFolder::read(path), bytes);
    messenger.answers = {Answer::Yes};
    ASSERT_TRUE(doc.fileSave());
    EXPECT_LT(TempFolder::read(path).size(), bytes.size());
    edit();
    ASSERT_TRUE(doc.fileSave());  // the file is whole now: no question
    EXPECT_EQ(messenger.questions.size(), 2u);
}

TEST_F(DocumentTest, AFileSavedPastAMillionBytesOpensAgain)
{
    // Past the old limit of 1,000,000 bytes, which a save's growth once crossed.
    std::string bytes = test::samiFile({});
    std::string body;
    for (int i = 0; i < 50000; ++i)
        body += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=KRCC>caption\r\n";
    bytes.insert(bytes.find("</BODY>"), body);
    const std::string path = folder.path("big.smi");
    TempFolder::write(path, bytes);
    ASSERT_TRUE(doc.openDocument(path));
    edit();
    ASSERT_TRUE(doc.fileSave());
    ASSERT_GT(TempFolder::read(path).size(), 1000000u);
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_EQ(doc.model().GetCount(), 50001);  // with the end sync the save added
    EXPECT_EQ(doc.model().GetFirst().text, "edited");
}

TEST_F(DocumentTest, TheModifiedMarkIsAddedOnceAndRemovedOnce)
{
    ASSERT_TRUE(doc.openDocument(file("a.smi")));
    doc.setModifiedFlag(true);
    doc.setModifiedFlag(true);
    EXPECT_EQ(doc.title(), "a.smi *");
    doc.setModifiedFlag(false);
    EXPECT_EQ(doc.title(), "a.smi");
    EXPECT_EQ(views.titles.back(), "a.smi");
}

TEST_F(DocumentTest, ClearingTheMarkLeavesAOneCharacterTitleAlone)
{
    doc.setModifiedFlag(true);
    doc.setTitle("x");
    doc.setModifiedFlag(false);
    EXPECT_EQ(doc.title(), "x");
    doc.setModifiedFlag(true);
    doc.setTitle("ab");
    doc.setModifiedFlag(false);
    EXPECT_EQ(doc.title(), "ab");
}

TEST_F(DocumentTest, TheSavePromptNamesTheFileOrTheUntitledDocument)
{
    doc.setModifiedFlag(true);
    EXPECT_EQ(doc.promptName(), "제목없음.smi");
    doc.setTitle("");
    EXPECT_EQ(doc.promptName(), "제목없음");
    ASSERT_TRUE(doc.openDocument(file("movie.smi")));
    EXPECT_EQ(doc.promptName(), "movie.smi");
}

TEST_F(DocumentTest, TheSavePromptAnswersDecideWhetherToGoOn)
{
    EXPECT_TRUE(doc.saveModified());
    EXPECT_TRUE(messenger.questions.empty());

    const std::string path = file("movie.smi");
    ASSERT_TRUE(doc.openDocument(path));
    edit();
    messenger.answers = {Answer::Cancel, Answer::No, Answer::Yes};
    EXPECT_FALSE(doc.saveModified());
    ASSERT_EQ(messenger.questions.size(), 1u);
    EXPECT_EQ(messenger.questions[0], "변경 내용을 movie.smi에 저장할까요?");
    EXPECT_TRUE(doc.saveModified());
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.saveModified());
    EXPECT_FALSE(doc.isModified());
    EXPECT_NE(TempFolder::read(path).find("edited"), std::string::npos);
}

TEST_F(DocumentTest, ASaveThatFailsInThePromptDoesNotGoOn)
{
    doc.setModifiedFlag(true);
    messenger.answers = {Answer::Yes};
    views.saveAsAnswer.reset();
    EXPECT_FALSE(doc.saveModified());
    EXPECT_EQ(views.saveAsSuggestions, std::vector<std::string>{"제목없음.smi"});
}

TEST_F(DocumentTest, TheSaveCommandAsksForANameWithoutAPathOrAWritableFile)
{
    EXPECT_TRUE(doc.saveNeedsName());
    const std::string path = file("movie.smi");
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_FALSE(doc.saveNeedsName());
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(doc.saveNeedsName());
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    // A missing file is written again while its folder is there.
    std::filesystem::remove(path);
    EXPECT_FALSE(doc.saveNeedsName());
    const std::string gone = folder.path("gone/movie.smi");
    std::filesystem::create_directory(folder.path("gone"));
    TempFolder::write(gone, test::samiFile({1}));
    ASSERT_TRUE(doc.openDocument(gone));
    std::filesystem::remove_all(folder.path("gone"));
    EXPECT_TRUE(doc.saveNeedsName());
}

TEST_F(DocumentTest, TheSaveCommandSavesUnderTheChosenName)
{
    doc.setModifiedFlag(true);
    EXPECT_TRUE(doc.canSave());
    const std::string chosen = folder.path("new.smi");
    views.saveAsAnswer = chosen;
    ASSERT_TRUE(doc.fileSave());
    EXPECT_TRUE(TempFolder::exists(chosen));
    EXPECT_EQ(doc.pathName(), chosen);
    EXPECT_EQ(doc.title(), "new.smi");
    EXPECT_FALSE(doc.canSave());
}

TEST_F(DocumentTest, TheSaveCommandOfAFileInAMissingFolderSuggestsItsPath)
{
    std::filesystem::create_directory(folder.path("gone"));
    const std::string path = file("gone/movie.smi");
    ASSERT_TRUE(doc.openDocument(path));
    edit();
    std::filesystem::remove_all(folder.path("gone"));
    views.saveAsAnswer.reset();
    EXPECT_FALSE(doc.fileSave());
    EXPECT_EQ(views.saveAsSuggestions, std::vector<std::string>{path});
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocumentTest, ReloadReadsTheFileAgainAndStopsThePlayer)
{
    const std::string path = file("movie.smi");
    ASSERT_TRUE(doc.openDocument(path));
    edit();
    TempFolder::write(path, test::samiFile({10, 20, 30}));
    const int stops = views.stops;
    doc.ReloadFromDisk();
    EXPECT_EQ(doc.model().GetCount(), 3);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(views.stops, stops + 1);
}

TEST_F(DocumentTest, ReloadWithoutPathOrReadableFileChangesNothing)
{
    doc.setModifiedFlag(true);
    doc.ReloadFromDisk();
    EXPECT_TRUE(doc.isModified());

    const std::string path = file("movie.smi");
    ASSERT_TRUE(doc.openDocument(path));
    edit();
    std::filesystem::remove(path);
    doc.ReloadFromDisk();
    EXPECT_EQ(doc.model().GetFirst().text, "edited");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DocumentTest, SavingOneLanguageLeavesTheDocumentAsItIs)
{
    const std::string path = folder.path("two.smi");
    TempFolder::write(path,
                      "<SAMI><HEAD><STYLE><!-- .KRCC { Name:K; } .ENCC { Name:E; } --></STYLE>"
                      "</HEAD><BODY><SYNC Start=1000><P Class=KRCC>korean<P Class=ENCC>english"
                      "<SYNC Start=2000><P Class=KRCC>&nbsp;<P Class=ENCC>&nbsp;</BODY></SAMI>");
    ASSERT_TRUE(doc.openDocument(path));
    ASSERT_EQ(doc.model().GetLanguageCount(), 2);
    doc.setModifiedFlag(true);
    const std::string out = folder.path("english.smi");
    ASSERT_TRUE(doc.saveLanguage(out, 1));
    const std::string written = TempFolder::read(out);
    EXPECT_NE(written.find("english"), std::string::npos);
    EXPECT_EQ(written.find("korean"), std::string::npos);
    EXPECT_EQ(written.find(".KRCC"), std::string::npos);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.pathName(), path);
    EXPECT_EQ(doc.model().GetLanguageCount(), 2);
    EXPECT_EQ(doc.model().GetCurrentSlot(), 0);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"english.smi", "two.smi"}));
}

TEST_F(DocumentTest, SavingALanguageOverAnExistingFileReplacesItWhole)
{
    ASSERT_TRUE(doc.openDocument(file("movie.smi")));
    const std::string out = file("out.smi", {5});
    ASSERT_EQ(::chmod(out.c_str(), 0600), 0);
    ASSERT_TRUE(doc.saveLanguage(out, 0));
    EXPECT_NE(TempFolder::read(out).find("c2000"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_FALSE(doc.saveLanguage(out, 1));
}

TEST_F(DocumentTest, MergingMarksTheDocumentModifiedAndRebuildsTheList)
{
    const std::string path = file("a.smi", {1000});
    ASSERT_TRUE(doc.openDocument(path));
    EXPECT_FALSE(doc.mergeFiles({}));
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(doc.mergeFiles({file("b.smi", {5000}), file("c.smi", {7000})}));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(views.rebuilds, 1);
    EXPECT_EQ(doc.model().GetCount(), 2);
    EXPECT_EQ(doc.pathName(), path);
}

/// The caption editor on the document, as the window joins them.
class EditedDocument : public EditorDocument {
public:
    explicit EditedDocument(Document& doc) : m_doc(doc) {}
    void setModified(bool modified) override { m_doc.setModifiedFlag(modified); }
    void undoStateChanged() override { m_doc.journalChanged(); }
    bool isModified() const override { return m_doc.isModified(); }
    bool saveModifiedPrompt() override { return m_doc.saveModified(); }
    std::string path() const override { return m_doc.pathName(); }

private:
    Document& m_doc;
};

TEST_F(DocumentTest, UndoBackToTheSavedStateMakesTheDocumentCleanAndRedoModifiesItAgain)
{
    const std::string path = file("a.smi", {1000, 2000, 3000});
    ASSERT_TRUE(doc.openDocument(path));
    EditedDocument port(doc);
    test::FakePlayer player;
    test::FakeClipboard clipboard;
    test::FakeLauncher launcher;
    CaptionEditor editor(doc.model(), settings, port, player, clipboard, launcher, messenger);
    editor.documentShown();
    const auto expectClean = [&](bool clean) {
        EXPECT_EQ(doc.isModified(), !clean);
        EXPECT_EQ(doc.title(), clean ? "a.smi" : "a.smi *");
    };

    editor.rows().addCaptionAfter();
    editor.rows().deleteCaption();
    expectClean(false);
    editor.rows().undo();
    expectClean(false);
    editor.rows().undo();
    expectClean(true);
    EXPECT_TRUE(doc.saveModified());
    EXPECT_TRUE(messenger.questions.empty());  // a clean document closes without asking
    editor.rows().redo();
    expectClean(false);

    // Saved in the middle of the journal: both ways out of it are changes, the way back is not.
    ASSERT_TRUE(doc.saveDocument(path));
    expectClean(true);
    editor.rows().undo();
    expectClean(false);
    editor.rows().redo();
    expectClean(true);
    editor.rows().redo();
    expectClean(false);
    editor.rows().undo();
    expectClean(true);

    // A change the journal does not record keeps the mark whatever undo does.
    editor.rows().addCaptionAfter();
    editor.languages().languageInformationChanged();
    editor.rows().undo();
    expectClean(false);

    // Opening a file starts clean again.
    ASSERT_TRUE(doc.openDocument(path));
    editor.documentShown();
    editor.rows().moveDown();
    editor.rows().undo();
    expectClean(true);
}

}  // namespace
}  // namespace verbanta
