#include <gtest/gtest.h>

#include <vector>

#include "model/sami_model.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

SyncEntry caption(const SamiModel& model, int ms)
{
    SyncEntry e;
    model.InitEntry(e);
    e.startMs = ms;
    e.text = "c" + std::to_string(ms);
    return e;
}

std::vector<int> times(const SamiModel& model, int slot)
{
    std::vector<int> out;
    model.slotList(slot).forEach([&](const SyncEntry& e) { out.push_back(e.startMs); });
    return out;
}

/// The records of the journal as (kind, prevRow or row, time of the entry).
std::vector<std::vector<int>> records(const SamiModel& model)
{
    std::vector<std::vector<int>> out;
    for (JournalPosition p = model.journal().firstPosition();
         p >= 0 && p <= model.journal().lastPosition(); ++p) {
        const UndoRecord* r = model.journal().at(p);
        out.push_back({r->kind, r->kind == UndoRecord::kModify ? r->row : r->prevRow,
                       r->entry.startMs, r->language});
    }
    return out;
}

class RowBatchTest : public ::testing::Test {
protected:
    RowBatchTest()
    {
        for (int i = 0; i < 10; ++i) {
            one.AddTail(caption(one, i * 100), false);
            two.AddTail(caption(two, i * 100), false);
        }
    }

    AppSettings settings;
    SamiModel one{settings};
    SamiModel two{settings};
};

TEST_F(RowBatchTest, EditsAndRecordsMatchTheOneByOneOperations)
{
    // One by one: remove rows 2 and 2 again, insert at 5 and 0, modify row 3.
    one.Remove(one.FindIndex(2), false, true);
    one.Remove(one.FindIndex(2), false, true);
    one.InsertBefore(one.FindIndex(5), caption(one, 555), true);
    one.InsertBefore(one.FindIndex(0), caption(one, 5), true);
    SyncEntry changed = one.GetAt(one.FindIndex(3));
    changed.startMs = 333;
    one.SetAt(one.FindIndex(3), changed, true);
    {
        SamiModel::RowBatch batch(two, 0);
        batch.removeAt(2, true);
        batch.removeAt(2, true);
        batch.insertAt(5, caption(two, 555), true);
        batch.insertAt(0, caption(two, 5), true);
        SyncEntry e = batch[3];
        e.startMs = 333;
        batch.setAt(3, e, true);
    }
    EXPECT_EQ(times(two, 0), times(one, 0));
    EXPECT_EQ(records(two), records(one));
}

TEST_F(RowBatchTest, HandlesAndRowNumbersAreRightAfterTheBatch)
{
    Position last = two.GetTailPosition();
    Position third = two.FindIndex(3);
    {
        SamiModel::RowBatch batch(two, 0);
        for (int i = 0; i < 3; ++i)
            batch.insertAt(0, caption(two, -i), false);
        batch.removeAt(8, false);
        EXPECT_EQ(batch.count(), 12);
        EXPECT_EQ(batch.at(12), nullptr);
    }
    EXPECT_EQ(two.GetCount(), 12);
    EXPECT_EQ(two.IndexOf(third), 6);
    EXPECT_EQ(two.IndexOf(last), 11);
    for (int i = 0; i < two.GetCount(); ++i)
        EXPECT_EQ(two.list().indexOf(two.FindIndex(i)), i);
}

TEST_F(RowBatchTest, RemovingTheCursorEntryMovesTheCursorBack)
{
    two.playCursor = two.FindIndex(4);
    {
        SamiModel::RowBatch batch(two, 0);
        batch.removeAt(4, false);
        batch.removeAt(3, false);
    }
    EXPECT_EQ(two.GetCursorEntry().startMs, 200);
    {
        SamiModel::RowBatch batch(two, 0);
        batch.removeAt(0, false);
        batch.removeAt(0, false);
        batch.removeAt(0, false);
    }
    EXPECT_FALSE(two.HasCursor());
}

TEST_F(RowBatchTest, RecordedBatchRechecksTheOrderOnceAtTheEnd)
{
    settings.DisplayErrorSync = true;
    {
        SamiModel::RowBatch batch(two, 0);
        batch.insertAt(5, caption(two, 50), true);
        EXPECT_EQ(batch[5].syncError, 0);  // not checked while the batch is open
    }
    EXPECT_EQ(two.GetAt(two.FindIndex(5)).syncError, 1);
}

TEST_F(RowBatchTest, AnotherSlotIsEditedWithoutTouchingTheCurrentList)
{
    {
        SamiModel::RowBatch batch(two, 3);
        batch.insertAt(0, caption(two, 7), true);
    }
    EXPECT_EQ(times(two, 3), std::vector<int>{7});
    EXPECT_EQ(two.GetCount(), 10);
    EXPECT_EQ(two.journal().at(two.journal().lastPosition())->language, 3);
}

TEST(SyncListBatch, LongOneWayWalksKeepTheOrder)
{
    SyncList list;
    SyncEntry e;
    for (int i = 0; i < 1000; ++i) {
        e.startMs = i;
        list.insertAt(i, e);
    }
    {
        SyncList::Batch batch(list);
        // Remove every even row walking down, then insert a marker after every row walking up.
        for (int row = 0; row < batch.count(); ++row)
            batch.removeAt(row);
        for (int row = batch.count(); row > 0; --row) {
            e.startMs = -1;
            batch.insertAt(row, e);
        }
    }
    ASSERT_EQ(list.count(), 1000);
    for (int i = 0; i < 1000; i += 2) {
        EXPECT_EQ(list[i].startMs, i + 1);
        EXPECT_EQ(list[i + 1].startMs, -1);
    }
}

TEST_F(RowBatchTest, TailHoldPutsAppendedRowsBeforeTheHeldOnes)
{
    Position held = two.FindIndex(4);
    {
        SyncList::TailHold hold(two.list(), 4);
        EXPECT_EQ(two.GetCount(), 4);
        two.AddTail(caption(two, 350), true);
        two.AddTail(caption(two, 360), true);
    }
    EXPECT_EQ(times(two, 0), (std::vector<int>{0, 100, 200, 300, 350, 360, 400, 500, 600, 700,
                                               800, 900}));
    EXPECT_EQ(two.IndexOf(held), 6);
    EXPECT_EQ(two.journal().at(two.journal().lastPosition())->prevRow, 4);
    for (int i = 0; i < two.GetCount(); ++i)
        EXPECT_EQ(two.list().indexOf(two.FindIndex(i)), i);
}

TEST_F(RowBatchTest, TailHoldKeepsStaleRowNumbersStaleWhenTheListRenumbersMeanwhile)
{
    // A head insertion leaves every later number one short; a parse during the hold then
    // renumbers only the rows left in the list.
    two.AddHead(caption(two, -100), false);
    Position last = two.GetTailPosition();
    Position held = two.FindIndex(9);  // its number says 8
    {
        SyncList::TailHold hold(two.list(), 9);
        Position appended = two.AddTail(caption(two, 750), false);
        two.AddTail(caption(two, 760), false);
        EXPECT_EQ(two.IndexOf(appended), 9);
    }
    EXPECT_EQ(two.IndexOf(held), 11);
    EXPECT_EQ(two.IndexOf(last), 12);
    two.Remove(held, false, false);
    EXPECT_EQ(times(two, 0), (std::vector<int>{-100, 0, 100, 200, 300, 400, 500, 600, 700, 750,
                                               760, 900}));
}

}  // namespace
}  // namespace verbanta
