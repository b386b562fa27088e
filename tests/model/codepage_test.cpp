#include "model/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "support/cp949.h"

namespace verbanta {
namespace {

using test::cp949;

std::string utf16(std::string_view utf8, const char* encoding)
{
    return test::iconvConvert(utf8, encoding, "UTF-8");
}

// Korean (with 똠, an extended UHC syllable), kana that CP949 has, and characters it lacks.
constexpr std::string_view kMixed = "안녕 똠 こんにちは é ő 😀 — 끝";
std::string mixedAsCp949()
{
    return cp949("안녕 똠 こんにちは ") + "&#233; &#337; &#128512; &#8212; " + cp949("끝");
}

TEST(CodepageNames, RoundTripAndIgnoreCase)
{
    for (TextEncoding e : {TextEncoding::Cp949, TextEncoding::Utf8, TextEncoding::Utf8Bom,
                           TextEncoding::Utf16Le, TextEncoding::Utf16Be})
        EXPECT_EQ(encodingFromName(encodingName(e)), e);
    EXPECT_STREQ(encodingName(TextEncoding::Utf8Bom), "utf-8-bom");
    EXPECT_EQ(encodingFromName("UTF-16LE"), TextEncoding::Utf16Le);
    EXPECT_EQ(encodingFromName("utf-8-"), std::nullopt);
    EXPECT_EQ(encodingFromName(""), std::nullopt);
}

TEST(CodepageDetect, ByteOrderMarksDecide)
{
    EXPECT_EQ(detectEncoding("\xFF\xFE"
                             "A\0"),
              TextEncoding::Utf16Le);
    EXPECT_EQ(detectEncoding("\xFE\xFF\0A"), TextEncoding::Utf16Be);
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF"
                             "abc"),
              TextEncoding::Utf8Bom);
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF\xB0\xA1"), TextEncoding::Utf8Bom);
}

TEST(CodepageDetect, TellsUnmarkedUtf8FromCp949)
{
    EXPECT_EQ(detectEncoding(""), TextEncoding::Cp949);
    EXPECT_EQ(detectEncoding("1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n"), TextEncoding::Cp949);
    EXPECT_EQ(detectEncoding("안녕하세요, 반갑습니다"), TextEncoding::Utf8);
    EXPECT_EQ(detectEncoding("가"), TextEncoding::Utf8);  // EA B0 80: CP949 cannot read it
    EXPECT_EQ(detectEncoding(cp949("안녕하세요, 반갑습니다. 똠방각하")), TextEncoding::Cp949);
    // Not well-formed UTF-8: a truncated sequence, an encoded surrogate, an overlong slash.
    EXPECT_EQ(detectEncoding("가\xEA\xB0"), TextEncoding::Cp949);
    EXPECT_EQ(detectEncoding("\xED\xA0\x80"), TextEncoding::Cp949);
    EXPECT_EQ(detectEncoding("\xC0\xAF"), TextEncoding::Cp949);
}

TEST(CodepageDetect, OneMultiByteSequenceMakesWellFormedUtf8Utf8)
{
    // "æ" in UTF-8 is also a Hangul syllable of CP949; a Latin text is still UTF-8. Only a
    // very short CP949 text such as "치킨" can be well-formed UTF-8 too, and is then misread.
    EXPECT_EQ(detectEncoding("Karant\xC3\xA6ne"), TextEncoding::Utf8);
    EXPECT_EQ(detectEncoding(cp949("치킨")), TextEncoding::Utf8);
    EXPECT_EQ(detectEncoding(cp949("안녕하세요 치킨")), TextEncoding::Cp949);
}

TEST(CodepageDetect, KnowsUnmarkedUtf16ByItsZeroBytes)
{
    const std::string text = "<SAMI><BODY>안녕 😀</BODY></SAMI>\r\n";
    EXPECT_EQ(detectEncoding(utf16(text, "UTF-16LE")), TextEncoding::Utf16Le);
    EXPECT_EQ(detectEncoding(utf16(text, "UTF-16BE")), TextEncoding::Utf16Be);
    EXPECT_EQ(detectEncoding(std::string("a\0", 2)), TextEncoding::Utf16Le);
    // Zeros falling on both sides, or a stray one, are no UTF-16.
    EXPECT_EQ(detectEncoding(std::string("abcd") + std::string(8, '\0')), TextEncoding::Cp949);
    EXPECT_EQ(detectEncoding(cp949("자막 파일의 한 줄입니다") + std::string(1, '\0')),
              TextEncoding::Cp949);
}

