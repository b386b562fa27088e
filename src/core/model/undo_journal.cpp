#include "model/undo_journal.h"

#include <algorithm>
#include <utility>

namespace verbanta {

void UndoJournal::beginAction()
{
    if (m_actionDepth++ == 0)
        m_actionStart = -1;
}

void UndoJournal::endAction()
{
    if (m_actionDepth == 0)
        return;
    if (--m_actionDepth == 0) {
        m_actionStart = -1;
        trim();
    }
}

JournalPosition UndoJournal::PushUndo(UndoRecord&& record)
{
    // A push after undos discards the undone records (the redo tail): they are counted off
    // here and their slots reused or released later.
    const std::size_t keep = m_position < 0 ? m_deadFront : indexOf(m_position) + 1;
    m_deadBack += liveEnd() - keep;

    const JournalPosition serial = m_nextSerial++;
    if (m_deadBack > 0) {
        // The first discarded slot takes the new record; the ones after it stay discarded.
        m_records[keep] = Slot{serial, std::move(record)};
        --m_deadBack;
    } else {
        m_records.push_back({serial, std::move(record)});
    }
    m_position = serial;
    if (m_actionDepth > 0 && m_actionStart < 0)
        m_actionStart = serial;
    ++m_pushCount;
    trim();
    releaseSome();
    return serial;
}

void UndoJournal::GroupUndo(JournalPosition first, JournalPosition last)
{
    const std::size_t firstIndex = indexOf(first);
    const std::size_t lastIndex = indexOf(last);
    if (empty() || lastIndex >= liveEnd())
        return;
    // Trimming keeps open actions whole, so the first record is normally still held; should a
    // caller group records it did not protect, the group starts at the oldest record left.
    Slot& begin = m_records[firstIndex < liveEnd() ? firstIndex : m_deadFront];
    begin.record.groupBegin = true;
    begin.groupLast = last;
    m_records[lastIndex].record.groupEnd = true;
    trim();
}

const UndoRecord* UndoJournal::StepBack()
{
    if (!CanUndo())
        return nullptr;
    const std::size_t i = indexOf(m_position);
    m_position = i == m_deadFront ? -1 : m_records[i - 1].serial;
    return &m_records[i].record;
}

const UndoRecord* UndoJournal::StepForward()
{
    if (!CanRedo())
        return nullptr;
    const std::size_t i = m_position < 0 ? m_deadFront : indexOf(m_position) + 1;
    m_position = m_records[i].serial;
    return &m_records[i].record;
}

bool UndoJournal::CanUndo() const
{
    return !empty() && m_position >= 0;
}

bool UndoJournal::CanRedo() const
{
    return !empty() && m_position != m_records[liveEnd() - 1].serial;
}

void UndoJournal::ClearUndo()
{
    m_records.clear();
    m_deadFront = m_deadBack = 0;
    m_position = -1;
    m_actionStart = -1;
    m_cleanHeld = false;
}

void UndoJournal::markClean()
{
    m_cleanPosition = m_position;
    m_cleanHeld = true;
}

JournalPosition UndoJournal::firstPosition() const
{
    return empty() ? -1 : m_records[m_deadFront].serial;
}

JournalPosition UndoJournal::lastPosition() const
{
    return empty() ? -1 : m_records[liveEnd() - 1].serial;
}

const UndoRecord* UndoJournal::at(JournalPosition pos) const
{
    const std::size_t i = indexOf(pos);
    return i < liveEnd() ? &m_records[i].record : nullptr;
}

std::size_t UndoJournal::indexOf(JournalPosition pos) const
{
    const std::size_t i = firstIndexFrom(pos);
    return i < liveEnd() && m_records[i].serial == pos ? i : liveEnd();
}

std::size_t UndoJournal::firstIndexFrom(JournalPosition pos) const
{
    const auto begin = m_records.begin() + static_cast<std::ptrdiff_t>(m_deadFront);
    const auto end = m_records.begin() + static_cast<std::ptrdiff_t>(liveEnd());
    const auto it = std::lower_bound(begin, end, pos,
                                     [](const Slot& s, JournalPosition p) { return s.serial < p; });
    return static_cast<std::size_t>(it - m_records.begin());
}

std::size_t UndoJournal::oldestStepLength() const
{
    const Slot& front = m_records[m_deadFront];
    if (!front.record.groupBegin || front.record.groupEnd)
        return 1;
    // The group's end as GroupUndo noted it, when its marks still say so; else a search.
    std::size_t end = indexOf(front.groupLast);
    if (end >= liveEnd() || !m_records[end].record.groupEnd) {
        end = m_deadFront + 1;
        while (end < liveEnd() && !m_records[end].record.groupEnd) ++end;
        if (end == liveEnd())
            return 0;  // an unterminated group is never cut
    }
    return end - m_deadFront + 1;
}

void UndoJournal::trim()
{
    // Records from here on are protected: the open action, or else the newest record.
    const JournalPosition protectedFrom =
        m_actionStart >= 0 ? m_actionStart : (m_actionDepth > 0 ? m_nextSerial : lastPosition());
    while (size() > kCapacity) {
        const std::size_t stepLength = oldestStepLength();
        if (stepLength == 0)
            return;
        const JournalPosition lastDropped = m_records[m_deadFront + stepLength - 1].serial;
        if (lastDropped >= protectedFrom)
            return;
        m_deadFront += stepLength;
        if (m_position >= 0 && m_position <= lastDropped)
            m_position = -1;
        // Undoing everything left no longer leads back to a saved state at or before the
        // dropped step.
        if (m_cleanPosition <= lastDropped)
            m_cleanHeld = false;
    }
}

void UndoJournal::releaseSome()
{
    const std::size_t front = std::min(m_deadFront, kReleasedPerPush);
    m_records.erase(m_records.begin(), m_records.begin() + static_cast<std::ptrdiff_t>(front));
    m_deadFront -= front;
    const std::size_t back = std::min(m_deadBack, kReleasedPerPush);
    m_records.erase(m_records.end() - static_cast<std::ptrdiff_t>(back), m_records.end());
    m_deadBack -= back;
}

}  // namespace verbanta
