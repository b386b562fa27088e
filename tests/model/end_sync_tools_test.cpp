#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/cp949.h"
#include "support/recording_messenger.h"

namespace verbanta {
namespace {

/// Replays the journal by row index, as the caption view's undo and redo do.
class Replayer {
public:
    explicit Replayer(SamiModel& model) : m_model(model) {}

    /// One undo step: a whole group, or one record.
    void undo()
    {
        const UndoRecord* r = m_model.StepBack();
        ASSERT_NE(r, nullptr);
        const bool grouped = r->groupEnd;
        for (;;) {
            apply(*r, false);
            if (!grouped || r->groupBegin)
                return;
            r = m_model.StepBack();
            ASSERT_NE(r, nullptr) << "group without its first record";
        }
    }

    void redo()
    {
        const UndoRecord* r = m_model.StepForward();
        ASSERT_NE(r, nullptr);
        const bool grouped = r->groupBegin;
        for (;;) {
            apply(*r, true);
            if (!grouped || r->groupEnd)
                return;
            r = m_model.StepForward();
            ASSERT_NE(r, nullptr) << "group without its last record";
        }
    }

private:
    void apply(const UndoRecord& r, bool forward)
    {
        SyncList& l = m_model.slotList(r.language);
        const bool insert = (r.kind == UndoRecord::kDelete) != forward;
        switch (r.kind) {
            case UndoRecord::kModify: {
                ASSERT_NE(l.at(r.row), nullptr);
                // The view stores the replaced content in the record; here it is kept aside.
                auto it = m_swapped.find(&r);
                SyncEntry next = forward ? it->second : r.entry;
                m_swapped[&r] = l[r.row];
                l[r.row] = next;
                break;
            }
            case UndoRecord::kInsert:
            case UndoRecord::kDelete:
                if (insert) {
                    ASSERT_LE(r.prevRow + 1, l.count());
                    l.insertAt(r.prevRow + 1, r.entry);
                } else {
                    ASSERT_NE(l.at(r.prevRow + 1), nullptr);
                    EXPECT_EQ(l[r.prevRow + 1], r.entry) << "record names another row";
                    l.remove(l.at(r.prevRow + 1));
                }
                break;
            default:
                FAIL() << "unexpected record kind " << r.kind;
        }
    }

    SamiModel& m_model;
    std::map<const UndoRecord*, SyncEntry> m_swapped;
};

class EndSyncToolsTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};
    test::RecordingMessenger messenger;

    void SetUp() override { model.setMessenger(messenger); }

    SyncEntry caption(int ms, std::string text = "x")
    {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = ms;
        e.text = std::move(text);
        return e;
    }
    void addCaption(int ms, std::string text = "x") { model.AddTail(caption(ms, text), false); }
    void addEnd(int ms) { model.InsertEndSync(model.GetTailPosition(), ms, false); }
    void addComment()
    {
        SyncEntry e = caption(0, "note");
        e.isComment = 1;
        model.AddTail(e, false);
    }

    /// The list as "t" for captions, "t/" for end syncs and "c" for comments.
    std::vector<std::string> shape() const
    {
        std::vector<std::string> out;
        model.list().forEach([&](const SyncEntry& e) {
            out.push_back(e.isComment ? "c" : std::to_string(e.startMs) + (e.isEndSync ? "/" : ""));
        });
        return out;
    }
    std::vector<SyncEntry> snapshot() const
    {
        std::vector<SyncEntry> out;
        model.list().forEach([&](const SyncEntry& e) { out.push_back(e); });
        return out;
    }
    using Shape = std::vector<std::string>;
};

