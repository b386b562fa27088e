#include "dialogs/merge_files_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/subtitle_file_dialog.h"

namespace verbanta::app {
namespace {

constexpr const char* kSamiFilter = "SAMI 자막 파일 (*.smi)|*.smi|모든 파일 (*.*)|*.*||";

}  // namespace

MergeFilesDialog::MergeFilesDialog(FileOperations& files, Messenger& messenger,
                                   const QString& folder, Merge merge, QWidget* parent)
    : QDialog(parent),
      m_files(files),
      m_messenger(messenger),
      m_folder(folder),
      m_merge(std::move(merge))
{
    setWindowTitle(QStringLiteral("자막 파일 합치기"));
    m_count = new QLabel(this);
    m_paths = new QListWidget(this);
    m_paths->setSelectionMode(QAbstractItemView::SingleSelection);
    m_paths->setMinimumSize(480, 160);

    auto* group = new QGroupBox(QStringLiteral("합칠 파일명 입력"), this);
    auto* nameLabel = new QLabel(QStringLiteral("합칠 파일명 :"), group);
    m_name = new QLineEdit(group);
    nameLabel->setBuddy(m_name);
    auto* add = new QPushButton(QStringLiteral("추가(&A)"), group);
    auto* replace = new QPushButton(QStringLiteral("수정(&E)"), group);
    auto* remove = new QPushButton(QStringLiteral("삭제(&D)"), group);
    auto* up = new QPushButton(QStringLiteral("↑"), group);
    auto* down = new QPushButton(QStringLiteral("↓"), group);
    auto* find = new QPushButton(QStringLiteral("찾기(&F)"), group);
    for (QPushButton* b : {add, replace, remove, up, down, find})
        b->setAutoDefault(false);  // Enter belongs to "확인"
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(nameLabel, 0, 0);
    groupLayout->addWidget(m_name, 0, 1);
    auto* nameButtons = new QHBoxLayout;
    nameButtons->addStretch(1);
    for (QPushButton* b : {add, replace, remove, up, down, find}) nameButtons->addWidget(b);
    groupLayout->addLayout(nameButtons, 1, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_count);
    layout->addWidget(m_paths, 1);
    layout->addWidget(group);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &MergeFilesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MergeFilesDialog::reject);
    connect(add, &QPushButton::clicked, this, &MergeFilesDialog::addName);
    connect(replace, &QPushButton::clicked, this, &MergeFilesDialog::replaceName);
    connect(remove, &QPushButton::clicked, this, &MergeFilesDialog::removeName);
    connect(up, &QPushButton::clicked, this, &MergeFilesDialog::moveUp);
    connect(down, &QPushButton::clicked, this, &MergeFilesDialog::moveDown);
    connect(find, &QPushButton::clicked, this, &MergeFilesDialog::browse);
    connect(m_paths, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_showing)
            return;
        m_list.select(row);
        if (row >= 0)
            m_name->setText(QString::fromStdString(m_list.paths()[static_cast<std::size_t>(row)]));
    });
    showList();
}

QString MergeFilesDialog::editedPath() const
{
    const QString text = m_name->text().trimmed();
    if (text.isEmpty() || !QFileInfo(text).isRelative() || m_folder.isEmpty())
        return text;
    return QDir::cleanPath(QDir(m_folder).filePath(text));
}

void MergeFilesDialog::showList()
{
    m_showing = true;
    m_paths->clear();
    for (const std::string& path : m_list.paths()) m_paths->addItem(QString::fromStdString(path));
    m_paths->setCurrentRow(m_list.selected());
    m_showing = false;
    m_count->setText(QString::fromStdString(m_list.countLabel()));
}

void MergeFilesDialog::focusName()
{
    m_name->setFocus();
    m_name->selectAll();
}

void MergeFilesDialog::addName()
{
    if (!m_list.add(editedPath().toStdString(), m_files, m_messenger)) {
        focusName();
        return;
    }
    showList();
}

void MergeFilesDialog::replaceName()
{
    if (m_list.selected() < 0)
        return;
    if (!m_list.replaceSelected(editedPath().toStdString(), m_files, m_messenger)) {
        focusName();
        return;
    }
    showList();
}

void MergeFilesDialog::removeName()
{
    m_list.removeSelected();
    showList();
    const int row = m_list.selected();
    m_name->setText(row < 0
                        ? QString()
                        : QString::fromStdString(m_list.paths()[static_cast<std::size_t>(row)]));
}

void MergeFilesDialog::moveUp()
{
    m_list.moveSelectedUp();
    showList();
}

void MergeFilesDialog::moveDown()
{
    m_list.moveSelectedDown();
    showList();
}

void MergeFilesDialog::browse()
{
    SubtitleFileDialog dialog(this, SubtitleFileDialog::Mode::Open, kSamiFilter, QString(),
                              &m_messenger);
    if (!m_folder.isEmpty())
        dialog.setDirectory(m_folder);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    m_name->setText(dialog.chosenFile());
    m_folder = QFileInfo(dialog.chosenFile()).absolutePath();
    focusName();
}

void MergeFilesDialog::accept()
{
    if (!m_merge(m_list.paths())) {
        focusName();
        return;
    }
    QDialog::accept();
}

}  // namespace verbanta::app
