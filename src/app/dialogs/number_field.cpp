#include "dialogs/number_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>

#include <algorithm>

#include "platform/messenger.h"
#include "spin_buttons.h"

namespace verbanta::app {
namespace {

/// Keeps pasted and dropped text to the characters that can be typed; whether the result is
/// a number is judged afterwards, with a message.
class CharacterValidator : public QValidator {
public:
    CharacterValidator(const NumberFieldRules& rules, QObject* parent)
        : QValidator(parent), m_rules(rules)
    {
    }
    State validate(QString& input, int&) const override
    {
        return m_rules.acceptsText(input.toStdString()) ? Acceptable : Invalid;
    }

private:
    const NumberFieldRules& m_rules;
};

}  // namespace

NumberField::NumberField(Messenger& messenger, NumberFieldRules rules, QWidget* parent)
    : QLineEdit(parent), m_messenger(messenger), m_rules(rules), m_value(rules.fallback())
{
    setValidator(new CharacterValidator(m_rules, this));
    // A Hangul composition would bypass the key rules.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    showValue(m_value);
    connect(this, &QLineEdit::textEdited, this, &NumberField::textWasEdited);
    // Room for the widest value of the range, not the edit's default of many characters.
    const int digits =
        static_cast<int>(std::max(NumberFieldRules::textOf(m_rules.minimum()).size(),
                                  NumberFieldRules::textOf(m_rules.maximum()).size()));
    setMaximumWidth(fontMetrics().horizontalAdvance(QString(digits + 2, QLatin1Char('0'))) + 16);
}

void NumberField::setValue(std::int32_t value)
{
    m_value = value;
    m_edited = false;
    showValue(value);
}

void NumberField::showValue(std::int32_t value)
{
    setText(QString::fromStdString(NumberFieldRules::textOf(value)));
}

void NumberField::setSpinStep(std::int32_t step, bool accelerate)
{
    m_step = std::max(1, step);
    m_accelerate = accelerate;
}

void NumberField::stepBy(int steps)
{
    if (steps == 0)
        return;
    const NumberFieldRules::Verdict current = m_rules.changed(text().toStdString());
    const std::int64_t from = current.value.value_or(m_value);
    const std::int64_t count = m_accelerate ? steps : (steps < 0 ? -1 : 1);
    const auto to = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(from + count * m_step, m_rules.minimum(), m_rules.maximum()));
    m_edited = false;
    showValue(to);
    takeValue(to);
}

void NumberField::attachSpinButtons(SpinButtons& buttons)
{
    connect(&buttons, &SpinButtons::stepped, this, &NumberField::stepBy);
}

bool NumberField::checkEntry()
{
    const NumberFieldRules::Verdict verdict = m_rules.left(text().toStdString(), m_edited);
    if (!verdict.message)
        return true;  // a complete value was taken when it was typed
    apply(verdict);
    return false;
}

bool NumberField::entryAcceptable() const
{
    return !m_rules.left(text().toStdString(), m_edited).message;
}

void NumberField::textWasEdited(const QString& text)
{
    m_edited = true;
    apply(m_rules.changed(text.toStdString()));
}

void NumberField::apply(const NumberFieldRules::Verdict& verdict)
{
    if (verdict.message) {
        m_recovering = true;
        m_messenger.showMessage(*verdict.message, MessageIcon::Error);
        m_recovering = false;
        m_edited = false;
        showValue(m_rules.fallback());
        takeValue(m_rules.fallback());
        setFocus(Qt::OtherFocusReason);
        selectAll();
        return;
    }
    if (verdict.value)
        takeValue(*verdict.value);
}

void NumberField::takeValue(std::int32_t value)
{
    m_value = value;
    emit valueEdited(value);
}

void NumberField::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && mods == Qt::NoModifier) {
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        for (const char32_t c : typed.toUcs4()) {
            if (!m_rules.acceptsCharacter(c)) {
                QApplication::beep();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NumberField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A menu, another window or the field's own message box does not leave the field for
    // good; the dialog's OK judges it in any case.
    if (m_recovering || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::ActiveWindowFocusReason)
        return;
    // A message box cannot open inside the focus change itself; it follows right after.
    QTimer::singleShot(0, this, [this] {
        const QWidget* now = QApplication::focusWidget();
        if (hasFocus() || !isVisible() || (now && now->property(kDiscardsProperty).toBool()))
            return;
        checkEntry();
    });
}

void NumberField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_focusedByClick = event->reason() == Qt::MouseFocusReason;
}

void NumberField::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    // The focus arrives just before the press that brought it.
    m_selectAllOnRelease = m_focusedByClick;
    m_focusedByClick = false;
    if (m_selectAllOnRelease)
        selectAll();
}

void NumberField::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    // The edit's own release handling would drop the selection made on the press.
    if (m_selectAllOnRelease) {
        m_selectAllOnRelease = false;
        selectAll();
    }
}

NumberSpinBox::NumberSpinBox(Messenger& messenger, NumberFieldRules rules, std::int32_t step,
                             bool accelerate, QWidget* parent)
    : QWidget(parent),
      m_field(new NumberField(messenger, rules, this)),
      m_buttons(new SpinButtons(this))
{
    m_field->setSpinStep(step, accelerate);
    m_field->attachSpinButtons(*m_buttons);
    // The arrows share the field's height instead of stacking two buttons' worth of it.
    m_buttons->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_field);
    layout->addWidget(m_buttons);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setFocusProxy(m_field);
}

}  // namespace verbanta::app
