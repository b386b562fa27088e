#include "clipboard_port.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "caption_codec.h"

namespace verbanta::app {

bool QtClipboardPort::hasText() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

std::optional<std::string> QtClipboardPort::text() const
{
    if (!hasText())
        return std::nullopt;
    // Other programs end lines with "\n" alone; captions keep "\r\n".
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return CaptionCodec::toModel(text);
}

bool QtClipboardPort::setText(std::string_view text)
{
    QApplication::clipboard()->setText(CaptionCodec::toDisplay(text));
    return true;
}

}  // namespace verbanta::app
