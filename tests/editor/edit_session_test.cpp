#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using EditSession = EditorTest;

TEST_F(EditSession, ACommentShowsItsTimeTextAndLoadsWithTheStartFieldDisabled)
{
    load({{0, "#note"}, {1000, "A"}});
    EXPECT_EQ(utf8(session.timeText(0)), "(코멘트)");
    EXPECT_EQ(panel.state().text, "note");
    EXPECT_FALSE(panel.state().start.enabled);
    session.selectRow(1);
    EXPECT_TRUE(panel.state().start.enabled);
    EXPECT_EQ(panel.state().start.value, 1000);
}

TEST_F(EditSession, TimesAndTextsAreShownAsTheOptionsSay)
{
    load({{-1500, "<font color=red>a</font><BR>b\tc"}});
    EXPECT_EQ(session.timeText(0), "-1500");
    EXPECT_EQ(utf8(session.captionText(0)), "a↘b c");
    settings.DisplayAsTime = true;
    settings.DisplayTag = true;
    EXPECT_EQ(session.timeText(0), "-0:00:01.500");
    EXPECT_EQ(session.captionText(0), "<font color=red>a</font><BR>b c");
    EXPECT_EQ(session.timeText(1), "");
}

TEST_F(EditSession, ShowingADocumentBindsTheWholeListAsTheRangeUntilTheFirstChange)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    model.list()[0].rangeStart = 0;
    model.list()[2].rangeEnd = 0;
    editor.documentShown();
    EXPECT_EQ(session.rangeStartRow(), 0);
    EXPECT_EQ(session.rangeEndRow(), 2);
    EXPECT_TRUE(timing.shiftRange(100, false));
    EXPECT_EQ(times(), (std::vector<int>{1100, 2100, 3100}));
    // The change derived the range from the marks again: there are none.
    EXPECT_EQ(session.rangeStartRow(), -1);
    EXPECT_FALSE(timing.shiftRange(100, false));
    EXPECT_EQ(messages().back(), "싱크를 이동시킬 범위의 시작과 끝 싱크를 선택해 주십시오.");
}

TEST_F(EditSession, ShowingANewDocumentEndsTheReplayOfTheOldOne)
{
    load({{1000, "a"}, {2000, "b"}});
    languages.toggleReplay();
    ASSERT_TRUE(player.replayActive);
    load({{5000, "other"}});
    EXPECT_FALSE(player.replayActive);
}

TEST_F(EditSession, OneRowChangeIsToldAsThatRowOnly)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    session.selectRow(1);
    capture.setCurrentSyncTime(2500);
    EXPECT_EQ(listener.events, std::vector<std::string>{"change 1 1"});
    rows.addCaptionAfter();
    EXPECT_EQ(listener.events.back(), "insert 3 1");
    EXPECT_EQ(listener.rows, model.GetCount());
}

TEST_F(EditSession, TurningErrorMarksOnInTheOptionsMarksAndRedrawsEveryRow)
{
    load({{2000, "a"}, {1000, "b"}});
    EXPECT_FALSE(at(0).syncError);
    const AppSettings before = settings;
    settings.DisplayErrorSync = true;
    session.optionsChanged(before);
    EXPECT_TRUE(at(0).syncError);
    EXPECT_EQ(listener.events, std::vector<std::string>{"change 0 1"});
    EXPECT_GT(listener.marks, 0);
    listener.events.clear();
    session.optionsChanged(settings);  // nothing changed
    EXPECT_TRUE(listener.events.empty());
    session.formatChanged();
    EXPECT_TRUE(document.modified);
}

TEST_F(EditSession, OnAnEmptyListEveryCommandDoesNothingOrShowsItsMessage)
{
    load({});
    player.bookmarks = {1000, 2000};
    clipboard.content = "text";
    messenger.answers = {Answer::Yes};
    rows.addEndSyncAfter();
    rows.deleteCaption();
    rows.deleteChecked();
    rows.moveUp();
    rows.moveDown();
    rows.splitContent();
    rows.joinWithNext();
    panel.registerPanel();
    panel.addComment();
    capture.setCurrentSyncTime(5);
    findClipboard.copySingle();
    findClipboard.cutSingle();
    findClipboard.copy();
    findClipboard.cut();
    findClipboard.appendAtEnd();
    languages.toggleReplay();
    languages.toggleBookmark();
    languages.previousBookmark();
    languages.nextBookmark();
    selection.goToRangeStart();
    selection.goToRangeEnd();
    timing.shiftRange(10, false);
    timing.shiftRangeToTime(10);
    timing.fitProportionally();
    timing.syncToBookmarks();
    timing.removeInvalidEndSyncs();
    EXPECT_TRUE(timing.findTimingErrors().empty());
    EXPECT_FALSE(selection.goToFoundRow(0));
    EXPECT_FALSE(findClipboard.findNext("a", true, false));
    findClipboard.replace("a", "b", false);
    EXPECT_EQ(findClipboard.replaceAll("a", "b", false), 0);
    EXPECT_EQ(timing.resetEndSyncs(EndSyncReset{false, 1000}), 0);
    EXPECT_FALSE(languages.synchronizeLanguages(0));
    rows.undo();
    rows.redo();
    selection.selectPrevious();
    selection.pageDown();
    EXPECT_EQ(capture.selectPrevRowTime(), -1);
    EXPECT_EQ(capture.selectNextRowTime(), -1);
    EXPECT_FALSE(capture.selectRowBeforeTime(0));

    const std::string range = "싱크를 이동시킬 범위의 시작과 끝 싱크를 선택해 주십시오.";
    const std::string noMore = "일치하는 문자열이 더 이상 존재하지 않습니다.";
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "삭제할 자막을 선택해 주십시오.",
                              "내용을 분리할 자막을 선택해 주십시오.",
                              "아래 자막과 합칠 자막을 선택해 주십시오.",
                              "자막 내용을 입력해 주십시오.",
                              "코멘트 내용을 입력해 주십시오.",
                              "내용을 복사할 자막을 선택해 주십시오.",
                              "내용을 잘라낼 자막을 선택해 주십시오.",
                              "반복 재생하고자 하는 자막을 선택해 주십시오",
                              "북마크를 설정하고자 하는 자막을 선택해 주십시오",
                              range,
                              range,
                              range,
                              range,
                              "본 자막에는 무효한 종료 싱크가 없습니다.",
                              "본 자막에는 싱크 시간 오류가 없습니다.",
                              "이동하고자 하는 자막을 선택해 주십시오",
                              noMore,
                              noMore,
                              "일치하는 문자열이 없습니다.",
                              "조정된 종료 싱크가 없습니다.",
                          }));
    EXPECT_EQ(model.GetCount(), 0);
    EXPECT_EQ(session.currentRow(), -1);
    EXPECT_FALSE(rows.canUndo());
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(*clipboard.content, "text");
}

}  // namespace
}  // namespace verbanta::test
