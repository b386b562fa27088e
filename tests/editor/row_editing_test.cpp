#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using RowEditing = EditorTest;
using UndoRedo = EditorTest;

TEST_F(RowEditing, AddCaptionBeforeOnAnEmptyListInsertsAtTheHeadAndSelectsRowZero)
{
    load({});
    EXPECT_EQ(panel.state().mode, PanelMode::Add);
    rows.addCaptionBefore();
    ASSERT_EQ(model.GetCount(), 1);
    EXPECT_EQ(at(0).text, cp949("[새 자막]"));
    EXPECT_EQ(at(0).startMs, 0);
    EXPECT_EQ(at(0).className, "KRCC");
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(listener.events, std::vector<std::string>{"insert 0 1"});
    EXPECT_TRUE(panel.state().editButton.enabled);
}

TEST_F(RowEditing, AddCaptionAfterInsertsBelowTheCurrentRowAndSelectsIt)
{
    settings.NewSync = "  새 줄  ";
    load({{1000, "A"}, {2000, "B"}});
    rows.addCaptionAfter();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", cp949("새 줄"), "B"}));
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_EQ(panel.state().text, cp949("새 줄"));
    rows.addCaptionBefore();
    EXPECT_EQ(model.GetCount(), 4);
    EXPECT_EQ(session.currentRow(), 1);
}

TEST_F(RowEditing, AddEndSyncAfterTimesItByTheLettersOfTheCaption)
{
    settings.OneLetterSync = 200;
    load({{1000, cp949("<b>안녕</b>")}, {5000, "#note"}});
    rows.addEndSyncAfter();
    ASSERT_EQ(model.GetCount(), 3);
    EXPECT_TRUE(at(1).isEndSync);
    EXPECT_EQ(at(1).startMs, 1400);
    EXPECT_EQ(session.currentRow(), 1);
    // After a comment or an end sync the time is 0.
    session.selectRow(2);
    rows.addEndSyncAfter();
    EXPECT_EQ(at(3).startMs, 0);
}

TEST_F(RowEditing, AddEndSyncAfterWithoutACurrentRowDoesNothing)
{
    load({});
    rows.addEndSyncAfter();
    EXPECT_EQ(model.GetCount(), 0);
    EXPECT_FALSE(document.modified);
}

TEST_F(RowEditing, AddEndSyncBeforeInsertsAnEndSyncAtTimeZero)
{
    load({{1000, "A"}});
    rows.addEndSyncBefore();
    EXPECT_EQ(texts(), (std::vector<std::string>{"&nbsp;", "A"}));
    EXPECT_TRUE(at(0).isEndSync);
    EXPECT_EQ(session.currentRow(), 0);
}

TEST_F(RowEditing, DeleteWithDeleteEndTooRemovesTheEndSyncAndOneUndoRestoresBothInOrder)
{
    settings.DeleteEndToo = true;
    load({{1000, "A"}, {2000, "B"}, {2500, "&nbsp;"}, {3000, "C"}});
    session.selectRow(1);
    rows.deleteCaption();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_EQ(listener.events, std::vector<std::string>{"remove 1 2"});
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "&nbsp;", "C"}));
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(RowEditing, DeleteWithoutDeleteEndTooKeepsTheEndSync)
{
    load({{1000, "A"}, {1500, "&nbsp;"}});
    rows.deleteCaption();
    EXPECT_EQ(texts(), std::vector<std::string>{"&nbsp;"});
}

TEST_F(RowEditing, DeleteOfTheLastRowSelectsTheNewLastRow)
{
    load({{1000, "A"}, {2000, "B"}});
    session.selectRow(1);
    rows.deleteCaption();
    EXPECT_EQ(session.currentRow(), 0);
}

TEST_F(RowEditing, DeleteOfTheReplayedCaptionClearsTheReplayRange)
{
    load({{1000, "A"}, {2000, "B"}});
    languages.toggleReplay();
    ASSERT_TRUE(player.replayActive);
    rows.deleteCaption();
    EXPECT_FALSE(player.replayActive);
}

TEST_F(RowEditing, DeleteCheckedRemovesEveryCheckedRowInOneUndoStep)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}, {4000, "D"}});
    selection.toggleChecked(0);
    selection.toggleChecked(2);
    selection.toggleChecked(3);
    rows.deleteChecked();
    EXPECT_EQ(texts(), std::vector<std::string>{"B"});
    EXPECT_TRUE(document.modified);
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_FALSE(rows.canUndo());
    // The restored rows carry their marks again; a row added above moves them down, and a
    // check toggled since counts too.
    session.selectRow(0);
    rows.addCaptionBefore();
    selection.toggleChecked(3);  // C off
    selection.toggleChecked(2);  // B on
    rows.deleteChecked();
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[1], "C");
}

TEST_F(RowEditing, DeleteCheckedWithNothingCheckedShowsTheMessageAndStaysUnmodified)
{
    load({{1000, "A"}});
    rows.deleteChecked();
    EXPECT_EQ(messages(), std::vector<std::string>{"삭제할 자막을 선택해 주십시오."});
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(model.GetCount(), 1);
}

