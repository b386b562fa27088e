#include "player/media_backend.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <QMetaObject>
#include <QTimer>

#include <clocale>
#include <cmath>
#include <vector>

namespace verbanta::app {
namespace {

enum Observed : std::uint64_t { kPause = 1, kEofReached, kDuration, kAudioStream, kTimePos };

constexpr const char* kAudioStreamProperty = "current-tracks/audio/ff-index";

// A file opened before any widget attached a renderer waits this long for one, then loads
// without a picture rather than never.
constexpr int kRendererWaitMs = 3000;

constexpr std::int64_t kAnyEntry = -1;

void wakeUp(void* self)
{
    // Any libmpv thread: hand over to the Qt thread and return at once.
    auto* backend = static_cast<MediaBackend*>(self);
    QMetaObject::invokeMethod(backend, "drainEventsSlot", Qt::QueuedConnection);
}

MediaBackend::Failure failureOf(int error)
{
    switch (error) {
        case MPV_ERROR_UNKNOWN_FORMAT:
            return MediaBackend::Failure::UnknownFormat;
        case MPV_ERROR_NOTHING_TO_PLAY:
            return MediaBackend::Failure::NothingToPlay;
        case MPV_ERROR_LOADING_FAILED:
            return MediaBackend::Failure::Unreadable;
        default:
            return MediaBackend::Failure::Other;
    }
}

void frameUpdate(void* self)
{
    auto* backend = static_cast<MediaBackend*>(self);
    QMetaObject::invokeMethod(backend, &MediaBackend::frameReady, Qt::QueuedConnection);
}

}  // namespace

MediaBackend::MediaBackend(Options options, QObject* parent) : QObject(parent)
{
    // libmpv parses numbers with the C library and refuses any other LC_NUMERIC.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv)
        return;
    m_drawsVideo = !options.nullVideo;
    mpv_set_option_string(m_mpv, "vo", options.nullVideo ? "null" : "libmpv");
    if (options.nullAudio)
        mpv_set_option_string(m_mpv, "ao", "null");
    mpv_set_option_string(m_mpv, "hr-seek", "yes");
    // A short buffer keeps the position reported close to the sound heard.
    mpv_set_option_string(m_mpv, "audio-buffer", "0.1");
    // libmpv hands a frame to the widget 50 ms before it is due, and the widget's drawing
    // then waits for that moment on the window's thread; mpv's position moves to the frame
    // when it is handed over. At 2x that is a frame early: a capture stamped the frame after
    // the one on screen, and the window stood still for most of every frame. 10 ms keeps the
    // picture smooth (player_bench measures both).
    mpv_set_option_string(m_mpv, "video-timing-offset", "0.01");
    mpv_set_option_string(m_mpv, "keep-open", "yes");
    // Slowed or hurried playback keeps the voices at their pitch (libmpv's tempo scaling).
    // libmpv 0.35 does so by default (with its scaletempo2 filter); said here so that the
    // editor does not rest on a default.
    mpv_set_option_string(m_mpv, "audio-pitch-correction", "yes");
    mpv_set_option_string(m_mpv, "pause", "yes");  // opened, not started
    mpv_set_option_string(m_mpv, "idle", "yes");
    mpv_set_option_string(m_mpv, "osc", "no");
    mpv_set_option_string(m_mpv, "input-default-bindings", "no");
    mpv_set_option_string(m_mpv, "terminal", "no");
    mpv_set_option_string(m_mpv, "sub-auto", "no");  // the captions are the list's
    // mpv's own scripts (console, stats, the web-video hook) are of no use in the editor, and
    // their start-up keeps mpv's core busy scanning fonts while the window asks it things.
    mpv_set_option_string(m_mpv, "load-scripts", "no");
    mpv_set_option_string(m_mpv, "ytdl", "no");
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_observe_property(m_mpv, kPause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kAudioStream, kAudioStreamProperty, MPV_FORMAT_INT64);
    mpv_observe_property(m_mpv, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_set_wakeup_callback(m_mpv, wakeUp, this);
}

MediaBackend::~MediaBackend()
{
    if (!m_mpv)
        return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    detachRenderer();
    mpv_terminate_destroy(m_mpv);
}

void MediaBackend::command(std::initializer_list<const char*> args)
{
    if (!m_mpv)
        return;
    std::vector<const char*> list(args);
    list.push_back(nullptr);
    mpv_command_async(m_mpv, 0, list.data());
}

void MediaBackend::open(const QString& path)
{
    if (!m_mpv)
        return;
    m_fileName = path;
    m_duration = 0.0;
    m_eof = false;
    m_stopped = true;
    m_seekTarget = m_lastSeekAsked = -1.0;
    m_lastPosition = 0.0;
    m_reportedPosition = 0.0;
    m_entryId = 0;
    // Asked without waiting: mpv's core may still be busy with the file before.
    command({"set", "pause", "yes"});
    m_paused = true;
    m_pendingFile = path;
    setOpenState(Opening);
    // libmpv gives up the video of a file that starts before its renderer exists.
    if (m_drawsVideo && !m_render)
        QTimer::singleShot(kRendererWaitMs, this, [this] { loadPending(); });
    else
        loadPending();
}

void MediaBackend::loadPending()
{
    if (m_pendingFile.isEmpty() || m_openState != Opening || m_stopReply != 0)
        return;
    const QByteArray file = m_pendingFile.toUtf8();
    m_pendingFile.clear();
    // Synchronous, for the id that tells this file's events from those of files before it.
    const char* args[] = {"loadfile", file.constData(), "replace", nullptr};
    mpv_node result;
    if (mpv_command_ret(m_mpv, args, &result) < 0) {
        m_fileName.clear();
        setOpenState(Closed);
        emit openFailed(Failure::Other);
        return;
    }
    m_entryId = kAnyEntry;  // a libmpv that names no id: take the next file that starts
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i)
            if (QByteArray(result.u.list->keys[i]) == "playlist_entry_id" &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                m_entryId = result.u.list->values[i].u.int64;
    }
    mpv_free_node_contents(&result);
}

bool MediaBackend::isCurrentEntry(std::int64_t id) const
{
    return m_entryId != 0 && (m_entryId == kAnyEntry || id == m_entryId);
}

void MediaBackend::close()
{
    m_fileName.clear();
    m_pendingFile.clear();
    m_entryId = 0;  // whatever libmpv still reports of this file is no longer ours
    if (m_mpv) {
        // libmpv may run an asynchronous command after a later one: a file opened before
        // this stop has finished waits for it, or the stop would end that file instead.
        m_stopReply = ++m_lastReply;
        const char* args[] = {"stop", nullptr};
        mpv_command_async(m_mpv, m_stopReply, args);
    }
    m_hasVideo = false;
    m_duration = 0.0;
    setOpenState(Closed);
}

void MediaBackend::play()
{
    if (!m_mpv || m_openState != Open)
        return;
    if (m_eof)
        setPosition(0.0);  // played to the end: start again
    mpv_set_property_string(m_mpv, "pause", "no");
    m_paused = false;
    m_stopped = false;
    updatePlayState();
}

void MediaBackend::pause()
{
    if (!m_mpv || m_openState != Open)
        return;
    mpv_set_property_string(m_mpv, "pause", "yes");
    m_paused = true;
    m_stopped = false;
    updatePlayState();
}

void MediaBackend::stop()
{
    if (!m_mpv || m_openState != Open)
        return;
    mpv_set_property_string(m_mpv, "pause", "yes");
    m_paused = true;
    m_stopped = true;
    setPosition(0.0);
    updatePlayState();
}

double MediaBackend::position() const
{
    if (!m_mpv || m_openState != Open)
        return 0.0;
    if (m_seekTarget >= 0.0)
        return m_seekTarget;
    double pos = 0.0;
    if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &pos) < 0 || !std::isfinite(pos))
        return m_lastPosition;
    return pos;
}

