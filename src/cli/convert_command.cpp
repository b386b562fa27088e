// verbanta-cli convert: imports a subtitle file of another format, or a plain text file, as the
// editor's import commands do (or opens a SAMI file), and writes it as SAMI, as plain text for an
// output name ending in ".txt", or one language as SubRip, WebVTT or ASS for ".srt", ".vtt" and
// ".ass".

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_command.h"
#include "commands.h"
#include "encoding_option.h"
#include "formats/export_format.h"
#include "formats/foreign_import.h"
#include "formats/microdvd_reader.h"
#include "formats/reader_table.h"
#include "formats/text_export.h"
#include "formats/text_import.h"
#include "model/ascii_case.h"
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
    int language = -1;  ///< -1: not given, the first language for a cue format
    std::string encoding;  ///< SAMI and text output; empty: as read (CP949 for an import)
};

bool isSamiInput(const ConvertOptions& o)
{
    return o.from == "sami" ||
           (o.from.empty() &&
            (endsWithIgnoringCase(o.input, ".smi") || endsWithIgnoringCase(o.input, ".sami")));
}

double framesPerSecond(const std::string& label)
{
    for (const FrameRate& rate : kFrameRates)
        if (rate.label == label)
            return rate.framesPerSecond;
    return kFrameRates[kDefaultFrameRateIndex].framesPerSecond;
}

bool readInput(SamiModel& model, const ConvertOptions& o)
{
    if (isSamiInput(o))
        return model.LoadFile(o.input, true);
    if (o.from == "text")
        return importTextFile(model, o.input, o.paragraphs);
    const std::vector<int> slots = o.from.empty() ? readersForFilterEntry(kAllSupportedEntry)
                                                  : std::vector<int>{findReaderSlot(o.from)};
    return importForeignFile(model, o.input, slots, framesPerSecond(o.fps));
}


int run(const ConvertOptions& o, CliContext& context)
{
    if (o.paragraphs && o.from != "text") {
        std::cerr << "convert: --paragraphs applies only with --from text\n";
        return 1;
    }
    const std::optional<ExportFormat> cueFormat = exportFormatFromPath(o.output);
    if (o.language >= 0 && !cueFormat) {
        std::cerr << "convert: --language applies only to .srt, .vtt and .ass output\n";
        return 1;
    }
    if (!o.encoding.empty() && cueFormat) {
        std::cerr << "convert: --encoding applies only to SAMI and .txt output\n";
        return 1;
    }
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!readInput(model, o))
        return 1;
    if (const auto encoding = chosenEncoding(o.encoding))
        model.fileEncoding = *encoding;
    bool written = false;
    if (cueFormat)
        written = exportSubtitlesToFile(model, o.language < 0 ? 0 : o.language, *cueFormat,
                                        o.output, context.messenger);
    else if (endsWithIgnoringCase(o.output, ".txt"))
        written = exportText(model, o.output);
    else
        written = model.SaveFile(o.output, -1);
    return written ? 0 : 1;
}

}  // namespace

void registerConvertCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* cmd = app.add_subcommand(
        "convert", "Import a SubRip, MicroDVD, SubViewer, SSA/ASS, VPlayer, Xombie or text file "
                   "(or open a SAMI file) and write it as SAMI, as plain text when OUT ends in "
                   ".txt, or one language as SubRip, WebVTT or ASS when OUT ends in .srt, .vtt "
                   "or .ass");
    cmd->add_option("IN", options->input, "The file to import")->required();
    cmd->add_option("OUT", options->output, "The file to write")->required();
    std::vector<std::string> formats;
    for (const SubtitleReader* reader : readerTable())
        formats.emplace_back(reader->name());
    formats.emplace_back("text");
    formats.emplace_back("sami");
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
    cmd->add_option("--language", options->language,
                    "For .srt, .vtt and .ass output: the language to write, numbered from 0 "
                    "(default 0)")
        ->check(CLI::NonNegativeNumber);
    addEncodingOption(cmd, options->encoding,
                      "For SAMI and .txt output: the encoding to write; a SAMI input's own "
                      "encoding, or CP949 for an import, when omitted");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