TEST_F(RowEditing, MoveDownOnTheLastRowDoesNothing)
{
    load({{1000, "A"}, {2000, "B"}});
    session.selectRow(1);
    rows.moveDown();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(rows.canUndo());
    session.selectRow(0);
    rows.moveUp();
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(RowEditing, MovingARowKeepsTheRangeMarksOnTheirRows)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    rows.moveDown();
    EXPECT_EQ(texts(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(times(), (std::vector<int>{2000, 1000, 3000}));
    EXPECT_TRUE(at(0).rangeStart);
    EXPECT_FALSE(at(1).rangeStart);
    EXPECT_EQ(session.currentRow(), 1);
    session.selectRow(2);
    rows.moveUp();
    EXPECT_EQ(texts(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_TRUE(at(2).rangeEnd);
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(session.currentRow(), 1);
}

TEST_F(RowEditing, SplitDividesTheTimeByLettersAndUndoesInOneStep)
{
    load({{1000, "A<br>BB"}, {1400, "&nbsp;"}});
    rows.splitContent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "BB", "&nbsp;"}));
    EXPECT_EQ(times(), (std::vector<int>{1000, 1100, 1400}));
    EXPECT_EQ(session.currentRow(), 1);
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A<br>BB", "&nbsp;"}));
    EXPECT_FALSE(rows.canUndo());
    rows.redo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "BB", "&nbsp;"}));
    EXPECT_FALSE(rows.canRedo());
}

TEST_F(RowEditing, SplitCountsLineBreaksAndTruncatesEachStep)
{
    // "A<BR>\r\nB<br>C" becomes A, "\r\nB", C: 6 letters (the CR shows as a space) over 600 ms.
    load({{0, "A<BR>\r\nB<br>C"}, {600, "X"}});
    rows.splitContent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "C", "X"}));
    EXPECT_EQ(times(), (std::vector<int>{0, 100, 300, 600}));
}

TEST_F(RowEditing, SplitOfACaptionWithABreakButOneLineLeftKeepsThatLineAsOneUndoStep)
{
    // The break is there, so the caption is split; its blank piece is skipped, and the one
    // piece left replaces the row at its own time.
    load({{1000, "A<br>\r\n"}, {1400, "&nbsp;"}});
    rows.splitContent();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "&nbsp;"}));
    EXPECT_EQ(times(), (std::vector<int>{1000, 1400}));
    EXPECT_EQ(session.currentRow(), 0);
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A<br>\r\n", "&nbsp;"}));
    EXPECT_FALSE(rows.canUndo());
    // Only breaks and blanks leave no piece at all: nothing to keep, so nothing changes.
    load({{1000, "<br><BR>"}, {1400, "B"}});
    rows.splitContent();
    EXPECT_EQ(texts(), (std::vector<std::string>{"<br><BR>", "B"}));
    EXPECT_EQ(messages(), std::vector<std::string>{"자막이 한 줄로 되어 있어 분리할 수 없습니다."});
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(RowEditing, SplitRefusesWithTheSystemMessages)
{
    load({{1000, "A<br>B"}, {900, "C"}, {2000, "#c"}, {3000, "one line"}, {4000, "&nbsp;"}});
    rows.splitContent();  // the next row starts earlier
    session.selectRow(2);
    rows.splitContent();
    session.selectRow(4);
    rows.splitContent();
    session.selectRow(3);
    rows.splitContent();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "종료 싱크나 다음 싱크의 싱크 값에 오류가 있습니다.",
                              "코멘트나 종료 싱크는 내용을 분리할 수 없습니다.",
                              "코멘트나 종료 싱크는 내용을 분리할 수 없습니다.",
                              "자막이 한 줄로 되어 있어 분리할 수 없습니다.",
                          }));
    EXPECT_FALSE(rows.canUndo());
    load({{1000, "A<br>B"}, {1500, "#c"}});
    rows.splitContent();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"종료 싱크나 다음 싱크가 없어 자막을 분리할 수 없습니다."});
    load({});
    rows.splitContent();
    EXPECT_EQ(messages(), std::vector<std::string>{"내용을 분리할 자막을 선택해 주십시오."});
}

TEST_F(RowEditing, JoinSkipsCommentsAndEndSyncsAndKeepsTheComments)
{
    load({{1000, "A"}, {0, "#note"}, {1500, "&nbsp;"}, {2000, "B"}, {3000, "C"}});
    rows.joinWithNext();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A<br>\r\nB", "note", "C"}));
    EXPECT_EQ(times(), (std::vector<int>{1000, 0, 3000}));
    EXPECT_TRUE(at(1).isComment);
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(panel.state().text, "A<br>\r\nB");
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "note", "&nbsp;", "B", "C"}));
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(RowEditing, JoinRefusesWithTheSystemMessages)
{
    load({{1000, "A"}, {1500, "&nbsp;"}});
    rows.joinWithNext();
    session.selectRow(1);
    rows.joinWithNext();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "해당 자막 아래에 합칠 자막이 없습니다.",
                              "코멘트나 종료 싱크를 아래 자막과 합칠 수 없습니다.",
                          }));
    load({});
    rows.joinWithNext();
    EXPECT_EQ(messages(), std::vector<std::string>{"아래 자막과 합칠 자막을 선택해 주십시오."});
}

