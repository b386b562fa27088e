// verbanta-cli shots: the hard cuts of a video on the player's timeline, through the same
// detector and cache as the editor's timing strip.

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "media_cache.h"
#include "media_file.h"
#include "shot_detector.h"

namespace verbanta::cli {
namespace {

struct ShotsOptions {
    std::string input;
    bool json = false;
};

int run(const ShotsOptions& o)
{
    media::quietFFmpegLog();
    media::MediaCache cache(media::MediaCache::defaultFolder());
    const media::ShotAnalysis a = media::findShotChanges(o.input, nullptr, {}, &cache);
    switch (a.failure) {
        case media::ShotFailure::None:
            break;
        case media::ShotFailure::NoVideo:
            std::cerr << "shots: " << o.input << " has no video, so no shot changes\n";
            return 1;
        case media::ShotFailure::NoDecoder:
            std::cerr << "shots: cannot decode the video of " << o.input << ": " << a.detail << '\n';
            return 1;
        default:
            std::cerr << "shots: cannot read " << o.input << ": " << a.detail << '\n';
            return 1;
    }
    if (cache.takeUnwritableNote())
        std::cerr << "shots: cannot write the cache in " << cache.folder()
                  << "; the shot changes were not kept\n";
    if (a.changes.cutShort)
        std::cerr << "shots: the video stops early after " << a.changes.frameCount
                  << " frames: " << a.detail << '\n';
    if (o.json) {
        nlohmann::ordered_json out;
        out["frame_rate"] = a.changes.frameRate;
        out["frame_count"] = a.changes.frameCount;
        out["shots_ms"] = a.changes.shotsMs;
        std::cout << out.dump() << '\n';
        return 0;
    }
    std::cout << "frame rate: " << a.changes.frameRate << '\n'
              << "frames: " << a.changes.frameCount << '\n'
              << "shot changes: " << a.changes.shotsMs.size() << '\n';
    for (std::int64_t ms : a.changes.shotsMs) std::cout << ms << '\n';
    return 0;
}

}  // namespace

void registerShotsCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ShotsOptions>();
    CLI::App* cmd = app.add_subcommand(
        "shots", "Find the hard cuts of a video, as times on the player's timeline");
    cmd->add_option("MEDIA", options->input, "Video file")->required();
    cmd->add_flag("--json", options->json,
                  "Print one JSON object: frame_rate, frame_count, and shots_ms, the sorted "
                  "times in milliseconds of the first frame of each new shot");
    cmd->callback([options, &context] { context.exitCode = run(*options); });
}

}  // namespace verbanta::cli
