#pragma once

#include <cstdint>
#include <string>

namespace verbanta {

/// One entry of a language's sync list: a caption, an end sync or a comment.
struct SyncEntry {
    /// Writer bits: write the start time, the class, the ID.
    static constexpr std::uint32_t kWriteStart = 1;
    static constexpr std::uint32_t kWriteClass = 2;
    static constexpr std::uint32_t kWriteId = 4;
    static constexpr std::uint32_t kWriteAll = kWriteStart | kWriteClass | kWriteId;

    std::uint32_t flags = kWriteAll;
    // Editor marks: copied with the entry, never written to a file.
    std::int32_t checked = 0;
    std::int32_t replayMark = 0;
    std::int32_t bookmarked = 0;
    std::int32_t syncError = 0;
    std::int32_t rangeStart = 0;
    std::int32_t rangeEnd = 0;
    std::int32_t isEndSync = 0;
    std::int32_t isComment = 0;
    std::string className;  ///< language class without the leading dot, e.g. "KRCC"
    std::string id;         ///< the P tag's ID attribute, usually empty
    std::int32_t startMs = 0;
    std::string text;       ///< CP949 SAMI markup as stored, or the comment body

    bool operator==(const SyncEntry&) const = default;
};

}  // namespace verbanta
