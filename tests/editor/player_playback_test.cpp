#include <gtest/gtest.h>

#include <limits>

#include "editor/editor_fakes.h"
#include "editor/player_playback.h"

namespace verbanta::test {
namespace {

class PlayerPlayback : public EditorTest {
protected:
    std::string page(int row) const { return model.BuildPreviewHtml(at(row)); }
    PlaybackTick tickAt(std::int32_t t, bool follow = false)
    {
        return PlaybackFollower::tick(model, t, follow, false, 0, 0);
    }
};

TEST(PlayerTime, SecondsBecomeMillisecondsAsThePlayerRounds)
{
    EXPECT_EQ(msFromSeconds(0.0), 0);
    EXPECT_EQ(msFromSeconds(1.2345), 1234);
    EXPECT_EQ(msFromSeconds(12.36), 12360);  // 12359.999... is saved by the tenth added
    EXPECT_EQ(msFromSeconds(0.0999), 100);   // 99.9 ms and the tenth make 100
    EXPECT_EQ(msFromSeconds(0.0998), 99);
    EXPECT_EQ(msFromSeconds(-0.5), -499);  // toward zero
    EXPECT_EQ(msFromSeconds(1e12), INT32_MAX);
    EXPECT_EQ(msFromSeconds(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_DOUBLE_EQ(secondsFromMs(61000), 61.0);
}

TEST(PlayerTime, RewindStopsAtZeroAndFastForwardAtTheSelectionEnd)
{
    EXPECT_DOUBLE_EQ(rewindTarget(3.0, 5000), 0.0);
    EXPECT_DOUBLE_EQ(rewindTarget(8.5, 5000), 3.5);
    EXPECT_DOUBLE_EQ(fastForwardTarget(37.0, 5000, 40.0), 40.0);
    EXPECT_DOUBLE_EQ(fastForwardTarget(10.0, 5000, 40.0), 15.0);
}

TEST(PlayerTime, StepsStayWithinTheClip)
{
    EXPECT_DOUBLE_EQ(stepTarget(0.02, -0.04, 40.0), 0.0);
    EXPECT_DOUBLE_EQ(stepTarget(39.5, 1.0, 40.0), 40.0);
    EXPECT_DOUBLE_EQ(stepTarget(10.0, -0.1, 40.0), 9.9);
    EXPECT_DOUBLE_EQ(stepTarget(50.0, 1.0, 0.0), 51.0);  // no known duration: no end
}

TEST(PlayerTime, SpeedStepsStopAtTheEndsAndSnapBetweenSteps)
{
    EXPECT_EQ(slowerSpeed(100), 75);
    EXPECT_EQ(slowerSpeed(50), 25);
    EXPECT_EQ(slowerSpeed(25), 25);
    EXPECT_EQ(fasterSpeed(150), 200);
    EXPECT_EQ(fasterSpeed(200), 200);
    EXPECT_EQ(fasterSpeed(110), 125);  // between steps: the next one up
    EXPECT_EQ(slowerSpeed(110), 100);
    EXPECT_EQ(speedText(25), "0.25x");
    EXPECT_EQ(speedText(50), "0.5x");
    EXPECT_EQ(speedText(100), "1x");
    EXPECT_EQ(speedText(125), "1.25x");
    EXPECT_EQ(speedText(200), "2x");
}

TEST(PlayerTime, SeeksAreRefusedWithoutMediaBeforeZeroAndPastAKnownDuration)
{
    EXPECT_FALSE(seekAllowed(false, 1000, true, 40.0));
    EXPECT_FALSE(seekAllowed(true, -1, true, 40.0));
    EXPECT_FALSE(seekAllowed(true, 40001, true, 40.0));
    EXPECT_TRUE(seekAllowed(true, 40000, true, 40.0));
    EXPECT_TRUE(seekAllowed(true, 90000, false, 0.0));  // a live stream has no duration
}

TEST_F(PlayerPlayback, ACaptionIsShownOnTheFirstTickAtOrAfterItsStart)
{
    load({{1000, "A"}, {3000, "B"}});
    model.SeekCursor(0);
    EXPECT_FALSE(tickAt(900).showCaption);
    const PlaybackTick t = tickAt(1000);
    EXPECT_TRUE(t.showCaption);
    EXPECT_EQ(t.html, page(0));
    EXPECT_FALSE(tickAt(1100).showCaption);  // shown once, not on every tick
    EXPECT_EQ(tickAt(3050).html, page(1));
}

TEST_F(PlayerPlayback, OfTwoCaptionsDueInOneTickOnlyTheSecondIsShownOnTheNextTick)
{
    load({{1000, "A"}, {1050, "B"}, {5000, "C"}});
    model.SeekCursor(0);
    EXPECT_FALSE(tickAt(1100).showCaption);
    const PlaybackTick next = tickAt(1200);
    EXPECT_TRUE(next.showCaption);
    EXPECT_EQ(next.html, page(1));
}

TEST_F(PlayerPlayback, ACommentUnderTheCursorIsSkippedUnshown)
{
    load({{1000, "A"}, {2000, "#note"}, {3000, "B"}});
    model.SeekCursor(0);
    tickAt(1000);
    ASSERT_EQ(model.GetCursorIndex(), 1);
    EXPECT_FALSE(tickAt(3000).showCaption);  // the comment only moves the cursor
    EXPECT_EQ(model.GetCursorIndex(), 2);
    EXPECT_EQ(tickAt(3000).html, page(2));
}

TEST_F(PlayerPlayback, TheFollowingListSelectsTheShownRowIncludingTheLast)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    model.SeekCursor(0);
    EXPECT_EQ(tickAt(1000, true).selectRow, 0);
    EXPECT_EQ(tickAt(2000, false).selectRow, -1);
    const PlaybackTick last = tickAt(3000, true);
    EXPECT_TRUE(last.showCaption);
    EXPECT_EQ(last.selectRow, 2);  // the cursor has passed the end
    EXPECT_FALSE(model.HasCursor());
    EXPECT_FALSE(tickAt(4000, true).showCaption);
}

TEST_F(PlayerPlayback, ThePositionLabelIsRefreshedEveryThirdTick)
{
    load({{1000, "A"}});
    // The count is shared by every player, so the first refresh may come at any of three.
    std::vector<int> refreshed;
    for (int i = 0; i < 9; ++i)
        if (tickAt(0).showPosition)
            refreshed.push_back(i);
    ASSERT_EQ(refreshed.size(), 3u);
    EXPECT_EQ(refreshed[1] - refreshed[0], 3);
    EXPECT_EQ(refreshed[2] - refreshed[1], 3);
}

TEST_F(PlayerPlayback, LeavingTheReplayRangeAsksForItsStart)
{
    load({{1000, "A"}});
    EXPECT_TRUE(PlaybackFollower::tick(model, 20000, false, true, 10000, 12000).backToReplayStart);
    EXPECT_TRUE(PlaybackFollower::tick(model, 9999, false, true, 10000, 12000).backToReplayStart);
    EXPECT_FALSE(PlaybackFollower::tick(model, 12000, false, true, 10000, 12000).backToReplayStart);
    EXPECT_FALSE(
        PlaybackFollower::tick(model, 20000, false, false, 10000, 12000).backToReplayStart);
}

TEST_F(PlayerPlayback, ASeekShowsTheCaptionOnScreenAtOnceOrTheBlankPage)
{
    load({{1000, "A"}, {3000, "B"}, {4000, "&nbsp;"}, {6000, "#note"}, {7000, "C"}});
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 500), kBlankCaptionPage);
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 1500), page(0));
    EXPECT_EQ(model.GetCursorIndex(), 1);
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 3500), page(1));
    // A comment is never under the cursor, and a comment before it shows nothing.
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 6500), kBlankCaptionPage);
    EXPECT_EQ(model.GetCursorIndex(), 4);
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 9000), page(4));
    EXPECT_FALSE(model.HasCursor());
}

