#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using CaptionView = EditorTest;

// ---- list cells and binding --------------------------------------------------------------

TEST_F(CaptionView, AnEmptyListShowsTheAddPanelWithEditAndMoveDisabled)
{
    load({});
    EXPECT_EQ(editor.panel().mode, PanelMode::Add);
    EXPECT_FALSE(editor.panel().editButton.enabled);
    EXPECT_FALSE(editor.panel().moveButton.enabled);
    EXPECT_EQ(editor.currentRow(), -1);
    editor.setPanelMode(PanelMode::Edit);
    EXPECT_EQ(editor.panel().mode, PanelMode::Add);
}

TEST_F(CaptionView, ACommentShowsItsTimeTextAndLoadsWithTheStartFieldDisabled)
{
    load({{0, "#note"}, {1000, "A"}});
    EXPECT_EQ(utf8(editor.timeText(0)), "(코멘트)");
    EXPECT_EQ(editor.panel().text, "note");
    EXPECT_FALSE(editor.panel().start.enabled);
    editor.selectRow(1);
    EXPECT_TRUE(editor.panel().start.enabled);
    EXPECT_EQ(editor.panel().start.value, 1000);
}

TEST_F(CaptionView, TimesAndTextsAreShownAsTheOptionsSay)
{
    load({{-1500, "<font color=red>a</font><BR>b\tc"}});
    EXPECT_EQ(editor.timeText(0), "-1500");
    EXPECT_EQ(utf8(editor.captionText(0)), "a↘b c");
    settings.DisplayAsTime = true;
    settings.DisplayTag = true;
    EXPECT_EQ(editor.timeText(0), "-0:00:01.500");
    EXPECT_EQ(editor.captionText(0), "<font color=red>a</font><BR>b c");
    EXPECT_EQ(editor.timeText(1), "");
}

TEST_F(CaptionView, ShowingADocumentBindsTheWholeListAsTheRangeUntilTheFirstChange)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    model.list()[0].rangeStart = 0;
    model.list()[2].rangeEnd = 0;
    editor.documentShown();
    EXPECT_EQ(editor.rangeStartRow(), 0);
    EXPECT_EQ(editor.rangeEndRow(), 2);
    EXPECT_TRUE(editor.shiftRange(100, false));
    EXPECT_EQ(times(), (std::vector<int>{1100, 2100, 3100}));
    // The change derived the range from the marks again: there are none.
    EXPECT_EQ(editor.rangeStartRow(), -1);
    EXPECT_FALSE(editor.shiftRange(100, false));
    EXPECT_EQ(messages().back(), "싱크를 이동시킬 범위의 시작과 끝 싱크를 선택해 주십시오.");
}

TEST_F(CaptionView, ShowingANewDocumentEndsTheReplayOfTheOldOne)
{
    load({{1000, "a"}, {2000, "b"}});
    editor.toggleReplay();
    ASSERT_TRUE(player.replayActive);
    load({{5000, "other"}});
    EXPECT_FALSE(player.replayActive);
}

TEST_F(CaptionView, OneRowChangeIsToldAsThatRowOnly)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    editor.selectRow(1);
    editor.setCurrentSyncTime(2500);
    EXPECT_EQ(listener.events, std::vector<std::string>{"change 1 1"});
    editor.addCaptionAfter();
    EXPECT_EQ(listener.events.back(), "insert 3 1");
    EXPECT_EQ(listener.rows, model.GetCount());
}

// ---- range marks and the marker strip ----------------------------------------------------

