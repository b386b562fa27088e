#include "document/companion_video.h"

#include <algorithm>
#include <vector>

#include "document/file_operations.h"
#include "document/path_parts.h"

namespace verbanta {

std::optional<std::string> findCompanionVideo(const std::string& subtitlePath,
                                              FileOperations& files)
{
    const PathParts parts = splitPath(subtitlePath);
    for (std::string_view extension : kCompanionVideoExtensions) {
        std::string candidate = parts.directory + parts.baseName + std::string(extension);
        if (files.exists(candidate) && !files.isDirectory(candidate))
            return candidate;
    }

    // A case-sensitive file system misses a.AVI above; look at the folder's names instead.
    std::vector<std::string> names = files.listDirectory(parts.directory);
    std::sort(names.begin(), names.end());
    for (std::string_view extension : kCompanionVideoExtensions) {
        for (const std::string& name : names) {
            const PathParts found = splitPath(name);
            if (found.baseName != parts.baseName || !equalsIgnoringCase(found.extension, extension))
                continue;
            std::string candidate = parts.directory + name;
            if (!files.isDirectory(candidate))
                return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace verbanta
