#include "commands/command_dispatcher.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "commands/command_icons.h"
#include "commands/command_table.h"
#include "commands/menu_layout.h"
#include "main_frame.h"

namespace verbanta::app {

CommandDispatcher::CommandDispatcher(CMainFrame& frame) : QObject(&frame), m_frame(frame)
{
    for (const Command& command : commandTable()) {
        auto* action = new QAction(command.text(), this);
        action->setStatusTip(command.statusTip());
        action->setToolTip(command.toolTip());
        action->setIcon(CommandIcons::forCommand(command.id));
        action->setCheckable(command.checked != nullptr);
        action->setProperty("commandId", command.id);
        // Keys go through the accelerator filter, never through the actions, so that the
        // menus can show a key text that differs from the binding.
        action->setShortcutContext(Qt::WidgetShortcut);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { run(id); });
        m_actions.emplace(command.id, action);
    }
    // Another program may put text on the clipboard: the paste button follows at once.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CommandDispatcher::updateStates);
}

bool CommandDispatcher::event(QEvent* event)
{
    // An action shows its prompt to its parent when no widget is named: pass it to the frame.
    if (event->type() == QEvent::StatusTip)
        return QCoreApplication::sendEvent(&m_frame, event);
    return QObject::event(event);
}

QAction* CommandDispatcher::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CommandDispatcher::isEnabled(int id) const
{
    const Command* command = findCommand(id);
    if (!command || !command->run)
        return false;
    return !command->enabled || command->enabled(m_frame);
}

bool CommandDispatcher::run(int id)
{
    emit commandRequested(id);
    if (!isEnabled(id))
        return false;
    findCommand(id)->run(m_frame);
    updateStates();
    emit commandRun(id);
    return true;
}

void CommandDispatcher::updateAction(const Command& command, QAction& action) const
{
    action.setEnabled(command.run && (!command.enabled || command.enabled(m_frame)));
    if (command.checked)
        action.setChecked(command.checked(m_frame));
}

void CommandDispatcher::updateStates()
{
    for (const Command& command : commandTable()) updateAction(command, *m_actions.at(command.id));
}

void CommandDispatcher::fillMenu(QMenu& menu, std::span<const int> ids)
{
    for (const int id : ids) {
        if (id == menu_layout::kSeparator) {
            menu.addSeparator();
        } else if (id == menu_layout::kRecentFiles) {
            m_recentMenu = menu.addMenu(QString::fromUtf8("최근 파일"));
        } else if (id == menu_layout::kCloseMenu) {
            menu.addAction(QString::fromUtf8("취소(&C)"));
        } else if (QAction* a = action(id)) {
            menu.addAction(a);
        }
    }
    // States are read when a menu opens, as the update handlers of a menu would.
    connect(&menu, &QMenu::aboutToShow, this, &CommandDispatcher::updateStates);
}

QMenu* CommandDispatcher::buildMenuBar(QMenuBar& menuBar)
{
    for (const menu_layout::Menu& layout : menu_layout::menuBar()) {
        QMenu* menu = menuBar.addMenu(QString::fromUtf8(layout.title));
        fillMenu(*menu, layout.items);
    }
    return m_recentMenu;
}

QMenu* CommandDispatcher::buildMenu(std::span<const int> ids, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    fillMenu(*menu, ids);
    return menu;
}

void CommandDispatcher::buildToolBar(QToolBar& toolBar)
{
    for (const int id : menu_layout::toolBar()) {
        if (id == menu_layout::kSeparator)
            toolBar.addSeparator();
        else if (QAction* a = action(id))
            toolBar.addAction(a);
    }
}

}  // namespace verbanta::app
