// The end-sync tools of the model: bulk reset and clean-up of the current list's end syncs.
//
// A run first plans its changes in one walk, recording each change with the rows it would
// have if the changes were made one by one in list order (the rows the undo replay uses), and
// then rebuilds the list once. Inserting or removing one by one would shift the list's tail at
// every change, which is quadratic on long files.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "platform/messenger.h"

namespace verbanta {
namespace {

constexpr const char* kEndSyncText = "&nbsp;";

/// The changes of one run: the new order of the current list and the undo records.
class ListEdit {
public:
    /// endSync: the entry that inserted end syncs copy.
    ListEdit(SamiModel& model, SyncEntry endSync)
        : m_model(model), m_list(model.list()), m_endSync(std::move(endSync))
    {
        m_source.reserve(static_cast<std::size_t>(m_list.count()));
    }

    /// The row the next placed entry gets; every earlier change is already counted in it.
    int placed() const { return static_cast<int>(m_source.size()); }
    /// The original index of the entry placed at a row, or -1 for a new entry.
    int originalAt(int row) const
    {
        const int s = m_source[static_cast<std::size_t>(row)];
        return s >= 0 ? s : -1;
    }

    void keep(int original) { m_source.push_back(original); }
    /// Places a new end sync, a copy of the template at the time, after the entry placed last.
    void insert(std::int32_t startMs)
    {
        const int before = placed() - 1;
        m_records.push_back({UndoRecord::kInsert, -1, before, -1,
                             before >= 0 ? originalAt(before) : -1,
                             ~static_cast<int>(m_added.size()), 0});
        m_source.push_back(~static_cast<int>(m_added.size()));
        m_added.push_back(startMs);
        m_structural = true;
    }
    /// Removes an original entry that would be placed next: it is not placed at all.
    void drop(int original)
    {
        const int before = placed() - 1;
        m_records.push_back({UndoRecord::kDelete, -1, before, -1,
                             before >= 0 ? originalAt(before) : -1, original, 0});
        m_structural = true;
    }
    /// Removes the original entry placed at the row.
    void unplace(int row)
    {
        m_records.push_back({UndoRecord::kDelete, -1, row - 1, -1,
                             row > 0 ? originalAt(row - 1) : -1, originalAt(row), 0});
        m_source.erase(m_source.begin() + row);
        m_structural = true;
    }
    /// Changes the start of an original entry that is still ahead at the row.
    void move(int original, int row, std::int32_t startMs)
    {
        m_records.push_back(
            {UndoRecord::kModify, row, -1, original, -1, original, m_list[original].startMs});
        m_list[original].startMs = startMs;
    }

    /// Applies the plan and pushes its records as one undo step; the number of changes.
    int commit();

private:
    /// A change in list order, with the rows it has when the changes are made one by one.
    /// Entries are named by original index or ~index of a new entry, and resolved to contents
    /// and handles only after the rebuild.
    struct Change {
        std::int32_t kind;
        int row;
        int prevRow;
        int nodeOriginal;
        int prevOriginal;
        int subject;
        std::int32_t oldStartMs;  ///< modify: the time before the move
    };

    void rebuild();
    void fillRecord(const Change& c, UndoRecord& r) const;
    Position handleFor(int original) const
    {
        if (original < 0)
            return nullptr;
        const int row = m_finalRow[static_cast<std::size_t>(original)];
        return row < 0 ? nullptr : m_list.at(row);
    }
    /// Where a handle to an original row points after the run: the same entry, or the entry
    /// before it when it was removed (as `Remove` moves the playback cursor).
    int movedRow(int original) const
    {
        for (int r = original; r >= 0; --r)
            if (m_finalRow[static_cast<std::size_t>(r)] >= 0)
                return m_finalRow[static_cast<std::size_t>(r)];  // removed ones are negative
        return -1;
    }

