#pragma once

#include <QSyntaxHighlighter>
#include <QTextBlock>

#include <functional>
#include <utility>

namespace verbanta::app {

class SpellChecker;

/// Underlines the misspelt words of a text document as it is typed in. Words are judged by
/// the spell checker's thread; the document is highlighted again as verdicts arrive, so a
/// keystroke costs a look-up of the words of its line and nothing more.
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    SpellHighlighter(SpellChecker& checker, QTextDocument* document);

    /// Whether the word at the position (UTF-16 units of the whole text) is underlined now;
    /// the word's start and length when it is.
    bool misspeltAt(int position, int* start = nullptr, int* length = nullptr) const;
    /// Blocks for which this is true are left unchecked (a word may be cut at their ends).
    void setSkipped(std::function<bool(const QTextBlock&)> skipped) { m_skipped = std::move(skipped); }

protected:
    void highlightBlock(const QString& text) override;

private:
    SpellChecker& m_checker;
    std::function<bool(const QTextBlock&)> m_skipped;
};

}  // namespace verbanta::app
