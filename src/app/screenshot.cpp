#include "screenshot.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

namespace verbanta::app {

bool saveScreenshot(QWidget& widget, const QString& path)
{
    // Let pending layouts and paints happen first so the picture shows the finished window.
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    return !picture.isNull() && picture.save(path, "PNG");
}

}  // namespace verbanta::app
