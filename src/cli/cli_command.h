#pragma once

#include <CLI/CLI.hpp>

#include "cli_messenger.h"
#include "settings/app_settings.h"

namespace verbanta::cli {

/// What every subcommand gets: the messenger, the default settings, and the exit status.
struct CliContext {
    CliMessenger messenger;
    AppSettings settings;
    int exitCode = 0;
};

/// Adds one subcommand to the program; its callback sets the context's exit status.
using RegisterCommand = void (*)(CLI::App& app, CliContext& context);

}  // namespace verbanta::cli
