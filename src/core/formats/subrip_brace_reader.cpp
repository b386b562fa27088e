#include "formats/subrip_brace_reader.h"

#include <string>

#include "model/sami_model.h"
#include "model/text_format.h"

namespace verbanta {

namespace {

std::int64_t SecondsTime(const ScanResult& scan, std::size_t first)
{
    const auto& f = scan.fields;
    return std::int64_t{f[first]} * 3600000 + std::int64_t{f[first + 1]} * 60000 +
           std::int64_t{f[first + 2]} * 1000;
}

}  // namespace

bool SubRipBraceReader::Read(LineReader& lines, SamiModel& model,
                             const ReaderOptions& options) const
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view trimmed = TrimWhiteSpace(raw);
        if (trimmed.empty())
            continue;
        const std::string line =
            ReplaceCharDbcs(trimmed, '|', kCaptionBreak, options.wide, options.defaultCharset);
        const ScanResult scan = ScanPattern(line, "{%d:%d:%d}{%d:%d:%d}");
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != 6)
            return false;
        const auto start = ToTime(SecondsTime(scan, 0));
        const auto end = ToTime(SecondsTime(scan, 3));
        if (!start || !end)
            return false;
        AppendCaptionWithEnd(model, *start, *end, std::string(TextAfterBrace(line, 2)));
    }
    return true;
}

}  // namespace verbanta
