#include "formats/subrip_brace_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

bool SubRipBraceReader::Read(LineReader& lines, SamiModel& model,
                             const ReaderOptions& options) const
{
    return ReadScannedLines(lines, options.wide, options.defaultCharset, "{%d:%d:%d}{%d:%d:%d}", 6,
                            [&](std::string_view line, const ScanResult& scan) {
                                const auto& f = scan.fields;
                                const auto start = ClockTime(f[0], f[1], f[2]);
                                const auto end = ClockTime(f[3], f[4], f[5]);
                                if (!start || !end)
                                    return false;
                                AppendCaptionWithEnd(model, *start, *end,
                                                     std::string(TextAfterBrace(line, 2)));
                                return true;
                            });
}

}  // namespace verbanta
