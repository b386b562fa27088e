#include "model/entity_table.h"

#include <array>

namespace verbanta {

namespace {

// Accented letters become their base letter; every other symbol the CP949 character for the
// same symbol, or its full-width or look-alike form where CP949 lacks the Latin-1 one.
// clang-format off
constexpr std::array<EntityRow, kEntityCount> kEntities = {{
    {"&nbsp;", " "},
    {"&quot;", "\""},
    {"&amp;", "&"},
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&copy;", "\xa8\xcf"},     // ⓒ U+24D2 (no U+00A9 in CP949)
    {"&reg;", "\xa2\xe7"},      // ® U+00AE
    {"&iexcl;", "\xa2\xae"},    // ¡ U+00A1
    {"&cent;", "\xa1\xcb"},     // ￠ U+FFE0 (no U+00A2 in CP949)
    {"&pound;", "\xa1\xcc"},    // ￡ U+FFE1 (no U+00A3 in CP949)
    {"&curren;", "\xa2\xb4"},   // ¤ U+00A4
    {"&yen;", "\xa1\xcd"},      // ￥ U+FFE5 (no U+00A5 in CP949)
    {"&brvbar;", "|"},
    {"&sect;", "\xa1\xd7"},     // § U+00A7
    {"&uml;", "\xa1\xa7"},      // ¨ U+00A8
    {"&ordf;", "\xa8\xa3"},     // ª U+00AA
    {"&laquo;", "\xa1\xec"},    // ≪ U+226A (no U+00AB in CP949)
    {"&not;", "\xa1\xfe"},      // ￢ U+FFE2 (no U+00AC in CP949)
    {"&shy;", "\xa1\xa9"},      // U+00AD soft hyphen
    {"&deg;", "\xa1\xc6"},      // ° U+00B0
    {"&plusmn;", "\xa1\xbe"},   // ± U+00B1
    {"&sup2;", "\xa9\xf7"},     // ² U+00B2
    {"&sup3;", "\xa9\xf8"},     // ³ U+00B3
    {"&acute;", "\xa2\xa5"},    // ´ U+00B4
    {"&micro;", "\xa5\xec"},    // μ U+03BC (no U+00B5 in CP949)
    {"&para;", "\xa2\xd2"},     // ¶ U+00B6
    {"&middot;", "\xa1\xa4"},   // · U+00B7
    {"&cedil;", "\xa2\xac"},    // ¸ U+00B8
    {"&sup1;", "\xa9\xf6"},     // ¹ U+00B9
    {"&ordm;", "\xa8\xac"},     // º U+00BA
    {"&raquo;", "\xa1\xed"},    // ≫ U+226B (no U+00BB in CP949)
    {"&frac14;", "\xa8\xf9"},   // ¼ U+00BC
    {"&frac12;", "\xa8\xf6"},   // ½ U+00BD
    {"&frac34;", "\xa8\xfa"},   // ¾ U+00BE
    {"&iquest;", "\xa2\xaf"},   // ¿ U+00BF
    {"&Agrave;", "A"},          // À U+00C0
    {"&Aacute;", "A"},          // Á U+00C1
    {"&Acirc;", "A"},           // Â U+00C2
    {"&Atilde;", "A"},          // Ã U+00C3
    {"&Auml;", "A"},            // Ä U+00C4
    {"&Aring;", "A"},           // Å U+00C5
    {"&AElig;", "\xa8\xa1"},    // Æ U+00C6
    {"&Ccedil;", "C"},          // Ç U+00C7
    {"&Egrave;", "E"},          // È U+00C8
    {"&Eacute;", "E"},          // É U+00C9
    {"&Ecirc;", "E"},           // Ê U+00CA
    {"&Euml;", "E"},            // Ë U+00CB
    {"&Igrave;", "I"},          // Ì U+00CC
    {"&Iacute;", "I"},          // Í U+00CD
    {"&Icirc;", "I"},           // Î U+00CE
    {"&Iuml;", "I"},            // Ï U+00CF
    {"&ETH;", "\xa8\xa2"},      // Ð U+00D0
    {"&Ntilde;", "N"},          // Ñ U+00D1
    {"&Ograve;", "O"},          // Ò U+00D2
    {"&Oacute;", "O"},          // Ó U+00D3
    {"&Ocirc;", "O"},           // Ô U+00D4
    {"&Otilde;", "O"},          // Õ U+00D5
    {"&Ouml;", "O"},            // Ö U+00D6
    {"&times;", "\xa1\xbf"},    // × U+00D7
    {"&Oslash;", "\xa8\xaa"},   // Ø U+00D8
    {"&Ugrave;", "U"},          // Ù U+00D9
    {"&Uacute;", "U"},          // Ú U+00DA
    {"&Ucirc;", "U"},           // Û U+00DB
    {"&Uuml;", "U"},            // Ü U+00DC
    {"&Yacute;", "Y"},          // Ý U+00DD
    {"&THORN;", "\xa8\xad"},    // Þ U+00DE
    {"&szlig;", "\xa9\xac"},    // ß U+00DF
    {"&agrave;", "a"},          // à U+00E0
    {"&aacute;", "a"},          // á U+00E1
    {"&acirc;", "a"},           // â U+00E2
    {"&atilde;", "a"},          // ã U+00E3
    {"&auml;", "a"},            // ä U+00E4
    {"&aring;", "a"},           // å U+00E5
    {"&aelig;", "\xa9\xa1"},    // æ U+00E6
    {"&ccedil;", "c"},          // ç U+00E7
    {"&egrave;", "e"},          // è U+00E8
    {"&eacute;", "e"},          // é U+00E9
    {"&ecirc;", "e"},           // ê U+00EA
    {"&euml;", "e"},            // ë U+00EB
    {"&igrave;", "i"},          // ì U+00EC
    {"&iacute;", "i"},          // í U+00ED
    {"&icirc;", "i"},           // î U+00EE
    {"&iuml;", "i"},            // ï U+00EF
    {"&eth;", "\xa9\xa3"},      // ð U+00F0
    {"&ntilde;", "n"},          // ñ U+00F1
    {"&ograve;", "o"},          // ò U+00F2
    {"&oacute;", "o"},          // ó U+00F3
    {"&ocirc;", "o"},           // ô U+00F4
    {"&otilde;", "o"},          // õ U+00F5
    {"&ouml;", "o"},            // ö U+00F6
    {"&divide;", "\xa1\xc0"},   // ÷ U+00F7
    {"&oslash;", "\xa9\xaa"},   // ø U+00F8
    {"&ugrave;", "u"},          // ù U+00F9
    {"&uacute;", "u"},          // ú U+00FA
    {"&ucirc;", "u"},           // û U+00FB
    {"&uuml;", "u"},            // ü U+00FC
    {"&yacute;", "y"},          // ý U+00FD
    {"&thorn;", "\xa9\xad"},    // þ U+00FE
    {"&yuml;", "y"},            // ÿ U+00FF
}};
// clang-format on

}  // namespace

std::span<const EntityRow, kEntityCount> entityTable()
{
    return kEntities;
}

const EntityRow* findEntity(std::string_view name)
{
    for (const EntityRow& row : kEntities) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

}  // namespace verbanta
