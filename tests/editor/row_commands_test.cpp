#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using RowCommands = EditorTest;

// ---- insertion ---------------------------------------------------------------------------

TEST_F(RowCommands, AddCaptionBeforeOnAnEmptyListInsertsAtTheHeadAndSelectsRowZero)
{
    load({});
    EXPECT_EQ(editor.panel().mode, PanelMode::Add);
    editor.addCaptionBefore();
    ASSERT_EQ(model.GetCount(), 1);
    EXPECT_EQ(at(0).text, cp949("[새 자막]"));
    EXPECT_EQ(at(0).startMs, 0);
    EXPECT_EQ(at(0).className, "KRCC");
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(listener.events, std::vector<std::string>{"insert 0 1"});
    EXPECT_TRUE(editor.panel().editButton.enabled);
}

TEST_F(RowCommands, AddCaptionAfterInsertsBelowTheCurrentRowAndSelectsIt)
{
    settings.NewSync = "  새 줄  ";
    load({{1000, "A"}, {2000, "B"}});
    editor.addCaptionAfter();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", cp949("새 줄"), "B"}));
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.panel().text, cp949("새 줄"));
    editor.addCaptionBefore();
    EXPECT_EQ(model.GetCount(), 4);
    EXPECT_EQ(editor.currentRow(), 1);
}

TEST_F(RowCommands, AddEndSyncAfterTimesItByTheLettersOfTheCaption)
{
    settings.OneLetterSync = 200;
    load({{1000, cp949("<b>안녕</b>")}, {5000, "#note"}});
    editor.addEndSyncAfter();
    ASSERT_EQ(model.GetCount(), 3);
    EXPECT_TRUE(at(1).isEndSync);
    EXPECT_EQ(at(1).startMs, 1400);
    EXPECT_EQ(editor.currentRow(), 1);
    // After a comment or an end sync the time is 0.
    editor.selectRow(2);
    editor.addEndSyncAfter();
    EXPECT_EQ(at(3).startMs, 0);
}

TEST_F(RowCommands, AddEndSyncAfterWithoutACurrentRowDoesNothing)
{
    load({});
    editor.addEndSyncAfter();
    EXPECT_EQ(model.GetCount(), 0);
    EXPECT_FALSE(document.modified);
}

TEST_F(RowCommands, AddEndSyncBeforeInsertsAnEndSyncAtTimeZero)
{
    load({{1000, "A"}});
    editor.addEndSyncBefore();
    EXPECT_EQ(texts(), (std::vector<std::string>{"&nbsp;", "A"}));
    EXPECT_TRUE(at(0).isEndSync);
    EXPECT_EQ(editor.currentRow(), 0);
}

// ---- deletion ----------------------------------------------------------------------------

TEST_F(RowCommands, DeleteWithDeleteEndTooRemovesTheEndSyncAndOneUndoRestoresBothInOrder)
{
    settings.DeleteEndToo = true;
    load({{1000, "A"}, {2000, "B"}, {2500, "&nbsp;"}, {3000, "C"}});
    editor.selectRow(1);
    editor.deleteCaption();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(listener.events, std::vector<std::string>{"remove 1 2"});
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "&nbsp;", "C"}));
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RowCommands, DeleteWithoutDeleteEndTooKeepsTheEndSync)
{
    load({{1000, "A"}, {1500, "&nbsp;"}});
    editor.deleteCaption();
    EXPECT_EQ(texts(), std::vector<std::string>{"&nbsp;"});
}

TEST_F(RowCommands, DeleteOfTheLastRowSelectsTheNewLastRow)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.selectRow(1);
    editor.deleteCaption();
    EXPECT_EQ(editor.currentRow(), 0);
}

TEST_F(RowCommands, DeleteOfTheReplayedCaptionClearsTheReplayRange)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.toggleReplay();
    ASSERT_TRUE(player.replayActive);
    editor.deleteCaption();
    EXPECT_FALSE(player.replayActive);
}

TEST_F(RowCommands, DeleteCheckedRemovesEveryCheckedRowInOneUndoStep)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}, {4000, "D"}});
    editor.toggleChecked(0);
    editor.toggleChecked(2);
    editor.toggleChecked(3);
    editor.deleteChecked();
    EXPECT_EQ(texts(), std::vector<std::string>{"B"});
    EXPECT_TRUE(document.modified);
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RowCommands, DeleteCheckedWithNothingCheckedShowsTheMessageAndStaysUnmodified)
{
    load({{1000, "A"}});
    editor.deleteChecked();
    EXPECT_EQ(messages(), std::vector<std::string>{"삭제할 자막을 선택해 주십시오."});
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(model.GetCount(), 1);
}

// ---- moving ------------------------------------------------------------------------------

