#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace verbanta {

struct AppSettings;
class FileOperations;
class Messenger;

/// The style values a batch conversion writes, as the file's CP949 bytes.
struct ConversionOptions {
    std::string alignment;
    std::string weight;
    std::string colour;
    std::string size;      ///< "%dpt"
    std::string families;  ///< first family + ", " + second
    std::string topMargin;
    std::string bottomMargin;
    std::string leftMargin;
    std::string rightMargin;

    /// The batch format options (`FontAlign` … `RightMargin`), read once per run.
    static ConversionOptions fromSettings(const AppSettings& settings);
};

/// Edits one property in a file's bytes (a line ends after its line feed): in the line of the
/// first occurrence of `name` (case-sensitive), the bytes between the last `opener` before the
/// first `closer` after the name and that closer become `value`. Everything else stays. No
/// occurrence: unchanged, true. No closer in the line, or no opener before it: unchanged, false.
bool ReplacePropertyValue(std::string& image, std::string_view name, char opener, char closer,
                          std::string_view value);

/// Rewrites the style values of one SAMI file in place. A read-only file is made writable
/// first. The previous content stays whole until the new one is on the disk (temporary file
/// and rename). False when the file cannot be read, is locked, or cannot be replaced.
bool ConvertStyleFile(const std::string& path, const ConversionOptions& options,
                      FileOperations& files, bool syncFolder = true);

/// The progress bar's text while a run starts.
inline constexpr const char* kBatchStartText = "진행중";

/// Called after each file with the files done, their total and the status text "%d%% 완료".
using BatchProgress = std::function<void(int done, int total, const std::string& status)>;

struct BatchResult {
    int converted = 0;
    int failed = 0;
    std::vector<std::string> failedNames;  ///< name and extension, without the folder
};

/// Converts the files in order; each folder is flushed to the disk once at the end.
BatchResult convertStyleFiles(const std::vector<std::string>& paths,
                              const ConversionOptions& options, FileOperations& files,
                              const BatchProgress& progress);

/// "%d개 자막 파일의 포맷을 변경하였습니다.", followed for failures by their count and names.
std::string batchResultMessage(const BatchResult& result);

/// The batch command after its file dialog: reads the options, converts, reports progress and
/// shows the final message.
BatchResult runBatchConversion(const std::vector<std::string>& paths, const AppSettings& settings,
                               FileOperations& files, Messenger& messenger,
                               const BatchProgress& progress);

}  // namespace verbanta
