#include <gtest/gtest.h>

#include <climits>

#include "editor/editor_fakes.h"

namespace verbanta::test {
namespace {

using TimingDrag = EditorTest;

TEST_F(TimingDrag, EachEdgeMovesItsSyncInOneUndoStepAndRefreshesLikeACommand)
{
    load({{1000, "A"}, {2000, "&nbsp;"}, {3000, "B"}, {4000, "&nbsp;"}});
    listener.focus = FocusTarget::TextField;
    EXPECT_TRUE(timingDrag.dragTiming(2, DragEdge::Start, 2600));
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 2600, 4000}));
    EXPECT_EQ(session.currentRow(), 2);
    EXPECT_EQ(panel.state().start.value, 2600);
    EXPECT_TRUE(document.modified);
    EXPECT_GT(player.resyncs, 0);
    EXPECT_EQ(listener.focus, FocusTarget::List);

    EXPECT_TRUE(timingDrag.dragTiming(0, DragEdge::End, 2200));
    EXPECT_EQ(times(), (std::vector<int>{1000, 2200, 2600, 4000}));
    // The middle moves both syncs, and one undo puts both back.
    EXPECT_TRUE(timingDrag.dragTiming(2, DragEdge::Whole, 2900));
    EXPECT_EQ(times(), (std::vector<int>{1000, 2200, 2900, 4300}));
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 2200, 2600, 4000}));
    rows.undo();
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 3000, 4000}));
    EXPECT_FALSE(rows.canUndo());
    rows.redo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 2600, 4000}));
}

TEST_F(TimingDrag, AnEndWhereTheNextCaptionEndedItBecomesAnEndSyncUndoneInOneStep)
{
    load({{1000, "A"}, {3000, "B"}});
    EXPECT_TRUE(timingDrag.dragTiming(0, DragEdge::End, 2500));
    EXPECT_EQ(times(), (std::vector<int>{1000, 2500, 3000}));
    EXPECT_TRUE(at(1).isEndSync);
    // The last caption has no end at all: its end drag makes one too.
    EXPECT_TRUE(timingDrag.dragTiming(2, DragEdge::End, 5000));
    EXPECT_EQ(times(), (std::vector<int>{1000, 2500, 3000, 5000}));
    EXPECT_TRUE(at(3).isEndSync);
    rows.undo();
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 3000}));
    // Moved earlier as a whole, it ends before the next caption with an end sync of its own;
    // later it cannot go, as its end would pass that caption.
    EXPECT_TRUE(timingDrag.dragTiming(0, DragEdge::Whole, 700));
    EXPECT_EQ(times(), (std::vector<int>{700, 2700, 3000}));
    rows.undo();
    EXPECT_FALSE(timingDrag.dragTiming(0, DragEdge::Whole, 1500));
    EXPECT_EQ(times(), (std::vector<int>{1000, 3000}));
}

TEST_F(TimingDrag, NoDragPassesANeighbourOrItsOwnOtherEdgeAndCommentsAreNoNeighbours)
{
    load({{1000, "A"},
          {2000, "&nbsp;"},
          {2500, "#note"},
          {3000, "B"},
          {4000, "&nbsp;"},
          {5000, "C"}});
    timingDrag.dragTiming(3, DragEdge::Start, 0);
    EXPECT_EQ(at(3).startMs, 2001);  // after A's end sync, not the comment
    timingDrag.dragTiming(3, DragEdge::Start, 9000);
    EXPECT_EQ(at(3).startMs, 3999);
    timingDrag.dragTiming(3, DragEdge::End, 9000);
    EXPECT_EQ(at(4).startMs, 4999);
    timingDrag.dragTiming(0, DragEdge::Whole, -500);
    EXPECT_EQ(times(), (std::vector<int>{0, 1000, 2500, 3999, 4999, 5000}));
    // Nothing to move: an end sync, a comment, a row outside, or the same time.
    EXPECT_FALSE(timingDrag.dragTiming(1, DragEdge::Start, 1500));
    EXPECT_FALSE(timingDrag.dragTiming(2, DragEdge::Start, 1500));
    EXPECT_FALSE(timingDrag.dragTiming(9, DragEdge::Start, 1500));
    EXPECT_FALSE(timingDrag.dragTiming(0, DragEdge::Start, 0));
}

TEST(CaptionRegions, EndAtTheEndSyncTheNextCaptionOrTheOpenEndAndSnapWithinReach)
{
    AppSettings settings;
    SamiModel model{settings};
    for (auto [ms, end] : {std::pair{1000, false}, {2000, true}, {3000, false}, {6000, false}}) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = ms;
        e.isEndSync = end;
        model.AddTail(e, false);
    }
    std::vector<CaptionRegion> regions;
    captionRegionsIn(model.list(), 2500, 7000, 8000, regions);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0], (CaptionRegion{2, -1, 1, 3, 3000, 6000}));
    EXPECT_EQ(regions[1], (CaptionRegion{3, -1, 2, -1, 6000, 8000}));
    EXPECT_TRUE(regions[1].open());
    captionRegionsIn(model.list(), 0, 1001, 8000, regions);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0].endRow, 1);

    const std::int32_t targets[] = {1000, 1040, 5000};
    EXPECT_EQ(snapTime(1030, targets, 50), 1040);
    EXPECT_EQ(snapTime(1100, targets, 50), 1100);
    EXPECT_EQ(snapTime(INT32_MAX, targets, INT32_MAX), 5000);
}

}  // namespace
}  // namespace verbanta::test
