// verbanta-cli merge: joins SAMI files one after the other into one file, as the editor's merge
// command does: each file keeps its times, the first sync of every joined file is bookmarked
// and the result keeps the first file's title.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "commands.h"
#include "document/document.h"
#include "document/file_operations.h"
#include "files/merge.h"

namespace verbanta::cli {
namespace {

struct MergeOptions {
    std::string output;
    std::vector<std::string> inputs;
    bool noBackup = false;
};

int run(const MergeOptions& o, CliContext& context)
{
    FileOperations& files = systemFileOperations();
    MergeList list;
    for (const std::string& input : o.inputs)
        if (!list.add(input, files, context.messenger))
            return 1;
    context.settings.MakeBackup = !o.noBackup;
    Document document(context.settings, context.messenger, files);
    context.messenger.reset();
    if (!document.mergeFiles(list.paths()))
        return 1;
    // A file the reader could not load would leave a hole in the result.
    if (context.messenger.errorShown())
        return 1;
    return document.saveDocument(o.output) ? 0 : 1;
}

}  // namespace

void registerMergeCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<MergeOptions>();
    CLI::App* cmd = app.add_subcommand("merge", "Join SAMI files one after the other into OUT");
    cmd->add_option("OUT", options->output, "SAMI file to write")->required();
    cmd->add_option("IN", options->inputs, "SAMI files to join, in order")
        ->required()
        ->expected(2, -1);
    cmd->add_flag("--no-backup", options->noBackup,
                  "Do not keep an existing OUT as OUT.BAK");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