double MediaBackend::shownPosition() const
{
    if (!m_mpv || m_openState != Open)
        return 0.0;
    return m_seekTarget >= 0.0 ? m_seekTarget : m_reportedPosition;
}

void MediaBackend::setPosition(double seconds)
{
    if (!m_mpv || m_openState != Open || !std::isfinite(seconds))
        return;
    seconds = std::max(0.0, seconds);
    m_seekTarget = m_lastSeekAsked = seconds;
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    command({"seek", target.constData(), "absolute+exact"});
}

void MediaBackend::setShowControls(bool show)
{
    if (show == m_showControls)
        return;
    m_showControls = show;
    emit showControlsChanged(show);
}

void MediaBackend::setVolume(int centiBel)
{
    if (!m_mpv)
        return;
    // mpv's volume is cubic in its percentage: amplitude = (volume / 100)^3.
    double percent = 100.0 * std::cbrt(std::pow(10.0, centiBel / 2000.0));
    mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent);
}

void MediaBackend::setSpeed(double factor)
{
    if (!m_mpv || !std::isfinite(factor) || factor <= 0.0)
        return;
    mpv_set_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &factor);
}

double MediaBackend::speed() const
{
    double factor = 0.0;
    if (!m_mpv || mpv_get_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &factor) < 0)
        return 0.0;
    return factor;
}

