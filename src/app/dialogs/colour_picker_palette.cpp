#include "dialogs/colour_picker_palette.h"

#include <cstdio>

#include "model/ascii_case.h"

namespace verbanta::app {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::optional<std::uint32_t> parseColourText(std::string_view text)
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

std::string formatColourText(std::uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF,
                  rgb & 0xFF);
    return text;
}

int paletteIndexOf(std::uint32_t rgb)
{
    for (std::size_t i = 0; i < kColourPalette.size(); ++i)
        if (kColourPalette[i].rgb == rgb)
            return static_cast<int>(i);
    return -1;
}

}  // namespace verbanta::app
