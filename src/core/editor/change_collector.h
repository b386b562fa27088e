#pragma once

#include <cstddef>
#include <vector>

#include "model/undo_journal.h"

namespace verbanta {

class CaptionViewListener;

/// Gathers the row changes of one command in order and hands them to the view as few,
/// precise notifications: neighbouring inserts, removals and changes merge into one, and a
/// change scattered over too many places becomes one whole-list notification.
class ChangeCollector {
public:
    /// More separate places than this are told as a whole-list replacement.
    static constexpr std::size_t kMaxEvents = 64;

    void inserted(int row, int count = 1);
    void removed(int row, int count = 1);
    void changed(int first, int last);
    void replaced() { m_replaced = true; }
    bool empty() const { return !m_replaced && m_events.empty(); }

    /// Adds what the journal's records from `first` to its last one did to the slot's list.
    void addRecords(const UndoJournal& journal, JournalPosition first, int slot);

    /// Tells the listener (if any) in order and starts afresh.
    void deliver(CaptionViewListener* listener);

private:
    enum class Kind { Inserted, Removed, Changed };
    struct Event {
        Kind kind;
        int first;
        int count;
    };
    void push(Event e);

    std::vector<Event> m_events;
    bool m_replaced = false;
};

}  // namespace verbanta
