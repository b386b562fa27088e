// Caption regions on the timeline and the drag of their edges in the timing strip: the
// limits a drag keeps, and the one undo step it makes.
#include "editor/timing_drag.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace verbanta {
namespace {

/// The next row from `row` on (in `step` direction) that is not a comment, or -1.
int timedRow(const SyncList& list, int row, int step)
{
    for (; row >= 0 && row < list.count(); row += step)
        if (!list[row].isComment)
            return row;
    return -1;
}

std::int32_t clampedMs(std::int64_t ms)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, INT32_MIN, INT32_MAX));
}

}  // namespace

CaptionRegion captionRegionAt(const SyncList& list, int row, std::int32_t openEndMs)
{
    CaptionRegion r;
    if (row < 0 || row >= list.count() || list[row].isComment || list[row].isEndSync)
        return r;
    r.row = row;
    r.startMs = list[row].startMs;
    r.prevRow = timedRow(list, row - 1, -1);
    const int after = timedRow(list, row + 1, 1);
    if (after >= 0 && list[after].isEndSync) {
        r.endRow = after;
        r.endMs = list[after].startMs;
        r.nextRow = timedRow(list, after + 1, 1);
    } else {
        r.nextRow = after;
        r.endMs = after >= 0 ? list[after].startMs : std::max(openEndMs, r.startMs);
    }
    return r;
}

void captionRegionsIn(const SyncList& list, std::int32_t fromMs, std::int32_t toMs,
                      std::int32_t openEndMs, std::vector<CaptionRegion>& out)
{
    out.clear();
    for (int row = 0; row < list.count(); ++row) {
        const SyncEntry& e = list[row];
        // Most rows lie far off the view: their start alone rules them out.
        if (e.isComment || e.isEndSync || e.startMs >= toMs)
            continue;
        const CaptionRegion r = captionRegionAt(list, row, openEndMs);
        if (r.endMs > fromMs || (r.endMs <= r.startMs && r.startMs >= fromMs))
            out.push_back(r);
    }
}

CaptionRegion draggedRegion(const SyncList& list, const CaptionRegion& region, DragEdge edge,
                            std::int32_t toMs)
{
    CaptionRegion r = region;
    // A start equal to the row above's is a timing error; so is an end at the next row's.
    const std::int64_t minStart =
        region.prevRow >= 0 ? std::int64_t{list[region.prevRow].startMs} + 1 : 0;
    const std::int64_t maxEnd =
        region.nextRow >= 0 ? std::int64_t{list[region.nextRow].startMs} - 1 : INT32_MAX;
    const std::int64_t start = region.startMs;
    const std::int64_t end = region.endMs;
    switch (edge) {
        case DragEdge::Start:
            if (minStart <= end - 1)
                r.startMs = clampedMs(std::clamp<std::int64_t>(toMs, minStart, end - 1));
            break;
        case DragEdge::End:
            if (start + 1 <= maxEnd)
                r.endMs = clampedMs(std::clamp<std::int64_t>(toMs, start + 1, maxEnd));
            break;
        case DragEdge::Whole: {
            const std::int64_t wanted = std::int64_t{toMs} - start;
            const std::int64_t lowest = minStart - start;
            const std::int64_t highest = region.open() ? INT32_MAX - start : maxEnd - end;
            if (lowest > highest)
                break;
            std::int64_t delta = std::clamp(wanted, lowest, highest);
            // Held by a neighbour on the side it goes to, it does not jump the other way.
            if ((delta < 0) != (wanted < 0))
                delta = 0;
            r.startMs = clampedMs(start + delta);
            if (!region.open())
                r.endMs = clampedMs(end + delta);
            break;
        }
    }
    return r;
}

std::int32_t snapTime(std::int32_t ms, std::span<const std::int32_t> targets, std::int32_t withinMs)
{
    std::int64_t best = ms;
    std::int64_t bestDistance = std::int64_t{withinMs} + 1;
    for (const std::int32_t t : targets) {
        const std::int64_t d = std::llabs(std::int64_t{t} - ms);
        if (d < bestDistance) {
            best = t;
            bestDistance = d;
        }
    }
    return static_cast<std::int32_t>(best);
}

bool TimingDrag::dragTiming(int row, DragEdge edge, std::int32_t toMs)
{
    SamiModel& model = m_session.model();
    const SyncList& list = model.list();
    const CaptionRegion before = captionRegionAt(list, row, INT32_MAX);
    if (before.row < 0)
        return false;
    const CaptionRegion after = draggedRegion(list, before, edge, toMs);
    const bool startMoves = after.startMs != before.startMs;
    // An open end is no time of the list: only an end drag makes one.
    const bool endMoves = after.endMs != before.endMs && (!before.open() || edge == DragEdge::End);
    if (!startMoves && !endMoves)
        return false;
    {
        EditSession::Action action(m_session);
        if (startMoves) {
            SyncEntry moved = *m_session.entry(row);
            moved.startMs = after.startMs;
            model.SetAt(m_session.rowPos(row), moved, true);
        }
        if (endMoves && before.endRow >= 0) {
            SyncEntry moved = *m_session.entry(before.endRow);
            moved.startMs = after.endMs;
            model.SetAt(m_session.rowPos(before.endRow), moved, true);
        } else if (endMoves) {
            // The next caption ended it: the end it now has before that one is an end sync.
            model.InsertEndSync(m_session.rowPos(row), after.endMs, true);
        }
        action.group();
    }
    m_session.finishChange(row);
    m_session.requestFocus(FocusTarget::List);
    return true;
}

}  // namespace verbanta