TEST_F(CaptionView, StripClicksMoveTheRangeMarksOrAskInsideTheRange)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}});
    editor.markRangeEnd(2);
    EXPECT_EQ(editor.rangeEndRow(), 2);
    EXPECT_FALSE(at(4).rangeEnd);
    EXPECT_EQ(player.rangeEndMs, 2);
    EXPECT_EQ(editor.stripClicked(4), StripClick::MarkedEnd);
    EXPECT_EQ(editor.rangeEndRow(), 4);
    EXPECT_FALSE(at(2).rangeEnd);
    EXPECT_EQ(editor.stripClicked(2), StripClick::AskStartOrEnd);
    EXPECT_EQ(editor.stripClicked(4), StripClick::Nothing);  // already carries a mark
    editor.markRangeStart(2);
    EXPECT_EQ(editor.rangeStartRow(), 2);
    EXPECT_FALSE(at(0).rangeStart);
    EXPECT_EQ(editor.stripClicked(1), StripClick::MarkedStart);
    EXPECT_EQ(editor.rangeStartRow(), 1);
    EXPECT_EQ(editor.stripClicked(9), StripClick::Nothing);
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(CaptionView, GoToRangeStartAndEndSelectTheMarkedRows)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}});
    editor.goToRangeEnd();
    EXPECT_EQ(editor.currentRow(), 2);
    editor.goToRangeStart();
    EXPECT_EQ(editor.currentRow(), 0);
}

// ---- edit panel --------------------------------------------------------------------------

TEST_F(CaptionView, MoveEndTooMovesTheEndFieldOnlyWhenTheNextRowIsAnEndSync)
{
    settings.MoveEndToo = true;
    load({{1000, "A"}, {1500, "&nbsp;"}, {3000, "B"}, {4000, "C"}});
    EXPECT_TRUE(editor.panel().end.enabled);
    editor.setStartField(1200);
    EXPECT_EQ(editor.panel().end.value, 1700);
    EXPECT_EQ(editor.rememberedStart(), 1200);
    editor.stepStartField(+1);
    EXPECT_EQ(editor.panel().start.value, 1300);
    EXPECT_EQ(editor.panel().end.value, 1800);
    editor.selectRow(2);
    EXPECT_FALSE(editor.panel().end.enabled);
    editor.setStartField(3500);
    EXPECT_EQ(editor.panel().end.value, 0);
    editor.stepEndField(+1);  // the end field is disabled here
    EXPECT_EQ(editor.panel().end.value, 0);
}

TEST_F(CaptionView, MoveModeShowsOnlyTheOffsetAndTheRunButton)
{
    load({{1000, "A"}});
    editor.setPanelMode(PanelMode::Move);
    const PanelState& p = editor.panel();
    EXPECT_FALSE(p.textEnabled);
    EXPECT_FALSE(p.end.visible);
    EXPECT_FALSE(p.commentButton.visible);
    EXPECT_FALSE(p.cancelButton.visible);
    EXPECT_EQ(p.registerButton.label, "실행");
    EXPECT_EQ(p.start.minimum, -100000000);
    EXPECT_TRUE(p.moveButton.checked);
    editor.setPanelMode(PanelMode::Edit);
    EXPECT_EQ(editor.panel().registerButton.label, "등록");
    EXPECT_EQ(editor.panel().text, "A");
    EXPECT_EQ(editor.panel().start.minimum, 0);
}

TEST_F(CaptionView, CancelClearsNewTextOrReloadsTheRowWithItsTextSelected)
{
    load({{1000, "Abc"}});
    editor.setPanelText("typed");
    editor.cancelPanel();
    EXPECT_EQ(editor.panel().text, "Abc");
    EXPECT_EQ(editor.panel().selectionEnd, 3);
    editor.setPanelMode(PanelMode::Add);
    editor.setPanelText("typed");
    editor.cancelPanel();
    EXPECT_EQ(editor.panel().text, "");
    EXPECT_EQ(listener.focus, FocusTarget::TextField);
}

TEST_F(CaptionView, PlayerPositionGoesIntoTheFieldsOnlyWithMediaOpen)
{
    load({{1000, "A"}, {1500, "&nbsp;"}});
    player.positionMs = 4321;
    editor.putPlayerPositionInStart();
    EXPECT_EQ(editor.panel().start.value, 1000);
    player.mediaOpen = true;
    editor.putPlayerPositionInStart();
    editor.putPlayerPositionInEnd();
    EXPECT_EQ(editor.panel().start.value, 4321);
    EXPECT_EQ(editor.panel().end.value, 4321);
}

