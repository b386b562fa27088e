#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace verbanta::app {

/// Converts the model's CP949 caption bytes to and from what the widgets show.
/// Uses the "windows-949" table (the name "CP949" selects another table that loses Hangul
/// such as 똠). A character the code page lacks becomes a "&#N;" reference, never "?".
class CaptionCodec {
public:
    static QString toDisplay(std::string_view cp949);
    static std::string toModel(const QString& text);
};

}  // namespace verbanta::app
