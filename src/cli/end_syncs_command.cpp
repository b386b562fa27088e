// verbanta-cli end-syncs: resets the end syncs of a file's captions by a fixed duration or by
// their length, as the editor's end-sync reset dialog does, and writes the result.

#include <iostream>
#include <memory>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "language_selection.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

/// The editor's time fields accept this range.
constexpr int kMaxTimeMs = 100000000;

struct EndSyncsOptions {
    std::string input;
    std::string output;
    int durationMs = -1;
    int perLetterMs = -1;
    bool onlyShorter = false;
    bool onlyLonger = false;
    bool range = false;
    int fromRow = -1;
    int toRow = -1;
    int language = -1;
};

bool validTime(int ms, const char* option)
{
    if (ms >= 0 && ms <= kMaxTimeMs)
        return true;
    std::cerr << option << " " << ms << ": give 0 to " << kMaxTimeMs << " ms\n";
    return false;
}

/// Marks the rows the run is limited to. A file keeps no range marks, so the range is given on
/// the command line; its ends default to the first and the last row.
bool markRange(SamiModel& model, const EndSyncsOptions& o)
{
    const int count = model.GetCount();
    const int from = o.fromRow < 0 ? 0 : o.fromRow;
    const int to = o.toRow < 0 ? count - 1 : o.toRow;
    if (from > to || to >= count) {
        std::cerr << "--from-row " << from << " --to-row " << to << ": language "
                  << model.CurrentClassName() << " has rows 0 to " << count - 1 << "\n";
        return false;
    }
    model.SetRangeStartAt(from, true);
    model.SetRangeEndAt(to, true);
    return true;
}

int run(const EndSyncsOptions& o, CliContext& context)
{
    const bool byDuration = o.durationMs >= 0;
    if (byDuration == (o.perLetterMs >= 0)) {
        std::cerr << "end-syncs: give either --duration or --per-letter\n";
        return 1;
    }
    if (!validTime(byDuration ? o.durationMs : o.perLetterMs,
                   byDuration ? "--duration" : "--per-letter"))
        return 1;
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    const bool rangeOnly = o.range || o.fromRow >= 0 || o.toRow >= 0;
    const bool ok = forEachLanguage(model, o.language, [&](int) {
        // An empty list has nothing to reset, and no row to mark a range on.
        if (model.GetCount() == 0)
            return true;
        if (rangeOnly && !markRange(model, o))
            return false;
        const int changes = byDuration ? model.ResetEndSyncsByDuration(o.durationMs, o.onlyShorter,
                                                                       o.onlyLonger, rangeOnly)
                                       : model.ResetEndSyncsByLength(o.perLetterMs, rangeOnly);
        if (changes < 0)
            return false;
        std::cout << model.CurrentClassName() << ": " << changes << " end sync change(s)\n";
        return true;
    });
    if (!ok || !model.SaveFile(o.output, -1))
        return 1;
    return 0;
}

}  // namespace

void registerEndSyncsCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<EndSyncsOptions>();
    CLI::App* cmd = app.add_subcommand(
        "end-syncs", "Reset every caption's end sync to a fixed duration or by its length");
    cmd->add_option("FILE", options->input, "SAMI file to read")->required();
    cmd->add_option("OUT", options->output, "SAMI file to write")->required();
    CLI::Option* duration = cmd->add_option("--duration", options->durationMs,
                                            "End each caption this many ms after its start");
    CLI::Option* perLetter =
        cmd->add_option("--per-letter", options->perLetterMs,
                        "End each caption after this many ms per displayed character");
    duration->excludes(perLetter);
    CLI::Option* shorter =
        cmd->add_flag("--only-shorter", options->onlyShorter,
                      "Only move end syncs that are closer to their caption than --duration");
    CLI::Option* longer =
        cmd->add_flag("--only-longer", options->onlyLonger,
                      "Only move end syncs that are farther from their caption than --duration");
    shorter->needs(duration)->excludes(longer);
    longer->needs(duration);
    cmd->add_flag("--range", options->range,
                  "Only within the range from --from-row to --to-row (files keep no range "
                  "marks; without the rows the range is the whole list)");
    cmd->add_option("--from-row", options->fromRow,
                    "First row of the range (0-based); implies --range");
    cmd->add_option("--to-row", options->toRow, "Last row of the range (0-based); implies --range");
    cmd->add_option("--language", options->language,
                    "Language index (0-based) to work on; every language when omitted");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
