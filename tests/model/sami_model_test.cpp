#include "model/sami_model.h"

#include <gtest/gtest.h>

#include "settings/app_settings.h"
#include "support/cp949.h"

namespace verbanta {
namespace {

SyncEntry caption(const SamiModel& model, int ms, std::string text = "x")
{
    SyncEntry e;
    model.InitEntry(e);
    e.startMs = ms;
    e.text = std::move(text);
    return e;
}

SyncEntry comment(const SamiModel& model, std::string text)
{
    SyncEntry e;
    model.InitEntry(e);
    e.isComment = 1;
    e.text = std::move(text);
    return e;
}

std::vector<int> times(const SamiModel& model)
{
    std::vector<int> out;
    for (Position p = model.GetHeadPosition(); p;)
        out.push_back(model.GetNext(p).startMs);
    return out;
}

std::vector<int> errorRows(const SamiModel& model)
{
    std::vector<int> out;
    for (int i = 0; i < model.GetCount(); ++i)
        if (model.GetAt(model.FindIndex(i)).syncError)
            out.push_back(i);
    return out;
}

class SamiModelTest : public ::testing::Test {
protected:
    AppSettings settings;
    SamiModel model{settings};

    void fill(std::initializer_list<int> ms)
    {
        for (int t : ms)
            model.AddTail(caption(model, t), false);
    }
};

TEST_F(SamiModelTest, NewModelHasTheDefaultHeader)
{
    EXPECT_EQ(model.GetLanguageCount(), 1);
    EXPECT_EQ(model.listCount, 1);
    ASSERT_EQ(model.languages.size(), 1u);
    const LanguageInfo& korean = model.languages[0];
    EXPECT_EQ(korean.selector, ".KRCC");
    EXPECT_EQ(korean.name(), test::cp949("한국어"));
    EXPECT_EQ(korean.lang(), "ko-KR");
    EXPECT_EQ(korean.samiType(), "CC");
    EXPECT_EQ(korean.flags, 0x1C00u);
    ASSERT_EQ(model.idStyles.size(), 3u);
    EXPECT_EQ(model.idStyles[0].selector, "#STDPrn");
    EXPECT_EQ(model.idStyles[0].name(), "Standard Print");
    EXPECT_EQ(model.idStyles[0].flags, 0x1000u);
    EXPECT_EQ(model.idStyles[1].name(), "Large Print");
    EXPECT_EQ(model.idStyles[1].find("font-size")->points, 20);
    EXPECT_EQ(model.idStyles[1].flags, 0x1020u);
    EXPECT_EQ(model.idStyles[2].selector, "#SmallPrn");
    EXPECT_EQ(model.idStyles[2].find("font-size")->points, 10);
    EXPECT_EQ(model.classNames[0], "KRCC");
    EXPECT_EQ(model.paragraphStyle.flags, 0xEBFFu);
    EXPECT_EQ(model.paragraphStyle.find("font-family")->value, test::cp949("굴림, Arial"));
    EXPECT_EQ(model.title, "");
    EXPECT_EQ(model.GetCount(), 0);
    for (int j = 0; j < 10; ++j)
        EXPECT_EQ(model.slotOrder[static_cast<std::size_t>(j)], j);
}

TEST_F(SamiModelTest, InitEntryTakesTheCurrentClassOrKrccWithoutLanguages)
{
    SyncEntry e;
    e.text = "old";
    e.checked = 1;
    model.InitEntry(e);
    EXPECT_EQ(e.flags, 7u);
    EXPECT_EQ(e.className, "KRCC");
    EXPECT_EQ(e.startMs, 0);
    EXPECT_EQ(e.text, "");
    EXPECT_EQ(e.checked, 0);

    model.Reset(false);
    model.AddLanguageClass(".ENCC");
    model.InitEntry(e);
    EXPECT_EQ(e.className, "ENCC");
    model.languages.clear();
    model.InitEntry(e);
    EXPECT_EQ(e.className, "KRCC");
}

TEST_F(SamiModelTest, StyleLookupsGoBySelectorKind)
{
    EXPECT_EQ(model.FindStyle(".KRCC"), 0);
    EXPECT_EQ(model.FindStyle("#LargePrn"), 1);
    EXPECT_EQ(model.FindStyle(".krcc"), -1);
    EXPECT_EQ(model.FindStyle("P"), -1);
    EXPECT_EQ(model.FindStyle(""), -1);
    const int added = model.AddLanguageClass(".ENCC");
    EXPECT_EQ(model.languages[static_cast<std::size_t>(added)].name(), "ENCC");
    model.InsertLanguageClassAt(0, ".JPCC");
    EXPECT_EQ(model.languages[0].selector, ".JPCC");
    EXPECT_EQ(model.FindStyle(".ENCC"), 2);
    model.RemoveClass(".KRCC");
    EXPECT_EQ(model.FindStyle(".ENCC"), 1);
    const int id = model.AddIdStyle("#note");
    EXPECT_EQ(model.idStyles[static_cast<std::size_t>(id)].name(), "note");
    EXPECT_EQ(model.idStyles[static_cast<std::size_t>(id)].flags, 0x1020u);
    model.RemoveIdStyle("#note");
    EXPECT_EQ(model.FindStyle("#note"), -1);
}

TEST_F(SamiModelTest, PositionsStayValidAcrossInsertionsAndRemovals)
{
    Position a = model.AddTail(caption(model, 100), false);
    Position c = model.AddTail(caption(model, 300), false);
    Position b = model.InsertBefore(c, caption(model, 200), false);
    Position z = model.AddHead(caption(model, 50), false);
    EXPECT_EQ(times(model), (std::vector<int>{50, 100, 200, 300}));
    EXPECT_EQ(model.IndexOf(z), 0);
    EXPECT_EQ(model.IndexOf(b), 2);
    model.Remove(a, false, false);
    EXPECT_EQ(model.IndexOf(b), 1);
    EXPECT_EQ(model.IndexOf(c), 2);
    EXPECT_EQ(model.GetAt(c).startMs, 300);
    EXPECT_EQ(model.FindIndex(-1), nullptr);
    EXPECT_EQ(model.FindIndex(3), nullptr);
    EXPECT_EQ(model.GetFirst().startMs, 50);
    EXPECT_EQ(model.GetLast().startMs, 300);
}

TEST_F(SamiModelTest, GetNextAndGetPrevWalkAndEndWithNone)
{
    fill({1, 2, 3});
    Position p = model.GetTailPosition();
    EXPECT_EQ(model.GetPrev(p).startMs, 3);
    EXPECT_EQ(model.GetPrev(p).startMs, 2);
    EXPECT_EQ(model.GetPrev(p).startMs, 1);
    EXPECT_EQ(p, nullptr);
}

TEST_F(SamiModelTest, InsertWithoutPositionGoesToTheTail)
{
    fill({1, 2});
    model.InsertAfter(nullptr, caption(model, 9), false);
    model.InsertBefore(nullptr, caption(model, 10), false);
    EXPECT_EQ(times(model), (std::vector<int>{1, 2, 9, 10}));
}

TEST_F(SamiModelTest, InsertEndSyncMakesAnNbspEntry)
{
    Position a = model.AddTail(caption(model, 1000), false);
    Position end = model.InsertEndSync(a, 2500, false);
    const SyncEntry e = model.GetAt(end);
    EXPECT_TRUE(e.isEndSync);
    EXPECT_EQ(e.text, "&nbsp;");
    EXPECT_EQ(e.startMs, 2500);
    EXPECT_EQ(e.className, "KRCC");
    EXPECT_EQ(model.IndexOf(end), 1);
}

TEST_F(SamiModelTest, RemoveWithFollowingEndTakesOnlyAnEndSync)
{
    Position a = model.AddTail(caption(model, 1000), false);
    model.InsertEndSync(a, 2000, false);
    Position b = model.AddTail(caption(model, 3000), false);
    model.AddTail(comment(model, "note"), false);
    Position c = model.AddTail(caption(model, 4000), false);
    model.AddTail(caption(model, 5000), false);

    EXPECT_TRUE(model.Remove(a, true, false));
    EXPECT_EQ(times(model).size(), 4u);
    EXPECT_FALSE(model.Remove(b, true, false));  // a comment follows
    EXPECT_EQ(model.GetCount(), 3);
    EXPECT_TRUE(model.GetFirst().isComment);
    EXPECT_FALSE(model.Remove(c, true, false));  // a caption follows
    EXPECT_EQ(model.GetCount(), 2);
    EXPECT_FALSE(model.Remove(nullptr, true, true));
    EXPECT_EQ(model.journal().size(), 0);
}

TEST_F(SamiModelTest, RecordedRemoveWithEndSyncPushesTwoDeletesWithTheSamePredecessor)
{
    Position first = model.AddTail(caption(model, 500), false);
    Position a = model.AddTail(caption(model, 1000, "a"), false);
    model.InsertEndSync(a, 2000, false);
    EXPECT_TRUE(model.Remove(a, true, true));
    ASSERT_EQ(model.journal().size(), 2);
    const UndoRecord* caption = model.journal().at(model.journal().firstPosition());
    const UndoRecord* end = model.journal().at(model.journal().lastPosition());
    EXPECT_EQ(caption->kind, UndoRecord::kDelete);
    EXPECT_EQ(caption->entry.text, "a");
    EXPECT_EQ(caption->prevRow, 0);
    EXPECT_EQ(caption->prevNode, first);
    EXPECT_EQ(end->kind, UndoRecord::kDelete);
    EXPECT_TRUE(end->entry.isEndSync);
    EXPECT_EQ(end->prevRow, 0);
}

TEST_F(SamiModelTest, RemovingTheCursorEntryMovesTheCursorBack)
{
    fill({1, 2, 3});
    Position second = model.FindIndex(1);
    model.playCursor = second;
    model.Remove(second, false, false);
    EXPECT_EQ(model.GetCursorIndex(), 0);
    model.playCursor = model.GetHeadPosition();
    model.Remove(model.GetHeadPosition(), false, false);
    EXPECT_FALSE(model.HasCursor());
    EXPECT_EQ(model.GetCursorIndex(), -1);
}

TEST_F(SamiModelTest, RecordedInsertRecordsThePredecessorRow)
{
    Position a = model.AddTail(caption(model, 1), true);
    const UndoRecord* head = model.journal().at(model.journal().lastPosition());
    EXPECT_EQ(head->kind, UndoRecord::kInsert);
    EXPECT_EQ(head->prevRow, -1);
    EXPECT_EQ(head->prevNode, nullptr);
    model.InsertAfter(a, caption(model, 2, "two"), true);
    const UndoRecord* second = model.journal().at(model.journal().lastPosition());
    EXPECT_EQ(second->prevRow, 0);
    EXPECT_EQ(second->prevNode, a);
    EXPECT_EQ(second->entry.text, "two");
    EXPECT_EQ(second->language, 0);
}

TEST_F(SamiModelTest, SetAtRecordsTheOldEntry)
{
    fill({1, 2});
    Position p = model.FindIndex(1);
    SyncEntry changed = model.GetAt(p);
    changed.text = "new";
    model.SetAt(p, changed, true);
    EXPECT_EQ(model.GetAt(p).text, "new");
    const UndoRecord* r = model.journal().at(model.journal().lastPosition());
    EXPECT_EQ(r->kind, UndoRecord::kModify);
    EXPECT_EQ(r->row, 1);
    EXPECT_EQ(r->entry.text, "x");
    model.SetAt(nullptr, changed, true);
    EXPECT_EQ(model.journal().size(), 1);
}

TEST_F(SamiModelTest, MoveUpAndDownSwapWithoutUndo)
{
    fill({1, 2, 3});
    Position moved = model.MoveUp(model.FindIndex(2));
    EXPECT_EQ(times(model), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(model.IndexOf(moved), 1);
    EXPECT_EQ(model.MoveUp(model.GetHeadPosition()), nullptr);
    moved = model.MoveDown(model.GetHeadPosition());
    EXPECT_EQ(times(model), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(model.IndexOf(moved), 1);
    EXPECT_EQ(model.MoveDown(model.GetTailPosition()), nullptr);
    EXPECT_EQ(model.MoveDown(nullptr), nullptr);
    EXPECT_EQ(model.journal().size(), 0);
}

TEST_F(SamiModelTest, MarksAtRowsChangeOnlyValidRows)
{
    fill({1, 2});
    model.SetRangeStartAt(0, true);
    model.SetRangeEndAt(1, true);
    model.SetSyncErrorAt(5, true);
    model.SetRangeStartAt(-1, true);
    EXPECT_TRUE(model.GetFirst().rangeStart);
    EXPECT_TRUE(model.GetLast().rangeEnd);
    EXPECT_FALSE(model.AnyChecked());
    SyncEntry e = model.GetLast();
    e.checked = 1;
    model.SetAt(model.GetTailPosition(), e, false);
    EXPECT_TRUE(model.AnyChecked());
}

TEST_F(SamiModelTest, EachLanguageSlotHasItsOwnList)
{
    fill({1, 2});
    model.SetCurrentSlot(1);
    EXPECT_EQ(model.GetCount(), 0);
    model.AddTail(caption(model, 7), false);
    model.SetCurrentSlot(0);
    EXPECT_EQ(model.GetCount(), 2);
    EXPECT_EQ(model.slotList(1).count(), 1);
    model.SetCurrentSlot(11);
    EXPECT_EQ(model.GetCurrentSlot(), 0);
}

// ---- CheckOrder --------------------------------------------------------------------------

class CheckOrderTest : public SamiModelTest {
protected:
    void SetUp() override { settings.DisplayErrorSync = true; }
};

TEST_F(CheckOrderTest, OffReturnsMinusOneAndLeavesMarks)
{
    settings.DisplayErrorSync = false;
    fill({2, 1});
    model.SetSyncErrorAt(0, true);
    EXPECT_EQ(model.CheckOrder(), -1);
    EXPECT_EQ(errorRows(model), (std::vector<int>{0}));
}

TEST_F(CheckOrderTest, MarksTheFirstOfADescentAndSkipsTheNext)
{
    fill({1000, 500, 400});
    EXPECT_EQ(model.CheckOrder(), 2);
    EXPECT_EQ(errorRows(model), (std::vector<int>{0, 2}));
}

TEST_F(CheckOrderTest, EqualTimesMarkTheLaterEntry)
{
    fill({100, 200, 200, 300});
    EXPECT_EQ(model.CheckOrder(), 1);
    EXPECT_EQ(errorRows(model), (std::vector<int>{2}));
}

TEST_F(CheckOrderTest, NegativeTimeIsAlwaysAnError)
{
    fill({-5, 100, 200});
    EXPECT_EQ(model.CheckOrder(), 1);
    EXPECT_EQ(errorRows(model), (std::vector<int>{0}));
}

TEST_F(CheckOrderTest, CommentsAreSkippedOnBothSidesAndNeverMarked)
{
    model.AddTail(caption(model, 50), false);
    model.AddTail(comment(model, "c"), false);
    model.AddTail(caption(model, 100), false);
    Position note = model.AddTail(comment(model, "d"), false);
    model.AddTail(caption(model, 100), false);
    model.AddTail(caption(model, 300), false);
    model.SetSyncErrorAt(model.IndexOf(note), true);
    EXPECT_EQ(model.CheckOrder(), 1);
    EXPECT_EQ(errorRows(model), (std::vector<int>{4}));
}

TEST_F(CheckOrderTest, TheFirstEntryIsComparedWithTheNextAcrossComments)
{
    model.AddTail(comment(model, "head"), false);
    model.AddTail(caption(model, 100), false);
    model.AddTail(comment(model, "c"), false);
    model.AddTail(caption(model, 100), false);
    model.AddTail(caption(model, 300), false);
    // The first caption is in error against the next one; the skip after it lands on the
    // comment, so the second 100 is examined too and is in error against the first.
    EXPECT_EQ(model.CheckOrder(), 2);
    EXPECT_EQ(errorRows(model), (std::vector<int>{1, 3}));
}

TEST_F(CheckOrderTest, OrderedListHasNoErrorsAndOldMarksAreCleared)
{
    fill({1, 2, 3});
    model.SetSyncErrorAt(1, true);
    EXPECT_EQ(model.CheckOrder(), 0);
    EXPECT_TRUE(errorRows(model).empty());
}

TEST_F(CheckOrderTest, RecordedChangesRecheckButUnrecordedOnesDoNot)
{
    fill({1, 2});
    model.AddTail(caption(model, 0), false);
    EXPECT_TRUE(errorRows(model).empty());
    model.AddTail(caption(model, 0), true);
    EXPECT_FALSE(errorRows(model).empty());
}

TEST_F(CheckOrderTest, DeferredCheckRunsOnceAtTheEnd)
{
    fill({1, 2});
    {
        SamiModel::DeferredCheckOrder defer(model);
        model.AddTail(caption(model, 0), true);
        EXPECT_TRUE(errorRows(model).empty());
    }
    EXPECT_EQ(errorRows(model), (std::vector<int>{2}));
}

// ---- playback cursor ---------------------------------------------------------------------

TEST_F(SamiModelTest, SeekCursorSkipsCommentsAndEarlierEntries)
{
    model.AddTail(caption(model, 100), false);
    model.AddTail(comment(model, "c"), false);
    model.AddTail(caption(model, 300), false);
    EXPECT_TRUE(model.SeekCursor(150));
    EXPECT_EQ(model.GetCursorIndex(), 2);
    EXPECT_TRUE(model.CursorHasPrevious());
    EXPECT_TRUE(model.GetEntryBeforeCursor().isComment);
    EXPECT_FALSE(model.SeekCursor(301));
    EXPECT_FALSE(model.HasCursor());
    EXPECT_EQ(model.GetEntryBeforeCursor().startMs, 300);
    model.ResetCursor();
    EXPECT_EQ(model.GetCursorIndex(), 0);
    EXPECT_FALSE(model.CursorHasPrevious());
}

TEST_F(SamiModelTest, NextFromCursorReturnsAndAdvances)
{
    fill({1, 2});
    model.playCursor = nullptr;
    EXPECT_EQ(model.NextFromCursor().startMs, 1);
    EXPECT_EQ(model.GetCursorIndex(), 1);
    EXPECT_EQ(model.NextFromCursor().startMs, 2);
    EXPECT_FALSE(model.HasCursor());
}

TEST_F(SamiModelTest, ResetEmptiesListsAndKeepsTheJournal)
{
    fill({1, 2});
    model.AddTail(caption(model, 3), true);
    model.SetCurrentSlot(3);
    model.title = "t";
    model.Reset(false);
    EXPECT_EQ(model.GetCurrentSlot(), 0);
    EXPECT_EQ(model.GetCount(), 0);
    EXPECT_TRUE(model.languages.empty());
    EXPECT_TRUE(model.idStyles.empty());
    EXPECT_EQ(model.paragraphStyle.flags, 0xEBFFu);
    EXPECT_EQ(model.title, "");
    EXPECT_EQ(model.journal().size(), 1);
    model.ClearUndo();
    EXPECT_FALSE(model.CanUndo());
    EXPECT_FALSE(model.CanRedo());
}

}  // namespace
}  // namespace verbanta
