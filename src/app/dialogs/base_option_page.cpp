#include "dialogs/base_option_page.h"

#include <QCheckBox>
#include <QLabel>

#include "dialogs/number_field.h"
#include "settings/app_settings.h"

namespace verbanta::app {

BaseOptionPage::BaseOptionPage(const AppSettings& settings, Messenger& messenger, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_messenger(messenger)
{
}

NumberSpinBox* BaseOptionPage::addNumber(std::int32_t AppSettings::*option, const char* name,
                                         std::int32_t minimum, std::int32_t maximum,
                                         std::int32_t step, bool accelerate,
                                         std::optional<std::int32_t> fallback)
{
    static const AppSettings defaults;
    auto* box = new NumberSpinBox(
        m_messenger, NumberFieldRules(minimum, maximum, fallback.value_or(defaults.*option)), step,
        accelerate, this);
    box->field().setObjectName(QString::fromLatin1(name));
    // A stored value is shown as it is, in range or not, until the user edits it.
    box->field().setValue(m_settings.*option);
    m_numbers.emplace_back(&box->field(), option);
    return box;
}

QCheckBox* BaseOptionPage::addCheck(bool AppSettings::*option, const char* name, const char* text)
{
    auto* check = new QCheckBox(QString::fromUtf8(text), this);
    check->setObjectName(QString::fromLatin1(name));
    check->setChecked(m_settings.*option);
    m_checks.emplace_back(check, option);
    return check;
}

QLabel* BaseOptionPage::plainLabel(const char* text)
{
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void BaseOptionPage::store(AppSettings& settings) const
{
    for (const auto& [field, option] : m_numbers) settings.*option = field->value();
    for (const auto& [check, option] : m_checks) settings.*option = check->isChecked();
}

std::vector<NumberField*> BaseOptionPage::numberFields() const
{
    std::vector<NumberField*> fields;
    for (const auto& entry : m_numbers) fields.push_back(entry.first);
    return fields;
}

NumberField* BaseOptionPage::numberField(const char* option) const
{
    return findChild<NumberField*>(QString::fromLatin1(option));
}

QCheckBox* BaseOptionPage::checkBox(const char* option) const
{
    return findChild<QCheckBox*>(QString::fromLatin1(option));
}

}  // namespace verbanta::app
