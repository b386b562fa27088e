#include "caption_text_edit.h"

#include <QKeyEvent>
#include <QTextCursor>

#include "caption_codec.h"
#include "korean_fonts.h"
#include "main_frame.h"
#include "settings/app_settings.h"

namespace verbanta::app {

CaptionTextEdit::CaptionTextEdit(const AppSettings& settings, QWidget* parent)
    : QPlainTextEdit(parent), m_settings(settings)
{
    setFont(KoreanFonts::fieldFont());
    setTabChangesFocus(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

std::string CaptionTextEdit::modelText() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return CaptionCodec::toModel(text);
}

void CaptionTextEdit::setModelText(const std::string& cp949)
{
    QString text = CaptionCodec::toDisplay(cp949);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(text);
}

int CaptionTextEdit::modelOffsetOf(int position) const
{
    QString prefix = toPlainText().left(position);
    prefix.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return static_cast<int>(CaptionCodec::toModel(prefix).size());
}

int CaptionTextEdit::positionOfModelOffset(int offset) const
{
    // Walk the characters, adding each one's size in the model's form.
    const QString text = toPlainText();
    int position = 0;
    int bytes = 0;
    while (position < text.size()) {
        const int length = text.at(position).isHighSurrogate() ? 2 : 1;
        const QString one = text.mid(position, length);
        const int size = one == QStringLiteral("\n")
                             ? 2
                             : static_cast<int>(CaptionCodec::toModel(one).size());
        if (bytes + size > offset)
            break;
        bytes += size;
        position += length;
    }
    return position;
}

std::pair<int, int> CaptionTextEdit::modelSelection() const
{
    const QTextCursor cursor = textCursor();
    return {modelOffsetOf(cursor.selectionStart()), modelOffsetOf(cursor.selectionEnd())};
}

void CaptionTextEdit::setModelSelection(int start, int end)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionOfModelOffset(start));
    cursor.setPosition(positionOfModelOffset(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool CaptionTextEdit::isOwnAltKey(int key)
{
    switch (key) {
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_R: case Qt::Key_B:
        case Qt::Key_E: case Qt::Key_F: case Qt::Key_T: case Qt::Key_A: case Qt::Key_Z:
        case Qt::Key_S: case Qt::Key_X:
            return true;
        default:
            return false;
    }
}

bool CaptionTextEdit::inFullScreen() const
{
    const auto* frame = qobject_cast<const CMainFrame*>(window());
    return frame && frame->isFullScreenMode();
}

bool CaptionTextEdit::event(QEvent* event)
{
    // The field's own Alt keys win over the menu titles' mnemonics (Alt+E, Alt+F, Alt+T).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier &&
            isOwnAltKey(key->key())) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void CaptionTextEdit::insert(const QString& text)
{
    insertPlainText(text);
    ensureCursorVisible();
}

void CaptionTextEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (mods == Qt::AltModifier) {
        switch (key) {
            case Qt::Key_Return:
            case Qt::Key_Enter: emit registerRequested(); return;
            case Qt::Key_R: clear(); return;
            case Qt::Key_B: insert(QStringLiteral("<br>")); return;
            case Qt::Key_E: setPlainText(QStringLiteral("&nbsp;")); moveCursor(QTextCursor::End); return;
            case Qt::Key_F: insert(QStringLiteral("<font ")); return;
            case Qt::Key_T: insert(QStringLiteral("</font>")); return;
            case Qt::Key_A: emit startStepRequested(1); return;
            case Qt::Key_Z: emit startStepRequested(-1); return;
            case Qt::Key_S: emit endStepRequested(1); return;
            case Qt::Key_X: emit endStepRequested(-1); return;
            default: break;
        }
    }
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
        switch (key) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                insert(m_settings.InsertBR ? QStringLiteral("<br>\n") : QStringLiteral("\n"));
                return;
            case Qt::Key_Tab: {
                QTextCursor cursor = textCursor();
                cursor.clearSelection();
                setTextCursor(cursor);
                insert(QStringLiteral("\t"));
                return;
            }
            case Qt::Key_Escape:
                if (inFullScreen())
                    emit leaveFullScreenRequested();
                else
                    emit cancelRequested();
                return;
            default: break;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CaptionTextEdit::mousePressEvent(QMouseEvent* event)
{
    QPlainTextEdit::mousePressEvent(event);
    // Clicking into the field from elsewhere selects all of it (the focus arrives just
    // before the press that brought it).
    m_selectedByClick = m_focusedByClick;
    if (m_focusedByClick)
        selectAll();
    m_focusedByClick = false;
}

void CaptionTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const bool keep = textCursor().hasSelection() && m_selectedByClick;
    QPlainTextEdit::mouseReleaseEvent(event);
    if (keep)
        selectAll();
    m_selectedByClick = false;
}

void CaptionTextEdit::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    m_focusedByClick = event->reason() == Qt::MouseFocusReason;
}

}  // namespace verbanta::app
