// Spectrogram tiles of the tone bursts: bright at the tone's pitch while it sounds, dark
// around it, whether the columns are decoded in one run or each after a seek.
#include "spectrogram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "generated_media.h"

namespace verbanta::media {
namespace {

std::shared_ptr<const SpectrogramTile> waitForTile(SpectrogramTiles& tiles, int level,
                                                   std::int64_t index)
{
    for (int tries = 0; tries < 3000; ++tries) {
        if (auto tile = tiles.tile(level, index))
            return tile;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return nullptr;
}

int brightness(const SpectrogramTile& tile, int row, int column)
{
    const std::size_t at =
        (std::size_t(row) * SpectrogramTiles::kColumns + std::size_t(column)) * 3;
    return tile.rgb[at] + tile.rgb[at + 1] + tile.rgb[at + 2];
}

/// The brightest row of a column.
int loudestRow(const SpectrogramTile& tile, int column)
{
    int best = 0;
    for (int r = 1; r < SpectrogramTiles::kRows; ++r)
        if (brightness(tile, r, column) > brightness(tile, best, column))
            best = r;
    return best;
}

TEST(Spectrogram, ShowsTheToneAtItsPitchWhileItSounds)
{
    VERBANTA_NEED_MEDIA();
    EXPECT_EQ(SpectrogramTiles::levelFor(0.26), 0);
    EXPECT_EQ(SpectrogramTiles::levelFor(8.0), 2);
    EXPECT_EQ(SpectrogramTiles::levelFor(3750.0), 10);
    // The 1 kHz row on the mel scale, from the top.
    const double mel1k = 2595.0 * std::log10(1.0 + 1000.0 / 700.0);
    const double melTop = 2595.0 * std::log10(1.0 + SpectrogramTiles::kTopHz / 700.0);
    const int toneRow = int(SpectrogramTiles::kRows * (1.0 - mel1k / melTop));

    SpectrogramTiles tiles(test::Media().tonesMp4(), -1);
    // Level 2: 8 ms columns decoded in one run; the first burst sounds from 1000 to 1200 ms.
    const auto fine = waitForTile(tiles, 2, 0);
    ASSERT_TRUE(fine);
    ASSERT_EQ(fine->rgb.size(),
              std::size_t(SpectrogramTiles::kColumns * SpectrogramTiles::kRows * 3));
    const double columnMs = SpectrogramTiles::columnMs(2);
    int firstBright = -1;
    for (int c = 0; c < SpectrogramTiles::kColumns && firstBright < 0; ++c)
        if (brightness(*fine, toneRow, c) > 300)
            firstBright = c;
    // A column shows the 32 ms around its middle, so the tone shows up to half of that early.
    EXPECT_NEAR((firstBright + 0.5) * columnMs, 1000.0 - 8.0, 12.0);
    const int during = int(1100 / columnMs);
    EXPECT_NEAR(loudestRow(*fine, during), toneRow, 1);
    EXPECT_LT(brightness(*fine, toneRow, int(900 / columnMs)), 100);
    EXPECT_LT(brightness(*fine, toneRow, int(1300 / columnMs)), 100);

    // Level 8: 512 ms columns, each read after a seek; only the one whose middle (3328 ms)
    // falls in a burst shows the tone.
    const auto coarse = waitForTile(tiles, 8, 0);
    ASSERT_TRUE(coarse);
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(brightness(*coarse, toneRow, c) > 300, c == 6) << "column " << c;
    EXPECT_NEAR(loudestRow(*coarse, 6), toneRow, 1);
    EXPECT_EQ(tiles.failure(), OpenFailure::None);

    SpectrogramTiles none(test::Media().videoOnly(), -1);
    for (int tries = 0; tries < 3000 && none.failure() == OpenFailure::None; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(none.failure(), OpenFailure::NoAudio);
    EXPECT_FALSE(none.tile(0, 0));
}

}  // namespace
}  // namespace verbanta::media
