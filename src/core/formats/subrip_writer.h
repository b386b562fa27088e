#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/cue_builder.h"

namespace verbanta {

/// Writes cues as a SubRip file: UTF-8 with a byte-order mark, CR LF line ends, cues numbered
/// from 1, <b>, <i>, <u> and <font color="#rrggbb"> as the markup players know.
class SubRipWriter {
public:
    std::string write(const std::vector<Cue>& cues) const;

    /// "HH:MM:SS,mmm"; hours grow past two digits when they must.
    static std::string formatTime(std::int32_t ms);
};

}  // namespace verbanta
