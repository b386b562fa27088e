#pragma once

#include <string>
#include <string_view>

#include "model/codepage.h"

namespace verbanta {

class FileOperations;
class Messenger;
class SamiModel;
struct AtomicWriteResult;

/// The byte limit of a SAMI file that can be loaded, counted in CP949 after conversion;
/// exactly this many bytes are accepted. The other formats' readers have the same limit, and
/// nothing the editor can hold and save comes near it.
inline constexpr std::size_t kMaxSamiFileBytes = 64u << 20;

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
DecodedText decodeFileText(std::string_view bytes,
                           std::optional<TextEncoding> encoding = std::nullopt);

namespace sami {

/// Opening for editing: clears the read-only attribute of the file, if it has it, and says
/// whether that worked; loading goes on either way. Reading alone never changes the file.
bool clearReadOnlyAttribute(const std::string& path, Messenger& messenger);

/// Whether text read from a file holds any SAMI markup (a SYNC or a SAMI element); a file
/// without either holds no SAMI captions and is refused.
bool holdsSamiMarkup(std::string_view text);

/// The reason shown after the path when a file cannot be opened for reading, from the system's
/// error number ("\r이 존재하지 않습니다." …).
std::string openFailureReason(int error, const std::string& path);

/// The reason shown after "파일 \"path\"" when a file cannot be created for writing.
std::string createFailureReason(int error, const std::string& path);

/// The message shown when writing an opened file fails.
std::string writeFailureMessage(int error);

/// Shows the message of a failed atomic write: a file that could not be created as
/// "파일 \"shownPath\"" + reason, a failed write, flush or close with its message.
void reportWriteFailure(const AtomicWriteResult& result, const std::string& shownPath,
                        Messenger& messenger);

/// Creates or replaces the file whole with the bytes (writeFileAtomically): a failure leaves
/// the previous file untouched and shows its message; a read-only file is refused. Returns
/// whether everything was written.
bool writeFileReporting(const std::string& path, std::string_view bytes, Messenger& messenger,
                        FileOperations& files);
/// The same on the process's real file system.
bool writeFileReporting(const std::string& path, std::string_view bytes, Messenger& messenger);

/// Writes the whole model (language index -1) or one language as SAMI in the given encoding,
/// reporting failures like `SaveFile`, which uses the model's own `fileEncoding`.
bool saveSamiFile(const SamiModel& model, const std::string& path, int languageIndex,
                  TextEncoding encoding);

/// Writes the plain text of the current list in the given encoding, like `ExportPlainText`.
bool exportPlainTextFile(const SamiModel& model, const std::string& path, TextEncoding encoding);

}  // namespace sami
}  // namespace verbanta
