#include "formats/text_import.h"

#include "formats/foreign_import.h"
#include "formats/reader_helpers.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "platform/messenger.h"

namespace verbanta {

const std::string_view kCannotOpenTextMessage =
    "지정하신 파일을 열 수 없습니다.\n다시 한번 확인해 주십시오.";

namespace {

// A text line loses spaces, tabs and line ends at its edges; other control bytes such as a form
// feed are part of its text.
std::string_view trimLineEdges(std::string_view text)
{
    constexpr std::string_view kEdges = " \t\r\n";
    const std::size_t begin = text.find_first_not_of(kEdges);
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(kEdges) - begin + 1);
}

// A paragraph's inner line ends as the model's line breaks. A bare line feed counts as a line
// end too: files written on Unix would otherwise keep their lines as one run of text.
std::string joinParagraphLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += kCaptionBreak;
            ++i;
        } else if (text[i] == '\n') {
            out += kCaptionBreak;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

void importTextBytes(SamiModel& model, std::string_view bytes, bool paragraphs)
{
    model.Reset(true);
    model.ClearUndo();
    const std::string text = toCp949(bytes, detectEncoding(bytes));

    std::string buffer;
    // Set by a line feed in paragraph mode: a second one before any other byte but a carriage
    // return ends the paragraph.
    bool lineEnded = false;
    auto completeCaption = [&] {
        const std::string_view trimmed = trimLineEdges(buffer);
        if (trimmed.empty()) {
            buffer.clear();
            return;  // the mark stays: blank runs give no empty captions
        }
        appendCaption(model, 0, paragraphs ? joinParagraphLines(trimmed) : std::string(trimmed));
        buffer.clear();
        lineEnded = false;
    };
    for (char c : text) {
        // A zero byte is no character of any text, and in a saved caption it would end the
        // SAMI file early for every reader: it is dropped.
        if (c == '\0')
            continue;
        buffer += c;
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (paragraphs && !lineEnded) {
                lineEnded = true;
                continue;
            }
            completeCaption();
            continue;
        }
        lineEnded = false;
    }
    completeCaption();
}

bool importTextFile(SamiModel& model, const std::string& path, bool paragraphs)
{
    model.Reset(true);
    model.ClearUndo();
    const auto bytes = readFileBytes(path);
    // A file past the import limit is no caption text; it is refused like one that cannot be read.
    if (!bytes || bytes->size() > kMaxImportFileBytes) {
        model.messenger().showMessage(kCannotOpenTextMessage, MessageIcon::Warning);
        return false;
    }
    importTextBytes(model, *bytes, paragraphs);
    return true;
}

}  // namespace verbanta
