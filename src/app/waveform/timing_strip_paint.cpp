// The timing strip's drawing: sound, caption regions, marks, ruler and what the analysis says.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "caption_codec.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "player/shot_change_track.h"
#include "waveform/strip_audio.h"
#include "waveform/timing_strip.h"

namespace verbanta::app {
namespace {

const QColor kBackground(14, 17, 21);
const QColor kCentreLine(44, 52, 60);
const QColor kWave(86, 200, 160);
const QColor kRuler(32, 37, 43);
const QColor kTick(120, 132, 145);
const QColor kLabel(205, 212, 220);
const QColor kRegionFill(90, 140, 255, 34);
const QColor kRegionEdge(120, 165, 255);
const QColor kRegionBox(42, 62, 105);
const QColor kCurrentFill(255, 196, 60, 46);
const QColor kCurrentEdge(255, 200, 60);
const QColor kCurrentBox(120, 90, 20);
const QColor kBookmark(255, 64, 64);
const QColor kShotChange(196, 150, 255);
const QColor kPlayPosition(255, 255, 255);
const QColor kStopMark(230, 80, 230);
const QColor kMessage(170, 180, 190);

/// A time as the ruler and the messages show it: h:mm:ss, m:ss, or with milliseconds when
/// the ruler's steps are finer than a second.
QString timeText(double ms, bool withMs)
{
    const auto total = static_cast<long long>(std::llround(std::max(0.0, ms)));
    const long long h = total / 3600000;
    const long long m = total / 60000 % 60;
    const long long s = total / 1000 % 60;
    QString text = h > 0 ? QStringLiteral("%1:%2:%3")
                               .arg(h)
                               .arg(m, 2, 10, QLatin1Char('0'))
                               .arg(s, 2, 10, QLatin1Char('0'))
                         : QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
    if (withMs)
        text += QStringLiteral(".%1").arg(total % 1000, 3, 10, QLatin1Char('0'));
    return text;
}

/// The ruler's step: the first whose labels stand at least `minPixels` apart.
double rulerStep(double msPerPixel, double minPixels)
{
    static constexpr double kSteps[] = {10,     20,     50,     100,     200,    500,   1000,
                                        2000,   5000,   10000,  15000,   30000,  60000, 120000,
                                        300000, 600000, 900000, 1800000, 3600000};
    for (const double step : kSteps)
        if (step / msPerPixel >= minPixels)
            return step;
    return 7200000;
}

}  // namespace

void TimingStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect area = soundRect();
    p.fillRect(rect(), kBackground);
    m_drewSound = false;
    const media::WaveformAnalysis* waveform = m_audio->waveform();
    m_drewEverything = waveform && waveform->state().finished();
    if (m_mode == Mode::Spectrogram)
        paintSpectrogram(p, area);
    else
        paintWaveform(p, area);
    paintRegions(p, area);
    paintMarks(p, area);
    paintRuler(p);
    paintStatus(p, area);
}

