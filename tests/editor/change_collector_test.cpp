#include "editor/change_collector.h"

#include <gtest/gtest.h>

#include "editor/editor_fakes.h"

namespace verbanta::test {
namespace {

std::vector<std::string> told(ChangeCollector& changes)
{
    RecordingListener listener;
    changes.deliver(&listener);
    return listener.events;
}

TEST(ChangeCollector, NeighbouringChangesMergeIntoOneNotification)
{
    ChangeCollector changes;
    for (int i = 0; i < 5; ++i)
        changes.inserted(3 + i);
    changes.changed(4, 4);  // inside the rows just inserted
    changes.removed(20);
    changes.removed(20);
    changes.removed(19);
    changes.changed(1, 2);
    changes.changed(3, 5);
    EXPECT_EQ(told(changes), (std::vector<std::string>{"insert 3 5", "remove 19 3", "change 1 5"}));
    EXPECT_TRUE(changes.empty());
}

TEST(ChangeCollector, ScatteredChangesBecomeOneReplacement)
{
    ChangeCollector changes;
    for (int i = 0; i < 200; ++i)
        changes.removed(i);  // every other row of the original list
    EXPECT_EQ(told(changes), std::vector<std::string>{"replace"});
}

TEST(ChangeCollector, JournalRecordsOfTheShownSlotAreTold)
{
    UndoJournal journal;
    UndoRecord r;
    r.kind = UndoRecord::kInsert;
    r.prevRow = 4;
    const JournalPosition first = journal.PushUndo(r);
    r.language = 2;  // another language's list is not shown
    journal.PushUndo(r);
    r.language = 0;
    r.kind = UndoRecord::kModify;
    r.row = 9;
    journal.PushUndo(r);
    r.kind = UndoRecord::kRangeShift;
    r.firstRow = 12;
    r.lastRow = 10;
    journal.PushUndo(r);
    ChangeCollector changes;
    changes.addRecords(journal, first, 0);
    EXPECT_EQ(told(changes),
              (std::vector<std::string>{"insert 5 1", "change 9 12"}));
}

}  // namespace
}  // namespace verbanta::test
