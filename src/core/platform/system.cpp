// What the platform layer builds from its own calls, the same on every system.
#include <algorithm>

#include "platform/system.h"

namespace verbanta::platform {

std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit)
{
    if (pathInfo(path).kind != PathInfo::Kind::Regular)
        return std::nullopt;
    const int handle = openFile(path, false);
    if (handle < 0)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    std::int64_t got = 0;
    while (bytes.size() <= limit &&
           (got = readSome(handle, buffer, std::min(sizeof buffer, limit + 1 - bytes.size()))) > 0)
        bytes.append(buffer, static_cast<std::size_t>(got));
    closeHandle(handle);
    if (got < 0)
        return std::nullopt;
    return bytes;
}

}  // namespace verbanta::platform
