#include "caption_codec.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace verbanta::app {
namespace {

constexpr const char* kCodePage = "windows-949";

}  // namespace

QString CaptionCodec::toDisplay(std::string_view cp949)
{
    // Stateless: a lead byte at the very end shows as a replacement mark instead of vanishing.
    QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(cp949.data(), static_cast<qsizetype>(cp949.size())));
}

std::string CaptionCodec::toModel(const QString& text)
{
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes.toStdString();
    // Some character has no CP949 form: encode one character at a time and write the missing
    // ones as references, as SAMI files from other editors do.
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) * 2);
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QStringEncoder single(kCodePage, QStringConverter::Flag::Stateless);
        const QByteArray encoded = single.encode(one);
        if (single.hasError() || encoded.isEmpty())
            out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
        else
            out.append(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    }
    return out;
}

}  // namespace verbanta::app
