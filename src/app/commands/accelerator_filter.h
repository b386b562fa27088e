#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QObject>

class QKeyEvent;
class QWidget;

namespace verbanta::app {

class CommandDispatcher;

/// The accelerator table: the keys of the command table, checked before any widget of the main
/// window sees a key, as a window's accelerators are. A bound key therefore reaches its command
/// even while a text field has the focus, and wins over a menu title's mnemonic (Alt+L).
class AcceleratorFilter : public QObject {
    Q_OBJECT
public:
    /// Watches the keys of `window` (installed on the application).
    AcceleratorFilter(CommandDispatcher& dispatcher, QWidget& window);

    /// The command bound to a key, or 0.
    int commandFor(QKeyCombination key) const;
    /// The key of an event as the table writes it (keypad and group modifiers dropped).
    static QKeyCombination combinationOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ownsKeysOf(QObject* watched) const;

    CommandDispatcher& m_dispatcher;
    QWidget& m_window;
    QHash<QKeyCombination, int> m_bindings;
};

}  // namespace verbanta::app
