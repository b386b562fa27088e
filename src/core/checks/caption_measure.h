#pragma once

#include <string_view>

namespace verbanta {

/// What the caption checks measure in one caption's CP949 SAMI text.
///
/// Letters are counted in halves, as the common Korean guidance counts them: a Hangul syllable
/// or any other double-byte character is one letter (two halves), a Latin letter, digit, space
/// or punctuation mark half a letter. Markup does not count; an entity counts as the character
/// it stands for. Lines are split at "<br>"; white space at either end of a line and blank
/// lines before the first and after the last line with text are not counted.
struct CaptionMeasure {
    int halfLetters = 0;             ///< all lines together
    int longestLineHalfLetters = 0;  ///< the line with most letters
    int lines = 0;                   ///< 0 for a caption without visible text
    /// Start tags never ended and end tags never started within the caption (or ended across
    /// another element). "<br>" and the like stand alone; the caption's own P element and its
    /// SYNC are not the caption's markup and never count.
    int unbalancedTags = 0;
};

CaptionMeasure measureCaption(std::string_view text);

}  // namespace verbanta
