#include "spectrogram.h"

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/tx.h>
}

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "audio_decoder.h"

namespace verbanta::media {
namespace {

constexpr double kBaseColumnMs = 2.0;
// Tiles are asked for up to this far: a hundred hours, more than any film.
constexpr double kLongestMs = 100 * 3600e3;
// Requests beyond these many, the oldest, are for places the view has left.
constexpr std::size_t kQueuedRequests = 32;
// Decoded sound before a window after a seek: the decoder's first frame there is unreliable.
constexpr double kPrerollSeconds = 0.1;
// A window this far ahead of the decoded sound is reached by seeking rather than decoding on.
constexpr double kSeekAheadSeconds = 0.5;
// Levels from quiet to loud: -90 dB (noise floor of most recordings) to -10 dB below full scale.
constexpr double kFloorDb = -90.0;
constexpr double kCeilDb = -10.0;

using Rgb = std::array<std::uint8_t, 3>;

/// A perceptually even dark-to-bright map (matplotlib's "inferno", sampled): quiet is dark,
/// formants and harmonics stand out bright, and equal steps look equal.
std::array<Rgb, 256> colourMap()
{
    static constexpr std::array<Rgb, 9> kStops{{{0, 0, 4},
                                                {31, 12, 72},
                                                {85, 15, 109},
                                                {136, 34, 106},
                                                {186, 54, 85},
                                                {227, 89, 51},
                                                {249, 142, 9},
                                                {249, 203, 53},
                                                {252, 255, 164}}};
    std::array<Rgb, 256> map{};
    for (int i = 0; i < 256; ++i) {
        const double at = i / 255.0 * (kStops.size() - 1);
        const auto stop = std::min<std::size_t>(std::size_t(at), kStops.size() - 2);
        const double t = at - double(stop);
        for (std::size_t c = 0; c < 3; ++c)
            map[std::size_t(i)][c] =
                std::uint8_t(std::lround(kStops[stop][c] * (1 - t) + kStops[stop + 1][c] * t));
    }
    return map;
}

double mel(double hz)
{
    return 2595.0 * std::log10(1.0 + hz / 700.0);
}

double hzOfMel(double m)
{
    return 700.0 * (std::pow(10.0, m / 2595.0) - 1.0);
}

/// The transform bins [first, last] each row shows, row 0 at the top.
std::array<std::pair<int, int>, SpectrogramTiles::kRows> rowBins()
{
    constexpr int kRows = SpectrogramTiles::kRows;
    constexpr double kBinHz = double(SpectrogramTiles::kSampleRate) / SpectrogramTiles::kWindow;
    std::array<std::pair<int, int>, kRows> rows{};
    const double top = mel(SpectrogramTiles::kTopHz);
    for (int r = 0; r < kRows; ++r) {
        const double low = hzOfMel(top * (kRows - 1 - r) / kRows) / kBinHz;
        const double high = hzOfMel(top * (kRows - r) / kRows) / kBinHz;
        const int first = int(std::lround(low));
        rows[std::size_t(r)] = {first, std::max(first, int(std::lround(high)) - 1)};
    }
    return rows;
}

/// Windows of decoded sound at any times, decoding on for nearby ones and seeking for far.
class WindowReader {
public:
    explicit WindowReader(AudioDecoder& decoder) : m_decoder(decoder) {}

    /// kWindow samples from `start` seconds on, scaled to [-1, 1]; silence where none are.
    void read(double start, float* out)
    {
        constexpr double kRate = SpectrogramTiles::kSampleRate;
        if (!m_positioned || start < m_first || start > end() + kSeekAheadSeconds) {
            m_decoder.seek(start - kPrerollSeconds);
            m_samples.clear();
            m_positioned = true;
            m_ended = false;
        }
        const double until = start + SpectrogramTiles::kWindow / kRate;
        AudioDecoder::Block block;
        while (!m_ended && (m_samples.empty() || end() < until)) {
            if (m_decoder.next(block))
                append(block);
            else
                m_ended = true;
        }
        // What lies before this window is not needed again: windows come in time order.
        const auto skip =
            std::clamp<std::ptrdiff_t>(std::ptrdiff_t(std::floor((start - m_first) * kRate)), 0,
                                       std::ptrdiff_t(m_samples.size()));
        m_samples.erase(m_samples.begin(), m_samples.begin() + skip);
        m_first += double(skip) / kRate;
        const auto offset = std::ptrdiff_t(std::lround((start - m_first) * kRate));
        for (int i = 0; i < SpectrogramTiles::kWindow; ++i) {
            const std::ptrdiff_t at = offset + i;
            out[i] = at >= 0 && at < std::ptrdiff_t(m_samples.size())
                         ? m_samples[std::size_t(at)] / 32768.0f
                         : 0.0f;
        }
    }

private:
    double end() const
    {
        return m_first + double(m_samples.size()) / SpectrogramTiles::kSampleRate;
    }