// ---- navigation and check marks ----------------------------------------------------------

TEST_F(CaptionView, KeyboardNavigationStopsAtTheEnds)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}});
    editor.selectPrevious();
    EXPECT_EQ(editor.currentRow(), 0);
    editor.setRowsPerPage(3);
    editor.pageDown();
    EXPECT_EQ(editor.currentRow(), 3);
    editor.pageDown();
    EXPECT_EQ(editor.currentRow(), 4);
    editor.selectNext();
    EXPECT_EQ(editor.currentRow(), 4);
    editor.pageUp();
    EXPECT_EQ(editor.currentRow(), 1);
    editor.pageUp();
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_EQ(editor.panel().text, "a");
}

TEST_F(CaptionView, CheckMarksFollowClicksDragsAndTheMenuCommandsWithoutUndo)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}});
    const auto checked = [&] {
        std::vector<int> out;
        for (int i = 0; i < model.GetCount(); ++i) out.push_back(at(i).checked);
        return out;
    };
    editor.selectRow(1);
    editor.shiftClickCheck(3);
    EXPECT_EQ(checked(), (std::vector<int>{0, 1, 1, 1, 0}));
    editor.shiftClickCheck(1);  // the selected row itself toggles
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 1, 1, 0}));
    editor.beginCheckDrag(0);
    editor.dragCheckOver(2);
    editor.endCheckDrag();
    editor.dragCheckOver(4);  // no drag under way
    EXPECT_EQ(checked(), (std::vector<int>{1, 1, 0, 1, 0}));
    editor.invertChecks();
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 1, 0, 1}));
    editor.checkAll();
    EXPECT_EQ(checked(), (std::vector<int>{1, 1, 1, 1, 1}));
    editor.clearChecks();
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_FALSE(editor.canUndo());
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(listener.events.back(), "change 0 4");
}

TEST_F(CaptionView, TurningErrorMarksOnInTheOptionsMarksAndRedrawsEveryRow)
{
    load({{2000, "a"}, {1000, "b"}});
    EXPECT_FALSE(at(0).syncError);
    const AppSettings before = settings;
    settings.DisplayErrorSync = true;
    editor.optionsChanged(before);
    EXPECT_TRUE(at(0).syncError);
    EXPECT_EQ(listener.events, std::vector<std::string>{"change 0 1"});
    EXPECT_GT(listener.marks, 0);
    listener.events.clear();
    editor.optionsChanged(settings);  // nothing changed
    EXPECT_TRUE(listener.events.empty());
    editor.formatChanged();
    EXPECT_TRUE(document.modified);
}

TEST_F(CaptionView, ClicksSeekThePlayerOrFocusTheTextOnlyOnRows)
{
    load({{1500, "a"}});
    player.mediaOpen = true;
    EXPECT_TRUE(editor.seekPlayerToRow(0, true));
    EXPECT_FALSE(editor.seekPlayerToRow(3, true));
    EXPECT_EQ(player.seeks, std::vector<std::int32_t>{1500});
    listener.focus = FocusTarget::List;
    editor.rowDoubleClicked(-1);
    EXPECT_EQ(listener.focus, FocusTarget::List);
    editor.rowDoubleClicked(0);
    EXPECT_EQ(listener.focus, FocusTarget::TextField);
}

// ---- operations for the player -----------------------------------------------------------

