#include "document/path_parts.h"

namespace verbanta {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

}  // namespace

std::size_t LastSeparator(std::string_view path)
{
    return path.find_last_of(kSeparators);
}

std::string DirectoryOf(std::string_view path)
{
    const std::size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string NameOf(std::string_view path)
{
    const std::size_t sep = LastSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
    parts.directory = DirectoryOf(path);
    const std::string name = NameOf(path);
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
