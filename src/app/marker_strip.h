#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

namespace verbanta {
struct AppSettings;
}

namespace verbanta::app {

class CaptionListView;

/// The narrow strip beside the caption list: one cell per visible row, aligned with the
/// list's rows, showing the replay, bookmark, timing-error and range marks. A click on a cell
/// is reported; the caption view decides what it marks.
class MarkerStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 18;

    MarkerStrip(CaptionListView& list, const AppSettings& settings, QWidget* parent = nullptr);

    /// The row of a strip cell at a y position of the strip, or -1.
    int rowAtY(int y) const;

signals:
    void cellClicked(int row, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    /// Where the list's first row is drawn, in strip coordinates.
    int rowsTop() const;

    CaptionListView& m_list;
    const AppSettings& m_settings;
    std::array<QPixmap, 5> m_icons;
};

}  // namespace verbanta::app
