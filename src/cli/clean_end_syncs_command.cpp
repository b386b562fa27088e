// verbanta-cli clean-end-syncs: removes the end syncs that are out of order with the captions
// around them, as the editor's "delete invalid end syncs" command does, and writes the result.

#include <iostream>
#include <memory>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "language_selection.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

struct CleanEndSyncsOptions {
    std::string input;
    std::string output;
    int language = -1;
};

int run(const CleanEndSyncsOptions& o, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    const bool ok = forEachLanguage(model, o.language, [&](int) {
        const int removed = model.RemoveInvalidEndSyncs();
        std::cout << model.CurrentClassName() << ": " << removed << " end sync(s) removed\n";
        return true;
    });
    if (!ok || !model.SaveFile(o.output, -1))
        return 1;
    return 0;
}

}  // namespace

void registerCleanEndSyncsCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<CleanEndSyncsOptions>();
    CLI::App* cmd = app.add_subcommand(
        "clean-end-syncs", "Remove end syncs that are out of order with their captions");
    cmd->add_option("FILE", options->input, "SAMI file to read")->required();
    cmd->add_option("OUT", options->output, "SAMI file to write")->required();
    cmd->add_option("--language", options->language,
                    "Language index (0-based) to work on; every language when omitted");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
