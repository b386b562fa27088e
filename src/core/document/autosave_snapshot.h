#pragma once

#include <cstdint>

#include "document/autosave_scheduler.h"
#include "document/autosave_store.h"
#include "model/codepage.h"

namespace verbanta {

class Document;
class Messenger;

/// The encoding a document's recovery copy is written in: the document's own, so that the
/// restored document saves as its file was. The one place that asks the document for it.
TextEncoding recoveryEncodingOf(const Document& document);

/// The whole model, all languages, as SAMI in the document's encoding, with the manifest of
/// its path, its title without the modified mark and the time given (seconds since 1970).
RecoverySnapshot makeRecoverySnapshot(const Document& document, std::int64_t savedAt);

/// The text shown when a recovery copy cannot be read back; %1 is the copy's path.
inline constexpr const char* kRecoveryUnreadableMessage =
    "복구 파일 \"%1\"을 읽을 수 없습니다.";

/// Opens a left recovery copy as a modified document bound to its original path (untitled
/// when it had none), so that a save writes there with the usual backup. False, with one
/// message and the document left as it was, when the copy cannot be read.
bool restoreRecoveryCopy(Document& document, const RecoveryStore& store,
                         const RecoveryEntry& entry, Messenger& messenger);

}  // namespace verbanta
