#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace verbanta::app {

/// Converts the model's CP949 caption bytes to and from what the widgets show, through the
/// core's codepage helper. References to characters CP949 lacks ("&#128512;", as files in a
/// Unicode encoding are loaded) show as the characters; a typed character CP949 lacks is
/// stored as its "&#N;" reference, never as "?".
class CaptionCodec {
public:
    static QString toDisplay(std::string_view cp949);
    static std::string toModel(const QString& text);
};

}  // namespace verbanta::app
