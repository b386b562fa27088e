#include "waveform/timing_strip.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QSplitter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "caption_list_view.h"
#include "caption_table_model.h"
#include "caption_view.h"
#include "commands/command_dispatcher.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player/media_backend.h"
#include "player/player_view.h"
#include "player/shot_change_track.h"
#include "settings/app_settings.h"
#include "settings/key_value_store.h"
#include "waveform/strip_audio.h"

namespace verbanta::app {
namespace {

const char* const kCacheNote = "파형을 저장할 캐시 폴더에 쓸 수 없어, 파형을 매번 새로 분석합니다.";

// The window-state values of the strip, beside the player's width.
constexpr const char* kShownKey = "TimingStrip";
constexpr const char* kHeightKey = "TimingStripHeight";
constexpr const char* kModeKey = "TimingStripMode";

constexpr double kGrabPixels = 5.0;  ///< how near an edge the mouse takes it
constexpr double kSnapPixels = 7.0;  ///< how near a drawn edge or the play position snaps
constexpr int kPlayTickMs = 40;

}  // namespace

TimingStrip::TimingStrip(CMainFrame& frame, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_audio(new StripAudio(frame.playerView().media(), this))
{
    setObjectName(QStringLiteral("timingStrip"));
    setMinimumHeight(kMinimumHeight);
    // The keys stay with the caption list whatever is clicked here.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    connect(m_audio, &StripAudio::changed, this, qOverload<>(&QWidget::update));
    connect(m_audio, &StripAudio::cacheUnwritable, this,
            [this] { m_frame.statusPane().setText(QString::fromUtf8(kCacheNote)); });
    MediaBackend& media = frame.playerView().media();
    connect(&media, &MediaBackend::playStateChanged, this, [this](int, int state) {
        if (state == MediaBackend::Playing)
            m_playTimer.start();
        else
            m_playTimer.stop();
        update();
    });
    connect(&media, &MediaBackend::positionChanged, this, [this] {
        follow();
        update();
    });
    connect(&frame.playerView().shotChanges(), &ShotChangeTrack::changed, this,
            qOverload<>(&QWidget::update));
    connect(&media, &MediaBackend::openStateChanged, this, [this](int, int state) {
        if (state == MediaBackend::Opening)
            setView(0, m_spanMs);
        update();
    });
    m_playTimer.setInterval(kPlayTickMs);
    connect(&m_playTimer, &QTimer::timeout, this, &TimingStrip::playTick);

    // Every change of the list, the current row or the bookmarks shows here too.
    const CaptionTableModel* rows = &frame.captionView().tableModel();
    connect(rows, &QAbstractItemModel::dataChanged, this, qOverload<>(&QWidget::update));
    connect(rows, &QAbstractItemModel::rowsInserted, this, qOverload<>(&QWidget::update));
    connect(rows, &QAbstractItemModel::rowsRemoved, this, qOverload<>(&QWidget::update));
    connect(rows, &QAbstractItemModel::modelReset, this, qOverload<>(&QWidget::update));
    connect(frame.captionView().list().selectionModel(), &QItemSelectionModel::currentRowChanged,
            this, qOverload<>(&QWidget::update));
    connect(&frame.commands(), &CommandDispatcher::commandRun, this, qOverload<>(&QWidget::update));
}

TimingStrip::~TimingStrip() = default;

// ---- state ----------------------------------------------------------------------------------

void TimingStrip::setMode(Mode mode)
{
    m_mode = mode;
    update();
}

void TimingStrip::setWanted(bool on)
{
    m_wanted = on;
    // In full screen the video alone is shown; the strip comes back when it ends.
    setVisible(on && !m_frame.isFullScreenMode());
}

void TimingStrip::restoreState()
{
    const KeyValueStore& store = m_frame.context().store;
    const char* section = AppSettings::kSettingsSection;
    m_mode = store.readInt(section, kModeKey).value_or(0) == 1 ? Mode::Spectrogram : Mode::Waveform;
    setWanted(store.readInt(section, kShownKey).value_or(1) != 0);
    auto* rows = qobject_cast<QSplitter*>(parentWidget());
    if (!rows || rows->count() != 2)
        return;
    const int height =
        std::max(kMinimumHeight,
                 static_cast<int>(store.readInt(section, kHeightKey).value_or(kDefaultHeight)));
    const int total = rows->height() - rows->handleWidth();
    rows->setSizes({std::max(0, total - height), height});
}

void TimingStrip::saveState() const
{
    KeyValueStore& store = m_frame.context().store;
    const char* section = AppSettings::kSettingsSection;
    store.writeInt(section, kShownKey, m_wanted ? 1 : 0);
    store.writeInt(section, kModeKey, static_cast<int>(m_mode));
    // Hidden (or in full screen) it keeps the height it had.
    if (isVisible())
        store.writeInt(section, kHeightKey, height());
}

// ---- the view -------------------------------------------------------------------------------

double TimingStrip::fullSpanMs() const
{
    double end = m_audio->lengthMs();
    const CaptionEditor* editor = m_frame.editor();
    if (editor && editor->session().rowCount() > 0) {
        const SyncList& list = editor->session().model().list();
        end = std::max(end, list[list.count() - 1].startMs + 2000.0);
    }
    // Before the length is known the view keeps room to zoom out in.
    return std::max(end, kDefaultSpanMs);
}

void TimingStrip::setView(double startMs, double spanMs)
{
    const double full = fullSpanMs();
    if (!std::isfinite(startMs) || !std::isfinite(spanMs))
        return;
    m_spanMs = std::clamp(spanMs, kNarrowestSpanMs, std::max(full, kNarrowestSpanMs));
    m_startMs = std::clamp(startMs, 0.0, std::max(0.0, full - m_spanMs));
    update();
}

std::int32_t TimingStrip::openEndMs() const
{
    const double length = m_audio->lengthMs();
    const double end = length > 0 ? length : m_startMs + m_spanMs;
    return static_cast<std::int32_t>(std::min(end, double(INT32_MAX)));
}

QRect TimingStrip::soundRect() const
{
    const int top = kRulerHeight + kBandHeight;
    return QRect(0, top, width(), std::max(1, height() - top));
}

void TimingStrip::follow()
{
    const std::int32_t at = m_frame.playerView().shownPositionMs();
    if (at < 0 || m_drag)
        return;
    // Paged rather than scrolled, so that the sound under the eye keeps still.
    if (at < m_startMs || at > m_startMs + 0.9 * m_spanMs)
        setView(at - 0.1 * m_spanMs, m_spanMs);
}

void TimingStrip::playTick()
{
    if (!isVisible())
        return;
    follow();
    update();
}

void TimingStrip::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const double steps = (delta.y() != 0 ? delta.y() : delta.x()) / 120.0;
    if (steps == 0)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        // The time under the mouse stays under it.
        const double x = event->position().x();
        const double anchor = timeAt(x);
        const double span = m_spanMs * std::pow(0.8, steps);
        const double clamped = std::clamp(span, kNarrowestSpanMs, fullSpanMs());
        setView(anchor - x * clamped / std::max(1, width()), clamped);
    } else {
        setView(m_startMs - steps * 0.1 * m_spanMs, m_spanMs);
    }
    event->accept();
}

