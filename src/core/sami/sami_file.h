#pragma once

#include <string>
#include <string_view>

namespace verbanta {

class Messenger;

/// The byte limit of a SAMI file that can be loaded; exactly this many bytes are accepted.
inline constexpr std::size_t kMaxSamiFileBytes = 1000000;

namespace sami {

/// The reason shown after the path when a file cannot be opened for reading, from the system's
/// error number ("\r이 존재하지 않습니다." …).
std::string OpenFailureReason(int error, const std::string& path);

/// The reason shown after "파일 \"path\"" when a file cannot be created for writing.
std::string CreateFailureReason(int error, const std::string& path);

/// The message shown when writing an opened file fails.
std::string WriteFailureMessage(int error);

/// Creates (or replaces) the file and writes the bytes. Reports a creation error as
/// "파일 \"path\"" + reason and a write error with its message; a failed write deletes the
/// partly written file. Returns whether everything was written.
bool WriteFileReporting(const std::string& path, std::string_view bytes, Messenger& messenger);

}  // namespace sami
}  // namespace verbanta
