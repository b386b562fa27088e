#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace verbanta {

// Search in CP949 caption text. Matches begin only where a character begins (a byte with the
// high bit set starts a two-byte character), and without match case only ASCII letters are
// folded, never the second byte of a two-byte character.

/// The first match at or after `from`, or -1; an empty pattern never matches.
std::ptrdiff_t findForward(std::string_view text, std::string_view pattern, std::size_t from,
                           bool matchCase);

/// The last match that begins before `before`, or -1.
std::ptrdiff_t findBackward(std::string_view text, std::string_view pattern, std::size_t before,
                            bool matchCase);

/// Replaces every non-overlapping match, left to right; the text between matches keeps its own
/// letters. The number of matches replaced.
int replaceEvery(std::string& text, std::string_view pattern, std::string_view replacement,
                 bool matchCase);

}  // namespace verbanta
