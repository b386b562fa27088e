#pragma once

#include <optional>

#include "formats/subtitle_reader.h"

namespace verbanta {

/// "h:mm:ss.cc" as milliseconds; nothing when it does not read as four numbers or does not fit.
std::optional<std::int32_t> parseSsaTime(std::string_view field);

/// Sub Station Alpha scripts, SSA (v4) and ASS (v4+): the style lines give the character sets
/// and every Dialogue line a caption with its override blocks removed.
class SsaReader : public SubtitleReader {
public:
    std::string_view name() const override { return "ssa"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
