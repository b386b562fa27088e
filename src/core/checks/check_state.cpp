#include "checks/check_state.h"

#include <algorithm>
#include <utility>

#include "model/sync_list.h"

namespace verbanta {

CheckState::CheckState(const CheckProfile& profile, double framesPerSecond)
    : m_rules(profile, framesPerSecond)
{
}

void CheckState::attach(const SyncList& list, int slot)
{
    m_list = &list;
    m_slot = slot;
    m_all = true;
}

void CheckState::detach()
{
    m_list = nullptr;
    m_all = true;
}

void CheckState::setProfile(const CheckProfile& profile)
{
    m_rules = CaptionRules(profile, m_rules.framesPerSecond());
    m_all = true;
}

void CheckState::setFrameRate(double framesPerSecond)
{
    m_rules = CaptionRules(m_rules.profile(), framesPerSecond);
    m_all = true;
}

void CheckState::markDirty(int first, int last)
{
    if (m_dirty.size() >= kMaxDirtyRanges)
        m_all = true;
    else
        m_dirty.emplace_back(first, last);
}

void CheckState::rowsInserted(int first, int count)
{
    if (m_all || count <= 0)
        return;
    const int at = std::clamp(first, 0, static_cast<int>(m_rowRules.size()));
    m_rowRules.insert(m_rowRules.begin() + at, static_cast<std::size_t>(count), 0);
    for (auto& [a, b] : m_dirty) {
        if (a >= at)
            a += count;
        if (b >= at)
            b += count;
    }
    markDirty(at, at + count - 1);
}

void CheckState::rowsRemoved(int first, int count)
{
    const int size = static_cast<int>(m_rowRules.size());
    if (m_all || count <= 0 || first < 0 || first >= size)
        return;
    const int end = std::min(first + count, size);
    for (int row = first; row < end; ++row) store(row, 0);
    m_rowRules.erase(m_rowRules.begin() + first, m_rowRules.begin() + end);
    const int removed = end - first;
    // Ranges lose their removed rows; one removed whole is left empty and skipped.
    for (auto& [a, b] : m_dirty) {
        a = a < first ? a : (a >= end ? a - removed : first);
        b = b < first ? b : (b >= end ? b - removed : first - 1);
    }
    // The rows around the gap are neighbours now: the caption before it sees a new next entry.
    markDirty(first, first);
}

void CheckState::rowsChanged(int first, int last)
{
    if (!m_all && first <= last)
        markDirty(first, last);
}

void CheckState::store(int row, CheckRuleSet rules)
{
    CheckRuleSet& held = m_rowRules[static_cast<std::size_t>(row)];
    if (held == rules)
        return;
    for (int r = 0; r < kCheckRuleCount; ++r) {
        const CheckRuleSet bit = ruleBit(static_cast<CheckRule>(r));
        m_rowsBreaking[static_cast<std::size_t>(r)] += ((rules & bit) != 0) - ((held & bit) != 0);
    }
    m_rowsWithFindings += (rules != 0) - (held != 0);
    held = rules;
}

void CheckState::recheck(int row)
{
    const CheckRuleSet rules = m_rules.rulesAt(*m_list, row);
    if (rules == m_rowRules[static_cast<std::size_t>(row)])
        return;
    store(row, rules);
    if (m_changed.first > m_changed.last)
        m_changed = {row, row};
    m_changed = {std::min(m_changed.first, row), std::max(m_changed.last, row)};
}

void CheckState::recheckAll()
{
    m_rowRules.assign(m_list ? static_cast<std::size_t>(m_list->count()) : 0, 0);
    m_rowsBreaking.fill(0);
    m_rowsWithFindings = 0;
    for (int row = 0; row < static_cast<int>(m_rowRules.size()); ++row)
        store(row, m_rules.rulesAt(*m_list, row));
}

CheckState::RowRange CheckState::settle()
{
    // A count that disagrees with the list means a notification was missed: start afresh.
    if (m_all || !m_list || static_cast<int>(m_rowRules.size()) != m_list->count()) {
        recheckAll();
        m_all = false;
        m_dirty.clear();
        m_changed = {};
        return {0, static_cast<int>(m_rowRules.size()) - 1};
    }
    const int last = m_list->count() - 1;
    std::sort(m_dirty.begin(), m_dirty.end());
    int done = -1;  // rows up to here are rechecked already
    for (auto [a, b] : m_dirty) {
        if (b < a || last < 0)
            continue;
        // A removal at the end leaves its mark just past the last row: the row before it is
        // the one whose neighbours changed.
        a = std::clamp(a, 0, last);
        b = std::clamp(b, 0, last);
        for (int row = std::max(firstAffectedRow(*m_list, a), done + 1); row <= b; ++row)
            recheck(row);
        done = std::max(done, b);
    }
    m_dirty.clear();
    return std::exchange(m_changed, RowRange{});
}

CheckRuleSet CheckState::rulesAt(int row)
{
    settle();
    return row >= 0 && row < static_cast<int>(m_rowRules.size())
               ? m_rowRules[static_cast<std::size_t>(row)]
               : 0;
}

std::vector<CheckFinding> CheckState::findingsAt(int row)
{
    std::vector<CheckFinding> findings;
    if (m_list && row >= 0 && row < m_list->count())
        m_rules.appendFindings(*m_list, m_slot, row, findings);
    return findings;
}

int CheckState::rowsBreaking(CheckRule rule)
{
    settle();
    return m_rowsBreaking[static_cast<std::size_t>(rule)];
}

int CheckState::rowsWithFindings()
{
    settle();
    return m_rowsWithFindings;
}

}  // namespace verbanta
