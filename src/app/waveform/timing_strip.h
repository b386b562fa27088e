#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/timing_drag.h"
#include "peak_pyramid.h"
#include "spectrogram.h"

namespace verbanta::app {

class CMainFrame;
class StripAudio;

/// The timing strip under the player and the caption list: the sound of the video (waveform
/// or spectrogram), the current language's captions as regions, the current row, the video
/// bookmarks and the play position. Wheel scrolls, Ctrl+wheel zooms, a click seeks, a double
/// click plays a caption over and over, and dragging a region's edges retimes it.
class TimingStrip : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Waveform = 0, Spectrogram = 1 };

    static constexpr int kDefaultHeight = 130;
    static constexpr int kMinimumHeight = 70;
    static constexpr int kRulerHeight = 18;
    static constexpr int kBandHeight = 22;
    static constexpr double kNarrowestSpanMs = 500.0;
    static constexpr double kDefaultSpanMs = 20000.0;

    explicit TimingStrip(CMainFrame& frame, QWidget* parent = nullptr);
    ~TimingStrip() override;

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    bool showsSpectrogram() const { return m_mode == Mode::Spectrogram; }
    void toggleSpectrogram() { setMode(showsSpectrogram() ? Mode::Waveform : Mode::Spectrogram); }
    /// Shown from the View menu; kept apart from the visibility full screen takes away.
    bool wanted() const { return m_wanted; }
    void setWanted(bool on);
    void toggleWanted() { setWanted(!m_wanted); }

    /// The stored height, mode and whether it is shown, applied to the window's rows.
    void restoreState();
    void saveState() const;

    /// The view: the time at the left edge and the time the width spans.
    double viewStartMs() const { return m_startMs; }
    double spanMs() const { return m_spanMs; }
    void setView(double startMs, double spanMs);
    double msPerPixel() const { return m_spanMs / std::max(1, width()); }
    double xOf(double ms) const { return (ms - m_startMs) / msPerPixel(); }
    double timeAt(double x) const { return m_startMs + x * msPerPixel(); }

    QSize sizeHint() const override { return QSize(400, kDefaultHeight); }

    StripAudio& audio() const { return *m_audio; }
    /// Whether the last paint drew any sound (waveform peaks or spectrogram tiles).
    bool drewSound() const { return m_drewSound; }
    /// Whether the last paint drew all there is to draw: the analysis has ended and, in the
    /// spectrogram, every tile in view was there.
    bool drewEverything() const { return m_drewEverything; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    /// What the mouse would take at a point: a region's edge or middle.
    struct Grab {
        CaptionRegion region;
        DragEdge edge = DragEdge::Whole;
        bool valid() const { return region.row >= 0; }
    };
    struct Drag {
        Grab grab;
        double pressX = 0;
        bool moving = false;
        CaptionRegion preview;
    };

    QRect soundRect() const;
    std::int32_t openEndMs() const;
    double fullSpanMs() const;
    Grab grabAt(const QPointF& at);
    /// The time the dragged edge goes to for a mouse at x, snapped to what lies near.
    std::int32_t dragTarget(double x) const;
    void follow();
    void playTick();

    void paintWaveform(QPainter& p, const QRect& area);
    void paintSpectrogram(QPainter& p, const QRect& area);
    void paintRegions(QPainter& p, const QRect& area);
    void paintRuler(QPainter& p);
    void paintMarks(QPainter& p, const QRect& area);
    void paintStatus(QPainter& p, const QRect& area);
    /// A spectrogram tile as an image of the sound area's height, made once and kept.
    const QImage& tileImage(const std::shared_ptr<const media::SpectrogramTile>& tile, int height);

    CMainFrame& m_frame;
    StripAudio* m_audio;
    Mode m_mode = Mode::Waveform;
    bool m_wanted = true;
    double m_startMs = 0;
    double m_spanMs = kDefaultSpanMs;
    QTimer m_playTimer;
    std::unique_ptr<Drag> m_drag;
    bool m_drewSound = false;
    bool m_drewEverything = false;
    // Kept between paints so that a paint allocates nothing.
    std::vector<media::Peak> m_peaks;
    std::vector<media::Peak> m_buckets;
    QImage m_waveImage;
    std::vector<CaptionRegion> m_regions;
    std::vector<std::shared_ptr<const media::SpectrogramTile>> m_tiles;
    struct TileImage {
        std::shared_ptr<const media::SpectrogramTile> tile;
        QImage image;
    };
    std::vector<TileImage> m_tileImages;  ///< least recently made first
};

}  // namespace verbanta::app