TEST(CodepageConvert, UnicodeFilesRoundTripByteForByte)
{
    const std::string utf8(kMixed);
    const std::pair<TextEncoding, std::string> files[] = {
        {TextEncoding::Utf8, utf8},
        {TextEncoding::Utf8Bom, "\xEF\xBB\xBF" + utf8},
        {TextEncoding::Utf16Le, "\xFF\xFE" + utf16(utf8, "UTF-16LE")},
        {TextEncoding::Utf16Be, "\xFE\xFF" + utf16(utf8, "UTF-16BE")},
    };
    for (const auto& [encoding, file] : files) {
        SCOPED_TRACE(encodingName(encoding));
        EXPECT_EQ(detectEncoding(file), encoding);
        const std::string model = toCp949(file, encoding);
        EXPECT_EQ(model, mixedAsCp949());
        EXPECT_EQ(fromCp949(model, encoding), file);
    }
}

TEST(CodepageConvert, Cp949BytesStayUnchanged)
{
    const std::string bytes = cp949("똠방각하 &#128512;") + "\x80\xC7";
    EXPECT_EQ(toCp949(bytes, TextEncoding::Cp949), bytes);
    EXPECT_EQ(fromCp949(bytes, TextEncoding::Cp949), bytes);
}

TEST(CodepageConvert, EveryHangulSyllableIsRealCp949)
{
    std::string all;
    for (char32_t c = 0xAC00; c <= 0xD7A3; ++c) {
        all += static_cast<char>(0xE0 | c >> 12);
        all += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        all += static_cast<char>(0x80 | (c & 0x3F));
    }
    const std::string model = toCp949(all, TextEncoding::Utf8);
    EXPECT_EQ(model.find('&'), std::string::npos);
    EXPECT_EQ(model.size(), 2u * 11172);
    EXPECT_EQ(model, cp949(all));
    EXPECT_EQ(fromCp949(model, TextEncoding::Utf8), all);
    EXPECT_EQ(cp949("똠"), "\x8C\x63");
}

TEST(CodepageConvert, ZeroUnitsDoNotEndUtf16Text)
{
    const std::string file(
        "\xFF\xFE"
        "A\0\0\0B\0",
        8);
    const std::string model = toCp949(file, TextEncoding::Utf16Le);
    EXPECT_EQ(model, std::string("A\0B", 3));
    EXPECT_EQ(fromCp949(model, TextEncoding::Utf16Le), file);
}

TEST(CodepageConvert, KeepsLoneSurrogatesOfUtf16)
{
    // A lone high surrogate, then a lone low one and a high one in the wrong order.
    const std::string le(
        "\xFF\xFE\x3D\xD8"
        "A\0"
        "\x00\xDE\x3D\xD8",
        10);
    EXPECT_EQ(toCp949(le, TextEncoding::Utf16Le), "&#55357;A&#56832;&#55357;");
    EXPECT_EQ(fromCp949(toCp949(le, TextEncoding::Utf16Le), TextEncoding::Utf16Le), le);
    const std::string be("\xFE\xFF\xD8\x3D", 4);
    EXPECT_EQ(fromCp949(toCp949(be, TextEncoding::Utf16Be), TextEncoding::Utf16Be), be);
}

TEST(CodepageConvert, DoesNotPairTwoSurrogateReferences)
{
    // A lone high surrogate followed by the user's literal text "&#56832;".
    const std::string file = "\xFF\xFE\x3D\xD8" + utf16("&#56832;", "UTF-16LE");
    const std::string model = toCp949(file, TextEncoding::Utf16Le);
    EXPECT_EQ(model, "&#55357;&#56832;");
    EXPECT_EQ(fromCp949(model, TextEncoding::Utf16Le), file);
}

TEST(CodepageConvert, OddFinalUtf16ByteBecomesReplacement)
{
    EXPECT_EQ(toCp949(std::string("\xFF\xFE"
                                  "A\0B",
                                  5),
                      TextEncoding::Utf16Le),
              "A&#65533;");
    EXPECT_EQ(toCp949("\xFF\xFE"
                      "A",
                      TextEncoding::Utf16Le),
              "&#65533;");
    EXPECT_EQ(fromCp949("A&#65533;", TextEncoding::Utf16Le), std::string("\xFF\xFE"
                                                                         "A\0\xFD\xFF",
                                                                         6));
}

TEST(CodepageConvert, KeepsBytesOfMalformedUtf8)
{
    // Truncated 가, a stray continuation byte, 0xFF: each byte kept as U+DC00 + byte.
    const std::string file =
        "a\xEA\xB0"
        "b가\x80\xFF";
    const std::string model = toCp949(file, TextEncoding::Utf8);
    EXPECT_EQ(model, "a&#56554;&#56496;b" + cp949("가") + "&#56448;&#56575;");
    EXPECT_EQ(fromCp949(model, TextEncoding::Utf8), file);
}

