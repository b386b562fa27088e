#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta::app {

/// One named colour of the picker's palette, as 0xRRGGBB.
struct PaletteColour {
    const char* name;
    std::uint32_t rgb;
};

/// The picker's 40 named colours, in the order the palette shows them. The names are the
/// texts style sheets and the batch format option use; "Pale green " keeps its trailing space.
inline constexpr std::array<PaletteColour, 40> kColourPalette{{
    {"Black", 0x000000},
    {"Brown", 0xA52A00},
    {"Dark Olive Green", 0x004040},
    {"Dark Green", 0x005500},
    {"Dark Teal", 0x00005E},
    {"Dark blue", 0x00008B},
    {"Indigo", 0x4B0082},
    {"Dark grey", 0x282828},
    {"Dark red", 0x8B0000},
    {"Orange", 0xFF6820},
    {"Dark yellow", 0x8B8B00},
    {"Green", 0x009300},
    {"Teal", 0x388E8E},
    {"Blue", 0x0000FF},
    {"Blue-grey", 0x7B7BC0},
    {"Grey - 40", 0x666666},
    {"Red", 0xFF0000},
    {"Light orange", 0xFFAD5B},
    {"Lime", 0x32CD32},
    {"Sea green", 0x3CB371},
    {"Aqua", 0x7FFFD4},
    {"Light blue", 0x7D9EC0},
    {"Violet", 0x800080},
    {"Grey - 50", 0x7F7F7F},
    {"Pink", 0xFFC0CB},
    {"Gold", 0xFFD700},
    {"Yellow", 0xFFFF00},
    {"Bright green", 0x00FF00},
    {"Turquoise", 0x40E0D0},
    {"Skyblue", 0xC0FFFF},
    {"Plum", 0x480048},
    {"Light grey", 0xC0C0C0},
    {"Rose", 0xFFE4E1},
    {"Tan", 0xD2B48C},
    {"Light yellow", 0xFFFFE0},
    {"Pale green ", 0x98FB98},
    {"Pale turquoise", 0xAFEEEE},
    {"Pale blue", 0x68838B},
    {"Lavender", 0xE6E6FA},
    {"White", 0xFFFFFF},
}};

/// A colour text as the picker reads it: a palette name (case ignored) or "#" and six
/// hexadecimal digits for red, green and blue. Nothing for any other text.
std::optional<std::uint32_t> parseColourText(std::string_view text);

/// "#%02X%02X%02X" of red, green and blue.
std::string formatColourText(std::uint32_t rgb);

/// The palette entry of a colour, or -1 when the palette has none.
int paletteIndexOf(std::uint32_t rgb);

}  // namespace verbanta::app
