#include <array>
#include <iostream>

#include "cli_command.h"
#include "commands.h"

namespace verbanta::cli {

// Every subcommand, in the order --help lists them.
constexpr std::array<RegisterCommand, 15> kCommands{
    registerInfoCommand,          registerDumpCommand,        registerResaveCommand,
    registerExportTextCommand,    registerConvertCommand,     registerEndSyncsCommand,
    registerCleanEndSyncsCommand, registerAddLanguageCommand, registerSplitCommand,
    registerMergeCommand,         registerRestyleCommand,     registerSaveLanguageCommand,
    registerCheckCommand,         registerWaveformCommand,    registerShotsCommand,
};

}  // namespace verbanta::cli

int main(int argc, char** argv)
{
    using namespace verbanta::cli;
    CLI::App app{"verbanta-cli: SAMI subtitle files from the command line"};
    app.set_version_flag("--version", std::string("verbanta-cli ") + VERBANTA_VERSION);
    app.require_subcommand(0, 1);

    CliContext context;
    for (RegisterCommand add : kCommands) add(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version succeed; every usage error fails like any other failure.
        return app.exit(e) == 0 ? 0 : 1;
    }
    if (app.get_subcommands().empty() && argc == 1) {
        std::cout << app.help();
        return 0;
    }
    return context.exitCode;
}
