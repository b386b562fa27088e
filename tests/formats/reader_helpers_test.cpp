#include "formats/reader_helpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <random>

namespace verbanta {
namespace {

// ---- the formatted scan ---------------------------------------------------------------------

// What the C library's sscanf stores for a pattern of %d and %c, for inputs whose numbers fit.
ScanResult cScan(const std::string& text, const std::string& pattern)
{
    std::array<int, ScanResult::kMaxFields> ints{};
    std::array<char, ScanResult::kMaxFields> chars{};
    std::array<void*, ScanResult::kMaxFields> args{};
    std::vector<bool> isChar;
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i)
        if (pattern[i] == '%')
            isChar.push_back(pattern[++i] == 'c');
    for (std::size_t i = 0; i < args.size(); ++i)
        args[i] = i < isChar.size() && isChar[i] ? static_cast<void*>(&chars[i])
                                                 : static_cast<void*>(&ints[i]);
    ScanResult r;
    r.count = std::sscanf(text.c_str(), pattern.c_str(), args[0], args[1], args[2], args[3],
                          args[4], args[5], args[6], args[7], args[8], args[9], args[10],
                          args[11], args[12], args[13], args[14], args[15]);
    for (int i = 0; i < r.count; ++i) {
        const auto u = static_cast<std::size_t>(i);
        r.fields[u] = isChar[u] ? static_cast<unsigned char>(chars[u]) : ints[u];
    }
    return r;
}

TEST(ScanPattern, AgreesWithTheCLibraryOnEveryPatternTheReadersUse)
{
    const std::vector<std::string> patterns = {
        "%d%c%d%c%d%c%d --> %d%c%d%c%d%c%d", "%d%c", "{%d:%d:%d}{%d:%d:%d}", "{%d}{%d}",
        "{%d}{}", "%d:%d:%d%c%d,%d:%d:%d%c%d", "%d:%d:%d:", "%d:%d:%d.%d", "%d"};
    const std::vector<std::string> inputs = {
        "", " ", "1", "12 ", "-", "+", "+5", "-7x", "abc", "12 apples", "{", "{5", "{5}",
        "{5}{}", "{5}{}Hi", "{5}{6}Hi", "{ 5}{ -6}", "{5}x", "{0:0:1}{0:0:3}Hi",
        "{0:0:1}{0:0:3", "00:00:01,000 --> 00:00:02,500", "00:00:01.000-->00:00:02.500",
        "00:00:01,000 -> 00:00:02,500", "0:01:02,5 --> 0:01:03,0 X1:0", "1:2:3:", "1:2:3",
        "0:00:41.00,0:00:44.40", "0:00:41.00;0:00:44.40", "1:2:3.45", "1 : 2 : 3 :", "\t-3",
        "12:", "7 -->", "1%2"};
    for (const auto& pattern : patterns) {
        for (const auto& input : inputs) {
            const ScanResult ours = scanPattern(input, pattern);
            const ScanResult theirs = cScan(input, pattern);
            ASSERT_EQ(ours.count, theirs.count) << '"' << input << "\" with " << pattern;
            for (int i = 0; i < ours.count; ++i)
                EXPECT_EQ(ours.fields[static_cast<std::size_t>(i)],
                          theirs.fields[static_cast<std::size_t>(i)])
                    << '"' << input << "\" with " << pattern << " field " << i;
        }
    }
}

TEST(ScanPattern, SaturatesNumbersOutOfRange)
{
    EXPECT_EQ(scanPattern("99999999999", "%d").fields[0], std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(scanPattern("-99999999999", "%d").fields[0],
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(scanPattern("2147483647", "%d").fields[0], 2147483647);
    EXPECT_EQ(scanPattern("-2147483648", "%d").fields[0], -2147483647 - 1);
    const ScanResult huge = scanPattern(std::string(100000, '9') + ":1", "%d:%d");
    EXPECT_EQ(huge.count, 2);
    EXPECT_EQ(huge.fields[0], std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(huge.fields[1], 1);
}

TEST(ScanPattern, CountsFieldsPastTheStoredOnes)
{
    std::string pattern;
    std::string input;
    for (int i = 0; i < 20; ++i) {
        pattern += "%d,";
        input += std::to_string(i) + ",";
    }
    const ScanResult r = scanPattern(input, pattern);
    EXPECT_EQ(r.count, 20);
    EXPECT_EQ(r.fields[15], 15);
}

// ---- numeric and comma-separated fields -------------------------------------------------------

TEST(ParseNumberField, ReadsDecimalAndHexadecimalPrefixes)
{
    EXPECT_EQ(parseNumberField("129"), 129);
    EXPECT_EQ(parseNumberField("  -2"), -2);
    EXPECT_EQ(parseNumberField("2.5"), 2);
    EXPECT_EQ(parseNumberField("&H00FF"), 255);
    EXPECT_EQ(parseNumberField("&h1f&"), 31);
    EXPECT_EQ(parseNumberField("&HFFFFFFFFFFFF"), 4294967295LL);
    EXPECT_EQ(parseNumberField("99999999999999"), std::numeric_limits<std::int32_t>::max());
    for (const char* bad : {"", " ", "x1", "&H", "&Hzz", "-", "Default"})
        EXPECT_FALSE(parseNumberField(bad).has_value()) << bad;
}

TEST(FieldCursor, SplitsAtCommasAndKeepsTheRestWhole)
{
    FieldCursor f(" 0, 0:00:01.00 ,Default,,7,Hi, there, you");
    EXPECT_EQ(f.nextNumber(), 0);
    EXPECT_EQ(f.next(), "0:00:01.00 ");
    EXPECT_EQ(f.next(), "Default");
    EXPECT_EQ(f.next(), "");
    EXPECT_EQ(f.nextNumber(), 7);
    EXPECT_EQ(f.rest(), "Hi, there, you");
    EXPECT_FALSE(f.next().has_value());
    EXPECT_FALSE(f.rest().has_value());

    FieldCursor last("a,b");
    EXPECT_EQ(last.next(), "a");
    EXPECT_EQ(last.next(), "b");
    EXPECT_FALSE(last.next().has_value());
    EXPECT_FALSE(last.rest().has_value());
}

TEST(LineReader, EndsLinesAtLfCrLfOrACrAlone)
{
    using namespace std::literals;
    LineReader lines("a\r\nb\n\nc\rd\r\ne\0f\ng\r\r\nh\r\ri"sv);
    std::vector<std::string> got;
    std::string_view line;
    while (lines.next(line))
        got.emplace_back(line);
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "", "c", "d", "e", "g", "h", "", "i"}));
    lines.rewind();
    ASSERT_TRUE(lines.next(line));
    EXPECT_EQ(line, "a");
}

// ---- character sets and double-byte searching -------------------------------------------------

TEST(CharsetMapping, FollowsTheWindowsTable)
{
    EXPECT_EQ(codePageForCharset(129), 949);
    EXPECT_EQ(codePageForCharset(128), 932);
    EXPECT_EQ(codePageForCharset(134), 936);
    EXPECT_EQ(codePageForCharset(136), 950);
    EXPECT_EQ(codePageForCharset(130), 1361);
    EXPECT_EQ(codePageForCharset(0), 1252);
    EXPECT_EQ(codePageForCharset(204), 1251);
    // 1 and numbers without a mapping are the system's code page.
    EXPECT_EQ(codePageForCharset(1), 949);
    EXPECT_EQ(codePageForCharset(77), 949);
    EXPECT_EQ(codePageForCharset(-5), 949);
    EXPECT_TRUE(isLeadByte(949, 0xB0));
    EXPECT_FALSE(isLeadByte(949, 0x7C));
    EXPECT_TRUE(isLeadByte(932, 0x95));
    EXPECT_FALSE(isLeadByte(932, 0xA5));  // half-width katakana is one byte
    EXPECT_FALSE(isLeadByte(1252, 0xE9));
}

TEST(FindCharDbcs, NeverMatchesATrailByte)
{
    // 0x95 0x7C is one Shift-JIS character whose trail byte is "|".
    const std::string text = "\x95|a|";
    EXPECT_EQ(FindCharDbcs(text, '|', 0, false, 128), 3);
    EXPECT_EQ(FindCharDbcs(text, '|', 0, false, 0), 1);
    EXPECT_EQ(FindCharDbcs(text, '|', 0, true, 128), 1);
    EXPECT_EQ(FindCharDbcs(text, '|', 2, false, 0), 3);
    EXPECT_EQ(FindCharDbcs(text, '|', 4, false, 0), -1);
    EXPECT_EQ(FindCharDbcs(text, 'x', 0, false, 1), -1);
    // A lead byte at the very end has no trail to skip.
    EXPECT_EQ(FindCharDbcs("a\x95", '\x95', 0, false, 0), 1);
    EXPECT_EQ(FindCharDbcs("\x95", '|', 0, false, 128), -1);
}

TEST(FindCharDbcs, SwitchesCodePageOnFeCodesInsideBlocks)
{
    // "{\fe128}" makes the walk read Shift-JIS, so the "|" after 0x95 is a trail byte.
    EXPECT_EQ(FindCharDbcs("{\\fe128}\x95|x|", '|', 0, false, 0), 11);
    // "\fe" alone goes back to the character set given to the search.
    EXPECT_EQ(FindCharDbcs("{\\fe128\\fe}\x95|", '|', 0, false, 0), 12);
    // Outside a block the code means nothing.
    EXPECT_EQ(FindCharDbcs("\\fe128 \x95|", '|', 0, false, 0), 8);
    // Wide text is searched plainly.
    EXPECT_EQ(FindCharDbcs("{\\fe128}\x95|x|", '|', 0, true, 0), 9);
}

TEST(FindAllCharDbcs, FindsWhatRepeatedSearchesFind)
{
    const std::string text = "a|\x95|{\\fe128}\x95||b";
    for (int charset : {0, 1, 128}) {
        std::vector<std::size_t> repeated;
        std::ptrdiff_t at = FindCharDbcs(text, '|', 0, false, charset);
        while (at >= 0) {
            repeated.push_back(static_cast<std::size_t>(at));
            at = FindCharDbcs(text, '|', static_cast<std::size_t>(at) + 1, false, charset);
        }
        EXPECT_EQ(findAllCharDbcs(text, '|', false, charset), repeated) << charset;
    }
    EXPECT_EQ(replaceCharDbcs("A|B", '|', "<br>\r\n", false, 1), "A<br>\r\nB");
}

// ---- override blocks and SubRip tags --------------------------------------------------------

TEST(StripOverrideBlocks, RemovesBlocksAndTurnsEscapesIntoBreaks)
{
    EXPECT_EQ(StripOverrideBlocks("Hi{\\i1}there\\Nnext", false, 1), "Hithere<br>\r\nnext");
    EXPECT_EQ(StripOverrideBlocks("a\\nb\\hc", false, 1), "a<br>\r\nb c");
    EXPECT_EQ(StripOverrideBlocks("{\\an8}{\\pos(1,2)}top", false, 1), "top");
    EXPECT_EQ(StripOverrideBlocks("keep {open", false, 1), "keep {open");
    EXPECT_EQ(StripOverrideBlocks("a{x{y}b}c", false, 1), "ab}c");
    EXPECT_EQ(StripOverrideBlocks("", false, 1), "");
    // In Shift-JIS the "{" after 0x95 is a trail byte, not a block.
    EXPECT_EQ(StripOverrideBlocks("\x95{x}y", false, 128), "\x95{x}y");
    EXPECT_EQ(StripOverrideBlocks("\x95{x}y", false, 0), "\x95y");
}

// The definition itself: search "{" from the start, then "}", delete, search again from there.
std::string stripBySearching(std::string text, bool wide, int charset)
{
    std::size_t from = 0;
    while (true) {
        const std::ptrdiff_t open = FindCharDbcs(text, '{', from, wide, charset);
        if (open < 0)
            break;
        const std::ptrdiff_t close =
            FindCharDbcs(text, '}', static_cast<std::size_t>(open), wide, charset);
        if (close < 0)
            break;
        text.erase(static_cast<std::size_t>(open), static_cast<std::size_t>(close - open + 1));
        from = static_cast<std::size_t>(open);
    }
    return text;
}

TEST(StripOverrideBlocks, MatchesRepeatedSearchingOnRandomText)
{
    const std::string alphabet = "{}\\fe1289a|\x95\x81 ";
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string text(rng() % 24, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        for (int charset : {0, 1, 128}) {
            const bool wide = round % 7 == 0;
            // Escapes are replaced after the blocks; compare with none present.
            std::string expected = stripBySearching(text, wide, charset);
            if (expected.find('\\') != std::string::npos)
                continue;
            ASSERT_EQ(StripOverrideBlocks(text, wide, charset), expected)
                << "text \"" << text << "\" charset " << charset;
        }
    }
}

TEST(SubRipTagsToOverrides, RewritesTheSixTagsCaseSensitively)
{
    EXPECT_EQ(SubRipTagsToOverrides("<i>Hello</i>"), "{\\i1}Hello{\\i}");
    EXPECT_EQ(SubRipTagsToOverrides("<b>a</b><u>b</u><i>c</i><i>d</i>"),
              "{\\b1}a{\\b}{\\u1}b{\\u}{\\i1}c{\\i}{\\i1}d{\\i}");
    EXPECT_EQ(SubRipTagsToOverrides("<I>x</I> <font color=red>"), "<I>x</I> <font color=red>");
}

// ---- styles and times -----------------------------------------------------------------------

TEST(StyleCharsets, FallBackToDefaultAndThenTheSystemSet)
{
    EXPECT_EQ(normalizeStyleName("**Sign"), "Sign");
    EXPECT_EQ(normalizeStyleName("dEfAuLt"), "Default");
    StyleCharsets styles{{"Sign", 128}};
    EXPECT_EQ(charsetOfStyle(styles, "Sign"), 128);
    EXPECT_EQ(charsetOfStyle(styles, "Other"), 1);
    styles["Default"] = 0;
    EXPECT_EQ(charsetOfStyle(styles, "Other"), 0);
    EXPECT_FALSE(toTime(std::int64_t{1} << 31).has_value());
    EXPECT_EQ(toTime(-5), -5);
}

}  // namespace
}  // namespace verbanta
