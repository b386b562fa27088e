// verbanta-cli restyle: rewrites the style values of SAMI files in place, as the editor's batch
// format conversion does; every value not given comes from the batch format options' defaults.

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_command.h"
#include "commands.h"
#include "document/file_operations.h"
#include "files/batch_conversion.h"

namespace verbanta::cli {
namespace {

struct RestyleOptions {
    std::vector<std::string> files;
    std::optional<int> fontSize;
    std::optional<std::string> color;
    std::optional<std::string> weight;
    std::optional<std::string> align;
    std::optional<std::string> font1;
    std::optional<std::string> font2;
    std::string margins;
};

/// "T,B,L,R": four numbers of the options page's range 0 to 40.
bool parseMargins(const std::string& text, int (&margins)[4])
{
    std::size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t end = i < 3 ? text.find(',', at) : text.size();
        if (end == std::string::npos || end == at)
            return false;
        const std::string part = text.substr(at, end - at);
        if (part.find_first_not_of("0123456789") != std::string::npos || part.size() > 2)
            return false;
        margins[i] = std::stoi(part);
        if (margins[i] > 40)
            return false;
        at = end + 1;
    }
    return true;
}

int run(const RestyleOptions& o, CliContext& context)
{
    AppSettings& s = context.settings;
    if (o.fontSize)
        s.FontSize = *o.fontSize;
    if (o.color)
        s.FontColor = *o.color;
    if (o.weight)
        s.FontWeight = *o.weight;
    if (o.align)
        s.FontAlign = *o.align;
    if (o.font1)
        s.FontName1 = *o.font1;
    if (o.font2)
        s.FontName2 = *o.font2;
    if (!o.margins.empty()) {
        int margins[4] = {};
        if (!parseMargins(o.margins, margins)) {
            std::cerr << "--margins " << o.margins
                      << ": give top,bottom,left,right, each 0 to 40\n";
            return 1;
        }
        s.TopMargin = margins[0];
        s.BottomMargin = margins[1];
        s.LeftMargin = margins[2];
        s.RightMargin = margins[3];
    }
    const BatchResult result =
        runBatchConversion(o.files, s, systemFileOperations(), context.messenger, nullptr);
    return result.failed == 0 ? 0 : 1;
}

}  // namespace

void registerRestyleCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<RestyleOptions>();
    CLI::App* cmd = app.add_subcommand("restyle", "Rewrite the style values of SAMI files");
    cmd->add_option("FILE", o->files, "SAMI files to rewrite in place")->required();
    // The ranges and choices of the batch format options page.
    cmd->add_option("--font-size", o->fontSize, "Font size in points (default 14)")
        ->check(CLI::Range(10, 40));
    cmd->add_option("--color", o->color, "Colour name or #RRGGBB (default white)");
    cmd->add_option("--weight", o->weight, "normal or bold (default normal)")
        ->check(CLI::IsMember({"normal", "bold"}));
    cmd->add_option("--align", o->align, "center, left or right (default center)")
        ->check(CLI::IsMember({"center", "left", "right"}));
    cmd->add_option("--font1", o->font1, "First font family (default Arial)");
    cmd->add_option("--font2", o->font2, "Second font family (default MS Sans Serif)");
    cmd->add_option("--margins", o->margins, "T,B,L,R: top, bottom, left and right margins (pt)");
    cmd->callback([o, &context] { context.exitCode = run(*o, context); });
}

}  // namespace verbanta::cli
