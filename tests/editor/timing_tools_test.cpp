#include <gtest/gtest.h>

#include "editor/editor_fakes.h"
#include "platform/messenger.h"

namespace verbanta::test {
namespace {

using TimingTools = EditorTest;

constexpr const char* kRangeMessage = "싱크를 이동시킬 범위의 시작과 끝 싱크를 선택해 주십시오.";

// ---- shifting ----------------------------------------------------------------------------

TEST_F(TimingTools, ShiftOfEndSyncsOnlyMovesOnlyTheEndSyncAndUndoMovesItBack)
{
    load({{1000, "A"}, {1500, "&nbsp;"}, {2000, "B"}});
    timing.applyShift(250, true);
    EXPECT_EQ(times(), (std::vector<int>{1000, 1750, 2000}));
    EXPECT_EQ(timing.lastMoveOffset(), 250);
    EXPECT_TRUE(document.modified);
    EXPECT_GT(player.resyncs, 0);
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 1500, 2000}));
    rows.redo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 1750, 2000}));
}

TEST_F(TimingTools, ShiftCoversOnlyTheMarkedRange)
{
    load({{0, "a"}, {1000, "b"}, {2000, "c"}, {3000, "d"}});
    selection.markRangeStart(1);
    selection.markRangeEnd(2);
    timing.shiftRange(-100, false);
    EXPECT_EQ(times(), (std::vector<int>{0, 900, 1900, 3000}));
    EXPECT_EQ(listener.events.back(), "change 1 2");
}

TEST_F(TimingTools, ShiftToTimeMovesTheRangeInOneUndoStep)
{
    load({{0, "a"},
          {1, "b"},
          {2, "c"},
          {60000, "d"},
          {61000, "e"},
          {62000, "f"},
          {63000, "g"},
          {64000, "h"},
          {70000, "i"}});
    selection.markRangeStart(3);
    selection.markRangeEnd(7);
    EXPECT_TRUE(timing.shiftRangeToTime(61000));
    EXPECT_EQ(times(), (std::vector<int>{0, 1, 2, 61000, 62000, 63000, 64000, 65000, 70000}));
    rows.undo();
    EXPECT_EQ(at(3).startMs, 60000);
    EXPECT_EQ(at(7).startMs, 64000);
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(TimingTools, ShiftWithoutARangeShowsTheMessageAndChangesNothing)
{
    load({{1000, "a"}});  // one row: a start mark and no end mark
    rows.addCaptionAfter();
    EXPECT_FALSE(timing.shiftRangeToTime(5000));
    EXPECT_FALSE(timing.shiftRange(10, false));
    EXPECT_EQ(messages(), (std::vector<std::string>{kRangeMessage, kRangeMessage}));
}

TEST_F(TimingTools, AnEndMarkAboveTheStartMarkStillNamesTheRowsBetween)
{
    load({{0, "a"}, {1000, "b"}, {2000, "c"}});
    model.list()[0].rangeStart = 0;
    model.list()[2].rangeEnd = 0;
    model.list()[2].rangeStart = 1;
    model.list()[0].rangeEnd = 1;
    rows.addCaptionAfter();
    rows.undo();
    timing.shiftRange(5, false);
    EXPECT_EQ(times(), (std::vector<int>{5, 1005, 2005}));
}

// ---- proportional fit and bookmarks ------------------------------------------------------

TEST_F(TimingTools, ProportionalFitStretchesTheRangeBetweenTheBookmarks)
{
    load({{1000, "a"}, {2000, "b"}, {3000, "c"}});
    player.bookmarks = {12000, 10000};
    timing.fitProportionally();
    EXPECT_EQ(times(), (std::vector<int>{10000, 11000, 12000}));
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 3000}));
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(TimingTools, ProportionalFitTruncatesAndSkipsComments)
{
    load({{0, "a"}, {0, "#note"}, {1000, "b"}, {3000, "c"}});
    player.bookmarks = {0, 1000};
    timing.fitProportionally();
    EXPECT_EQ(times(), (std::vector<int>{0, 0, 333, 1000}));
}

TEST_F(TimingTools, ProportionalFitRefusesWithoutTwoBookmarksOrWithoutSpan)
{
    load({{1000, "a"}, {2000, "b"}});
    player.bookmarks = {5000};
    timing.fitProportionally();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "자막 선택 범위의 시작과 끝에 해당하는 동영상\n위치에 북마크를 설정해 주십시오.",
              }));
    load({{1000, "a"}, {1000, "b"}});
    player.bookmarks = {5000, 6000};
    timing.fitProportionally();
    EXPECT_EQ(messages(), std::vector<std::string>{kRangeMessage});
    EXPECT_FALSE(rows.canUndo());
}

TEST_F(TimingTools, ProportionalFitSpansTheWholeRangeOfTimesWithoutOverflow)
{
    load({{-2000000000, "a"}, {0, "b"}, {2000000000, "c"}});
    player.bookmarks = {1000, 0};
    timing.fitProportionally();
    EXPECT_EQ(times(), (std::vector<int>{0, 500, 1000}));
}

