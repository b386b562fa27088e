#include "video_pass.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace verbanta::media {
namespace {

constexpr int kReadRetries = 10;
constexpr int kDecodeFailures = 100000;  // a decoder that only fails is given up on

}  // namespace

std::unique_ptr<MediaFile> openForShots(const std::string& path, const std::atomic<bool>* cancel,
                                        ShotAnalysis& result)
{
    OpenFailure failure = OpenFailure::None;
    std::unique_ptr<MediaFile> file = MediaFile::open(path, cancel, failure, result.detail);
    if (!file)
        result.failure =
            failure == OpenFailure::Cancelled ? ShotFailure::Cancelled : ShotFailure::Unreadable;
    return file;
}

std::unique_ptr<MediaFile> Scan::reopen() const
{
    std::unique_ptr<MediaFile> file = openForShots(path, cancel, result);
    if (!file)
        return nullptr;
    AVFormatContext* context = file->context();
    if (unsigned(stream) >= context->nb_streams) {
        result.failure = ShotFailure::Unreadable;
        return nullptr;
    }
    for (unsigned i = 0; i < context->nb_streams; ++i)
        context->streams[i]->discard = int(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    return file;
}

PassEnd readPackets(Scan& scan, AVFormatContext* context, AVPacket* packet,
                    const std::function<bool(const AVPacket*)>& use)
{
    int readFailures = 0;
    for (;;) {
        if (scan.cancelled()) {
            scan.result.failure = ShotFailure::Cancelled;
            return PassEnd::Failed;
        }
        const int status = av_read_frame(context, packet);
        if (status < 0) {
            if (scan.cancelled())
                continue;
            if (status != AVERROR_EOF) {
                scan.result.detail = errorText(status);
                if (++readFailures < kReadRetries)
                    continue;
                scan.result.changes.cutShort = true;
            }
            return use(nullptr) ? PassEnd::Finished : PassEnd::Stopped;
        }
        readFailures = 0;
        const bool go = packet->stream_index != scan.stream || use(packet);
        av_packet_unref(packet);
        if (!go)
            return PassEnd::Stopped;
    }
}

PassEnd decodePass(Scan& scan, const std::function<AVDiscard(const AVPacket&)>& skipFor,
                   const std::function<bool(const AVFrame&)>& take, const GroupShare* share)
{
    const std::unique_ptr<MediaFile> file = scan.reopen();
    if (!file)
        return PassEnd::Failed;
    const AVStream* st = file->context()->streams[scan.stream];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecContextDeleter> decoder(avcodec_alloc_context3(codec));
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    int status = codec && decoder && packet && frame
                     ? avcodec_parameters_to_context(decoder.get(), st->codecpar)
                     : AVERROR_DECODER_NOT_FOUND;
    if (status >= 0) {
        // As many threads as the machine has, unless the decoders of a shared pass use them.
        decoder->thread_count = share ? 1 : 0;
        decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        // The deblocking filter smooths block edges, which the cell means do not see; the
        // frames and their times stay the same without it.
        decoder->skip_loop_filter = AVDISCARD_ALL;
        decoder->pkt_timebase = st->time_base;
        status = avcodec_open2(decoder.get(), codec, nullptr);
    }
    if (status < 0) {
        scan.result.failure = ShotFailure::NoDecoder;
        scan.result.detail = errorText(status);
        return PassEnd::Failed;
    }
    int decodeFailures = 0;
    bool stopped = false;
    // Hands the decoder's finished pictures on; false once `take` wants no more.
    const auto drain = [&] {
        for (;;) {
            status = avcodec_receive_frame(decoder.get(), frame.get());
            if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
                return true;
            if (status < 0) {
                // A frame the decoder cannot make is skipped, as the player skips it.
                if (++decodeFailures > kDecodeFailures)
                    return false;
                continue;
            }
            const bool more = take(*frame);
            av_frame_unref(frame.get());
            if (!more) {
                stopped = true;
                return false;
            }
        }
    };
    bool mine = !share;
    long group = -1;
    const auto endGroup = [&] {
        avcodec_send_packet(decoder.get(), nullptr);
        if (!drain())
            return false;
        if (share) {
            avcodec_flush_buffers(decoder.get());
            share->ended();
        }
        return true;
    };
    const PassEnd end = readPackets(scan, file->context(), packet.get(), [&](const AVPacket* p) {
        if (!p)
            return mine ? endGroup() : true;
        if (share && (p->flags & AV_PKT_FLAG_KEY)) {
            if (mine && !endGroup())
                return false;
            mine = share->takes(++group);
            if (mine)
                share->starts(*p);
        }
        if (!mine)
            return true;
        // Frame threads take the skip setting with each packet, so it may change per frame.
        decoder->skip_frame = skipFor(*p);
        if (avcodec_send_packet(decoder.get(), p) == AVERROR(EAGAIN)) {
            if (!drain())
                return false;
            avcodec_send_packet(decoder.get(), p);
        }
        return drain();
    });
    if (end == PassEnd::Failed || scan.result.failure != ShotFailure::None)
        return PassEnd::Failed;
    return stopped ? PassEnd::Stopped : PassEnd::Finished;
}

float Signer::sign(const AVFrame& frame)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(AVPixelFormat(frame.format));
    if (!signatureReadable(desc)) {
        m_scan.result.failure = ShotFailure::NoDecoder;
        m_scan.result.detail =
            std::string("picture layout ") + (desc ? desc->name : "unknown") + " is not read";
        return -1.0f;
    }
    signatureOf(&frame, desc, m_current);
    const float d = m_first ? 0.0f : signatureDifference(m_previous, m_current);
    m_first = false;
    std::swap(m_previous, m_current);
    return d;
}

}  // namespace verbanta::media
