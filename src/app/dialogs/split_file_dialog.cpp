#include "dialogs/split_file_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "caption_codec.h"
#include "dialogs/subtitle_file_dialog.h"

namespace verbanta::app {
namespace {

constexpr const char* kSamiFilter = "SAMI 자막 파일 (*.smi)|*.smi|모든 파일 (*.*)|*.*||";

QString fromPath(const std::string& path)
{
    return QString::fromStdString(path);  // paths are UTF-8 on this system
}

}  // namespace

SplitFileDialog::SplitFileDialog(const SamiModel& model, std::vector<SplitPart> parts,
                                 FileOperations& files, Messenger& messenger, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_parts(std::move(parts)),
      m_files(files),
      m_messenger(messenger)
{
    setWindowTitle(QStringLiteral("자막 파일 나누기"));
    if (!m_parts.empty())
        m_folder = QFileInfo(fromPath(m_parts.front().path)).absolutePath();

    auto* count = new QLabel(QString::fromStdString(splitCountLabel(m_parts.size())), this);
    m_table = new QTableWidget(static_cast<int>(m_parts.size()), 3, this);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("싱크시간"), QStringLiteral("자막 내용"), QString()});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setShowGrid(true);
    m_table->setWordWrap(false);
    m_table->setColumnWidth(0, 90);
    m_table->setColumnWidth(1, 200);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(520, 200);
    for (int row = 0; row < static_cast<int>(m_parts.size()); ++row) fillRow(row);

    auto* group = new QGroupBox(QStringLiteral("파일명 입력"), this);
    auto* nameLabel = new QLabel(QStringLiteral("저장 파일명 :"), group);
    m_name = new QLineEdit(group);
    nameLabel->setBuddy(m_name);
    auto* browseButton = new QPushButton(QStringLiteral("찾기(&F)"), group);
    auto* storeButton = new QPushButton(QStringLiteral("수정(&E)"), group);
    auto* clearButton = new QPushButton(QStringLiteral("삭제(&D)"), group);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(nameLabel, 0, 0);
    groupLayout->addWidget(m_name, 0, 1);
    auto* nameButtons = new QHBoxLayout;
    nameButtons->addStretch(1);
    nameButtons->addWidget(browseButton);
    nameButtons->addWidget(storeButton);
    nameButtons->addWidget(clearButton);
    groupLayout->addLayout(nameButtons, 1, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(count);
    layout->addWidget(m_table, 1);
    layout->addWidget(group);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &SplitFileDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SplitFileDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, &SplitFileDialog::browse);
    connect(storeButton, &QPushButton::clicked, this, &SplitFileDialog::storeName);
    connect(clearButton, &QPushButton::clicked, this, &SplitFileDialog::clearName);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &SplitFileDialog::showSelectedPath);
    m_name->installEventFilter(this);
    selectRow(0);
}

bool SplitFileDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the name field stores the name; it does not write the parts.
    if (watched == m_name && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            storeName();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SplitFileDialog::fillRow(int row)
{
    const SplitPart& part = m_parts[static_cast<std::size_t>(row)];
    const QString texts[] = {QString::fromStdString(splitTimeText(part)),
                             CaptionCodec::toDisplay(part.caption),
                             QString::fromStdString(splitFileText(part))};
    for (int column = 0; column < 3; ++column) {
        auto* item = m_table->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            m_table->setItem(row, column, item);
        }
        item->setText(texts[column]);
    }
    m_table->item(row, 2)->setToolTip(fromPath(part.path));
}

int SplitFileDialog::selectedRow() const
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    return items.isEmpty() ? -1 : items.constFirst()->row();
}

void SplitFileDialog::selectRow(int row)
{
    if (row >= 0 && row < m_table->rowCount())
        m_table->selectRow(row);
    showSelectedPath();
}

void SplitFileDialog::showSelectedPath()
{
    const int row = selectedRow();
    m_name->setText(row < 0 ? QString() : fromPath(m_parts[static_cast<std::size_t>(row)].path));
}

QString SplitFileDialog::editedPath() const
{
    const QString text = m_name->text().trimmed();
    if (text.isEmpty() || !QFileInfo(text).isRelative() || m_folder.isEmpty())
        return text;
    return QDir::cleanPath(QDir(m_folder).filePath(text));
}

void SplitFileDialog::browse()
{
    SubtitleFileDialog dialog(this, SubtitleFileDialog::Mode::OpenAnyName, kSamiFilter, QString(),
                              &m_messenger);
    const QString current = editedPath();
    if (!current.isEmpty()) {
        dialog.setDirectory(QFileInfo(current).absolutePath());
        dialog.selectFile(QFileInfo(current).fileName());
    } else if (!m_folder.isEmpty()) {
        dialog.setDirectory(m_folder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    m_name->setText(dialog.chosenFile());
    m_name->setFocus();
    m_name->selectAll();
}

void SplitFileDialog::storeName()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (!setSplitPartPath(m_parts[static_cast<std::size_t>(row)], editedPath().toStdString(),
                          m_messenger)) {
        m_name->setFocus();
        return;
    }
    fillRow(row);
    showSelectedPath();
}

void SplitFileDialog::clearName()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_parts[static_cast<std::size_t>(row)].path.clear();
    fillRow(row);
    showSelectedPath();
}

void SplitFileDialog::accept()
{
    const int written = writeSplitParts(m_model, m_parts, m_files, m_messenger);
    if (written < 0)
        return;  // no part has a file: the message said so, the dialog stays
    m_written = written;
    QDialog::accept();
}

}  // namespace verbanta::app