void TimingStrip::paintWaveform(QPainter& p, const QRect& area)
{
    const media::WaveformAnalysis* waveform = m_audio->waveform();
    const int w = area.width();
    const int h = area.height();
    // Drawn straight into an image of the area, a column a pixel: far cheaper than a line or
    // a shape through the painter for each of two thousand columns.
    if (m_waveImage.size() != area.size())
        m_waveImage = QImage(area.size(), QImage::Format_RGB32);
    m_waveImage.fill(kBackground);
    const int mid = h / 2;
    auto* centre = reinterpret_cast<QRgb*>(m_waveImage.scanLine(mid));
    std::fill(centre, centre + w, kCentreLine.rgb());
    if (waveform) {
        const double mpp = msPerPixel();
        const double half = h / 2.0 - 1;
        constexpr double kBucket = media::PeakPyramid::kBaseMs;
        m_peaks.resize(static_cast<std::size_t>(w));
        if (mpp >= kBucket) {
            waveform->columns(m_startMs, mpp, m_peaks);
        } else {
            // Closer than a bucket a pixel: each column takes the envelope through the
            // buckets' middles at its time, so the sound is a smooth shape, not blocks.
            const auto first = static_cast<std::int64_t>(std::floor(m_startMs / kBucket)) - 1;
            const auto last =
                static_cast<std::int64_t>(std::ceil((m_startMs + m_spanMs) / kBucket)) + 2;
            m_buckets.resize(static_cast<std::size_t>(last - first));
            waveform->columns(double(first) * kBucket, kBucket, m_buckets);
            for (int x = 0; x < w; ++x) {
                const double u = timeAt(x + 0.5) / kBucket - 0.5 - double(first);
                const auto i =
                    static_cast<std::size_t>(std::clamp(u, 0.0, double(m_buckets.size() - 2)));
                const double f = std::clamp(u - double(i), 0.0, 1.0);
                const media::Peak a = m_buckets[i];
                const media::Peak b = m_buckets[i + 1];
                media::Peak& out = m_peaks[static_cast<std::size_t>(x)];
                if (a.empty() || b.empty()) {
                    out = f < 0.5 ? a : b;
                    continue;
                }
                out.min = static_cast<std::int16_t>(std::lround(a.min + (b.min - a.min) * f));
                out.max = static_cast<std::int16_t>(std::lround(a.max + (b.max - a.max) * f));
            }
        }
        const QRgb colour = kWave.rgb();
        uchar* const bits = m_waveImage.bits();
        const qsizetype stride = m_waveImage.bytesPerLine();
        for (int x = 0; x < w; ++x) {
            const media::Peak peak = m_peaks[static_cast<std::size_t>(x)];
            if (peak.empty())
                continue;
            m_drewSound = true;
            const int top = std::clamp(static_cast<int>(mid - peak.max / 32768.0 * half), 0, h - 1);
            const int bottom = std::clamp(
                static_cast<int>(std::ceil(mid - peak.min / 32768.0 * half)), top, h - 1);
            for (int y = top; y <= bottom; ++y)
                reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
        }
    }
    p.drawImage(area.topLeft(), m_waveImage);
}

void TimingStrip::paintSpectrogram(QPainter& p, const QRect& area)
{
    media::SpectrogramTiles* tiles = m_audio->spectrogram();
    if (!tiles)
        return;
    using Tiles = media::SpectrogramTiles;
    const double mpp = msPerPixel();
    const int level = Tiles::levelFor(mpp);
    const double tileMs = Tiles::tileMs(level);
    const auto first = static_cast<std::int64_t>(std::floor(std::max(0.0, m_startMs) / tileMs));
    const auto last = static_cast<std::int64_t>(std::floor((m_startMs + m_spanMs) / tileMs));
    m_tiles.clear();
    // Asked for from the right, so that the worker, newest request first, starts at the left.
    for (std::int64_t i = last; i >= first; --i) {
        if (auto tile = tiles->tile(level, i))
            m_tiles.push_back(std::move(tile));
        else
            m_drewEverything = false;
    }
    // Smoothed where a column spans pixels; a tile shrunk to fewer pixels draws as it is.
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, mpp < Tiles::columnMs(level) * 0.99);
    for (const auto& tile : m_tiles) {
        const QRectF target(xOf(double(tile->index) * tileMs), area.top(), tileMs / mpp,
                            area.height());
        p.drawImage(target, tileImage(tile, area.height()));
    }
    p.restore();
    m_drewSound = !m_tiles.empty();
}

