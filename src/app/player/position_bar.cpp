#include "player/position_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace verbanta::app {

PositionBar::PositionBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void PositionBar::setShotChanges(const std::vector<std::int32_t>& shotsMs)
{
    if (shotsMs == m_shotsMs)
        return;
    m_shotsMs = shotsMs;
    update();
}

int PositionBar::markX(std::int32_t ms) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The handle's centre travels the groove less the handle's width: a mark sits where the
    // handle's centre is at that time.
    const int span = std::max(1, groove.width() - handle.width());
    return groove.left() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), ms, span);
}

void PositionBar::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (m_shotsMs.empty() || maximum() <= minimum())
        return;
    QPainter p(this);
    // Short ticks above and below the groove, in the highlight colour, so that the handle
    // and the groove stay readable between them.
    QColor ink = palette().color(QPalette::Highlight);
    ink.setAlpha(200);
    p.setPen(QPen(ink, 1));
    const int h = height();
    int lastX = -1;
    for (const std::int32_t ms : m_shotsMs) {
        if (ms < minimum() || ms > maximum())
            continue;
        const int x = markX(ms);
        if (x == lastX)
            continue;
        lastX = x;
        p.drawLine(x, 0, x, h / 4);
        p.drawLine(x, h - 1 - h / 4, x, h - 1);
    }
}

}  // namespace verbanta::app
