#pragma once

#include <QObject>

#include <map>
#include <span>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace verbanta::app {

class CMainFrame;
struct Command;

/// Turns the command table into actions and runs commands: one QAction per command (text,
/// status prompt, tooltip, icon, check state), the menus, context menus and toolbar built from
/// the layout lists, and the one entry point through which menus, buttons and accelerator keys
/// run a command after checking its enabling rule.
class CommandDispatcher : public QObject {
    Q_OBJECT
public:
    explicit CommandDispatcher(CMainFrame& frame);

    /// The action of a command id; null for ids not in the table.
    QAction* action(int id) const;
    /// Whether the command may run now: it has a handler and its rule allows it.
    bool isEnabled(int id) const;
    /// Runs the command when it is enabled; false when it did not run.
    bool run(int id);
    /// Brings every action's enabled and checked state up to date.
    void updateStates();

    /// Fills the menu bar from the layout; returns the (empty) recent-file submenu.
    QMenu* buildMenuBar(QMenuBar& menuBar);
    /// A popup menu of the given ids; "취소(&C)" items just close it.
    QMenu* buildMenu(std::span<const int> ids, QWidget* parent);
    void buildToolBar(QToolBar& toolBar);

signals:
    /// A command was asked for (by a menu, a button or a key), before its rule is checked.
    void commandRequested(int id);
    /// A command ran (after its handler returned).
    void commandRun(int id);

protected:
    bool event(QEvent* event) override;

private:
    void fillMenu(QMenu& menu, std::span<const int> ids);
    void updateAction(const Command& command, QAction& action) const;

    CMainFrame& m_frame;
    std::map<int, QAction*> m_actions;
    QMenu* m_recentMenu = nullptr;
};

}  // namespace verbanta::app
