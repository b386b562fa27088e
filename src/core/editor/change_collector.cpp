#include "editor/change_collector.h"

#include <algorithm>

#include "editor/editor_ports.h"

namespace verbanta {

void ChangeCollector::push(Event e)
{
    if (m_replaced)
        return;
    if (m_events.size() >= kMaxEvents) {
        m_events.clear();
        m_replaced = true;
        return;
    }
    m_events.push_back(e);
}

void ChangeCollector::inserted(int row, int count)
{
    if (count <= 0)
        return;
    if (!m_events.empty()) {
        Event& last = m_events.back();
        // An insertion inside or right after rows just inserted extends them.
        if (last.kind == Kind::Inserted && row >= last.first && row <= last.first + last.count) {
            last.count += count;
            return;
        }
    }
    push({Kind::Inserted, row, count});
}

void ChangeCollector::removed(int row, int count)
{
    if (count <= 0)
        return;
    if (!m_events.empty()) {
        Event& last = m_events.back();
        if (last.kind == Kind::Removed && row == last.first) {
            last.count += count;  // the rows after the removed ones, removed in turn
            return;
        }
        if (last.kind == Kind::Removed && row + count == last.first) {
            last.first = row;  // the rows just before, removed walking up
            last.count += count;
            return;
        }
    }
    push({Kind::Removed, row, count});
}

void ChangeCollector::changed(int first, int last)
{
    if (last < first)
        return;
    if (!m_events.empty()) {
        Event& e = m_events.back();
        const int end = e.first + e.count;
        // Rows inserted by this change are new to the view anyway.
        if (e.kind == Kind::Inserted && first >= e.first && last < end)
            return;
        if (e.kind == Kind::Changed && first <= end && last + 1 >= e.first) {
            const int newFirst = std::min(e.first, first);
            e.count = std::max(end, last + 1) - newFirst;
            e.first = newFirst;
            return;
        }
    }
    push({Kind::Changed, first, last - first + 1});
}

void ChangeCollector::addRecords(const UndoJournal& journal, JournalPosition first, int slot)
{
    journal.forEachFrom(first, [&](const UndoRecord& r) {
        if (m_replaced || r.language != slot)
            return;
        switch (r.kind) {
            case UndoRecord::kRangeShift:
                changed(std::min(r.firstRow, r.lastRow), std::max(r.firstRow, r.lastRow));
                break;
            case UndoRecord::kModify:
                changed(r.row, r.row);
                break;
            case UndoRecord::kInsert:
                inserted(r.prevRow + 1);
                break;
            case UndoRecord::kDelete:
                removed(r.prevRow + 1);
                break;
            default:
                break;
        }
    });
}

void ChangeCollector::deliver(CaptionViewListener* listener)
{
    if (listener) {
        if (m_replaced) {
            listener->listReplaced();
        } else {
            for (const Event& e : m_events) {
                switch (e.kind) {
                    case Kind::Inserted:
                        listener->rowsInserted(e.first, e.count);
                        break;
                    case Kind::Removed:
                        listener->rowsRemoved(e.first, e.count);
                        break;
                    case Kind::Changed:
                        listener->rowsChanged(e.first, e.first + e.count - 1);
                        break;
                }
            }
        }
    }
    m_events.clear();
    m_replaced = false;
}

}  // namespace verbanta