TEST_F(PlayerPlayback, AStepOntoTheFrameWhereACaptionStartsShowsIt)
{
    load({{1000, "A"}, {3000, "B"}});
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 3000), page(0));  // a seek: still due
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 3000, true), page(1));
    EXPECT_FALSE(model.HasCursor());  // the caption shown is not shown again by the next tick
    EXPECT_EQ(PlaybackFollower::seekCaption(model, 2999, true), page(0));
}

TEST(PlayerSeekOrigin, APositionChangeSelectsTheCaptionOnlyWhenTheListLeads)
{
    SeekOrigin o;
    EXPECT_EQ(o.positionChanged(true, true, false, 5), 4);
    EXPECT_EQ(o.positionChanged(true, true, false, 0), 0);
    EXPECT_EQ(o.positionChanged(false, true, false, 5), -1);
    EXPECT_EQ(o.positionChanged(true, false, false, 5), -1);
    EXPECT_EQ(o.positionChanged(true, true, true, 5), -1);
    EXPECT_EQ(o.positionChanged(true, true, false, -1), -1);
}

TEST(PlayerSeekOrigin, AClickSeekAndASyncCommandSeekDoNotMoveTheSelection)
{
    SeekOrigin o;
    o.fromList = true;
    EXPECT_EQ(o.positionChanged(true, true, false, 5), -1);
    EXPECT_FALSE(o.fromList);
    o.fromSyncCommand = true;
    o.fromList = true;
    // The list click wins and clears itself; the command's flag waits for its own seek.
    EXPECT_EQ(o.positionChanged(true, true, false, 5), -1);
    EXPECT_TRUE(o.fromSyncCommand);
    EXPECT_EQ(o.positionChanged(true, true, false, 5), -1);
    EXPECT_FALSE(o.fromSyncCommand);
    EXPECT_EQ(o.positionChanged(true, true, false, 5), 4);
}

}  // namespace
}  // namespace verbanta::test