TEST(CodepageConvert, DoesNotFuseEscapedBytesIntoACharacter)
{
    // Written raw, C3 A9 would read back as "é", not as these two references.
    EXPECT_EQ(fromCp949("&#56515;&#56489;", TextEncoding::Utf8), "&#56515;&#56489;");
    EXPECT_EQ(fromCp949("&#56515;x", TextEncoding::Utf8), "\xC3x");
}

TEST(CodepageConvert, UndecodableCp949BytesSurviveAUnicodeFile)
{
    // A lone lead at the end, 0x80, 0xFF and a lead before a byte that cannot trail it.
    const std::string model = cp949("가") + "\x80\xFF\xC7\n\xC7";
    const std::string file = fromCp949(model, TextEncoding::Utf8);
    EXPECT_EQ(file, "가\xEE\xBE\x80\xEE\xBF\xBF\xEE\xBF\x87\n\xEE\xBF\x87");
    EXPECT_EQ(toCp949(file, TextEncoding::Utf8), model);
    EXPECT_EQ(toCp949(fromCp949(model, TextEncoding::Utf16Be), TextEncoding::Utf16Be), model);
}

TEST(CodepageConvert, DoesNotLoseAnInvalidPairTheLibraryStepsOver)
{
    // The C library's converter steps over the pair A2 E8 before reporting it; both bytes
    // must survive, and the byte after them must stay itself.
    const std::string model = "x\xA2\xE8\x03y";
    for (TextEncoding e : {TextEncoding::Utf8, TextEncoding::Utf16Le}) {
        const std::string file = fromCp949(model, e);
        EXPECT_EQ(toCp949(file, e), model) << encodingName(e);
    }
    EXPECT_EQ(fromCp949(model, TextEncoding::Utf8), "x\xEE\xBE\xA2\xEE\xBF\xA8\x03y");
    EXPECT_EQ(cp949ToUtf8(model), "x\xEF\xBF\xBD\xEF\xBF\xBD\x03y");
}

TEST(CodepageConvert, PrivateUseCharacterIsNotFusedWithNextByte)
{
    // U+EFC3 would be the byte C3, but C3 'A' is a CP949 syllable: keep the reference.
    EXPECT_EQ(toCp949("\xEE\xBF\x83"
                      "A",
                      TextEncoding::Utf8),
              "&#61379;A");
    EXPECT_EQ(toCp949("A\xEE\xBF\x83", TextEncoding::Utf8), "A\xC3");
}

TEST(CodepageReferences, ExpandOnlyCharactersCp949Lacks)
{
    EXPECT_EQ(fromCp949("&#8212;&#x1F600;&#X1f600;&#00233;", TextEncoding::Utf8), "—😀😀é");
    // 가 exists in CP949, so "&#44032;" is the user's literal text and stays.
    EXPECT_EQ(fromCp949("&#44032;", TextEncoding::Utf8), "&#44032;");
    for (const char* literal : {"&#;", "&#12", "&#x;", "&#0;", "&#1114112;", "&#123456789;",
                                "&#x110000;", "&#55357;", "& #233;", "&#65;"})
        EXPECT_EQ(fromCp949(literal, TextEncoding::Utf8), literal) << literal;
}

TEST(CodepageReferences, LiteralReferenceSurvivesRoundTrip)
{
    const std::string model = cp949("가 ") + "&#44032; &#x41;";
    const std::string file = fromCp949(model, TextEncoding::Utf8);
    EXPECT_EQ(file, "가 &#44032; &#x41;");
    EXPECT_EQ(toCp949(file, TextEncoding::Utf8), model);
    EXPECT_EQ(utf8ToCp949(cp949ToUtf8(model)), model);
}

TEST(CodepageDisplay, Cp949ToUtf8ShowsReplacementsAndCharacters)
{
    EXPECT_EQ(cp949ToUtf8(cp949("한국어 ") + "&#128512;&#55357;"), "한국어 😀&#55357;");
    EXPECT_EQ(cp949ToUtf8("A\x80"
                          "B\xC7"),
              "A\xEF\xBF\xBD"
              "B\xEF\xBF\xBD");
    EXPECT_EQ(cp949ToUtf8(std::string("\0", 1)), std::string("\0", 1));
}

TEST(CodepageDisplay, Utf8ToCp949WritesReferences)
{
    EXPECT_EQ(utf8ToCp949("한국어 😀 ő"), cp949("한국어 ") + "&#128512; &#337;");
    EXPECT_EQ(utf8ToCp949("a\xFF"
                          "b"),
              "a&#65533;b");
    // Typed text holds no raw bytes: a private-use character is just a character.
    EXPECT_EQ(utf8ToCp949("A\xEE\xBF\x83"), "A&#61379;");
}

}  // namespace
}  // namespace verbanta
