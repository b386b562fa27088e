#pragma once

#include <array>
#include <utility>
#include <vector>

#include "checks/check_rules.h"

namespace verbanta {

class SyncList;

/// The rules each row of one list breaks, kept up to date change by change for the caption
/// list's marks: a change costs a recheck of the rows it names and of the caption before them,
/// never of the whole list.
///
/// How the editor drives it, from the notifications its `CaptionViewListener` receives:
/// - `attach(model.list(), slot)` when a document is shown or another language is chosen, and
///   `listReplaced()` for any other whole-list notification;
/// - `rowsInserted`, `rowsRemoved` and `rowsChanged` with the listener's arguments, in the
///   order delivered (each in the coordinates that hold after the ones before it);
///   `marksChanged` needs nothing, since editor marks are not checked;
/// - `setProfile` when the options change, `setFrameRate` when a video opens or closes.
/// A notification only notes what changed. The rows are rechecked when next asked for, so the
/// list must hold all of a change's notifications by then, as it does once they are delivered.
/// A change may alter the marks of rows it does not name (the caption before a moved end
/// sync): after delivering one, the editor calls `settle` and repaints the rows it returns.
class CheckState {
public:
    CheckState(const CheckProfile& profile, double framesPerSecond);

    /// Checks this list from now on; it must outlive the state or be detached.
    void attach(const SyncList& list, int slot);
    void detach();
    void setProfile(const CheckProfile& profile);
    void setFrameRate(double framesPerSecond);
    const CaptionRules& rules() const { return m_rules; }

    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    void rowsChanged(int first, int last);
    void listReplaced() { m_all = true; }

    /// The rows first..last, none when first > last.
    struct RowRange {
        int first = 0;
        int last = -1;
        bool operator==(const RowRange&) const = default;
    };

    /// Rechecks what the notifications since the last call named; the rows whose rules
    /// changed lie within the range returned (every row after a whole-list recheck).
    RowRange settle();
    /// The rules the row breaks; 0 for a row outside the list or with no list attached.
    CheckRuleSet rulesAt(int row);
    /// The row's findings with their values, for its tooltip.
    std::vector<CheckFinding> findingsAt(int row);
    /// How many rows break the rule.
    int rowsBreaking(CheckRule rule);
    /// How many rows break at least one rule.
    int rowsWithFindings();

private:
    /// More separate places than this in one change are rechecked as a whole list.
    static constexpr std::size_t kMaxDirtyRanges = 64;

    void markDirty(int first, int last);
    void store(int row, CheckRuleSet rules);
    void recheckAll();
    void recheck(int row);

    CaptionRules m_rules;
    const SyncList* m_list = nullptr;
    int m_slot = 0;
    std::vector<CheckRuleSet> m_rowRules;
    /// Row ranges [first, last] still to recheck, in the rows' current coordinates.
    std::vector<std::pair<int, int>> m_dirty;
    bool m_all = true;
    std::array<int, kCheckRuleCount> m_rowsBreaking{};
    int m_rowsWithFindings = 0;
    RowRange m_changed;  ///< rows whose rules changed since the last settle
};

}  // namespace verbanta
