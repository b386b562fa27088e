#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "model/language_operations.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

/// A Korean list and an English one added from it, then both given their own captions.
class LanguagesAndMarks : public EditorTest {
protected:
    void loadTwoLanguages(const std::vector<Row>& korean, const std::vector<int>& englishTimes)
    {
        load(korean);
        LanguageFields english{"ENCC", cp949("영어"), "en-US", "CC"};
        ASSERT_TRUE(addLanguage(model, english, 0));
        SyncList& list = model.slotList(1);
        list.clear();
        for (const int ms : englishTimes) {
            SyncEntry e;
            e.className = "ENCC";
            e.startMs = ms;
            e.text = "en";
            list.insertAt(list.count(), e);
        }
        languages.languageInformationChanged();
        clearRecords();
    }
};

// ---- languages ---------------------------------------------------------------------------

TEST_F(LanguagesAndMarks, TabsShowTheLanguageNamesTrimmed)
{
    load({{1000, "a"}});
    model.languages[0].setName("\"" + cp949("한국어") + " '\t");
    EXPECT_EQ(languages.languageTabs(), std::vector<std::string>{cp949("한국어")});
    model.languages.clear();
    EXPECT_TRUE(languages.languageTabs().empty());
    EXPECT_EQ(languages.currentLanguageIndex(), -1);
}

TEST_F(LanguagesAndMarks, SwitchingLanguagesShowsTheOtherListAndClampsTheRow)
{
    loadTwoLanguages({{1000, "a"}, {2000, "b"}, {3000, "c"}}, {1000});
    session.selectRow(2);
    languages.selectLanguage(1);
    EXPECT_EQ(languages.currentLanguageIndex(), 1);
    EXPECT_EQ(texts(), std::vector<std::string>{"en"});
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(listener.events, std::vector<std::string>{"replace"});
    EXPECT_EQ(listener.focus, FocusTarget::List);
    EXPECT_EQ(languages.languageSyncChoices(), std::vector<int>{0});
}

TEST_F(LanguagesAndMarks, SynchronisingDifferentCountsShowsBothCounts)
{
    loadTwoLanguages({{1000, "a"}, {2000, "b"}, {3000, "c"}}, {1000, 2000});
    languages.selectLanguage(1);
    EXPECT_FALSE(languages.synchronizeLanguages(0));
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "현재 선택한 언어와 기준 언어의 자막 갯수가 다릅니다.\n\n"
                              "선택 언어: 2개,    기준 언어:3개\n\n"
                              "자막 갯수를 동일하게 한 후 다시 시도해 주십시오."});
}

TEST_F(LanguagesAndMarks, SynchronisingEqualCountsCopiesTheTimesAsOneUndoStep)
{
    loadTwoLanguages({{1000, "a"}, {0, "#c"}, {3000, "c"}}, {1100, 7, 3300});
    languages.selectLanguage(1);
    EXPECT_TRUE(languages.synchronizeLanguages(0));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(times(), (std::vector<int>{1000, 7, 3000}));  // a comment keeps its time
    EXPECT_TRUE(document.modified);
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1100, 7, 3300}));
    EXPECT_FALSE(rows.canUndo());
    EXPECT_FALSE(languages.synchronizeLanguages(1));  // the current language itself
}

TEST_F(LanguagesAndMarks, LanguageMismatchesAreRowsWhoseTimeAnotherLanguageLacks)
{
    loadTwoLanguages({{1000, "a"}, {2000, "b"}, {3000, "c"}}, {1000, 3000});
    const std::vector<FoundRow> found = languages.findLanguageMismatches();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].row, 1);
    languages.selectLanguage(1);
    EXPECT_TRUE(languages.findLanguageMismatches().empty());
    EXPECT_EQ(messages(),
              std::vector<std::string>{"다국어 자막의 언어간에 일치하지 않는 싱크가 없습니다."});
}