    void append(const AudioDecoder::Block& block)
    {
        // Blocks follow one another; a jump in their timestamps starts the run afresh.
        if (m_samples.empty() || std::abs(block.start - end()) > 0.05) {
            m_samples.clear();
            m_first = block.start;
        }
        m_samples.insert(m_samples.end(), block.samples, block.samples + block.count);
    }

    AudioDecoder& m_decoder;
    std::vector<std::int16_t> m_samples;
    double m_first = 0.0;  ///< the time of the first sample held
    bool m_positioned = false;
    bool m_ended = false;
};

/// A real transform of kWindow samples through libavutil, with its Hann window.
class Transform {
public:
    static constexpr int kBins = SpectrogramTiles::kWindow / 2 + 1;

    Transform()
    {
        float scale = 1.0f;
        m_in = static_cast<float*>(av_malloc(sizeof(float) * SpectrogramTiles::kWindow));
        m_out = static_cast<AVComplexFloat*>(av_malloc(sizeof(AVComplexFloat) * kBins));
        av_tx_init(&m_context, &m_run, AV_TX_FLOAT_RDFT, 0, SpectrogramTiles::kWindow, &scale, 0);
        double sum = 0.0;
        for (int i = 0; i < SpectrogramTiles::kWindow; ++i) {
            m_window[std::size_t(i)] =
                float(0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / SpectrogramTiles::kWindow));
            sum += m_window[std::size_t(i)];
        }
        m_toAmplitude = 2.0 / sum;
    }
    ~Transform()
    {
        av_tx_uninit(&m_context);
        av_free(m_in);
        av_free(m_out);
    }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;

    bool ready() const { return m_context && m_in && m_out; }
    float* input() { return m_in; }

    /// The level of each bin in dB below full scale, after windowing the input.
    void levels(std::array<float, kBins>& db)
    {
        for (int i = 0; i < SpectrogramTiles::kWindow; ++i) m_in[i] *= m_window[std::size_t(i)];
        m_run(m_context, m_out, m_in, sizeof(float));
        for (int k = 0; k < kBins; ++k) {
            const double amplitude = std::hypot(m_out[k].re, m_out[k].im) * m_toAmplitude;
            db[std::size_t(k)] = float(20.0 * std::log10(amplitude + 1e-12));
        }
    }

private:
    AVTXContext* m_context = nullptr;
    av_tx_fn m_run = nullptr;
    float* m_in = nullptr;
    AVComplexFloat* m_out = nullptr;
    std::array<float, SpectrogramTiles::kWindow> m_window{};
    double m_toAmplitude = 1.0;
};

std::shared_ptr<SpectrogramTile> computeTile(int level, std::int64_t index, WindowReader& reader,
                                             Transform& transform,
                                             const std::atomic<bool>& cancelled)
{
    static const std::array<Rgb, 256> kColours = colourMap();
    static const auto kRowBins = rowBins();
    constexpr int kColumns = SpectrogramTiles::kColumns;
    auto tile = std::make_shared<SpectrogramTile>();
    tile->level = level;
    tile->index = index;
    tile->rgb.assign(std::size_t(kColumns) * SpectrogramTiles::kRows * 3, 0);
    std::array<float, Transform::kBins> db{};
    const double columnMs = SpectrogramTiles::columnMs(level);
    const double tileStart = double(index) * SpectrogramTiles::tileMs(level);
    const double halfWindow = SpectrogramTiles::kWindow / 2.0 / SpectrogramTiles::kSampleRate;
    for (int c = 0; c < kColumns; ++c) {
        if (cancelled)
            return nullptr;
        const double centre = (tileStart + (c + 0.5) * columnMs) / 1000.0;
        reader.read(centre - halfWindow, transform.input());
        transform.levels(db);
        for (int r = 0; r < SpectrogramTiles::kRows; ++r) {
            const auto [first, last] = kRowBins[std::size_t(r)];
            float loudest = db[std::size_t(first)];
            for (int k = first + 1; k <= last; ++k) loudest = std::max(loudest, db[std::size_t(k)]);
            const double level01 =
                std::clamp((loudest - kFloorDb) / (kCeilDb - kFloorDb), 0.0, 1.0);
            const Rgb& colour = kColours[std::size_t(std::lround(level01 * 255))];
            std::copy(colour.begin(), colour.end(),
                      tile->rgb.begin() + (std::ptrdiff_t(r) * kColumns + c) * 3);
        }
    }
    return tile;
}

}  // namespace

