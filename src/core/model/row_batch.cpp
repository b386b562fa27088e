// Bulk row edits of one list through the list's gap batch, with the undo records and handle
// updates of the one-by-one operations.

#include <algorithm>
#include <utility>

#include "model/sami_model.h"

namespace verbanta {

SamiModel::RowBatch::RowBatch(SamiModel& model, int slot)
    : m_model(model), m_slot(slot), m_batch(model.slotList(slot))
{
}

SamiModel::RowBatch::~RowBatch()
{
    if (m_recorded && m_slot == m_model.currentSlot)
        m_model.requestCheckOrder();
}

Position SamiModel::RowBatch::insertAt(int row, SyncEntry entry, bool recordUndo)
{
    row = std::clamp(row, 0, count());
    UndoRecord r;
    if (recordUndo) {
        r.kind = UndoRecord::kInsert;
        r.language = m_slot;
        r.prevNode = m_batch.at(row - 1);
        r.prevRow = row - 1;
        r.entry = entry;
    }
    Position added = m_batch.insertAt(row, std::move(entry));
    if (recordUndo) {
        m_model.PushUndo(std::move(r));
        m_recorded = true;
    }
    return added;
}

void SamiModel::RowBatch::removeAt(int row, bool recordUndo)
{
    Position before = m_batch.at(row - 1);
    Position removed = m_batch.at(row);
    m_model.forgetPosition(removed, before);
    SyncEntry entry = m_batch.removeAt(row);
    if (recordUndo) {
        UndoRecord r;
        r.kind = UndoRecord::kDelete;
        r.language = m_slot;
        r.prevNode = before;
        r.prevRow = row - 1;
        r.entry = std::move(entry);
        m_model.PushUndo(std::move(r));
        m_recorded = true;
    }
}

void SamiModel::RowBatch::setAt(int row, SyncEntry entry, bool recordUndo)
{
    Position pos = m_batch.at(row);
    if (recordUndo) {
        UndoRecord r;
        r.kind = UndoRecord::kModify;
        r.node = pos;
        r.row = row;
        r.language = m_slot;
        r.entry = std::move(pos->entry);
        m_model.PushUndo(std::move(r));
        m_recorded = true;
    }
    pos->entry = std::move(entry);
}

}  // namespace verbanta
