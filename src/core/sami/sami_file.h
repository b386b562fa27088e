#pragma once

#include <string>
#include <string_view>

#include "model/codepage.h"

namespace verbanta {

class Messenger;
class SamiModel;

/// The byte limit of a SAMI file that can be loaded, counted in CP949 after conversion;
/// exactly this many bytes are accepted.
inline constexpr std::size_t kMaxSamiFileBytes = 1000000;

/// The most bytes a UTF-8 or UTF-16 file can have and still convert to the limit above: every
/// two bytes of such a file give at least one CP949 byte.
inline constexpr std::size_t kMaxUnicodeSamiFileBytes = 2 * kMaxSamiFileBytes + 2;

/// File bytes as the model holds them, and the encoding they were found in.
struct DecodedText {
    std::string text;
    TextEncoding encoding = TextEncoding::Cp949;
};

/// Converts a SAMI or text file to CP949 from the encoding given, or the one detected; CP949
/// bytes are kept as they are, characters CP949 lacks become numeric references.
DecodedText DecodeFileText(std::string_view bytes,
                           std::optional<TextEncoding> encoding = std::nullopt);

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

/// Writes the whole model (language index -1) or one language as SAMI in the given encoding,
/// reporting failures like `SaveFile`, which uses the model's own `fileEncoding`.
bool SaveSamiFile(const SamiModel& model, const std::string& path, int languageIndex,
                  TextEncoding encoding);

/// Writes the plain text of the current list in the given encoding, like `ExportPlainText`.
bool ExportPlainTextFile(const SamiModel& model, const std::string& path, TextEncoding encoding);

}  // namespace sami
}  // namespace verbanta