TEST_F(RowCommands, MoveDownOnTheLastRowDoesNothing)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.selectRow(1);
    editor.moveDown();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(editor.canUndo());
    editor.selectRow(0);
    editor.moveUp();
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RowCommands, MovingARowKeepsTheRangeMarksOnTheirRows)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    editor.moveDown();
    EXPECT_EQ(texts(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(times(), (std::vector<int>{2000, 1000, 3000}));
    EXPECT_TRUE(at(0).rangeStart);
    EXPECT_FALSE(at(1).rangeStart);
    EXPECT_EQ(editor.currentRow(), 1);
    editor.selectRow(2);
    editor.moveUp();
    EXPECT_EQ(texts(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_TRUE(at(2).rangeEnd);
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(editor.currentRow(), 1);
}

// ---- split and join ----------------------------------------------------------------------

TEST_F(RowCommands, SplitDividesTheTimeByLettersAndUndoesInOneStep)
{
    load({{1000, "A<br>BB"}, {1400, "&nbsp;"}});
    editor.splitContent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "BB", "&nbsp;"}));
    EXPECT_EQ(times(), (std::vector<int>{1000, 1100, 1400}));
    EXPECT_EQ(editor.currentRow(), 1);
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A<br>BB", "&nbsp;"}));
    EXPECT_FALSE(editor.canUndo());
    editor.redo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "BB", "&nbsp;"}));
    EXPECT_FALSE(editor.canRedo());
}

TEST_F(RowCommands, SplitCountsLineBreaksAndTruncatesEachStep)
{
    // "A<BR>\r\nB<br>C" becomes A, "\r\nB", C: 6 letters (the CR shows as a space) over 600 ms.
    load({{0, "A<BR>\r\nB<br>C"}, {600, "X"}});
    editor.splitContent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "C", "X"}));
    EXPECT_EQ(times(), (std::vector<int>{0, 100, 300, 600}));
}

TEST_F(RowCommands, SplitOfACaptionWithABreakButOneLineLeftKeepsThatLineAsOneUndoStep)
{
    // The break is there, so the caption is split; its blank piece is skipped, and the one
    // piece left replaces the row at its own time.
    load({{1000, "A<br>\r\n"}, {1400, "&nbsp;"}});
    editor.splitContent();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "&nbsp;"}));
    EXPECT_EQ(times(), (std::vector<int>{1000, 1400}));
    EXPECT_EQ(editor.currentRow(), 0);
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A<br>\r\n", "&nbsp;"}));
    EXPECT_FALSE(editor.canUndo());
    // Only breaks and blanks leave no piece at all: nothing to keep, so nothing changes.
    load({{1000, "<br><BR>"}, {1400, "B"}});
    editor.splitContent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"<br><BR>", "B"}));
    EXPECT_EQ(messages(), std::vector<std::string>{"자막이 한 줄로 되어 있어 분리할 수 없습니다."});
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RowCommands, SplitRefusesWithTheSystemMessages)
{
    load({{1000, "A<br>B"}, {900, "C"}, {2000, "#c"}, {3000, "one line"}, {4000, "&nbsp;"}});
    editor.splitContent();  // the next row starts earlier
    editor.selectRow(2);
    editor.splitContent();
    editor.selectRow(4);
    editor.splitContent();
    editor.selectRow(3);
    editor.splitContent();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "종료 싱크나 다음 싱크의 싱크 값에 오류가 있습니다.",
                              "코멘트나 종료 싱크는 내용을 분리할 수 없습니다.",
                              "코멘트나 종료 싱크는 내용을 분리할 수 없습니다.",
                              "자막이 한 줄로 되어 있어 분리할 수 없습니다.",
                          }));
    EXPECT_FALSE(editor.canUndo());
    load({{1000, "A<br>B"}, {1500, "#c"}});
    editor.splitContent();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"종료 싱크나 다음 싱크가 없어 자막을 분리할 수 없습니다."});
    load({});
    editor.splitContent();
    EXPECT_EQ(messages(), std::vector<std::string>{"내용을 분리할 자막을 선택해 주십시오."});
}

TEST_F(RowCommands, JoinSkipsCommentsAndEndSyncsAndKeepsTheComments)
{
    load({{1000, "A"}, {0, "#note"}, {1500, "&nbsp;"}, {2000, "B"}, {3000, "C"}});
    editor.joinWithNext();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A<br>\r\nB", "note", "C"}));
    EXPECT_EQ(times(), (std::vector<int>{1000, 0, 3000}));
    EXPECT_TRUE(at(1).isComment);
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_EQ(editor.panel().text, "A<br>\r\nB");
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "note", "&nbsp;", "B", "C"}));
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RowCommands, JoinRefusesWithTheSystemMessages)
{
    load({{1000, "A"}, {1500, "&nbsp;"}});
    editor.joinWithNext();
    editor.selectRow(1);
    editor.joinWithNext();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "해당 자막 아래에 합칠 자막이 없습니다.",
                              "코멘트나 종료 싱크를 아래 자막과 합칠 수 없습니다.",
                          }));
    load({});
    editor.joinWithNext();
    EXPECT_EQ(messages(), std::vector<std::string>{"아래 자막과 합칠 자막을 선택해 주십시오."});
}

