#include "dialogs/shift_syncs_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/stepped_time_field.h"
#include "time_field_widget.h"

namespace verbanta::app {

ShiftSyncsDialog::ShiftSyncsDialog(const AppSettings& settings, Messenger& messenger,
                                   std::int32_t lastOffset, QWidget* parent)
    : QDialog(parent),
      m_offset(new SteppedTimeField(settings, messenger, -kLimitMs, kLimitMs, this)),
      m_endSyncsOnly(new QCheckBox(QStringLiteral("종료 싱크 값 만을 이동"), this))
{
    setWindowTitle(QStringLiteral("싱크 일괄 조정"));
    m_offset->setValue(lastOffset);

    auto* group = new QGroupBox(QStringLiteral("싱크 이동 값"), this);
    auto* label = new QLabel(QStringLiteral("싱크 이동치:"), group);
    label->setBuddy(&m_offset->field());
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_offset, 1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(row);
    groupLayout->addWidget(m_endSyncsOnly);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &ShiftSyncsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ShiftSyncsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_offset->field().setFocus();
    m_offset->field().selectAll();
}

std::int32_t ShiftSyncsDialog::offset() const
{
    return m_offset->value();
}

bool ShiftSyncsDialog::endSyncsOnly() const
{
    return m_endSyncsOnly->isChecked();
}

void ShiftSyncsDialog::accept()
{
    if (m_offset->commit())
        QDialog::accept();
}

}  // namespace verbanta::app
