#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using ListSelection = EditorTest;

TEST_F(ListSelection, StripClicksMoveTheRangeMarksOrAskInsideTheRange)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}});
    selection.markRangeEnd(2);
    EXPECT_EQ(session.rangeEndRow(), 2);
    EXPECT_FALSE(at(4).rangeEnd);
    EXPECT_EQ(player.rangeEndMs, 2);
    EXPECT_EQ(selection.stripClicked(4), StripClick::MarkedEnd);
    EXPECT_EQ(session.rangeEndRow(), 4);
    EXPECT_FALSE(at(2).rangeEnd);
    EXPECT_EQ(selection.stripClicked(2), StripClick::AskStartOrEnd);
    EXPECT_EQ(selection.stripClicked(4), StripClick::Nothing);  // already carries a mark
    selection.markRangeStart(2);
    EXPECT_EQ(session.rangeStartRow(), 2);
    EXPECT_FALSE(at(0).rangeStart);
    EXPECT_EQ(selection.stripClicked(1), StripClick::MarkedStart);
    EXPECT_EQ(session.rangeStartRow(), 1);
    EXPECT_EQ(selection.stripClicked(9), StripClick::Nothing);
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(ListSelection, GoToRangeStartAndEndSelectTheMarkedRows)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}});
    selection.goToRangeEnd();
    EXPECT_EQ(session.currentRow(), 2);
    selection.goToRangeStart();
    EXPECT_EQ(session.currentRow(), 0);
}

TEST_F(ListSelection, KeyboardNavigationStopsAtTheEnds)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}});
    selection.selectPrevious();
    EXPECT_EQ(session.currentRow(), 0);
    selection.setRowsPerPage(3);
    selection.pageDown();
    EXPECT_EQ(session.currentRow(), 3);
    selection.pageDown();
    EXPECT_EQ(session.currentRow(), 4);
    selection.selectNext();
    EXPECT_EQ(session.currentRow(), 4);
    selection.pageUp();
    EXPECT_EQ(session.currentRow(), 1);
    selection.pageUp();
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(panel.state().text, "a");
}

TEST_F(ListSelection, CheckMarksFollowClicksDragsAndTheMenuCommandsWithoutUndo)
{
    load({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}});
    const auto checked = [&] {
        std::vector<int> out;
        for (int i = 0; i < model.GetCount(); ++i) out.push_back(at(i).checked);
        return out;
    };
    session.selectRow(1);
    selection.shiftClickCheck(3);
    EXPECT_EQ(checked(), (std::vector<int>{0, 1, 1, 1, 0}));
    selection.shiftClickCheck(1);  // the selected row itself toggles
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 1, 1, 0}));
    selection.beginCheckDrag(0);
    selection.dragCheckOver(2);
    selection.endCheckDrag();
    selection.dragCheckOver(4);  // no drag under way
    EXPECT_EQ(checked(), (std::vector<int>{1, 1, 0, 1, 0}));
    selection.invertChecks();
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 1, 0, 1}));
    selection.checkAll();
    EXPECT_EQ(checked(), (std::vector<int>{1, 1, 1, 1, 1}));
    selection.clearChecks();
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_FALSE(rows.canUndo());
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(listener.events.back(), "change 0 4");
}

TEST_F(ListSelection, ClicksSeekThePlayerOrFocusTheTextOnlyOnRows)
{
    load({{1500, "a"}});
    player.mediaOpen = true;
    EXPECT_TRUE(selection.seekPlayerToRow(0, true));
    EXPECT_FALSE(selection.seekPlayerToRow(3, true));
    EXPECT_EQ(player.seeks, std::vector<std::int32_t>{1500});
    listener.focus = FocusTarget::List;
    selection.rowDoubleClicked(-1);
    EXPECT_EQ(listener.focus, FocusTarget::List);
    selection.rowDoubleClicked(0);
    EXPECT_EQ(listener.focus, FocusTarget::TextField);
}

}  // namespace
}  // namespace verbanta::test
