#pragma once

#include <QTimer>
#include <QWidget>

#include <map>
#include <string_view>

#include "editor/editor_ports.h"
#include "editor/player_playback.h"
#include "editor/sync_capture.h"
#include "player/media_backend.h"
#include "player/video_rendering.h"
#include "settings/app_settings.h"

class QAbstractButton;
class QLabel;
class QTextBrowser;

namespace verbanta::app {

class BookmarkBar;
class CMainFrame;
class PositionBar;
class ShotChangeTrack;

/// The caption window's document for a page of the model (CP949), as Qt's rich text reads it.
QString captionWindowHtml(std::string_view cp949Html);

/// The left pane: the video, the caption due at the playback position under it, and the
/// panel of buttons that play the video and stamp its position into the caption list; each
/// button runs its command through the dispatcher. It owns the media player, its two timers
/// and the video bookmarks; the caption list reaches the video only through the operations of
/// `PlayerPort`.
class CPlayerView : public QWidget, public PlayerPort {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 350;
    static constexpr int kCaptionHeight = 90;
    static constexpr int kPositionTimerMs = 100;
    /// The ids of the panel's controls that run no command; its buttons have their commands'.
    static constexpr int kPositionCaption = 2003;
    static constexpr int kPositionLabel = 2004;
    static constexpr int kBookmarkBar = 2007;
    static constexpr int kSeparatorLine = 2008;

    explicit CPlayerView(CMainFrame& frame, QWidget* parent = nullptr);
    ~CPlayerView() override;

    // PlayerPort.
    bool IsMediaOpen() const override { return m_mediaOpen; }
    std::int32_t GetPositionMs() const override;
    /// The position to draw, as the player last reported it, without waiting; -1 without a
    /// video.
    std::int32_t shownPositionMs() const;
    std::int32_t GetLengthMs() const override;
    bool SeekTo(std::int32_t ms, bool fromList) override;
    void SetReplayRange(std::int32_t startMs, std::int32_t endMs) override;
    void ClearReplayRange() override;
    void StopRepeat() override;
    void ResyncCursor() override;
    int BookmarkCount() const override;
    std::int32_t BookmarkAt(int index) const override;
    void SetRangeMarks(std::int32_t startMs, std::int32_t endMs) override;

    // Media.
    void OpenMedia(const QString& path);
    void CloseMedia();
    /// "열기" (30001): the open dialog, then `OpenMedia`.
    void openMediaWithDialog();
    /// The open dialog's filters in Qt's form ("description (patterns)"), in order.
    static QStringList mediaFilters();
    /// The set-up each new or opened document runs: display, position label, range marks.
    void documentShown();
    /// A reload from disk: the player stops and goes back to the start.
    void stopAndRewind();

    // The toggles: their state is the setting's (`ClickAndGo`, `PlayAndGo`).
    void toggleClickAndGo();
    void togglePlayAndGo();

    // Transport.
    void play();
    void pause();
    void stop();
    void playPauseToggle();
    void rewind();
    void fastForward();

    // Speed and steps. The speed is the setting's (`PlaybackSpeed`) and holds for every file.
    void slowerPlayback();
    void fasterPlayback();
    void normalPlayback();
    /// Plays at `percent` of normal speed from now on, and says so in the player and the
    /// status bar.
    void setPlaybackSpeed(std::int32_t percent);
    /// Pauses and moves by whole frames of the video (negative: back), each landing on the
    /// frame's own time.
    void stepFrames(int frames);
    /// Pauses and moves by `ms` (negative: back), an exact seek.
    void stepTime(int ms);

    // Capture and navigation.
    /// A capture command (F6, F7, F8, "간단") at the position, corrected by `SyncModify`;
    /// without a video there is no position to capture and the list is left alone.
    void capture(CaptureCommand command);
    void goCaptionAtVideo();
    /// Plays the file's next audio track and says in the status bar which one it is.
    void nextAudioTrack();
    void goCurrentSync();
    void goPrevSync();
    void goNextSync();

    // Shot changes.
    ShotChangeTrack& shotChanges() const { return *m_shots; }
    bool hasShotChanges() const;
    void prevShotChange();
    void nextShotChange();

    // Bookmarks and repeat.
    void setVideoBookmark();
    void prevVideoBookmark();
    void nextVideoBookmark();
    void clearVideoBookmarks();
    /// Alt+P and F5: flips the repeat toggle, then acts on its new state.
    void flipRepeat();

    // Display.
    void ShowPlayerControls(bool show);
    void ShowPosition();
    void togglePlayerControls();
    void toggleMediaControls();
    bool showPlayerCtrl() const { return m_showPlayerCtrl; }
    bool showMediaCtrl() const { return m_showMediaCtrl; }

