#pragma once

#include "formats/subtitle_reader.h"

namespace verbanta {

/// VPlayer (.txt): "h:m:s:" (or "h:m:s=", "h:m:s ", hundredths allowed) and the text on one
/// line, "|" for a line break, "#" for a comment line. Captions have no end time, so no end
/// syncs are added.
class VPlayerReader : public SubtitleReader {
public:
    std::string_view name() const override { return "vplayer"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
