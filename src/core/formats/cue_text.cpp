#include "formats/cue_text.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "model/ascii_case.h"
#include "model/text_format.h"

namespace verbanta {

namespace {

using Style = CueToken::Style;

struct NamedColor {
    std::string_view name;
    std::uint32_t rgb;
};

// The CSS colour names, sorted for binary search.
// clang-format off
constexpr NamedColor kColors[] = {
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4}, {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC}, {"bisque", 0xFFE4C4},
    {"black", 0x000000}, {"blanchedalmond", 0xFFEBCD}, {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A}, {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00}, {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED}, {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C}, {"cyan", 0x00FFFF}, {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B}, {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9}, {"darkkhaki", 0xBDB76B}, {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F}, {"darkorange", 0xFF8C00}, {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000}, {"darksalmon", 0xE9967A}, {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B}, {"darkslategray", 0x2F4F4F}, {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1}, {"darkviolet", 0x9400D3}, {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF}, {"dimgray", 0x696969}, {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF}, {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22}, {"fuchsia", 0xFF00FF}, {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF}, {"gold", 0xFFD700}, {"goldenrod", 0xDAA520}, {"gray", 0x808080},
    {"green", 0x008000}, {"greenyellow", 0xADFF2F}, {"grey", 0x808080}, {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4}, {"indianred", 0xCD5C5C}, {"indigo", 0x4B0082}, {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C}, {"lavender", 0xE6E6FA}, {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00}, {"lemonchiffon", 0xFFFACD}, {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080}, {"lightcyan", 0xE0FFFF}, {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3}, {"lightgreen", 0x90EE90}, {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1}, {"lightsalmon", 0xFFA07A}, {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA}, {"lightslategray", 0x778899}, {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE}, {"lightyellow", 0xFFFFE0}, {"lime", 0x00FF00},
    {"limegreen", 0x32CD32}, {"linen", 0xFAF0E6}, {"magenta", 0xFF00FF}, {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA}, {"mediumblue", 0x0000CD}, {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB}, {"mediumseagreen", 0x3CB371}, {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A}, {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585}, {"midnightblue", 0x191970}, {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1}, {"moccasin", 0xFFE4B5}, {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080}, {"oldlace", 0xFDF5E6}, {"olive", 0x808000}, {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500}, {"orangered", 0xFF4500}, {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA}, {"palegreen", 0x98FB98}, {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093}, {"papayawhip", 0xFFEFD5}, {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F}, {"pink", 0xFFC0CB}, {"plum", 0xDDA0DD}, {"powderblue", 0xB0E0E6},
    {"purple", 0x800080}, {"red", 0xFF0000}, {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513}, {"salmon", 0xFA8072}, {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57}, {"seashell", 0xFFF5EE}, {"sienna", 0xA0522D}, {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB}, {"slateblue", 0x6A5ACD}, {"slategray", 0x708090},
    {"slategrey", 0x708090}, {"snow", 0xFFFAFA}, {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4}, {"tan", 0xD2B48C}, {"teal", 0x008080}, {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347}, {"turquoise", 0x40E0D0}, {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF}, {"whitesmoke", 0xF5F5F5}, {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
};
// clang-format on

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

std::optional<std::uint32_t> parseHex(std::string_view digits)
{
    std::uint32_t value = 0;
    for (char c : digits) {
        const int v = hexValue(c);
        if (v < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(v);
    }
    if (digits.size() == 3) {  // "#rgb" doubles each digit
        const std::uint32_t r = value >> 8, g = (value >> 4) & 0xF, b = value & 0xF;
        value = (r * 0x11) << 16 | (g * 0x11) << 8 | b * 0x11;
    }
    return value;
}

}  // namespace

std::optional<std::uint32_t> parseColor(std::string_view text)
{
    text = trimWhiteSpace(text);
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
        if (text.size() != 3 && text.size() != 6)
            return std::nullopt;
        return parseHex(text);
    }
    std::string lower;
    for (char c : text) lower += lowerAscii(c);
    const auto it =
        std::lower_bound(std::begin(kColors), std::end(kColors), lower,
                         [](const NamedColor& c, const std::string& n) { return c.name < n; });
    if (it != std::end(kColors) && it->name == lower)
        return it->rgb;
    // Browsers read six bare hex digits as a colour too, and SAMI files rely on it.
    if (text.size() == 6)
        return parseHex(text);
    return std::nullopt;
}

std::string_view colorName(std::uint32_t rgb)
{
    for (const NamedColor& c : kColors) {
        if (c.rgb == rgb)
            return c.name;
    }
    return {};
}

std::vector<CueToken> tokenizeCueText(std::string_view neutral)
{
    static constexpr std::array<std::pair<std::string_view, Style>, 3> kSimple{
        {{"b", Style::Bold}, {"i", Style::Italic}, {"u", Style::Underline}}};
    std::vector<CueToken> tokens;
    std::size_t textBegin = 0;
    auto flushText = [&](std::size_t end) {
        if (end > textBegin)
            tokens.push_back(
                {CueToken::Kind::Text, Style::Bold, 0, neutral.substr(textBegin, end - textBegin)});
    };
    for (std::size_t i = 0; i < neutral.size(); ++i) {
        if (neutral[i] == '\n') {
            flushText(i);
            tokens.push_back({CueToken::Kind::LineBreak, Style::Bold, 0, {}});
            textBegin = i + 1;
            continue;
        }
        if (neutral[i] != '<')
            continue;
        const std::size_t close = neutral.find('>', i);
        if (close == std::string_view::npos)
            break;
        flushText(i);
        std::string_view tag = neutral.substr(i + 1, close - i - 1);
        const bool closing = !tag.empty() && tag.front() == '/';
        if (closing)
            tag.remove_prefix(1);
        const CueToken::Kind kind = closing ? CueToken::Kind::Close : CueToken::Kind::Open;
        CueToken token{kind, Style::Color, 0, {}};
        for (const auto& [name, style] : kSimple) {
            if (tag == name)
                token.style = style;
        }
        if (token.style == Style::Color && !closing)
            token.color = parseHex(tag.substr(tag.find('#') + 1, 6)).value_or(0);
        tokens.push_back(token);
        i = close;
        textBegin = close + 1;
    }
    flushText(neutral.size());
    return tokens;
}

void appendUnescaped(std::string& out, std::string_view escaped)
{
    static constexpr std::array<std::pair<std::string_view, char>, 3> kEscapes{
        {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}}};
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '&') {
            bool replaced = false;
            for (const auto& [name, c] : kEscapes) {
                if (escaped.substr(i, name.size()) == name) {
                    out += c;
                    i += name.size() - 1;
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        out += escaped[i];
    }
}

void appendTaggedCueText(std::string& out, std::string_view neutral, const CueTagSyntax& syntax)
{
    static constexpr std::string_view kStartTags[] = {"<b>", "<i>", "<u>"};
    static constexpr std::string_view kEndTags[] = {"</b>", "</i>", "</u>"};
    std::vector<bool> colorsWritten;  // per open colour: whether its start tag was written
    for (const CueToken& t : tokenizeCueText(neutral)) {
        switch (t.kind) {
            case CueToken::Kind::Text:
                if (syntax.keepEscapes)
                    out += t.text;
                else
                    appendUnescaped(out, t.text);
                break;
            case CueToken::Kind::LineBreak:
                out += "\r\n";
                break;
            case CueToken::Kind::Open:
                if (t.style != Style::Color) {
                    out += kStartTags[static_cast<int>(t.style)];
                } else {
                    const std::string tag = syntax.colorStartTag(t.color);
                    colorsWritten.push_back(!tag.empty());
                    out += tag;
                }
                break;
            case CueToken::Kind::Close:
                if (t.style != Style::Color) {
                    out += kEndTags[static_cast<int>(t.style)];
                } else if (!colorsWritten.empty()) {
                    if (colorsWritten.back())
                        out += syntax.colorEndTag;
                    colorsWritten.pop_back();
                }
                break;
        }
    }
}

void appendCueTime(std::string& out, std::int32_t ms, int hourDigits, char separator,
                   bool hundredths)
{
    const std::int64_t t = ms < 0 ? 0 : ms;
    const std::int64_t fraction = hundredths ? (t + 5) / 10 : t;
    const std::int64_t perSecond = hundredths ? 100 : 1000;
    const std::int64_t seconds = fraction / perSecond;
    auto number = [&out](std::int64_t value, int digits) {
        char buffer[24];
        int n = 0;
        do {
            buffer[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value > 0);
        for (int k = n; k < digits; ++k) out += '0';
        while (n > 0) out += buffer[--n];
    };
    number(seconds / 3600, hourDigits);
    out += ':';
    number(seconds / 60 % 60, 2);
    out += ':';
    number(seconds % 60, 2);
    out += separator;
    number(fraction % perSecond, hundredths ? 2 : 3);
}

std::string cuePlainText(std::string_view neutral)
{
    std::string out;
    for (const CueToken& t : tokenizeCueText(neutral)) {
        if (t.kind == CueToken::Kind::Text)
            appendUnescaped(out, t.text);
        else if (t.kind == CueToken::Kind::LineBreak)
            out += '\n';
    }
    return out;
}

}  // namespace verbanta
