#pragma once

// ffmpeg as an independent reader of subtitle files: the cues it reads from a file, written out
// by it as SubRip and parsed back, for comparison with what our readers and writers mean.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace verbanta::test {

inline constexpr const char* kFfmpeg = "/usr/bin/ffmpeg";

inline bool FfmpegInstalled()
{
#ifdef _WIN32
    return false;  // the Linux program seen through Wine's drive Z: cannot run from here
#else
    return std::filesystem::exists(kFfmpeg);
#endif
}

/// One cue as ffmpeg reads it, or as we mean it, with normalised text.
struct FfmpegCue {
    long long startMs = 0;
    long long endMs = 0;
    std::string text;  ///< UTF-8, see NormaliseCueText
    bool operator==(const FfmpegCue&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const FfmpegCue& c)
{
    return os << "{" << c.startMs << " -> " << c.endMs << " \"" << c.text << "\"}";
}

/// The words of a cue text: tags and braced codes removed, "&nbsp;", a no-break space and the
/// ASS breaks "\N" and "\n" read as spaces, white space runs as one space, none at either end.
/// Markup differs between formats by design; the words may not.
inline std::string NormaliseCueText(std::string_view text)
{
    std::string stripped;
    char closer = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (closer) {
            if (c == closer)
                closer = 0;
        } else if (c == '<' || c == '{') {
            closer = c == '<' ? '>' : '}';
        } else if (text.substr(i, 6) == "&nbsp;") {
            stripped += ' ';
            i += 5;
        } else if (text.substr(i, 2) == "\xC2\xA0") {
            stripped += ' ';
            ++i;
        } else if (c == '\\' && i + 1 < text.size() && (text[i + 1] == 'N' || text[i + 1] == 'n')) {
            stripped += ' ';
            ++i;
        } else {
            stripped += c;
        }
    }
    std::string out;
    bool space = false;
    for (char c : stripped) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

/// "HH:MM:SS,mmm" in milliseconds.
inline long long ParseSrtTime(const std::string& time)
{
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(time.c_str(), "%d:%d:%d,%d", &h, &m, &s, &ms);
    return ((h * 60LL + m) * 60 + s) * 1000 + ms;
}

/// The cues of ffmpeg's SubRip output: a counter, a time line, text lines up to a blank line.
inline std::vector<FfmpegCue> ParseFfmpegSrt(const std::string& srt)
{
    std::vector<std::string> lines;
    for (std::size_t begin = 0; begin <= srt.size();) {
        std::size_t end = srt.find('\n', begin);
        if (end == std::string::npos)
            end = srt.size();
        std::string line = srt.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        begin = end + 1;
    }
    std::vector<FfmpegCue> cues;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::size_t arrow = lines[i + 1].find(" --> ");
        if (arrow == std::string::npos || lines[i].empty())
            continue;
        FfmpegCue cue{ParseSrtTime(lines[i + 1].substr(0, arrow)),
                      ParseSrtTime(lines[i + 1].substr(arrow + 5)),
                      {}};
        for (i += 2; i < lines.size() && !lines[i].empty(); ++i) cue.text += lines[i] + "\n";
        cue.text = NormaliseCueText(cue.text);
        cues.push_back(cue);
    }
    return cues;
}

/// What ffmpeg reads with these input arguments (options, then "-i 'file'"), as cues. A failing
/// ffmpeg or an output without cues fails the test.
inline std::vector<FfmpegCue> ReadWithFfmpeg(const std::string& inputArgs)
{
    const std::string command =
        std::string(kFfmpeg) + " -nostdin -v error " + inputArgs + " -f srt - 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    EXPECT_EQ(status, 0) << command;
    std::vector<FfmpegCue> cues = ParseFfmpegSrt(output);
    if (cues.empty())
        ADD_FAILURE() << "ffmpeg read no cues: " << command;
    return cues;
}

/// The same for a file in a format ffmpeg recognises by itself.
inline std::vector<FfmpegCue> ReadFileWithFfmpeg(const std::filesystem::path& file)
{
    return ReadWithFfmpeg("-i '" + file.string() + "'");
}

}  // namespace verbanta::test
