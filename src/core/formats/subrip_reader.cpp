#include "formats/subrip_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

namespace {

constexpr std::string_view kTimeLine = "%d%c%d%c%d%c%d --> %d%c%d%c%d%c%d";
constexpr int kTimeLineFields = 14;

// Hours, minutes, seconds and milliseconds from four numbers with a separator after each of the
// first three; the fraction is added as written, so "5" after the comma is 5 ms.
std::optional<std::int32_t> TimeOf(const ScanResult& scan, std::size_t first)
{
    const auto& f = scan.fields;
    return ClockTime(f[first], f[first + 2], f[first + 4], f[first + 6]);
}

}  // namespace

bool SubRipReader::Read(LineReader& lines, SamiModel& model, const ReaderOptions&) const
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view line = TrimWhiteSpace(raw);
        if (line.empty())
            continue;
        const ScanResult scan = ScanPattern(line, kTimeLine);
        if (scan.count == 1 || scan.count == ScanResult::kEndOfInput)
            continue;  // a counter line
        if (scan.count != kTimeLineFields)
            return false;
        const auto start = TimeOf(scan, 0);
        const auto end = TimeOf(scan, 7);
        if (!start || !end)
            return false;

        // The caption runs to the next counter that follows a blank line, or to the end.
        std::string text;
        bool blankSeen = false;
        while (lines.next(raw)) {
            const std::string_view textLine = TrimWhiteSpace(raw);
            if (textLine.empty()) {
                blankSeen = true;
                continue;
            }
            if (blankSeen && ScanPattern(textLine, "%d%c").count == 1)
                break;
            if (!blankSeen && !text.empty())
                text += kCaptionBreak;
            text += textLine;
        }
        AppendCaptionWithEnd(model, *start, *end, std::move(text));
    }
    return true;
}

}  // namespace verbanta
