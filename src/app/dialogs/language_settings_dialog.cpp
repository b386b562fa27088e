#include "dialogs/language_settings_dialog.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "caption_codec.h"
#include "dialogs/language_info_dialog.h"
#include "model/language_operations.h"
#include "model/sami_model.h"

namespace verbanta::app {

LanguageSettingsDialog::LanguageSettingsDialog(SamiModel& model, Messenger& messenger,
                                               QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_messenger(messenger),
      m_list(new QTreeWidget(this)),
      m_details(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("다국어 자막 설정"));
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QStringLiteral("언어명")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setSectionsClickable(false);
    m_list->setMinimumSize(180, 200);

    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_details->setMinimumWidth(
        m_details->fontMetrics().horizontalAdvance(QStringLiteral("언  어  명: 네델란드어  ")) +
        24);
    // Exactly the four lines of a description, without a scroll bar.
    m_details->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_details->setFixedHeight(m_details->fontMetrics().lineSpacing() * 4 +
                              2 * m_details->frameWidth() +
                              2 * static_cast<int>(m_details->document()->documentMargin()) + 4);
    auto* detailsLabel = new QLabel(QStringLiteral("다국어 정보 내용:"), this);
    detailsLabel->setBuddy(m_details);

    auto* add = new QPushButton(QStringLiteral("추가(&A)"), this);
    auto* modify = new QPushButton(QStringLiteral("수정(&E)"), this);
    auto* remove = new QPushButton(QStringLiteral("삭제(&D)"), this);
    auto* up = new QPushButton(QStringLiteral("↑"), this);
    auto* down = new QPushButton(QStringLiteral("↓"), this);
    auto* close = new QPushButton(QStringLiteral("닫기(&C)"), this);
    for (QPushButton* b : {add, modify, remove, up, down, close}) b->setAutoDefault(false);
    close->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(modify);
    side->addWidget(remove);
    side->addSpacing(8);
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(up);
    arrows->addWidget(down);
    side->addLayout(arrows);
    side->addStretch(1);
    side->addWidget(close);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_list, 0, 0);
    grid->addLayout(side, 0, 1);
    grid->addWidget(detailsLabel, 1, 0, 1, 2);
    grid->addWidget(m_details, 2, 0, 1, 2);
    grid->setRowStretch(0, 1);

    connect(add, &QPushButton::clicked, this, &LanguageSettingsDialog::addLanguage);
    connect(modify, &QPushButton::clicked, this, &LanguageSettingsDialog::modifyLanguage);
    connect(remove, &QPushButton::clicked, this, &LanguageSettingsDialog::deleteLanguage);
    connect(up, &QPushButton::clicked, this, &LanguageSettingsDialog::moveUp);
    connect(down, &QPushButton::clicked, this, &LanguageSettingsDialog::moveDown);
    connect(close, &QPushButton::clicked, this, &LanguageSettingsDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &LanguageSettingsDialog::showDetails);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &LanguageSettingsDialog::modifyLanguage);
    refill(0);
    m_list->setFocus();
}

QStringList LanguageSettingsDialog::names() const
{
    QStringList out;
    for (const LanguageInfo& language : m_model.languages)
        out << CaptionCodec::toDisplay(language.name());
    return out;
}

void LanguageSettingsDialog::refill(int select)
{
    m_list->clear();
    for (const QString& name : names()) new QTreeWidgetItem(m_list, {name});
    if (QTreeWidgetItem* item = m_list->topLevelItem(select))
        m_list->setCurrentItem(item);
    showDetails();
}

int LanguageSettingsDialog::selectedIndex() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
}

void LanguageSettingsDialog::showDetails()
{
    const int s = selectedIndex();
    if (s < 0 || s >= m_model.GetLanguageCount()) {
        m_details->clear();
        return;
    }
    const LanguageFields f = fieldsOf(m_model.languages[static_cast<std::size_t>(s)]);
    m_details->setPlainText(
        QStringLiteral("클래스 명: %1\n언  어  명: %2\n언어 코드: %3\n사미 타입: %4")
            .arg(CaptionCodec::toDisplay(f.className), CaptionCodec::toDisplay(f.name),
                 CaptionCodec::toDisplay(f.code), CaptionCodec::toDisplay(f.samiType)));
}

void LanguageSettingsDialog::changedNow()
{
    m_changed = true;
    emit languagesChanged();
}

void LanguageSettingsDialog::addLanguage()
{
    if (!canAddLanguage(m_model))
        return;
    LanguageInfoDialog dialog(LanguageInfoDialog::Mode::Add, names(),
                              fieldsOf(kLanguagePresets.front()), m_messenger, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!verbanta::addLanguage(m_model, dialog.fields(), dialog.baseIndex()))
        return;
    refill(m_model.GetLanguageCount() - 1);
    changedNow();
}

void LanguageSettingsDialog::modifyLanguage()
{
    const int s = selectedIndex();
    if (s < 0 || s >= m_model.GetLanguageCount())
        return;
    LanguageInfoDialog dialog(LanguageInfoDialog::Mode::Modify, names(),
                              fieldsOf(m_model.languages[static_cast<std::size_t>(s)]), m_messenger,
                              this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!verbanta::modifyLanguage(m_model, s, dialog.fields()))
        return;
    refill(s);
    changedNow();
}

void LanguageSettingsDialog::deleteLanguage()
{
    const int s = selectedIndex();
    if (!verbanta::deleteLanguage(m_model, s))
        return;
    refill(std::min(s, m_model.GetLanguageCount() - 1));
    changedNow();
}

void LanguageSettingsDialog::moveUp()
{
    const int s = selectedIndex();
    if (!verbanta::moveLanguageUp(m_model, s))
        return;
    refill(s - 1);
    changedNow();
}

void LanguageSettingsDialog::moveDown()
{
    const int s = selectedIndex();
    if (!verbanta::moveLanguageDown(m_model, s))
        return;
    refill(s + 1);
    changedNow();
}

}  // namespace verbanta::app
