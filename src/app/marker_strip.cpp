#include "marker_strip.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "caption_icons.h"
#include "caption_list_view.h"
#include "caption_table_model.h"
#include "model/sync_entry.h"
#include "settings/app_settings.h"

namespace verbanta::app {

MarkerStrip::MarkerStrip(CaptionListView& list, const AppSettings& settings, QWidget* parent)
    : QWidget(parent), m_list(list), m_settings(settings)
{
    setFixedWidth(kWidth);
    for (int i = 0; i < 5; ++i)
        m_icons[static_cast<std::size_t>(i)] =
            CaptionIcons::marker(static_cast<CaptionIcons::Marker>(i));
    connect(&list, &CaptionListView::painted, this, qOverload<>(&QWidget::update));
}

int MarkerStrip::rowsTop() const
{
    const QPoint viewportTop = m_list.viewport()->mapTo(parentWidget(), QPoint(0, 0));
    return viewportTop.y() - y();
}

int MarkerStrip::rowAtY(int y) const
{
    const int row = m_list.rowAt(y - rowsTop());
    const CaptionTableModel* model = m_list.captionModel();
    return model && row >= 0 && row < model->rowCount() ? row : -1;
}

void MarkerStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const int top = rowsTop();
    p.setPen(palette().mid().color());
    p.drawLine(width() - 1, top, width() - 1, height());
    const CaptionTableModel* model = m_list.captionModel();
    const auto [first, last] = m_list.visibleRows();
    if (!model || first < 0)
        return;
    p.setClipRect(QRect(0, top, width(), m_list.viewport()->height()));
    const int rowHeight = m_list.verticalHeader()->defaultSectionSize();
    for (int row = first; row <= last; ++row) {
        const SyncEntry* entry = model->entryAt(row);
        if (!entry)
            continue;
        const int cellTop = top + m_list.rowViewportPosition(row);
        const QPoint at(1, cellTop + (rowHeight - 16) / 2);
        // Drawn in this order; a later mark covers an earlier one.
        if (entry->replayMark)
            p.drawPixmap(at, m_icons[CaptionIcons::Replay]);
        if (entry->bookmarked)
            p.drawPixmap(at, m_icons[CaptionIcons::Bookmark]);
        if (entry->syncError && m_settings.DisplayErrorSync)
            p.drawPixmap(at, m_icons[CaptionIcons::SyncError]);
        if (entry->rangeStart)
            p.drawPixmap(at, m_icons[CaptionIcons::RangeStart]);
        if (entry->rangeEnd)
            p.drawPixmap(at, m_icons[CaptionIcons::RangeEnd]);
    }
}

void MarkerStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = rowAtY(static_cast<int>(event->position().y()));
    if (row >= 0)
        emit cellClicked(row, event->globalPosition().toPoint());
}

}  // namespace verbanta::app