MediaBackend::AudioTrack MediaBackend::nextAudioTrack()
{
    AudioTrack chosen;
    if (!m_mpv || m_openState != Open)
        return chosen;
    mpv_node list;
    if (mpv_get_property(m_mpv, "track-list", MPV_FORMAT_NODE, &list) < 0)
        return chosen;
    struct Track {
        std::int64_t id = -1;
        bool selected = false;
        AudioTrack about;
    };
    std::vector<Track> tracks;
    if (list.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < list.u.list->num; ++i) {
            const mpv_node& item = list.u.list->values[i];
            if (item.format != MPV_FORMAT_NODE_MAP)
                continue;
            Track t;
            bool audio = false;
            for (int k = 0; k < item.u.list->num; ++k) {
                const QByteArray key(item.u.list->keys[k]);
                const mpv_node& v = item.u.list->values[k];
                if (v.format == MPV_FORMAT_STRING && key == "type")
                    audio = QByteArray(v.u.string) == "audio";
                else if (v.format == MPV_FORMAT_STRING && key == "lang")
                    t.about.language = QString::fromUtf8(v.u.string);
                else if (v.format == MPV_FORMAT_STRING && key == "title")
                    t.about.title = QString::fromUtf8(v.u.string);
                else if (v.format == MPV_FORMAT_INT64 && key == "id")
                    t.id = v.u.int64;
                else if (v.format == MPV_FORMAT_FLAG && key == "selected")
                    t.selected = v.u.flag != 0;
            }
            if (audio && t.id >= 0)
                tracks.push_back(t);
        }
    }
    mpv_free_node_contents(&list);
    if (tracks.empty())
        return chosen;
    std::size_t playing = 0;
    while (playing < tracks.size() && !tracks[playing].selected) ++playing;
    // With no track playing (the sound switched off) the first one starts.
    const std::size_t next = playing >= tracks.size() ? 0 : (playing + 1) % tracks.size();
    const std::size_t shown = tracks.size() < 2 && playing < tracks.size() ? playing : next;
    chosen = tracks[shown].about;
    chosen.number = static_cast<int>(shown) + 1;
    chosen.count = static_cast<int>(tracks.size());
    if (shown != playing) {
        const QByteArray id = QByteArray::number(tracks[shown].id);
        mpv_set_property_string(m_mpv, "aid", id.constData());
    }
    return chosen;
}

// ---- events -------------------------------------------------------------------------------

void MediaBackend::drainEventsSlot()
{
    drainEvents();
}

void MediaBackend::drainEvents()
{
    while (m_mpv) {
        mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        switch (event->event_id) {
            case MPV_EVENT_PROPERTY_CHANGE: {
                auto* p = static_cast<mpv_event_property*>(event->data);
                handleProperty(p->name, p->format, p->data);
                break;
            }
            case MPV_EVENT_START_FILE:
                m_startedId = static_cast<mpv_event_start_file*>(event->data)->playlist_entry_id;
                break;
            case MPV_EVENT_FILE_LOADED: {
                // A file replaced meanwhile is let go: only the file asked for last opens.
                if (!isCurrentEntry(m_startedId) || m_openState != Opening)
                    break;
                // Asked without waiting: right after loading, mpv's core is busy setting up
                // the decoders for a while, and a question that waits for it would hold the
                // window. The answers come in the order asked; the last opens the file.
                m_durationReply = ++m_lastReply;
                mpv_get_property_async(m_mpv, m_durationReply, "duration", MPV_FORMAT_DOUBLE);
                m_rateReply = ++m_lastReply;
                mpv_get_property_async(m_mpv, m_rateReply, "container-fps", MPV_FORMAT_DOUBLE);
                m_videoReply = ++m_lastReply;
                mpv_get_property_async(m_mpv, m_videoReply, "vid", MPV_FORMAT_STRING);
                break;
            }
            case MPV_EVENT_GET_PROPERTY_REPLY: {
                if (m_openState != Opening || event->reply_userdata == 0)
                    break;
                auto* p = static_cast<mpv_event_property*>(event->data);
                const auto number = [&] {
                    return event->error >= 0 && p->format == MPV_FORMAT_DOUBLE
                               ? *static_cast<double*>(p->data)
                               : 0.0;
                };
                if (event->reply_userdata == m_durationReply) {
                    m_duration = number();
                } else if (event->reply_userdata == m_rateReply) {
                    m_framesPerSecond = number();
                } else if (event->reply_userdata == m_videoReply) {
                    const char* vid = event->error >= 0 && p->format == MPV_FORMAT_STRING
                                          ? *static_cast<char**>(p->data)
                                          : nullptr;
                    m_hasVideo = vid && QByteArray(vid) != "no";
                    if (!m_hasVideo)
                        m_framesPerSecond = 0.0;
                    m_durationReply = m_rateReply = m_videoReply = 0;
                    setOpenState(Open);
                    updatePlayState();
                }
                break;
            }
            case MPV_EVENT_COMMAND_REPLY:
                if (m_stopReply != 0 && event->reply_userdata == m_stopReply) {
                    m_stopReply = 0;
                    loadPending();
                }
                break;
            case MPV_EVENT_PLAYBACK_RESTART: {
                if (m_openState != Open)
                    break;
                const double old = m_lastPosition;
                m_seekTarget = -1.0;
                m_lastPosition = position();
                emit positionChanged(old, m_lastPosition);
                break;
            }
            case MPV_EVENT_END_FILE: {
                auto* end = static_cast<mpv_event_end_file*>(event->data);
                // Ends by "stop" or by the next "loadfile" belong to a file already let go.
                if (end->reason != MPV_END_FILE_REASON_ERROR ||
                    !isCurrentEntry(end->playlist_entry_id))
                    break;
                m_entryId = 0;
                m_fileName.clear();
                m_hasVideo = false;
                m_duration = 0.0;
                m_paused = m_stopped = true;
                updatePlayState();
                setOpenState(Closed);
                emit openFailed(failureOf(end->error));
                break;
            }
            default:
                break;
        }
    }
}

