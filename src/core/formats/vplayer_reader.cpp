#include "formats/vplayer_reader.h"

#include <string>

#include "model/sami_model.h"

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

bool VPlayerReader::Read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const
{
    return ReadScannedLines(lines, options.wide, options.defaultCharset, "%d:%d:%d:", 3,
                            [&](std::string_view line, const ScanResult& scan) {
                                const auto& f = scan.fields;
                                const auto time = ClockTime(f[0], f[1], f[2]);
                                if (!time)
                                    return false;
                                const std::string_view text = TextAfterTime(line);
                                // A bare "0:00:00:" line is a placeholder, not a caption.
                                if (*time != 0 || !text.empty())
                                    AppendCaption(model, *time, std::string(text));
                                return true;
                            });
}

}  // namespace verbanta
