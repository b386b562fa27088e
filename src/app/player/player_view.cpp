#include "player/player_view.h"
#include "player/video_widget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QTextBrowser>

#include <algorithm>
#include <utility>

#include "caption_list_view.h"
#include "caption_view.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "platform/messenger.h"
#include "player/bookmark_bar.h"
#include "player/media_backend.h"
#include "player/position_bar.h"
#include "player/shot_change_track.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

const char* const kPlayerUnavailable = "동영상 재생기를 준비할 수 없어 동영상을 열 수 없습니다.";

/// The open dialog's filters, in order, as the dialog shows them; the patterns follow in
/// Qt's form. The first also lists the containers most videos come in today.
struct MediaFilter {
    const char* description;
    const char* patterns;
};
constexpr MediaFilter kMediaFilters[] = {
    {"미디어 파일(모든 형식)",
     "*.asf *.wm *.wma *.wmv *.mpeg *.mpg *.m1v *.mp2 *.mpa *.mpe *.avi *.vob *.mp4 *.m4v "
     "*.mkv *.webm *.mov *.ts"},
    {"동영상 파일(MPEG)", "*.mpeg *.mpg *.m1v *.mp2 *.mpa *.mpe"},
    {"Windows Media 파일", "*.asf *.wm *.wma *.wmv"},
    {"비디오 파일", "*.avi *.wmv"},
    {"DVD 파일", "*.vob"},
    {"모든 파일(*.*)", "*"},
};

QString failureText(MediaBackend::Failure failure)
{
    switch (failure) {
        case MediaBackend::Failure::UnknownFormat:
            return QString::fromUtf8("동영상 파일이 아닙니다.");
        case MediaBackend::Failure::NothingToPlay:
            return QString::fromUtf8(
                "재생할 수 있는 영상이나 소리가 없습니다. 코덱이 없는 형식일 수 "
                "있습니다.");
        case MediaBackend::Failure::Unreadable:
            return QString::fromUtf8("파일을 읽을 수 없습니다.");
        case MediaBackend::Failure::Other:
            break;
    }
    return QString::fromUtf8("재생 중에 오류가 발생했습니다.");
}

MediaBackend::Options backendOptions()
{
    MediaBackend::Options o;
    // Offscreen sessions (the tests, servers) have no sound device to wait for.
    o.nullAudio = QGuiApplication::platformName() == QLatin1String("offscreen") ||
                  qEnvironmentVariable("VERBANTA_AUDIO") == QLatin1String("null");
    return o;
}

}  // namespace

CPlayerView::CPlayerView(CMainFrame& frame, QWidget* parent)
    : QWidget(parent),
      m_frame(frame),
      m_settings(frame.context().settings),
      m_media(new MediaBackend(backendOptions(), this))
{
    setMinimumWidth(kMinimumWidth);
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    const AppSettings& s = m_frame.context().settings;
    m_showPlayerCtrl = s.ShowPlayerCtrl;
    m_showMediaCtrl = s.ShowMediaCtrl;

    createControls();
    m_caption = new QTextBrowser(this);
    m_caption->setObjectName(QStringLiteral("control1002"));
    m_caption->setFrameShape(QFrame::NoFrame);
    m_caption->setFocusPolicy(Qt::NoFocus);
    m_caption->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_caption->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_caption->setOpenLinks(false);
    QPalette black = m_caption->palette();
    black.setColor(QPalette::Base, Qt::black);
    black.setColor(QPalette::Text, Qt::white);
    m_caption->setPalette(black);
    m_renderingLabel = new QLabel(this);
    m_speedStatusLabel = new QLabel(this);
    m_speedStatusLabel->setContentsMargins(4, 0, 4, 0);
    m_shots = new ShotChangeTrack(*m_media, this);
    createVideo(openGlUsable() ? VideoRendering::OpenGl : VideoRendering::Software);
    showStartPage();
    setPlaybackSpeed(m_settings.PlaybackSpeed);

    connect(m_media, &MediaBackend::openStateChanged, this, &CPlayerView::onOpenStateChanged);
    connect(m_media, &MediaBackend::playStateChanged, this, &CPlayerView::onPlayStateChanged);
    connect(m_media, &MediaBackend::positionChanged, this, &CPlayerView::onPositionChanged);
    connect(m_media, &MediaBackend::openFailed, this, &CPlayerView::onOpenFailed);
    connect(m_shots, &ShotChangeTrack::changed, this,
            [this] { m_transportBar->setShotChanges(m_shots->shotsMs()); });
    connect(m_shots, &ShotChangeTrack::notice, this,
            [this](const QString& text) { m_frame.statusPane().setText(text); });

    m_positionTimer.setInterval(kPositionTimerMs);
    connect(&m_positionTimer, &QTimer::timeout, this, &CPlayerView::positionTick);
    connect(&m_repeatTimer, &QTimer::timeout, this, &CPlayerView::repeatTick);
    connect(m_bar, &BookmarkBar::clicked, this, [this](std::int32_t ms) { barClicked(ms, false); });
    connect(m_bar, &BookmarkBar::doubleClicked, this,
            [this](std::int32_t ms) { barClicked(ms, true); });

    documentShown();
}

