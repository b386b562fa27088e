// verbanta-cli check: every caption of every language against the check profile; the findings
// as text or one JSON object per line, and an exit status that tells whether there were any.

#include <cmath>
#include <cstdint>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "checks/check_rules.h"
#include "cli_command.h"
#include "commands.h"
#include "model/codepage.h"
#include "model/sami_model.h"

namespace verbanta::cli {
namespace {

/// The exit status of a file with findings; 1 stays the status of a failure.
constexpr int kFindingsExitCode = 3;

struct CheckOptions {
    std::string input;
    bool json = false;
    double framesPerSecond = kDefaultFramesPerSecond;
};

/// A whole number as an integer, anything else as a decimal; nothing as null.
nlohmann::ordered_json valueJson(const std::optional<double>& value)
{
    if (!value)
        return nullptr;
    if (std::floor(*value) == *value)
        return static_cast<std::int64_t>(*value);
    return *value;
}

int run(const CheckOptions& o, CliContext& context)
{
    SamiModel model(context.settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;
    const CaptionRules rules(CheckProfile::fromSettings(context.settings), o.framesPerSecond);
    int count = 0;
    for (int i = 0; i < model.GetLanguageCount(); ++i) {
        const int slot = model.slotOrder[static_cast<std::size_t>(i)];
        const std::string& selector = model.languages[static_cast<std::size_t>(i)].selector;
        const std::string className = cp949ToUtf8(selector.substr(selector.empty() ? 0 : 1));
        for (const CheckFinding& f : checkList(model.slotList(slot), slot, rules)) {
            ++count;
            const nlohmann::ordered_json value = valueJson(f.value);
            if (o.json) {
                nlohmann::ordered_json line;
                line["language"] = i;
                line["row"] = f.row;
                line["start"] = f.startMs;
                line["rule"] = checkRuleId(f.rule);
                line["value"] = value;
                std::cout << line.dump() << '\n';
            } else {
                std::cout << className << " row " << f.row << " at " << f.startMs << ": "
                          << checkRuleId(f.rule);
                if (f.value)
                    std::cout << ' ' << value.dump();
                std::cout << '\n';
            }
        }
    }
    if (!o.json)
        std::cout << count << " finding(s)\n";
    return count > 0 ? kFindingsExitCode : 0;
}

}  // namespace

void registerCheckCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<CheckOptions>();
    CLI::App* cmd = app.add_subcommand(
        "check",
        "Check every caption against the quality profile; exit status 3 when any "
        "rule is broken, 0 when none is");
    cmd->add_option("FILE", options->input, "SAMI file to read")->required();
    cmd->add_flag("--json", options->json,
                  "One JSON object per finding and line: language (index), row, start (ms), "
                  "rule and value");
    cmd->add_option("--fps", options->framesPerSecond,
                    "Frame rate the minimum gap is counted in (default 24)")
        ->check(CLI::PositiveNumber);
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