// ---- the mouse ------------------------------------------------------------------------------

TimingStrip::Grab TimingStrip::grabAt(const QPointF& at)
{
    Grab best;
    const CaptionEditor* editor = m_frame.editor();
    if (!editor || at.y() < kRulerHeight)
        return best;
    const double x = at.x();
    std::vector<CaptionRegion> near;
    captionRegionsIn(editor->session().model().list(),
                     static_cast<std::int32_t>(std::floor(timeAt(x - kGrabPixels))) - 1,
                     static_cast<std::int32_t>(std::ceil(timeAt(x + kGrabPixels))) + 1,
                     openEndMs(), near);
    // An edge inside its region wins over one just outside: where one caption ends as the
    // next begins, the left side takes the end and the right side the start.
    double bestScore = 1e9;
    for (const CaptionRegion& r : near) {
        const double toStart = x - xOf(r.startMs);
        const double toEnd = xOf(r.endMs) - x;
        for (auto [edge, d] : {std::pair{DragEdge::Start, toStart}, {DragEdge::End, toEnd}}) {
            if (std::abs(d) > kGrabPixels)
                continue;
            const double score =
                std::abs(d) + (d > 0 || (d == 0 && edge == DragEdge::Start) ? 0 : kGrabPixels * 2);
            if (score < bestScore) {
                bestScore = score;
                best = {r, edge};
            }
        }
    }
    if (best.valid())
        return best;
    for (const CaptionRegion& r : near)
        if (x > xOf(r.startMs) && x < xOf(r.endMs))
            return {r, DragEdge::Whole};
    return best;
}

