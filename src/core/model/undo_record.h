#pragma once

#include <cstdint>

#include "model/sync_entry.h"
#include "model/sync_list.h"

namespace verbanta {

/// One record of the undo journal. Replay goes by row index: the node handles only tell which
/// entry was meant and must never be dereferenced, since that entry may be gone.
struct UndoRecord {
    enum Kind : std::int32_t { kRangeShift = 1, kModify = 2, kInsert = 3, kDelete = 4 };

    std::int32_t kind = 0;
    bool groupBegin = false;
    bool groupEnd = false;
    std::int32_t firstRow = -1;  ///< range shift: first row of the range
    std::int32_t lastRow = -1;   ///< range shift: last row of the range
    std::int32_t deltaMs = 0;    ///< range shift: amount added to the times
    bool endSyncsOnly = false;   ///< range shift: only end syncs were shifted
    Position node = nullptr;     ///< modify: the modified entry (identity only)
    std::int32_t row = -1;       ///< modify: its row
    std::int32_t language = 0;   ///< list slot the change was made in
    Position prevNode = nullptr; ///< insert, delete: the entry before (identity only)
    std::int32_t prevRow = -1;   ///< insert, delete: its row, -1 at the head
    SyncEntry entry;             ///< modify: old content; insert, delete: the entry
};

}  // namespace verbanta
