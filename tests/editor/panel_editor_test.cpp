#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using PanelEditor = EditorTest;

TEST_F(PanelEditor, AnEmptyListShowsTheAddPanelWithEditAndMoveDisabled)
{
    load({});
    EXPECT_EQ(panel.state().mode, PanelMode::Add);
    EXPECT_FALSE(panel.state().editButton.enabled);
    EXPECT_FALSE(panel.state().moveButton.enabled);
    EXPECT_EQ(session.currentRow(), -1);
    panel.setPanelMode(PanelMode::Edit);
    EXPECT_EQ(panel.state().mode, PanelMode::Add);
}

TEST_F(PanelEditor, MoveEndTooMovesTheEndFieldOnlyWhenTheNextRowIsAnEndSync)
{
    settings.MoveEndToo = true;
    load({{1000, "A"}, {1500, "&nbsp;"}, {3000, "B"}, {4000, "C"}});
    EXPECT_TRUE(panel.state().end.enabled);
    panel.setStartField(1200);
    EXPECT_EQ(panel.state().end.value, 1700);
    panel.stepStartField(+1);
    EXPECT_EQ(panel.state().start.value, 1300);
    EXPECT_EQ(panel.state().end.value, 1800);
    session.selectRow(2);
    EXPECT_FALSE(panel.state().end.enabled);
    panel.setStartField(3500);
    EXPECT_EQ(panel.state().end.value, 0);
    panel.stepEndField(+1);  // the end field is disabled here
    EXPECT_EQ(panel.state().end.value, 0);
}

TEST_F(PanelEditor, MoveModeShowsOnlyTheOffsetAndTheRunButton)
{
    load({{1000, "A"}});
    panel.setPanelMode(PanelMode::Move);
    const PanelState& p = panel.state();
    EXPECT_FALSE(p.textEnabled);
    EXPECT_FALSE(p.end.visible);
    EXPECT_FALSE(p.commentButton.visible);
    EXPECT_FALSE(p.cancelButton.visible);
    EXPECT_EQ(p.registerButton.label, "실행");
    EXPECT_EQ(p.start.minimum, -100000000);
    EXPECT_TRUE(p.moveButton.checked);
    panel.setPanelMode(PanelMode::Edit);
    EXPECT_EQ(panel.state().registerButton.label, "등록");
    EXPECT_EQ(panel.state().text, "A");
    EXPECT_EQ(panel.state().start.minimum, 0);
}

TEST_F(PanelEditor, CancelClearsNewTextOrReloadsTheRowWithItsTextSelected)
{
    load({{1000, "Abc"}});
    panel.setPanelText("typed");
    panel.cancelPanel();
    EXPECT_EQ(panel.state().text, "Abc");
    EXPECT_EQ(panel.state().selectionEnd, 3);
    panel.setPanelMode(PanelMode::Add);
    panel.setPanelText("typed");
    panel.cancelPanel();
    EXPECT_EQ(panel.state().text, "");
    EXPECT_EQ(listener.focus, FocusTarget::TextField);
}

TEST_F(PanelEditor, PlayerPositionGoesIntoTheFieldsOnlyWithMediaOpen)
{
    load({{1000, "A"}, {1500, "&nbsp;"}});
    player.positionMs = 4321;
    panel.putPlayerPositionInStart();
    EXPECT_EQ(panel.state().start.value, 1000);
    player.mediaOpen = true;
    panel.putPlayerPositionInStart();
    panel.putPlayerPositionInEnd();
    EXPECT_EQ(panel.state().start.value, 4321);
    EXPECT_EQ(panel.state().end.value, 4321);
}

TEST_F(PanelEditor, RegisterInEditModeOnACommentChangesItsTextWithoutAnUndoStep)
{
    load({{0, "#old"}, {1000, "A"}});
    EXPECT_FALSE(panel.state().start.enabled);
    panel.setPanelText("new");
    panel.registerPanel();
    EXPECT_EQ(at(0).text, "new");
    EXPECT_TRUE(at(0).isComment);
    EXPECT_FALSE(rows.canUndo());
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(listener.events, std::vector<std::string>{"change 0 0"});
}

TEST_F(PanelEditor, RegisterInEditModeReplacesTheRowAndMovesTheEndSyncAsItsOwnStep)
{
    load({{1000, "A"}, {1500, "&nbsp;"}, {3000, "B"}});
    languages.toggleBookmark();
    panel.setPanelText("  changed ");
    panel.setStartField(1200);
    panel.setEndField(2000);
    panel.registerPanel();
    EXPECT_EQ(texts(), (std::vector<std::string>{"changed", "&nbsp;", "B"}));
    EXPECT_EQ(times(), (std::vector<int>{1200, 2000, 3000}));
    EXPECT_TRUE(at(0).bookmarked);  // the row keeps its marks
    EXPECT_TRUE(at(0).rangeStart);
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(listener.focus, FocusTarget::List);
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1200, 1500, 3000}));
    rows.undo();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "&nbsp;", "B"}));
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(PanelEditor, RegisterWithAnEmptyOrBlankTextShowsTheMessage)
{
    load({{1000, "A"}});
    panel.setPanelText(" \r\n ");
    panel.registerPanel();
    EXPECT_EQ(messages(), std::vector<std::string>{"자막 내용을 입력해 주십시오."});
    EXPECT_EQ(listener.focus, FocusTarget::TextField);
    EXPECT_EQ(texts(), std::vector<std::string>{"A"});
}

TEST_F(PanelEditor, RegisterInAddModeInsertsAfterTheCurrentRowAtTheStartField)
{
    load({{1000, "A"}, {3000, "B"}});
    panel.setPanelMode(PanelMode::Add);
    EXPECT_EQ(panel.state().start.value, 1000);
    EXPECT_FALSE(panel.state().end.enabled);
    EXPECT_TRUE(panel.state().commentButton.visible);
    panel.setPanelText("new");
    panel.setStartField(2000);
    panel.registerPanel();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "new", "B"}));
    EXPECT_EQ(at(1).startMs, 2000);
    EXPECT_EQ(session.currentRow(), 1);
}

TEST_F(PanelEditor, RegisterInMoveModeShiftsTheRangeAndRemembersTheOffset)
{
    load({{1000, "A"}, {2000, "B"}});
    panel.setPanelMode(PanelMode::Move);
    panel.setStartField(-500);
    panel.registerPanel();
    EXPECT_EQ(times(), (std::vector<int>{500, 1500}));
    EXPECT_EQ(timing.lastMoveOffset(), -500);
    panel.setPanelMode(PanelMode::Edit);
    panel.setPanelMode(PanelMode::Move);
    EXPECT_EQ(panel.state().start.value, -500);
}

TEST_F(PanelEditor, CommentInAddModeInsertsAfterTheCurrentRow)
{
    load({{1000, "A"}, {2000, "B"}});
    panel.setPanelMode(PanelMode::Add);
    panel.addComment();
    EXPECT_EQ(messages(), std::vector<std::string>{"코멘트 내용을 입력해 주십시오."});
    panel.setPanelText("note");
    panel.addComment();
    EXPECT_EQ(texts(), (std::vector<std::string>{"A", "note", "B"}));
    EXPECT_TRUE(at(1).isComment);
    EXPECT_EQ(session.currentRow(), 1);
}

}  // namespace
}  // namespace verbanta::test
