#pragma once

#include <QIcon>

namespace verbanta::app {

/// The 16 x 16 images of the toolbar's commands, which the menus show beside the same commands.
class CommandIcons {
public:
    /// The image of a command, or a null icon for commands without one.
    static QIcon forCommand(int id);
    /// The program's own icon (window, About box, reload prompt).
    static QIcon programIcon();
};

}  // namespace verbanta::app
