#include "waveform_analysis.h"

#include <chrono>
#include <cmath>
#include <mutex>

#include "audio_decoder.h"
#include "media_cache.h"
#include "waveform_payload.h"

namespace verbanta::media {
namespace {

// How often a growing waveform is published and announced.
constexpr auto kPublishEvery = std::chrono::milliseconds(100);
// A track that ends this much before its stated end was cut short.
constexpr double kCutShortMs = 1000.0;
// A block whose timestamp leaps this far past the sound so far continues it instead, and
// sound past a day is not shown: a damaged timestamp must not make the pyramid reach far.
constexpr double kLeapSeconds = 600.0;
constexpr double kLongestSeconds = 24 * 3600.0;

/// Gathers decoded samples into base buckets until they are published.
class BucketCollector {
public:
    void add(const AudioDecoder::Block& block)
    {
        const double perSample = 1000.0 / (PeakPyramid::kBaseMs * block.sampleRate);
        const double at = block.start * 1000.0 / PeakPyramid::kBaseMs;
        // Samples before the player's time 0 cannot be shown.
        const double before = at < 0 ? std::ceil(-at / perSample) : 0.0;
        if (before >= block.count)
            return;
        for (int i = int(before); i < block.count;) {
            const auto bucket = std::int64_t(std::floor(at + i * perSample));
            const int end = std::clamp(int(std::ceil((double(bucket + 1) - at) / perSample)), i + 1,
                                       block.count);
            Peak peak;
            for (int s = i; s < end; ++s) {
                peak.min = std::min(peak.min, block.samples[s]);
                peak.max = std::max(peak.max, block.samples[s]);
            }
            slot(bucket).merge(peak);
            i = end;
        }
    }

    /// Hands the gathered buckets over and starts afresh.
    void publishTo(PeakPyramid& pyramid)
    {
        pyramid.merge(m_first, m_pending);
        m_pending.clear();
    }

private:
    Peak& slot(std::int64_t bucket)
    {
        if (m_pending.empty())
            m_first = bucket;
        if (bucket < m_first) {  // overlapping timestamps: widen the batch backwards
            m_pending.insert(m_pending.begin(), std::size_t(m_first - bucket), Peak{});
            m_first = bucket;
        }
        const auto index = std::size_t(bucket - m_first);
        if (index >= m_pending.size())
            m_pending.resize(index + 1);
        return m_pending[index];
    }