TEST_F(RowEditing, ExportBookmarksAddsOneCaptionPerBookmarkInOrderAsOneUndoStep)
{
    load({{1000, "A"}, {9000, "B"}});
    player.bookmarks = {5000, 3000};
    ASSERT_TRUE(rows.canExportBookmarks());
    rows.exportBookmarksToSyncs();
    EXPECT_EQ(times(), (std::vector<int>{1000, 5000, 3000, 9000}));
    EXPECT_EQ(session.currentRow(), 2);
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 9000}));
}

TEST_F(UndoRedo, UndoAndRedoSelectTheRowTheyChanged)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    session.selectRow(1);
    rows.deleteCaption();  // one delete record after row 0
    session.selectRow(0);
    rows.undo();
    EXPECT_EQ(session.currentRow(), 1);  // the re-inserted row
    EXPECT_TRUE(document.modified);
    session.selectRow(2);
    rows.redo();
    EXPECT_EQ(session.currentRow(), 1);  // the row after the one before the deleted row
    session.selectRow(1);
    rows.addCaptionAfter();  // an insert after row 1
    session.selectRow(0);
    rows.undo();
    EXPECT_EQ(session.currentRow(), 1);
    session.selectRow(1);
    capture.setCurrentSyncTime(3500);  // the last row: the selection stays
    session.selectRow(0);
    rows.undo();
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_EQ(panel.state().start.value, 3000);  // reloaded into the panel
}

TEST_F(UndoRedo, UndoOfAnInsertAtTheHeadSelectsRowZero)
{
    load({{1000, "A"}});
    rows.addCaptionBefore();
    session.selectRow(1);
    rows.undo();
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(model.GetCount(), 1);
}

TEST_F(UndoRedo, AChangeAfterAnUndoDiscardsTheRedoTail)
{
    load({{1000, "A"}, {2000, "B"}});
    capture.setCurrentSyncTime(1100);
    rows.undo();
    ASSERT_TRUE(rows.canRedo());
    session.selectRow(1);
    capture.setCurrentSyncTime(2100);
    EXPECT_FALSE(rows.canRedo());
    rows.redo();  // does nothing
    EXPECT_EQ(times(), (std::vector<int>{1000, 2100}));
}

TEST_F(UndoRedo, AfterMoreThanAThousandChangesTheOldestIsGone)
{
    load({{0, "A"}});
    for (int i = 1; i <= 1001; ++i) capture.setCurrentSyncTime(i);
    EXPECT_EQ(model.journal().size(), 1000);
    int steps = 0;
    while (rows.canUndo()) {
        rows.undo();
        ++steps;
    }
    EXPECT_EQ(steps, 1000);
    EXPECT_EQ(times(), std::vector<int>{1});  // the first change stays
}

TEST_F(UndoRedo, UndoOfAShiftInAnotherLanguageLeavesTheCurrentOneAlone)
{
    load({{1000, "A"}, {2000, "B"}});
    // A second language with its own list in slot 1.
    model.AddLanguageClass(".ENCC");
    model.classNames[1] = "ENCC";
    model.slotOrder[1] = 1;
    model.listCount = 2;
    languages.languageInformationChanged();
    languages.selectLanguage(1);
    rows.addCaptionAfter();
    capture.setCurrentSyncTime(5000);
    selection.markRangeStart(0);
    selection.markRangeEnd(0);
    timing.shiftRange(300, false);
    EXPECT_EQ(times(), std::vector<int>{5300});
    languages.selectLanguage(0);
    session.selectRow(1);
    const std::size_t told = listener.events.size();
    rows.undo();
    EXPECT_EQ(listener.events.size(), told);  // nothing changed in the list shown
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000}));
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_EQ(model.GetCurrentSlot(), 0);
    EXPECT_EQ(model.slotList(1)[0].startMs, 5000);
}

TEST_F(UndoRedo, UndoRestoresModifiedContentAndRedoSwapsItBack)
{
    load({{1000, "A"}, {2000, "B"}});
    panel.setPanelText("changed");
    panel.registerPanel();
    ASSERT_EQ(at(0).text, "changed");
    rows.undo();
    EXPECT_EQ(at(0).text, "A");
    rows.redo();
    EXPECT_EQ(at(0).text, "changed");
    rows.undo();
    rows.undo();  // nothing more
    EXPECT_EQ(at(0).text, "A");
}

TEST_F(UndoRedo, TimingErrorsAreRecheckedAfterUndo)
{
    settings.DisplayErrorSync = true;
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    session.selectRow(1);
    capture.setCurrentSyncTime(500);
    EXPECT_TRUE(at(0).syncError);
    EXPECT_GT(listener.marks, 0);
    rows.undo();
    EXPECT_FALSE(at(0).syncError);
    EXPECT_FALSE(at(1).syncError);
}

}  // namespace
}  // namespace verbanta::test
