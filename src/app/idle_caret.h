#pragma once

namespace verbanta::app {

/// Stops the text caret's blinking after ten seconds without input, as GNOME does, and
/// starts it again at the next key, click or focus change: a blinking caret repaints the
/// window twice a second, which is the only work an idle window would otherwise do.
/// Installed once; later calls do nothing.
void installIdleCaret();

}  // namespace verbanta::app