TEST_F(TimingTools, SyncToBookmarksNeedsARangeAndBookmarks)
{
    load({{1000, "a"}, {2000, "b"}});
    timing.syncToBookmarks();  // no bookmark: nothing, silently
    EXPECT_FALSE(timing.canSyncToBookmarks());
    player.bookmarks = {4000, 9000};
    model.list()[1].rangeEnd = 0;
    rows.addCaptionAfter();
    rows.undo();
    clearRecords();
    timing.syncToBookmarks();
    EXPECT_EQ(messages(), std::vector<std::string>{kRangeMessage});
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000}));
    EXPECT_FALSE(document.modified);
}

TEST_F(TimingTools, SyncToOneBookmarkShiftsTheRangeOntoIt)
{
    load({{1000, "a"}, {2000, "b"}});
    player.bookmarks = {4000};
    ASSERT_TRUE(timing.canSyncToBookmarks());
    timing.syncToBookmarks();
    EXPECT_EQ(times(), (std::vector<int>{4000, 5000}));
}

TEST_F(TimingTools, SyncToBookmarksPullsTheNearestRowsAndStretchesBetween)
{
    // The video runs 10% slow from 2 s on: the user bookmarked where b and d really start.
    load({{1000, "a"}, {2000, "b"}, {3000, "c"}, {4000, "d"}, {5000, "e"}});
    player.bookmarks = {4200, 2100};
    timing.syncToBookmarks();
    EXPECT_EQ(times(), (std::vector<int>{1100, 2100, 3150, 4200, 5200}));
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000, 3000, 4000, 5000}));
}

// ---- end syncs ---------------------------------------------------------------------------

TEST_F(TimingTools, EndSyncResetReportsItsCountAndSelectsRowZero)
{
    load({{1000, "a"}, {5000, "b"}});
    session.selectRow(1);
    EndSyncReset options;
    options.durationMs = 2000;
    EXPECT_EQ(timing.resetEndSyncs(options), 2);
    EXPECT_EQ(messages(), std::vector<std::string>{"2개의 종료 싱크를 조정하였습니다."});
    EXPECT_EQ(times(), (std::vector<int>{1000, 3000, 5000, 7000}));
    EXPECT_EQ(session.currentRow(), 0);
    EXPECT_TRUE(document.modified);
    rows.undo();
    EXPECT_EQ(times(), (std::vector<int>{1000, 5000}));
}

TEST_F(TimingTools, EndSyncResetWithoutChangesOrWithoutRangeSaysSo)
{
    load({{1000, "a"}, {1500, "&nbsp;"}, {2500, "b"}});
    EndSyncReset options;
    options.durationMs = 2000;
    options.onlyIfLonger = true;
    EXPECT_EQ(timing.resetEndSyncs(options), 0);
    model.list()[2].rangeEnd = 0;
    options.rangeOnly = true;
    options.byLength = true;
    EXPECT_EQ(timing.resetEndSyncs(options), -1);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "조정된 종료 싱크가 없습니다.",
                              "종료 싱크를 재설정할 범위를 지정해 주십시오.",
                          }));
    EXPECT_FALSE(document.modified);
}

TEST_F(TimingTools, InvalidEndSyncsAreRemovedAfterTheQuestion)
{
    load({{1000, "a"}, {1000, "&nbsp;"}, {2000, "b"}});
    timing.removeInvalidEndSyncs();  // answered No
    EXPECT_EQ(model.GetCount(), 3);
    messenger.answers = {Answer::Yes, Answer::Yes};
    timing.removeInvalidEndSyncs();
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "b"}));
    timing.removeInvalidEndSyncs();
    EXPECT_EQ(messenger.questions.size(), 3u);
    EXPECT_EQ(messenger.questions[0],
              "다음 시작 싱크값 보다 큰 무효한 종료 싱크를 전부 삭제합니다\n계속하시겠습니까?");
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "1개의 무효한 종료 싱크를 삭제하였습니다.",
                              "본 자막에는 무효한 종료 싱크가 없습니다.",
                          }));
}

// ---- timing-error search -----------------------------------------------------------------

TEST_F(TimingTools, ErrorSearchListsTheFirstOfTwoSwappedCaptionsOnly)
{
    load({{2000, "<b>x</b>"}, {1000, "y"}, {3000, "z"}});
    const std::vector<FoundRow> found = timing.findTimingErrors();
    EXPECT_EQ(found, (std::vector<FoundRow>{FoundRow{0, 2000, "x"}}));
    EXPECT_TRUE(selection.goToFoundRow(found[0].row));
    EXPECT_FALSE(selection.goToFoundRow(-1));
    EXPECT_EQ(messages(), std::vector<std::string>{"이동하고자 하는 자막을 선택해 주십시오"});
    EXPECT_FALSE(at(0).syncError);  // the search leaves the marks alone
}

TEST_F(TimingTools, ErrorSearchSkipsCommentsAndReportsAnOrderedList)
{
    load({{-5, "neg"}, {0, "#c"}, {10, "a"}, {10, "b"}});
    const std::vector<FoundRow> found = timing.findTimingErrors();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].row, 0);
    EXPECT_EQ(found[1].row, 3);
    load({{0, "a"}, {0, "#c"}, {10, "b"}});
    EXPECT_TRUE(timing.findTimingErrors().empty());
    EXPECT_EQ(messages(), std::vector<std::string>{"본 자막에는 싱크 시간 오류가 없습니다."});
}

}  // namespace
}  // namespace verbanta::test
