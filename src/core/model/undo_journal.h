#pragma once

#include <cstdint>
#include <deque>

#include "model/undo_record.h"

namespace verbanta {

/// Identifies a record of the journal across pushes and trimming; -1 means none.
using JournalPosition = std::int64_t;

/// The bounded list of undo records with its current position.
///
/// The cap keeps whole steps: a step is a group (groupBegin … groupEnd) or a single
/// ungrouped record, and trimming drops the oldest whole steps only. Records of the action
/// still being recorded (since `beginAction`) are never dropped, so one action that pushes
/// more than the cap stays whole and the journal holds it alone until later steps push it out.
class UndoJournal {
public:
    static constexpr int kCapacity = 1000;

    /// Starts an action: its records are not trimmed until the matching `endAction`.
    /// Actions nest; the outermost one counts.
    void beginAction();
    void endAction();

    JournalPosition PushUndo(const UndoRecord& record) { return PushUndo(UndoRecord(record)); }
    /// The same, taking the record's entry without a copy: bulk commands push thousands.
    JournalPosition PushUndo(UndoRecord&& record);
    /// Marks the records from first to last as one step, then trims to the cap.
    void GroupUndo(JournalPosition first, JournalPosition last);
    /// The record in effect, then moves back; null when nothing is left to undo.
    const UndoRecord* StepBack();
    /// Moves forward and returns that record; null when nothing is left to redo.
    const UndoRecord* StepForward();
    bool CanUndo() const;
    bool CanRedo() const;
    /// Forgets every record; the state the journal then stands at is no saved state until
    /// `markClean` says so.
    void ClearUndo();
    /// The current position is the document's saved state.
    void markClean();
    /// Whether the journal stands at the saved state: false once it moved away, true again when
    /// undo or redo comes back to it, false for good when the saved state's records are gone.
    bool isClean() const { return m_cleanHeld && m_position == m_cleanPosition; }

    int size() const { return static_cast<int>(liveEnd() - m_deadFront); }
    JournalPosition position() const { return m_position; }
    JournalPosition firstPosition() const;
    JournalPosition lastPosition() const;
    /// The record at a journal position, or null when it is not (or no longer) held.
    const UndoRecord* at(JournalPosition pos) const;
    /// The same, writable: undo and redo of a modify record swap its content.
    UndoRecord* at(JournalPosition pos)
    {
        return const_cast<UndoRecord*>(static_cast<const UndoJournal&>(*this).at(pos));
    }
    /// The position the next push will get; a command groups from it to `lastPosition`.
    JournalPosition nextPosition() const { return m_nextSerial; }
    /// Calls f(record) for each record from `from` (or the first one held) to the last, in
    /// order, without a lookup per record.
    template <class F>
    void forEachFrom(JournalPosition from, F&& f)
    {
        for (std::size_t i = firstIndexFrom(from); i < liveEnd(); ++i) f(m_records[i].record);
    }
    template <class F>
    void forEachFrom(JournalPosition from, F&& f) const
    {
        for (std::size_t i = firstIndexFrom(from); i < liveEnd(); ++i) f(m_records[i].record);
    }
    /// How many records were pushed since the journal was made; the reader groups with it.
    std::int64_t pushCount() const { return m_pushCount; }

private:
    struct Slot {
        JournalPosition serial;
        UndoRecord record;
        JournalPosition groupLast = -1;  ///< on a group's first slot: its last record's serial
    };
    /// Dropped records are only counted off at the ends and destroyed a few per push: freeing
    /// a bulk step of tens of thousands at once would stall the command that drops it.
    static constexpr std::size_t kReleasedPerPush = 256;

    /// The held records are the slots from `m_deadFront` up to `liveEnd()`.
    std::size_t liveEnd() const { return m_records.size() - m_deadBack; }
    bool empty() const { return liveEnd() == m_deadFront; }
    /// Index of the slot with this serial, or `liveEnd()` when it is not held.
    std::size_t indexOf(JournalPosition pos) const;
    /// Index of the first held slot whose serial is at least pos.
    std::size_t firstIndexFrom(JournalPosition pos) const;
    /// The number of slots of the oldest step, or 0 when it is an unterminated group.
    std::size_t oldestStepLength() const;
    void trim();
    void releaseSome();

    std::deque<Slot> m_records;
    std::size_t m_deadFront = 0;  ///< dropped slots still at the front
    std::size_t m_deadBack = 0;   ///< discarded redo slots still at the back
    JournalPosition m_nextSerial = 0;
    JournalPosition m_position = -1;     ///< last record in effect, -1 when all is undone
    JournalPosition m_actionStart = -1;  ///< first record of the open action, -1 when none
    int m_actionDepth = 0;
    std::int64_t m_pushCount = 0;
    JournalPosition m_cleanPosition = -1;  ///< the position at the last save
    bool m_cleanHeld = true;               ///< that state can still be reached by undo or redo
};

/// Keeps the records pushed during its lifetime from being trimmed apart.
class UndoActionScope {
public:
    explicit UndoActionScope(UndoJournal& journal) : m_journal(journal) { journal.beginAction(); }
    ~UndoActionScope() { m_journal.endAction(); }
    UndoActionScope(const UndoActionScope&) = delete;
    UndoActionScope& operator=(const UndoActionScope&) = delete;

private:
    UndoJournal& m_journal;
};

}  // namespace verbanta
