#include "document/path_parts.h"

namespace verbanta {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

}  // namespace

std::size_t lastSeparator(std::string_view path)
{
    return path.find_last_of(kSeparators);
}

std::string directoryOf(std::string_view path)
{
    const std::size_t sep = lastSeparator(path);
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string nameOf(std::string_view path)
{
    const std::size_t sep = lastSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

PathParts splitPath(std::string_view path)
{
    PathParts parts;
    parts.directory = directoryOf(path);
    const std::string name = nameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        parts.baseName = name;
    } else {
        parts.baseName = name.substr(0, dot);
        parts.extension = name.substr(dot);
    }
    return parts;
}

}  // namespace verbanta
