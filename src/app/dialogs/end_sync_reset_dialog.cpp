#include "dialogs/end_sync_reset_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/stepped_time_field.h"
#include "time_field_widget.h"

namespace verbanta::app {

EndSyncResetDialog::EndSyncResetDialog(const AppSettings& settings, Messenger& messenger,
                                       QWidget* parent)
    : QDialog(parent),
      m_durationMode(new QRadioButton(QStringLiteral("일정시간 지속"), this)),
      m_durationLabel(new QLabel(QStringLiteral("시작 싱크와 종료 싱크간의 간격:"), this)),
      m_duration(new SteppedTimeField(settings, messenger, 0, kMaximumMs, this)),
      m_onlyIfShorter(new QCheckBox(QStringLiteral("입력 값보다 작은 경우에만 조정"), this)),
      m_onlyIfLonger(new QCheckBox(QStringLiteral("입력 값보다 큰 경우에만 조정"), this)),
      m_lengthMode(new QRadioButton(QStringLiteral("자동 시간 설정"), this)),
      m_perCharacterLabel(new QLabel(QStringLiteral("자막 한 글자의 지속 시간:"), this)),
      m_perCharacter(new SteppedTimeField(settings, messenger, 0, kMaximumMs, this)),
      m_rangeOnly(new QCheckBox(QStringLiteral("시작 체크와 종료 체크 사이의 싱크에만 적용"), this))
{
    setWindowTitle(QStringLiteral("종료 싱크 일괄 재설정"));
    m_durationLabel->setBuddy(&m_duration->field());
    m_perCharacterLabel->setBuddy(&m_perCharacter->field());
    m_durationMode->setChecked(true);
    m_duration->setValue(0);
    m_perCharacter->setValue(EndSyncReset{}.msPerCharacter);

    // Each mode's controls sit indented under its option.
    constexpr int kIndent = 20;
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, kIndent);
    grid->setColumnStretch(2, 1);
    grid->addWidget(m_durationMode, 0, 0, 1, 3);
    grid->addWidget(m_durationLabel, 1, 1);
    grid->addWidget(m_duration, 1, 2);
    grid->addWidget(m_onlyIfShorter, 2, 1, 1, 2);
    grid->addWidget(m_onlyIfLonger, 3, 1, 1, 2);
    grid->setRowMinimumHeight(4, 8);
    grid->addWidget(m_lengthMode, 5, 0, 1, 3);
    grid->addWidget(m_perCharacterLabel, 6, 1);
    grid->addWidget(m_perCharacter, 6, 2);
    grid->setRowMinimumHeight(7, 8);
    grid->addWidget(m_rangeOnly, 8, 0, 1, 3);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &EndSyncResetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EndSyncResetDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_durationMode, &QRadioButton::toggled, this, &EndSyncResetDialog::modeChosen);
    // The two limits exclude each other: checking one clears the other.
    connect(m_onlyIfShorter, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_onlyIfLonger->setChecked(false);
    });
    connect(m_onlyIfLonger, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_onlyIfShorter->setChecked(false);
    });
    modeChosen();
}

void EndSyncResetDialog::modeChosen()
{
    const bool byDuration = m_durationMode->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(m_durationLabel), static_cast<QWidget*>(m_duration),
          static_cast<QWidget*>(m_onlyIfShorter), static_cast<QWidget*>(m_onlyIfLonger)})
        w->setEnabled(byDuration);
    m_perCharacterLabel->setEnabled(!byDuration);
    m_perCharacter->setEnabled(!byDuration);
    TimeFieldWidget& field = byDuration ? m_duration->field() : m_perCharacter->field();
    field.setFocus();
    field.selectAll();
}

EndSyncReset EndSyncResetDialog::options() const
{
    EndSyncReset o;
    o.byLength = m_lengthMode->isChecked();
    o.durationMs = m_duration->value();
    o.onlyIfShorter = m_onlyIfShorter->isChecked();
    o.onlyIfLonger = m_onlyIfLonger->isChecked();
    o.msPerCharacter = m_perCharacter->value();
    o.rangeOnly = m_rangeOnly->isChecked();
    return o;
}

void EndSyncResetDialog::accept()
{
    // Only the chosen mode's field is used; the other one, disabled, cannot be left empty.
    SteppedTimeField& used = m_lengthMode->isChecked() ? *m_perCharacter : *m_duration;
    if (used.commit())
        QDialog::accept();
}

}  // namespace verbanta::app
