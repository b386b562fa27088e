// The player view's commands: transport, the capture commands that stamp the video position
// into the caption list, the go-to commands, video bookmarks and repeat.
#include <QAbstractButton>
#include <QLabel>

#include <algorithm>
#include <limits>

#include "commands/command_ids.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "platform/messenger.h"
#include "player/bookmark_bar.h"
#include "player/media_backend.h"
#include "player/player_view.h"
#include "player/shot_change_track.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

const char* const kNoMoreBookmarks = "더 이상 동영상 북마크를 설정할 수 없습니다.";

}  // namespace

// ---- transport ----------------------------------------------------------------------------

void CPlayerView::play()
{
    button(cmd::Play)->setChecked(true);
    button(cmd::Pause)->setChecked(false);
    button(cmd::Stop)->setChecked(false);
    control(cmd::Pause)->setEnabled(true);
    m_media->play();
    focusCaptionView();
}

void CPlayerView::pause()
{
    button(cmd::Pause)->setChecked(true);
    button(cmd::Play)->setChecked(false);
    button(cmd::Stop)->setChecked(false);
    m_media->pause();
    focusCaptionView();
}

void CPlayerView::stop()
{
    if (m_media->openState() == MediaBackend::Open) {
        if (m_mediaOpen)
            button(cmd::Stop)->setChecked(true);
        button(cmd::Play)->setChecked(false);
        button(cmd::Pause)->setChecked(false);
        control(cmd::Pause)->setEnabled(false);
        m_media->stop();  // and back to the start
    }
    focusCaptionView();
}

void CPlayerView::playPauseToggle()
{
    if (!m_mediaOpen)
        return;
    const int state = m_media->playState();
    if (state == MediaBackend::Playing)
        pause();
    else if (state == MediaBackend::Stopped || state == MediaBackend::Paused)
        play();
}

void CPlayerView::rewind()
{
    m_media->setPosition(
        rewindTarget(m_media->position(), m_frame.context().settings.MovieMoveTime));
    focusCaptionView();
}

void CPlayerView::fastForward()
{
    m_media->setPosition(fastForwardTarget(
        m_media->position(), m_frame.context().settings.MovieMoveTime, m_media->selectionEnd()));
    focusCaptionView();
}

// ---- speed and steps ----------------------------------------------------------------------

void CPlayerView::slowerPlayback()
{
    setPlaybackSpeed(slowerSpeed(m_settings.PlaybackSpeed));
    focusCaptionView();
}

void CPlayerView::fasterPlayback()
{
    setPlaybackSpeed(fasterSpeed(m_settings.PlaybackSpeed));
    focusCaptionView();
}

void CPlayerView::normalPlayback()
{
    setPlaybackSpeed(AppSettings::kNormalPlaybackSpeed);
    focusCaptionView();
}

void CPlayerView::setPlaybackSpeed(std::int32_t percent)
{
    m_settings.PlaybackSpeed = percent;
    m_media->setSpeed(percent / 100.0);
    showSpeed();
    if (m_repeatTimer.isActive())
        m_repeatTimer.start(repeatIntervalMs());
}

void CPlayerView::stepFrames(int frames)
{
    // A video whose container names no frame rate is stepped at the commonest one.
    constexpr double kUnknownRate = 25.0;
    const double rate = m_media->framesPerSecond();
    stepBy(frames / (rate > 0.0 ? rate : kUnknownRate));
}

void CPlayerView::stepTime(int ms)
{
    stepBy(ms / 1000.0);
}

void CPlayerView::stepBy(double seconds)
{
    if (!m_mediaOpen)
        return;
    if (m_media->playState() == MediaBackend::Playing)
        pause();
    // From the position of the frame on screen (or of a step still under way, so that
    // steps in a row add up), an exact seek: libmpv shows the first frame at or after the
    // target, so a step of one frame's length lands on the neighbouring frame.
    m_stepTarget = stepTarget(m_media->position(), seconds, m_media->duration());
    m_media->setPosition(m_stepTarget);
    focusCaptionView();
}

// ---- capture ------------------------------------------------------------------------------

std::int32_t CPlayerView::captureTime() const
{
    // The position reported at the key press, corrected by the setting; nothing is added.
    return msFromSeconds(m_media->position()) + m_frame.context().settings.SyncModify;
}

void CPlayerView::capture(CaptureCommand command)
{
    CaptionEditor* ed = m_frame.editor();
    if (!ed || !m_mediaOpen)
        return;
    // The shot changes known now, for the capture's snapping.
    ed->capture().setShotChanges(m_shots->shotsMs());
    ed->capture().captureAt(command, captureTime());
    focusCaptionView();
}

void CPlayerView::goCaptionAtVideo()
{
    if (CaptionEditor* ed = m_frame.editor(); ed && m_mediaOpen)
        ed->capture().selectRowBeforeTime(GetPositionMs());
    focusCaptionView();
}