TEST_F(CaptionView, SingleSyncTimesTheEndSyncAndMovesPastIt)
{
    settings.InsertEndAuto = true;
    settings.OneLetterSync = 100;
    load({{0, "abc"}, {0, "&nbsp;"}, {0, "next"}});
    editor.setCurrentSyncTime(5000);
    EXPECT_EQ(times(), (std::vector<int>{5000, 5300, 0}));
    EXPECT_EQ(editor.currentRow(), 2);
    EXPECT_TRUE(document.modified);
    editor.undo();
    EXPECT_EQ(times(), (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(CaptionView, SingleSyncWithoutMoveToNextStaysAndWithoutARowDoesNothing)
{
    settings.MoveToNextSync = false;
    load({{0, "a"}, {0, "b"}});
    editor.setCurrentSyncTime(700);
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_EQ(times(), (std::vector<int>{700, 0}));
    load({});
    editor.setCurrentSyncTime(700);
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(CaptionView, CaptureInsertsUseTheGivenTime)
{
    load({{1000, "A"}});
    editor.insertCaptionAfterAt(2000);
    editor.insertEndSyncAfterAt(2500);
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 2500}));
    EXPECT_TRUE(at(2).isEndSync);
    EXPECT_EQ(editor.currentRow(), 2);
}

TEST_F(CaptionView, SelectingByTimePicksTheCaptionOnScreen)
{
    load({{1000, "a"}, {2000, "b"}, {3000, "c"}});
    EXPECT_TRUE(editor.selectRowBeforeTime(2500));
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_TRUE(editor.selectRowBeforeTime(500));  // before the first caption: the top
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_FALSE(editor.selectRowBeforeTime(5000));
    EXPECT_EQ(editor.currentRow(), 0);
    editor.selectAndScrollToTop(2);
    EXPECT_EQ(listener.lastHint, ScrollHint::TopIfHidden);
    EXPECT_EQ(editor.currentRowTime(), 3000);
    EXPECT_EQ(editor.selectNextRowTime(), -1);
    EXPECT_EQ(editor.selectPrevRowTime(), 2000);
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.selectPrevRowTime(), 1000);
    EXPECT_EQ(editor.selectPrevRowTime(), -1);
    load({});
    EXPECT_EQ(editor.currentRowTime(), -1);
    EXPECT_EQ(editor.selectNextRowTime(), -1);
}

// ---- commands without the row they need -------------------------------------------------

TEST_F(CaptionView, OnAnEmptyListEveryCommandDoesNothingOrShowsItsMessage)
{
    load({});
    player.bookmarks = {1000, 2000};
    clipboard.content = "text";
    messenger.answers = {Answer::Yes};
    editor.addEndSyncAfter();
    editor.deleteCaption();
    editor.deleteChecked();
    editor.moveUp();
    editor.moveDown();
    editor.splitContent();
    editor.joinWithNext();
    editor.registerPanel();
    editor.addComment();
    editor.setCurrentSyncTime(5);
    editor.copySingle();
    editor.cutSingle();
    editor.copy();
    editor.cut();
    editor.appendAtEnd();
    editor.toggleReplay();
    editor.toggleBookmark();
    editor.previousBookmark();
    editor.nextBookmark();
    editor.goToRangeStart();
    editor.goToRangeEnd();
    editor.shiftRange(10, false);
    editor.shiftRangeToTime(10);
    editor.fitProportionally();
    editor.syncToBookmarks();
    editor.removeInvalidEndSyncs();
    EXPECT_TRUE(editor.findTimingErrors().empty());
    EXPECT_FALSE(editor.goToFoundRow(0));
    EXPECT_FALSE(editor.findNext("a", true, false));
    editor.replace("a", "b", false);
    EXPECT_EQ(editor.replaceAll("a", "b", false), 0);
    EXPECT_EQ(editor.resetEndSyncs(EndSyncReset{false, 1000}), 0);
    EXPECT_FALSE(editor.synchronizeLanguages(0));
    editor.undo();
    editor.redo();
    editor.selectPrevious();
    editor.pageDown();
    EXPECT_EQ(editor.selectPrevRowTime(), -1);
    EXPECT_EQ(editor.selectNextRowTime(), -1);
    EXPECT_FALSE(editor.selectRowBeforeTime(0));

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
    EXPECT_EQ(editor.currentRow(), -1);
    EXPECT_FALSE(editor.canUndo());
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(*clipboard.content, "text");
}

}  // namespace
}  // namespace verbanta::test
