// verbanta-cli add-language: joins the languages of a second subtitle file into a SAMI file,
// such as a Korean and an English file into one bilingual file, and writes the result.

#include <iostream>
#include <memory>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "formats/language_import.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

struct AddLanguageOptions {
    std::string input;
    std::string other;
    std::string output;
};

int run(const AddLanguageOptions& o, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    const int before = model.GetLanguageCount();
    const LanguageImportResult result = addLanguagesFromFile(model, o.other);
    if (!result.ok)
        return 1;
    if (result.added == 0) {
        std::cerr << "add-language: " << o.other << " has no language to add\n";
        return 1;
    }
    for (int i = before; i < model.GetLanguageCount(); ++i)
        std::cout << "added " << model.languages[static_cast<std::size_t>(i)].selector << "\n";
    return model.SaveFile(o.output, -1) ? 0 : 1;
}

}  // namespace

void registerAddLanguageCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<AddLanguageOptions>();
    CLI::App* cmd = app.add_subcommand(
        "add-language",
        "Add every language of OTHER, with its captions and times, to IN as further languages");
    cmd->add_option("IN", options->input, "SAMI file to add to")->required();
    cmd->add_option("OTHER", options->other,
                    "Subtitle file whose languages are added; a class already in IN is renamed")
        ->required();
    cmd->add_option("OUT", options->output, "SAMI file to write")->required();
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
