#pragma once

#include "cli_command.h"

namespace verbanta::cli {

// The register function of every subcommand; main.cpp lists them in kCommands.
void RegisterEndSyncsCommand(CLI::App& app, CliContext& context);
void RegisterCleanEndSyncsCommand(CLI::App& app, CliContext& context);
void RegisterAddLanguageCommand(CLI::App& app, CliContext& context);
void RegisterInfoCommand(CLI::App& app, CliContext& context);
void RegisterDumpCommand(CLI::App& app, CliContext& context);
void RegisterResaveCommand(CLI::App& app, CliContext& context);
void RegisterExportTextCommand(CLI::App& app, CliContext& context);
void RegisterConvertCommand(CLI::App& app, CliContext& context);
void RegisterSplitCommand(CLI::App& app, CliContext& context);
void RegisterMergeCommand(CLI::App& app, CliContext& context);
void RegisterRestyleCommand(CLI::App& app, CliContext& context);
void RegisterSaveLanguageCommand(CLI::App& app, CliContext& context);
void RegisterCheckCommand(CLI::App& app, CliContext& context);
void RegisterWaveformCommand(CLI::App& app, CliContext& context);

}  // namespace verbanta::cli
