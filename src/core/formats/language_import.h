#pragma once

#include <string>

namespace verbanta {

class SamiModel;

/// What adding the languages of another file did.
struct LanguageImportResult {
    bool ok = false;  ///< false when the file could not be read or its languages do not fit
    int added = 0;    ///< languages added
    /// The caller marks the document modified; nothing of this is recorded for undo.
    bool modified() const { return added > 0; }
};

/// "다국어 자막 추가": reads another subtitle file (SAMI by its extension ".smi" or ".sami" or
/// by a SAMI element near its start, any other through the foreign-format readers) and appends each
/// of its languages, with their captions and times, to the model as further languages. Reading
/// errors and the ten-language limit are reported through the model's messenger.
LanguageImportResult addLanguagesFromFile(SamiModel& model, const std::string& path);

}  // namespace verbanta