TEST_F(EndSyncToolsTest, DurationInsertsMissingEndSyncsAsOneUndoStep)
{
    addCaption(1000);
    addCaption(5000);
    const auto before = snapshot();
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, false, false, false), 2);
    EXPECT_EQ(shape(), (Shape{"1000", "3000/", "5000", "7000/"}));

    const SyncEntry end = model.GetAt(model.FindIndex(1));
    EXPECT_EQ(end.text, "&nbsp;");
    EXPECT_EQ(end.className, "KRCC");
    EXPECT_EQ(end.flags, SyncEntry::kWriteAll);

    ASSERT_EQ(model.journal().size(), 2);
    EXPECT_TRUE(model.journal().at(model.journal().firstPosition())->groupBegin);
    EXPECT_TRUE(model.journal().at(model.journal().lastPosition())->groupEnd);
    Replayer replay(model);
    replay.undo();
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(model.CanUndo());
    replay.redo();
    EXPECT_EQ(shape(), (Shape{"1000", "3000/", "5000", "7000/"}));
}

TEST_F(EndSyncToolsTest, DurationRemovesAnEndSyncThatWouldReachTheNextCaption)
{
    addCaption(1000);
    addEnd(1500);
    addCaption(2500);
    const auto before = snapshot();
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, false, false, false), 2);
    EXPECT_EQ(shape(), (Shape{"1000", "2500", "4500/"}));
    Replayer replay(model);
    replay.undo();
    EXPECT_EQ(snapshot(), before);
    replay.redo();
    EXPECT_EQ(shape(), (Shape{"1000", "2500", "4500/"}));
}

TEST_F(EndSyncToolsTest, ConditionalRunsOnlyMoveExistingEndSyncs)
{
    addCaption(1000);
    addEnd(1500);
    addCaption(2500);
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, false, true, false), 0);
    EXPECT_EQ(shape(), (Shape{"1000", "1500/", "2500"}));
    EXPECT_EQ(model.journal().size(), 0);

    model.Reset(true);
    addCaption(1000);
    addEnd(1500);  // 500 long: shorter than 2000
    addCaption(5000);
    addEnd(9000);  // 4000 long: longer, and the last entry
    addCaption(12000);
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, true, false, false), 1);
    EXPECT_EQ(shape(), (Shape{"1000", "3000/", "5000", "9000/", "12000"}));
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, false, true, false), 1);
    EXPECT_EQ(shape(), (Shape{"1000", "3000/", "5000", "7000/", "12000"}));
    // A single change is an ordinary step, not a group.
    const UndoRecord* last = model.journal().at(model.journal().lastPosition());
    EXPECT_EQ(last->kind, UndoRecord::kModify);
    EXPECT_EQ(last->row, 3);
    EXPECT_EQ(last->entry.startMs, 9000);
    EXPECT_FALSE(last->groupBegin || last->groupEnd);
}

TEST_F(EndSyncToolsTest, DurationMovesTheLastEndSyncAndCountsEveryEndSyncItSets)
{
    addCaption(1000);
    addEnd(1200);
    EXPECT_EQ(model.ResetEndSyncsByDuration(3000, false, false, false), 1);
    EXPECT_EQ(shape(), (Shape{"1000", "4000/"}));
    // A second identical run sets the end sync again, to the same time, and says so.
    EXPECT_EQ(model.ResetEndSyncsByDuration(3000, false, false, false), 1);
    EXPECT_EQ(shape(), (Shape{"1000", "4000/"}));
    EXPECT_EQ(model.journal().size(), 2);
}

TEST_F(EndSyncToolsTest, ZeroDurationChangesNothing)
{
    addCaption(1000);
    addEnd(1500);
    addCaption(2500);
    // An end at the caption's own start would hide it at once: such runs leave the list alone.
    EXPECT_EQ(model.ResetEndSyncsByDuration(0, false, false, false), 0);
    EXPECT_EQ(model.ResetEndSyncsByLength(0, false), 0);
    EXPECT_EQ(shape(), (Shape{"1000", "1500/", "2500"}));
    EXPECT_EQ(model.journal().size(), 0);
}

