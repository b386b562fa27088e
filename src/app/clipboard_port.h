#pragma once

#include "editor/editor_ports.h"

namespace verbanta::app {

/// The system clipboard for the caption editor: captions travel as text, converted between
/// the model's CP949 and the clipboard's Unicode at this boundary.
class QtClipboardPort : public ClipboardPort {
public:
    bool hasText() const override;
    std::optional<std::string> text() const override;
    bool setText(std::string_view text) override;
};

}  // namespace verbanta::app
