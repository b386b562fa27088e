#pragma once

#include <QLabel>

namespace verbanta::app {

/// A plain-text label whose mnemonic moves the focus to `buddy`.
inline QLabel* buddyLabel(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(buddy);
    return label;
}

}  // namespace verbanta::app