TEST_F(LanguagesAndMarks, DeletingALanguageDropsTheUndoHistoryAddingOneKeepsIt)
{
    loadTwoLanguages({{1000, "a"}, {2000, "b"}}, {1000});
    capture.setCurrentSyncTime(1500);
    LanguageFields japanese{"JPCC", cp949("일본어"), "ja-JP", "CC"};
    ASSERT_TRUE(addLanguage(model, japanese, 0));
    const int rebuilt = listener.languages;
    languages.languageInformationChanged();
    EXPECT_TRUE(rows.canUndo());
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(listener.languages, rebuilt + 1);
    messenger.answers = {Answer::Yes};
    ASSERT_TRUE(deleteLanguage(model, 1));
    languages.languageInformationChanged();
    EXPECT_FALSE(rows.canUndo());
    EXPECT_EQ(languages.currentLanguageIndex(), 0);
}

// ---- replay ------------------------------------------------------------------------------

TEST_F(LanguagesAndMarks, ReplayOfTheLastCaptionRunsForItsLetters)
{
    settings.OneLetterSync = 100;
    load({{1000, "a"}, {5000, "<i>last</i>"}});
    session.selectRow(1);
    languages.toggleReplay();
    EXPECT_TRUE(at(1).replayMark);
    EXPECT_TRUE(player.replayActive);
    EXPECT_EQ(player.replayStartMs, 5000);
    EXPECT_EQ(player.replayEndMs, 5400);
    EXPECT_EQ(player.repeatStops, 1);
    EXPECT_FALSE(document.modified);
}

TEST_F(LanguagesAndMarks, ReplayMovesToAnotherCaptionAndPressedAgainClearsIt)
{
    load({{1000, "a"}, {2000, "b"}, {2500, "&nbsp;"}});
    languages.toggleReplay();
    EXPECT_EQ(player.replayEndMs, 2000);
    session.selectRow(1);
    languages.toggleReplay();
    EXPECT_FALSE(at(0).replayMark);
    EXPECT_TRUE(at(1).replayMark);
    EXPECT_EQ(player.replayStartMs, 2000);
    EXPECT_EQ(player.replayEndMs, 2500);  // the next row, whatever its kind
    languages.toggleReplay();
    EXPECT_FALSE(at(1).replayMark);
    EXPECT_FALSE(player.replayActive);
    EXPECT_EQ(player.repeatStops, 3);
}

TEST_F(LanguagesAndMarks, TheReplayRangeFollowsEditsOfTheMarkedCaption)
{
    load({{1000, "a"}, {2000, "b"}});
    languages.toggleReplay();
    session.selectRow(1);
    capture.setCurrentSyncTime(2200);
    EXPECT_EQ(player.replayEndMs, 2200);
    session.selectRow(0);
    capture.setCurrentSyncTime(1100);
    EXPECT_EQ(player.replayStartMs, 1100);
    languages.clearReplayMarks();
    EXPECT_FALSE(at(0).replayMark);
    EXPECT_FALSE(player.replayActive);
}

TEST_F(LanguagesAndMarks, ReplayRefusesWithTheSystemMessages)
{
    load({{1000, "&nbsp;"}, {0, "#c"}});
    languages.toggleReplay();
    session.selectRow(1);
    languages.toggleReplay();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "종료 싱크에는 반복 재생을 설정할 수 없습니다",
                              "코멘트에는 반복 재생을 설정할 수 없습니다",
                          }));
    EXPECT_FALSE(player.replayActive);
    load({});
    languages.toggleReplay();
    EXPECT_EQ(messages(), std::vector<std::string>{"반복 재생하고자 하는 자막을 선택해 주십시오"});
}

// ---- list bookmarks ----------------------------------------------------------------------

TEST_F(LanguagesAndMarks, BookmarksNavigateWithoutWrappingAround)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}});
    session.selectRow(1);
    languages.toggleBookmark();
    session.selectRow(3);
    languages.toggleBookmark();
    languages.nextBookmark();
    EXPECT_EQ(session.currentRow(), 3);
    languages.previousBookmark();
    EXPECT_EQ(session.currentRow(), 1);
    languages.previousBookmark();
    EXPECT_EQ(session.currentRow(), 1);
    session.selectRow(0);
    languages.nextBookmark();
    EXPECT_EQ(session.currentRow(), 1);
    languages.clearBookmarks();
    EXPECT_FALSE(at(1).bookmarked);
    EXPECT_FALSE(at(3).bookmarked);
    EXPECT_FALSE(rows.canUndo());
    load({});
    languages.toggleBookmark();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"북마크를 설정하고자 하는 자막을 선택해 주십시오"});
}

}  // namespace
}  // namespace verbanta::test