CPlayerView::~CPlayerView()
{
    m_positionTimer.stop();
    m_repeatTimer.stop();
    AppSettings& s = m_settings;
    s.ShowPlayerCtrl = m_showPlayerCtrl;
    s.ShowMediaCtrl = m_showMediaCtrl;
    // The picture lets go of the media's renderer while the media still exists: the media was
    // made first, so as a child it would be destroyed first.
    delete m_picture;
    m_picture = nullptr;
}

void CPlayerView::runCommand(int id)
{
    m_frame.commands().run(id);
}

void CPlayerView::toggleClickAndGo()
{
    m_settings.ClickAndGo = !m_settings.ClickAndGo;
    showToggles();
    focusCaptionView();
}

void CPlayerView::togglePlayAndGo()
{
    m_settings.PlayAndGo = !m_settings.PlayAndGo;
    showToggles();
    focusCaptionView();
}

void CPlayerView::showToggles()
{
    button(cmd::ClickAndGo)->setChecked(m_settings.ClickAndGo);
    button(cmd::PlayAndGo)->setChecked(m_settings.PlayAndGo);
}

void CPlayerView::focusCaptionView()
{
    emit focusWanted();
}

// ---- the caption list's operations --------------------------------------------------------

std::int32_t CPlayerView::shownPositionMs() const
{
    return m_mediaOpen ? msFromSeconds(m_media->shownPosition()) : -1;
}

std::int32_t CPlayerView::GetPositionMs() const
{
    return m_mediaOpen ? msFromSeconds(m_media->position()) : -1;
}

std::int32_t CPlayerView::GetLengthMs() const
{
    return m_mediaOpen ? msFromSeconds(m_media->selectionEnd()) : -1;
}

bool CPlayerView::SeekTo(std::int32_t ms, bool fromList)
{
    if (!seekAllowed(m_mediaOpen, ms, m_media->isDurationValid(), m_media->duration()))
        return false;
    m_seek.fromList = fromList;
    m_media->setPosition(secondsFromMs(ms));
    return true;
}

void CPlayerView::SetReplayRange(std::int32_t startMs, std::int32_t endMs)
{
    m_replayActive = true;
    m_replayStartMs = startMs;
    m_replayEndMs = endMs;
}

void CPlayerView::ClearReplayRange()
{
    m_replayActive = false;
    m_replayStartMs = 0;
    m_replayEndMs = 0;
}

void CPlayerView::StopRepeat()
{
    if (!repeatOn())
        return;
    button(cmd::Repeat)->setChecked(false);
    m_repeatTimer.stop();
}

bool CPlayerView::repeatOn() const
{
    return button(cmd::Repeat)->isChecked();
}

void CPlayerView::ResyncCursor()
{
    m_frame.documentHost().model().SeekCursor(msFromSeconds(m_media->position()));
}

int CPlayerView::BookmarkCount() const
{
    return m_bar->bookmarks().BookmarkCount();
}

std::int32_t CPlayerView::BookmarkAt(int index) const
{
    return m_bar->bookmarks().BookmarkAt(index);
}

void CPlayerView::SetRangeMarks(std::int32_t startMs, std::int32_t endMs)
{
    m_bar->bookmarks().SetRangeStart(startMs);
    m_bar->bookmarks().SetRangeEnd(endMs);
    m_bar->update();
}

// ---- media --------------------------------------------------------------------------------

QStringList CPlayerView::mediaFilters()
{
    QStringList filters;
    for (const MediaFilter& f : kMediaFilters)
        filters << QStringLiteral("%1 (%2)").arg(QString::fromUtf8(f.description),
                                                 QString::fromLatin1(f.patterns));
    return filters;
}

