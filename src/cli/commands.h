#pragma once

#include "cli_command.h"

namespace verbanta::cli {

// The register function of every subcommand; main.cpp lists them in kCommands.
void registerEndSyncsCommand(CLI::App& app, CliContext& context);
void registerCleanEndSyncsCommand(CLI::App& app, CliContext& context);
void registerAddLanguageCommand(CLI::App& app, CliContext& context);
void registerInfoCommand(CLI::App& app, CliContext& context);
void registerDumpCommand(CLI::App& app, CliContext& context);
void registerResaveCommand(CLI::App& app, CliContext& context);
void registerExportTextCommand(CLI::App& app, CliContext& context);
void registerConvertCommand(CLI::App& app, CliContext& context);
void registerSplitCommand(CLI::App& app, CliContext& context);
void registerMergeCommand(CLI::App& app, CliContext& context);
void registerRestyleCommand(CLI::App& app, CliContext& context);
void registerSaveLanguageCommand(CLI::App& app, CliContext& context);
void registerCheckCommand(CLI::App& app, CliContext& context);
void registerWaveformCommand(CLI::App& app, CliContext& context);
void registerShotsCommand(CLI::App& app, CliContext& context);

}  // namespace verbanta::cli
