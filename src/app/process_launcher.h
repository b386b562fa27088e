#pragma once

#include "editor/editor_ports.h"

namespace verbanta::app {

/// Starts the outside editor as a detached process, or the desktop's program for the file.
class QtProcessLauncher : public ProcessLauncher {
public:
    bool launch(const std::string& commandLine) override;
    bool openWithDesktop(const std::string& path) override;
};

}  // namespace verbanta::app
