#pragma once

#include "editor/editor_ports.h"

namespace verbanta::app {

/// Starts the outside editor as a detached process.
class QtProcessLauncher : public ProcessLauncher {
public:
    bool launch(const std::string& commandLine) override;
};

}  // namespace verbanta::app
