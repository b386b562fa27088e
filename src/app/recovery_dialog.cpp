#include "recovery_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace verbanta::app {
namespace {

const char* const kTitle = "작업 복구";
const char* const kExplanation =
    "프로그램이 비정상적으로 종료되어 저장하지 못한 자막이 있습니다.\n"
    "복원할 자막을 선택해 주십시오.";
const char* const kRestore = "복원(&R)";
const char* const kDiscard = "삭제(&D)";
const char* const kLater = "나중에(&L)";
const char* const kColumns[] = {"파일 이름", "원래 경로", "시간"};

}  // namespace

RecoveryDialog::RecoveryDialog(std::vector<RecoveryEntry> entries, Action restore,
                               Action discard, QWidget* parent)
    : QDialog(parent),
      m_entries(std::move(entries)),
      m_restore(std::move(restore)),
      m_discard(std::move(discard))
{
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kExplanation), this));

    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHeaderLabels({QString::fromUtf8(kColumns[0]), QString::fromUtf8(kColumns[1]),
                             QString::fromUtf8(kColumns[2])});
    for (const RecoveryEntry& entry : m_entries) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, fileNameOf(entry));
        item->setText(1, QString::fromStdString(entry.manifest.originalPath));
        item->setText(2, timeOf(entry));
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setMinimumWidth(520);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(this);
    m_restoreButton =
        buttons->addButton(QString::fromUtf8(kRestore), QDialogButtonBox::AcceptRole);
    m_discardButton =
        buttons->addButton(QString::fromUtf8(kDiscard), QDialogButtonBox::DestructiveRole);
    QPushButton* later = buttons->addButton(QString::fromUtf8(kLater), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    // The buttons act themselves: restore closes only when it worked.
    disconnect(buttons, nullptr, this, nullptr);
    connect(m_restoreButton, &QPushButton::clicked, this, [this] { restoreSelected(); });
    connect(m_discardButton, &QPushButton::clicked, this, [this] { discardSelected(); });
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &RecoveryDialog::updateButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { restoreSelected(); });
    if (!m_entries.empty())
        selectRow(0);
    updateButtons();
}

QString RecoveryDialog::fileNameOf(const RecoveryEntry& entry)
{
    if (!entry.manifest.originalPath.empty())
        return QFileInfo(QString::fromStdString(entry.manifest.originalPath)).fileName();
    return QString::fromStdString(entry.manifest.title);
}

QString RecoveryDialog::timeOf(const RecoveryEntry& entry)
{
    return QDateTime::fromSecsSinceEpoch(entry.manifest.savedAt)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString RecoveryDialog::cellText(int row, int column) const
{
    const QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? item->text(column) : QString();
}

void RecoveryDialog::selectRow(int row)
{
    if (QTreeWidgetItem* item = m_list->topLevelItem(row))
        m_list->setCurrentItem(item);
}

int RecoveryDialog::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
}

void RecoveryDialog::updateButtons()
{
    const bool any = selectedRow() >= 0;
    m_restoreButton->setEnabled(any);
    m_discardButton->setEnabled(any);
}

bool RecoveryDialog::restoreSelected()
{
    const int row = selectedRow();
    if (row < 0 || !m_restore(m_entries[static_cast<std::size_t>(row)]))
        return false;
    accept();
    return true;
}

bool RecoveryDialog::discardSelected()
{
    const int row = selectedRow();
    if (row < 0 || !m_discard(m_entries[static_cast<std::size_t>(row)]))
        return false;
    m_entries.erase(m_entries.begin() + row);
    delete m_list->takeTopLevelItem(row);
    if (m_entries.empty())
        reject();
    else
        selectRow(std::min(row, rowCount() - 1));
    updateButtons();
    return true;
}

}  // namespace verbanta::app
