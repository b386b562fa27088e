#include "shot_detector.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "byte_codec.h"
#include "media_cache.h"
#include "media_file.h"
#include "shot_scan.h"
#include "video_pass.h"

namespace verbanta::media {
namespace {

// A cut's difference must be at least kLeastCut, and this many times the usual difference of
// the frames around it.
constexpr float kCutOverUsual = 3.0f;

constexpr std::uint32_t kPayloadVersion = 1;

/// The stream the player shows: the first one flagged default, else the first, never a
/// cover picture.
int shownVideoStream(const AVFormatContext* context)
{
    int first = -1;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* s = context->streams[i];
        if (s->codecpar->codec_type != AVMEDIA_TYPE_VIDEO ||
            (s->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        if (s->disposition & AV_DISPOSITION_DEFAULT)
            return int(i);
        if (first < 0)
            first = int(i);
    }
    return first;
}

std::string payloadOf(const ShotChanges& c)
{
    ByteWriter w;
    w.put(kPayloadVersion);
    w.put(std::bit_cast<std::uint64_t>(c.frameRate));
    w.put(c.frameCount);
    w.put(std::uint8_t(c.cutShort));
    w.put(std::uint32_t(c.shotsMs.size()));
    for (std::int64_t ms : c.shotsMs) w.put(ms);
    return std::move(w.bytes());
}

bool parsePayload(CacheReader& reader, ShotChanges& c)
{
    std::string bytes(reader.remaining(), '\0');
    if (!reader.read(bytes.data(), bytes.size()))
        return false;
    ByteReader r(bytes);
    if (r.get<std::uint32_t>() != kPayloadVersion)
        return false;
    c.frameRate = std::bit_cast<double>(r.get<std::uint64_t>());
    c.frameCount = r.get<std::int64_t>();
    c.cutShort = r.get<std::uint8_t>() != 0;
    const std::uint32_t count = r.get<std::uint32_t>();
    if (bytes.size() != 4 + 8 + 8 + 1 + 4 + std::size_t(count) * 8)
        return false;
    c.shotsMs.resize(count);
    for (std::int64_t& ms : c.shotsMs) ms = r.get<std::int64_t>();
    return std::is_sorted(c.shotsMs.begin(), c.shotsMs.end()) && c.frameCount >= 0;
}

}  // namespace

std::vector<std::size_t> hardCutFrames(const std::vector<float>& differences)
{
    std::vector<std::size_t> cuts;
    const std::size_t n = differences.size();
    std::vector<float> around;
    for (std::size_t i = 1; i < n; ++i) {
        const float d = differences[i];
        if (d < kLeastCut)
            continue;
        around.clear();
        for (std::size_t j = i > kNeighbours + 1 ? i - kNeighbours : 1; j < i; ++j)
            around.push_back(differences[j]);
        for (std::size_t j = i + 1; j < n && j <= i + kNeighbours; ++j)
            around.push_back(differences[j]);
        float usual = 0.0f;
        if (!around.empty()) {
            // The median: one more cut or flash nearby does not hide this one.
            auto middle = around.begin() + std::ptrdiff_t(around.size() / 2);
            std::nth_element(around.begin(), middle, around.end());
            usual = *middle;
        }
        if (d >= kCutOverUsual * usual)
            cuts.push_back(i);
    }
    return cuts;
}

ShotAnalysis findShotChanges(const std::string& path, const std::atomic<bool>* cancel,
                             const std::function<void(double)>& progress, MediaCache* cache)
{
    ShotAnalysis result;
    std::unique_ptr<MediaFile> file = openForShots(path, cancel, result);
    if (!file)
        return result;
    AVFormatContext* context = file->context();
    const int stream = shownVideoStream(context);
    if (stream < 0) {
        result.failure = ShotFailure::NoVideo;
        return result;
    }
    const std::optional<CacheKey> key = cache ? CacheKey::of(path, stream) : std::nullopt;
    if (key && cache->read(*key, AnalysisKind::ShotChanges, [&](CacheReader& reader) {
            return parsePayload(reader, result.changes);
        })) {
        result.fromCache = true;
        if (progress)
            progress(1.0);
        return result;
    }
    result.changes = {};

    const AVStream* st = context->streams[stream];
    if (!avcodec_find_decoder(st->codecpar->codec_id)) {
        result.failure = ShotFailure::NoDecoder;
        result.detail = errorText(AVERROR_DECODER_NOT_FOUND);
        return result;
    }
    const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    result.changes.frameRate = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    ProgressReport report(progress);
    Scan scan{path, stream, cancel, result, report};
    scan.zeroUs = std::llround(file->playerZero() * 1e6);
    scan.endSeconds = file->containerEnd();
    scan.timeBase = st->time_base;
    file.reset();  // each pass opens the file afresh

    Series series;
    const Sparse sparse = scanSparsely(scan, series);
    if (sparse == Sparse::Failed)
        return result;
    if (sparse == Sparse::Unusable) {
        series = {};
        if (!scanEveryFrame(scan, report.done(), series))
            return result;
    }
    const std::vector<float>& differences = series.differences;
    const std::vector<std::int64_t>& timesMs = series.timesMs;

    for (std::size_t i : hardCutFrames(differences)) result.changes.shotsMs.push_back(timesMs[i]);
    // Frames come in presentation order; a stream whose times go back keeps its cuts sorted.
    std::sort(result.changes.shotsMs.begin(), result.changes.shotsMs.end());
    result.changes.shotsMs.erase(
        std::unique(result.changes.shotsMs.begin(), result.changes.shotsMs.end()),
        result.changes.shotsMs.end());
    if (!result.changes.cutShort)
        result.detail.clear();
    if (key && !result.changes.cutShort)
        cache->write(*key, AnalysisKind::ShotChanges, payloadOf(result.changes));
    report(0.0, 1.0, 1.0);
    return result;
}

}  // namespace verbanta::media