    std::vector<Peak> m_pending;
    std::int64_t m_first = 0;
};

}  // namespace

WaveformAnalysis::WaveformAnalysis(std::string path, int stream, MediaCache* cache,
                                   std::function<void()> onProgress)
    : m_path(std::move(path)),
      m_requestedStream(stream),
      m_cache(cache),
      m_onProgress(std::move(onProgress))
{
    m_state.stream = stream;
    m_thread.start([this](const std::atomic<bool>& cancelled) { run(cancelled); });
}

WaveformAnalysis::~WaveformAnalysis()
{
    m_thread.stop();
}

WaveformState WaveformAnalysis::state() const
{
    std::shared_lock lock(m_mutex);
    return m_state;
}

void WaveformAnalysis::columns(double fromMs, double msPerColumn, std::span<Peak> out) const
{
    std::shared_lock lock(m_mutex);
    m_pyramid.columns(fromMs, msPerColumn, out);
}

std::vector<Peak> WaveformAnalysis::peaks(int resolutionMs) const
{
    std::shared_lock lock(m_mutex);
    if (resolutionMs <= 0 || m_state.endMs <= 0)
        return {};
    std::vector<Peak> out(std::size_t(std::ceil(m_state.endMs / resolutionMs)));
    m_pyramid.columns(0.0, resolutionMs, out);
    return out;
}

std::size_t WaveformAnalysis::memoryBytes() const
{
    std::shared_lock lock(m_mutex);
    return m_pyramid.memoryBytes();
}

void WaveformAnalysis::update(const std::function<void(WaveformState&)>& change)
{
    {
        std::unique_lock lock(m_mutex);
        change(m_state);
    }
    if (m_onProgress)
        m_onProgress();
}

bool WaveformAnalysis::readCache(int stream)
{
    const std::optional<CacheKey> key = CacheKey::of(m_path, stream);
    WaveformState state;
    state.stream = stream;
    PeakPyramid pyramid;
    if (!m_cache || !key || !m_cache->read(*key, AnalysisKind::AudioPeaks, [&](CacheReader& in) {
            return decodePeaks(in, state, pyramid);
        }))
        return false;
    update([&](WaveformState& s) {
        s = std::move(state);
        m_pyramid = std::move(pyramid);
    });
    return true;
}

void WaveformAnalysis::run(const std::atomic<bool>& cancelled)
{
    if (m_requestedStream >= 0 && readCache(m_requestedStream))
        return;
    OpenFailure failure = OpenFailure::None;
    std::string detail;
    std::unique_ptr<AudioDecoder> decoder =
        AudioDecoder::open(m_path, m_requestedStream, 0, &cancelled, failure, detail);
    if (!decoder) {
        update([&](WaveformState& s) {
            s.status = failure == OpenFailure::NoAudio     ? WaveformStatus::NoAudio
                       : failure == OpenFailure::Cancelled ? WaveformStatus::Cancelled
                                                           : WaveformStatus::Unreadable;
            s.failure = failure;
            s.detail = detail;
        });
        return;
    }
    const int stream = decoder->stream();
    if (m_requestedStream < 0 && readCache(stream))
        return;
    // The key as the file was when decoding began: a file changed or deleted meanwhile is
    // still shown, but not stored under a key it no longer matches.
    const std::optional<CacheKey> key = CacheKey::of(m_path, stream);
    decode(*decoder, cancelled);
    const WaveformStatus status = state().status;
    if (m_cache && key &&
        (status == WaveformStatus::Complete || status == WaveformStatus::CutShort) &&
        CacheKey::of(m_path, stream) == key)
        storeInCache(*key);
    if (m_onProgress)
        m_onProgress();
}

void WaveformAnalysis::decode(AudioDecoder& decoder, const std::atomic<bool>& cancelled)
{
    const AudioDecoder::StatedEnd stated = decoder.statedEnd();
    {
        std::unique_lock lock(m_mutex);
        m_state.stream = decoder.stream();
        m_state.sampleRate = decoder.sampleRate();
        m_state.channels = decoder.channels();
        m_state.expectedEndMs = stated.earliest > 0 ? stated.earliest * 1000 : -1.0;
        // Room for the longest stated length and a little more, so that the peaks never move
        // while the window reads them (and never take twice the room).
        if (stated.latest > 0)
            m_pyramid.reserve(std::int64_t(stated.latest * 1.01 * 1000 / PeakPyramid::kBaseMs) +
                              512);
    }
    // A track may end before the whole file does (a video with a shorter sound): the file's
    // length alone calls a track cut short only when much of it is missing.
    const double shortfallMs =
        stated.ofTrack ? kCutShortMs : std::max(kCutShortMs, stated.earliest * 1000 * 0.05);
    BucketCollector collector;
    double start = 0.0;
    double end = 0.0;
    bool hasSound = false;
    // The first block is shown at once, the rest as it comes.
    auto published = std::chrono::steady_clock::now() - kPublishEvery;
    auto publish = [&] {
        std::unique_lock lock(m_mutex);
        collector.publishTo(m_pyramid);
        m_state.hasSound = hasSound;
        m_state.startMs = start * 1000;
        m_state.endMs = std::max(end, 0.0) * 1000;
    };
    AudioDecoder::Block block;
    while (decoder.next(block)) {
        if (hasSound && block.start > end + kLeapSeconds)
            block.start = end;
        if (!(block.start < kLongestSeconds))
            continue;
        else if (hasSound && block.start < end - 1.0)
            publish();  // timestamps went back: the batch restarts there
        collector.add(block);
        start = hasSound ? std::min(start, block.start) : block.start;
        end = std::max(end, block.start + double(block.count) / block.sampleRate);
        hasSound = true;
        if (std::chrono::steady_clock::now() - published >= kPublishEvery) {
            publish();
            if (m_onProgress)
                m_onProgress();
            published = std::chrono::steady_clock::now();
        }
    }
    publish();

    std::unique_lock lock(m_mutex);
    WaveformState& s = m_state;
    s.detail = decoder.endDetail();
    if (cancelled || decoder.end() == AudioDecoder::End::Cancelled) {
        s.status = WaveformStatus::Cancelled;
    } else if (!hasSound &&
               (decoder.end() == AudioDecoder::End::ReadError || decoder.skippedPackets() > 0)) {
        s.status = WaveformStatus::Unreadable;
        s.failure = OpenFailure::NoDecoder;
        if (s.detail.empty())
            s.detail = "no packet of the stream could be decoded";
    } else if (decoder.end() == AudioDecoder::End::ReadError) {
        s.status = WaveformStatus::CutShort;
    } else if (s.expectedEndMs > 0 && s.endMs < s.expectedEndMs - shortfallMs) {
        s.status = WaveformStatus::CutShort;
        s.detail = "the file ends before its stated length";
    } else {
        s.status = WaveformStatus::Complete;
    }
}

void WaveformAnalysis::storeInCache(const CacheKey& key)
{
    std::string payload;
    {
        std::shared_lock lock(m_mutex);
        payload = encodePeaks(m_state, m_pyramid);
    }
    const bool stored = m_cache->write(key, AnalysisKind::AudioPeaks, payload);
    std::unique_lock lock(m_mutex);
    m_state.cache = stored ? CacheUse::Written : CacheUse::Unwritable;
}

}  // namespace verbanta::media
