// verbanta-cli resave: reads a SAMI file and writes it again, whole or one language of it, in
// the encoding it was read in or the one asked for.

#include <iostream>
#include <memory>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "encoding_option.h"
#include "model/sami_model.h"
#include "sami/sami_file.h"

namespace verbanta::cli {
namespace {

struct ResaveOptions {
    std::string input;
    std::string output;
    int language = -1;
    std::string encoding;
};

int run(const ResaveOptions& o, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    if (o.language < -1 || o.language >= model.listCount) {
        std::cerr << "--language " << o.language << ": the file has " << model.listCount
                  << " language(s), numbered from 0\n";
        return 1;
    }
    const TextEncoding encoding = chosenEncoding(o.encoding).value_or(model.fileEncoding);
    return sami::saveSamiFile(model, o.output, o.language, encoding) ? 0 : 1;
}

}  // namespace

void registerResaveCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ResaveOptions>();
    CLI::App* cmd = app.add_subcommand("resave", "Read a SAMI file and write it again");
    cmd->add_option("IN", options->input, "SAMI file to read")->required();
    cmd->add_option("OUT", options->output, "SAMI file to write")->required();
    cmd->add_option("--language", options->language,
                    "Write only this language (0-based index); every language when omitted");
    addEncodingOption(cmd, options->encoding,
                      "Write in this encoding; the encoding of IN when omitted");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