void MediaBackend::handleProperty(const char* name, int format, void* data)
{
    const QByteArray property(name);
    if (format == MPV_FORMAT_FLAG && property == "pause") {
        m_paused = *static_cast<int*>(data) != 0;
        updatePlayState();
    } else if (format == MPV_FORMAT_FLAG && property == "eof-reached") {
        m_eof = *static_cast<int*>(data) != 0;
        updatePlayState();
    } else if (property == "time-pos") {
        if (format == MPV_FORMAT_DOUBLE && std::isfinite(*static_cast<double*>(data)))
            m_reportedPosition = *static_cast<double*>(data);
    } else if (property == "duration") {
        m_duration = format == MPV_FORMAT_DOUBLE ? *static_cast<double*>(data) : 0.0;
    } else if (property == kAudioStreamProperty) {
        // No audio track (or none yet) comes as a property without a value.
        const int stream =
            format == MPV_FORMAT_INT64 ? static_cast<int>(*static_cast<std::int64_t*>(data)) : -1;
        if (stream != m_audioStream) {
            m_audioStream = stream;
            emit audioStreamChanged(stream);
        }
    }
}

void MediaBackend::setOpenState(int state)
{
    if (state == m_openState)
        return;
    const int old = m_openState;
    m_openState = state;
    emit openStateChanged(old, state);
}

void MediaBackend::updatePlayState()
{
    // The end of the clip counts as stopped, as a player that stops at the end reports it.
    int state = Playing;
    if (m_openState != Open || m_stopped || m_eof)
        state = Stopped;
    else if (m_paused)
        state = Paused;
    setPlayState(state);
}

void MediaBackend::setPlayState(int state)
{
    if (state == m_playState)
        return;
    const int old = m_playState;
    m_playState = state;
    emit playStateChanged(old, state);
}

// ---- drawing ------------------------------------------------------------------------------

bool MediaBackend::attachOpenGl(GetProcAddress getProcAddress, void* context)
{
    if (!m_mpv || m_render)
        return false;
    mpv_opengl_init_params gl{getProcAddress, context};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_render, frameUpdate, this);
    loadPending();
    return true;
}

void MediaBackend::renderOpenGl(int framebuffer, int width, int height)
{
    if (!m_render)
        return;
    mpv_opengl_fbo fbo{framebuffer, width, height, 0};
    int flipY = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
}

bool MediaBackend::attachSoftware()
{
    if (!m_mpv || m_render)
        return false;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_render, frameUpdate, this);
    loadPending();
    return true;
}

bool MediaBackend::renderSoftware(QImage& image)
{
    if (!m_render || image.isNull() || image.format() != QImage::Format_RGBX8888)
        return false;
    int size[2] = {image.width(), image.height()};
    std::size_t stride = static_cast<std::size_t>(image.bytesPerLine());
    char format[] = "rgb0";
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(m_render, params) >= 0;
}

bool MediaBackend::frameWaiting()
{
    return m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME);
}

void MediaBackend::detachRenderer()
{
    if (!m_render)
        return;
    mpv_render_context_free(m_render);
    m_render = nullptr;
}

}  // namespace verbanta::app
