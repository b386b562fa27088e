// verbanta-cli dump: every entry of every language as one JSON object per line.

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "model/codepage.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

int run(const std::string& input, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(input, true))
        return 1;
    for (int i = 0; i < model.GetLanguageCount(); ++i) {
        const int slot = model.slotOrder[static_cast<std::size_t>(i)];
        model.slotList(slot).forEach([&](const SyncEntry& e) {
            nlohmann::ordered_json line;
            line["language"] = i;
            line["class"] = cp949ToUtf8(e.className);
            line["start"] = e.startMs;
            line["end_sync"] = e.isEndSync != 0;
            line["comment"] = e.isComment != 0;
            line["text"] = cp949ToUtf8(e.text);
            std::cout << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                      << '\n';
        });
    }
    return 0;
}

}  // namespace

void registerDumpCommand(CLI::App& app, CliContext& context)
{
    auto input = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand(
        "dump", "Print every entry of every language as one JSON object per line");
    cmd->add_option("FILE", *input, "SAMI file to read")->required();
    cmd->callback([input, &context] { context.exitCode = run(*input, context); });
}

}  // namespace verbanta::cli
