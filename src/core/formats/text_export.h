#pragma once

#include <string>
#include <string_view>

namespace verbanta {

class SamiModel;

/// The name the export proposes for a document title: cut at the last "." unless that is the
/// first character, a trailing modified mark "*" and the spaces before it removed, ".txt"
/// appended ("a.smi *" gives "a.txt").
std::string defaultTextExportName(std::string_view title);

/// Writes the captions of the current language as plain text: one caption per paragraph,
/// tags removed, entities decoded, no line end after the last caption, each caption whole
/// whatever its length. Errors go to the model's messenger; false then.
bool exportText(SamiModel& model, const std::string& path);

}  // namespace verbanta
