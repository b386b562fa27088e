// verbanta-cli info: what a SAMI file holds, as text or as one JSON object.

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

struct InfoOptions {
    std::string input;
    bool json = false;
};

struct LanguageSummary {
    std::string className;
    std::string name;
    std::string code;
    int entries = 0;
    int endSyncs = 0;
    int comments = 0;
};

int run(const InfoOptions& o, CliContext& context)
{
    // Timing errors are counted as the editor marks them with the option on.
    AppSettings settings = context.settings;
    settings.DisplayErrorSync = true;
    SamiModel model(settings);
    model.setMessenger(context.messenger);
    if (!model.LoadFile(o.input, true))
        return 1;

    std::vector<LanguageSummary> languages;
    int timingErrors = 0;
    for (int i = 0; i < model.GetLanguageCount(); ++i) {
        const LanguageInfo& info = model.languages[static_cast<std::size_t>(i)];
        LanguageSummary s;
        s.className = cp949ToUtf8(info.selector.substr(info.selector.empty() ? 0 : 1));
        s.name = cp949ToUtf8(info.name());
        s.code = cp949ToUtf8(info.lang());
        model.SetCurrentSlot(model.slotOrder[static_cast<std::size_t>(i)]);
        model.list().forEach([&](const SyncEntry& e) {
            ++s.entries;
            s.endSyncs += e.isEndSync && !e.isComment ? 1 : 0;
            s.comments += e.isComment ? 1 : 0;
        });
        timingErrors += std::max(model.CheckOrder(), 0);
        languages.push_back(std::move(s));
    }

    const std::string title = cp949ToUtf8(model.title);
    const char* encoding = encodingName(model.fileEncoding);
    if (o.json) {
        nlohmann::ordered_json out;
        out["title"] = title;
        out["encoding"] = encoding;
        out["languages"] = nlohmann::ordered_json::array();
        for (const LanguageSummary& s : languages)
            out["languages"].push_back({{"class", s.className},
                                        {"name", s.name},
                                        {"code", s.code},
                                        {"entries", s.entries},
                                        {"end_syncs", s.endSyncs},
                                        {"comments", s.comments}});
        out["timing_errors"] = timingErrors;
        std::cout << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return 0;
    }
    std::cout << "title: " << title << '\n'
              << "encoding: " << encoding << '\n'
              << "languages: " << languages.size() << '\n';
    for (std::size_t i = 0; i < languages.size(); ++i) {
        const LanguageSummary& s = languages[i];
        std::cout << "  " << i << ": " << s.className << " (" << s.name << ", " << s.code
                  << "): " << s.entries << " entries, " << s.endSyncs << " end syncs, "
                  << s.comments << " comments\n";
    }
    std::cout << "timing errors: " << timingErrors << '\n';
    return 0;
}

}  // namespace

void registerInfoCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<InfoOptions>();
    CLI::App* cmd = app.add_subcommand(
        "info", "Show a SAMI file's title, languages, entry counts and timing errors");
    cmd->add_option("FILE", options->input, "SAMI file to read")->required();
    cmd->add_flag("--json", options->json,
                  "Print one JSON object; \"entries\" counts every entry of a language, end "
                  "syncs and comments included");
    cmd->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace verbanta::cli
