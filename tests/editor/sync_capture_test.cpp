#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "support/cp949.h"

namespace verbanta::test {
namespace {

using SyncCapture = EditorTest;

TEST_F(SyncCapture, SingleSyncTimesTheEndSyncAndMovesPastIt)
{
    settings.InsertEndAuto = true;
    settings.OneLetterSync = 100;
    load({{0, "abc"}, {0, "&nbsp;"}, {0, "next"}});
    capture.setCurrentSyncTime(5000);
    EXPECT_EQ(times(), (std::vector<int>{5000, 5300, 0}));
    EXPECT_EQ(session.currentRow(), 2);
    EXPECT_TRUE(document.modified);
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(SyncCapture, SingleSyncWithoutMoveToNextStaysAndWithoutARowDoesNothing)
{
    settings.MoveToNextSync = false;
    load({{0, "a"}, {0, "b"}});
    capture.setCurrentSyncTime(700);
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_EQ(times(), (std::vector<int>{700, 0}));
    load({});
    capture.setCurrentSyncTime(700);
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(SyncCapture, CapturesInsertAtTheGivenTimeAndPutThePlaybackCursorThere)
{
    load({{1000, "A"}});
    capture.captureAt(CaptureCommand::StartSync, 2000);
    EXPECT_EQ(model.GetCursorIndex(), 1);
    capture.captureAt(CaptureCommand::EndSync, 2500);
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 2500}));
    EXPECT_TRUE(at(2).isEndSync);
    EXPECT_EQ(session.currentRow(), 2);
    EXPECT_EQ(model.GetCursorIndex(), 2);
}

TEST_F(SyncCapture, ACaptureNearAShotChangeLandsOnItInTheSameUndoStep)
{
    settings.InsertEndAuto = true;
    settings.OneLetterSync = 100;
    load({{0, "abc"}, {0, "&nbsp;"}, {0, "next"}});
    capture.setShotChanges({1000, 5000, 5200});
    // 4870 is 130 ms before a shot change: the start and the end sync timed from it move.
    capture.captureAt(CaptureCommand::SingleSync, 4870);
    EXPECT_EQ(times(), (std::vector<int>{5000, 5300, 0}));
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(rows.canUndo());
    // The nearer of two; a tie goes to the later; 151 ms away stays; end syncs snap too.
    EXPECT_EQ(capture.snappedToShot(5120), 5200);
    EXPECT_EQ(capture.snappedToShot(5100), 5200);
    EXPECT_EQ(capture.snappedToShot(1151), 1151);
    EXPECT_EQ(capture.snappedToShot(849), 849);
    EXPECT_EQ(capture.snappedToShot(850), 1000);
    session.selectRow(2);
    capture.captureAt(CaptureCommand::EndSync, 1140);
    EXPECT_EQ(at(3).startMs, 1000);
    // The option's distance, and the option off.
    settings.ShotSnapMs = 300;
    EXPECT_EQ(capture.snappedToShot(1300), 1000);
    settings.SnapCaptureToShot = false;
    EXPECT_EQ(capture.snappedToShot(1010), 1010);
    capture.setShotChanges({});
    settings.SnapCaptureToShot = true;
    EXPECT_EQ(capture.snappedToShot(1010), 1010);
}

TEST_F(SyncCapture, SelectingByTimePicksTheCaptionOnScreen)
{
    load({{1000, "a"}, {2000, "b"}, {3000, "c"}});
    EXPECT_TRUE(capture.selectRowBeforeTime(2500));
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_TRUE(capture.selectRowBeforeTime(500));  // before the first caption: the top
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_FALSE(capture.selectRowBeforeTime(5000));
    EXPECT_EQ(session.currentRow(), 0);
    capture.selectAndScrollToTop(2);
    EXPECT_EQ(listener.lastHint, ScrollHint::TopIfHidden);
    EXPECT_EQ(capture.currentRowTime(), 3000);
    EXPECT_EQ(capture.selectNextRowTime(), -1);
    EXPECT_EQ(capture.selectPrevRowTime(), 2000);
    EXPECT_EQ(session.currentRow(), 1);
    EXPECT_EQ(capture.selectPrevRowTime(), 1000);
    EXPECT_EQ(capture.selectPrevRowTime(), -1);
    load({});
    EXPECT_EQ(capture.currentRowTime(), -1);
    EXPECT_EQ(capture.selectNextRowTime(), -1);
}

}  // namespace
}  // namespace verbanta::test
