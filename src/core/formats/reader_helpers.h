#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/sami_model.h"
#include "model/text_format.h"

namespace verbanta {

// Helpers shared by the foreign-format readers. Texts are byte strings; double-byte scanning
// follows the code page of a Windows character-set number (an SSA Encoding field, a MicroDVD
// "{h:" code), where 1 means the system code page, CP949.

/// The Windows character-set number that means "the system's default code page".
inline constexpr int kDefaultCharset = 1;

/// A caption's line break as the model stores it.
inline constexpr std::string_view kCaptionBreak = "<br>\r\n";

/// The code page of a Windows character-set number (129 -> 949, 128 -> 932, 0 -> 1252, ...);
/// 1 and every number without a mapping give the system code page, 949.
int CodePageForCharset(int charset);

/// Whether the byte starts a two-byte character in the code page; single-byte code pages have
/// no lead bytes.
bool IsLeadByte(int codePage, unsigned char byte);

/// The index of the first `ch` at or after `start`, or -1. Unless `wide` is set the text is
/// walked from its beginning so that trail bytes never match, and "\fe<digits>" inside a braced
/// block switches the walk to another character set ("\fe" alone switches back to `charset`).
std::ptrdiff_t FindCharDbcs(std::string_view text, char ch, std::size_t start, bool wide,
                            int charset);

/// Every index FindCharDbcs would return when searching again after each hit, in one pass.
std::vector<std::size_t> FindAllCharDbcs(std::string_view text, char ch, bool wide, int charset);

/// Replaces every `ch` found as FindCharDbcs finds it by `replacement`.
std::string ReplaceCharDbcs(std::string_view text, char ch, std::string_view replacement, bool wide,
                            int charset);

/// The text with every "{...}" block removed, then "\n" and "\N" turned into "<br>\r\n" and
/// "\h" into a space.
std::string StripOverrideBlocks(std::string_view text, bool wide, int charset);

/// SubRip's "<i>", "</i>", "<b>", "</b>", "<u>", "</u>" as the override codes "{\i1}", "{\i}",
/// "{\b1}", "{\b}", "{\u1}", "{\u}" (case-sensitive, every occurrence).
std::string SubRipTagsToOverrides(std::string_view text);

/// The outcome of ScanPattern: what a C formatted scan would return and store.
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
ScanResult ScanPattern(std::string_view text, std::string_view pattern);

/// A numeric field of an SSA or Xombie line: optional leading white space, then a decimal
/// integer with optional sign, or hexadecimal after "&H" in any case; whatever follows the
/// digits is ignored. Nothing when no digit can be read. Saturates like ScanPattern.
std::optional<std::int64_t> ParseNumberField(std::string_view field);

/// Reads comma-separated fields of an SSA or Xombie line from left to right.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : m_rest(text) {}
    /// The next field, up to the next "," after leading white space; nothing when the line has
    /// no more fields.
    std::optional<std::string_view> next();
    /// The next field read as ParseNumberField reads it; nothing when missing or not a number.
    std::optional<std::int64_t> nextNumber();
    /// Everything left, commas included, after leading white space; nothing when no field is
    /// left at all.
    std::optional<std::string_view> rest();

private:
    std::string_view m_rest;
    bool m_done = false;
};

/// The lines of a text, as a text-mode file read gives them: without the line feed and a
/// carriage return before it, and ending at a zero byte as C strings do.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}
    /// The next line; false at the end of the text.
    bool next(std::string_view& line);
    /// Back to the first line.
    void rewind() { m_pos = 0; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

/// Style name to character set, filled from a script's style lines.
using StyleCharsets = std::map<std::string, int, std::less<>>;

/// The style name a caption line names: leading "*" removed, "Default" in any case written
/// "Default".
std::string NormalizeStyleName(std::string_view name);

/// The character set of a caption's style: the style's own, else the "Default" style's, else 1.
int CharsetOfStyle(const StyleCharsets& styles, std::string_view normalizedName);

/// A numeric field as a character-set number, clamped to the int range.
int ToCharset(std::int64_t value);

/// Milliseconds that fit the model's signed 32-bit times, or nothing.
std::optional<std::int32_t> ToTime(std::int64_t ms);

/// Hours, minutes, seconds and a fraction counted in units of `msPerFraction` as a time, or
/// nothing when it does not fit. Fields are used as read, so "0:0:90" is 90 seconds.
std::optional<std::int32_t> ClockTime(std::int64_t hours, std::int64_t minutes,
                                      std::int64_t seconds, std::int64_t fraction = 0,
                                      int msPerFraction = 1);

/// A comma-separated time field "h:mm:ss.f" of an SSA or Xombie line, the fraction counted in
/// units of `msPerFraction`; nothing when it does not scan as four numbers or does not fit.
std::optional<std::int32_t> ParseClockField(std::string_view field, int msPerFraction);

/// Skips `numbers` numeric fields of a style line and reads the character set after them;
/// nothing when one of them is missing or not a number.
std::optional<int> ReadStyleCharset(FieldCursor& fields, int numbers);

/// The reading loop of the formats with one caption per line (SubRip braces, VPlayer): each
/// non-blank line, trimmed, with every "|" that FindCharDbcs finds turned into a caption break,
/// is scanned with the pattern. A line that ends before the first field is skipped like a blank
/// one; any count but `fields` fails the reader, and so does `onLine` (line, scan) returning
/// false.
template <class OnLine>
bool ReadScannedLines(LineReader& lines, bool wide, int charset, std::string_view pattern,
                      int fields, OnLine onLine)
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view trimmed = TrimWhiteSpace(raw);
        if (trimmed.empty())
            continue;
        const std::string line = ReplaceCharDbcs(trimmed, '|', kCaptionBreak, wide, charset);
        const ScanResult scan = ScanPattern(line, pattern);
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != fields || !onLine(std::string_view(line), scan))
            return false;
    }
    return true;
}

/// Appends a caption at the end of the current list, not recorded for undo; its position.
Position AppendCaption(SamiModel& model, std::int32_t startMs, std::string text);

/// Appends a caption and, after it, an end sync ("&nbsp;") at the end time.
void AppendCaptionWithEnd(SamiModel& model, std::int32_t startMs, std::int32_t endMs,
                          std::string text);

/// What follows the n-th "}" of a line; empty when the line has fewer.
std::string_view TextAfterBrace(std::string_view line, int n);

/// Every occurrence of `from` (non-empty) replaced by `to`, searching on after each
/// replacement; occurrences are found at character boundaries of the code page.
std::string ReplaceAllDbcs(std::string_view text, std::string_view from, std::string_view to,
                           int codePage);

/// ASCII lower case.
std::string ToLowerAscii(std::string_view text);

}  // namespace verbanta
