#include "model/text_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "model/ascii_case.h"
#include "support/cp949.h"

namespace verbanta {
namespace {

using test::cp949;

const std::string kMark = cp949("↘");

TEST(AsciiCase, FoldsOnlyAsciiLettersSoCp949BytesStayApart)
{
    EXPECT_TRUE(equalsIgnoringCase("<Br>", "<bR>"));
    EXPECT_FALSE(equalsIgnoringCase("<br>", "<br"));
    // 0xC1 and 0xE1 differ by the case bit, as Latin-1's A-acute and a-acute do; in CP949
    // they begin different characters.
    EXPECT_FALSE(equalsIgnoringCase("\xC1\xA1", "\xE1\xA1"));
    EXPECT_EQ(toLowerAscii("A.SMI\xC1"), "a.smi\xC1");
    EXPECT_TRUE(endsWithIgnoringCase("/x/Film.SRT", ".srt"));
    EXPECT_FALSE(endsWithIgnoringCase("rt", ".srt"));
}

TEST(TextFormat, LineBreakMarkIsTheCp949Arrow)
{
    EXPECT_EQ(kLineBreakMark, kMark);
}

TEST(TextFormat, FormatsTimeAsClockOrMilliseconds)
{
    EXPECT_EQ(FormatTime(3723004, true), "1:02:03.004");
    EXPECT_EQ(FormatTime(-1500, true), "-0:00:01.500");
    EXPECT_EQ(FormatTime(0, true), "0:00:00.000");
    EXPECT_EQ(FormatTime(3723004, false), "3723004");
    EXPECT_EQ(FormatTime(-1500, false), "-1500");
}

TEST(TextFormat, FormatTimeDoesNotLimitHoursOrOverflowAtTheSmallestTime)
{
    EXPECT_EQ(FormatTime(360000000, true), "100:00:00.000");
    EXPECT_EQ(FormatTime(INT32_MIN, true), "-596:31:23.648");
    EXPECT_EQ(FormatTime(INT32_MIN, false), "-2147483648");
}

TEST(TextFormat, StripTagsTurnsBrIntoMarkOrLineBreak)
{
    const std::string text = "<font color=red>a</font><BR>b";
    EXPECT_EQ(StripTags(text, true), "a" + kMark + "b");
    EXPECT_EQ(StripTags(text, false), "a\r\nb");
}

TEST(TextFormat, StripTagsTreatsControlCharactersByMode)
{
    EXPECT_EQ(StripTags("x\r\ny\tz", true), "x y z");
    EXPECT_EQ(StripTags("x\r\ny\tz", false), "xy\tz");
}

TEST(TextFormat, StripTagsDropsBrWrittenOtherwise)
{
    EXPECT_EQ(StripTags("a<br/>b<br >c<bR>d", false), "abc\r\nd");
}

TEST(TextFormat, StripTagsKeepsKoreanBytes)
{
    EXPECT_EQ(StripTags(cp949("<i>가나</i><br>다"), true), cp949("가나↘다"));
}

TEST(TextFormat, StripTagsDropsUnclosedTagAtTheEnd)
{
    EXPECT_EQ(StripTags("ab<font color=red", true), "ab");
    EXPECT_EQ(StripTags("<", false), "");
}

TEST(TextFormat, StripTagsRestartsTagAtSecondOpeningBracket)
{
    EXPECT_EQ(StripTags("a<b<br>c", true), "a<b" + kMark + "c");
    // The abandoned part is text again and gets the same treatment as other text.
    EXPECT_EQ(StripTags("1<\t2\r\n<i>3", true), "1< 2 3");
    EXPECT_EQ(StripTags("1<\t2\r\n<i>3", false), "1<\t23");
}

TEST(TextFormat, StripTagsGivesUpTagOf128BytesAsText)
{
    const std::string full = "<" + std::string(127, 'a');  // 128 bytes in the buffer
    // A tag that closes with 127 bytes buffered is still a tag.
    EXPECT_EQ(StripTags("x<" + std::string(126, 'a') + ">y", true), "xy");
    // With 128 bytes buffered the next byte, even ">", is ordinary text.
    EXPECT_EQ(StripTags(full + ">y", true), full + ">y");
    EXPECT_EQ(StripTags(full + "b>", false), full + "b>");
    // A "<" arriving then starts a new tag.
    EXPECT_EQ(StripTags(full + "<br>z", true), full + kMark + "z");
}

TEST(TextFormat, ListDisplayTextMarksLineBreaksAndTabs)
{
    EXPECT_EQ(ListDisplayText("<b>a</b>\r\nb\tc"), "<b>a</b>" + kMark + "b c");
    EXPECT_EQ(ListDisplayText("a\rb\nc"), "a\rb\nc");
}

TEST(TextFormat, ListDisplayTextKeepsAtMost256BytesWithoutSplittingACharacter)
{
    EXPECT_EQ(ListDisplayText(std::string(300, 'x')), std::string(256, 'x'));
    const std::string korean = cp949("가");
    EXPECT_EQ(ListDisplayText(std::string(255, 'x') + korean), std::string(255, 'x'));
    EXPECT_EQ(ListDisplayText(std::string(254, 'x') + korean + "y"),
              std::string(254, 'x') + korean);
    // The cut comes after "\r\n" became the mark, so the mark is never split into "\r".
    EXPECT_EQ(ListDisplayText(std::string(255, 'x') + "\r\n"), std::string(255, 'x'));
}

TEST(TextFormat, IsEndSyncTextRecognisesBlankNbspAndBr)
{
    EXPECT_TRUE(IsEndSyncText(" &NBSP; "));
    EXPECT_TRUE(IsEndSyncText("&nbsp"));
    EXPECT_TRUE(IsEndSyncText("<BR>"));
    EXPECT_TRUE(IsEndSyncText("\r\n&nbsp;\t"));
    EXPECT_TRUE(IsEndSyncText(""));
    EXPECT_TRUE(IsEndSyncText(" \t\r\n\v\f"));
    EXPECT_FALSE(IsEndSyncText("&nbsp;&nbsp;"));
    // End tags after the blank close it and show nothing.
    EXPECT_TRUE(IsEndSyncText("&nbsp;</P>"));
    EXPECT_TRUE(IsEndSyncText(" &nbsp </P>\r\n</SYNC > "));
    EXPECT_TRUE(IsEndSyncText("<br></font></p>"));
    EXPECT_TRUE(IsEndSyncText("</P>"));
    EXPECT_FALSE(IsEndSyncText("&nbsp;</P>x"));
    EXPECT_FALSE(IsEndSyncText("&nbsp;</ P>"));
    EXPECT_FALSE(IsEndSyncText("&nbsp;<P>"));
    EXPECT_FALSE(IsEndSyncText("a</P>"));
    EXPECT_FALSE(IsEndSyncText("<br/>"));
    EXPECT_FALSE(IsEndSyncText("a"));
}

TEST(TextFormat, CountCharactersCountsTwoByteCharacterOnce)
{
    EXPECT_EQ(CountCharacters(cp949("가a")), 2);
    EXPECT_EQ(CountCharacters(""), 0);
    EXPECT_EQ(CountCharacters(StripTags(cp949("<b>가나</b><br>다"), true)), 4);
}

TEST(TextFormat, CountCharactersDoesNotReadPastALoneLeadByteAtTheEnd)
{
    // Exactly sized heap buffer: a read past the end shows under AddressSanitizer.
    const auto bytes = std::make_unique<char[]>(3);
    bytes[0] = 'a';
    bytes[1] = 'b';
    bytes[2] = '\xb0';
    EXPECT_EQ(CountCharacters(std::string_view(bytes.get(), 3)), 3);
    EXPECT_EQ(CountCharacters("\xb0"), 1);
}

TEST(TextFormat, DecodeEntitiesReplacesKnownNamesOnly)
{
    std::string text = "AT&amp;T &unknown; &Eacute;cole";
    DecodeEntities(text);
    EXPECT_EQ(text, "AT&T &unknown; Ecole");
}

TEST(TextFormat, DecodeEntitiesComparesNamesExactly)
{
    std::string text = "&AMP; &Amp; &nbsp &amp;";
    DecodeEntities(text);
    EXPECT_EQ(text, "&AMP; &Amp; &nbsp &");
}

TEST(TextFormat, DecodeEntitiesLeavesSpansOver10BytesAndResumesAfterTheAmpersand)
{
    std::string longSpan = "&abcdefghi; &abcdefgh;";  // 11 and 10 bytes, both unknown
    DecodeEntities(longSpan);
    EXPECT_EQ(longSpan, "&abcdefghi; &abcdefgh;");
    // The first "&" reaches its ";" only over 15 bytes; the second "&" still decodes.
    std::string nested = "&xxxxxxxxxx&lt;";
    DecodeEntities(nested);
    EXPECT_EQ(nested, "&xxxxxxxxxx<");
}

TEST(TextFormat, DecodeEntitiesDoesNotDecodeItsOwnOutputAgain)
{
    std::string text = "&amp;lt; &copy;&reg;";
    DecodeEntities(text);
    EXPECT_EQ(text, "&lt; " + cp949("ⓒ®"));
}

TEST(TextFormat, PlainTextStripsDecodesAndTrims)
{
    SyncEntry entry;
    entry.text = "<P Class=KRCC>\r\n  AT&amp;T<br>\r\nx&lt;y&nbsp;\t";
    EXPECT_EQ(PlainText(entry), "AT&T\r\nx<y");
}

TEST(TextFormat, FormatSyncBlockWritesTimeClassAndTrimmedText)
{
    EXPECT_EQ(FormatSyncBlock("  hello<br>\r\nworld \r\n", "KRCC", 1500),
              "<SYNC Start=1500><P Class=KRCC>\r\nhello<br>\r\nworld\r\n");
    EXPECT_EQ(FormatSyncBlock("", "ENCC", -20), "<SYNC Start=-20><P Class=ENCC>\r\n\r\n");
}

TEST(TextFormat, FindLastSkipsOverlappingCandidatesAndHonoursTheLimit)
{
    // Hits are counted from the start without overlap: 0 and 2, never 1 or 3.
    EXPECT_EQ(FindLast("aaaaa", "aa", 5), 2);
    EXPECT_EQ(FindLast("aaaaa", "aa", 2), 0);
    EXPECT_EQ(FindLast("aaaaa", "aa", 3), 2);
    EXPECT_EQ(FindLast("aaaaa", "aa", 0), -1);
    EXPECT_EQ(FindLast("x</SAMI>y</SAMI>", "</SAMI>", 100), 9);
    EXPECT_EQ(FindLast("x</SAMI>y</SAMI>", "</SAMI>", 9), 1);
    EXPECT_EQ(FindLast("abc", "d", 3), -1);
    EXPECT_EQ(FindLast("abc", "", 3), -1);
}

TEST(TextFormat, FileNameOfAcceptsBothSeparators)
{
    EXPECT_EQ(FileNameOf("/home/user/movie.smi"), "movie.smi");
    EXPECT_EQ(FileNameOf("C:\\Movies\\movie.ko.smi"), "movie.ko.smi");
    EXPECT_EQ(FileNameOf("mixed\\dir/name.smi"), "name.smi");
    EXPECT_EQ(FileNameOf("movie.smi"), "movie.smi");
    EXPECT_EQ(FileNameOf("/home/user/"), "");
}

TEST(TextFormat, TrimWhiteSpaceTrimsAsciiWhiteSpaceOnly)
{
    EXPECT_EQ(trimWhiteSpace(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
    EXPECT_EQ(trimWhiteSpace(" \t "), "");
    // The CP949 ideographic space is a character, not white space.
    const std::string wide = cp949("\u3000가\u3000");
    EXPECT_EQ(trimWhiteSpace(" " + wide + " "), wide);
}

TEST(TextFormat, TruncateTextStopsBeforeASplitCharacter)
{
    const std::string text = cp949("가나");
    EXPECT_EQ(truncateText(text, 3), cp949("가"));
    EXPECT_EQ(truncateText(text, 4), text);
    EXPECT_EQ(truncateText("a\xb0", 2), "a\xb0");
}

}  // namespace
}  // namespace verbanta
