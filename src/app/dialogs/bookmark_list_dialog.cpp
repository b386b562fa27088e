#include "dialogs/bookmark_list_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "caption_codec.h"
#include "caption_icons.h"
#include "dialogs/stepped_time_field.h"
#include "editor/editor_ports.h"
#include "editor/player_bookmarks.h"
#include "model/sync_list.h"
#include "model/text_format.h"
#include "settings/app_settings.h"
#include "time_field_widget.h"

namespace verbanta::app {

BookmarkListDialog::BookmarkListDialog(VideoBookmarks& bookmarks, const SyncList& captions,
                                       const AppSettings& settings, Messenger& messenger,
                                       PlayerPort& player, QWidget* parent)
    : QDialog(parent),
      m_bookmarks(bookmarks),
      m_captions(captions),
      m_settings(settings),
      m_player(player),
      m_count(new QLabel(this)),
      m_list(new QTableWidget(0, 2, this)),
      m_position(new SteppedTimeField(settings, messenger, 0,
                                      std::max<std::int32_t>(0, bookmarks.GetLength()), this))
{
    setWindowTitle(QStringLiteral("동영상 북마크"));
    for (int i = 0; i < bookmarks.BookmarkCount(); ++i) m_times.push_back(bookmarks.BookmarkAt(i));

    m_list->setHorizontalHeaderLabels({QStringLiteral("싱크시간"), QStringLiteral("자막 내용")});
    m_list->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_list->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 90 + m_list->iconSize().width());
    m_list->setMinimumSize(420, 200);
    for (std::size_t i = 0; i < m_times.size(); ++i) {
        m_list->insertRow(static_cast<int>(i));
        fillRow(static_cast<int>(i), m_times[i]);
    }

    auto* group = new QGroupBox(QStringLiteral("동영상 북마크"), this);
    auto* positionLabel = new QLabel(QStringLiteral("북마크 위치 :"), group);
    positionLabel->setBuddy(&m_position->field());
    auto* add = new QPushButton(QStringLiteral("추가(&A)"), group);
    auto* change = new QPushButton(QStringLiteral("수정(&E)"), group);
    auto* remove = new QPushButton(QStringLiteral("삭제(&D)"), group);
    auto* go = new QPushButton(QStringLiteral("이동(&G)"), group);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(positionLabel);
    groupLayout->addWidget(m_position);
    groupLayout->addSpacing(8);
    for (QPushButton* b : {add, change, remove, go}) {
        b->setAutoDefault(false);
        groupLayout->addWidget(b);
    }

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &BookmarkListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BookmarkListDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    layout->addWidget(group);
    layout->addWidget(buttons);

    connect(add, &QPushButton::clicked, this, &BookmarkListDialog::addRow);
    connect(change, &QPushButton::clicked, this, &BookmarkListDialog::changeRow);
    connect(remove, &QPushButton::clicked, this, &BookmarkListDialog::deleteRow);
    connect(go, &QPushButton::clicked, this, &BookmarkListDialog::goToRow);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &BookmarkListDialog::rowSelected);
    updateCount();
    select(0);
    m_list->setFocus();
}

std::string BookmarkListDialog::captionAt(const SyncList& captions, std::int32_t ms)
{
    for (int i = 0; i < captions.count(); ++i) {
        if (captions[i].startMs >= ms) {
            const SyncEntry& on = captions[std::max(i - 1, 0)];
            return std::string(truncateText(StripTags(on.text, true), kListDisplayBytes));
        }
    }
    return {};
}

void BookmarkListDialog::fillRow(int row, std::int32_t ms)
{
    static const QIcon icon(CaptionIcons::marker(CaptionIcons::Bookmark));
    auto* time = new QTableWidgetItem(
        icon, QString::fromStdString(FormatTime(ms, m_settings.DisplayAsTime)));
    time->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_list->setItem(row, 0, time);
    m_list->setItem(row, 1,
                    new QTableWidgetItem(CaptionCodec::toDisplay(captionAt(m_captions, ms))));
}

int BookmarkListDialog::selectedIndex() const
{
    const QList<QTableWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->row();
}

void BookmarkListDialog::select(int index)
{
    if (index >= 0 && index < m_list->rowCount())
        m_list->selectRow(index);
}

void BookmarkListDialog::rowSelected()
{
    const int index = selectedIndex();
    if (index < 0 || index >= static_cast<int>(m_times.size())) {
        // A click on the empty part of the list does not take the selection away.
        if (m_lastSelected >= 0 && m_lastSelected < m_list->rowCount())
            select(m_lastSelected);
        return;
    }
    m_lastSelected = index;
    m_position->setValue(m_times[static_cast<std::size_t>(index)]);
}

void BookmarkListDialog::updateCount()
{
    m_count->setText(QStringLiteral("동영상 북마크 수: %1개").arg(m_list->rowCount()));
}

void BookmarkListDialog::addRow()
{
    if (!m_position->commit())
        return;
    const std::int32_t ms = m_position->value();
    m_times.push_back(ms);
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    fillRow(row, ms);
    select(static_cast<int>(m_times.size()) - 1);
    updateCount();
    m_list->setFocus();
}

void BookmarkListDialog::changeRow()
{
    const int index = selectedIndex();
    if (index < 0 || !m_position->commit())
        return;
    const std::int32_t ms = m_position->value();
    m_times[static_cast<std::size_t>(index)] = ms;
    fillRow(index, ms);
}

void BookmarkListDialog::deleteRow()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    m_lastSelected = -1;
    m_list->removeRow(index);
    m_times.erase(m_times.begin() + index);
    select(std::min(index, m_list->rowCount() - 1));
    updateCount();
}

void BookmarkListDialog::goToRow()
{
    const int index = selectedIndex();
    if (index >= 0)
        m_player.SeekTo(m_times[static_cast<std::size_t>(index)], false);
    m_list->setFocus();
}

void BookmarkListDialog::accept()
{
    // Rows past the bar's hundredth have no slot and are dropped.
    m_bookmarks.ClearBookmarks();
    for (const std::int32_t ms : m_times) m_bookmarks.AddBookmark(ms);
    QDialog::accept();
}

}  // namespace verbanta::app
