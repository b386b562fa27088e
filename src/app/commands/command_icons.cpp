#include "commands/command_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

#include "commands/command_ids.h"

namespace verbanta::app {
namespace {

using Painter = std::function<void(QPainter&)>;

const QColor kOutline(60, 60, 70);

// Draws in a 16 x 16 design grid and renders it at a few sizes, so the icons stay sharp.
QIcon render(const Painter& paint)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void page(QPainter& p, const QRectF& r, const QColor& fill = Qt::white)
{
    QPainterPath path;
    const qreal fold = 3.5;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter& p, qreal x, qreal y, qreal w, int n)
{
    p.setPen(QPen(QColor(120, 140, 180), 1));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + i * 2.5), QPointF(x + w - (i % 2) * 2, y + i * 2.5));
}

void newFile(QPainter& p)
{
    page(p, QRectF(3.5, 1.5, 9, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(11.5, 11.5), 3, 3);
    p.setPen(QPen(Qt::white, 1.2));
    p.drawLine(QPointF(11.5, 9.8), QPointF(11.5, 13.2));
    p.drawLine(QPointF(9.8, 11.5), QPointF(13.2, 11.5));
}

void openFile(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(1.5, 3.5, 12, 10));
    p.setBrush(QColor(255, 225, 130));
    QPolygonF front;
    front << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(front);
}

void openMedia(QPainter& p)
{
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(50, 50, 60));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(2.5 + i * 3.2, 3.3, 1.6, 1.4));
        p.drawRect(QRectF(2.5 + i * 3.2, 11.3, 1.6, 1.4));
    }
    p.setBrush(QColor(90, 190, 255));
    QPolygonF play;
    play << QPointF(6.5, 5.8) << QPointF(10.5, 8) << QPointF(6.5, 10.2);
    p.drawPolygon(play);
}

void saveFile(QPainter& p)
{
    p.setPen(QPen(QColor(20, 50, 110), 1));
    p.setBrush(QColor(60, 110, 200));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(QColor(200, 210, 230));
    p.drawRect(QRectF(4, 9.5, 8, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 50, 110));
    p.drawRect(QRectF(9, 2.5, 2, 3));
}

void find(QPainter& p)
{
    p.setPen(QPen(QColor(70, 70, 80), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    p.setPen(QPen(QColor(70, 70, 80), 1.4));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
}

void externalEditor(QPainter& p)
{
    page(p, QRectF(1.5, 1.5, 10, 13));
    textLines(p, 3.5, 5, 5, 4);
    p.setPen(QPen(QColor(120, 70, 20), 1));
    p.setBrush(QColor(250, 190, 60));
    QPolygonF pencil;
    pencil << QPointF(14.5, 5) << QPointF(15.5, 6) << QPointF(9, 12.5) << QPointF(7.5, 13)
           << QPointF(8, 11.5);
    p.drawPolygon(pencil);
}

void fullScreen(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(40, 40, 50));
    p.drawRect(QRectF(3.5, 4.5, 9, 7));
    p.setPen(QPen(QColor(30, 110, 210), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF corners[4][3] = {
        {{1, 4}, {1, 1}, {4, 1}}, {{12, 1}, {15, 1}, {15, 4}},
        {{15, 12}, {15, 15}, {12, 15}}, {{4, 15}, {1, 15}, {1, 12}}};
    for (const auto& c : corners)
        p.drawPolyline(c, 3);
}

void cut(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 100), 1.3));
    p.drawLine(QPointF(5, 1.5), QPointF(10.5, 10));
    p.drawLine(QPointF(11, 1.5), QPointF(5.5, 10));
    p.setPen(QPen(QColor(200, 40, 40), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
}

void copy(QPainter& p)
{
    page(p, QRectF(1.5, 1.5, 8.5, 10.5));
    textLines(p, 3, 5, 4.5, 3);
    page(p, QRectF(6, 4.5, 8.5, 10.5));
    textLines(p, 7.5, 8, 4.5, 3);
}

void paste(QPainter& p)
{
    p.setPen(QPen(QColor(110, 70, 30), 1));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4, 1.5, 5, 2.5));
    page(p, QRectF(6.5, 6, 8, 9));
    textLines(p, 8, 9, 4, 2);
}

void arrow(QPainter& p, bool forward)
{
    if (!forward) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(3, 12.5);
    path.cubicTo(3, 6, 7, 4.5, 11, 5);
    p.setPen(QPen(QColor(30, 110, 210), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 210));
    QPolygonF head;
    head << QPointF(10, 1.5) << QPointF(15, 5.2) << QPointF(10, 8.5);
    p.drawPolygon(head);
}

void help(QPainter& p)
{
    p.setPen(QPen(QColor(20, 70, 160), 1));
    p.setBrush(QColor(50, 120, 220));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

QIcon CommandIcons::forCommand(int id)
{
    switch (id) {
        case cmd::FileNew: return render(newFile);
        case cmd::FileOpen: return render(openFile);
        case cmd::OpenMedia: return render(openMedia);
        case cmd::FileSave: return render(saveFile);
        case cmd::EditFind: return render(find);
        case cmd::ExternalEditor: return render(externalEditor);
        case cmd::FullScreen: return render(fullScreen);
        case cmd::EditCut: return render(cut);
        case cmd::EditCopy: return render(copy);
        case cmd::EditPaste: return render(paste);
        case cmd::EditUndo: return render([](QPainter& p) { arrow(p, false); });
        case cmd::EditRedo: return render([](QPainter& p) { arrow(p, true); });
        case cmd::HelpContents: return render(help);
        default: return {};
    }
}

QIcon CommandIcons::programIcon()
{
    // The program's own icon as the desktop shows it, rendered from its drawing at build time.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/verbanta.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace verbanta::app
