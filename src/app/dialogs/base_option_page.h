#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "dialogs/number_field_rules.h"

class QCheckBox;
class QLabel;

namespace verbanta {
struct AppSettings;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

class NumberField;
class NumberSpinBox;

/// What the pages of the options sheet share: number fields and check boxes bound to an
/// option, filled from the options when the page is made and copied back by `store`. Each
/// control is named after its option, so that it can be found by that name.
class BaseOptionPage : public QWidget {
    Q_OBJECT
public:
    /// The title of the page's tab.
    virtual QString title() const = 0;
    /// Copies every field of the page into the options.
    virtual void store(AppSettings& settings) const;

    /// The number fields of the page, in tab order.
    std::vector<NumberField*> numberFields() const;
    NumberField* numberField(const char* option) const;
    QCheckBox* checkBox(const char* option) const;

protected:
    BaseOptionPage(const AppSettings& settings, Messenger& messenger, QWidget* parent);

    /// A number field with spinner arrows for an option; a refused entry falls back to the
    /// option's default unless another fallback is given.
    NumberSpinBox* addNumber(std::int32_t AppSettings::*option, const char* name,
                             std::int32_t minimum, std::int32_t maximum, std::int32_t step,
                             bool accelerate, std::optional<std::int32_t> fallback = {});
    QCheckBox* addCheck(bool AppSettings::*option, const char* name, const char* text);
    /// A label shown as the text it is, never as markup ("<br>" is part of some labels).
    QLabel* plainLabel(const char* text);

    const AppSettings& m_settings;
    Messenger& m_messenger;

private:
    std::vector<std::pair<NumberField*, std::int32_t AppSettings::*>> m_numbers;
    std::vector<std::pair<QCheckBox*, bool AppSettings::*>> m_checks;
};

}  // namespace verbanta::app
