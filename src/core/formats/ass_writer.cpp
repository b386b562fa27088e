#include "formats/ass_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/ascii_case.h"
#include "model/codepage.h"
#include "model/text_format.h"

namespace verbanta {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr int kDefaultPoints = 14;  // the P rule's default font-size

// "&HBBGGRR&" as override tags write a colour.
std::string overrideColor(std::uint32_t rgb)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&H%02X%02X%02X&", static_cast<unsigned>(rgb & 0xFF),
                  static_cast<unsigned>((rgb >> 8) & 0xFF),
                  static_cast<unsigned>((rgb >> 16) & 0xFF));
    return buffer;
}

// ASS has no escapes: braces would open override blocks, so they become their full-width
// forms, and a backslash that would read as "\N", "\n" or "\h" is kept apart by a word joiner.
void appendAssCharacters(std::string& out, std::string_view escaped)
{
    std::string text;
    appendUnescaped(text, escaped);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{') {
            out += "\xef\xbd\x9b";  // U+FF5B
        } else if (c == '}') {
            out += "\xef\xbd\x9d";  // U+FF5D
        } else {
            out += c;
            const char n = i + 1 < text.size() ? text[i + 1] : '\0';
            if (c == '\\' && (n == 'N' || n == 'n' || n == 'h'))
                out += "\xe2\x81\xa0";  // U+2060
        }
    }
}

void appendText(std::string& out, std::string_view neutral)
{
    int depth[3] = {0, 0, 0};  // bold, italic, underline: nested elements switch once
    static constexpr char kLetters[3] = {'b', 'i', 'u'};
    std::vector<std::uint32_t> colors;
    for (const CueToken& t : tokenizeCueText(neutral)) {
        switch (t.kind) {
            case CueToken::Kind::Text:
                appendAssCharacters(out, t.text);
                break;
            case CueToken::Kind::LineBreak:
                out += "\\N";
                break;
            case CueToken::Kind::Open:
            case CueToken::Kind::Close: {
                const bool open = t.kind == CueToken::Kind::Open;
                if (t.style == CueToken::Style::Color) {
                    if (open)
                        colors.push_back(t.color);
                    else if (!colors.empty())
                        colors.pop_back();
                    // Closing returns to the enclosing colour, or to the style's.
                    out += colors.empty() ? std::string("{\\c}")
                                          : "{\\c" + overrideColor(colors.back()) + "}";
                    break;
                }
                const int k = static_cast<int>(t.style);
                const int before = depth[k];
                depth[k] += open ? 1 : (depth[k] > 0 ? -1 : 0);
                if ((before == 0) != (depth[k] == 0)) {
                    out += "{\\";
                    out += kLetters[k];
                    out += open ? '1' : '0';
                    out += '}';
                }
                break;
            }
        }
    }
}

std::string_view stringProperty(const ParagraphStyle& rule, std::uint32_t bit)
{
    if (!rule.has(bit))
        return {};
    for (const StyleProperty& p : rule.stringProperties) {
        if (p.bit == bit)
            return p.value;
    }
    return {};
}

// The first family of a font-family list, without quotes.
std::string firstFontFamily(std::string_view families)
{
    std::string_view first = trimWhiteSpace(families.substr(0, families.find(',')));
    if (first.size() >= 2 && (first.front() == '"' || first.front() == '\'') &&
        first.back() == first.front())
        first = trimWhiteSpace(first.substr(1, first.size() - 2));
    return cp949ToUtf8(first);
}

}  // namespace

AssWriter::AssWriter(const ParagraphStyle& paragraphRule, std::string_view cp949Title)
    : m_rule(paragraphRule)
{
    for (char c : cp949ToUtf8(cp949Title)) {
        if (c != '\r' && c != '\n')
            m_title += c;
    }
}

std::string AssWriter::formatTime(std::int32_t ms)
{
    std::string out;
    appendCueTime(out, ms, 1, '.', true);
    return out;
}

std::string AssWriter::formatStyleColor(std::uint32_t rgb)
{
    return "&H00" + overrideColor(rgb).substr(2, 6);
}

std::string AssWriter::styleLine() const
{
    std::string font = firstFontFamily(stringProperty(m_rule, ParagraphStyle::kFontFamily));
    if (font.empty())
        font = "Arial";
    const int size = m_rule.pointProperties[4].points;  // font-size
    const int points = m_rule.has(ParagraphStyle::kFontSize) && size > 0 ? size : kDefaultPoints;
    const long pixels = std::lround(points * 96.0 / 72.0);

    const std::uint32_t primary =
        parseColor(stringProperty(m_rule, ParagraphStyle::kColor)).value_or(kWhite);
    // The caption window's background colour outlines the letters, the way it frames them.
    const std::uint32_t outline =
        parseColor(stringProperty(m_rule, ParagraphStyle::kBackgroundColor)).value_or(kBlack);

    const std::string weight = toLowerAscii(stringProperty(m_rule, ParagraphStyle::kFontWeight));
    const bool bold = weight == "bold" || weight == "bolder" || std::atoi(weight.c_str()) >= 600;

    const std::string align = toLowerAscii(stringProperty(m_rule, ParagraphStyle::kTextAlign));
    const int alignment = align == "left" ? 1 : align == "right" ? 3 : 2;

    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  ",%ld,%s,&H000000FF,%s,%s,%d,0,0,0,100,100,0,0,1,2,0,%d,20,20,20,1", pixels,
                  formatStyleColor(primary).c_str(), formatStyleColor(outline).c_str(),
                  formatStyleColor(outline).c_str(), bold ? -1 : 0, alignment);
    return "Style: Default," + font + numbers;
}

std::string AssWriter::write(const std::vector<Cue>& cues) const
{
    std::string out(kByteOrderMark);
    out.reserve(1024 + cues.size() * 80);
    out += "[Script Info]\r\n";
    out += "Title: " + m_title + "\r\n";
    out += "ScriptType: v4.00+\r\n";
    out += "WrapStyle: 0\r\n";
    out += "ScaledBorderAndShadow: yes\r\n";
    out += "PlayResX: " + std::to_string(kPlayResX) + "\r\n";
    out += "PlayResY: " + std::to_string(kPlayResY) + "\r\n";
    out += "\r\n[V4+ Styles]\r\n";
    out +=
        "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
        "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
        "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\r\n";
    out += styleLine() + "\r\n";
    out += "\r\n[Events]\r\n";
    out += "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";
    for (const Cue& cue : cues) {
        out += "Dialogue: 0,";
        appendCueTime(out, cue.startMs, 1, '.', true);
        out += ',';
        appendCueTime(out, cue.endMs, 1, '.', true);
        out += ",Default,,0,0,0,,";
        appendText(out, cue.text);
        out += "\r\n";
    }
    return out;
}

}  // namespace verbanta
