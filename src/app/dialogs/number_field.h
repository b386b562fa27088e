#pragma once

#include <QLineEdit>

#include <cstdint>

#include "dialogs/number_field_rules.h"

namespace verbanta {
class Messenger;
}

namespace verbanta::app {

class SpinButtons;

/// A number field of the option pages: only digits (and "-" where the range allows it) can be
/// typed or pasted, other keys beep; a click that brings the focus selects the whole text.
/// An empty, malformed or out-of-range entry shows its message, and the field returns to its
/// fallback value, focused and selected.
class NumberField : public QLineEdit {
    Q_OBJECT
public:
    /// Dynamic property of a button that leaves a dialog without its values: moving the focus
    /// there does not judge the field that is left.
    static constexpr const char* kDiscardsProperty = "verbantaDiscards";

    NumberField(Messenger& messenger, NumberFieldRules rules, QWidget* parent = nullptr);

    const NumberFieldRules& rules() const { return m_rules; }
    /// The last value the field took: set, typed, stepped or fallen back to.
    std::int32_t value() const { return m_value; }
    /// Shows a value as loaded, without reporting it and without judging its range.
    void setValue(std::int32_t value);

    /// The spinner's steps: `step` per arrow press, multiplied by the held arrow's
    /// acceleration when `accelerate` is set.
    void setSpinStep(std::int32_t step, bool accelerate);
    /// One spinner or arrow-key press of `steps` (signed) steps, kept within the range.
    void stepBy(int steps);
    /// Connects spinner arrows to this field.
    void attachSpinButtons(SpinButtons& buttons);

    /// The check of a field being left, also run before its dialog accepts: false after the
    /// message was shown and the field set back.
    bool checkEntry();
    /// Whether `checkEntry` would pass, without showing anything.
    bool entryAcceptable() const;

signals:
    /// Every value the field takes from the user.
    void valueEdited(std::int32_t value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void textWasEdited(const QString& text);
    void apply(const NumberFieldRules::Verdict& verdict);
    void takeValue(std::int32_t value);
    void showValue(std::int32_t value);

    Messenger& m_messenger;
    NumberFieldRules m_rules;
    std::int32_t m_value;
    std::int32_t m_step = 1;
    bool m_accelerate = false;
    bool m_edited = false;
    bool m_recovering = false;
    bool m_selectAllOnRelease = false;
    bool m_focusedByClick = false;
};

/// A number field with its spinner arrows beside it.
class NumberSpinBox : public QWidget {
    Q_OBJECT
public:
    NumberSpinBox(Messenger& messenger, NumberFieldRules rules, std::int32_t step, bool accelerate,
                  QWidget* parent = nullptr);

    NumberField& field() const { return *m_field; }
    SpinButtons& buttons() const { return *m_buttons; }

private:
    NumberField* m_field;
    SpinButtons* m_buttons;
};

}  // namespace verbanta::app
