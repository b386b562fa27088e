#pragma once

#include <QColor>

#include <cstdint>
#include <optional>

namespace verbanta::app {

/// The window's colours, dark or light: the desktop's scheme unless the options force one.
/// Qt 6.4 has no colour-scheme hint of its own, so the desktop is asked directly.
class ColorScheme {
public:
    /// The desktop portal's answer: dark, light, or nothing (no portal, no preference).
    static std::optional<bool> portalPrefersDark();
    /// Whether the desktop asks for dark windows: the portal, then a ":dark" `GTK_THEME`,
    /// then the platform's own palette.
    static bool desktopPrefersDark();
    /// Gives the application the colours the option (`AppSettings::ColorScheme`) names;
    /// whether they are dark.
    static bool apply(std::int32_t option);
    /// Whether the application's colours are dark now.
    static bool isDark();
    /// A colour that reads on the application's base, from its light and dark variants.
    static QColor pick(const QColor& onLight, const QColor& onDark)
    {
        return isDark() ? onDark : onLight;
    }
};

}  // namespace verbanta::app
