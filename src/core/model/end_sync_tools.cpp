// The end-sync tools of the model: bulk reset and clean-up of the current list's end syncs.
// Each walks the list once through a row batch, so that its insertions and removals stay
// linear on long files, and records exactly what the one-by-one operations would.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/sami_model.h"
#include "model/text_format.h"
#include "platform/messenger.h"

namespace verbanta {
namespace {

// Comments carry no meaningful time, so the tools look past them when they compare neighbours.

/// The first row from `row` on that is not a comment, or -1.
int nextNonComment(SamiModel::RowBatch& rows, int row)
{
    while (row < rows.count() && rows[row].isComment) ++row;
    return row < rows.count() ? row : -1;
}

/// The last row up to `row` that is not a comment, or -1.
int previousNonComment(SamiModel::RowBatch& rows, int row)
{
    while (row >= 0 && rows[row].isComment) --row;
    return row;
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

/// Groups the records pushed since `first` into one undo step when there are several.
void groupRun(SamiModel& model, JournalPosition first, int changes)
{
    if (changes > 1)
        model.GroupUndo(first, model.journal().lastPosition());
}

/// The walk shared by both reset tools; durationOf gives each caption's wanted duration.
template <class DurationOf>
int resetEndSyncs(SamiModel& model, bool rangeOnly, ResetRule rule, DurationOf durationOf)
{
    int from = 0;
    int to = model.GetCount() - 1;
    if (rangeOnly && !findMarkedRange(model.list(), from, to)) {
        model.messenger().showMessage("종료 싱크를 재설정할 범위를 지정해 주십시오.",
                                      MessageIcon::Warning);
        return -1;
    }
    SyncEntry endSync = model.endSyncEntry(0);

    // The cap must not cut the step apart while it is being recorded.
    UndoActionScope action(model.journal());
    const JournalPosition first = model.journal().nextPosition();
    int changes = 0;
    {
        SamiModel::RowBatch rows(model, model.GetCurrentSlot());
        // Every change lies after the caption at r, so only `to` moves with them.
        for (int r = from; r <= to; ++r) {
            const SyncEntry& e = rows[r];
            if (e.isEndSync || e.isComment)
                continue;
            const std::int64_t wanted = durationOf(e);
            // An end at or before the caption's start would hide it at once and be a timing
            // error: such a caption is left as it is.
            if (wanted <= 0)
                continue;
            const std::int32_t end = saturatedEnd(e.startMs + wanted);
            const int n = nextNonComment(rows, r + 1);
            if (n < 0 || !rows[n].isEndSync) {
                if (rule.conditional() || (n >= 0 && end >= rows[n].startMs))
                    continue;
                endSync.startMs = end;
                rows.insertAt(r + 1, endSync, true);
                ++changes;
                ++to;  // the new end sync lies within the range, or just after its end
                continue;
            }
            const int after = nextNonComment(rows, n + 1);
            if (after >= 0 && end >= rows[after].startMs) {
                // The new end would reach the next caption: the end sync goes.
                if (!rule.conditional()) {
                    rows.removeAt(n, true);
                    ++changes;
                    if (n <= to)
                        --to;
                }
                continue;
            }
            // A move is made and counted even to the time the end sync already has, so that a
            // run reports every end sync it set.
            const std::int64_t current = std::int64_t{rows[n].startMs} - e.startMs;
            if (!rule.allowsMove(current, wanted))
                continue;
            SyncEntry moved = rows[n];
            moved.startMs = end;
            rows.setAt(n, std::move(moved), true);
            ++changes;
        }
    }
    groupRun(model, first, changes);
    return changes;
}

}  // namespace

int SamiModel::ResetEndSyncsByDuration(std::int32_t durationMs, bool onlyIfShorter,
                                       bool onlyIfLonger, bool rangeOnly)
{
    DeferredCheckOrder defer(*this);
    return resetEndSyncs(*this, rangeOnly, ResetRule{onlyIfShorter, onlyIfLonger},
                         [durationMs](const SyncEntry&) { return std::int64_t{durationMs}; });
}

int SamiModel::ResetEndSyncsByLength(std::int32_t msPerCharacter, bool rangeOnly)
{
    DeferredCheckOrder defer(*this);
    return resetEndSyncs(*this, rangeOnly, ResetRule{}, [&](const SyncEntry& e) {
        return std::int64_t{msPerCharacter} * CountCharacters(StripTags(e.text, true));
    });
}

int SamiModel::RemoveInvalidEndSyncs()
{
    DeferredCheckOrder defer(*this);
    UndoActionScope action(m_journal);
    const JournalPosition first = m_journal.nextPosition();
    int removed = 0;
    {
        RowBatch rows(*this, currentSlot);
        const auto invalid = [&rows](int row) {
            const std::int32_t t = rows[row].startMs;
            const int p = previousNonComment(rows, row - 1);
            const int n = nextNonComment(rows, row + 1);
            return (p >= 0 && rows[p].startMs >= t) || (n >= 0 && t >= rows[n].startMs);
        };
        int r = 0;
        while (r < rows.count()) {
            if (rows[r].isComment || !rows[r].isEndSync || !invalid(r)) {
                ++r;
                continue;
            }
            rows.removeAt(r, true);
            ++removed;
            // The removal gives the end sync before it a new neighbour, which may make it
            // invalid too; checking back keeps one run from leaving one out of order.
            for (int p = previousNonComment(rows, r - 1); p >= 0 && rows[p].isEndSync && invalid(p);
                 p = previousNonComment(rows, p - 1)) {
                rows.removeAt(p, true);
                ++removed;
                --r;
            }
        }
    }
    groupRun(*this, first, removed);
    return removed;
}

}  // namespace verbanta
