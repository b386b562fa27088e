#pragma once

#include "platform/messenger.h"

namespace verbanta::cli {

/// Shows the core's messages on stderr; questions are answered No, since scripts cannot answer.
class CliMessenger : public Messenger {
public:
    void showMessage(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text) override;
    Answer askYesNoCancel(std::string_view text) override;

    /// Whether an error message was shown since the last reset.
    bool errorShown() const { return m_errorShown; }
    void reset() { m_errorShown = false; }

private:
    bool m_errorShown = false;
};

}  // namespace verbanta::cli
