#include "peak_pyramid.h"

#include <cmath>

namespace verbanta::media {
namespace {

// Recomputes parents [first, last] of `level` from their children below.
void rebuildParents(const PeakPyramid::Level& below, PeakPyramid::Level& level, std::int64_t first,
                    std::int64_t last)
{
    if (std::int64_t(level.size()) <= last)
        level.resize(std::size_t(last + 1));
    const auto childCount = std::int64_t(below.size());
    for (std::int64_t parent = first; parent <= last; ++parent) {
        Peak p;
        const std::int64_t end = std::min(childCount, (parent + 1) * PeakPyramid::kFanOut);
        for (std::int64_t child = parent * PeakPyramid::kFanOut; child < end; ++child)
            p.merge(below[std::size_t(child)]);
        level[std::size_t(parent)] = p;
    }
}

}  // namespace

void PeakPyramid::merge(std::int64_t first, std::span<const Peak> peaks)
{
    if (peaks.empty() || first < 0)
        return;
    Level& base = m_levels[0];
    std::int64_t last = first + std::int64_t(peaks.size()) - 1;
    if (std::int64_t(base.size()) <= last)
        base.resize(std::size_t(last + 1));
    for (std::size_t i = 0; i < peaks.size(); ++i) base[std::size_t(first) + i].merge(peaks[i]);
    // Parents of a gap the base grew over are empty, as their new children are.
    for (std::size_t n = 1; n < m_levels.size(); ++n) {
        first /= kFanOut;
        last /= kFanOut;
        rebuildParents(m_levels[n - 1], m_levels[n], first, last);
    }
}

void PeakPyramid::reserve(std::int64_t baseBuckets)
{
    for (Level& level : m_levels) {
        level.reserve(std::size_t(std::max<std::int64_t>(baseBuckets, 0)));
        baseBuckets = (baseBuckets + kFanOut - 1) / kFanOut;
    }
}

Peak PeakPyramid::range(std::int64_t from, std::int64_t to) const
{
    Peak result;
    from = std::max<std::int64_t>(from, 0);
    to = std::min(to, size());
    for (std::size_t n = 0; from < to; ++n) {
        const Level& level = m_levels[n];
        if (n + 1 == m_levels.size()) {
            while (from < to) result.merge(level[std::size_t(from++)]);
            break;
        }
        // The ragged ends here; the aligned middle is a whole run of buckets one level up.
        while (from < to && from % kFanOut != 0) result.merge(level[std::size_t(from++)]);
        while (from < to && to % kFanOut != 0) result.merge(level[std::size_t(--to)]);
        from /= kFanOut;
        to /= kFanOut;
    }
    return result;
}

void PeakPyramid::columns(double fromMs, double msPerColumn, std::span<Peak> out) const
{
    // Bucket numbers held within the level, whatever times come (far off, or not numbers).
    const double last = double(size()) + 1;
    const auto bucket = [last](double at) {
        return std::int64_t(at > -1.0 ? (at < last ? at : last) : -1.0);
    };
    for (std::size_t c = 0; c < out.size(); ++c) {
        const double start = fromMs + double(c) * msPerColumn;
        const double first = std::floor(start / kBaseMs);
        const double end = std::ceil((start + msPerColumn) / kBaseMs);
        out[c] = range(bucket(first), bucket(std::max(end, first + 1)));
    }
}

std::size_t PeakPyramid::memoryBytes() const
{
    std::size_t bytes = 0;
    for (const Level& level : m_levels)
        bytes += platform::LargePageAllocator<Peak>::footprint(level.capacity());
    return bytes;
}

PeakPyramid PeakPyramid::fromBase(Level base)
{
    PeakPyramid pyramid;
    pyramid.m_levels[0] = std::move(base);
    pyramid.reserve(pyramid.size());
    std::int64_t last = pyramid.size() - 1;
    for (std::size_t n = 1; n < pyramid.m_levels.size() && last >= 0; ++n) {
        last /= kFanOut;
        rebuildParents(pyramid.m_levels[n - 1], pyramid.m_levels[n], 0, last);
    }
    return pyramid;
}

}  // namespace verbanta::media
