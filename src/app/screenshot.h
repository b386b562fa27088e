#pragma once

#include <QString>

class QWidget;

namespace verbanta::app {

class CMainFrame;

/// Renders a widget into a PNG file; false when it could not be written.
bool saveScreenshot(QWidget& widget, const QString& path);

/// Before a screenshot of a window that opened a subtitle file: when the file has a
/// companion video, waits (at most a few seconds) until the player has it open and shows a
/// picture, so the screenshot shows the window as the user would see it.
void waitForCompanionVideo(CMainFrame& frame, const QString& subtitlePath);

}  // namespace verbanta::app
