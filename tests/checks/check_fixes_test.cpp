#include "checks/check_fixes.h"

#include <gtest/gtest.h>

#include <vector>

#include "checks/check_state.h"
#include "editor/change_collector.h"
#include "editor/editor_ports.h"
#include "editor/undo_replay.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/cp949.h"

namespace verbanta {
namespace {

/// The caption view's listener as the editor is to wire it: row notifications go to the checks.
class ChecksListener : public CaptionViewListener {
public:
    explicit ChecksListener(CheckState& state) : m_state(state) {}
    void rowsInserted(int first, int count) override { m_state.rowsInserted(first, count); }
    void rowsRemoved(int first, int count) override { m_state.rowsRemoved(first, count); }
    void rowsChanged(int first, int last) override { m_state.rowsChanged(first, last); }
    void listReplaced() override { m_state.listReplaced(); }
    void marksChanged() override {}
    void currentRowChanged(int, ScrollHint) override {}
    void panelChanged() override {}
    void languagesChanged() override {}
    void focusRequested(FocusTarget) override {}

private:
    CheckState& m_state;
};

struct FixFixture : ::testing::Test {
    AppSettings settings;
    SamiModel model{settings};
    CaptionRules rules{CheckProfile(), 24};  // a gap of 83 ms

    void add(int slot, std::int32_t ms, const char* utf8, bool endSync = false)
    {
        SyncEntry e = endSync ? model.endSyncEntry(ms) : SyncEntry();
        if (!endSync) {
            e.startMs = ms;
            e.text = test::cp949(utf8);
        }
        e.className = slot == 0 ? "KRCC" : "ENCC";
        SyncList& list = model.slotList(slot);
        list.insertAt(list.count(), e);
    }
    std::vector<std::int32_t> times(int slot) const
    {
        std::vector<std::int32_t> out;
        model.slotList(slot).forEach([&](const SyncEntry& e) { out.push_back(e.startMs); });
        return out;
    }
    std::vector<CheckFinding> findings() const
    {
        std::vector<CheckFinding> all = checkList(model.slotList(0), 0, rules);
        for (const CheckFinding& f : checkList(model.slotList(1), 1, rules)) all.push_back(f);
        return all;
    }
};

TEST_F(FixFixture, FixesWhatHasOneClearFixAsOneUndoStep)
{
    add(0, 0, "짧다");
    add(0, 500, "", true);  // too short, free time up to 2917: extended to 1000
    add(0, 3000, "붙는다");
    add(0, 5990, "", true);        // 10 ms before the next caption: pulled back to 5917
    add(0, 6000, "끝이 없다");     // silent until 20000: an end sync at 13000
    add(0, 20000, "짧고 붙는다");  // too short, running into the next caption: no fix
    add(0, 20500, "마지막");       // the last caption: an end sync at 27500
    add(1, 0, "no end");
    add(1, 7050, "the end");  // an end sync at 6967, to keep the gap
    const std::vector<std::int32_t> before0 = times(0);
    const std::vector<std::int32_t> before1 = times(1);

    const std::vector<CheckFinding> found = findings();
    int fixable = 0;
    for (const CheckFinding& f : found) fixable += hasClearFix(model.slotList(f.slot), f, rules);
    EXPECT_EQ(fixable, 6);

    CheckState state(CheckProfile(), 24);
    state.attach(model.slotList(0), 0);
    ASSERT_GT(state.rowsWithFindings(), 0);
    const JournalPosition first = model.journal().nextPosition();
    EXPECT_EQ(fixFindings(model, found, rules), 6);
    EXPECT_EQ(times(0),
              (std::vector<std::int32_t>{0, 1000, 3000, 5917, 6000, 13000, 20000, 20500, 27500}));
    EXPECT_EQ(times(1), (std::vector<std::int32_t>{0, 6967, 7050, 14050}));
    EXPECT_TRUE(model.slotList(1)[1].isEndSync);
    EXPECT_EQ(model.slotList(1)[1].className, "ENCC");
    // Only the caption with no clear fix is left, and the marks follow the recorded changes.
    ChecksListener listener(state);
    ChangeCollector changes;
    changes.addRecords(model.journal(), first, 0);
    changes.deliver(&listener);
    EXPECT_EQ(state.rowsWithFindings(), 1);
    EXPECT_EQ(state.rulesAt(6), ruleBit(CheckRule::MinDuration));
    EXPECT_EQ(fixFindings(model, findings(), rules), 0);

    // One undo takes back the whole run, in both languages; redo brings it back.
    UndoReplay replay(model, changes);
    EXPECT_TRUE(replay.undo().applied);
    changes.deliver(&listener);
    EXPECT_EQ(times(0), before0);
    EXPECT_EQ(times(1), before1);
    EXPECT_EQ(state.rowsWithFindings(), 5);
    EXPECT_FALSE(model.CanUndo());
    replay.redo();
    changes.deliver(&listener);
    EXPECT_EQ(times(0).size(), 9u);
    EXPECT_EQ(state.rowsWithFindings(), 1);
}

TEST_F(FixFixture, PassesOverFindingsThatNoLongerHoldOrHaveNoRoom)
{
    add(0, 0, "가");
    add(0, 500, "", true);
    add(0, 1200, "나");
    add(0, 1300, "", true);  // extending to 2200 would pass the next caption
    add(0, 2000, "다");
    add(0, 2050, "", true);  // the gap before 2080 would put the end before its caption
    add(0, 2080, "라");
    add(0, 9000, "", true);
    const std::vector<CheckFinding> found = checkList(model.slotList(0), 0, rules);
    EXPECT_EQ(found.size(), 5u);          // the last short one is read too fast as well
    model.slotList(0)[1].startMs = 1100;  // the first caption is mended by hand meanwhile
    for (const CheckFinding& f : found) EXPECT_FALSE(hasClearFix(model.slotList(0), f, rules));
    EXPECT_EQ(fixFindings(model, found, rules), 0);
    EXPECT_EQ(times(0), (std::vector<std::int32_t>{0, 1100, 1200, 1300, 2000, 2050, 2080, 9000}));
    EXPECT_FALSE(model.CanUndo());
}

}  // namespace
}  // namespace verbanta
