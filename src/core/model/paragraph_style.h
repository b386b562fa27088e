#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace verbanta {

/// One property of a style rule: its CSS name, its bit in the rule's flags and its value.
struct StyleProperty {
    std::string name;
    std::uint32_t bit = 0;
    std::string value;   ///< string-valued properties and the descriptors
    std::int32_t points = 0;  ///< point-valued properties, written with "pt"

    bool operator==(const StyleProperty&) const = default;
};

/// One rule of the style sheet: the P rule, a language class (".KRCC") or an ID style ("#x").
struct ParagraphStyle {
    // Descriptor bits.
    static constexpr std::uint32_t kName = 0x1000;
    static constexpr std::uint32_t kLang = 0x400;
    static constexpr std::uint32_t kSamiType = 0x800;
    // Point-valued property bits.
    static constexpr std::uint32_t kMarginLeft = 0x1;
    static constexpr std::uint32_t kMarginRight = 0x2;
    static constexpr std::uint32_t kMarginBottom = 0x4;
    static constexpr std::uint32_t kMarginTop = 0x8;
    static constexpr std::uint32_t kFontSize = 0x20;
    // String-valued property bits.
    static constexpr std::uint32_t kTextAlign = 0x10;
    static constexpr std::uint32_t kFontFamily = 0x40;
    static constexpr std::uint32_t kFontWeight = 0x80;
    static constexpr std::uint32_t kColor = 0x100;
    static constexpr std::uint32_t kBackgroundColor = 0x200;

    /// Flags of the P rule after a reset: all ten CSS properties.
    static constexpr std::uint32_t kParagraphDefaultFlags = 0xEBFF;
    /// Flags of a language made by the program: Name, lang and SAMIType.
    static constexpr std::uint32_t kLanguageFlags = 0x1C00;
    /// Flags of a new ID style.
    static constexpr std::uint32_t kIdStyleFlags = 0x1020;

    std::uint32_t flags = 0;
    std::string selector;
    std::array<StyleProperty, 3> descriptors;      ///< Name, lang, SAMIType
    std::array<StyleProperty, 5> pointProperties;  ///< margins and font-size, writer order
    std::array<StyleProperty, 5> stringProperties; ///< text-align … background-color

    /// A fresh style with every name, bit and default value, and no flags.
    ParagraphStyle();

    bool has(std::uint32_t bit) const { return (flags & bit) != 0; }

    const std::string& name() const { return descriptors[0].value; }
    const std::string& lang() const { return descriptors[1].value; }
    const std::string& samiType() const { return descriptors[2].value; }
    void setName(std::string_view v) { descriptors[0].value = v; }
    void setLang(std::string_view v) { descriptors[1].value = v; }
    void setSamiType(std::string_view v) { descriptors[2].value = v; }

    /// The property with this CSS name, or null.
    StyleProperty* find(std::string_view propertyName);
    const StyleProperty* find(std::string_view propertyName) const;

    bool operator==(const ParagraphStyle&) const = default;
};

/// A language class: a rule whose selector begins with ".".
using LanguageInfo = ParagraphStyle;

}  // namespace verbanta
