// The peak pyramid answers every stretch of time exactly as its base buckets would.
#include "peak_pyramid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace verbanta::media {
namespace {

Peak bruteForce(const PeakPyramid::Level& base, std::int64_t from, std::int64_t to)
{
    Peak p;
    for (std::int64_t i = std::max<std::int64_t>(from, 0);
         i < std::min<std::int64_t>(to, std::int64_t(base.size())); ++i)
        p.merge(base[std::size_t(i)]);
    return p;
}

TEST(PeakPyramid, AnswersAnyStretchAsItsBaseBucketsDo)
{
    std::mt19937 random(20);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    PeakPyramid pyramid;
    PeakPyramid::Level base;
    // Batches arrive in order, with gaps, and sometimes overlapping what came before.
    std::int64_t at = 0;
    for (int batch = 0; batch < 60; ++batch) {
        at = std::max<std::int64_t>(0, at + std::uniform_int_distribution<int>(-5, 300)(random));
        std::vector<Peak> peaks(std::size_t(std::uniform_int_distribution<int>(1, 500)(random)));
        for (Peak& p : peaks) {
            const auto a = std::int16_t(sample(random));
            const auto b = std::int16_t(sample(random));
            p = {std::min(a, b), std::max(a, b)};
        }
        pyramid.merge(at, peaks);
        if (base.size() < std::size_t(at) + peaks.size())
            base.resize(std::size_t(at) + peaks.size());
        for (std::size_t i = 0; i < peaks.size(); ++i) base[std::size_t(at) + i].merge(peaks[i]);
        at += std::int64_t(peaks.size());
    }
    ASSERT_EQ(pyramid.size(), std::int64_t(base.size()));
    const PeakPyramid reread = PeakPyramid::fromBase(base);
    std::uniform_int_distribution<std::int64_t> place(-10, pyramid.size() + 10);
    for (int i = 0; i < 3000; ++i) {
        std::int64_t a = place(random), b = place(random);
        if (a > b)
            std::swap(a, b);
        ASSERT_EQ(pyramid.range(a, b), bruteForce(base, a, b)) << a << ".." << b;
        ASSERT_EQ(reread.range(a, b), bruteForce(base, a, b)) << a << ".." << b;
    }
    // Columns narrower and wider than a bucket take every bucket they overlap.
    for (double msPerColumn : {0.3, 2.0, 7.0, 1234.5}) {
        std::vector<Peak> columns(500);
        pyramid.columns(-20.0, msPerColumn, columns);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const double start = -20.0 + double(c) * msPerColumn;
            const auto first = std::int64_t(std::floor(start / PeakPyramid::kBaseMs));
            const auto end = std::int64_t(std::ceil((start + msPerColumn) / PeakPyramid::kBaseMs));
            ASSERT_EQ(columns[c], bruteForce(base, first, std::max(end, first + 1)))
                << msPerColumn << " ms, column " << c;
        }
    }
}

}  // namespace
}  // namespace verbanta::media
