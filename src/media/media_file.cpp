#include "media_file.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <string_view>

namespace verbanta::media {
namespace {

int interrupted(void* flag)
{
    const auto* cancel = static_cast<const std::atomic<bool>*>(flag);
    return cancel && cancel->load(std::memory_order_relaxed) ? 1 : 0;
}

// libavformat names a demuxer by a list such as "mov,mp4,m4a,3gp,3g2,mj2".
bool namedAs(const AVInputFormat* format, std::string_view name)
{
    std::string_view names = format ? format->name : "";
    while (!names.empty()) {
        const std::size_t comma = names.find(',');
        if (names.substr(0, comma) == name)
            return true;
        if (comma == std::string_view::npos)
            break;
        names.remove_prefix(comma + 1);
    }
    return false;
}

std::string tag(const AVDictionary* metadata, const char* key)
{
    const AVDictionaryEntry* entry = av_dict_get(metadata, key, nullptr, 0);
    return entry && entry->value ? entry->value : "";
}

}  // namespace

void quietFFmpegLog()
{
    av_log_set_level(AV_LOG_QUIET);
}

std::string errorText(int averror)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return text;
}

std::unique_ptr<MediaFile> MediaFile::open(const std::string& path, const std::atomic<bool>* cancel,
                                           OpenFailure& failure, std::string& detail)
{
    std::unique_ptr<MediaFile> file(new MediaFile);
    file->m_cancel = cancel;
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        failure = OpenFailure::Unreadable;
        detail = errorText(AVERROR(ENOMEM));
        return nullptr;
    }
    context->interrupt_callback = {interrupted, const_cast<std::atomic<bool>*>(cancel)};
    // libmpv reads MP4 edit lists the simple way; so must we, or the tracks would shift apart.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "advanced_editlist", "0", 0);
    int status = avformat_open_input(&context, path.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (status >= 0) {
        file->m_context = context;
        status = avformat_find_stream_info(context, nullptr);
    }
    if (status < 0) {
        failure = cancel && cancel->load() ? OpenFailure::Cancelled : OpenFailure::Unreadable;
        detail = errorText(status);
        return nullptr;
    }
    // libmpv skips stream probing for MP4, so the start time stays unknown there and the
    // timestamps are shown as they are; every other container starts at its start time.
    if (!namedAs(context->iformat, "mp4") && context->start_time != AV_NOPTS_VALUE)
        file->m_playerZero = context->start_time / double(AV_TIME_BASE);
    failure = OpenFailure::None;
    return file;
}

MediaFile::~MediaFile()
{
    avformat_close_input(&m_context);
}

std::vector<AudioStreamInfo> MediaFile::audioStreams() const
{
    std::vector<AudioStreamInfo> streams;
    for (unsigned i = 0; i < m_context->nb_streams; ++i) {
        const AVStream* stream = m_context->streams[i];
        const AVCodecParameters* codec = stream->codecpar;
        if (codec->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        AudioStreamInfo info;
        info.index = stream->index;
        info.audioNumber = int(streams.size()) + 1;
        info.codec = avcodec_get_name(codec->codec_id);
        info.sampleRate = codec->sample_rate;
        info.channels = codec->ch_layout.nb_channels;
        info.language = tag(stream->metadata, "language");
        if (info.language == "und")
            info.language.clear();
        info.title = tag(stream->metadata, "title");
        info.isDefault = (stream->disposition & AV_DISPOSITION_DEFAULT) != 0;
        streams.push_back(std::move(info));
    }
    return streams;
}

int MediaFile::defaultAudioStream() const
{
    const std::vector<AudioStreamInfo> streams = audioStreams();
    for (const AudioStreamInfo& s : streams)
        if (s.isDefault)
            return s.index;
    return streams.empty() ? -1 : streams.front().index;
}

double MediaFile::containerEnd() const
{
    if (m_context->duration == AV_NOPTS_VALUE || m_context->duration <= 0)
        return -1.0;
    const double start = m_context->start_time == AV_NOPTS_VALUE
                             ? 0.0
                             : m_context->start_time / double(AV_TIME_BASE);
    return start + m_context->duration / double(AV_TIME_BASE) - m_playerZero;
}

MediaProbe probeMedia(const std::string& path)
{
    MediaProbe probe;
    std::unique_ptr<MediaFile> file = MediaFile::open(path, nullptr, probe.failure, probe.detail);
    if (!file)
        return probe;
    probe.streams = file->audioStreams();
    probe.defaultStream = file->defaultAudioStream();
    if (probe.streams.empty())
        probe.failure = OpenFailure::NoAudio;
    return probe;
}

}  // namespace verbanta::media