double SpectrogramTiles::columnMs(int level)
{
    return std::ldexp(kBaseColumnMs, level);
}

int SpectrogramTiles::levelFor(double msPerPixel)
{
    int level = 0;
    while (level + 1 < kLevels && columnMs(level + 1) <= msPerPixel) ++level;
    return level;
}

SpectrogramTiles::Key SpectrogramTiles::keyOf(int level, std::int64_t index)
{
    return (Key(level) << 56) | (Key(index) & ((Key(1) << 56) - 1));
}

SpectrogramTiles::SpectrogramTiles(std::string path, int stream, std::function<void()> onTileReady,
                                   std::size_t keptTiles)
    : m_path(std::move(path)),
      m_stream(stream),
      m_onTileReady(std::move(onTileReady)),
      m_keptTiles(std::max<std::size_t>(keptTiles, 1))
{
    m_thread.start([this](const std::atomic<bool>& cancelled) { run(cancelled); });
}

SpectrogramTiles::~SpectrogramTiles()
{
    {
        std::lock_guard lock(m_mutex);
        m_thread.cancel();
    }
    m_wake.notify_all();
    m_thread.stop();
}

OpenFailure SpectrogramTiles::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

std::shared_ptr<const SpectrogramTile> SpectrogramTiles::tile(int level, std::int64_t index)
{
    const Key key = keyOf(level, index);
    std::lock_guard lock(m_mutex);
    if (const auto found = m_tiles.find(key); found != m_tiles.end()) {
        m_recent.splice(m_recent.begin(), m_recent, found->second);
        return *found->second;
    }
    if (m_failure != OpenFailure::None || key == m_computing || level < 0 || level >= kLevels ||
        index < 0 || double(index) * tileMs(level) > kLongestMs)
        return nullptr;
    std::erase(m_requests, key);
    m_requests.push_front(key);
    if (m_requests.size() > kQueuedRequests)
        m_requests.pop_back();
    m_wake.notify_one();
    return nullptr;
}

void SpectrogramTiles::store(std::shared_ptr<const SpectrogramTile> tile)
{
    const Key key = keyOf(tile->level, tile->index);
    m_recent.push_front(std::move(tile));
    m_tiles[key] = m_recent.begin();
    if (m_recent.size() > m_keptTiles) {
        const auto& oldest = m_recent.back();
        m_tiles.erase(keyOf(oldest->level, oldest->index));
        m_recent.pop_back();
    }
}

void SpectrogramTiles::run(const std::atomic<bool>& cancelled)
{
    OpenFailure failure = OpenFailure::None;
    std::string detail;
    const std::unique_ptr<AudioDecoder> decoder =
        AudioDecoder::open(m_path, m_stream, kSampleRate, &cancelled, failure, detail);
    Transform transform;
    if (decoder && !transform.ready())
        failure = OpenFailure::NoDecoder;
    if (failure != OpenFailure::None) {
        std::lock_guard lock(m_mutex);
        m_failure = failure;
        m_requests.clear();
        return;
    }
    WindowReader reader(*decoder);
    for (;;) {
        Key key = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return cancelled.load() || !m_requests.empty(); });
            if (cancelled)
                return;
            key = m_computing = m_requests.front();
            m_requests.pop_front();
        }
        const int level = int(key >> 56);
        const auto index = std::int64_t(key & ((Key(1) << 56) - 1));
        std::shared_ptr<SpectrogramTile> tile =
            computeTile(level, index, reader, transform, cancelled);
        {
            std::lock_guard lock(m_mutex);
            m_computing = ~Key(0);
            if (tile)
                store(std::move(tile));
        }
        if (m_onTileReady && !cancelled)
            m_onTileReady();
    }
}

}  // namespace verbanta::media
