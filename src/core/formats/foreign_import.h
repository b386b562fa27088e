#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verbanta {

class SamiModel;

/// "지정한 자막 파일을 열 수 없습니다."
extern const std::string_view kCannotOpenSubtitleMessage;
/// "지정한 파일은 지원하는 자막 파일 형식이 아닙니다."
extern const std::string_view kUnsupportedFormatMessage;
/// "%s번째 줄의 자막은 시간을 읽을 수 없어 건너뛰었습니다.": the lines of the entries a reader
/// skipped, "12, 40", after a file was read.
extern const std::string_view kSkippedEntriesMessage;

/// The largest file the imports read: far beyond any subtitle or caption text, small enough
/// that a video or disk image picked by mistake is refused before it fills the memory.
inline constexpr std::size_t kMaxImportFileBytes = 64u << 20;

/// A file's bytes, at most `limit` + 1 of them, so that a caller sees a file longer than the
/// limit; nothing when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path,
                                         std::size_t limit = kMaxImportFileBytes);

/// Replaces the model's content with the captions of a foreign subtitle file's bytes, trying
/// the readers of the given slots in order. The model first becomes a new empty document, and
/// again after each reader that fails or finds no caption. UTF-8 and UTF-16 text is converted
/// to CP949 first (characters CP949 lacks become "&#N;"); CP949 bytes are read as they are.
/// On failure the unsupported-format message goes to the model's messenger and the model is
/// left empty. `framesPerSecond` applies to MicroDVD frame numbers only.
bool importForeignBytes(SamiModel& model, std::string_view bytes, const std::vector<int>& slots,
                        double framesPerSecond);

/// The same with the readers that the import dialog's filter entry (numbered from 1) names.
bool importForeignBytes(SamiModel& model, std::string_view bytes, int filterEntry,
                        double framesPerSecond);

/// Reads the file and imports it as above; a file that cannot be read leaves a new empty
/// document and reports the cannot-open message, one over kMaxImportFileBytes the
/// unsupported-format message.
bool importForeignFile(SamiModel& model, const std::string& path, int filterEntry,
                       double framesPerSecond);

/// The same with an explicit list of reader slots.
bool importForeignFile(SamiModel& model, const std::string& path, const std::vector<int>& slots,
                       double framesPerSecond);

}  // namespace verbanta
