#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/formatted_scan.h"
#include "model/ascii_case.h"
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
int codePageForCharset(int charset);

/// Whether the byte starts a two-byte character in the code page; single-byte code pages have
/// no lead bytes.
bool isLeadByte(int codePage, unsigned char byte);

/// The index of the first `ch` at or after `start`, or -1. Unless `wide` is set the text is
/// walked from its beginning so that trail bytes never match, and "\fe<digits>" inside a braced
/// block switches the walk to another character set ("\fe" alone switches back to `charset`).
std::ptrdiff_t FindCharDbcs(std::string_view text, char ch, std::size_t start, bool wide,
                            int charset);

/// Every index FindCharDbcs would return when searching again after each hit, in one pass.
std::vector<std::size_t> findAllCharDbcs(std::string_view text, char ch, bool wide, int charset);

/// Replaces every `ch` found as FindCharDbcs finds it by `replacement`.
std::string replaceCharDbcs(std::string_view text, char ch, std::string_view replacement, bool wide,
                            int charset);

/// The text with every "{...}" block removed, then "\n" and "\N" turned into "<br>\r\n" and
/// "\h" into a space.
std::string StripOverrideBlocks(std::string_view text, bool wide, int charset);

/// SubRip's "<i>", "</i>", "<b>", "</b>", "<u>", "</u>" as the override codes "{\i1}", "{\i}",
/// "{\b1}", "{\b}", "{\u1}", "{\u}" (case-sensitive, every occurrence).
std::string SubRipTagsToOverrides(std::string_view text);

/// Style name to character set, filled from a script's style lines.
using StyleCharsets = std::map<std::string, int, std::less<>>;

/// The style name a caption line names: leading "*" removed, "Default" in any case written
/// "Default".
std::string normalizeStyleName(std::string_view name);

/// The character set of a caption's style: the style's own, else the "Default" style's, else 1.
int charsetOfStyle(const StyleCharsets& styles, std::string_view normalizedName);

/// A numeric field as a character-set number, clamped to the int range.
int toCharset(std::int64_t value);

/// Skips `numbers` numeric fields of a style line and reads the character set after them;
/// nothing when one of them is missing or not a number.
std::optional<int> readStyleCharset(FieldCursor& fields, int numbers);

/// The reading loop of the formats with one caption per line (SubRip braces, VPlayer): each
/// non-blank line, trimmed, with every "|" that FindCharDbcs finds turned into a caption break,
/// is scanned with the pattern. A line that ends before the first field is skipped like a blank
/// one; any count but `fields` fails the reader, and so does `onLine` (line, scan) returning
/// false.
template <class OnLine>
bool readScannedLines(LineReader& lines, bool wide, int charset, std::string_view pattern,
                      int fields, OnLine onLine)
{
    std::string_view raw;
    while (lines.next(raw)) {
        const std::string_view trimmed = trimWhiteSpace(raw);
        if (trimmed.empty())
            continue;
        const std::string line = replaceCharDbcs(trimmed, '|', kCaptionBreak, wide, charset);
        const ScanResult scan = scanPattern(line, pattern);
        if (scan.count == ScanResult::kEndOfInput)
            continue;
        if (scan.count != fields || !onLine(std::string_view(line), scan))
            return false;
    }
    return true;
}

/// Appends a caption at the end of the current list, not recorded for undo; its position.
Position appendCaption(SamiModel& model, std::int32_t startMs, std::string text);

/// Appends a caption and, after it, an end sync ("&nbsp;") at the end time.
void appendCaptionWithEnd(SamiModel& model, std::int32_t startMs, std::int32_t endMs,
                          std::string text);

/// What follows the n-th "}" of a line; empty when the line has fewer.
std::string_view textAfterBrace(std::string_view line, int n);

/// Every occurrence of `from` (non-empty) replaced by `to`, searching on after each
/// replacement; occurrences are found at character boundaries of the code page.
std::string replaceAllDbcs(std::string_view text, std::string_view from, std::string_view to,
                           int codePage);

}  // namespace verbanta
