#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <array>
#include <span>

namespace verbanta::app {

class CMainFrame;

/// One command of the program: its id, the texts the user sees, its accelerator keys, when it
/// is enabled or checked, and what it does. Menus, the toolbar, context menus, buttons and the
/// accelerator table are all built from the one table of these.
struct Command {
    using Rule = bool (*)(CMainFrame&);
    using Handler = void (*)(CMainFrame&);

    int id;
    /// The menu item's text, UTF-8; what follows a tab is shown as the key. Empty for
    /// commands without a menu item.
    const char* menuText;
    /// Accelerator keys in QKeySequence's portable form; unused slots are null.
    std::array<const char*, 3> keys;
    /// "status-bar prompt\ntooltip", UTF-8.
    const char* prompt;
    /// Null: always enabled.
    Rule enabled;
    /// Null: not a check item.
    Rule checked;
    /// Null: nothing handles the command yet, so it is disabled everywhere.
    Handler run;

    QString text() const { return QString::fromUtf8(menuText); }
    /// The first line of the prompt, shown in the status bar.
    QString statusTip() const;
    /// The second line of the prompt, or the menu text without its mnemonic and key.
    QString toolTip() const;
    QList<QKeySequence> shortcuts() const;
};

/// Every command, each once.
std::span<const Command> commandTable();
/// The command of an id, or null.
const Command* findCommand(int id);

}  // namespace verbanta::app
