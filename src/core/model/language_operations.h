#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/paragraph_style.h"

namespace verbanta {

class SamiModel;

// The language operations of the multi-language dialogs and the command line. Each works on
// the model at once, shows its own messages through the model's messenger, and returns whether
// it changed the model; the caller then rebuilds its language tabs and marks the document
// modified. None of them is recorded for undo.

/// The four fields of a language as the language dialog edits them; CP949 bytes.
struct LanguageFields {
    std::string className;  ///< with or without its leading dot
    std::string name;       ///< e.g. "한국어"
    std::string code;       ///< e.g. "ko-KR"
    std::string samiType;   ///< e.g. "CC"
};

/// One preset language of the language dialog.
struct LanguagePreset {
    std::string_view selector;  ///< with its dot, e.g. ".KRCC"
    std::string_view name;      ///< CP949
    std::string_view code;
    std::string_view samiType;
};

/// The preset languages in the order the dialog offers them; the first is a new document's.
extern const std::array<LanguagePreset, 11> kLanguagePresets;

/// The class as stored: a leading "." is added when it has none.
std::string classSelector(std::string_view className);

/// The fields of a language, its class without the dot.
LanguageFields fieldsOf(const LanguageInfo& language);
/// The fields of a preset, its class without the dot.
LanguageFields fieldsOf(const LanguagePreset& preset);

/// False, after the limit message, when the model already holds the most languages it can.
bool canAddLanguage(SamiModel& model);

/// Appends a language whose list copies the timing of the base language's list (by language
/// index) with empty captions; refused with a message at the limit or for a class in use.
bool addLanguage(SamiModel& model, const LanguageFields& fields, int baseIndex);

/// Gives the language at the index new fields and relabels its list; a class that another
/// language has is refused with a message.
bool modifyLanguage(SamiModel& model, int index, const LanguageFields& fields);

/// Deletes the language at the index and all its captions after asking; the last language
/// cannot be deleted.
bool deleteLanguage(SamiModel& model, int index);

/// Swaps the language at the index with the one before / after it; lists stay in their slots.
bool moveLanguageUp(SamiModel& model, int index);
bool moveLanguageDown(SamiModel& model, int index);

/// Appends every language of another model with its captions and times, renaming a class
/// that is already in use. The number of languages added, or -1 after the limit message, with
/// nothing added, when they would not all fit.
int addLanguagesFrom(SamiModel& model, const SamiModel& other);

}  // namespace verbanta
