#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace verbanta {

class FileOperations;

/// The video extensions tried beside a subtitle file, in order: the classic list first, then
/// the containers most videos come in today.
inline constexpr std::array<std::string_view, 25> kCompanionVideoExtensions{
    ".mpg", ".mpeg", ".avi", ".dat", ".asx", ".mpa", ".asf", ".wm", ".wmx",
    ".wmp", ".wmv", ".ivf", ".wvx", ".mpe", ".m1v", ".mp2", ".mpv2", ".mp2v",
    ".vob", ".mp4", ".m4v", ".mkv", ".webm", ".mov", ".ts"};

/// The video with the subtitle file's folder and base name and the first extension of the list
/// that exists; when no such name exists, a file in the folder with the same base name whose
/// extension differs only in case (a.AVI for a.smi), again in list order.
std::optional<std::string> findCompanionVideo(const std::string& subtitlePath,
                                              FileOperations& files);

}  // namespace verbanta