std::int32_t TimingStrip::dragTarget(double x) const
{
    const CaptionRegion& from = m_drag->grab.region;
    const double moved = (x - m_drag->pressX) * msPerPixel();
    std::vector<std::int32_t> targets;
    if (const std::int32_t at = m_frame.playerView().GetPositionMs(); at >= 0)
        targets.push_back(at);
    if (const CaptionEditor* editor = m_frame.editor()) {
        std::vector<CaptionRegion> shown;
        captionRegionsIn(editor->session().model().list(), static_cast<std::int32_t>(m_startMs),
                         static_cast<std::int32_t>(m_startMs + m_spanMs) + 1, openEndMs(), shown);
        for (const CaptionRegion& r : shown) {
            if (r.row == from.row)
                continue;
            targets.push_back(r.startMs);
            if (!r.open())
                targets.push_back(r.endMs);
        }
    }
    // The shot changes in view; an edge may also be pulled onto one just outside.
    const std::vector<std::int32_t>& shots = m_frame.playerView().shotChanges().shotsMs();
    const auto within = static_cast<std::int32_t>(std::lround(kSnapPixels * msPerPixel()));
    const auto firstShot = std::lower_bound(shots.begin(), shots.end(),
                                            static_cast<std::int32_t>(m_startMs) - within);
    for (auto it = firstShot;
         it != shots.end() && *it <= static_cast<std::int32_t>(m_startMs + m_spanMs) + within; ++it)
        targets.push_back(*it);
    auto moveTo = [&](std::int32_t ms) {
        return static_cast<std::int32_t>(std::clamp(std::llround(ms + moved),
                                                    static_cast<long long>(INT32_MIN),
                                                    static_cast<long long>(INT32_MAX)));
    };
    switch (m_drag->grab.edge) {
        case DragEdge::Start:
            return snapTime(moveTo(from.startMs), targets, within);
        case DragEdge::End:
            return snapTime(moveTo(from.endMs), targets, within);
        case DragEdge::Whole:
            break;
    }
    // The middle snaps by whichever edge lies nearer to something.
    const std::int32_t start = moveTo(from.startMs);
    const std::int32_t end = moveTo(from.endMs);
    const std::int64_t byStart = std::int64_t{snapTime(start, targets, within)} - start;
    const std::int64_t byEnd = from.open() ? 0 : std::int64_t{snapTime(end, targets, within)} - end;
    if (byStart != 0 && (byEnd == 0 || std::llabs(byStart) <= std::llabs(byEnd)))
        return static_cast<std::int32_t>(start + byStart);
    return static_cast<std::int32_t>(start + byEnd);
}

void TimingStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Grab grab = grabAt(event->position());
    m_drag = std::make_unique<Drag>(Drag{grab, event->position().x(), false, grab.region});
}

void TimingStrip::mouseMoveEvent(QMouseEvent* event)
{
    const double x = event->position().x();
    if (!m_drag || !(event->buttons() & Qt::LeftButton)) {
        const Grab grab = grabAt(event->position());
        setCursor(!grab.valid()                  ? Qt::ArrowCursor
                  : grab.edge == DragEdge::Whole ? Qt::OpenHandCursor
                                                 : Qt::SplitHCursor);
        return;
    }
    if (!m_drag->moving) {
        if (!m_drag->grab.valid() ||
            std::abs(x - m_drag->pressX) < QApplication::startDragDistance())
            return;
        m_drag->moving = true;
    }
    if (const CaptionEditor* editor = m_frame.editor())
        m_drag->preview = draggedRegion(editor->session().model().list(), m_drag->grab.region,
                                        m_drag->grab.edge, dragTarget(x));
    update();
}

void TimingStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_drag)
        return;
    const std::unique_ptr<Drag> drag = std::move(m_drag);
    CaptionEditor* editor = m_frame.editor();
    if (drag->moving && editor) {
        const DragEdge edge = drag->grab.edge;
        const std::int32_t to = edge == DragEdge::End ? drag->preview.endMs : drag->preview.startMs;
        editor->timingDrag().dragTiming(drag->grab.region.row, edge, to);
    } else {
        m_frame.playerView().SeekTo(
            static_cast<std::int32_t>(std::max(0.0, std::round(timeAt(event->position().x())))),
            false);
    }
    update();
    m_frame.captionView().takeFocus();
}

void TimingStrip::mouseDoubleClickEvent(QMouseEvent* event)
{
    CaptionEditor* editor = m_frame.editor();
    const Grab grab = grabAt(event->position());
    if (event->button() != Qt::LeftButton || !editor || !grab.valid())
        return;
    // The caption plays over and over, as the list's replay does.
    const int row = grab.region.row;
    editor->session().selectRow(row);
    if (const SyncEntry* e = editor->session().entry(row); e && !e->replayMark)
        editor->languages().toggleReplay();
    CPlayerView& player = m_frame.playerView();
    if (player.SeekTo(grab.region.startMs, false))
        player.play();
    m_frame.captionView().takeFocus();
}

void TimingStrip::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    unsetCursor();
}

}  // namespace verbanta::app
