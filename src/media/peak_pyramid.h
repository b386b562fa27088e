#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/large_page_allocator.h"

namespace verbanta::media {

/// The lowest and highest 16-bit sample of a stretch of sound; empty when no sample lies in it.
struct Peak {
    std::int16_t min = INT16_MAX;
    std::int16_t max = INT16_MIN;

    bool empty() const { return min > max; }
    void merge(Peak other)
    {
        min = std::min(min, other.min);
        max = std::max(max, other.max);
    }
    friend bool operator==(Peak, Peak) = default;
};

/// Min/max peaks of a sound on the player's timeline. The base level has one bucket per
/// kBaseMs from time 0; each level above joins kFanOut buckets of the one below, so any
/// stretch of time is answered from a handful of buckets whatever its length.
class PeakPyramid {
public:
    static constexpr int kBaseMs = 2;
    static constexpr int kFanOut = 4;
    static constexpr int kLevels = 12;  ///< the top bucket spans 2 ms * 4^11, over two hours

    using Level = std::vector<Peak, platform::LargePageAllocator<Peak>>;

    /// Merges `peaks` into the base buckets from `first` on and updates the levels above.
    void merge(std::int64_t first, std::span<const Peak> peaks);
    /// Makes room for this many base buckets, so that growing up to them never moves memory.
    void reserve(std::int64_t baseBuckets);

    std::int64_t size() const { return std::int64_t(m_levels[0].size()); }
    std::span<const Peak> level(int n) const { return m_levels[std::size_t(n)]; }

    /// The peak of base buckets [from, to), exactly.
    Peak range(std::int64_t from, std::int64_t to) const;

    /// One peak per column of `msPerColumn` from `fromMs` on, from the base buckets each column
    /// overlaps; columns outside the sound are empty.
    void columns(double fromMs, double msPerColumn, std::span<Peak> out) const;

    /// The bytes the levels take, room for growth and huge page rounding included.
    std::size_t memoryBytes() const;

    /// A pyramid over a base level read back from the cache.
    static PeakPyramid fromBase(Level base);

private:
    std::array<Level, kLevels> m_levels;
};

}  // namespace verbanta::media
