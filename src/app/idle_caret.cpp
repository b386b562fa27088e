#include "idle_caret.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

namespace verbanta::app {
namespace {

constexpr int kBlinkForMs = 10000;

class IdleCaret : public QObject {
public:
    explicit IdleCaret(QObject* parent)
        : QObject(parent), m_flashTime(QApplication::cursorFlashTime())
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(kBlinkForMs);
        connect(&m_timer, &QTimer::timeout, this, [this] { setBlinking(false); });
        m_timer.start();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (m_refocusing)
            return false;
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::MouseButtonPress:
            case QEvent::InputMethod:
            case QEvent::FocusIn:
                setBlinking(true);
                m_timer.start();
                break;
            default:
                break;
        }
        return false;
    }

private:
    void setBlinking(bool on)
    {
        if (on == m_blinking || m_flashTime <= 0)
            return;
        m_blinking = on;
        QApplication::setCursorFlashTime(on ? m_flashTime : 0);
        // A text area reads the flash time when it takes the focus: the focused one is told
        // again, so that its caret stops (or starts) now rather than at the next focus change.
        // As for a popup's passing focus, which leaves a composition and the text as they are.
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->inherits("QPlainTextEdit")) {
            QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
            QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
            m_refocusing = true;
            QApplication::sendEvent(focus, &out);
            QApplication::sendEvent(focus, &in);
            m_refocusing = false;
        }
    }

    const int m_flashTime;
    bool m_blinking = true;
    bool m_refocusing = false;
    QTimer m_timer;
};

}  // namespace

void installIdleCaret()
{
    static IdleCaret* caret = [] {
        auto* filter = new IdleCaret(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    Q_UNUSED(caret);
}

}  // namespace verbanta::app
