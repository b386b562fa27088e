#pragma once

#include <optional>

#include "formats/subtitle_reader.h"

namespace verbanta {

/// "h:mm:ss.mmm" as milliseconds; nothing when it does not read as four numbers or does not fit.
std::optional<std::int32_t> parseXombieTime(std::string_view field);

/// Xombie scripts (.xss): "Style=" lines give the character sets and every "Line=D,..." line a
/// caption with its override blocks removed.
class XombieReader : public SubtitleReader {
public:
    std::string_view name() const override { return "xombie"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
