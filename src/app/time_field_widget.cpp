#include "time_field_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTimer>

#include "korean_fonts.h"
#include "platform/messenger.h"

namespace verbanta::app {

TimeFieldWidget::TimeFieldWidget(Messenger& messenger, QWidget* parent)
    : QLineEdit(parent), m_messenger(messenger)
{
    setFont(KoreanFonts::fieldFont());
    setContextMenuPolicy(Qt::NoContextMenu);
    // Only digits and signs are typed here; a Hangul composition would bypass the key rules.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    showText();
}

bool TimeFieldWidget::setRange(std::int32_t minimum, std::int32_t maximum)
{
    return m_logic.setRange(minimum, maximum);
}

bool TimeFieldWidget::setMode(int mode)
{
    if (!m_logic.setMode(mode))
        return false;
    showText();
    return true;
}

bool TimeFieldWidget::setValue(std::int32_t value)
{
    if (!m_logic.setValue(value))
        return false;
    showText();
    return true;
}

bool TimeFieldWidget::changeValue(std::int32_t value)
{
    if (!setValue(value))
        return false;
    emit valueAccepted(value);
    return true;
}

void TimeFieldWidget::showText()
{
    setText(QString::fromStdString(m_logic.text()));
    setCursorPosition(m_logic.restingCaret(0));
}

void TimeFieldWidget::show(const TimeFieldLogic::KeyResult& result)
{
    setText(QString::fromStdString(result.text));
    setCursorPosition(result.caret);
    if (!result.accepted)
        QApplication::beep();
    if (result.valueTaken)
        emit valueAccepted(m_logic.value());
    if (result.message) {
        m_recovering = true;
        m_messenger.showMessage(*result.message, MessageIcon::Error);
        m_recovering = false;
    }
    if (result.recovered) {
        setFocus(Qt::OtherFocusReason);
        selectAll();
    }
}

void TimeFieldWidget::replaceSelection(const QString& with)
{
    // The text the edit would have, offered to the rules as a whole.
    QString text = this->text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    text.replace(start, length, with);
    show(m_logic.applyText(text.toStdString()));
}

bool TimeFieldWidget::commitText()
{
    const TimeFieldLogic::KeyResult result = m_logic.onFocusLost();
    if (!result.message && !result.recovered)
        return true;
    show(result);
    return false;
}

void TimeFieldWidget::pasteText()
{
    if (m_logic.mode() == TimeFieldLogic::kTimeMode) {
        // Time mode has a fixed layout: a pasted time replaces the whole text.
        show(m_logic.applyText(QApplication::clipboard()->text().trimmed().toStdString()));
        return;
    }
    replaceSelection(QApplication::clipboard()->text().trimmed());
}

void TimeFieldWidget::cutText()
{
    if (!hasSelectedText())
        return;
    QApplication::clipboard()->setText(selectedText());
    if (m_logic.mode() == TimeFieldLogic::kTimeMode) {
        QApplication::beep();  // nothing can be taken out of a fixed layout
        return;
    }
    replaceSelection(QString());
}

void TimeFieldWidget::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::AltModifier) {
        emit registerRequested();
        return;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && mods == Qt::NoModifier) {
        emit stepRequested(key == Qt::Key_Up ? 1 : -1);
        return;
    }
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selection = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    if (key == Qt::Key_Backspace && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        show(m_logic.handleKey(TimeFieldLogic::kBackspace, caret, selection));
        return;
    }
    if (key == Qt::Key_Delete && mods == Qt::NoModifier) {
        if (m_logic.mode() == TimeFieldLogic::kTimeMode) {
            QApplication::beep();
        } else {
            if (!hasSelectedText())
                setSelection(cursorPosition(), 1);
            replaceSelection(QString());
        }
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        for (const char32_t c : typed.toUcs4()) {
            const int at = hasSelectedText() ? selectionStart() : cursorPosition();
            const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
            show(m_logic.handleKey(c, at, length));
        }
        return;
    }
    // Cursor movement, Tab and the rest: the edit's own handling; in time mode the caret may
    // not rest after the last character.
    QLineEdit::keyPressEvent(event);
    if (m_logic.mode() == TimeFieldLogic::kTimeMode && !hasSelectedText())
        setCursorPosition(m_logic.restingCaret(cursorPosition()));
}

void TimeFieldWidget::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Opening a menu does not leave the field.
    if (m_recovering || event->reason() == Qt::PopupFocusReason)
        return;
    // A message box cannot open inside the focus change itself; it follows right after.
    QTimer::singleShot(0, this, [this] {
        const TimeFieldLogic::KeyResult result = m_logic.onFocusLost();
        if (result.message || result.recovered)
            show(result);
    });
}

void TimeFieldWidget::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    // The focus arrives just before the press that brought it.
    m_selectAllOnRelease = m_focusedByClick && m_logic.selectsAllOnClick();
    m_focusedByClick = false;
    if (m_selectAllOnRelease)
        selectAll();
}

void TimeFieldWidget::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_focusedByClick = event->reason() == Qt::MouseFocusReason;
}

void TimeFieldWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    // The edit's own release handling would drop the selection made on the press.
    if (m_selectAllOnRelease) {
        m_selectAllOnRelease = false;
        selectAll();
        return;
    }
    if (m_logic.mode() == TimeFieldLogic::kTimeMode && !hasSelectedText())
        setCursorPosition(m_logic.restingCaret(cursorPosition()));
}

}  // namespace verbanta::app
