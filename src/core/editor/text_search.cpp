#include "editor/text_search.h"

namespace verbanta {
namespace {

bool isLead(unsigned char c)
{
    return c >= 0x80;
}

unsigned char lower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

/// Whether the pattern matches at a character boundary of the text. Both are walked byte by
/// byte; once the bytes agree, a lead byte of one is a lead byte of the other, so the second
/// byte of a two-byte character is never folded.
bool matchesAt(std::string_view text, std::size_t at, std::string_view pattern, bool matchCase)
{
    bool trail = false;
    for (std::size_t j = 0; j < pattern.size(); ++j) {
        auto a = static_cast<unsigned char>(text[at + j]);
        auto b = static_cast<unsigned char>(pattern[j]);
        if (!matchCase && !trail) {
            a = lower(a);
            b = lower(b);
        }
        if (a != b)
            return false;
        trail = !trail && isLead(a);
    }
    return true;
}

/// Calls found(offset) for each match at a boundary from `from` on until it returns false.
template <class Found>
void eachMatch(std::string_view text, std::string_view pattern, std::size_t from, bool matchCase,
               Found found)
{
    if (pattern.empty() || pattern.size() > text.size())
        return;
    const std::size_t lastStart = text.size() - pattern.size();
    for (std::size_t at = 0; at <= lastStart;
         at += isLead(static_cast<unsigned char>(text[at])) ? 2 : 1) {
        if (at >= from && matchesAt(text, at, pattern, matchCase) && !found(at))
            return;
    }
}

}  // namespace

std::ptrdiff_t findForward(std::string_view text, std::string_view pattern, std::size_t from,
                           bool matchCase)
{
    std::ptrdiff_t result = -1;
    eachMatch(text, pattern, from, matchCase, [&](std::size_t at) {
        result = static_cast<std::ptrdiff_t>(at);
        return false;
    });
    return result;
}

std::ptrdiff_t findBackward(std::string_view text, std::string_view pattern, std::size_t before,
                            bool matchCase)
{
    std::ptrdiff_t result = -1;
    eachMatch(text, pattern, 0, matchCase, [&](std::size_t at) {
        if (at >= before)
            return false;
        result = static_cast<std::ptrdiff_t>(at);
        return true;
    });
    return result;
}

int replaceEvery(std::string& text, std::string_view pattern, std::string_view replacement,
                 bool matchCase)
{
    std::string out;
    std::size_t copied = 0;
    int count = 0;
    eachMatch(text, pattern, 0, matchCase, [&](std::size_t at) {
        if (at < copied)
            return true;  // overlaps the match just replaced
        out.append(text, copied, at - copied);
        out.append(replacement);
        copied = at + pattern.size();
        ++count;
        return true;
    });
    if (count > 0) {
        out.append(text, copied, std::string::npos);
        text = std::move(out);
    }
    return count;
}

}  // namespace verbanta
