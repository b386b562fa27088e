#include "formats/subviewer_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

// The fourth number of a time is hundredths of a second.
std::optional<std::int32_t> HundredthsTime(const ScanResult& scan, std::size_t first)
{
    const auto& f = scan.fields;
    return ClockTime(f[first], f[first + 1], f[first + 2], f[first + 4], 10);
}

}  // namespace

bool SubViewerReader::Read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = TrimWhiteSpace(raw);
        if (line.empty() || line.front() == '[')
            continue;  // header tags such as [FONT] or [COLF] have no effect
        const ScanResult scan = ScanPattern(line, "%d:%d:%d%c%d,%d:%d:%d%c%d");
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != 10)
            return false;
        const auto start = HundredthsTime(scan, 0);
        const auto end = HundredthsTime(scan, 5);
        if (!start || !end)
            return false;
        // The caption is the next line exactly as read, not trimmed.
        std::string_view text;
        if (!lines.next(text))
            text = {};
        const int codePage = options.wide ? 0 : CodePageForCharset(options.defaultCharset);
        AppendCaptionWithEnd(model, *start, *end,
                             ReplaceAllDbcs(text, "[br]", kCaptionBreak, codePage));
    }
    return true;
}

}  // namespace verbanta
