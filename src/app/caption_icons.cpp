#include "caption_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace verbanta::app {
namespace {

QPixmap canvas()
{
    QPixmap pixmap(32, 32);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
}

QPixmap drawCheckBox(bool checked)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    begin(p);
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    if (checked) {
        p.setPen(QPen(QColor(20, 120, 40), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[] = {{4.5, 8}, {7, 10.5}, {11.5, 5}};
        p.drawPolyline(tick, 3);
    }
    return pixmap;
}

QPixmap drawMarker(CaptionIcons::Marker marker)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    begin(p);
    switch (marker) {
        case CaptionIcons::RangeStart:
        case CaptionIcons::RangeEnd: {
            // A green bracket opening downward for the start, upward for the end.
            const bool start = marker == CaptionIcons::RangeStart;
            p.setPen(QPen(QColor(0, 150, 0), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            QPainterPath path;
            if (start) {
                path.moveTo(4, 13);
                path.lineTo(4, 3);
                path.lineTo(12, 3);
            } else {
                path.moveTo(4, 3);
                path.lineTo(4, 13);
                path.lineTo(12, 13);
            }
            p.drawPath(path);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 150, 0));
            QPolygonF arrow;
            const qreal y = start ? 7.5 : 8.5;
            arrow << QPointF(7, y - 2.5) << QPointF(12, y) << QPointF(7, y + 2.5);
            p.drawPolygon(arrow);
            break;
        }
        case CaptionIcons::Bookmark: {
            p.setPen(QPen(QColor(0, 0, 110), 1));
            p.setBrush(QColor(40, 70, 200));
            QPolygonF ribbon;
            ribbon << QPointF(4, 2) << QPointF(12, 2) << QPointF(12, 14) << QPointF(8, 10.5)
                   << QPointF(4, 14);
            p.drawPolygon(ribbon);
            break;
        }
        case CaptionIcons::SyncError: {
            p.setPen(QPen(QColor(120, 0, 0), 1));
            p.setBrush(QColor(220, 30, 30));
            QPolygonF triangle;
            triangle << QPointF(8, 1.5) << QPointF(15, 14.5) << QPointF(1, 14.5);
            p.drawPolygon(triangle);
            p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 6), QPointF(8, 10));
            p.drawPoint(QPointF(8, 12.5));
            break;
        }
        case CaptionIcons::Replay: {
            p.setPen(QPen(QColor(200, 110, 0), 1.8, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 110, 0));
            QPolygonF head;
            head << QPointF(9.5, 0.5) << QPointF(13.5, 3.5) << QPointF(9, 5.5);
            p.drawPolygon(head);
            QPolygonF play;
            play << QPointF(6.5, 5.5) << QPointF(10.5, 8) << QPointF(6.5, 10.5);
            p.drawPolygon(play);
            break;
        }
    }
    return pixmap;
}

QPixmap drawFindingMark()
{
    // An amber disc with "!": a caption to look at again, set apart from the red timing error.
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    begin(p);
    p.setPen(QPen(QColor(170, 100, 0), 1));
    p.setBrush(QColor(245, 170, 20));
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 4.8), QPointF(8, 8.8));
    p.drawPoint(QPointF(8, 11.3));
    return pixmap;
}

}  // namespace

QIcon CaptionIcons::findingMark()
{
    return QIcon(drawFindingMark());
}

QIcon CaptionIcons::checkBox(bool checked)
{
    return QIcon(drawCheckBox(checked));
}

QPixmap CaptionIcons::marker(Marker marker)
{
    return drawMarker(marker);
}

}  // namespace verbanta::app
