#include "shot_detector.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include "byte_codec.h"
#include "media_cache.h"
#include "media_file.h"

namespace verbanta::media {
namespace {

// A picture is reduced to the mean brightness of 32 x 18 cells and the mean colour of
// 16 x 9: enough to tell one shot from another, cheap beside the decoding, and blind to
// the noise and fine motion that make consecutive frames of one shot differ.
constexpr int kLumaColumns = 32;
constexpr int kLumaRows = 18;
constexpr int kChromaColumns = 16;
constexpr int kChromaRows = 9;
constexpr int kSamplesPerCellSide = 8;

// A cut's difference must be this large on the 0..255 scale, and this many times the usual
// difference of the frames around it.
constexpr float kLeastCut = 12.0f;
constexpr float kCutOverUsual = 3.0f;
constexpr int kNeighbours = 4;  // frames looked at on each side

constexpr int kReadRetries = 10;
constexpr int kDecodeFailures = 100000;  // a decoder that only fails is given up on
constexpr std::uint32_t kPayloadVersion = 1;

struct Signature {
    std::vector<std::uint8_t> luma;
    std::vector<std::uint8_t> chroma;  // both colour planes, empty for grey pictures
};

/// Reads one component of a planar or semi-planar YUV picture, scaled to 8 bits.
class ComponentReader {
public:
    ComponentReader(const AVFrame* frame, const AVPixFmtDescriptor* desc, int component)
        : m_component(desc->comp[component]),
          m_bigEndian((desc->flags & AV_PIX_FMT_FLAG_BE) != 0),
          m_data(frame->data[desc->comp[component].plane]),
          m_stride(frame->linesize[desc->comp[component].plane])
    {
        const bool colour = component > 0;
        m_width = colour ? AV_CEIL_RSHIFT(frame->width, desc->log2_chroma_w) : frame->width;
        m_height = colour ? AV_CEIL_RSHIFT(frame->height, desc->log2_chroma_h) : frame->height;
    }
    int width() const { return m_width; }
    int height() const { return m_height; }

