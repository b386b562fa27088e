#include "spelling/spell_highlighter.h"

#include <QTextBlock>
#include <QTextDocument>

#include "spelling/spell_checker.h"
#include "spelling/spell_words.h"

namespace verbanta::app {
namespace {

QTextCharFormat misspeltFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

}  // namespace

SpellHighlighter::SpellHighlighter(SpellChecker& checker, QTextDocument* document)
    : QSyntaxHighlighter(document), m_checker(checker)
{
    connect(&checker, &SpellChecker::checked, this, &SpellHighlighter::rehighlight);
}

void SpellHighlighter::highlightBlock(const QString& text)
{
    static const QTextCharFormat format = misspeltFormat();
    if (m_skipped && m_skipped(currentBlock()))
        return;
    for (const SpellWord& word : spellWords(text)) {
        if (!m_checker.covers(word))
            continue;
        if (m_checker.verdict(text.mid(word.start, word.length)) == SpellChecker::Verdict::Misspelt)
            setFormat(word.start, word.length, format);
    }
}

bool SpellHighlighter::misspeltAt(int position, int* start, int* length) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return false;
    const int offset = position - block.position();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() != QTextCharFormat::SpellCheckUnderline ||
            offset < range.start || offset > range.start + range.length)
            continue;
        if (start)
            *start = block.position() + range.start;
        if (length)
            *length = range.length;
        return true;
    }
    return false;
}

}  // namespace verbanta::app
