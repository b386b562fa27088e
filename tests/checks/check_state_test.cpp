#include "checks/check_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "model/sync_list.h"

namespace verbanta {
namespace {

/// A notification as the caption view's listener receives it.
struct Notice {
    enum Kind { Inserted, Removed, Changed } kind;
    int first;
    int second;  ///< count, or the last row for Changed
};

void Deliver(CheckState& state, const std::vector<Notice>& notices)
{
    for (const Notice& n : notices) {
        if (n.kind == Notice::Inserted)
            state.rowsInserted(n.first, n.second);
        else if (n.kind == Notice::Removed)
            state.rowsRemoved(n.first, n.second);
        else
            state.rowsChanged(n.first, n.second);
    }
}

/// The state agrees with a fresh check of every row, and so do its counts.
void ExpectMatchesFullCheck(CheckState& state, const SyncList& list, const std::string& step)
{
    const CaptionRules& rules = state.rules();
    int flagged = 0;
    std::vector<int> perRule(kCheckRuleCount, 0);
    for (int row = 0; row < list.count(); ++row) {
        const CheckRuleSet expected = rules.rulesAt(list, row);
        ASSERT_EQ(state.rulesAt(row), expected) << step << ", row " << row;
        flagged += expected != 0;
        for (int r = 0; r < kCheckRuleCount; ++r)
            perRule[static_cast<std::size_t>(r)] += (expected >> r) & 1;
    }
    EXPECT_EQ(state.rowsWithFindings(), flagged) << step;
    for (int r = 0; r < kCheckRuleCount; ++r)
        EXPECT_EQ(state.rowsBreaking(static_cast<CheckRule>(r)),
                  perRule[static_cast<std::size_t>(r)])
            << step << ", rule " << r;
}

SyncEntry RandomEntry(std::mt19937& random, std::int32_t ms)
{
    static const std::vector<std::string> kTexts = {
        "\xb0\xa1",            // 가
        "abc<br>def<br>ghi",   // three lines
        std::string(40, 'x'),  // too many letters
        "<i>open",             // unpaired tag
        "&nbsp; ",             // empty caption
    };
    SyncEntry e;
    e.startMs = ms;
    const int kind = static_cast<int>(random() % 10);
    if (kind < 3) {
        e.isEndSync = 1;
        e.text = "&nbsp;";
    } else if (kind == 3) {
        e.isComment = 1;
        e.text = "note";
    } else {
        e.text = kTexts[random() % kTexts.size()];
    }
    return e;
}

// Every kind of change, several per command and delivered only after the command, as the
// editor delivers them: the marks always equal a fresh check of the whole list.
TEST(CheckState, FollowsInsertsRemovalsAndChangesAsAFullCheckWould)
{
    std::mt19937 random(20240522);
    SyncList list;
    for (int i = 0; i < 60; ++i) list.insertAt(i, RandomEntry(random, i * 900));
    CheckState state(CheckProfile(), 24);
    state.attach(list, 0);
    ExpectMatchesFullCheck(state, list, "attached");
    std::vector<CheckRuleSet> marks;
    for (int row = 0; row < list.count(); ++row) marks.push_back(state.rulesAt(row));
    for (int command = 0; command < 400; ++command) {
        std::vector<Notice> notices;
        const int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits; ++e) {
            const int op = static_cast<int>(random() % 3);
            const std::int32_t ms = static_cast<std::int32_t>(random() % 60000);
            if (op == 0 || list.count() < 2) {
                const int row = static_cast<int>(random() % (list.count() + 1));
                const int count = 1 + static_cast<int>(random() % 2);
                for (int k = 0; k < count; ++k) list.insertAt(row + k, RandomEntry(random, ms + k));
                notices.push_back({Notice::Inserted, row, count});
            } else if (op == 1) {
                const int row = static_cast<int>(random() % list.count());
                list.remove(list.at(row));
                notices.push_back({Notice::Removed, row, 1});
            } else {
                const int row = static_cast<int>(random() % list.count());
                list[row] = RandomEntry(random, ms);
                notices.push_back({Notice::Changed, row, row});
            }
        }
        Deliver(state, notices);
        const CheckState::RowRange repaint = state.settle();
        // Where no row moved, every row whose marks changed is among those to repaint.
        const bool moved = std::any_of(notices.begin(), notices.end(),
                                       [](const Notice& n) { return n.kind != Notice::Changed; });
        for (int row = 0; !moved && row < list.count(); ++row) {
            const bool changed = state.rulesAt(row) != marks[static_cast<std::size_t>(row)];
            EXPECT_TRUE(!changed || (row >= repaint.first && row <= repaint.last)) << "row " << row;
        }
        ExpectMatchesFullCheck(state, list, "command " + std::to_string(command));
        marks.resize(static_cast<std::size_t>(list.count()));
        for (int row = 0; row < list.count(); ++row)
            marks[static_cast<std::size_t>(row)] = state.rulesAt(row);
        if (HasFatalFailure())
            return;
    }
}

TEST(CheckState, RechecksTheCaptionBeforeRowsRemovedAtTheEnd)
{
    SyncList list;
    SyncEntry caption;
    caption.text = "\xb0\xa1";
    list.insertAt(0, caption);
    SyncEntry end;
    end.isEndSync = 1;
    end.startMs = 1500;
    list.insertAt(1, end);
    CheckState state(CheckProfile(), 24);
    state.attach(list, 0);
    EXPECT_EQ(state.rulesAt(0), 0);
    list.remove(list.at(1));
    state.rowsRemoved(1, 1);
    EXPECT_EQ(state.settle(), (CheckState::RowRange{0, 0}));
    EXPECT_EQ(state.rulesAt(0), ruleBit(CheckRule::NoEndBeforeSilence));
    // A new profile or frame rate rechecks everything.
    state.setProfile(CheckProfile{.maxLettersPerSecond = 12, .maxLettersPerLine = 0});
    EXPECT_EQ(state.rulesAt(0),
              ruleBit(CheckRule::NoEndBeforeSilence) | ruleBit(CheckRule::LettersPerLine));
    ASSERT_EQ(state.findingsAt(0).size(), 2u);
    EXPECT_EQ(state.findingsAt(0)[0].rule, CheckRule::LettersPerLine);
    EXPECT_EQ(state.rulesAt(5), 0);
}

}  // namespace
}  // namespace verbanta