// ---- register and comment ----------------------------------------------------------------

TEST_F(RowCommands, RegisterInEditModeOnACommentChangesItsTextWithoutAnUndoStep)
{
    load({{0, "#old"}, {1000, "A"}});
    EXPECT_FALSE(editor.panel().start.enabled);
    editor.setPanelText("new");
    editor.registerPanel();
    EXPECT_EQ(at(0).text, "new");
    EXPECT_TRUE(at(0).isComment);
    EXPECT_FALSE(editor.canUndo());
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(listener.events, std::vector<std::string>{"change 0 0"});
}

TEST_F(RowCommands, RegisterInEditModeReplacesTheRowAndMovesTheEndSyncAsItsOwnStep)
{
    load({{1000, "A"}, {1500, "&nbsp;"}, {3000, "B"}});
    editor.toggleBookmark();
    editor.setPanelText("  changed ");
    editor.setStartField(1200);
    editor.setEndField(2000);
    editor.registerPanel();
    EXPECT_EQ(texts(), (std::vector<std::string>{"changed", "&nbsp;", "B"}));
    EXPECT_EQ(times(), (std::vector<int>{1200, 2000, 3000}));
    EXPECT_TRUE(at(0).bookmarked);  // the row keeps its marks
    EXPECT_TRUE(at(0).rangeStart);
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_EQ(listener.focus, FocusTarget::List);
    editor.undo();
    EXPECT_EQ(times(), (std::vector<int>{1200, 1500, 3000}));
    editor.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "&nbsp;", "B"}));
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RowCommands, RegisterWithAnEmptyOrBlankTextShowsTheMessage)
{
    load({{1000, "A"}});
    editor.setPanelText(" \r\n ");
    editor.registerPanel();
    EXPECT_EQ(messages(), std::vector<std::string>{"자막 내용을 입력해 주십시오."});
    EXPECT_EQ(listener.focus, FocusTarget::TextField);
    EXPECT_EQ(texts(), std::vector<std::string>{"A"});
}

TEST_F(RowCommands, RegisterInAddModeInsertsAfterTheCurrentRowAtTheStartField)
{
    load({{1000, "A"}, {3000, "B"}});
    editor.setPanelMode(PanelMode::Add);
    EXPECT_EQ(editor.panel().start.value, 1000);
    EXPECT_FALSE(editor.panel().end.enabled);
    EXPECT_TRUE(editor.panel().commentButton.visible);
    editor.setPanelText("new");
    editor.setStartField(2000);
    editor.registerPanel();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "new", "B"}));
    EXPECT_EQ(at(1).startMs, 2000);
    EXPECT_EQ(editor.currentRow(), 1);
}

TEST_F(RowCommands, RegisterInMoveModeShiftsTheRangeAndRemembersTheOffset)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.setPanelMode(PanelMode::Move);
    editor.setStartField(-500);
    editor.registerPanel();
    EXPECT_EQ(times(), (std::vector<int>{500, 1500}));
    EXPECT_EQ(editor.lastMoveOffset(), -500);
    editor.setPanelMode(PanelMode::Edit);
    editor.setPanelMode(PanelMode::Move);
    EXPECT_EQ(editor.panel().start.value, -500);
}

TEST_F(RowCommands, CommentInAddModeInsertsAfterTheCurrentRow)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.setPanelMode(PanelMode::Add);
    editor.addComment();
    EXPECT_EQ(messages(), std::vector<std::string>{"코멘트 내용을 입력해 주십시오."});
    editor.setPanelText("note");
    editor.addComment();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "note", "B"}));
    EXPECT_TRUE(at(1).isComment);
    EXPECT_EQ(editor.currentRow(), 1);
}

// ---- bookmarks as captions ---------------------------------------------------------------

TEST_F(RowCommands, ExportBookmarksAddsOneCaptionPerBookmarkInOrderAsOneUndoStep)
{
    load({{1000, "A"}, {9000, "B"}});
    player.bookmarks = {5000, 3000};
    ASSERT_TRUE(editor.canExportBookmarks());
    editor.exportBookmarksToSyncs();
    EXPECT_EQ(times(), (std::vector<int>{1000, 5000, 3000, 9000}));
    EXPECT_EQ(editor.currentRow(), 2);
    editor.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 9000}));
}

}  // namespace
}  // namespace verbanta::test
