// Moving the selection of the caption list, its check marks and its range marks.
#include "editor/list_selection.h"

#include <algorithm>

#include "platform/messenger.h"

namespace verbanta {

// ---- moving the selection ------------------------------------------------------------------

void ListSelection::selectPrevious()
{
    if (m_session.currentRow() > 0)
        m_session.selectRow(m_session.currentRow() - 1);
}

void ListSelection::selectNext()
{
    if (m_session.currentRow() + 1 < m_session.rowCount())
        m_session.selectRow(m_session.currentRow() + 1);
}

void ListSelection::pageUp()
{
    if (m_session.rowCount() > 0)
        m_session.selectRow(std::max(m_session.currentRow() - m_rowsPerPage, 0));
}

void ListSelection::pageDown()
{
    if (m_session.rowCount() > 0)
        m_session.selectRow(
            std::min(m_session.currentRow() + m_rowsPerPage, m_session.rowCount() - 1));
}

void ListSelection::goToLastMarked(std::int32_t SyncEntry::*mark)
{
    const SyncList& list = m_session.model().list();
    int found = -1;
    for (int i = 0; i < list.count(); ++i)
        if (list[i].*mark)
            found = i;
    if (found >= 0)
        m_session.selectRow(found);
}

void ListSelection::goToRangeStart()
{
    goToLastMarked(&SyncEntry::rangeStart);
}

void ListSelection::goToRangeEnd()
{
    goToLastMarked(&SyncEntry::rangeEnd);
}

bool ListSelection::goToFoundRow(int row)
{
    if (!m_session.entry(row)) {
        m_session.say("이동하고자 하는 자막을 선택해 주십시오", MessageIcon::Warning);
        return false;
    }
    m_session.selectRow(row);
    return true;
}

void ListSelection::prepareContextMenu()
{
    if (m_session.currentRow() < 0 && m_session.focusedRow() >= 0)
        m_session.selectRow(m_session.focusedRow());
}

void ListSelection::rowDoubleClicked(int row)
{
    if (m_session.entry(row))
        m_session.requestFocus(FocusTarget::TextField);
}

bool ListSelection::seekPlayerToRow(int row, bool fromList)
{
    const SyncEntry* e = m_session.entry(row);
    return e && m_session.player().SeekTo(e->startMs, fromList);
}

// ---- check marks ---------------------------------------------------------------------------

void ListSelection::setCheckedRows(int first, int last, Check mode)
{
    SyncList& list = m_session.model().list();
    first = std::max(first, 0);
    last = std::min(last, list.count() - 1);
    if (first > last)
        return;
    for (int i = first; i <= last; ++i) {
        std::int32_t& checked = list[i].checked;
        checked = mode == Check::Toggle ? !checked : mode == Check::Set;
    }
    m_session.checksChanged(first, last);
    m_session.changes().changed(first, last);
    m_session.publishChanges();
}

void ListSelection::checkAll()
{
    setCheckedRows(0, m_session.rowCount() - 1, Check::Set);
}

void ListSelection::invertChecks()
{
    setCheckedRows(0, m_session.rowCount() - 1, Check::Toggle);
}

void ListSelection::clearChecks()
{
    setCheckedRows(0, m_session.rowCount() - 1, Check::Clear);
}

void ListSelection::toggleChecked(int row)
{
    setCheckedRows(row, row, Check::Toggle);
}

void ListSelection::shiftClickCheck(int row)
{
    if (!m_session.entry(row))
        return;
    const int current = m_session.currentRow();
    if (current < 0 || row == current)
        toggleChecked(row);
    else
        checkRowsBetween(current, row);
}

void ListSelection::checkRowsBetween(int from, int to)
{
    setCheckedRows(std::min(from, to), std::max(from, to), Check::Set);
}

void ListSelection::beginCheckDrag(int row)
{
    if (!m_session.entry(row))
        return;
    toggleChecked(row);
    m_dragRow = row;
}

void ListSelection::dragCheckOver(int row)
{
    if (m_dragRow < 0 || row == m_dragRow)
        return;
    row = std::clamp(row, 0, m_session.rowCount() - 1);
    // Every row swept over since the last one, the new one included, toggles once.
    const int step = row > m_dragRow ? 1 : -1;
    for (int r = m_dragRow + step; r != row + step; r += step) toggleChecked(r);
    m_dragRow = row;
}

void ListSelection::endCheckDrag()
{
    m_dragRow = -1;
}

// ---- range marks -----------------------------------------------------------------------------

StripClick ListSelection::stripClicked(int row)
{
    const SyncEntry* e = m_session.entry(row);
    if (!e || e->rangeStart || e->rangeEnd)
        return StripClick::Nothing;
    if (m_session.rangeStartRow() < 0 || row < m_session.rangeStartRow()) {
        markRangeStart(row);
        return StripClick::MarkedStart;
    }
    if (row <= m_session.rangeEndRow())
        return StripClick::AskStartOrEnd;
    markRangeEnd(row);
    return StripClick::MarkedEnd;
}

void ListSelection::markRange(int row, bool start)
{
    if (!m_session.entry(row))
        return;
    SyncList& list = m_session.model().list();
    ChangeCollector& changes = m_session.changes();
    // One row carries each mark: any other row with it loses it, without undo.
    for (int i = 0; i < list.count(); ++i) {
        std::int32_t& mark = start ? list[i].rangeStart : list[i].rangeEnd;
        if (mark && i != row) {
            mark = 0;
            changes.changed(i, i);
        }
    }
    (start ? list[row].rangeStart : list[row].rangeEnd) = 1;
    changes.changed(row, row);
    m_session.publishChanges();
    m_session.scanMarks();
    if (CaptionViewListener* listener = m_session.listener())
        listener->marksChanged();
}

void ListSelection::markRangeStart(int row)
{
    markRange(row, true);
}

void ListSelection::markRangeEnd(int row)
{
    markRange(row, false);
}

}  // namespace verbanta
