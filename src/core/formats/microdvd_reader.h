#pragma once

#include <array>
#include <optional>
#include <string>

#include "formats/subtitle_reader.h"

namespace verbanta {

/// One entry of the MicroDVD frame-rate choice.
struct FrameRate {
    std::string_view label;
    double framesPerSecond;
};

/// The frame rates offered for MicroDVD files, in the order shown.
inline constexpr std::array<FrameRate, 5> kFrameRates{{
    {"23.976", 23.976},
    {"24", 24.0},
    {"25", 25.0},
    {"29.97", 29.97},
    {"30", 30.0},
}};

/// The rate chosen each time an import starts: "25".
inline constexpr std::size_t kDefaultFrameRateIndex = 2;

/// A frame number as milliseconds: frame x (1000 / rate) truncated toward zero; nothing when
/// the result does not fit a time or the rate is not a positive number.
std::optional<std::int32_t> frameToMs(std::int64_t frame, double framesPerSecond);

/// A MicroDVD caption text with its "{c:$..}", "{f:..}", "{s:..}", "{h:..}", "{y:..}" and
/// "{o:..}" codes rewritten as override blocks and "|" joined as line breaks; lower-case codes
/// are closed again at the end of their line part.
std::string convertMicroDvdCodes(std::string_view text, bool wide, int charset);

/// The character set a default-style line's codes give ("{h:N}"), 1 without one.
int microDvdDefaultCharset(std::string_view codes);

/// MicroDVD (.sub): "{start}{end}" frame numbers and the text on one line, "|" for a line
/// break and "/" at a line's start for italics; "{name}{codes}" lines set the default style,
/// and a first entry "{1}{1}23.976" the file's frame rate.
class MicroDvdReader : public SubtitleReader {
public:
    std::string_view name() const override { return "microdvd"; }
    bool read(LineReader& lines, SamiModel& model, const ReaderOptions& options) const override;
};

}  // namespace verbanta
