// verbanta-cli split: cuts a SAMI file into parts at the given times, as the editor's split
// command does at bookmarks: IN_01.smi from the first sync, IN_02.smi from the first sync at or
// after the first time (starting at 0), and so on.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "commands.h"
#include "document/file_operations.h"
#include "files/split.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

struct SplitOptions {
    std::string input;
    std::vector<int> times;
};

/// Bookmarks the first sync (not a comment) at or after the time; false when there is none.
bool bookmarkAt(SamiModel& model, int ms)
{
    for (Position p = model.GetHeadPosition(); p; p = model.list().next(p)) {
        if (!p->entry.isComment && p->entry.startMs >= ms) {
            p->entry.bookmarked = 1;
            return true;
        }
    }
    return false;
}

int run(const SplitOptions& o, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    for (int ms : o.times) {
        if (!bookmarkAt(model, ms)) {
            std::cerr << "--at " << ms << ": no sync at or after " << ms << " ms\n";
            return 1;
        }
    }
    FileOperations& files = systemFileOperations();
    const auto parts = prepareSplitParts(model, o.input, "", files, context.messenger);
    if (!parts)
        return 1;
    const int written = writeSplitParts(model, *parts, files, context.messenger);
    reportSplitResult(written, context.messenger);
    return written == static_cast<int>(parts->size()) ? 0 : 1;
}

}  // namespace

void registerSplitCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<SplitOptions>();
    CLI::App* cmd = app.add_subcommand(
        "split", "Cut a SAMI file into parts named IN_01, IN_02, ... at the given times");
    cmd->add_option("IN", options->input, "SAMI file to split")->required();
    cmd->add_option("--at", options->times,
                    "Times in ms: a part begins at the first sync at or after each")
        ->required()
        ->delimiter(',');
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
