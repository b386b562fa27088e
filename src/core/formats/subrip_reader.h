#pragma once

#include "formats/subtitle_reader.h"

namespace verbanta {

/// SubRip (.srt): a counter line, a "start --> end" time line, then text lines up to the next
/// entry, read as other tools read them: milliseconds may be missing or short, the counter
/// missing or wrong, blank lines may fall inside a caption, and an entry whose time line does
/// not read is skipped and noted. The file's "<i>", "<b>" and "<u>" tags are kept as written,
/// since SAMI shows them as HTML.
class SubRipReader : public SubtitleReader {
public:
    std::string_view name() const override { return "srt"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