TEST_F(EndSyncToolsTest, CommentsAreNeitherCaptionsNorNeighbours)
{
    addCaption(1000);
    addComment();
    addCaption(5000);
    addEnd(5500);
    addComment();
    addCaption(9000);
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, false, false, false), 3);
    // The new end sync follows its caption; the comments get none and do not block a move.
    EXPECT_EQ(shape(), (Shape{"1000", "3000/", "c", "5000", "7000/", "c", "9000", "11000/"}));
    const auto after = snapshot();
    Replayer replay(model);
    replay.undo();
    EXPECT_EQ(shape(), (Shape{"1000", "c", "5000", "5500/", "c", "9000"}));
    replay.redo();
    EXPECT_EQ(snapshot(), after);
}

TEST_F(EndSyncToolsTest, ByLengthCountsDisplayedCharacters)
{
    addCaption(1000, test::cp949("안녕"));
    addCaption(5000, test::cp949("<font color=red>안녕</font><br>하세요"));
    addCaption(9000, "");  // no letters: left without an end sync
    EXPECT_EQ(model.ResetEndSyncsByLength(200, false), 2);
    EXPECT_EQ(shape(), (Shape{"1000", "1400/", "5000", "6200/", "9000"}));
}

TEST_F(EndSyncToolsTest, RangeOnlyNeedsAMarkedRange)
{
    addCaption(1000);
    addCaption(3000);
    addCaption(5000);
    model.SetRangeStartAt(0, true);
    EXPECT_EQ(model.ResetEndSyncsByDuration(1000, false, false, true), -1);
    EXPECT_EQ(model.ResetEndSyncsByLength(200, true), -1);
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, "종료 싱크를 재설정할 범위를 지정해 주십시오.");
    EXPECT_EQ(shape(), (Shape{"1000", "3000", "5000"}));
    EXPECT_EQ(model.journal().size(), 0);

    // An end before any start is no range either.
    model.SetRangeStartAt(0, false);
    model.SetRangeEndAt(0, true);
    model.SetRangeStartAt(1, true);
    EXPECT_EQ(model.ResetEndSyncsByDuration(1000, false, false, true), -1);
}

TEST_F(EndSyncToolsTest, RangeOnlyStopsAfterTheRangeEnd)
{
    for (int t : {1000, 3000, 5000, 7000}) addCaption(t);
    model.SetRangeStartAt(0, true);  // an earlier start is superseded by a later one
    model.SetRangeStartAt(1, true);
    model.SetRangeEndAt(2, true);
    model.SetRangeStartAt(3, true);  // after the end: ignored
    EXPECT_EQ(model.ResetEndSyncsByDuration(1000, false, false, true), 2);
    EXPECT_EQ(shape(), (Shape{"1000", "3000", "4000/", "5000", "6000/", "7000"}));

    // One entry may carry both marks.
    model.Reset(true);
    addCaption(1000);
    addCaption(3000);
    model.SetRangeStartAt(0, true);
    model.SetRangeEndAt(0, true);
    EXPECT_EQ(model.ResetEndSyncsByLength(100, true), 1);
    EXPECT_EQ(shape(), (Shape{"1000", "1100/", "3000"}));
}

TEST_F(EndSyncToolsTest, RemoveInvalidEndSyncsKeepsOrderedOnes)
{
    addCaption(1000);
    addEnd(3000);  // after the next caption
    addCaption(2000);
    addEnd(2500);
    addCaption(4000);
    addEnd(4000);  // not after its caption
    addCaption(6000);
    const auto before = snapshot();
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 2);
    EXPECT_EQ(shape(), (Shape{"1000", "2000", "2500/", "4000", "6000"}));
    Replayer replay(model);
    replay.undo();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 2);
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 0);
}

TEST_F(EndSyncToolsTest, RemoveInvalidEndSyncsLeavesNoneOutOfOrder)
{
    addCaption(1000);
    addEnd(3000);  // valid against 3500, invalid once 3500 is gone
    addEnd(3500);
    addCaption(2000);
    const auto before = snapshot();
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 2);
    EXPECT_EQ(shape(), (Shape{"1000", "2000"}));
    Replayer replay(model);
    replay.undo();
    EXPECT_EQ(snapshot(), before);
    replay.redo();
    EXPECT_EQ(shape(), (Shape{"1000", "2000"}));
}

