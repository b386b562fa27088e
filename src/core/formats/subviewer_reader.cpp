#include "formats/subviewer_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

// The fourth number of a time is hundredths of a second.
std::optional<std::int32_t> hundredthsTime(const ScanResult& scan, std::size_t first)
{
    const auto& f = scan.fields;
    return clockTime(f[first], f[first + 1], f[first + 2], f[first + 4], 10);
}

/// A version 1 time, "[00:00:24]" alone on its line, in seconds.
std::optional<std::int64_t> versionOneSeconds(std::string_view line)
{
    const ScanResult scan = scanPattern(line, "[%d:%d:%d]");
    if (scan.count != 3 || scan.end != line.size())
        return std::nullopt;
    const auto& f = scan.fields;
    return (std::int64_t{f[0]} * 60 + f[1]) * 60 + f[2];
}

bool isVersionOne(LineReader& lines)
{
    std::string_view raw;
    bool found = false;
    while (!found && lines.next(raw)) found = versionOneSeconds(trimWhiteSpace(raw)).has_value();
    lines.rewind();
    return found;
}

// "**** START SCRIPT ****" and its end mark frame the captions.
bool isScriptMark(std::string_view line)
{
    return line.starts_with('*') && line.find("SCRIPT") != std::string_view::npos;
}

// Version 1: each time on a line of its own, the caption's lines (with "|" for a line break)
// between it and the next time, which ends it; a time with no lines after it only ends the
// caption before. The last caption has no end time. "[DELAY]" and a number on the next line
// shift every time by that many seconds.
bool readVersionOne(LineReader& lines, SamiModel& model, const ReaderOptions& options)
{
    std::int64_t delay = 0;
    std::optional<std::int32_t> start;
    std::string text;
    const auto finish = [&](std::optional<std::int32_t> end) {
        if (start && !text.empty()) {
            const Position caption = appendCaption(model, *start, std::move(text));
            if (end)
                model.InsertEndSync(caption, *end, false);
        }
        text.clear();
    };
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = trimWhiteSpace(raw);
        if (line == "[DELAY]") {
            if (lines.next(raw))
                if (const ScanResult scan = scanPattern(raw, "%d"); scan.count == 1)
                    delay = scan.fields[0];
            continue;
        }
        if (const auto seconds = versionOneSeconds(line)) {
            const auto time = toTime((*seconds + delay) * 1000);
            if (!time)
                return false;
            finish(time);
            start = time;
        } else if (start && !line.empty() && !isScriptMark(line)) {
            if (!text.empty())
                text += kCaptionBreak;
            text += replaceCharDbcs(line, '|', kCaptionBreak, options.wide, options.defaultCharset);
        }
    }
    finish(std::nullopt);
    return true;
}

}  // namespace

bool SubViewerReader::read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    if (isVersionOne(lines))
        return readVersionOne(lines, model, options);
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = trimWhiteSpace(raw);
        if (line.empty() || line.front() == '[')
            continue;  // header tags such as [FONT] or [COLF] have no effect
        const ScanResult scan = scanPattern(line, "%d:%d:%d%c%d,%d:%d:%d%c%d");
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != 10)
            return false;
        const auto start = hundredthsTime(scan, 0);
        const auto end = hundredthsTime(scan, 5);
        if (!start || !end)
            return false;
        // The caption is the next line exactly as read, not trimmed.
        std::string_view text;
        if (!lines.next(text))
            text = {};
        const int codePage = options.wide ? 0 : codePageForCharset(options.defaultCharset);
        appendCaptionWithEnd(model, *start, *end,
                             replaceAllDbcs(text, "[br]", kCaptionBreak, codePage));
    }
    return true;
}

}  // namespace verbanta
