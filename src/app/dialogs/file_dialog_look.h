#pragma once

namespace verbanta::app {

/// Gives every file dialog of the program, ours and Qt's static ones alike, columns that fit
/// their content, a sidebar wide enough for its entries, and sizes and dates written the
/// Korean way, whatever the system's locale. Installed once; later calls do nothing.
void installFileDialogLook();

}  // namespace verbanta::app
