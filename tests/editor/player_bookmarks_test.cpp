#include <gtest/gtest.h>

#include "editor/player_bookmarks.h"

namespace verbanta {
namespace {

TEST(VideoBookmarks, SetTwiceAtOnePlaceSetsThenRemoves)
{
    VideoBookmarks b;
    ASSERT_FALSE(b.HasBookmark(5000));
    EXPECT_TRUE(b.AddBookmark(5000));
    EXPECT_TRUE(b.HasBookmark(5000));
    EXPECT_TRUE(b.RemoveBookmark(5000));
    EXPECT_FALSE(b.HasBookmark(5000));
    EXPECT_EQ(b.BookmarkCount(), 0);
    EXPECT_FALSE(b.RemoveBookmark(5000));
}

TEST(VideoBookmarks, PreviousAndNextFollowTheOrderOfAdding)
{
    VideoBookmarks b;
    b.AddBookmark(30000);
    b.AddBookmark(10000);
    b.AddBookmark(20000);
    // From 25 s: previous is the last one before 25 s in list order, next the first after.
    EXPECT_EQ(b.PrevBookmark(25000), 20000);
    EXPECT_EQ(b.NextBookmark(25000), 30000);
    EXPECT_EQ(b.PrevBookmark(10000), -1);
    EXPECT_EQ(b.NextBookmark(30000), -1);
    EXPECT_EQ(b.NextBookmark(5000), 30000);
}

TEST(VideoBookmarks, RemovalTakesTheLastEqualSlotAndClosesTheGap)
{
    VideoBookmarks b;
    for (int ms : {100, 200, 100, 300})
        b.AddBookmark(ms);
    ASSERT_TRUE(b.RemoveBookmark(100));
    EXPECT_EQ(b.BookmarkCount(), 3);
    EXPECT_EQ(b.BookmarkAt(0), 100);
    EXPECT_EQ(b.BookmarkAt(1), 200);
    EXPECT_EQ(b.BookmarkAt(2), 300);
    EXPECT_EQ(b.BookmarkAt(3), -1);
}

TEST(VideoBookmarks, TheHundredAndFirstAndNegativeTimesAreRefused)
{
    VideoBookmarks b;
    EXPECT_FALSE(b.AddBookmark(-1));
    for (int i = 0; i < VideoBookmarks::kMaxBookmarks; ++i)
        ASSERT_TRUE(b.AddBookmark(i * 10));
    EXPECT_FALSE(b.AddBookmark(999999));
    EXPECT_EQ(b.BookmarkCount(), 100);
    EXPECT_EQ(b.BookmarkAt(99), 990);
    EXPECT_EQ(b.BookmarkAt(100), -1);
    EXPECT_EQ(b.BookmarkAt(-1), -1);
    b.ClearBookmarks();
    EXPECT_EQ(b.BookmarkCount(), 0);
    EXPECT_EQ(b.BookmarkAt(0), -1);
    EXPECT_TRUE(b.AddBookmark(7));
}

TEST(VideoBookmarks, RangeMarksStayWithinTheLength)
{
    VideoBookmarks b;
    b.SetRangeStart(50000);  // no length yet: kept as given
    EXPECT_EQ(b.rangeStart(), 50000);
    b.SetLength(40000);
    EXPECT_EQ(b.rangeStart(), 40000);
    b.SetRangeEnd(45000);
    EXPECT_EQ(b.rangeEnd(), 40000);
    b.SetRangeEnd(-1);
    EXPECT_EQ(b.rangeEnd(), -1);
    b.AddBookmark(1000);
    b.ResetBar();
    EXPECT_EQ(b.rangeStart(), -1);
    EXPECT_EQ(b.GetLength(), 0);
    EXPECT_EQ(b.BookmarkCount(), 0);
}

TEST(VideoBookmarks, BarPositionsScaleWithTheLengthAndVanishWithoutOne)
{
    VideoBookmarks b;
    EXPECT_EQ(b.markX(1000, 200), -1);
    EXPECT_EQ(b.timeAtX(100, 200), 0);
    b.SetLength(7'200'000);  // two hours on a wide bar must not overflow
    EXPECT_EQ(b.markX(3'600'000, 4000), 2000);
    EXPECT_EQ(b.timeAtX(2000, 4000), 3'600'000);
    EXPECT_EQ(b.timeAtX(1, 3), 2'400'000);
}

}  // namespace
}  // namespace verbanta
