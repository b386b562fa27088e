#include "model/undo_journal.h"

#include <gtest/gtest.h>

#include <vector>

namespace verbanta {
namespace {

UndoRecord record(int row)
{
    UndoRecord r;
    r.kind = UndoRecord::kModify;
    r.row = row;
    return r;
}

/// Pushes a whole step of n records, grouped when it has more than one.
JournalPosition pushStep(UndoJournal& journal, int firstRow, int n)
{
    UndoActionScope action(journal);
    JournalPosition first = -1;
    JournalPosition last = -1;
    for (int i = 0; i < n; ++i) {
        last = journal.PushUndo(record(firstRow + i));
        if (first < 0)
            first = last;
    }
    if (n > 1)
        journal.GroupUndo(first, last);
    return first;
}

/// Walks back over every record and checks each group is complete.
void expectOnlyWholeSteps(UndoJournal& journal)
{
    bool inGroup = false;
    for (JournalPosition p = journal.firstPosition(); p >= 0 && p <= journal.lastPosition(); ++p) {
        const UndoRecord* r = journal.at(p);
        if (!r)
            continue;
        if (r->groupBegin) {
            EXPECT_FALSE(inGroup) << "group begins inside another at " << p;
            inGroup = !r->groupEnd;
        } else if (r->groupEnd) {
            EXPECT_TRUE(inGroup) << "group end without its beginning at " << p;
            inGroup = false;
        }
    }
    EXPECT_FALSE(inGroup) << "the newest group is not closed";
}

TEST(UndoJournal, StepBackAndForwardWalkTheRecords)
{
    UndoJournal journal;
    EXPECT_FALSE(journal.CanUndo());
    EXPECT_FALSE(journal.CanRedo());
    EXPECT_EQ(journal.StepBack(), nullptr);
    journal.PushUndo(record(1));
    journal.PushUndo(record(2));
    EXPECT_TRUE(journal.CanUndo());
    EXPECT_FALSE(journal.CanRedo());
    EXPECT_EQ(journal.StepBack()->row, 2);
    EXPECT_EQ(journal.StepBack()->row, 1);
    EXPECT_FALSE(journal.CanUndo());
    EXPECT_TRUE(journal.CanRedo());
    EXPECT_EQ(journal.StepForward()->row, 1);
    EXPECT_EQ(journal.StepForward()->row, 2);
    EXPECT_EQ(journal.StepForward(), nullptr);
}

TEST(UndoJournal, APushAfterUndoDiscardsTheRedoTail)
{
    UndoJournal journal;
    journal.PushUndo(record(1));
    journal.PushUndo(record(2));
    journal.PushUndo(record(3));
    journal.StepBack();
    journal.StepBack();
    journal.PushUndo(record(9));
    EXPECT_EQ(journal.size(), 2);
    EXPECT_FALSE(journal.CanRedo());
    EXPECT_EQ(journal.StepBack()->row, 9);
    EXPECT_EQ(journal.StepBack()->row, 1);
}

TEST(UndoJournal, APushWithEverythingUndoneStartsAfresh)
{
    UndoJournal journal;
    journal.PushUndo(record(1));
    journal.StepBack();
    journal.PushUndo(record(2));
    EXPECT_EQ(journal.size(), 1);
    EXPECT_EQ(journal.StepBack()->row, 2);
}

TEST(UndoJournal, TheThousandAndFirstPushDropsTheOldestRecord)
{
    UndoJournal journal;
    for (int i = 0; i < 1001; ++i) journal.PushUndo(record(i));
    EXPECT_EQ(journal.size(), 1000);
    EXPECT_EQ(journal.at(journal.firstPosition())->row, 1);
    EXPECT_EQ(journal.pushCount(), 1001);
}

TEST(UndoJournal, TheCapDropsTheWholeOldestGroup)
{
    UndoJournal journal;
    pushStep(journal, 0, 3);
    for (int i = 0; i < 997; ++i) journal.PushUndo(record(100 + i));
    EXPECT_EQ(journal.size(), 1000);
    journal.PushUndo(record(5000));
    EXPECT_EQ(journal.size(), 998);
    EXPECT_EQ(journal.at(journal.firstPosition())->row, 100);
    expectOnlyWholeSteps(journal);
}

TEST(UndoJournal, AnActionLargerThanTheCapIsKeptWhole)
{
    UndoJournal journal;
    pushStep(journal, 0, 5);
    pushStep(journal, 10, 1500);
    EXPECT_EQ(journal.size(), 1500);
    const UndoRecord* first = journal.at(journal.firstPosition());
    EXPECT_TRUE(first->groupBegin);
    EXPECT_EQ(first->row, 10);
    expectOnlyWholeSteps(journal);
    // Undoing it walks back every one of its records.
    int undone = 0;
    while (journal.StepBack()) ++undone;
    EXPECT_EQ(undone, 1500);
}

TEST(UndoJournal, LaterStepsPushOutAnOversizedActionWhole)
{
    UndoJournal journal;
    pushStep(journal, 0, 1500);
    journal.PushUndo(record(7));
    EXPECT_EQ(journal.size(), 1);
    EXPECT_EQ(journal.at(journal.firstPosition())->row, 7);
}

TEST(UndoJournal, RecordsDroppedOrDiscardedInBulkNeverComeBack)
{
    UndoJournal journal;
    pushStep(journal, 0, 3000);
    journal.PushUndo(record(7));  // drops the whole first step
    EXPECT_EQ(journal.size(), 1);
    pushStep(journal, 100000, 3000);  // pushes out the record 7
    EXPECT_EQ(journal.size(), 3000);
    while (journal.StepBack())
        ;
    EXPECT_TRUE(journal.CanRedo());
    const JournalPosition newest = journal.PushUndo(record(8));  // the step is the redo tail
    EXPECT_EQ(journal.size(), 1);
    EXPECT_FALSE(journal.CanRedo());
    EXPECT_EQ(journal.firstPosition(), newest);
    // Later pushes reuse and release the discarded places; the records read back in order.
    std::vector<JournalPosition> pushed;
    for (int i = 0; i < 900; ++i) pushed.push_back(journal.PushUndo(record(10 + i)));
    EXPECT_EQ(journal.size(), 901);
    for (int i = 0; i < 900; ++i)
        ASSERT_EQ(journal.at(pushed[static_cast<std::size_t>(i)])->row, 10 + i);
    EXPECT_EQ(journal.StepBack()->row, 909);
    EXPECT_EQ(journal.StepForward()->row, 909);
    EXPECT_EQ(journal.at(journal.firstPosition())->row, 8);
    for (int i = 0; i < 200; ++i) journal.PushUndo(record(2000 + i));
    EXPECT_EQ(journal.size(), 1000);
    EXPECT_EQ(journal.at(journal.firstPosition())->row, 110);
    int undone = 0;
    while (journal.StepBack()) ++undone;
    EXPECT_EQ(undone, 1000);
}

TEST(UndoJournal, GroupsNeverGetCutAcrossManyPushes)
{
    UndoJournal journal;
    for (int step = 0; step < 700; ++step) pushStep(journal, step * 10, 1 + step % 4);
    EXPECT_LE(journal.size(), 1000);
    EXPECT_GE(journal.size(), 997);
    expectOnlyWholeSteps(journal);
}

TEST(UndoJournal, GroupFlagsMarkFirstAndLast)
{
    UndoJournal journal;
    journal.PushUndo(record(0));
    const JournalPosition first = journal.PushUndo(record(1));
    journal.PushUndo(record(2));
    const JournalPosition last = journal.PushUndo(record(3));
    journal.GroupUndo(first, last);
    EXPECT_TRUE(journal.at(first)->groupBegin);
    EXPECT_FALSE(journal.at(first)->groupEnd);
    EXPECT_TRUE(journal.at(last)->groupEnd);
    EXPECT_FALSE(journal.at(journal.firstPosition())->groupBegin);
}

TEST(UndoJournal, ClearEmptiesEverything)
{
    UndoJournal journal;
    journal.PushUndo(record(1));
    journal.ClearUndo();
    EXPECT_EQ(journal.size(), 0);
    EXPECT_FALSE(journal.CanUndo());
    EXPECT_FALSE(journal.CanRedo());
    EXPECT_EQ(journal.StepForward(), nullptr);
}

TEST(UndoJournal, TheSavedStateIsCleanAgainWhenUndoOrRedoComesBackToIt)
{
    UndoJournal journal;
    EXPECT_TRUE(journal.isClean());
    journal.PushUndo(record(1));
    journal.markClean();
    journal.PushUndo(record(2));
    EXPECT_FALSE(journal.isClean());
    journal.StepBack();
    EXPECT_TRUE(journal.isClean());
    journal.StepBack();
    EXPECT_FALSE(journal.isClean());
    journal.StepForward();
    EXPECT_TRUE(journal.isClean());
    // A push after undoing past the saved state discards it for good.
    journal.StepBack();
    journal.PushUndo(record(3));
    journal.StepBack();
    EXPECT_FALSE(journal.isClean());
    journal.ClearUndo();
    EXPECT_FALSE(journal.isClean());
    journal.markClean();
    EXPECT_TRUE(journal.isClean());
}

TEST(UndoJournal, TheSavedStateIsLostWhenTheCapDropsTheStepsAfterIt)
{
    UndoJournal journal;
    journal.markClean();
    for (int i = 0; i < UndoJournal::kCapacity + 1; ++i) journal.PushUndo(record(i));
    while (journal.CanUndo()) journal.StepBack();
    // Everything held is undone, but the first change after the save is gone.
    EXPECT_FALSE(journal.isClean());

    UndoJournal kept;
    kept.PushUndo(record(0));
    kept.PushUndo(record(1));
    kept.markClean();
    for (int i = 0; i < UndoJournal::kCapacity - 1; ++i) kept.PushUndo(record(i));
    // The oldest record went, the saved one is still held.
    for (int i = 0; i < UndoJournal::kCapacity - 1; ++i) kept.StepBack();
    EXPECT_TRUE(kept.isClean());
}

}  // namespace
}  // namespace verbanta