TEST_F(EndSyncToolsTest, RemoveInvalidEndSyncsLooksPastComments)
{
    // A comment's time means nothing: an end sync before or after one is judged by captions.
    addCaption(1000);
    addEnd(1500);
    addComment();
    addCaption(2000);
    addComment();
    addEnd(1800);
    addCaption(3000);
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 1);
    EXPECT_EQ(shape(), (Shape{"1000", "1500/", "c", "2000", "c", "3000"}));
    const UndoRecord* r = model.journal().at(model.journal().lastPosition());
    EXPECT_EQ(r->kind, UndoRecord::kDelete);
    EXPECT_EQ(r->prevRow, 4);  // the comment just before it
    EXPECT_EQ(r->entry.startMs, 1800);
}

TEST_F(EndSyncToolsTest, ToolsRecomputeTimingErrorsOnce)
{
    settings.DisplayErrorSync = true;
    addCaption(1000);
    addEnd(3000);
    addCaption(2000);
    addCaption(500);
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 1);
    std::vector<int> errors;
    for (int i = 0; i < model.GetCount(); ++i)
        if (model.GetAt(model.FindIndex(i)).syncError)
            errors.push_back(i);
    EXPECT_EQ(errors, (std::vector<int>{2}));
}

TEST_F(EndSyncToolsTest, HandlesFollowTheirEntriesThroughARun)
{
    addCaption(1000);
    addCaption(5000);
    addEnd(5200);
    addCaption(9000);
    ASSERT_TRUE(model.SeekCursor(4000));  // on the caption at 5000
    EXPECT_EQ(model.ResetEndSyncsByDuration(2000, false, false, false), 3);
    EXPECT_EQ(model.GetCursorEntry().startMs, 5000);
    EXPECT_EQ(model.GetCursorIndex(), 2);

    // The cursor on a removed end sync moves to the entry before it.
    model.Reset(true);
    addCaption(1000);
    addEnd(3000);
    addCaption(2000);
    ASSERT_TRUE(model.SeekCursor(2500));
    EXPECT_EQ(model.RemoveInvalidEndSyncs(), 1);
    EXPECT_EQ(model.GetCursorIndex(), 0);
}

TEST_F(EndSyncToolsTest, WorksOnTheCurrentLanguageOnly)
{
    addCaption(1000);
    model.SetCurrentSlot(1);
    model.classNames[1] = "ENCC";
    addCaption(2000);
    EXPECT_EQ(model.ResetEndSyncsByDuration(500, false, false, false), 1);
    EXPECT_EQ(model.journal().at(model.journal().lastPosition())->language, 1);
    EXPECT_EQ(model.slotList(0).count(), 1);
    EXPECT_EQ(model.slotList(1).count(), 2);
}

TEST_F(EndSyncToolsTest, EndsNearTheTimeLimitSaturate)
{
    addCaption(2147480000);
    EXPECT_EQ(model.ResetEndSyncsByDuration(100000000, false, false, false), 1);
    EXPECT_EQ(model.GetLast().startMs, 2147483647);
}

TEST_F(EndSyncToolsTest, ARunLongerThanTheJournalCapStaysOneStep)
{
    for (int i = 0; i < 1500; ++i) {
        addCaption(i * 1000);
        if (i % 2)
            addEnd(i * 1000 + 900);  // moved to 950; the others get one inserted
    }
    UndoRecord older;  // an older step, in another slot
    older.kind = UndoRecord::kModify;
    older.language = 7;
    model.PushUndo(older);
    const auto before = snapshot();
    EXPECT_EQ(model.ResetEndSyncsByDuration(950, false, false, false), 1500);
    EXPECT_EQ(model.journal().size(), 1500);
    Replayer replay(model);
    replay.undo();
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(model.CanUndo());
}

}  // namespace
}  // namespace verbanta
