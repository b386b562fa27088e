#include "caption_codec.h"

#include <QByteArray>

#include "model/codepage.h"

namespace verbanta::app {

// A byte the code page cannot decode shows as a replacement mark instead of vanishing.
QString CaptionCodec::toDisplay(std::string_view cp949)
{
    const std::string utf8 = cp949ToUtf8(cp949);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string CaptionCodec::toModel(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCp949(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace verbanta::app
