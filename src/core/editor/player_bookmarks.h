#pragma once

#include <array>
#include <cstdint>

namespace verbanta {

/// The video bookmarks of the open clip (at most 100, in the order added, never sorted) and
/// the marks the bookmark bar shows with them: the caption list's range times and the clip
/// length that scales the bar.
class VideoBookmarks {
public:
    static constexpr int kMaxBookmarks = 100;

    VideoBookmarks() { m_slots.fill(-1); }

    /// False for a negative time or when all 100 slots are used.
    bool AddBookmark(std::int32_t ms);
    bool HasBookmark(std::int32_t ms) const;
    /// Removes the last slot equal to ms; later slots move up one place.
    bool RemoveBookmark(std::int32_t ms);
    void ClearBookmarks();
    /// Scanning from the last slot towards the first, the first time before ms, or -1.
    std::int32_t PrevBookmark(std::int32_t ms) const;
    /// Scanning from the first slot, the first time after ms, or -1.
    std::int32_t NextBookmark(std::int32_t ms) const;
    int BookmarkCount() const { return m_count; }
    std::int32_t BookmarkAt(int index) const;

    std::int32_t GetLength() const { return m_lengthMs; }
    std::int32_t rangeStart() const { return m_rangeStartMs; }
    std::int32_t rangeEnd() const { return m_rangeEndMs; }
    /// A mark beyond a known length is stored as the length.
    void SetRangeStart(std::int32_t ms) { m_rangeStartMs = clampToLength(ms); }
    void SetRangeEnd(std::int32_t ms) { m_rangeEndMs = clampToLength(ms); }
    /// A range mark past the new length is lowered to it.
    void SetLength(std::int32_t ms);
    /// No range marks, no bookmarks, no length: the bar of a player without media.
    void ResetBar();

    /// The x of a time on a bar `width` pixels wide, or -1 when the clip has no length.
    int markX(std::int32_t ms, int width) const;
    /// The time under x on a bar `width` pixels wide (0 without a length or width).
    std::int32_t timeAtX(int x, int width) const;

private:
    std::int32_t clampToLength(std::int32_t ms) const
    {
        return m_lengthMs > 0 && ms > m_lengthMs ? m_lengthMs : ms;
    }

    std::array<std::int32_t, kMaxBookmarks> m_slots{};
    int m_count = 0;
    std::int32_t m_rangeStartMs = -1;
    std::int32_t m_rangeEndMs = -1;
    std::int32_t m_lengthMs = 0;
};

}  // namespace verbanta
