#pragma once

#include <QSyntaxHighlighter>

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

protected:
    void highlightBlock(const QString& text) override;

private:
    SpellChecker& m_checker;
};

}  // namespace verbanta::app
