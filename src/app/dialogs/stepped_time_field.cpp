#include "dialogs/stepped_time_field.h"

#include <QFontMetrics>
#include <QHBoxLayout>

#include <algorithm>

#include "settings/app_settings.h"
#include "spin_buttons.h"
#include "time_field_widget.h"

namespace verbanta::app {

SteppedTimeField::SteppedTimeField(const AppSettings& settings, Messenger& messenger,
                                   std::int32_t minimum, std::int32_t maximum, QWidget* parent)
    : QWidget(parent),
      m_settings(settings),
      m_field(new TimeFieldWidget(messenger, this)),
      m_spin(new SpinButtons(this))
{
    m_field->setRange(minimum, maximum);
    m_field->setMode(settings.DisplayAsTime ? TimeFieldLogic::kTimeMode
                                            : TimeFieldLogic::kMillisecondsMode);
    m_field->setValue(std::clamp<std::int32_t>(0, minimum, maximum));
    // Wide enough for the longest time the range allows, in either form.
    const QFontMetrics metrics(m_field->font());
    m_field->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("-00:00:00.0000")) + 12);
    setFocusProxy(m_field);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_spin);
    m_spin->setFixedHeight(m_field->sizeHint().height());

    connect(m_spin, &SpinButtons::stepped, this, &SteppedTimeField::step);
    connect(m_field, &TimeFieldWidget::stepRequested, this, &SteppedTimeField::step);
}

std::int32_t SteppedTimeField::value() const
{
    return m_field->value();
}

void SteppedTimeField::setValue(std::int32_t value)
{
    m_field->setValue(std::clamp(value, m_field->minimum(), m_field->maximum()));
}

void SteppedTimeField::step(int steps)
{
    const std::int64_t next =
        std::int64_t{m_field->value()} + std::int64_t{steps} * m_settings.SyncIncrease;
    const std::int64_t held =
        std::clamp<std::int64_t>(next, m_field->minimum(), m_field->maximum());
    m_field->changeValue(static_cast<std::int32_t>(held));
}

bool SteppedTimeField::commit()
{
    return m_field->commitText();
}

}  // namespace verbanta::app
