#include "audio_decoder.h"

#include <algorithm>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libswresample/swresample.h>
}

namespace verbanta::media {
namespace {

// Failed reads in a row that end the sound; libmpv gives up after as many.
constexpr int kReadRetries = 10;

double seconds(std::int64_t ts, AVRational base)
{
    return ts * av_q2d(base);
}

}  // namespace

std::unique_ptr<AudioDecoder> AudioDecoder::open(const std::string& path, int stream,
                                                 int outputRate, const std::atomic<bool>* cancel,
                                                 OpenFailure& failure, std::string& detail)
{
    std::unique_ptr<AudioDecoder> decoder(new AudioDecoder);
    decoder->m_cancel = cancel;
    decoder->m_outputRate = outputRate;
    decoder->m_file = MediaFile::open(path, cancel, failure, detail);
    if (!decoder->m_file)
        return nullptr;
    AVFormatContext* context = decoder->m_file->context();
    if (stream < 0)
        stream = decoder->m_file->defaultAudioStream();
    if (decoder->m_file->audioStreams().empty()) {
        failure = OpenFailure::NoAudio;
        return nullptr;
    }
    if (stream < 0 || unsigned(stream) >= context->nb_streams ||
        context->streams[stream]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) {
        failure = OpenFailure::NotAudio;
        return nullptr;
    }
    decoder->m_stream = stream;
    // Only the chosen stream is read from the disk's packets; the others are skipped early.
    for (unsigned i = 0; i < context->nb_streams; ++i)
        context->streams[i]->discard = int(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVStream* st = context->streams[stream];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    decoder->m_codec = avcodec_alloc_context3(codec);
    decoder->m_packet = av_packet_alloc();
    decoder->m_frame = av_frame_alloc();
    int status = codec && decoder->m_codec && decoder->m_packet && decoder->m_frame
                     ? avcodec_parameters_to_context(decoder->m_codec, st->codecpar)
                     : AVERROR_DECODER_NOT_FOUND;
    if (status >= 0) {
        // Frames carry the stream's timestamps, moved by any leading samples the codec drops.
        decoder->m_codec->pkt_timebase = st->time_base;
        status = avcodec_open2(decoder->m_codec, codec, nullptr);
    }
    if (status < 0) {
        failure = OpenFailure::NoDecoder;
        detail = std::string(avcodec_get_name(st->codecpar->codec_id)) + ": " + errorText(status);
        return nullptr;
    }
    if (st->start_time != AV_NOPTS_VALUE)
        decoder->m_nextStart =
            seconds(st->start_time, st->time_base) - decoder->m_file->playerZero();
    failure = OpenFailure::None;
    return decoder;
}

AudioDecoder::~AudioDecoder()
{
    swr_free(&m_resampler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
}

int AudioDecoder::sampleRate() const
{
    return m_file->context()->streams[m_stream]->codecpar->sample_rate;
}

int AudioDecoder::channels() const
{
    return m_file->context()->streams[m_stream]->codecpar->ch_layout.nb_channels;
}

AudioDecoder::StatedEnd AudioDecoder::statedEnd() const
{
    const AVStream* st = m_file->context()->streams[m_stream];
    const double zero = m_file->playerZero();
    const bool started = st->start_time != AV_NOPTS_VALUE;
    const double start = started ? seconds(st->start_time, st->time_base) : 0.0;
    StatedEnd end;
    auto reading = [&end](double at) {
        end.earliest = end.earliest < 0 ? at : std::min(end.earliest, at);
        end.latest = std::max(end.latest, at);
    };
    if (started && st->duration != AV_NOPTS_VALUE && st->duration > 0)
        reading(start + seconds(st->duration, st->time_base) - zero);
    // Matroska keeps a track's length as a "DURATION" tag, from 0 or from the track's start.
    const AVDictionaryEntry* tag = av_dict_get(st->metadata, "DURATION", nullptr, 0);
    int hours = 0, minutes = 0;
    double secs = 0.0;
    if (tag && std::sscanf(tag->value, "%d:%d:%lf", &hours, &minutes, &secs) == 3) {
        const double length = hours * 3600.0 + minutes * 60.0 + secs;
        reading(length - zero);
        reading(start + length - zero);
    }
    end.ofTrack = end.latest > 0;
    if (!end.ofTrack) {
        end = {};
        const double whole = m_file->containerEnd();
        if (whole > 0)
            reading(whole);
    }
    return end;
}

bool AudioDecoder::seek(double at)
{
    const AVStream* st = m_file->context()->streams[m_stream];
    const auto ts = std::int64_t((at + m_file->playerZero()) / av_q2d(st->time_base));
    int status = av_seek_frame(m_file->context(), m_stream, ts, AVSEEK_FLAG_BACKWARD);
    if (status < 0)  // before the first packet: the start is the nearest place
        status = av_seek_frame(m_file->context(), m_stream, ts, 0);
    avcodec_flush_buffers(m_codec);
    swr_free(&m_resampler);
    m_end = End::NotYet;
    m_endDetail.clear();
    m_readFailures = 0;
    m_nextStart = at;
    return status >= 0;
}

bool AudioDecoder::finish(End end, int status)
{
    m_end = end;
    if (status < 0)
        m_endDetail = errorText(status);
    return false;
}

bool AudioDecoder::next(Block& block)
{
    while (m_end == End::NotYet) {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed))
            return finish(End::Cancelled, 0);
        if (receive(block))
            return true;
    }
    return false;
}

// One step: a frame out of the decoder if it has one, else one packet into it.
bool AudioDecoder::receive(Block& block)
{
    int status = avcodec_receive_frame(m_codec, m_frame);
    if (status >= 0) {
        const bool converted = convert(block);
        av_frame_unref(m_frame);
        return converted && block.count > 0;
    }
    if (status == AVERROR_EOF)
        return finish(m_readFailures >= kReadRetries ? End::ReadError : End::EndOfFile, 0);
    if (status != AVERROR(EAGAIN))
        return finish(End::ReadError, status);

    status = av_read_frame(m_file->context(), m_packet);
    if (status < 0) {
        if (m_cancel && m_cancel->load())
            return finish(End::Cancelled, 0);
        // Past damage the next read may find packets again, as the player's reads do; only a
        // run of failures ends the sound.
        if (status != AVERROR_EOF) {
            m_endDetail = errorText(status);
            if (++m_readFailures < kReadRetries)
                return false;
        }
        // What the decoder still holds is part of the sound: drain it, then report.
        avcodec_send_packet(m_codec, nullptr);
        return false;
    }
    m_readFailures = 0;
    if (m_packet->stream_index == m_stream && avcodec_send_packet(m_codec, m_packet) < 0)
        ++m_skippedPackets;  // a damaged packet: the player skips it too
    av_packet_unref(m_packet);
    return false;
}

bool AudioDecoder::convert(Block& block)
{
    const AVStream* st = m_file->context()->streams[m_stream];
    const int rate = m_frame->sample_rate;
    if (rate <= 0 || m_frame->nb_samples <= 0)
        return false;
    AVChannelLayout layout{};
    if (m_frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout, m_frame->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&layout, &m_frame->ch_layout);
    const std::uint64_t mask = layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
    if (!m_resampler || m_resamplerRate != rate || m_resamplerFormat != m_frame->format ||
        m_resamplerLayout != mask || m_resamplerChannels != layout.nb_channels) {
        swr_free(&m_resampler);
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        const int outRate = m_outputRate > 0 ? m_outputRate : rate;
        if (swr_alloc_set_opts2(&m_resampler, &mono, AV_SAMPLE_FMT_S16, outRate, &layout,
                                AVSampleFormat(m_frame->format), rate, 0, nullptr) < 0 ||
            swr_init(m_resampler) < 0) {
            swr_free(&m_resampler);
            av_channel_layout_uninit(&layout);
            return false;
        }
        m_resamplerRate = rate;
        m_resamplerFormat = m_frame->format;
        m_resamplerLayout = mask;
        m_resamplerChannels = layout.nb_channels;
    }
    av_channel_layout_uninit(&layout);

    const std::int64_t ts = m_frame->best_effort_timestamp;
    const double start =
        ts == AV_NOPTS_VALUE ? m_nextStart : seconds(ts, st->time_base) - m_file->playerZero();
    m_nextStart = start + double(m_frame->nb_samples) / rate;
    const int outRate = m_outputRate > 0 ? m_outputRate : rate;
    // A resampler holds back some input; its output starts that much earlier.
    const double held = double(swr_get_delay(m_resampler, outRate)) / outRate;
    const int room = swr_get_out_samples(m_resampler, m_frame->nb_samples);
    if (room <= 0)
        return false;
    if (m_buffer.size() < std::size_t(room))
        m_buffer.resize(std::size_t(room));
    auto* out = reinterpret_cast<std::uint8_t*>(m_buffer.data());
    const int count =
        swr_convert(m_resampler, &out, room,
                    const_cast<const std::uint8_t**>(m_frame->extended_data), m_frame->nb_samples);
    if (count < 0)
        return false;
    block = {m_buffer.data(), count, outRate, start - held};
    return true;
}

}  // namespace verbanta::media
