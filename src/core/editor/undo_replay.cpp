#include "editor/undo_replay.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "editor/change_collector.h"

namespace verbanta {
namespace {

/// Adds a shift the way the shift commands do: in wrapping 32-bit arithmetic, so that the
/// opposite shift always restores the time exactly.
std::int32_t shifted(std::int32_t ms, std::uint32_t delta)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms) + delta);
}

UndoReplay::Step describe(const UndoRecord& r)
{
    return {true, r.kind, r.language, r.row, r.prevRow};
}

}  // namespace

SamiModel::RowBatch& UndoReplay::batchFor(int slot)
{
    auto& batch = m_batches[static_cast<std::size_t>(slot)];
    if (!batch)
        batch.emplace(m_model, slot);
    return *batch;
}

void UndoReplay::closeBatches()
{
    for (auto& batch : m_batches) batch.reset();
}

void UndoReplay::apply(UndoRecord& r, bool forward)
{
    if (r.language < 0 || r.language >= SamiModel::kSlotCount)
        return;
    SamiModel::RowBatch& batch = batchFor(r.language);
    const bool report = reports(r.language);
    switch (r.kind) {
        case UndoRecord::kRangeShift: {
            const auto delta = static_cast<std::uint32_t>(r.deltaMs);
            const std::uint32_t signedDelta = forward ? delta : 0u - delta;
            const int first = std::max(std::min(r.firstRow, r.lastRow), 0);
            const int last = std::min(std::max(r.firstRow, r.lastRow), batch.count() - 1);
            for (int row = first; row <= last; ++row) {
                SyncEntry& e = batch[row];
                if (!r.endSyncsOnly || e.isEndSync)
                    e.startMs = shifted(e.startMs, signedDelta);
            }
            if (report)
                m_changes.changed(first, last);
            break;
        }
        case UndoRecord::kModify:
            // The record keeps the other content, so that the next replay swaps it back.
            if (r.row >= 0 && r.row < batch.count()) {
                std::swap(batch[r.row], r.entry);
                if (report)
                    m_changes.changed(r.row, r.row);
            }
            break;
        case UndoRecord::kInsert:
        case UndoRecord::kDelete: {
            const int row = r.prevRow + 1;
            const bool insert = (r.kind == UndoRecord::kDelete) != forward;
            if (insert && row >= 0 && row <= batch.count()) {
                batch.insertAt(row, r.entry, false);
                if (report)
                    m_changes.inserted(row);
            } else if (!insert && row >= 0 && row < batch.count()) {
                batch.removeAt(row, false);
                if (report)
                    m_changes.removed(row);
            }
            break;
        }
        default:
            break;  // a record of unknown kind is skipped
    }
}

UndoReplay::Step UndoReplay::undo()
{
    UndoJournal& journal = m_model.journal();
    JournalPosition pos = journal.position();
    if (!journal.StepBack())
        return {};
    UndoRecord* r = journal.at(pos);
    const bool grouped = r->groupEnd;
    Step step;
    for (;;) {
        apply(*r, false);
        step = describe(*r);
        if (!grouped || r->groupBegin)
            break;
        pos = journal.position();
        if (!journal.StepBack())
            break;
        r = journal.at(pos);
    }
    closeBatches();
    m_model.CheckOrder();
    return step;
}

UndoReplay::Step UndoReplay::redo()
{
    UndoJournal& journal = m_model.journal();
    if (!journal.StepForward())
        return {};
    UndoRecord* r = journal.at(journal.position());
    const bool grouped = r->groupBegin;
    Step step;
    for (;;) {
        apply(*r, true);
        step = describe(*r);
        if (!grouped || r->groupEnd)
            break;
        if (!journal.StepForward())
            break;
        r = journal.at(journal.position());
    }
    closeBatches();
    m_model.CheckOrder();
    return step;
}

}  // namespace verbanta
