#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cue_builder.h"

namespace verbanta {

/// Writes cues as a WebVTT file: UTF-8 without a byte-order mark, CR LF line ends.
///
/// <b>, <i> and <u> are WebVTT's own tags. A font colour that is one of WebVTT's eight default
/// colour classes (white, lime, cyan, red, yellow, magenta, blue, black) becomes a class span,
/// "<c.yellow>", which players colour without any style sheet; other colours are dropped.
/// There is deliberately no STYLE block: ffmpeg 5 (and the players built on it) stops reading
/// a file at the first block that has no cue timing, and would show nothing at all.
class WebVttWriter {
public:
    std::string write(const std::vector<Cue>& cues) const;

    /// "HH:MM:SS.mmm"; hours grow past two digits when they must.
    static std::string formatTime(std::int32_t ms);

    /// The default colour class of a colour, or empty when it has none.
    static std::string_view colorClass(std::uint32_t rgb);
};

}  // namespace verbanta
