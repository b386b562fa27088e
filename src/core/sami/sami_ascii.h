#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "model/ascii_case.h"

namespace verbanta::sami {

// Byte-level helpers shared by the reader and the rule setters. Only ASCII letters change
// case: CP949 bytes pass through untouched.

/// The white space that separates markup: space, tab, CR and LF.
inline bool isMarkupSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

using verbanta::equalsIgnoringCase;
using verbanta::upperAscii;

inline std::string upperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = upperAscii(c);
    return out;
}

/// The leading decimal number after an optional sign, 0 when there is none. Values beyond the
/// 32-bit range saturate, so that a time written back reads back the same.
inline std::int32_t parseDecimal(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kLimit);
    if (negative)
        value = -value;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace verbanta::sami
