#include "formats/vplayer_reader.h"

#include <string>

#include "model/sami_model.h"
#include "model/text_format.h"

namespace verbanta {

namespace {

// What follows the third ":" of the line, or the whole line when it has fewer.
std::string_view TextAfterTime(std::string_view line)
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

bool VPlayerReader::Read(LineReader& lines, SamiModel& model,
                         const ReaderOptions& options) const
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view trimmed = TrimWhiteSpace(raw);
        if (trimmed.empty())
            continue;
        const std::string line =
            ReplaceCharDbcs(trimmed, '|', kCaptionBreak, options.wide, options.defaultCharset);
        const ScanResult scan = ScanPattern(line, "%d:%d:%d:");
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != 3)
            return false;
        const auto& f = scan.fields;
        const auto time = ToTime(std::int64_t{f[0]} * 3600000 + std::int64_t{f[1]} * 60000 +
                                 std::int64_t{f[2]} * 1000);
        if (!time)
            return false;
        const std::string_view text = TextAfterTime(line);
        // A bare "0:00:00:" line is a placeholder, not a caption.
        if (*time != 0 || !text.empty())
            AppendCaption(model, *time, std::string(text));
    }
    return true;
}

}  // namespace verbanta
