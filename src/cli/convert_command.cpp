// verbanta-cli convert: imports a subtitle file of another format, or a plain text file, as the
// editor's import commands do, and writes it as SAMI, or as plain text for an output name
// ending in ".txt".

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "commands.h"
#include "formats/foreign_import.h"
#include "formats/microdvd_reader.h"
#include "formats/reader_table.h"
#include "formats/text_export.h"
#include "formats/text_import.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

/// The import dialog's "all supported subtitle files" entry: every reader in detection order.
constexpr int kAllSupportedEntry = 1;

struct ConvertOptions {
    std::string input;
    std::string output;
    std::string from;
    std::string fps = std::string(kFrameRates[kDefaultFrameRateIndex].label);
    bool paragraphs = false;
};

bool endsWithTxt(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return tail == ".txt";
}

double framesPerSecond(const std::string& label)
{
    for (const FrameRate& rate : kFrameRates)
        if (rate.label == label)
            return rate.framesPerSecond;
    return kFrameRates[kDefaultFrameRateIndex].framesPerSecond;
}

int run(const ConvertOptions& o, CliContext& context)
{
    if (o.paragraphs && o.from != "text") {
        std::cerr << "convert: --paragraphs applies only with --from text\n";
        return 1;
    }
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    bool imported = false;
    if (o.from == "text") {
        imported = ImportTextFile(model, o.input, o.paragraphs);
    } else {
        const std::vector<int> slots = o.from.empty()
                                           ? ReadersForFilterEntry(kAllSupportedEntry)
                                           : std::vector<int>{FindReaderSlot(o.from)};
        imported = ImportForeignFile(model, o.input, slots, framesPerSecond(o.fps));
    }
    if (!imported)
        return 1;
    const bool written =
        endsWithTxt(o.output) ? ExportText(model, o.output) : model.SaveFile(o.output, -1);
    return written ? 0 : 1;
}

}  // namespace

void RegisterConvertCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* cmd = app.add_subcommand(
        "convert", "Import a SubRip, MicroDVD, SubViewer, SSA/ASS, VPlayer, Xombie or text file "
                   "and write it as SAMI (or as plain text when OUT ends in .txt)");
    cmd->add_option("IN", options->input, "The file to import")->required();
    cmd->add_option("OUT", options->output, "The file to write")->required();
    std::vector<std::string> formats;
    for (const SubtitleReader* reader : ReaderTable())
        formats.emplace_back(reader->name());
    formats.emplace_back("text");
    cmd->add_option("--from", options->from,
                    "The input's format; without it every subtitle format is tried in turn")
        ->check(CLI::IsMember(formats));
    std::vector<std::string> rates;
    for (const FrameRate& rate : kFrameRates)
        rates.emplace_back(rate.label);
    cmd->add_option("--fps", options->fps, "Frames per second of a MicroDVD file (default 25)")
        ->check(CLI::IsMember(rates));
    cmd->add_flag("--paragraphs", options->paragraphs,
                  "Text import: one caption per paragraph instead of per line");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
