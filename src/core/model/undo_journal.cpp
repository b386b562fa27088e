#include "model/undo_journal.h"

#include <algorithm>
#include <utility>

namespace verbanta {

void UndoJournal::BeginAction()
{
    if (m_actionDepth++ == 0)
        m_actionStart = -1;
}

void UndoJournal::EndAction()
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
    // A push after undos discards the undone records (the redo tail).
    const std::size_t keep = m_position < 0 ? 0 : indexOf(m_position) + 1;
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(keep), m_records.end());

    const JournalPosition serial = m_nextSerial++;
    m_records.push_back({serial, std::move(record)});
    m_position = serial;
    if (m_actionDepth > 0 && m_actionStart < 0)
        m_actionStart = serial;
    ++m_pushCount;
    trim();
    return serial;
}

void UndoJournal::GroupUndo(JournalPosition first, JournalPosition last)
{
    const std::size_t firstIndex = indexOf(first);
    const std::size_t lastIndex = indexOf(last);
    if (m_records.empty() || lastIndex >= m_records.size())
        return;
    // Trimming keeps open actions whole, so the first record is normally still held; should a
    // caller group records it did not protect, the group starts at the oldest record left.
    m_records[firstIndex < m_records.size() ? firstIndex : 0].record.groupBegin = true;
    m_records[lastIndex].record.groupEnd = true;
    trim();
}

const UndoRecord* UndoJournal::StepBack()
{
    if (!CanUndo())
        return nullptr;
    const std::size_t i = indexOf(m_position);
    m_position = i == 0 ? -1 : m_records[i - 1].serial;
    return &m_records[i].record;
}

const UndoRecord* UndoJournal::StepForward()
{
    if (!CanRedo())
        return nullptr;
    const std::size_t i = m_position < 0 ? 0 : indexOf(m_position) + 1;
    m_position = m_records[i].serial;
    return &m_records[i].record;
}

bool UndoJournal::CanUndo() const
{
    return !m_records.empty() && m_position >= 0;
}

bool UndoJournal::CanRedo() const
{
    return !m_records.empty() && m_position != m_records.back().serial;
}

void UndoJournal::ClearUndo()
{
    m_records.clear();
    m_position = -1;
    m_actionStart = -1;
}

JournalPosition UndoJournal::firstPosition() const
{
    return m_records.empty() ? -1 : m_records.front().serial;
}

JournalPosition UndoJournal::lastPosition() const
{
    return m_records.empty() ? -1 : m_records.back().serial;
}

const UndoRecord* UndoJournal::at(JournalPosition pos) const
{
    const std::size_t i = indexOf(pos);
    return i < m_records.size() ? &m_records[i].record : nullptr;
}

std::size_t UndoJournal::indexOf(JournalPosition pos) const
{
    const auto it = std::lower_bound(m_records.begin(), m_records.end(), pos,
                                     [](const Slot& s, JournalPosition p) { return s.serial < p; });
    if (it == m_records.end() || it->serial != pos)
        return m_records.size();
    return static_cast<std::size_t>(it - m_records.begin());
}

std::size_t UndoJournal::firstIndexFrom(JournalPosition pos) const
{
    const auto it = std::lower_bound(m_records.begin(), m_records.end(), pos,
                                     [](const Slot& s, JournalPosition p) { return s.serial < p; });
    return static_cast<std::size_t>(it - m_records.begin());
}

void UndoJournal::trim()
{
    // Records from here on are protected: the open action, or else the newest record.
    const JournalPosition protectedFrom =
        m_actionStart >= 0 ? m_actionStart
                           : (m_actionDepth > 0 ? m_nextSerial : lastPosition());
    while (static_cast<int>(m_records.size()) > kCapacity) {
        std::size_t stepLength = 1;
        if (m_records.front().record.groupBegin && !m_records.front().record.groupEnd) {
            const auto end = std::find_if(m_records.begin() + 1, m_records.end(),
                                          [](const Slot& s) { return s.record.groupEnd; });
            if (end == m_records.end())
                return;  // an unterminated group is never cut
            stepLength = static_cast<std::size_t>(end - m_records.begin()) + 1;
        }
        if (m_records[stepLength - 1].serial >= protectedFrom)
            return;
        const JournalPosition lastDropped = m_records[stepLength - 1].serial;
        m_records.erase(m_records.begin(), m_records.begin() + static_cast<std::ptrdiff_t>(stepLength));
        if (m_position >= 0 && m_position <= lastDropped)
            m_position = -1;
    }
}

}  // namespace verbanta
