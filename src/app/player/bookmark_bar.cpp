#include "player/bookmark_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "color_scheme.h"

namespace verbanta::app {
namespace {

const QColor kRangeGreen(0, 150, 0);
const QColor kBookmarkRed(255, 0, 0);

}  // namespace

BookmarkBar::BookmarkBar(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void BookmarkBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.fillRect(rect(), palette().button());
    // Black frames the bar on a light scheme; on a dark one black would not show.
    p.setPen(ColorScheme::pick(Qt::black, palette().color(QPalette::Mid)));
    p.drawRect(0, 0, w - 1, h - 1);
    const VideoBookmarks& b = m_bookmarks;
    if (b.GetLength() <= 0)
        return;
    auto mark = [&](std::int32_t ms, const QColor& colour) {
        const int x = b.markX(ms, w);
        p.fillRect(QRect(QPoint(x - 2, 0), QPoint(x + 2, h - 1)), colour);
    };
    if (b.rangeStart() >= 0)
        mark(b.rangeStart(), kRangeGreen);
    if (b.rangeEnd() >= 0)
        mark(b.rangeEnd(), kRangeGreen);
    if (b.rangeStart() >= 0 && b.rangeEnd() >= 0) {
        const int x0 = b.markX(b.rangeStart(), w) - 2;
        const int x1 = b.markX(b.rangeEnd(), w) + 2;
        p.fillRect(QRect(QPoint(x0, 0), QPoint(x1, h - 1)), kRangeGreen);
    }
    for (int i = 0; i < b.BookmarkCount(); ++i) mark(b.BookmarkAt(i), kBookmarkRed);
}

void BookmarkBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(m_bookmarks.timeAtX(event->position().toPoint().x(), width()));
}

void BookmarkBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(m_bookmarks.timeAtX(event->position().toPoint().x(), width()));
}

void BookmarkBar::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
}

}  // namespace verbanta::app
