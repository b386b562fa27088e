// verbanta-cli waveform: the peaks of a media file's audio as the editor's timing strip shows
// them, on the player's timeline, through the same analysis and cache.

#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_command.h"
#include "commands.h"
#include "media_cache.h"
#include "waveform_analysis.h"

namespace verbanta::cli {
namespace {

using media::WaveformState;
using media::WaveformStatus;

struct WaveformOptions {
    std::string input;
    int stream = -1;
    int resolutionMs = 10;
    bool json = false;
};

/// Says why there is no waveform; the failure's own words come from FFmpeg.
void reportFailure(const WaveformOptions& o, const WaveformState& s)
{
    switch (s.failure) {
        case media::OpenFailure::NotAudio: {
            std::cerr << "--stream " << o.stream << ": " << o.input
                      << " has no audio stream with that index; its audio streams are:";
            for (const media::AudioStreamInfo& info : media::probeMedia(o.input).streams)
                std::cerr << ' ' << info.index;
            std::cerr << '\n';
            return;
        }
        case media::OpenFailure::NoDecoder:
            std::cerr << "waveform: cannot decode the audio of " << o.input << ": " << s.detail
                      << '\n';
            return;
        default:
            if (s.status == WaveformStatus::NoAudio)
                std::cerr << "waveform: " << o.input << " has no audio stream\n";
            else
                std::cerr << "waveform: cannot read " << o.input << ": " << s.detail << '\n';
    }
}

void appendNumber(std::string& out, int value)
{
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void printJson(const WaveformOptions& o, const WaveformState& s,
               const media::WaveformAnalysis& analysis)
{
    nlohmann::ordered_json head;
    head["duration_ms"] = std::llround(s.endMs);
    head["sample_rate"] = s.sampleRate;
    head["channels"] = s.channels;
    head["stream"] = s.stream;
    head["start_ms"] = s.hasSound ? std::llround(s.startMs) : 0;
    head["resolution_ms"] = o.resolutionMs;
    head["complete"] = s.status == WaveformStatus::Complete;
    // Hours of sound give a million pairs: written directly, not as a million JSON nodes.
    std::string out = head.dump();
    out.pop_back();
    out += ",\"peaks\":[";
    bool first = true;
    for (const media::Peak& p : analysis.peaks(o.resolutionMs)) {
        out += first ? "[" : ",[";
        first = false;
        appendNumber(out, p.empty() ? 0 : p.min);
        out += ',';
        appendNumber(out, p.empty() ? 0 : p.max);
        out += ']';
    }
    out += "]}\n";
    std::cout << out;
}

int run(const WaveformOptions& o)
{
    if (o.resolutionMs <= 0) {
        std::cerr << "--resolution-ms " << o.resolutionMs << ": give 1 ms or more\n";
        return 1;
    }
    media::quietFFmpegLog();
    media::MediaCache cache(media::MediaCache::defaultFolder());
    media::WaveformAnalysis analysis(o.input, o.stream, &cache);
    analysis.wait();
    const WaveformState s = analysis.state();
    if (s.status != WaveformStatus::Complete && s.status != WaveformStatus::CutShort) {
        reportFailure(o, s);
        return 1;
    }
    if (cache.takeUnwritableNote())
        std::cerr << "waveform: cannot write the cache in " << cache.folder()
                  << "; the peaks were not kept\n";
    if (s.status == WaveformStatus::CutShort)
        std::cerr << "waveform: the sound stops at " << std::llround(s.endMs) << " ms: " << s.detail
                  << '\n';
    if (o.json) {
        printJson(o, s, analysis);
        return 0;
    }
    std::cout << "stream: " << s.stream << '\n'
              << "sample rate: " << s.sampleRate << '\n'
              << "channels: " << s.channels << '\n'
              << "start: " << std::llround(s.startMs) << " ms\n"
              << "duration: " << std::llround(s.endMs) << " ms\n"
              << "complete: " << (s.status == WaveformStatus::Complete ? "yes" : "no") << '\n';
    return 0;
}

}  // namespace

void registerWaveformCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<WaveformOptions>();
    CLI::App* cmd = app.add_subcommand(
        "waveform", "Show the peaks of a media file's audio on the player's timeline");
    cmd->add_option("MEDIA", options->input, "Video or audio file")->required();
    cmd->add_option("--stream", options->stream,
                    "Container stream index of the audio (as ffprobe and mpv's ff-index count); "
                    "default: the track the player starts with");
    cmd->add_option("--resolution-ms", options->resolutionMs,
                    "Milliseconds per [min, max] pair, 1 or more (default 10); a pair finer "
                    "than the 2 ms analysis, or not on its grid, spans the 2 ms steps it touches");
    cmd->add_flag("--json", options->json,
                  "Print one JSON object: duration_ms, sample_rate, channels, stream, start_ms, "
                  "resolution_ms, complete, and peaks as [min, max] 16-bit pairs from time 0");
    cmd->callback([options, &context] { context.exitCode = run(*options); });
}

}  // namespace verbanta::cli
