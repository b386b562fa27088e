#include "editor/player_bookmarks.h"

namespace verbanta {

bool VideoBookmarks::AddBookmark(std::int32_t ms)
{
    if (ms < 0 || m_count >= kMaxBookmarks)
        return false;
    m_slots[static_cast<std::size_t>(m_count++)] = ms;
    return true;
}

bool VideoBookmarks::HasBookmark(std::int32_t ms) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_slots[static_cast<std::size_t>(i)] == ms)
            return true;
    return false;
}

bool VideoBookmarks::RemoveBookmark(std::int32_t ms)
{
    for (int i = m_count - 1; i >= 0; --i) {
        if (m_slots[static_cast<std::size_t>(i)] != ms)
            continue;
        for (int j = i; j + 1 < m_count; ++j)
            m_slots[static_cast<std::size_t>(j)] = m_slots[static_cast<std::size_t>(j + 1)];
        m_slots[static_cast<std::size_t>(--m_count)] = -1;
        return true;
    }
    return false;
}

void VideoBookmarks::ClearBookmarks()
{
    m_slots.fill(-1);
    m_count = 0;
}

std::int32_t VideoBookmarks::PrevBookmark(std::int32_t ms) const
{
    for (int i = m_count - 1; i >= 0; --i)
        if (m_slots[static_cast<std::size_t>(i)] < ms)
            return m_slots[static_cast<std::size_t>(i)];
    return -1;
}

std::int32_t VideoBookmarks::NextBookmark(std::int32_t ms) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_slots[static_cast<std::size_t>(i)] > ms)
            return m_slots[static_cast<std::size_t>(i)];
    return -1;
}

std::int32_t VideoBookmarks::BookmarkAt(int index) const
{
    if (index < 0 || index >= kMaxBookmarks)
        return -1;
    return m_slots[static_cast<std::size_t>(index)];
}

void VideoBookmarks::SetLength(std::int32_t ms)
{
    m_lengthMs = ms;
    if (m_rangeStartMs > ms)
        m_rangeStartMs = ms;
    if (m_rangeEndMs > ms)
        m_rangeEndMs = ms;
}

void VideoBookmarks::ResetBar()
{
    m_rangeStartMs = -1;
    m_rangeEndMs = -1;
    ClearBookmarks();
    m_lengthMs = 0;
}

int VideoBookmarks::markX(std::int32_t ms, int width) const
{
    if (m_lengthMs <= 0)
        return -1;
    // 64 bits: a two-hour clip times a wide bar overflows 32.
    return static_cast<int>(static_cast<std::int64_t>(width) * ms / m_lengthMs);
}

std::int32_t VideoBookmarks::timeAtX(int x, int width) const
{
    if (width <= 0 || m_lengthMs <= 0)
        return 0;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(x) * m_lengthMs / width);
}

}  // namespace verbanta
