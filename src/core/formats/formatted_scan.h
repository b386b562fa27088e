#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace verbanta {

// How the foreign-format readers take their lines apart: a formatted scan with the C library's
// rules, the numeric and comma-separated fields of SSA and Xombie scripts, and times.

/// The outcome of scanPattern: what a C formatted scan would return and store.
struct ScanResult {
    static constexpr int kEndOfInput = -1;
    static constexpr std::size_t kMaxFields = 16;
    /// Number of fields stored, or kEndOfInput when the input ended before the first one.
    int count = 0;
    /// The fields in order: "%d" as its value, "%c" as the byte's value (0..255).
    std::array<std::int32_t, kMaxFields> fields{};
    /// Where the scan stopped in the text.
    std::size_t end = 0;
};

/// Scans the text with a pattern of "%d", "%c", white space and literal bytes as the C
/// library's formatted scan does: "%d" skips white space and reads an optional sign and at least
/// one decimal digit, "%c" takes any one byte, white space in the pattern matches any run of
/// white space (none included), and any other byte must match itself. Unlike the C library, a
/// number out of range is defined: it saturates at INT32_MAX or INT32_MIN. Fields past
/// kMaxFields are matched but not stored.
ScanResult scanPattern(std::string_view text, std::string_view pattern);

/// A numeric field of an SSA or Xombie line: optional leading white space, then a decimal
/// integer with optional sign, or hexadecimal after "&H" in any case; whatever follows the
/// digits is ignored. Nothing when no digit can be read. Saturates like scanPattern.
std::optional<std::int64_t> parseNumberField(std::string_view field);

/// Reads comma-separated fields of an SSA or Xombie line from left to right.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : m_rest(text) {}
    /// The next field, up to the next "," after leading white space; nothing when the line has
    /// no more fields.
    std::optional<std::string_view> next();
    /// The next field read as parseNumberField reads it; nothing when missing or not a number.
    std::optional<std::int64_t> nextNumber();
    /// Everything left, commas included, after leading white space; nothing when no field is
    /// left at all.
    std::optional<std::string_view> rest();

private:
    std::string_view m_rest;
    bool m_done = false;
};

/// The lines of a text without their line ends (LF, CR LF, or a CR alone; CRs before an LF
/// are part of its line end), each ending at a zero byte as C strings do.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}
    /// The next line; false at the end of the text.
    bool next(std::string_view& line);
    /// Back to the first line.
    void rewind()
    {
        m_pos = 0;
        m_loneCrsUntil = 0;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    /// The end of the run of CRs that each end a line of their own, once it has been found.
    std::size_t m_loneCrsUntil = 0;
};

/// Milliseconds that fit the model's signed 32-bit times, or nothing.
std::optional<std::int32_t> toTime(std::int64_t ms);

/// Hours, minutes, seconds and a fraction counted in units of `msPerFraction` as a time, or
/// nothing when it does not fit. Fields are used as read, so "0:0:90" is 90 seconds.
std::optional<std::int32_t> clockTime(std::int64_t hours, std::int64_t minutes,
                                      std::int64_t seconds, std::int64_t fraction = 0,
                                      int msPerFraction = 1);

/// A comma-separated time field "h:mm:ss.f" of an SSA or Xombie line, the fraction counted in
/// units of `msPerFraction`; nothing when it does not scan as four numbers or does not fit.
std::optional<std::int32_t> parseClockField(std::string_view field, int msPerFraction);

}  // namespace verbanta
