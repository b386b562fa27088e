#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace verbanta {

// Case rules for markup names, extensions and keywords: only ASCII letters change case, so
// the bytes of CP949 text pass through untouched.

inline char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string toLowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

/// Whether two texts are equal when ASCII letters are compared without regard to case.
inline bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

/// Whether the text ends with the suffix, ASCII letters compared without regard to case.
inline bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

/// Where the needle first occurs in the text, ASCII letters compared without regard to case;
/// npos when it does not.
inline std::size_t findIgnoringCase(std::string_view text, std::string_view needle)
{
    const auto found = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                   [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
    return found == text.end() && !needle.empty() ? std::string_view::npos
                                                  : static_cast<std::size_t>(found - text.begin());
}

}  // namespace verbanta
