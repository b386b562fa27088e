#pragma once

#include <QString>

class QWidget;

namespace verbanta::app {

/// Renders a widget into a PNG file; false when it could not be written.
bool saveScreenshot(QWidget& widget, const QString& path);

}  // namespace verbanta::app
