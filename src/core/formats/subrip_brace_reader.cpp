#include "formats/subrip_brace_reader.h"

#include <string>

#include "model/sami_model.h"

namespace verbanta {

bool SubRipBraceReader::read(LineReader& lines, SamiModel& model,
                             const ReaderOptions& options) const
{
    return readScannedLines(lines, options.wide, options.defaultCharset, "{%d:%d:%d}{%d:%d:%d}", 6,
                            [&](std::string_view line, const ScanResult& scan) {
                                const auto& f = scan.fields;
                                const auto start = clockTime(f[0], f[1], f[2]);
                                const auto end = clockTime(f[3], f[4], f[5]);
                                if (!start || !end)
                                    return false;
                                appendCaptionWithEnd(model, *start, *end,
                                                     std::string(textAfterBrace(line, 2)));
                                return true;
                            });
}

}  // namespace verbanta
