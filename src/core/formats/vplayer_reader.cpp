#include "formats/vplayer_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

// What follows the third ":" of the line, or the whole line when it has fewer.
std::string_view textAfterTime(std::string_view line)
{
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = line.find(':', pos);
        if (colon == std::string_view::npos)
            return line;
        pos = colon + 1;
    }
    return line.substr(pos);
}

}  // namespace

bool VPlayerReader::read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view trimmed = trimWhiteSpace(raw);
        if (trimmed.empty() || trimmed.front() == '#')
            continue;  // "#" starts a comment line
        const std::string line =
            replaceCharDbcs(trimmed, '|', kCaptionBreak, options.wide, options.defaultCharset);
        const ScanResult scan = scanPattern(line, "%d:%d:%d");
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != 3)
            return false;
        const auto& f = scan.fields;
        std::size_t at = scan.end;
        // Hundredths may follow the seconds: "0:00:05.50".
        std::int64_t hundredths = 0;
        if (at + 1 < line.size() && line[at] == '.' && line[at + 1] >= '0' && line[at + 1] <= '9') {
            const ScanResult fraction = scanPattern(std::string_view(line).substr(at + 1), "%d");
            hundredths = fraction.fields[0];
            at += 1 + fraction.end;
        }
        const auto time = clockTime(f[0], f[1], f[2], hundredths, 10);
        if (!time)
            return false;
        // The time ends in ":", "=" or a blank before the text; any other byte keeps the
        // older reading, the text after the line's third ":".
        std::string_view text;
        if (at < line.size())
            text = std::string_view(": =").find(line[at]) != std::string_view::npos
                       ? std::string_view(line).substr(at + 1)
                       : textAfterTime(line);
        // A bare "0:00:00:" line is a placeholder, not a caption.
        if (*time != 0 || !text.empty())
            appendCaption(model, *time, std::string(text));
    }
    return true;
}

}  // namespace verbanta
