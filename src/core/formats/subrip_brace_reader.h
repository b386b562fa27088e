#pragma once

#include "formats/subtitle_reader.h"

namespace verbanta {

/// SubRip's braced variant: "{h:m:s}{h:m:s}" and the text on one line, "|" for a line break.
class SubRipBraceReader : public SubtitleReader {
public:
    std::string_view name() const override { return "srt-braces"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
