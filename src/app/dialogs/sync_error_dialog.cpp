#include "dialogs/sync_error_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "caption_codec.h"
#include "model/text_format.h"

namespace verbanta::app {

SyncErrorDialog::SyncErrorDialog(std::vector<FoundRow> rows, bool displayAsTime, GoTo goTo,
                                 QWidget* parent)
    : SyncErrorDialog(QStringLiteral("싱크 시간 오류 검색"), std::move(rows), displayAsTime,
                      std::move(goTo), parent)
{
}

SyncErrorDialog::SyncErrorDialog(const QString& title, std::vector<FoundRow> rows,
                                 bool displayAsTime, GoTo goTo, QWidget* parent)
    : QDialog(parent),
      m_rows(std::move(rows)),
      m_goTo(std::move(goTo)),
      m_list(new QTreeWidget(this))
{
    setWindowTitle(title);
    auto* count = new QLabel(
        QStringLiteral("오류 싱크 갯수: %1개").arg(static_cast<int>(m_rows.size())), this);

    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("싱크시간"), QStringLiteral("자막 내용")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setSectionsMovable(false);
    m_list->setColumnWidth(0, 90);
    m_list->setMinimumSize(420, 240);
    for (const FoundRow& row : m_rows) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, QString::fromStdString(FormatTime(row.startMs, displayAsTime)));
        item->setText(1, CaptionCodec::toDisplay(row.text));
        item->setToolTip(1, item->text(1));
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(QStringLiteral("이동"), QDialogButtonBox::AcceptRole);
    go->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(go, &QPushButton::clicked, this, &SyncErrorDialog::goToChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &SyncErrorDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &SyncErrorDialog::goToChosen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(count);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    m_list->setFocus();
}

int SyncErrorDialog::chosenIndex() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
}

void SyncErrorDialog::goToChosen()
{
    const int index = chosenIndex();
    const int row = index >= 0 ? m_rows[static_cast<std::size_t>(index)].row : -1;
    if (m_goTo && m_goTo(row))
        QDialog::accept();
}

}  // namespace verbanta::app
