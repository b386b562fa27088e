// verbanta-cli save-language: writes one language of a multi-language SAMI file to a file of
// its own, as the editor's save-by-language command does.

#include <iostream>
#include <memory>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "document/document.h"
#include "encoding_option.h"
#include "document/file_operations.h"

namespace verbanta::cli {
namespace {

struct SaveLanguageOptions {
    std::string input;
    std::string output;
    int language = 0;
    std::string encoding;
};

int run(const SaveLanguageOptions& o, CliContext& context)
{
    Document document(context.settings, context.messenger, systemFileOperations());
    if (!document.openDocument(o.input, false))
        return 1;
    const int count = document.model().GetLanguageCount();
    if (o.language < 0 || o.language >= count) {
        std::cerr << "--language " << o.language << ": the file has " << count
                  << " language(s), numbered from 0\n";
        return 1;
    }
    return document.saveLanguage(o.output, o.language, chosenEncoding(o.encoding)) ? 0 : 1;
}

}  // namespace

void registerSaveLanguageCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<SaveLanguageOptions>();
    CLI::App* cmd =
        app.add_subcommand("save-language", "Write one language of a SAMI file on its own");
    cmd->add_option("IN", options->input, "SAMI file to read")->required();
    cmd->add_option("OUT", options->output, "SAMI file to write")->required();
    cmd->add_option("--language", options->language, "The language to write (0-based index)")
        ->required();
    addEncodingOption(cmd, options->encoding,
                      "Write in this encoding; the encoding of IN when omitted");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
