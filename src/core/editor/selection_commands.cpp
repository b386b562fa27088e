// Selection, navigation, check marks, range marks, and undo and redo of the caption list.
#include <algorithm>

#include "editor/caption_editor.h"
#include "editor/undo_replay.h"

namespace verbanta {

// ---- range navigation --------------------------------------------------------------------

void CaptionEditor::goToRangeStart()
{
    const SyncList& list = m_model.list();
    int found = -1;
    for (int i = 0; i < list.count(); ++i)
        if (list[i].rangeStart)
            found = i;  // the last such row
    if (found >= 0)
        selectRow(found);
}

void CaptionEditor::goToRangeEnd()
{
    const SyncList& list = m_model.list();
    int found = -1;
    for (int i = 0; i < list.count(); ++i)
        if (list[i].rangeEnd)
            found = i;
    if (found >= 0)
        selectRow(found);
}

// ---- check marks -------------------------------------------------------------------------

/// mode: 0 clear, 1 set, 2 toggle; no undo information, the rows are redrawn.
void CaptionEditor::setCheckedRows(int first, int last, int mode)
{
    SyncList& list = m_model.list();
    first = std::max(first, 0);
    last = std::min(last, list.count() - 1);
    if (first > last)
        return;
    for (int i = first; i <= last; ++i) {
        std::int32_t& checked = list[i].checked;
        checked = mode == 2 ? !checked : mode;
    }
    m_changes.changed(first, last);
    publishChanges();
}

void CaptionEditor::checkAll()
{
    setCheckedRows(0, rowCount() - 1, 1);
}

void CaptionEditor::invertChecks()
{
    setCheckedRows(0, rowCount() - 1, 2);
}

void CaptionEditor::clearChecks()
{
    setCheckedRows(0, rowCount() - 1, 0);
}

void CaptionEditor::toggleChecked(int row)
{
    setCheckedRows(row, row, 2);
}

void CaptionEditor::shiftClickCheck(int row)
{
    if (!entry(row))
        return;
    if (m_currentRow < 0 || row == m_currentRow)
        toggleChecked(row);
    else
        checkRowsBetween(m_currentRow, row);
}

void CaptionEditor::checkRowsBetween(int from, int to)
{
    setCheckedRows(std::min(from, to), std::max(from, to), 1);
}

void CaptionEditor::beginCheckDrag(int row)
{
    if (!entry(row))
        return;
    toggleChecked(row);
    m_dragRow = row;
}

void CaptionEditor::dragCheckOver(int row)
{
    if (m_dragRow < 0 || row == m_dragRow)
        return;
    row = std::clamp(row, 0, rowCount() - 1);
    // Every row swept over since the last one, the new one included, toggles once.
    const int step = row > m_dragRow ? 1 : -1;
    for (int r = m_dragRow + step; r != row + step; r += step) setCheckedRows(r, r, 2);
    m_dragRow = row;
}

void CaptionEditor::endCheckDrag()
{
    m_dragRow = -1;
}

// ---- keyboard navigation -----------------------------------------------------------------

void CaptionEditor::selectPrevious()
{
    if (m_currentRow > 0)
        selectRow(m_currentRow - 1);
}

void CaptionEditor::selectNext()
{
    if (m_currentRow + 1 < rowCount())
        selectRow(m_currentRow + 1);
}

void CaptionEditor::pageUp()
{
    if (rowCount() > 0)
        selectRow(std::max(m_currentRow - m_rowsPerPage, 0));
}

void CaptionEditor::pageDown()
{
    if (rowCount() > 0)
        selectRow(std::min(m_currentRow + m_rowsPerPage, rowCount() - 1));
}

// ---- the marker strip --------------------------------------------------------------------

StripClick CaptionEditor::stripClicked(int row)
{
    const SyncEntry* e = entry(row);
    if (!e || e->rangeStart || e->rangeEnd)
        return StripClick::Nothing;
    if (m_rangeStartRow < 0 || row < m_rangeStartRow) {
        markRangeStart(row);
        return StripClick::MarkedStart;
    }
    if (row <= m_rangeEndRow)
        return StripClick::AskStartOrEnd;
    markRangeEnd(row);
    return StripClick::MarkedEnd;
}

void CaptionEditor::markRange(int row, bool start)
{
    if (!entry(row))
        return;
    SyncList& list = m_model.list();
    // One row carries each mark: any other row with it loses it, without undo.
    for (int i = 0; i < list.count(); ++i) {
        std::int32_t& mark = start ? list[i].rangeStart : list[i].rangeEnd;
        if (mark && i != row) {
            mark = 0;
            m_changes.changed(i, i);
        }
    }
    (start ? list[row].rangeStart : list[row].rangeEnd) = 1;
    m_changes.changed(row, row);
    publishChanges();
    scanMarks();
    if (m_listener)
        m_listener->marksChanged();
}

void CaptionEditor::markRangeStart(int row)
{
    markRange(row, true);
}

void CaptionEditor::markRangeEnd(int row)
{
    markRange(row, false);
}

// ---- undo and redo -----------------------------------------------------------------------

void CaptionEditor::undo()
{
    if (!canUndo())
        return;
    const UndoReplay::Step step = UndoReplay(m_model, m_changes).undo();
    int row = m_currentRow;
    if (step.applied && step.language == m_model.GetCurrentSlot()) {
        if (step.kind == UndoRecord::kInsert)
            row = std::max(step.prevRow, 0);
        else if (step.kind == UndoRecord::kDelete)
            row = step.prevRow + 1;
        else if (step.kind == UndoRecord::kModify)
            row = step.row;
    }
    finishChange(row);
}

void CaptionEditor::redo()
{
    if (!canRedo())
        return;
    const UndoReplay::Step step = UndoReplay(m_model, m_changes).redo();
    int row = m_currentRow;
    if (step.applied && step.language == m_model.GetCurrentSlot()) {
        // The row after the entry before the change: row 0 when there is none.
        if (step.kind == UndoRecord::kInsert || step.kind == UndoRecord::kDelete)
            row = step.prevRow + 1;
        else if (step.kind == UndoRecord::kModify)
            row = step.row;
    }
    finishChange(row);
}

}  // namespace verbanta
