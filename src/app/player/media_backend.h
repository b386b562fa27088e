#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>

struct mpv_handle;
struct mpv_render_context;

namespace verbanta::app {

/// The media player control, over libmpv's client API: open and close, play, pause and stop,
/// the position in seconds, the duration, the open and play states with their change events,
/// and the video frames for a widget to draw (OpenGL or software). libmpv's events arrive on
/// the Qt thread through its wakeup callback and a queued call; nothing of libmpv leaves this
/// class.
class MediaBackend : public QObject {
    Q_OBJECT
public:
    /// The open states the player reports (6 = open), and the play states.
    enum OpenState { Closed = 0, Opening = 1, Open = 6 };
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2 };

    /// Why a file could not be played.
    enum class Failure {
        UnknownFormat,  ///< not a media file
        NothingToPlay,  ///< no stream that can be decoded (a codec is missing)
        Unreadable,     ///< the file cannot be opened or read
        Other,
    };
    Q_ENUM(Failure)

    struct Options {
        bool nullAudio = false;  ///< no sound device (offscreen tests, servers)
        bool nullVideo = false;  ///< no video output at all
    };

    explicit MediaBackend(Options options, QObject* parent = nullptr);
    ~MediaBackend() override;

    /// False when libmpv could not be set up: the player stays without media.
    bool isAvailable() const { return m_mpv != nullptr; }

    /// Starts opening a file; `openStateChanged` to Open or `openFailed` follows. Until a
    /// widget has attached its renderer the file waits, so that its video is not lost.
    void open(const QString& path);
    /// Closes the file at once (file name empty, open state Closed).
    void close();
    void play();
    void pause();
    /// Pauses and goes back to the start; the play state becomes Stopped.
    void stop();

    QString fileName() const { return m_fileName; }
    int openState() const { return m_openState; }
    int playState() const { return m_playState; }
    /// The playback position in seconds; right after a seek, the position asked for.
    double position() const;
    /// The position as mpv last reported it, for drawing: unlike `position`, it never waits
    /// for mpv's core, which may be busy for a while with a file being opened.
    double shownPosition() const;
    void setPosition(double seconds);
    /// The position the last seek asked for, kept after it lands; -1 before any in this file.
    double lastSeekAsked() const { return m_lastSeekAsked; }
    bool isDurationValid() const { return m_openState == Open && m_duration > 0.0; }
    double duration() const { return isDurationValid() ? m_duration : 0.0; }
    /// The end of the playable selection: the whole clip.
    double selectionEnd() const { return duration(); }
    bool hasVideo() const { return m_hasVideo; }
    /// The container's stream index of the audio track being played (mpv's "ff-index"), -1
    /// for none or not known yet.
    int audioStream() const { return m_audioStream; }
    /// The open video's frame rate as its container states it; 0 when unknown or none is open.
    double framesPerSecond() const { return m_openState == Open ? m_framesPerSecond : 0.0; }

    /// One audio track of the open file, as the user is told about it.
    struct AudioTrack {
        int number = 0;  ///< 1-based among the file's audio tracks
        int count = 0;   ///< how many audio tracks the file has
        QString language;
        QString title;
    };
    /// Plays the file's next audio track (after the last, the first again) and says which it
    /// is; `audioStreamChanged` follows. Nothing changes when the file has fewer than two
    /// (the track returned then has the count, and the number of the one playing).
    AudioTrack nextAudioTrack();
    /// The player's own transport bar (a seek bar under the picture).
    bool showControls() const { return m_showControls; }
    void setShowControls(bool show);
    /// Volume in hundredths of a decibel (0 full, negative quieter).
    void setVolume(int centiBel);
    /// The playback speed as a factor of normal speed (0.25 .. 2), the sound at its own
    /// pitch; it holds for every file opened after it too.
    void setSpeed(double factor);
    /// The speed libmpv plays at, read back from it; 0 without libmpv.
    double speed() const;

    // Drawing. One renderer at a time; a widget attaches it when it is ready to draw.
    using GetProcAddress = void* (*)(void* context, const char* name);
    /// With an OpenGL context current; false when libmpv cannot draw with it.
    bool attachOpenGl(GetProcAddress getProcAddress, void* context);
    void renderOpenGl(int framebuffer, int width, int height);
    bool attachSoftware();
    /// Draws the current frame into the image (Format_RGBX8888); false when there is none.
    bool renderSoftware(QImage& image);
    /// After `frameReady`: whether a new frame waits to be drawn.
    bool frameWaiting();
    void detachRenderer();

signals:
    void openStateChanged(int oldState, int newState);
    void playStateChanged(int oldState, int newState);
    /// A seek finished (asked for here or by the transport bar).
    void positionChanged(double oldSeconds, double newSeconds);
    /// The file could not be played: not a media file, no decoder, unreadable.
    void openFailed(MediaBackend::Failure failure);
    void frameReady();
    void showControlsChanged(bool show);
    /// The audio track being played changed (`audioStream`).
    void audioStreamChanged(int stream);

private slots:
    void drainEventsSlot();

private:
    void drainEvents();
    void handleProperty(const char* name, int format, void* data);
    void setOpenState(int state);
    void setPlayState(int state);
    void updatePlayState();
    void command(std::initializer_list<const char*> args);
    void loadPending();
    bool isCurrentEntry(std::int64_t id) const;

    mpv_handle* m_mpv = nullptr;
    mpv_render_context* m_render = nullptr;
    bool m_drawsVideo = true;  ///< the picture goes through a renderer that a widget attaches
    QString m_fileName;
    QString m_pendingFile;         ///< opened before a renderer was attached
    std::int64_t m_entryId = 0;    ///< libmpv's id of the file now loading or loaded, 0 none
    std::int64_t m_startedId = 0;  ///< the id of the file libmpv started last
    /// The answers a loaded file waits for before it counts as open; 0 for none. Each asking
    /// takes new numbers, so that the answers about a file let go are not taken.
    std::uint64_t m_durationReply = 0;
    std::uint64_t m_rateReply = 0;
    std::uint64_t m_videoReply = 0;
    std::uint64_t m_lastReply = 0;
    std::uint64_t m_stopReply = 0;  ///< a "stop" not finished yet: nothing loads before it
    int m_openState = Closed;
    int m_playState = Stopped;
    bool m_paused = true;
    bool m_stopped = true;
    bool m_eof = false;
    bool m_hasVideo = false;
    int m_audioStream = -1;
    bool m_showControls = true;
    double m_duration = 0.0;
    double m_framesPerSecond = 0.0;
    double m_seekTarget = -1.0;   ///< a seek under way: the position reported meanwhile
    double m_lastSeekAsked = -1.0;
    double m_reportedPosition = 0.0;  ///< mpv's "time-pos" as it last reported it
    double m_lastPosition = 0.0;  ///< the position after the last finished seek
};

}  // namespace verbanta::app
