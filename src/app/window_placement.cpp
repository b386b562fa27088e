#include "window_placement.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace verbanta::app {

std::string WindowPlacement::format() const
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showState, minX,
                  minY, maxX, maxY, normal.left(), normal.top(), normal.left() + normal.width(),
                  normal.top() + normal.height());
    return buffer;
}

std::optional<WindowPlacement> WindowPlacement::parse(std::string_view text)
{
    // Ten comma-separated integers and nothing else; the first two are unsigned.
    std::vector<long long> numbers;
    const char* p = text.data();
    const char* end = text.data() + text.size();
    while (true) {
        long long value = 0;
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc() || value < INT32_MIN || value > UINT32_MAX)
            return std::nullopt;
        numbers.push_back(value);
        p = next;
        if (p == end)
            break;
        if (*p != ',')
            return std::nullopt;
        ++p;
    }
    if (numbers.size() != 10 || numbers[0] < 0 || numbers[1] < 0)
        return std::nullopt;
    for (std::size_t i = 2; i < 10; ++i)
        if (numbers[i] > INT32_MAX)
            return std::nullopt;
    WindowPlacement placement;
    placement.flags = static_cast<unsigned>(numbers[0]);
    placement.showState = static_cast<unsigned>(numbers[1]);
    placement.minX = static_cast<int>(numbers[2]);
    placement.minY = static_cast<int>(numbers[3]);
    placement.maxX = static_cast<int>(numbers[4]);
    placement.maxY = static_cast<int>(numbers[5]);
    const int left = static_cast<int>(numbers[6]);
    const int top = static_cast<int>(numbers[7]);
    placement.normal = QRect(left, top, static_cast<int>(numbers[8]) - left,
                             static_cast<int>(numbers[9]) - top);
    return placement;
}

}  // namespace verbanta::app