    // What the window and the tests look at.
    MediaBackend& media() { return *m_media; }
    VideoRendering rendering() const { return m_rendering; }
    /// The status-bar text that names the way the video is drawn.
    QString renderingText() const;
    QLabel* renderingLabel() const { return m_renderingLabel; }
    /// The speed beside the position bar ("0.5x"), and the status bar's label of it.
    QLabel* speedLabel() const { return m_speedLabel; }
    QLabel* speedStatusLabel() const { return m_speedStatusLabel; }
    /// The button of a command id (cmd::Play, cmd::SingleSync, ...), or null.
    QAbstractButton* button(int id) const;
    /// A control of the panel by its id, commands' buttons included.
    QWidget* control(int id) const;
    QTextBrowser& captionWindow() const { return *m_caption; }
    /// The HTML last put into the caption window (UTF-8 from the model's CP949).
    const QString& captionHtml() const { return m_captionHtml; }
    QString positionText() const;
    BookmarkBar& bookmarkBar() const { return *m_bar; }
    PositionBar& positionBar() const { return *m_transportBar; }
    QWidget& videoArea() const { return *m_videoArea; }
    bool replayActive() const { return m_replayActive; }
    bool repeatOn() const;
    /// The running repeat's period on the clock, 0 when repeat is off.
    int repeatPeriodMs() const { return m_repeatTimer.isActive() ? m_repeatTimer.interval() : 0; }
    bool positionTimerActive() const { return m_positionTimer.isActive(); }
    /// One tick of the position timer, as the timer runs it.
    void positionTick();
    /// The work of a tick once the position t (ms) is read: caption, list, label, replay.
    void followPosition(std::int32_t t);

signals:
    /// The view passes the keyboard focus on to the caption list.
    void focusWanted();

protected:
    void resizeEvent(QResizeEvent* event) override;
    /// A switch of the colour scheme redraws the picture buttons in the new ink.
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void drawButtonIcons();
    void createVideo(VideoRendering rendering);
    void relayout();
    void resetControl();
    void enableTransport(bool on);
    void enableCapture(bool on);
    void showCaption(const std::string& cp949Html);
    void showStartPage();
    void setPositionLabel(std::int32_t ms);
    void showSpeed();
    /// Pauses, then an exact seek by `seconds` from the position.
    void stepBy(double seconds);
    void focusCaptionView();
    std::int32_t captureTime() const;
    /// A go-to-sync seek to t (nothing for t < 0): the position change it causes leaves the
    /// list's selection alone.
    void seekForSyncCommand(std::int32_t t);
    /// Whether the list may follow the video now (`PlayAndGo`, no drag, no dialog open).
    bool listMayFollow() const;
    /// The toggles show their settings.
    void showToggles();
    void repeatChanged(bool on);
    /// The repeat time at the playback speed: the same stretch of video at any speed.
    int repeatIntervalMs() const;
    void repeatTick();
    void barClicked(std::int32_t ms, bool doubleClick);
    void runCommand(int id);

    void onOpenStateChanged(int oldState, int newState);
    void onPlayStateChanged(int oldState, int newState);
    void onPositionChanged(double oldSeconds, double newSeconds);
    bool landedOnStep(double seconds) const;
    void onOpenFailed(MediaBackend::Failure failure);

    CMainFrame& m_frame;
    /// Kept apart from the frame: the view is destroyed after the frame's own destructor ran.
    AppSettings& m_settings;
    MediaBackend* m_media;
    QString m_mediaPath;  ///< the file last asked for, named when it cannot be played
    VideoRendering m_rendering = VideoRendering::Software;
    QWidget* m_videoArea = nullptr;  ///< the picture and the transport bar
    QWidget* m_picture = nullptr;
    QWidget* m_transportRow = nullptr;  ///< the position bar and the speed beside it
    PositionBar* m_transportBar = nullptr;
    ShotChangeTrack* m_shots = nullptr;
    QTextBrowser* m_caption = nullptr;  ///< the caption window
    QString m_captionHtml;
    BookmarkBar* m_bar = nullptr;
    QLabel* m_positionLabel = nullptr;
    QLabel* m_renderingLabel = nullptr;
    QLabel* m_speedLabel = nullptr;
    QLabel* m_speedStatusLabel = nullptr;
    std::map<int, QWidget*> m_controls;  ///< the button panel, placed in pixels from the template
    std::map<int, QRect> m_template;
    QTimer m_positionTimer;
    QTimer m_repeatTimer;

    bool m_initialised = false;
    bool m_mediaOpen = false;
    bool m_showPlayerCtrl = true;
    bool m_showMediaCtrl = true;
    SeekOrigin m_seek;
    /// Where the last frame or time step asked to go, -1 after none: a seek that lands there
    /// shows a frame the player stays on.
    double m_stepTarget = -1.0;
    bool m_replayActive = false;
    std::int32_t m_replayStartMs = 0;
    std::int32_t m_replayEndMs = 0;
    double m_repeatPosition = 0.0;
};

}  // namespace verbanta::app