void CPlayerView::nextAudioTrack()
{
    const MediaBackend::AudioTrack track = m_media->nextAudioTrack();
    QString text;
    if (track.count == 0) {
        text = QStringLiteral("이 동영상에는 오디오 트랙이 없습니다.");
    } else if (track.count == 1) {
        text = QStringLiteral("이 동영상의 오디오 트랙은 하나뿐입니다.");
    } else {
        text = QStringLiteral("오디오 트랙 %1/%2").arg(track.number).arg(track.count);
        QStringList about;
        for (const QString& part : {track.language, track.title})
            if (!part.isEmpty())
                about << part;
        if (!about.isEmpty())
            text += QStringLiteral(": ") + about.join(QStringLiteral(", "));
    }
    m_frame.statusPane().setText(text);
    focusCaptionView();
}

void CPlayerView::seekForSyncCommand(std::int32_t t)
{
    if (t < 0)
        return;
    m_seek.fromSyncCommand = true;
    // A refused seek makes no position change, so the flag must not wait for one.
    if (!SeekTo(t, false))
        m_seek.fromSyncCommand = false;
}

void CPlayerView::goCurrentSync()
{
    if (CaptionEditor* ed = m_frame.editor())
        seekForSyncCommand(ed->capture().currentRowTime());
}

void CPlayerView::goPrevSync()
{
    if (CaptionEditor* ed = m_frame.editor())
        seekForSyncCommand(ed->capture().selectPrevRowTime());
}

void CPlayerView::goNextSync()
{
    if (CaptionEditor* ed = m_frame.editor())
        seekForSyncCommand(ed->capture().selectNextRowTime());
}

// ---- shot changes -------------------------------------------------------------------------

bool CPlayerView::hasShotChanges() const
{
    return m_mediaOpen && m_shots->hasShots();
}

void CPlayerView::prevShotChange()
{
    if (!m_mediaOpen)
        return;
    if (const std::int32_t v = m_shots->previousBefore(GetPositionMs()); v >= 0)
        m_media->setPosition(secondsFromMs(v));
}

void CPlayerView::nextShotChange()
{
    if (!m_mediaOpen)
        return;
    if (const std::int32_t v = m_shots->nextAfter(GetPositionMs()); v >= 0)
        m_media->setPosition(secondsFromMs(v));
}

// ---- bookmarks, bar and repeat ------------------------------------------------------------

void CPlayerView::setVideoBookmark()
{
    VideoBookmarks& b = m_bar->bookmarks();
    const std::int32_t t = msFromSeconds(m_media->position());
    if (b.HasBookmark(t))
        b.RemoveBookmark(t);
    else if (!b.AddBookmark(t))
        m_frame.context().messenger.showMessage(kNoMoreBookmarks, MessageIcon::Information);
    m_bar->update();
}

void CPlayerView::prevVideoBookmark()
{
    const std::int32_t v = m_bar->bookmarks().PrevBookmark(msFromSeconds(m_media->position()));
    if (v >= 0)
        m_media->setPosition(secondsFromMs(v));
}

void CPlayerView::nextVideoBookmark()
{
    const std::int32_t v = m_bar->bookmarks().NextBookmark(msFromSeconds(m_media->position()));
    if (v >= 0)
        m_media->setPosition(secondsFromMs(v));
}

void CPlayerView::clearVideoBookmarks()
{
    m_bar->bookmarks().ClearBookmarks();
    m_bar->update();
}

void CPlayerView::barClicked(std::int32_t ms, bool doubleClick)
{
    if (doubleClick && m_mediaOpen)
        m_media->setPosition(secondsFromMs(ms));
    if (CaptionEditor* ed = m_frame.editor())
        ed->capture().selectRowBeforeTime(ms);
    focusCaptionView();
}

void CPlayerView::flipRepeat()
{
    QAbstractButton* toggle = button(cmd::Repeat);
    toggle->setChecked(!toggle->isChecked());
    repeatChanged(toggle->isChecked());
}

void CPlayerView::repeatChanged(bool on)
{
    if (!on) {
        m_repeatTimer.stop();
    } else {
        m_repeatTimer.start(repeatIntervalMs());
        m_repeatPosition = m_media->position();
        // The two loops never run together: repeat takes the replay mark away.
        if (CaptionEditor* ed = m_frame.editor())
            ed->languages().clearReplayMarks();
        ClearReplayRange();
    }
    focusCaptionView();
}

int CPlayerView::repeatIntervalMs() const
{
    // The repeat time is the video's: slowed down, the same stretch takes longer to play.
    const std::int64_t ms = std::int64_t{m_settings.MovieRepeatTime} *
                            AppSettings::kNormalPlaybackSpeed / m_settings.PlaybackSpeed;
    return static_cast<int>(std::clamp<std::int64_t>(ms, 1, std::numeric_limits<int>::max()));
}

void CPlayerView::repeatTick()
{
    if (m_media->playState() == MediaBackend::Playing)
        m_media->setPosition(m_repeatPosition);
}

}  // namespace verbanta::app
