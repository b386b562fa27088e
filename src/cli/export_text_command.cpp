// verbanta-cli export-text: the captions of a SAMI file's first language as plain text.

#include <memory>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

struct ExportTextOptions {
    std::string input;
    std::string output;
};

int run(const ExportTextOptions& o, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    model.SetCurrentSlot(model.slotOrder[0]);
    return model.ExportPlainText(o.output) ? 0 : 1;
}

}  // namespace

void registerExportTextCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ExportTextOptions>();
    CLI::App* cmd = app.add_subcommand(
        "export-text", "Write the first language's captions as plain text (CP949, CR LF)");
    cmd->add_option("IN", options->input, "SAMI file to read")->required();
    cmd->add_option("OUT", options->output, "Text file to write")->required();
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
