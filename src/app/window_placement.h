#pragma once

#include <QRect>

#include <optional>
#include <string>
#include <string_view>

namespace verbanta::app {

/// The stored window placement, "Settings"/`WindowPos`:
/// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" = flags, show state, minimised x and y, maximised x and y,
/// normal left, top, right and bottom.
struct WindowPlacement {
    static constexpr unsigned kRestoreToMaximized = 2;  ///< flags: maximised when restored
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;

    unsigned flags = 0;
    unsigned showState = kShowNormal;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    QRect normal;

    /// The stored text of the placement.
    std::string format() const;
    /// The placement of a stored text: exactly ten numbers in the format, else nothing.
    static std::optional<WindowPlacement> parse(std::string_view text);

    bool operator==(const WindowPlacement&) const = default;
};

}  // namespace verbanta::app
