#include "checks/caption_measure.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "model/ascii_case.h"
#include "model/text_format.h"

namespace verbanta {
namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiLetterOrDigit(char c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Elements that never take an end tag, and the caption's own structure, which the reader keeps
// in the text when a file ends its paragraphs with "</P>".
bool takesNoPart(std::string_view name)
{
    static constexpr std::array<std::string_view, 6> kNames{"br", "hr", "img", "wbr", "p", "sync"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

int unbalancedTags(std::string_view text)
{
    std::vector<std::string> open;
    int unbalanced = 0;
    forEachMarkupPiece(
        text, [](std::string_view) {},
        [&](std::string_view tag) {
            std::string_view body = tag.substr(1, tag.size() - 2);
            const bool closing = !body.empty() && body.front() == '/';
            if (closing)
                body.remove_prefix(1);
            // "<!-- -->", "< b>" or "<3" are no elements.
            if (body.empty() || !isAsciiLetter(body.front()))
                return;
            std::size_t n = 1;
            while (n < body.size() && isAsciiLetterOrDigit(body[n])) ++n;
            const std::string name = toLowerAscii(body.substr(0, n));
            if (takesNoPart(name))
                return;
            if (!closing) {
                if (body.back() != '/')  // "<x/>" ends itself
                    open.push_back(name);
                return;
            }
            const auto match = std::find(open.rbegin(), open.rend(), name);
            if (match == open.rend()) {
                ++unbalanced;
                return;
            }
            // The elements started inside it and not ended are ended across it.
            const auto inner = match - open.rbegin();
            unbalanced += static_cast<int>(inner);
            open.resize(open.size() - static_cast<std::size_t>(inner) - 1);
        });
    return unbalanced + static_cast<int>(open.size());
}

}  // namespace

CaptionMeasure measureCaption(std::string_view text)
{
    CaptionMeasure m;
    m.unbalancedTags = unbalancedTags(text);
    // Plain mode leaves exactly one "\r\n" per "<br>"; decoding puts no line end back.
    std::string plain = StripTags(text, false);
    DecodeEntities(plain);
    // In CP949 a double-byte character is two bytes and any other one byte, so a line's bytes
    // are its letters counted in halves.
    int line = 0;
    int firstWithText = -1;
    int lastWithText = -1;
    std::string_view rest = plain;
    for (;; ++line) {
        const std::size_t end = rest.find("\r\n");
        const int halves = static_cast<int>(trimWhiteSpace(rest.substr(0, end)).size());
        if (halves > 0) {
            if (firstWithText < 0)
                firstWithText = line;
            lastWithText = line;
            m.halfLetters += halves;
            m.longestLineHalfLetters = std::max(m.longestLineHalfLetters, halves);
        }
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 2);
    }
    m.lines = firstWithText < 0 ? 0 : lastWithText - firstWithText + 1;
    return m;
}

}  // namespace verbanta
