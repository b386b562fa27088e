#pragma once

#include <span>

namespace verbanta::app {

/// Where the commands of the table appear: the menu bar, the context menus and the toolbar,
/// each a list of command ids.
namespace menu_layout {

/// A separator between items.
inline constexpr int kSeparator = 0;
/// The place of the recent-file list ("최근 파일") in the file menu.
inline constexpr int kRecentFiles = -1;
/// "취소(&C)": closes a context menu without doing anything.
inline constexpr int kCloseMenu = -2;

/// One menu of the menu bar.
struct Menu {
    const char* title;  ///< UTF-8, with its mnemonic
    std::span<const int> items;
};

std::span<const Menu> menuBar();
/// The "SYNC" menu of the caption list.
std::span<const int> syncMenu();
/// The "PASTE" menu, offered when pasting with the last row current.
std::span<const int> pasteMenu();
/// The toolbar's buttons.
std::span<const int> toolBar();

}  // namespace menu_layout
}  // namespace verbanta::app
