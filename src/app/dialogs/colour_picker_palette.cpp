#include "dialogs/colour_picker_palette.h"

#include <cstdio>

namespace verbanta::app {
namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::optional<std::uint32_t> ParseColourText(std::string_view text)
{
    for (const PaletteColour& entry : kColourPalette)
        if (equalsIgnoringCase(text, entry.name))
            return entry.rgb;
    if (text.size() != 7 || text.front() != '#')
        return std::nullopt;
    std::uint32_t rgb = 0;
    for (const char c : text.substr(1)) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    return rgb;
}

std::string FormatColourText(std::uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF,
                  rgb & 0xFF);
    return text;
}

int PaletteIndexOf(std::uint32_t rgb)
{
    for (std::size_t i = 0; i < kColourPalette.size(); ++i)
        if (kColourPalette[i].rgb == rgb)
            return static_cast<int>(i);
    return -1;
}

}  // namespace verbanta::app