void CPlayerView::openMediaWithDialog()
{
    // Only the descriptions are shown; the patterns are Qt's to match with.
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), m_frame.documentHost().startFolder(),
        mediaFilters().join(QStringLiteral(";;")), nullptr, QFileDialog::HideNameFilterDetails);
    if (!path.isEmpty())
        OpenMedia(path);
    focusCaptionView();
}

void CPlayerView::OpenMedia(const QString& path)
{
    if (!m_media->isAvailable()) {
        m_frame.context().messenger.showMessage(kPlayerUnavailable, MessageIcon::Error);
        return;
    }
    CloseMedia();
    m_mediaPath = path;
    // libmpv keeps its speed from file to file; set again, it cannot drift from the setting.
    m_media->setSpeed(m_settings.PlaybackSpeed / 100.0);
    m_media->open(path);
}

void CPlayerView::CloseMedia()
{
    if (m_media->openState() != MediaBackend::Open)
        return;
    m_media->stop();
    m_media->close();
}

void CPlayerView::onOpenStateChanged(int, int newState)
{
    if (newState == MediaBackend::Closed && m_mediaOpen) {
        // Closed by `CloseMedia` or lost while open: the player goes back to no media.
        m_positionTimer.stop();
        m_repeatTimer.stop();
        m_frame.documentHost().model().ResetCursor();
        showStartPage();
        enableTransport(false);
        enableCapture(false);
        m_bar->bookmarks().ResetBar();
        m_bar->update();
        setPositionLabel(0);
        resetControl();
        m_mediaOpen = false;
        m_frame.commands().updateStates();
        return;
    }
    if (newState != MediaBackend::Open)
        return;
    enableTransport(true);
    enableCapture(true);
    const EditSession* list = m_frame.editor() ? &m_frame.editor()->session() : nullptr;
    auto rowTime = [list](int row) {
        const SyncEntry* e = list ? list->entry(row) : nullptr;
        return e ? e->startMs : -1;
    };
    m_bar->bookmarks().SetRangeStart(list ? rowTime(list->rangeStartRow()) : -1);
    m_bar->bookmarks().SetRangeEnd(list ? rowTime(list->rangeEndRow()) : -1);
    const std::int32_t length = msFromSeconds(m_media->selectionEnd());
    m_bar->bookmarks().SetLength(length);
    m_bar->update();
    m_transportBar->setRange(0, length);
    control(cmd::Play)->setEnabled(true);
    button(cmd::Stop)->setChecked(true);
    showStartPage();
    m_mediaOpen = true;
    m_frame.commands().updateStates();
}

void CPlayerView::onOpenFailed(MediaBackend::Failure failure)
{
    const QString text = QString::fromUtf8("동영상 파일을 재생할 수 없습니다.\n%1\n%2")
                             .arg(QDir::toNativeSeparators(m_mediaPath), failureText(failure));
    m_frame.context().messenger.showMessage(text.toStdString(), MessageIcon::Error);
    focusCaptionView();
}

void CPlayerView::onPlayStateChanged(int, int n)
{
    if (n == MediaBackend::Playing)
        m_positionTimer.start();
    else
        m_positionTimer.stop();
    for (int id : {cmd::Play, cmd::Pause, cmd::Stop}) button(id)->setChecked(false);
    if (n == MediaBackend::Stopped) {
        control(cmd::Pause)->setEnabled(false);
        button(cmd::Stop)->setChecked(true);
        CaptionEditor* ed = m_frame.editor();
        if (m_settings.MatchListToMovie && ed && ed->session().rowCount() > 0)
            ed->session().selectRow(0);
    } else if (n == MediaBackend::Paused) {
        control(cmd::Pause)->setEnabled(true);
        button(cmd::Pause)->setChecked(true);
    } else if (n == MediaBackend::Playing) {
        control(cmd::Pause)->setEnabled(true);
        button(cmd::Play)->setChecked(true);
    }
    // The timer that kept the label moving stopped with playback: the label shows where it
    // stopped, not the last tick's time.
    if (n != MediaBackend::Playing && m_mediaOpen) {
        const std::int32_t t = msFromSeconds(m_media->position());
        setPositionLabel(t);
        if (!m_transportBar->isSliderDown())
            m_transportBar->setValue(t);
    }
    focusCaptionView();
}

void CPlayerView::positionTick()
{
    if (m_media->playState() != MediaBackend::Playing)
        return;
    followPosition(msFromSeconds(m_media->position()));
}

