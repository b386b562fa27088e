#pragma once

#include <QString>

#include <vector>

namespace verbanta::app {

/// One word of a caption's text, as the spelling check sees it.
struct SpellWord {
    int start = 0;  ///< in UTF-16 units of the text
    int length = 0;
    bool hangul = false;  ///< a word of Hangul syllables, else of other letters
};

/// The words of a caption's text: runs of letters, an apostrophe inside a word kept ("don't").
/// Markup ("<font color=red>", a "<" still open at the end) and entities ("&nbsp;") are not
/// text; a run with a digit in it is no word; a change between Hangul and other letters ends
/// a word, since each is checked against its own language.
std::vector<SpellWord> spellWords(const QString& text);

}  // namespace verbanta::app
