#pragma once

#include <array>
#include <optional>

#include "model/sami_model.h"

namespace verbanta {

class ChangeCollector;

/// Applies the undo journal's records to the lists by row index, one step (a group or a
/// single record) at a time. The records' node handles are never followed: the entries they
/// named may be gone. A step's edits run through one row batch per list, so undoing a bulk
/// command stays linear.
class UndoReplay {
public:
    /// What the last applied record of a step was, for the selection afterwards.
    struct Step {
        bool applied = false;
        std::int32_t kind = 0;
        std::int32_t language = -1;
        std::int32_t row = -1;      ///< modify: the row
        std::int32_t prevRow = -1;  ///< insert, delete: the row before
    };

    /// Changes to the current list are reported to `changes`.
    UndoReplay(SamiModel& model, ChangeCollector& changes) : m_model(model), m_changes(changes) {}

    Step undo();
    Step redo();

private:
    void apply(UndoRecord& record, bool forward);
    SamiModel::RowBatch& batchFor(int slot);
    void closeBatches();
    bool reports(int slot) const { return slot == m_model.GetCurrentSlot(); }

    SamiModel& m_model;
    ChangeCollector& m_changes;
    std::array<std::optional<SamiModel::RowBatch>, SamiModel::kSlotCount> m_batches;
};

}  // namespace verbanta
