#pragma once

#include <QPushButton>
#include <QString>
#include <QWidget>

namespace verbanta::test {

/// For a look at a dialog as a user sees it: with VERBANTA_SHOTS set to a folder, the widget
/// is saved there as NAME.png.
inline void shoot(QWidget& widget, const char* name)
{
    if (qEnvironmentVariableIsSet("VERBANTA_SHOTS"))
        widget.grab().save(qEnvironmentVariable("VERBANTA_SHOTS") + "/" + name + ".png");
}

/// The push button of a dialog that shows exactly this text, or null.
inline QPushButton* button(QWidget& dialog, const QString& text)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

}  // namespace verbanta::test
