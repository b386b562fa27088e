#include "dialogs/caption_check_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "caption_check_marks.h"
#include "caption_codec.h"
#include "checks/check_fixes.h"
#include "editor/caption_editor.h"
#include "model/text_format.h"

namespace verbanta::app {
namespace {

enum Column { LanguageColumn, RowColumn, TimeColumn, RuleColumn, ValueColumn, ColumnCount };

}  // namespace

CaptionCheckDialog::CaptionCheckDialog(CaptionEditor& editor, const CaptionRules& rules,
                                       bool displayAsTime, QWidget* parent)
    : QDialog(parent),
      m_editor(editor),
      m_rules(rules),
      m_displayAsTime(displayAsTime),
      m_current(new QRadioButton(QStringLiteral("현재 언어(&C)"), this)),
      m_all(new QRadioButton(QStringLiteral("모든 언어(&A)"), this)),
      m_count(new QLabel(this)),
      m_list(new QTreeWidget(this)),
      m_fix(new QPushButton(QStringLiteral("고치기"), this))
{
    setWindowTitle(QStringLiteral("자막 검사"));
    m_current->setChecked(true);
    // One language has nothing more to show.
    m_all->setEnabled(editor.session().model().GetLanguageCount() > 1);

    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({QStringLiteral("언어"), QStringLiteral("줄"),
                             QStringLiteral("싱크시간"), QStringLiteral("검사 항목"),
                             QStringLiteral("값")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(LanguageColumn, 70);
    m_list->setColumnWidth(RowColumn, 50);
    m_list->setColumnWidth(TimeColumn, 90);
    m_list->setColumnWidth(RuleColumn, 170);
    m_list->setMinimumSize(520, 300);

    auto* scope = new QHBoxLayout;
    scope->addWidget(m_current);
    scope->addWidget(m_all);
    scope->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(QStringLiteral("이동"), QDialogButtonBox::ActionRole);
    go->setDefault(true);
    buttons->addButton(m_fix, QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("닫기"), QDialogButtonBox::RejectRole);
    m_fix->setToolTip(QStringLiteral(
        "너무 짧은 자막 늘리기, 다음 자막과 간격 두기, 빠진 종료 싱크 넣기를 한 번에 합니다"));
    connect(go, &QPushButton::clicked, this, &CaptionCheckDialog::goToChosen);
    connect(m_fix, &QPushButton::clicked, this, &CaptionCheckDialog::fixAll);
    connect(buttons, &QDialogButtonBox::rejected, this, &CaptionCheckDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CaptionCheckDialog::goToChosen);
    connect(m_all, &QRadioButton::toggled, this, &CaptionCheckDialog::refresh);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scope);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    refresh();
    resize(600, 420);
    m_list->setFocus();
}

QString CaptionCheckDialog::languageLabel(int slot) const
{
    const SamiModel& model = m_editor.session().model();
    const std::vector<std::string> tabs = m_editor.languages().languageTabs();
    for (int i = 0; i < static_cast<int>(tabs.size()) && i < SamiModel::kSlotCount; ++i)
        if (model.slotOrder[static_cast<std::size_t>(i)] == slot)
            return CaptionCodec::toDisplay(tabs[static_cast<std::size_t>(i)]);
    return {};
}

void CaptionCheckDialog::refresh()
{
    const bool all = m_all->isChecked();
    m_findings = m_editor.checks().checkFindings(m_rules, all);
    m_list->setColumnHidden(LanguageColumn, !all);
    m_list->clear();
    int fixable = 0;
    const SamiModel& model = m_editor.session().model();
    for (const CheckFinding& f : m_findings) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(LanguageColumn, languageLabel(f.slot));
        item->setText(RowColumn, QString::number(f.row + 1));
        item->setText(TimeColumn, QString::fromStdString(FormatTime(f.startMs, m_displayAsTime)));
        item->setText(RuleColumn, CaptionCheckMarks::ruleName(f.rule));
        item->setText(ValueColumn, CaptionCheckMarks::valueText(f));
        item->setTextAlignment(RowColumn, Qt::AlignRight | Qt::AlignVCenter);
        fixable += hasClearFix(model.slotList(f.slot), f, m_rules) ? 1 : 0;
    }
    m_count->setText(m_findings.empty()
                         ? QStringLiteral("규칙에 어긋나는 자막이 없습니다.")
                         : QStringLiteral("찾은 문제: %1개 (그중 바로 고칠 수 있는 것: %2개)")
                               .arg(static_cast<int>(m_findings.size()))
                               .arg(fixable));
    m_fix->setEnabled(fixable > 0);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void CaptionCheckDialog::goToChosen()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = m_list->indexOfTopLevelItem(selected.front());
    if (index >= 0 && index < static_cast<int>(m_findings.size()))
        m_editor.checks().goToFinding(m_findings[static_cast<std::size_t>(index)]);
}

void CaptionCheckDialog::fixAll()
{
    const int fixed = m_editor.checks().fixFindings(m_findings, m_rules);
    refresh();
    m_count->setText(QStringLiteral("%1개의 싱크를 고쳤습니다. ").arg(fixed) + m_count->text());
}

}  // namespace verbanta::app
