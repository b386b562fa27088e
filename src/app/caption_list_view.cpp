#include "caption_list_view.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include "caption_table_model.h"
#include "model/sync_entry.h"

namespace verbanta::app {

CaptionListView::CaptionListView(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    // A fixed row height keeps a 50,000-row list from ever measuring its rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(18, fontMetrics().height() + 4));
    horizontalHeader()->setMinimumSectionSize(16);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CaptionListView::setCaptionModel(CaptionTableModel* model)
{
    m_model = model;
    setModel(model);
    layoutColumns();
}

int CaptionListView::currentRowIndex() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void CaptionListView::selectRowQuietly(int row)
{
    const bool wasQuiet = m_quiet;
    m_quiet = true;
    if (row < 0 || !m_model || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = m_model->index(row, CaptionTableModel::TimeColumn);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    m_quiet = wasQuiet;
}

std::pair<int, int> CaptionListView::visibleRows() const
{
    if (!m_model || m_model->rowCount() == 0)
        return {-1, -1};
    const int first = rowAt(0);
    if (first < 0)
        return {-1, -1};
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = m_model->rowCount() - 1;
    return {first, last};
}

int CaptionListView::rowsPerPage() const
{
    const int height = verticalHeader()->defaultSectionSize();
    return std::max(1, viewport()->height() / std::max(1, height));
}

void CaptionListView::layoutColumns()
{
    const int scrollArrow = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool findings = m_model && m_model->showsFindings();
    setColumnHidden(CaptionTableModel::FindingsColumn, !findings);
    setColumnWidth(CaptionTableModel::CheckColumn, CaptionTableModel::kCheckWidth);
    setColumnWidth(CaptionTableModel::FindingsColumn, CaptionTableModel::kFindingsWidth);
    setColumnWidth(CaptionTableModel::TimeColumn, CaptionTableModel::kTimeWidth);
    const int fixed = 111 + (findings ? CaptionTableModel::kFindingsWidth : 0);
    setColumnWidth(CaptionTableModel::TextColumn, std::max(40, width() - fixed - scrollArrow));
}

void CaptionListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    layoutColumns();
}

void CaptionListView::paintEvent(QPaintEvent* event)
{
    if (m_model) {
        const auto [first, last] = visibleRows();
        if (first >= 0)
            m_model->prepareRows(first, last);
    }
    QTableView::paintEvent(event);
    if (m_model)
        m_model->releaseRows();
    emit painted();
}

QItemSelectionModel::SelectionFlags CaptionListView::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const
{
    // Ctrl and Shift serve the check marks; the selection simply moves to the row.
    if (index.isValid() && event &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return QTableView::selectionCommand(index, event);
}

void CaptionListView::mousePressEvent(QMouseEvent* event)
{
    QToolTip::hideText();
    const QModelIndex index = indexAt(event->position().toPoint());
    m_pressRow = index.isValid() ? index.row() : -1;
    m_pressColumn = index.isValid() ? index.column() : -1;
    if (event->button() == Qt::LeftButton && index.isValid()) {
        const Qt::KeyboardModifiers mods = event->modifiers();
        if (mods & Qt::ShiftModifier) {
            emit shiftClicked(index.row());
        } else if (mods & Qt::ControlModifier) {
            emit checkToggleRequested(index.row());
        } else if (index.column() == CaptionTableModel::CheckColumn) {
            emit checkDragBegan(index.row());
            m_checkDrag = true;
        }
    }
    // The list's normal handling (moving the selection) still takes place.
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid())
        emit rowClicked(index.row());
}

void CaptionListView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_checkDrag) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    const int row = rowAt(static_cast<int>(event->position().y()));
    if (row >= 0)
        emit checkDraggedOver(row);
}

void CaptionListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_checkDrag) {
        m_checkDrag = false;
        emit checkDragEnded();
    }
    QTableView::mouseReleaseEvent(event);
}

void CaptionListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;  // double clicks outside the rows do nothing
    if (event->button() == Qt::LeftButton)
        emit rowDoubleClicked(index.row());
}

void CaptionListView::keyPressEvent(QKeyEvent* event)
{
    QToolTip::hideText();
    if (event->key() == Qt::Key_Space && !(event->modifiers() & ~Qt::KeypadModifier)) {
        if (currentRowIndex() >= 0)
            emit checkToggleRequested(currentRowIndex());
        return;
    }
    const int before = currentRowIndex();
    QTableView::keyPressEvent(event);
    const int after = currentRowIndex();
    if ((event->modifiers() & Qt::ShiftModifier) && before >= 0 && after >= 0 && after != before)
        emit shiftMoved(before, after);
}

void CaptionListView::contextMenuEvent(QContextMenuEvent* event)
{
    emit menuRequested(event->globalPos());
}

void CaptionListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_quiet && current.row() != previous.row())
        emit currentRowChanged(current.isValid() ? current.row() : -1);
}

bool CaptionListView::showCutOffTip(const QPoint& pos, const QPoint& globalPos)
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index.column() == CaptionTableModel::CheckColumn || !m_model)
        return false;
    if (index.column() == CaptionTableModel::FindingsColumn) {
        // The rules the row breaks, by name.
        const QString rules = m_model->data(index, Qt::ToolTipRole).toString();
        if (rules.isEmpty())
            return false;
        QToolTip::showText(globalPos, rules, viewport(), visualRect(index));
        return true;
    }
    const QString text = m_model->cellText(index.row(), index.column());
    const QRect cell = visualRect(index);
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    if (fontMetrics().horizontalAdvance(text) + margin <= cell.width())
        return false;
    QToolTip::showText(globalPos, text, viewport(), cell);
    return true;
}

bool CaptionListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (!showCutOffTip(help->pos(), help->globalPos())) {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QTableView::viewportEvent(event);
}

void CaptionListView::startDrag(Qt::DropActions)
{
    // Only a row taken by its time or text cell travels; the check column sweeps checks.
    if (m_pressRow < 0 || m_pressColumn == CaptionTableModel::CheckColumn || !m_model)
        return;
    const SyncEntry* entry = m_model->entryAt(m_pressRow);
    if (!entry)
        return;
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kRowTimeMime), QByteArray::number(entry->startMs));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    emit rowDragStarted(m_pressRow);
    drag->exec(Qt::CopyAction);
}

}  // namespace verbanta::app
