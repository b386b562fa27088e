#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/ascii_case.h"

namespace verbanta {

// Path pieces by the platform's own rules: on POSIX systems only "/" separates folders, so a
// backslash or a colon is part of a name there.

/// The offset of the last folder separator of the path, or npos when it has none.
std::size_t lastSeparator(std::string_view path);

/// The folder part with its trailing separator; empty for a bare name (the current folder).
std::string directoryOf(std::string_view path);

/// The name with its extension, after the last separator.
std::string nameOf(std::string_view path);

/// A path cut into its folder (with the trailing separator), its base name and its extension
/// (from the last "." of the name, dot included; empty when the name has none).
struct PathParts {
    std::string directory;
    std::string baseName;
    std::string extension;
};
PathParts splitPath(std::string_view path);

}  // namespace verbanta
