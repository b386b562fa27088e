#include "model/entity_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/cp949.h"

namespace verbanta {
namespace {

enum class Kind {
    Ascii,   // a markup character with a fixed ASCII replacement
    Letter,  // an accented letter: its base letter, the first letter of the name
    Symbol,  // the CP949 form of the code point given
};

struct Expected {
    const char* name;
    char32_t codePoint;
    Kind kind;
    const char* ascii;
};

// Written out from the HTML 4 entity lists, independently of the table under test.
// clang-format off
constexpr std::array<Expected, 99> kExpected = {{
    {"&nbsp;", 0x00A0, Kind::Ascii, " "},
    {"&quot;", 0x0022, Kind::Ascii, "\""},
    {"&amp;", 0x0026, Kind::Ascii, "&"},
    {"&lt;", 0x003C, Kind::Ascii, "<"},
    {"&gt;", 0x003E, Kind::Ascii, ">"},
    {"&copy;", 0x24D2, Kind::Symbol, ""},  // circled small c: CP949 has no U+00A9
    {"&reg;", 0x00AE, Kind::Symbol, ""},
    {"&iexcl;", 0x00A1, Kind::Symbol, ""},
    {"&cent;", 0xFFE0, Kind::Symbol, ""},  // full-width: CP949 has no U+00A2
    {"&pound;", 0xFFE1, Kind::Symbol, ""},  // full-width: CP949 has no U+00A3
    {"&curren;", 0x00A4, Kind::Symbol, ""},
    {"&yen;", 0xFFE5, Kind::Symbol, ""},  // full-width: CP949 has no U+00A5
    {"&brvbar;", 0x00A6, Kind::Ascii, "|"},
    {"&sect;", 0x00A7, Kind::Symbol, ""},
    {"&uml;", 0x00A8, Kind::Symbol, ""},
    {"&ordf;", 0x00AA, Kind::Symbol, ""},
    {"&laquo;", 0x226A, Kind::Symbol, ""},  // much less-than: CP949 has no U+00AB
    {"&not;", 0xFFE2, Kind::Symbol, ""},  // full-width: CP949 has no U+00AC
    {"&shy;", 0x00AD, Kind::Symbol, ""},
    {"&deg;", 0x00B0, Kind::Symbol, ""},
    {"&plusmn;", 0x00B1, Kind::Symbol, ""},
    {"&sup2;", 0x00B2, Kind::Symbol, ""},
    {"&sup3;", 0x00B3, Kind::Symbol, ""},
    {"&acute;", 0x00B4, Kind::Symbol, ""},
    {"&micro;", 0x03BC, Kind::Symbol, ""},  // Greek small mu: CP949 has no U+00B5
    {"&para;", 0x00B6, Kind::Symbol, ""},
    {"&middot;", 0x00B7, Kind::Symbol, ""},
    {"&cedil;", 0x00B8, Kind::Symbol, ""},
    {"&sup1;", 0x00B9, Kind::Symbol, ""},
    {"&ordm;", 0x00BA, Kind::Symbol, ""},
    {"&raquo;", 0x226B, Kind::Symbol, ""},  // much greater-than: CP949 has no U+00BB
    {"&frac14;", 0x00BC, Kind::Symbol, ""},
    {"&frac12;", 0x00BD, Kind::Symbol, ""},
    {"&frac34;", 0x00BE, Kind::Symbol, ""},
    {"&iquest;", 0x00BF, Kind::Symbol, ""},
    {"&Agrave;", 0x00C0, Kind::Letter, ""},
    {"&Aacute;", 0x00C1, Kind::Letter, ""},
    {"&Acirc;", 0x00C2, Kind::Letter, ""},
    {"&Atilde;", 0x00C3, Kind::Letter, ""},
    {"&Auml;", 0x00C4, Kind::Letter, ""},
    {"&Aring;", 0x00C5, Kind::Letter, ""},
    {"&AElig;", 0x00C6, Kind::Symbol, ""},
    {"&Ccedil;", 0x00C7, Kind::Letter, ""},
    {"&Egrave;", 0x00C8, Kind::Letter, ""},
    {"&Eacute;", 0x00C9, Kind::Letter, ""},
    {"&Ecirc;", 0x00CA, Kind::Letter, ""},
    {"&Euml;", 0x00CB, Kind::Letter, ""},
    {"&Igrave;", 0x00CC, Kind::Letter, ""},
    {"&Iacute;", 0x00CD, Kind::Letter, ""},
    {"&Icirc;", 0x00CE, Kind::Letter, ""},
    {"&Iuml;", 0x00CF, Kind::Letter, ""},
    {"&ETH;", 0x00D0, Kind::Symbol, ""},
    {"&Ntilde;", 0x00D1, Kind::Letter, ""},
    {"&Ograve;", 0x00D2, Kind::Letter, ""},
    {"&Oacute;", 0x00D3, Kind::Letter, ""},
    {"&Ocirc;", 0x00D4, Kind::Letter, ""},
    {"&Otilde;", 0x00D5, Kind::Letter, ""},
    {"&Ouml;", 0x00D6, Kind::Letter, ""},
    {"&times;", 0x00D7, Kind::Symbol, ""},
    {"&Oslash;", 0x00D8, Kind::Symbol, ""},
    {"&Ugrave;", 0x00D9, Kind::Letter, ""},
    {"&Uacute;", 0x00DA, Kind::Letter, ""},
    {"&Ucirc;", 0x00DB, Kind::Letter, ""},
    {"&Uuml;", 0x00DC, Kind::Letter, ""},
    {"&Yacute;", 0x00DD, Kind::Letter, ""},
    {"&THORN;", 0x00DE, Kind::Symbol, ""},
    {"&szlig;", 0x00DF, Kind::Symbol, ""},
    {"&agrave;", 0x00E0, Kind::Letter, ""},
    {"&aacute;", 0x00E1, Kind::Letter, ""},
    {"&acirc;", 0x00E2, Kind::Letter, ""},
    {"&atilde;", 0x00E3, Kind::Letter, ""},
    {"&auml;", 0x00E4, Kind::Letter, ""},
    {"&aring;", 0x00E5, Kind::Letter, ""},
    {"&aelig;", 0x00E6, Kind::Symbol, ""},
    {"&ccedil;", 0x00E7, Kind::Letter, ""},
    {"&egrave;", 0x00E8, Kind::Letter, ""},
    {"&eacute;", 0x00E9, Kind::Letter, ""},
    {"&ecirc;", 0x00EA, Kind::Letter, ""},
    {"&euml;", 0x00EB, Kind::Letter, ""},
    {"&igrave;", 0x00EC, Kind::Letter, ""},
    {"&iacute;", 0x00ED, Kind::Letter, ""},
    {"&icirc;", 0x00EE, Kind::Letter, ""},
    {"&iuml;", 0x00EF, Kind::Letter, ""},
    {"&eth;", 0x00F0, Kind::Symbol, ""},
    {"&ntilde;", 0x00F1, Kind::Letter, ""},
    {"&ograve;", 0x00F2, Kind::Letter, ""},
    {"&oacute;", 0x00F3, Kind::Letter, ""},
    {"&ocirc;", 0x00F4, Kind::Letter, ""},
    {"&otilde;", 0x00F5, Kind::Letter, ""},
    {"&ouml;", 0x00F6, Kind::Letter, ""},
    {"&divide;", 0x00F7, Kind::Symbol, ""},
    {"&oslash;", 0x00F8, Kind::Symbol, ""},
    {"&ugrave;", 0x00F9, Kind::Letter, ""},
    {"&uacute;", 0x00FA, Kind::Letter, ""},
    {"&ucirc;", 0x00FB, Kind::Letter, ""},
    {"&uuml;", 0x00FC, Kind::Letter, ""},
    {"&yacute;", 0x00FD, Kind::Letter, ""},
    {"&thorn;", 0x00FE, Kind::Symbol, ""},
    {"&yuml;", 0x00FF, Kind::Letter, ""},
}};
// clang-format on

std::string Utf8(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
    return out;
}

TEST(EntityTable, HoldsTheNamesInHtmlOrder)
{
    const auto table = entityTable();
    ASSERT_EQ(table.size(), kExpected.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i].name, kExpected[i].name) << "row " << i;
}

TEST(EntityTable, ReplacesEveryEntityAsAnIndependentDecoderDoes)
{
    const auto table = entityTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Expected& e = kExpected[i];
        std::string want;
        switch (e.kind) {
            case Kind::Ascii:
                want = e.ascii;
                break;
            case Kind::Letter:
                want = std::string(1, e.name[1]);
                break;
            case Kind::Symbol:
                want = test::cp949(Utf8(e.codePoint));
                break;
        }
        EXPECT_EQ(table[i].replacement, want) << e.name;
    }
}

TEST(EntityTable, SubstitutesOnlyWhereCp949LacksTheSymbol)
{
    // Where the table uses a full-width or look-alike character, the Latin-1 one must be
    // missing from CP949; if iconv could convert it, the table should use it instead.
    for (char32_t latin1 : {0xA2, 0xA3, 0xA5, 0xA9, 0xAB, 0xAC, 0xB5, 0xBB})
        EXPECT_ANY_THROW(test::cp949(Utf8(latin1))) << std::hex << static_cast<int>(latin1);
}

TEST(EntityTable, FindsNamesExactlyAndCaseSensitively)
{
    for (const EntityRow& row : entityTable()) EXPECT_EQ(findEntity(row.name), &row) << row.name;
    ASSERT_NE(findEntity("&Eacute;"), nullptr);
    EXPECT_EQ(findEntity("&Eacute;")->replacement, "E");
    EXPECT_EQ(findEntity("&eacute;")->replacement, "e");
    EXPECT_EQ(findEntity("&AMP;"), nullptr);
    EXPECT_EQ(findEntity("&amp"), nullptr);
    EXPECT_EQ(findEntity("&macr;"), nullptr);
    EXPECT_EQ(findEntity(""), nullptr);
}

}  // namespace
}  // namespace verbanta
