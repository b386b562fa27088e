#pragma once

#include <string>
#include <string_view>

namespace verbanta {

class SamiModel;

/// "지정하신 파일을 열 수 없습니다.\n다시 한번 확인해 주십시오."
extern const std::string_view kCannotOpenTextMessage;

/// Replaces the model's content with a new document whose captions, all at time 0, are the
/// non-blank lines of the text, or with `paragraphs` its paragraphs (lines up to a blank line,
/// joined by "<br>\r\n"). UTF-8 and UTF-16 text is converted to CP949 first.
void importTextBytes(SamiModel& model, std::string_view bytes, bool paragraphs);

/// Reads the file and imports it as above; false, after the warning through the model's
/// messenger, when it cannot be read (the model is then a new empty document).
bool importTextFile(SamiModel& model, const std::string& path, bool paragraphs);

}  // namespace verbanta
