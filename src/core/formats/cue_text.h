#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verbanta {

// The neutral markup of a cue's text (see `Cue`) as the writers walk it, and the colours it
// names.

/// A colour as HTML and CSS write it: one of the CSS colour names (any case), "#rgb",
/// "#rrggbb", or six hex digits without "#"; the result is 0xRRGGBB.
std::optional<std::uint32_t> parseColor(std::string_view text);

/// The CSS name of a colour when it has one (the first name in the table for shared values),
/// else empty.
std::string_view colorName(std::uint32_t rgb);

/// One piece of a cue's neutral markup, as the writers walk it.
struct CueToken {
    enum class Kind { Text, LineBreak, Open, Close };
    enum class Style { Bold, Italic, Underline, Color };

    Kind kind = Kind::Text;
    Style style = Style::Bold;  ///< for Open and Close
    std::uint32_t color = 0;    ///< for Open of Style::Color, 0xRRGGBB
    std::string_view text;      ///< for Text: the characters, still escaped
};

/// Splits neutral markup into tokens; a Text token never holds markup.
std::vector<CueToken> tokenizeCueText(std::string_view neutral);

/// Appends the text of a Text token with "&lt;", "&gt;" and "&amp;" turned back into characters.
void appendUnescaped(std::string& out, std::string_view escaped);

/// How a format with HTML-like tags (SubRip, WebVTT) writes a cue's text: both write <b>, <i>
/// and <u> and CR LF line breaks, and differ in escapes and colours.
struct CueTagSyntax {
    /// Whether "&lt;", "&gt;" and "&amp;" stay escaped (WebVTT) or become characters (SubRip).
    bool keepEscapes = false;
    /// The start tag of a colour; empty when the format cannot show that colour, and then its
    /// end tag is left out too.
    std::string (*colorStartTag)(std::uint32_t rgb) = nullptr;
    std::string_view colorEndTag;
};

/// Appends a cue's neutral markup in a tag syntax, lines separated by CR LF.
void appendTaggedCueText(std::string& out, std::string_view neutral, const CueTagSyntax& syntax);

/// Appends a time as "H:MM:SS" + separator + milliseconds (or hundredths, rounded), the hours
/// with at least `hourDigits` digits; a negative time is written as 0.
void appendCueTime(std::string& out, std::int32_t ms, int hourDigits, char separator,
                   bool hundredths);

/// The cue's text without markup, lines joined with "\n".
std::string cuePlainText(std::string_view neutral);

}  // namespace verbanta
