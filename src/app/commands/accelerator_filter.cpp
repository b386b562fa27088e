#include "commands/accelerator_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "commands/command_dispatcher.h"
#include "commands/command_table.h"

namespace verbanta::app {

AcceleratorFilter::AcceleratorFilter(CommandDispatcher& dispatcher, QWidget& window)
    : QObject(&window), m_dispatcher(dispatcher), m_window(window)
{
    for (const Command& command : commandTable())
        for (const QKeySequence& sequence : command.shortcuts())
            if (!sequence.isEmpty())
                m_bindings.insert(sequence[0], command.id);
    qApp->installEventFilter(this);
}

int AcceleratorFilter::commandFor(QKeyCombination key) const
{
    return m_bindings.value(key, 0);
}

QKeyCombination AcceleratorFilter::combinationOf(const QKeyEvent& event)
{
    Qt::KeyboardModifiers modifiers = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
    const int key = event.key();
    // The sync navigation is bound to the characters ",", "." and "/", not to keys: on
    // layouts that need Shift for one of them, the character still counts.
    if (key == Qt::Key_Comma || key == Qt::Key_Period || key == Qt::Key_Slash)
        modifiers &= ~Qt::ShiftModifier;
    return QKeyCombination(modifiers, static_cast<Qt::Key>(key));
}

bool AcceleratorFilter::ownsKeysOf(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    // An open menu or a modal dialog keeps its keys.
    return !QApplication::activePopupWidget() &&
           (!QApplication::activeModalWidget() || QApplication::activeModalWidget() == &m_window);
}

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    if (!ownsKeysOf(watched))
        return false;
    const int id = commandFor(combinationOf(*static_cast<QKeyEvent*>(event)));
    if (id == 0)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key, so neither a mnemonic nor the widget's own binding takes it; the key
        // press that follows runs the command.
        event->accept();
        return true;
    }
    m_dispatcher.run(id);
    return true;
}

}  // namespace verbanta::app
