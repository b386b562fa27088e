#include "spelling/spell_words.h"

namespace verbanta::app {
namespace {

bool isHangul(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x1100 && u <= 0x11FF) ||
           (u >= 0x3130 && u <= 0x318F);
}

bool isEntityChar(QChar c)
{
    return c == u'#' || (c.unicode() < 0x80 && c.isLetterOrNumber());
}

/// Where the entity starting at `at` ("&") ends, past its ";"; `at` when it is no entity.
qsizetype entityEnd(const QString& text, qsizetype at)
{
    qsizetype i = at + 1;
    while (i < text.size() && i - at <= 10 && isEntityChar(text[i])) ++i;
    return i > at + 1 && i < text.size() && text[i] == u';' ? i + 1 : at;
}

}  // namespace

std::vector<SpellWord> spellWords(const QString& text)
{
    std::vector<SpellWord> words;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'<') {
            const qsizetype close = text.indexOf(u'>', i);
            i = close < 0 ? n : close + 1;
            continue;
        }
        if (c == u'&') {
            const qsizetype end = entityEnd(text, i);
            i = end > i ? end : i + 1;
            continue;
        }
        if (!c.isLetterOrNumber()) {
            ++i;
            continue;
        }
        const bool hangul = isHangul(c);
        const qsizetype start = i;
        bool digit = false;
        while (i < n) {
            const QChar d = text[i];
            if (d.isLetterOrNumber() && isHangul(d) == hangul) {
                digit = digit || d.isDigit();
                ++i;
            } else if ((d == u'\'' || d == u'\u2019') && !hangul && i + 1 < n &&
                       text[i + 1].isLetter() && !isHangul(text[i + 1])) {
                i += 2;  // an apostrophe between letters belongs to the word
            } else {
                break;
            }
        }
        if (!digit)
            words.push_back({static_cast<int>(start), static_cast<int>(i - start), hangul});
    }
    return words;
}

}  // namespace verbanta::app
