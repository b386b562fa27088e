#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cue_builder.h"
#include "model/paragraph_style.h"

namespace verbanta {

/// Writes cues as an Advanced SubStation (v4.00+) script: UTF-8 with a byte-order mark, CR LF
/// line ends, one Default style made from the model's P rule and one Dialogue line per cue.
///
/// The canvas is 640 x 480, the picture SAMI's point sizes were made for, so the style's font
/// size is the P rule's size in points as pixels at 96 dpi. Markup becomes override blocks
/// ("{\i1}", "{\c&H00FFFF&}", ...), line breaks "\N".
class AssWriter {
public:
    static constexpr int kPlayResX = 640;
    static constexpr int kPlayResY = 480;

    /// `paragraphRule` and `cp949Title` are the model's P rule and title.
    AssWriter(const ParagraphStyle& paragraphRule, std::string_view cp949Title);

    std::string write(const std::vector<Cue>& cues) const;

    /// "H:MM:SS.cc", rounded to the nearest hundredth; hours are not limited.
    static std::string formatTime(std::int32_t ms);
    /// "&H00BBGGRR" of a 0xRRGGBB colour (opaque).
    static std::string formatStyleColor(std::uint32_t rgb);
    /// The Default style line.
    std::string styleLine() const;

private:
    const ParagraphStyle& m_rule;
    std::string m_title;  ///< UTF-8
};

}  // namespace verbanta
