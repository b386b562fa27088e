#include "model/text_format.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "model/ascii_case.h"
#include "model/entity_table.h"

namespace verbanta {

namespace {

constexpr std::size_t kEntitySpanBytes = 10;

bool isLeadByte(char c)
{
    return (static_cast<unsigned char>(c) & 0x80) != 0;
}

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// One byte of the text outside a tag.
void appendTextByte(std::string& out, char c, bool display)
{
    if (display) {
        if (c == '\r' || c == '\t')
            out += ' ';
        else if (c != '\n')
            out += c;
    } else if (c != '\r' && c != '\n') {
        out += c;
    }
}

/// The text without the end tags ("</P>", "</font >") and blanks at its end.
std::string_view withoutTrailingEndTags(std::string_view text)
{
    const auto isNameByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    for (;;) {
        text = trimWhiteSpace(text);
        const std::size_t open = text.rfind("</");
        if (open == std::string_view::npos || text.back() != '>')
            return text;
        // "</" + a name + blanks + ">": the name starts at once, so "</ P>" is text.
        const std::string_view inside = text.substr(open + 2, text.size() - open - 3);
        const auto nameEnd = std::find_if_not(inside.begin(), inside.end(), isNameByte);
        if (nameEnd == inside.begin() ||
            !trimWhiteSpace(inside.substr(static_cast<std::size_t>(nameEnd - inside.begin())))
                 .empty())
            return text;
        text = text.substr(0, open);
    }
}

}  // namespace

std::string FormatTime(std::int32_t ms, bool displayAsTime)
{
    char buffer[32];
    if (!displayAsTime) {
        std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(ms));
        return buffer;
    }
    // Widened first: the absolute value of the smallest int32 does not fit an int32.
    const long long t = std::llabs(static_cast<long long>(ms));
    std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld:%02lld.%03lld", ms < 0 ? "-" : "",
                  t / 3600000, t / 60000 % 60, t / 1000 % 60, t % 1000);
    return buffer;
}

std::string StripTags(std::string_view text, bool display)
{
    std::string out;
    out.reserve(text.size());
    forEachMarkupPiece(
        text,
        [&](std::string_view run) {
            for (char c : run) appendTextByte(out, c, display);
        },
        [&](std::string_view tag) {
            if (equalsIgnoringCase(tag, "<br>"))
                out += display ? kLineBreakMark : std::string_view("\r\n");
        });
    return out;
}

std::string ListDisplayText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += kLineBreakMark;
            ++i;
        } else if (text[i] == '\t') {
            out += ' ';
        } else {
            out += text[i];
        }
    }
    out.resize(truncateText(out, kListDisplayBytes).size());
    return out;
}

bool IsEndSyncText(std::string_view text)
{
    // End tags that close a blank ("&nbsp;</P></SYNC>") show nothing either.
    const std::string_view t = withoutTrailingEndTags(text);
    return t.empty() || equalsIgnoringCase(t, "&nbsp;") || equalsIgnoringCase(t, "&nbsp") ||
           equalsIgnoringCase(t, "<br>");
}

int CountCharacters(std::string_view text)
{
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        // A lead byte at the very end has no partner and counts alone.
        i += (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
    }
    return count;
}

std::string PlainText(const SyncEntry& entry)
{
    std::string text = StripTags(entry.text, false);
    DecodeEntities(text);
    return std::string(trimWhiteSpace(text));
}

void DecodeEntities(std::string& text)
{
    std::size_t amp = text.find('&');
    while (amp != std::string::npos) {
        std::size_t next = amp + 1;
        const std::size_t semi = text.find(';', next);
        const std::size_t spanBytes = semi == std::string::npos ? 0 : semi - amp + 1;
        if (spanBytes != 0 && spanBytes <= kEntitySpanBytes) {
            if (const EntityRow* row = findEntity(std::string_view(text).substr(amp, spanBytes))) {
                text.replace(amp, spanBytes, row->replacement);
                // The replacement itself is never decoded again ("&amp;lt;" gives "&lt;").
                next = amp + row->replacement.size();
            }
        }
        amp = text.find('&', next);
    }
}

std::string FormatSyncBlock(std::string_view text, std::string_view className, std::int32_t timeMs)
{
    std::string out = "<SYNC Start=";
    out += std::to_string(timeMs);
    out += "><P Class=";
    out += className;
    out += ">\r\n";
    out += trimWhiteSpace(text);
    out += "\r\n";
    return out;
}

std::ptrdiff_t FindLast(std::string_view text, std::string_view pattern, std::size_t limit)
{
    if (pattern.empty())
        return -1;
    std::ptrdiff_t last = -1;
    for (std::size_t pos = text.find(pattern); pos != std::string_view::npos && pos < limit;
         pos = text.find(pattern, pos + pattern.size())) {
        last = static_cast<std::ptrdiff_t>(pos);
    }
    return last;
}

std::string FileNameOf(std::string_view path)
{
    const std::size_t separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string_view trimWhiteSpace(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isWhiteSpace(text[begin])) ++begin;
    while (end > begin && isWhiteSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string_view truncateText(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    // CP949 cannot be walked backwards (trail bytes may have the high bit set): walk forwards.
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t step = (isLeadByte(text[end]) && end + 1 < text.size()) ? 2 : 1;
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return text.substr(0, end);
}

}  // namespace verbanta
