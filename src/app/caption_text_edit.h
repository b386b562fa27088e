#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>

#include <optional>
#include <string>
#include <vector>

namespace verbanta {
struct AppSettings;
}

namespace verbanta::app {

class SpellChecker;
class SpellHighlighter;

/// The caption text field of the edit panel, with its keys: Enter inserts a line break (with
/// "<br>" when `InsertBR` is on), Tab a tab character, Alt+B "<br>", Alt+E "&nbsp;", Alt+F and
/// Alt+T the font tags, Alt+R clears; Alt+Enter, Esc and the Alt keys of the time fields are
/// requests to the caption view.
///
/// Qt lays out a whole paragraph (block) after every change, and wraps a run without a break
/// opportunity by looking ahead to the run's end, so one caption line of a million characters
/// took minutes to show and seconds per key. A line longer than kMaxBlockChars is therefore
/// shown as several blocks joined by "soft" breaks that are not part of the text: layout
/// stays within the blocks on screen and the one being typed in.
class CaptionTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    /// The longest block a caption line is shown in.
    static constexpr int kMaxBlockChars = 1000;

    CaptionTextEdit(const AppSettings& settings, QWidget* parent = nullptr);

    /// The field's text as the model stores it: CP949 with "\r\n" line ends.
    std::string modelText() const;
    /// Shows a model text (CP949, "\r\n" line ends).
    void setModelText(const std::string& cp949);
    /// The selection as byte offsets into modelText().
    std::pair<int, int> modelSelection() const;
    /// Selects by byte offsets into modelText().
    void setModelSelection(int start, int end);

    /// The syllable an input method is still composing (shown, but not yet in the text).
    const QString& composition() const { return m_composition; }
    /// Puts the syllable being composed into the text, once, before a command reads the text:
    /// the input method commits it where it can, else the field does and has the input method
    /// forget it, so that it never arrives a second time.
    void commitComposition();

    /// Checks the spelling with this checker (null: none), from the field's first use on.
    void setSpelling(SpellChecker* checker);
    /// The underlining of misspelt words; null until the field was first used.
    SpellHighlighter* spellHighlighter() const { return m_highlighter; }

signals:
    void registerRequested();
    void cancelRequested();
    void leaveFullScreenRequested();
    /// Alt+A / Alt+Z: the start field one step up (+1) or down (-1).
    void startStepRequested(int direction);
    /// Alt+S / Alt+X: the end field one step up or down.
    void endStepRequested(int direction);

protected:
    bool event(QEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    /// The field's text in the model's form, block by block: the panel asks for it after
    /// every key, so only the blocks a change touched are converted again.
    struct ModelForm {
        std::vector<std::string> blocks;  ///< each block's CP949 text, its own break excluded
        std::string text;                 ///< the whole text, breaks included
        std::vector<std::size_t> starts;  ///< where each block begins in `text`
        int dirtyFirst = 0;               ///< the blocks to convert again, first to last
        int dirtyLast = -1;
        bool joined = false;  ///< whether `text` and `starts` are up to date
    };
    /// Notes which blocks a change of the document touched.
    void noteChange(int position, int removed, int added);
    const ModelForm& modelForm() const;

    /// The text between two document positions without the soft breaks in it.
    QString textBetween(int from, int to) const;
    /// Whether the break after this block is a soft one.
    static bool joinsNext(const QTextBlock& block);
    /// Whether the block is a piece of a line shown in several.
    static bool inLongLine(const QTextBlock& block);
    /// Starts underlining misspelt words (no more than once).
    void startSpelling();
    /// Inserts typed or pasted text; the line breaks in it are real ones.
    void insertReal(const QString& text);
    /// Backspace and Delete next to a soft break delete the character beyond it; false when
    /// the key is not next to one.
    bool deleteAcrossSoftBreak(bool backward);
    int modelOffsetOf(int position) const;
    int positionOfModelOffset(int offset) const;
    /// What the field's own Alt keys do.
    enum class AltAction;
    /// The action of one of the field's own Alt keys, or none for any other key.
    static std::optional<AltAction> altActionOf(const QKeyEvent& event);
    void runAltAction(AltAction action);
    void insert(const QString& text);
    bool inFullScreen() const;

    const AppSettings& m_settings;
    mutable ModelForm m_form;
    bool m_focusedByClick = false;
    bool m_selectedByClick = false;
    QString m_composition;
    SpellChecker* m_spelling = nullptr;
    SpellHighlighter* m_highlighter = nullptr;
};

}  // namespace verbanta::app