    unsigned at(int x, int y) const
    {
        const std::uint8_t* p = m_data + std::ptrdiff_t(y) * m_stride +
                                std::ptrdiff_t(x) * m_component.step + m_component.offset;
        if (m_component.depth <= 8)
            return unsigned(*p >> m_component.shift);
        const unsigned word = m_bigEndian ? unsigned(p[0]) << 8 | p[1] : unsigned(p[1]) << 8 | p[0];
        return (word >> m_component.shift) >> (m_component.depth - 8);
    }

private:
    AVComponentDescriptor m_component;
    bool m_bigEndian;
    const std::uint8_t* m_data;
    int m_stride;
    int m_width = 0;
    int m_height = 0;
};

void cellMeans(const ComponentReader& plane, int columns, int rows, std::vector<std::uint8_t>& out)
{
    for (int row = 0; row < rows; ++row) {
        const int top = plane.height() * row / rows;
        const int bottom = std::max(top + 1, plane.height() * (row + 1) / rows);
        const int stepY = std::max(1, (bottom - top) / kSamplesPerCellSide);
        for (int column = 0; column < columns; ++column) {
            const int left = plane.width() * column / columns;
            const int right = std::max(left + 1, plane.width() * (column + 1) / columns);
            const int stepX = std::max(1, (right - left) / kSamplesPerCellSide);
            unsigned sum = 0, count = 0;
            for (int y = top; y < bottom && y < plane.height(); y += stepY)
                for (int x = left; x < right && x < plane.width(); x += stepX) {
                    sum += plane.at(x, y);
                    ++count;
                }
            out.push_back(std::uint8_t(count ? sum / count : 0));
        }
    }
}

/// Whether the picture layout is one the signature reads: YUV or grey, planes of bytes or
/// of 9- to 16-bit words.
bool readable(const AVPixFmtDescriptor* desc)
{
    if (!desc || desc->nb_components < 1)
        return false;
    constexpr auto kUnreadable = AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL |
                                 AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL |
                                 AV_PIX_FMT_FLAG_FLOAT;
    return (desc->flags & kUnreadable) == 0 && desc->comp[0].depth <= 16;
}

void signatureOf(const AVFrame* frame, const AVPixFmtDescriptor* desc, Signature& s)
{
    s.luma.clear();
    s.chroma.clear();
    cellMeans(ComponentReader(frame, desc, 0), kLumaColumns, kLumaRows, s.luma);
    if (desc->nb_components >= 3) {
        cellMeans(ComponentReader(frame, desc, 1), kChromaColumns, kChromaRows, s.chroma);
        cellMeans(ComponentReader(frame, desc, 2), kChromaColumns, kChromaRows, s.chroma);
    }
}

float meanAbsoluteDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    if (a.empty() || a.size() != b.size())
        return 0.0f;
    unsigned sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += unsigned(std::abs(int(a[i]) - int(b[i])));
    return float(sum) / float(a.size());
}

float difference(const Signature& a, const Signature& b)
{
    return meanAbsoluteDifference(a.luma, b.luma) + meanAbsoluteDifference(a.chroma, b.chroma);
}

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

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
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

struct CodecContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};

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
    const auto cancelled = [&] { return cancel && cancel->load(std::memory_order_relaxed); };
    OpenFailure failure = OpenFailure::None;
    std::unique_ptr<MediaFile> file = MediaFile::open(path, cancel, failure, result.detail);
    if (!file) {
        result.failure =
            failure == OpenFailure::Cancelled ? ShotFailure::Cancelled : ShotFailure::Unreadable;
        return result;
    }
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

    for (unsigned i = 0; i < context->nb_streams; ++i)
        context->streams[i]->discard = int(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVStream* st = context->streams[stream];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecContextDeleter> decoder(avcodec_alloc_context3(codec));
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    int status = codec && decoder && packet && frame
                     ? avcodec_parameters_to_context(decoder.get(), st->codecpar)
                     : AVERROR_DECODER_NOT_FOUND;
    if (status >= 0) {
        decoder->thread_count = 0;  // as many as the machine has
        decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        // The deblocking filter smooths block edges, which the cell means do not see; the
        // frames and their times stay the same without it.
        decoder->skip_loop_filter = AVDISCARD_ALL;
        decoder->pkt_timebase = st->time_base;
        status = avcodec_open2(decoder.get(), codec, nullptr);
    }
    if (status < 0) {
        result.failure = ShotFailure::NoDecoder;
        result.detail = errorText(status);
        return result;
    }

    const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    result.changes.frameRate = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    const std::int64_t zeroUs = std::llround(file->playerZero() * 1e6);
    const double endSeconds = file->containerEnd();

    std::vector<float> differences;
    std::vector<std::int64_t> timesMs;
    Signature previous, current;
    std::int64_t lastUs = 0;
    int readFailures = 0;
    int decodeFailures = 0;
    bool draining = false;
    const auto take = [&]() -> bool {
        const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(AVPixelFormat(frame->format));
        if (!readable(desc)) {
            result.failure = ShotFailure::NoDecoder;
            result.detail = std::string("picture layout ") +
                            (desc ? desc->name : "unknown") + " is not read";
            return false;
        }
        std::int64_t us = lastUs;
        if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
            us = av_rescale_q_rnd(frame->best_effort_timestamp, st->time_base, AV_TIME_BASE_Q,
                                  AVRounding(AV_ROUND_DOWN | AV_ROUND_PASS_MINMAX)) -
                 zeroUs;
        lastUs = us;
        signatureOf(frame.get(), desc, current);
        differences.push_back(differences.empty() ? 0.0f : difference(previous, current));
        timesMs.push_back(floorDiv(us, 1000));
        std::swap(previous, current);
        if (progress && endSeconds > 0)
            progress(std::clamp(double(us) / 1e6 / endSeconds, 0.0, 1.0));
        return true;
    };

    for (;;) {
        if (cancelled()) {
            result.failure = ShotFailure::Cancelled;
            return result;
        }
        status = avcodec_receive_frame(decoder.get(), frame.get());
        if (status >= 0) {
            const bool ok = take();
            av_frame_unref(frame.get());
            if (!ok)
                return result;
            continue;
        }
        if (status == AVERROR_EOF)
            break;
        if (status != AVERROR(EAGAIN)) {
            // A frame the decoder cannot make is skipped, as the player skips it.
            if (++decodeFailures > kDecodeFailures)
                break;
            if (draining)
                continue;
        } else if (draining) {
            break;
        }
        status = av_read_frame(context, packet.get());
        if (status < 0) {
            if (cancelled())
                continue;
            if (status != AVERROR_EOF) {
                result.detail = errorText(status);
                if (++readFailures < kReadRetries)
                    continue;
                result.changes.cutShort = true;
            }
            avcodec_send_packet(decoder.get(), nullptr);
            draining = true;
            continue;
        }
        readFailures = 0;
        if (packet->stream_index == stream)
            avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
    }

    result.changes.frameCount = std::int64_t(timesMs.size());
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
    if (progress)
        progress(1.0);
    return result;
}

}  // namespace verbanta::media
