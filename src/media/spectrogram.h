#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis_thread.h"
#include "media_file.h"

namespace verbanta::media {

/// One tile of a spectrogram: kColumns x kRows RGB pixels, row 0 the highest frequency, ready
/// to be shown as an image (three bytes per pixel, rows packed).
struct SpectrogramTile {
    int level = 0;
    std::int64_t index = 0;
    std::vector<std::uint8_t> rgb;
};

/// The spectrogram of one audio stream, in tiles computed on demand on a worker thread from a
/// short stretch of decoded sound each, and kept while they are recently used.
///
/// Tiles are counted on the player's timeline: at level z a column spans
/// `columnMs(z)` = 2 ms * 2^z and tile i covers [i, i + 1) * `tileMs(z)`; each column shows
/// the 32 ms around its middle (on a wide column, a sample of it). For the strip: take
/// `levelFor(ms per pixel)`, ask `tile()` for each tile in view, draw those that exist scaled
/// to their time span (`QImage(rgb.data(), kColumns, kRows, kColumns * 3, Format_RGB888)`,
/// the tile held while the image is used), and repaint when `onTileReady` fires (post it to
/// the UI thread). A tile of no sound is black.
class SpectrogramTiles {
public:
    static constexpr int kColumns = 256;
    static constexpr int kRows = 256;  ///< 0 to kTopHz on the mel scale, where speech spreads out
    static constexpr int kLevels = 16;
    static constexpr int kSampleRate = 16000;
    static constexpr int kTopHz = kSampleRate / 2;
    static constexpr int kWindow = 512;  ///< samples per transform: 32 ms, a speech sound's scale

    static double columnMs(int level);
    static double tileMs(int level) { return columnMs(level) * kColumns; }
    /// The level whose columns are the widest that are not wider than a pixel.
    static int levelFor(double msPerPixel);

    /// Starts the worker for `stream` of the file (-1: the default audio stream);
    /// `onTileReady` runs on the worker thread after each tile and must not block.
    SpectrogramTiles(std::string path, int stream, std::function<void()> onTileReady = {},
                     std::size_t keptTiles = 64);
    ~SpectrogramTiles();
    SpectrogramTiles(const SpectrogramTiles&) = delete;
    SpectrogramTiles& operator=(const SpectrogramTiles&) = delete;

    /// The tile when it is computed; otherwise null, and the tile is queued, the latest
    /// request first (requests the view has long left are dropped).
    std::shared_ptr<const SpectrogramTile> tile(int level, std::int64_t index);

    /// Why no tile will come (the file or its audio cannot be read); None while it may.
    OpenFailure failure() const;

private:
    using Key = std::uint64_t;
    static Key keyOf(int level, std::int64_t index);
    void run(const std::atomic<bool>& cancelled);
    void store(std::shared_ptr<const SpectrogramTile> tile);

    const std::string m_path;
    const int m_stream;
    const std::function<void()> m_onTileReady;
    const std::size_t m_keptTiles;

    mutable std::mutex m_mutex;  ///< guards everything below but the thread
    std::condition_variable m_wake;
    std::deque<Key> m_requests;  ///< newest first
    Key m_computing = ~Key(0);
    std::list<std::shared_ptr<const SpectrogramTile>> m_recent;  ///< most recently used first
    std::unordered_map<Key, decltype(m_recent)::iterator> m_tiles;
    OpenFailure m_failure = OpenFailure::None;

    AnalysisThread m_thread;  ///< last: stopped before the members above go
};

}  // namespace verbanta::media