bool CPlayerView::listMayFollow() const
{
    if (!m_settings.PlayAndGo)
        return false;
    // A row being dragged, or a check sweep under way, keeps its selection.
    const CaptionListView& list = m_frame.captionView().list();
    if ((QGuiApplication::mouseButtons() & Qt::LeftButton) &&
        (list.viewport()->underMouse() ||
         list.findChild<QDrag*>(QString(), Qt::FindDirectChildrenOnly)))
        return false;
    // Nor does the list move under an open dialog such as find and replace.
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->isVisible() && qobject_cast<const QDialog*>(w);
    });
}

void CPlayerView::followPosition(std::int32_t t)
{
    // The list is asked only when a caption is shown: most ticks show none.
    const bool follow = m_settings.PlayAndGo && m_frame.editor();
    const PlaybackTick tick = PlaybackFollower::tick(
        m_frame.documentHost().model(), t, follow, m_replayActive, m_replayStartMs, m_replayEndMs);
    if (tick.showCaption) {
        showCaption(tick.html);
        if (tick.selectRow >= 0 && listMayFollow()) {
            m_frame.editor()->capture().selectAndScrollToTop(tick.selectRow);
            focusCaptionView();
        }
    }
    if (tick.showPosition) {
        setPositionLabel(t);
        if (!m_transportBar->isSliderDown())
            m_transportBar->setValue(t);
    }
    if (tick.backToReplayStart)
        m_media->setPosition(secondsFromMs(m_replayStartMs));
}

bool CPlayerView::landedOnStep(double seconds) const
{
    // A step's exact seek lands at or after its target. A later seek of any other kind, or
    // a late report of the seek before the step, is no step; a second report of the step's
    // own landing still is.
    constexpr double kHalfMillisecond = 0.0005;
    return m_stepTarget >= 0.0 && m_media->lastSeekAsked() == m_stepTarget &&
           seconds + kHalfMillisecond >= m_stepTarget;
}

void CPlayerView::onPositionChanged(double, double newSeconds)
{
    SamiModel& model = m_frame.documentHost().model();
    const std::int32_t t = msFromSeconds(newSeconds);
    showCaption(PlaybackFollower::seekCaption(model, t, landedOnStep(newSeconds)));
    setPositionLabel(t);
    if (!m_transportBar->isSliderDown())
        m_transportBar->setValue(t);
    const bool listFocused = m_frame.captionView().list().hasFocus();
    const int row = m_seek.positionChanged(listFocused, m_frame.context().settings.MatchListToMovie,
                                           m_replayActive, model.GetCursorIndex());
    if (row >= 0 && m_frame.editor())
        m_frame.editor()->capture().selectAndScrollToTop(row);
    focusCaptionView();
}

void CPlayerView::documentShown()
{
    if (!m_initialised) {
        m_initialised = true;
        enableTransport(false);
        enableCapture(false);
        showToggles();
    }
    resetControl();
    SetRangeMarks(-1, -1);
}

void CPlayerView::stopAndRewind()
{
    m_media->stop();
}

// ---- display ------------------------------------------------------------------------------

void CPlayerView::ShowPlayerControls(bool show)
{
    m_showPlayerCtrl = show;
    relayout();
}

void CPlayerView::togglePlayerControls()
{
    ShowPlayerControls(!m_showPlayerCtrl);
}

void CPlayerView::toggleMediaControls()
{
    m_showMediaCtrl = !m_showMediaCtrl;
    m_media->setShowControls(m_showMediaCtrl);
    relayout();
}

void CPlayerView::ShowPosition()
{
    setPositionLabel(msFromSeconds(m_media->position()));
}

void CPlayerView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void CPlayerView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit focusWanted();
}

void CPlayerView::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime->hasFormat(QString::fromLatin1(CaptionListView::kRowTimeMime)) || mime->hasUrls())
        event->acceptProposedAction();
}

void CPlayerView::dropEvent(QDropEvent* event)
{
    const QMimeData* mime = event->mimeData();
    const QString rowMime = QString::fromLatin1(CaptionListView::kRowTimeMime);
    event->acceptProposedAction();
    if (mime->hasFormat(rowMime)) {
        // A row dropped on the player: the video goes to its start, the list stays put.
        bool ok = false;
        const int ms = mime->data(rowMime).toInt(&ok);
        m_seek.fromSyncCommand = ok;
        if (!ok || !SeekTo(ms, false))
            m_seek.fromSyncCommand = false;
        focusCaptionView();
        return;
    }
    QStringList paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    m_frame.handleDroppedFiles(paths);
}

}  // namespace verbanta::app
