#include <array>
#include <iostream>

#include <string>
#include <vector>

#include "cli_command.h"
#include "commands.h"
#include "platform/system.h"

namespace verbanta::cli {

// Every subcommand, in the order --help lists them; the waveform and the shot changes need
// the media analysis.
constexpr std::array kCommands{
    registerInfoCommand,          registerDumpCommand,        registerResaveCommand,
    registerExportTextCommand,    registerConvertCommand,     registerEndSyncsCommand,
    registerCleanEndSyncsCommand, registerAddLanguageCommand, registerSplitCommand,
    registerMergeCommand,         registerRestyleCommand,     registerSaveLanguageCommand,
    registerCheckCommand,
#ifdef VERBANTA_MEDIA
    registerWaveformCommand,      registerShotsCommand,
#endif
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

    // UTF-8 arguments on every system, so that any file name reaches the commands whole.
    std::vector<std::string> arguments = verbanta::platform::commandLineArguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) utf8Argv.push_back(argument.data());
    try {
        app.parse(argc, utf8Argv.data());
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
