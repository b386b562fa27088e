#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "editor/edit_session.h"
#include "model/sync_list.h"

namespace verbanta {

/// The time a caption is on screen, as the timing strip draws it: from its start to its end
/// sync, or to the next caption, or (for the last caption) to an open end the strip chooses.
struct CaptionRegion {
    int row = -1;      ///< the caption's row
    int endRow = -1;   ///< its end sync's row; -1 when nothing but the next row ends it
    int prevRow = -1;  ///< the last caption or end sync above it; -1 when none
    int nextRow = -1;  ///< the first caption or end sync after its end; -1 when none
    std::int32_t startMs = 0;
    std::int32_t endMs = 0;

    /// Nothing follows: the end is only where the strip stops drawing it.
    bool open() const { return endRow < 0 && nextRow < 0; }
    bool operator==(const CaptionRegion&) const = default;
};

/// Which part of a region is dragged.
enum class DragEdge { Start, End, Whole };

/// The region of a caption row; row -1 for an end sync, a comment or a row outside the list.
/// `openEndMs` ends a last caption that has no end sync.
CaptionRegion captionRegionAt(const SyncList& list, int row, std::int32_t openEndMs);

/// The regions that overlap [fromMs, toMs), in row order.
void captionRegionsIn(const SyncList& list, std::int32_t fromMs, std::int32_t toMs,
                      std::int32_t openEndMs, std::vector<CaptionRegion>& out);

/// Where dragging `edge` of the region to `toMs` leaves it: the start stays after the row
/// above, the end before the row after, and the start before the end. A middle drag keeps
/// the length, never goes the other way than asked, and leaves an open end where it is.
CaptionRegion draggedRegion(const SyncList& list, const CaptionRegion& region, DragEdge edge,
                            std::int32_t toMs);

/// The target nearest to `ms` when one lies within `withinMs`, else `ms`.
std::int32_t snapTime(std::int32_t ms, std::span<const std::int32_t> targets,
                      std::int32_t withinMs);

/// The timing strip's edits of the caption list: a drag of a region's edges.
class TimingDrag {
public:
    explicit TimingDrag(EditSession& session) : m_session(session) {}

    /// Drags an edge of a caption's region to a time, held between its neighbours: the start
    /// sync, the end sync (made when the next caption ended it), or both. One undo step; the
    /// row becomes current and the list takes the keys. False when nothing moved.
    bool dragTiming(int row, DragEdge edge, std::int32_t toMs);

private:
    EditSession& m_session;
};

}  // namespace verbanta
