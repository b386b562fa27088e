#pragma once

#include "platform/messenger.h"

class QWidget;

namespace verbanta::app {

/// The core's messages and questions as message boxes over the main window, with Korean
/// button texts.
class QtMessenger : public Messenger {
public:
    explicit QtMessenger(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    /// Without anyone to answer a box (a screenshot run), messages go to stderr, one line
    /// each, and questions are answered No or Cancel.
    void setConsoleOnly(bool consoleOnly) { m_consoleOnly = consoleOnly; }

    void showMessage(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text) override;
    bool askYesNoDefaultNo(std::string_view text) override;
    Answer askYesNoCancel(std::string_view text) override;

private:
    QWidget* parentWidget() const;
    bool ask(std::string_view text, bool defaultYes);
    QWidget* m_parent;
    bool m_consoleOnly = false;
};

}  // namespace verbanta::app