const QImage& TimingStrip::tileImage(const std::shared_ptr<const media::SpectrogramTile>& tile,
                                     int height)
{
    using Tiles = media::SpectrogramTiles;
    const auto kept = std::find_if(
        m_tileImages.begin(), m_tileImages.end(),
        [&](const TileImage& t) { return t.tile == tile && t.image.height() == height; });
    if (kept != m_tileImages.end())
        return kept->image;
    // A screen's width of tiles at two zooms; the oldest gives way.
    constexpr std::size_t kKept = 48;
    if (m_tileImages.size() >= kKept)
        m_tileImages.erase(m_tileImages.begin());
    // Scaled to the height once, smoothly, so that a paint only stretches it sideways.
    const QImage rgb(tile->rgb.data(), Tiles::kColumns, Tiles::kRows, Tiles::kColumns * 3,
                     QImage::Format_RGB888);
    m_tileImages.push_back(
        {tile, rgb.scaled(Tiles::kColumns, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                   .convertToFormat(QImage::Format_RGB32)});
    return m_tileImages.back().image;
}

void TimingStrip::paintRegions(QPainter& p, const QRect& area)
{
    const CaptionEditor* editor = m_frame.editor();
    if (!editor)
        return;
    const EditSession& session = editor->session();
    captionRegionsIn(session.model().list(), static_cast<std::int32_t>(std::floor(m_startMs)),
                     static_cast<std::int32_t>(std::ceil(m_startMs + m_spanMs)) + 1, openEndMs(),
                     m_regions);
    if (m_drag && m_drag->moving) {
        // The dragged caption where it would go, and the one that it ends.
        for (CaptionRegion& r : m_regions) {
            if (r.row == m_drag->preview.row)
                r = m_drag->preview;
            else if (r.nextRow == m_drag->preview.row && r.endRow < 0)
                r.endMs = m_drag->preview.startMs;
        }
    }
    const int current = session.currentRow();
    const QRect band(0, kRulerHeight, width(), kBandHeight);
    const QFontMetrics metrics = p.fontMetrics();
    int filledTo = -1;
    for (const CaptionRegion& r : m_regions) {
        const bool isCurrent = r.row == current || (r.endRow >= 0 && r.endRow == current);
        const double x0 = xOf(r.startMs);
        const double x1 = xOf(r.endMs);
        const int left = static_cast<int>(std::floor(x0));
        const int right = std::max(left + 1, static_cast<int>(std::ceil(x1)));
        // Zoomed out, thousands of captions share a few pixels: each pixel is drawn once.
        if (!isCurrent && right <= filledTo)
            continue;
        filledTo = right;
        p.fillRect(QRect(left, area.top(), right - left, area.height()),
                   isCurrent ? kCurrentFill : kRegionFill);
        const QRect box(left, band.top() + 2, right - left, band.height() - 3);
        p.fillRect(box, isCurrent ? kCurrentBox : kRegionBox);
        const QColor edge = isCurrent ? kCurrentEdge : kRegionEdge;
        p.setPen(edge);
        p.drawLine(QPointF(x0, band.top() + 2), QPointF(x0, area.bottom()));
        if (!r.open())
            p.drawLine(QPointF(x1, band.top() + 2), QPointF(x1, area.bottom()));
        // The label starts where the box comes into view, so a long caption keeps its words.
        const QRect shown = box.intersected(rect());
        if (shown.width() > 24) {
            const QString text = CaptionCodec::toDisplay(session.captionText(r.row)).simplified();
            const QRect inside = shown.adjusted(4, 0, -3, 0);
            p.setPen(Qt::white);
            p.drawText(inside, Qt::AlignVCenter | Qt::AlignLeft,
                       metrics.elidedText(text, Qt::ElideRight, inside.width()));
        }
    }
}

void TimingStrip::paintMarks(QPainter& p, const QRect& area)
{
    const CPlayerView& player = m_frame.playerView();
    // Shot changes first: a bookmark or the play position on the same time stays visible.
    const std::vector<std::int32_t>& shots = player.shotChanges().shotsMs();
    p.setPen(QPen(kShotChange, 1));
    for (auto it = std::lower_bound(shots.begin(), shots.end(), static_cast<std::int32_t>(m_startMs));
         it != shots.end() && *it <= m_startMs + m_spanMs; ++it) {
        const double x = std::round(xOf(*it)) + 0.5;
        p.drawLine(QPointF(x, kRulerHeight - 5), QPointF(x, area.bottom()));
    }
    p.setPen(QPen(kBookmark, 2));
    for (int i = 0; i < player.BookmarkCount(); ++i) {
        const double x = xOf(player.BookmarkAt(i));
        p.drawLine(QPointF(x, 0), QPointF(x, area.bottom()));
    }
    if (const media::WaveformAnalysis* waveform = m_audio->waveform()) {
        const media::WaveformState s = waveform->state();
        if (s.status == media::WaveformStatus::CutShort) {
            const double x = xOf(s.endMs);
            p.setPen(QPen(kStopMark, 2, Qt::DashLine));
            p.drawLine(QPointF(x, kRulerHeight), QPointF(x, area.bottom()));
        }
    }
    if (const std::int32_t at = player.shownPositionMs(); at >= 0) {
        const double x = xOf(at);
        p.setPen(kPlayPosition);
        p.drawLine(QPointF(x, 0), QPointF(x, area.bottom()));
        const QPointF head[] = {{x - 5, 0}, {x + 5, 0}, {x, 6}};
        p.setBrush(kPlayPosition);
        p.drawPolygon(head, 3);
        p.setBrush(Qt::NoBrush);
    }
}

void TimingStrip::paintRuler(QPainter& p)
{
    p.fillRect(QRect(0, 0, width(), kRulerHeight), kRuler);
    const double mpp = msPerPixel();
    const QFontMetrics metrics = p.fontMetrics();
    const bool withMs = rulerStep(mpp, 90) < 1000;
    const double step =
        rulerStep(mpp, metrics.horizontalAdvance(timeText(m_startMs + m_spanMs, withMs)) + 24);
    const double minor = step / 5;
    p.setPen(kTick);
    for (double t = std::floor(m_startMs / minor) * minor; t <= m_startMs + m_spanMs; t += minor) {
        const double x = xOf(t);
        const bool major = std::fmod(std::round(t / minor), 5.0) == 0;
        p.drawLine(QPointF(x, kRulerHeight - (major ? 7 : 3)), QPointF(x, kRulerHeight - 1));
    }
    p.setPen(kLabel);
    for (double t = std::floor(m_startMs / step) * step; t <= m_startMs + m_spanMs; t += step) {
        const double x = xOf(t);
        p.drawText(QRectF(x + 3, 0, 200, kRulerHeight - 2), Qt::AlignLeft | Qt::AlignVCenter,
                   timeText(t, withMs));
    }
}

void TimingStrip::paintStatus(QPainter& p, const QRect& area)
{
    QString centre;
    QString corner;
    const media::WaveformAnalysis* waveform = m_audio->waveform();
    if (!waveform) {
        centre = QString::fromUtf8("동영상을 열면 여기에 소리가 그려집니다");
    } else {
        const media::WaveformState s = waveform->state();
        const QString detail = QString::fromStdString(s.detail);
        switch (s.status) {
            case media::WaveformStatus::Running:
                if (s.expectedEndMs > 0)
                    corner = QString::fromUtf8("소리 분석 중 %1%")
                                 .arg(std::clamp(int(100 * s.endMs / s.expectedEndMs), 0, 99));
                else
                    corner = QString::fromUtf8("소리 분석 중");
                break;
            case media::WaveformStatus::NoAudio:
                centre = QString::fromUtf8("이 동영상에는 소리가 없습니다");
                break;
            case media::WaveformStatus::Unreadable:
                centre = QString::fromUtf8("소리를 읽을 수 없습니다") +
                         (detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail));
                break;
            case media::WaveformStatus::CutShort:
                corner = QString::fromUtf8("소리가 %1에서 끊깁니다").arg(timeText(s.endMs, true)) +
                         (detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail));
                break;
            case media::WaveformStatus::Complete:
            case media::WaveformStatus::Cancelled:
                break;
        }
        if (m_mode == Mode::Spectrogram && centre.isEmpty())
            if (media::SpectrogramTiles* tiles = m_audio->spectrogram();
                tiles && tiles->failure() != media::OpenFailure::None)
                centre = QString::fromUtf8("스펙트로그램을 만들 수 없습니다");
    }
    if (const ShotChangeTrack& shots = m_frame.playerView().shotChanges();
        shots.status() == ShotChangeTrack::Status::Running) {
        const QString finding = QString::fromUtf8("장면 전환 찾는 중 %1%").arg(shots.percent());
        corner = corner.isEmpty() ? finding : corner + QStringLiteral("  ·  ") + finding;
    }
    if (!centre.isEmpty()) {
        p.setPen(kMessage);
        p.drawText(area, Qt::AlignCenter, centre);
    }
    if (!corner.isEmpty()) {
        const QFontMetrics metrics = p.fontMetrics();
        const int w = metrics.horizontalAdvance(corner) + 12;
        const QRect box(area.right() - w - 4, area.top() + 4, w, metrics.height() + 4);
        p.fillRect(box, QColor(0, 0, 0, 170));
        p.setPen(kLabel);
        p.drawText(box, Qt::AlignCenter, corner);
    }
}

}  // namespace verbanta::app