    SamiModel& m_model;
    SyncList& m_list;
    SyncEntry m_endSync;
    std::vector<int> m_source;          ///< new order: original index, or ~index into m_added
    std::vector<std::int32_t> m_added;  ///< the times of the new end syncs
    std::vector<Change> m_records;
    /// Per original index: its row after the run, or ~index into m_removed.
    std::vector<int> m_finalRow;
    std::vector<int> m_addedRow;  ///< per new end sync: its row after the run
    std::vector<SyncEntry> m_removed;
    bool m_structural = false;
};

void ListEdit::rebuild()
{
    const int n = m_list.count();
    const int m = placed();
    m_finalRow.assign(static_cast<std::size_t>(n), -1);
    m_addedRow.assign(m_added.size(), -1);
    for (int k = 0; k < m; ++k) {
        const int s = m_source[static_cast<std::size_t>(k)];
        (s >= 0 ? m_finalRow[static_cast<std::size_t>(s)]
                : m_addedRow[static_cast<std::size_t>(~s)]) = k;
    }
    if (!m_structural)
        return;

    // Handles into this list that outlive the run: keep them on their entries.
    const std::array<Position*, 2> handles = {
        &m_model.playCursor,
        &m_model.parseState().insertAt[static_cast<std::size_t>(m_model.GetCurrentSlot())]};
    std::array<int, 2> handleRows{};
    for (std::size_t h = 0; h < handles.size(); ++h)
        handleRows[h] = m_list.contains(*handles[h]) ? m_list.indexOf(*handles[h]) : -2;

    // The untouched head keeps its nodes; from the first difference on, the nodes are reused
    // in order for the new sequence, so no handle is ever left dangling. Entries move in
    // place: removed ones out and the rest closed up front to back, then spread back to
    // front around the new end syncs.
    int first = 0;
    while (first < std::min(n, m) && m_source[static_cast<std::size_t>(first)] == first) ++first;
    int kept = first;
    for (int p = first; p < n; ++p) {
        int& row = m_finalRow[static_cast<std::size_t>(p)];
        if (row < 0) {
            row = ~static_cast<int>(m_removed.size());
            m_removed.push_back(std::move(m_list[p]));
        } else {
            if (kept != p)
                m_list[kept] = std::move(m_list[p]);
            ++kept;
        }
    }
    while (m_list.count() < m) m_list.insertAt(m_list.count(), SyncEntry());
    while (m_list.count() > m) m_list.remove(m_list.tail());
    for (int k = m - 1; k >= first; --k) {
        const int s = m_source[static_cast<std::size_t>(k)];
        if (s >= 0) {
            if (--kept != k)
                m_list[k] = std::move(m_list[kept]);
        } else {
            m_list[k] = m_endSync;
            m_list[k].startMs = m_added[static_cast<std::size_t>(~s)];
        }
    }

    for (std::size_t h = 0; h < handles.size(); ++h) {
        if (handleRows[h] == -2)
            continue;
        const int row = movedRow(handleRows[h]);
        *handles[h] = row < 0 ? nullptr : m_list.at(row);
    }
}

void ListEdit::fillRecord(const Change& c, UndoRecord& r) const
{
    r.kind = c.kind;
    r.row = c.row;
    r.prevRow = c.prevRow;
    r.node = handleFor(c.nodeOriginal);
    r.prevNode = handleFor(c.prevOriginal);
    if (c.subject < 0) {
        r.entry = m_list[m_addedRow[static_cast<std::size_t>(~c.subject)]];
    } else if (c.kind == UndoRecord::kDelete) {
        r.entry =
            m_removed[static_cast<std::size_t>(~m_finalRow[static_cast<std::size_t>(c.subject)])];
    } else {
        r.entry = m_list[m_finalRow[static_cast<std::size_t>(c.subject)]];
        r.entry.startMs = c.oldStartMs;
    }
}

int ListEdit::commit()
{
    if (m_records.empty())
        return 0;
    rebuild();
    // The cap must not cut the step apart while it is being recorded.
    UndoActionScope scope(m_model.journal());
    UndoRecord r;
    r.language = m_model.GetCurrentSlot();
    JournalPosition firstPushed = -1;
    JournalPosition lastPushed = -1;
    for (const Change& c : m_records) {
        fillRecord(c, r);
        lastPushed = m_model.PushUndo(r);
        if (firstPushed < 0)
            firstPushed = lastPushed;
    }
    if (m_records.size() > 1)
        m_model.GroupUndo(firstPushed, lastPushed);
    return static_cast<int>(m_records.size());
}

/// For each row, the next row that is not a comment, or -1. Comments carry no meaningful time,
/// so the tools look past them when they compare neighbours.
std::vector<int> nextNonComment(const SyncList& list)
{
    std::vector<int> next(static_cast<std::size_t>(list.count()), -1);
    int following = -1;
    for (int i = list.count() - 1; i >= 0; --i) {
        next[static_cast<std::size_t>(i)] = following;
        if (!list[i].isComment)
            following = i;
    }
    return next;
}

/// The marked range [first, last], or false when it is not marked: the start is the last
/// `rangeStart` entry seen before the first `rangeEnd` entry, which is the end.
bool findMarkedRange(const SyncList& list, int& first, int& last)
{
    int start = -1;
    for (int i = 0; i < list.count(); ++i) {
        if (list[i].rangeStart)
            start = i;
        if (list[i].rangeEnd) {
            if (start < 0)
                return false;
            first = start;
            last = i;
            return true;
        }
    }
    return false;
}

std::int32_t saturatedEnd(std::int64_t end)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        end, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

struct ResetRule {
    bool onlyIfShorter = false;
    bool onlyIfLonger = false;
    bool conditional() const { return onlyIfShorter || onlyIfLonger; }
    bool allowsMove(std::int64_t currentDuration, std::int64_t wanted) const
    {
        return !conditional() || (onlyIfShorter && currentDuration < wanted) ||
               (onlyIfLonger && currentDuration > wanted);
    }
};

/// The walk shared by both reset tools; durationOf gives each caption's wanted duration.
template <class DurationOf>
int resetEndSyncs(SamiModel& model, bool rangeOnly, ResetRule rule, DurationOf durationOf)
{
    SyncList& list = model.list();
    const int n = list.count();
    int from = 0;
    int to = n - 1;
    if (rangeOnly && !findMarkedRange(list, from, to)) {
        model.messenger().showMessage("종료 싱크를 재설정할 범위를 지정해 주십시오.",
                                      MessageIcon::Warning);
        return -1;
    }
    const std::vector<int> next = nextNonComment(list);
    SyncEntry endSync;
    model.InitEntry(endSync);
    endSync.isEndSync = 1;
    endSync.text = kEndSyncText;

    ListEdit edit(model, std::move(endSync));
    int dropped = -1;  // the end sync removed for an earlier caption, still ahead in the walk
    for (int i = 0; i < n; ++i) {
        if (i == dropped) {
            edit.drop(i);
            continue;
        }
        edit.keep(i);
        const SyncEntry& e = list[i];
        if (i < from || i > to || e.isEndSync || e.isComment)
            continue;
        const std::int64_t wanted = durationOf(e);
        // A caption whose end would not come after its start is left as it is: an end sync at
        // its own start would hide it at once and be a timing error.
        if (wanted <= 0)
            continue;
        const std::int32_t end = saturatedEnd(e.startMs + wanted);
        const int rowE = edit.placed() - 1;
        const int j = next[static_cast<std::size_t>(i)];
        if (j < 0 || !list[j].isEndSync) {
            if (rule.conditional() || (j >= 0 && end >= list[j].startMs))
                continue;
            edit.insert(end);
            continue;
        }
        const SyncEntry& end0 = list[j];
        const int k = next[static_cast<std::size_t>(j)];
        const int rowN = rowE + (j - i);  // only comments lie between the caption and N
        if (k >= 0 && end >= list[k].startMs) {
            if (!rule.conditional())
                dropped = j;
            continue;
        }
        // Moving an end sync to the time it already has changes nothing and is not counted.
        if (end == end0.startMs ||
            !rule.allowsMove(static_cast<std::int64_t>(end0.startMs) - e.startMs, wanted))
            continue;
        edit.move(j, rowN, end);
    }
    return edit.commit();
}

}  // namespace

int SamiModel::ResetEndSyncsByDuration(std::int32_t durationMs, bool onlyIfShorter,
                                       bool onlyIfLonger, bool rangeOnly)
{
    DeferredCheckOrder defer(*this);
    const int changes =
        resetEndSyncs(*this, rangeOnly, ResetRule{onlyIfShorter, onlyIfLonger},
                      [durationMs](const SyncEntry&) { return std::int64_t{durationMs}; });
    if (changes > 0)
        requestCheckOrder();
    return changes;
}

int SamiModel::ResetEndSyncsByLength(std::int32_t msPerCharacter, bool rangeOnly)
{
    DeferredCheckOrder defer(*this);
    const int changes = resetEndSyncs(*this, rangeOnly, ResetRule{}, [&](const SyncEntry& e) {
        return std::int64_t{msPerCharacter} * CountCharacters(StripTags(e.text, true));
    });
    if (changes > 0)
        requestCheckOrder();
    return changes;
}

int SamiModel::RemoveInvalidEndSyncs()
{
    DeferredCheckOrder defer(*this);
    SyncList& l = list();
    const int n = l.count();
    const std::vector<int> next = nextNonComment(l);
    ListEdit edit(*this, SyncEntry());
    std::vector<int> kept;  // rows of the placed entries that are not comments, in order

    const auto invalid = [&](const SyncEntry& e, std::size_t below, int following) {
        // below: how many kept non-comment entries lie before e; its previous is the last one.
        if (below > 0 && l[edit.originalAt(kept[below - 1])].startMs >= e.startMs)
            return true;
        return following >= 0 && e.startMs >= l[following].startMs;
    };

    for (int i = 0; i < n; ++i) {
        const SyncEntry& e = l[i];
        if (e.isComment) {
            edit.keep(i);
            continue;
        }
        const int following = next[static_cast<std::size_t>(i)];
        if (!e.isEndSync || !invalid(e, kept.size(), following)) {
            edit.keep(i);
            kept.push_back(edit.placed() - 1);
            continue;
        }
        edit.drop(i);
        // Its removal gives the end sync before it a new neighbour, which may make it invalid
        // too; checking back keeps one run from leaving an out-of-order end sync behind.
        while (!kept.empty()) {
            const int row = kept.back();
            const SyncEntry& before = l[edit.originalAt(row)];
            if (!before.isEndSync || !invalid(before, kept.size() - 1, following))
                break;
            edit.unplace(row);
            kept.pop_back();
        }
    }
    const int removed = edit.commit();
    if (removed > 0)
        requestCheckOrder();
    return removed;
}

}  // namespace verbanta
