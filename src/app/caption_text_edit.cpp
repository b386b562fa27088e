#include "caption_text_edit.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "caption_codec.h"
#include "korean_fonts.h"
#include "main_frame.h"
#include "settings/app_settings.h"
#include "spelling/spell_checker.h"
#include "spelling/spell_highlighter.h"

namespace verbanta::app {
namespace {

// The user state of a block whose following break is a soft one.
constexpr int kSoftBreak = 1;

/// The pieces a line is shown in: at most `maxChars` each, cut after a blank near the end of
/// a piece where there is one, and never inside a surrogate pair.
std::vector<QStringView> cutLine(QStringView line, int maxChars)
{
    std::vector<QStringView> pieces;
    while (line.size() > maxChars) {
        qsizetype cut = maxChars;
        const qsizetype blank = line.left(cut).lastIndexOf(QLatin1Char(' '));
        if (blank >= cut - maxChars / 4)
            cut = blank + 1;
        else if (line.at(cut - 1).isHighSurrogate())
            --cut;
        pieces.push_back(line.left(cut));
        line = line.mid(cut);
    }
    pieces.push_back(line);
    return pieces;
}

/// Text of the field in the model's form, its characters as the document's plain text gives
/// them (a no-break space as a blank, a line separator as a line break).
std::string modelFormOf(QString text)
{
    for (QChar& c : text) {
        if (c == QChar::Nbsp)
            c = QLatin1Char(' ');
        else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char('\n');
    }
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return CaptionCodec::toModel(text);
}

}  // namespace

enum class CaptionTextEdit::AltAction {
    Register,
    Clear,
    Break,
    Space,
    FontStart,
    FontEnd,
    StartUp,
    StartDown,
    EndUp,
    EndDown
};

std::optional<CaptionTextEdit::AltAction> CaptionTextEdit::altActionOf(const QKeyEvent& event)
{
    // The field's own Alt keys, each listed once.
    static constexpr std::pair<int, AltAction> kAltKeys[] = {
        {Qt::Key_Return, AltAction::Register}, {Qt::Key_Enter, AltAction::Register},
        {Qt::Key_R, AltAction::Clear},         {Qt::Key_B, AltAction::Break},
        {Qt::Key_E, AltAction::Space},         {Qt::Key_F, AltAction::FontStart},
        {Qt::Key_T, AltAction::FontEnd},       {Qt::Key_A, AltAction::StartUp},
        {Qt::Key_Z, AltAction::StartDown},     {Qt::Key_S, AltAction::EndUp},
        {Qt::Key_X, AltAction::EndDown},
    };
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return std::nullopt;
    for (const auto& [key, action] : kAltKeys)
        if (key == event.key())
            return action;
    return std::nullopt;
}

CaptionTextEdit::CaptionTextEdit(const AppSettings& settings, QWidget* parent)
    : QPlainTextEdit(parent), m_settings(settings)
{
    setFont(KoreanFonts::fieldFont());
    setTabChangesFocus(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(document(), &QTextDocument::contentsChange, this, &CaptionTextEdit::noteChange);
}

void CaptionTextEdit::noteChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    m_form.joined = false;
    // With as many blocks as before, the blocks outside the change are the same ones.
    if (static_cast<int>(m_form.blocks.size()) != document()->blockCount()) {
        m_form.blocks.clear();
        return;
    }
    // A change that ends the text has no block after it: the last one is the end.
    const QTextBlock end = document()->findBlock(position + added);
    const int first = document()->findBlock(position).blockNumber();
    const int last = end.isValid() ? end.blockNumber() : document()->blockCount() - 1;
    if (m_form.dirtyLast < m_form.dirtyFirst) {
        m_form.dirtyFirst = first;
        m_form.dirtyLast = last;
    } else {
        m_form.dirtyFirst = std::min(m_form.dirtyFirst, first);
        m_form.dirtyLast = std::max(m_form.dirtyLast, last);
    }
}

const CaptionTextEdit::ModelForm& CaptionTextEdit::modelForm() const
{
    const int count = document()->blockCount();
    if (static_cast<int>(m_form.blocks.size()) != count) {
        m_form.blocks.assign(static_cast<std::size_t>(count), std::string());
        m_form.dirtyFirst = 0;
        m_form.dirtyLast = count - 1;
        m_form.joined = false;
    }
    if (m_form.dirtyFirst <= m_form.dirtyLast) {
        QTextBlock block = document()->findBlockByNumber(m_form.dirtyFirst);
        for (int n = m_form.dirtyFirst; n <= m_form.dirtyLast && block.isValid();
             ++n, block = block.next())
            m_form.blocks[static_cast<std::size_t>(n)] = modelFormOf(block.text());
        m_form.dirtyFirst = 0;
        m_form.dirtyLast = -1;
    }
    if (!m_form.joined) {
        // The breaks are joined in afresh: a block's soft or real break may change alone.
        m_form.text.clear();
        m_form.starts.clear();
        std::size_t n = 0;
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next(), ++n) {
            m_form.starts.push_back(m_form.text.size());
            m_form.text += m_form.blocks[n];
            if (block.next().isValid() && !joinsNext(block))
                m_form.text += "\r\n";
        }
        m_form.joined = true;
    }
    return m_form;
}

bool CaptionTextEdit::joinsNext(const QTextBlock& block)
{
    return block.userState() == kSoftBreak;
}

bool CaptionTextEdit::inLongLine(const QTextBlock& block)
{
    return joinsNext(block) || joinsNext(block.previous());
}

QString CaptionTextEdit::textBetween(int from, int to) const
{
    // One character per document position, each block break a line feed.
    const QString plain = toPlainText();
    QString text;
    int at = from;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int separator = block.position() + block.length() - 1;
        if (!joinsNext(block) || separator < from || separator >= to)
            continue;
        text += QStringView(plain).mid(at, separator - at);
        at = separator + 1;
    }
    text += QStringView(plain).mid(at, to - at);
    return text;
}

std::string CaptionTextEdit::modelText() const
{
    return modelForm().text;
}

void CaptionTextEdit::setModelText(const std::string& cp949)
{
    QString text = CaptionCodec::toDisplay(cp949);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Long lines become blocks joined by soft breaks, numbered here in document order.
    QString shown;
    std::vector<bool> soft;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const std::vector<QStringView> pieces = cutLine(line, kMaxBlockChars);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (!soft.empty())
                shown += QLatin1Char('\n');
            shown += pieces[i];
            soft.push_back(i + 1 < pieces.size());
        }
    }
    const bool anySoft = std::find(soft.begin(), soft.end(), true) != soft.end();
    // The spelling looks at the blocks before their soft breaks are marked: it waits for them.
    if (anySoft && m_highlighter)
        m_highlighter->setDocument(nullptr);
    setPlainText(shown);
    if (anySoft) {
        std::size_t n = 0;
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
            block.setUserState(n < soft.size() && soft[n++] ? kSoftBreak : -1);
        m_form.joined = false;
        if (m_highlighter)
            m_highlighter->setDocument(document());
    }
    // Undoing an edit restores blocks without their soft breaks: no undo while there are any.
    setUndoRedoEnabled(!anySoft);
}

int CaptionTextEdit::modelOffsetOf(int position) const
{
    const ModelForm& form = modelForm();
    const QTextBlock block = document()->findBlock(position);
    return static_cast<int>(form.starts[static_cast<std::size_t>(block.blockNumber())] +
                            modelFormOf(block.text().left(position - block.position())).size());
}

int CaptionTextEdit::positionOfModelOffset(int offset) const
{
    // The block the offset falls in, then its characters one by one, each at its size in the
    // model's form; a real break is two bytes, a soft one none.
    const ModelForm& form = modelForm();
    const auto after = std::upper_bound(form.starts.begin(), form.starts.end(),
                                        static_cast<std::size_t>(std::max(offset, 0)));
    const int number = static_cast<int>(after - form.starts.begin()) - 1;
    QTextBlock block = document()->findBlockByNumber(std::max(number, 0));
    const QString text = block.text();
    int bytes = static_cast<int>(form.starts[static_cast<std::size_t>(block.blockNumber())]);
    int at = 0;
    while (at < text.size()) {
        const int length = text.at(at).isHighSurrogate() ? 2 : 1;
        const int size = text.at(at).unicode() < 0x80
                             ? 1
                             : static_cast<int>(modelFormOf(text.mid(at, length)).size());
        if (bytes + size > offset)
            break;
        bytes += size;
        at += length;
    }
    return block.position() + at;
}

void CaptionTextEdit::insertReal(const QString& text)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // A split block keeps its state in its first part, but the break inserted is a real one
    // and the block's own break now follows the last part.
    const int state = cursor.block().userState();
    const int first = cursor.blockNumber();
    cursor.insertText(text);
    const bool split = cursor.blockNumber() != first;
    if (split) {
        document()->findBlockByNumber(first).setUserState(-1);
        cursor.block().setUserState(state);
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    if (split && state == kSoftBreak) {
        // The states changed after the text did: whoever read it must read it again.
        m_form.joined = false;
        emit textChanged();
        if (m_highlighter)
            for (QTextBlock block = document()->findBlockByNumber(first);
                 block.isValid() && block.blockNumber() <= cursor.blockNumber() + 1;
                 block = block.next())
                m_highlighter->rehighlightBlock(block);
    }
}

bool CaptionTextEdit::deleteAcrossSoftBreak(bool backward)
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return false;
    const QTextBlock before = backward ? cursor.block().previous() : cursor.block();
    if (!(backward ? cursor.atBlockStart() : cursor.atBlockEnd()) || !before.isValid() ||
        !joinsNext(before))
        return false;
    // Deleting a break joins two blocks under the state of the later one: the break after
    // the joined block, as it should be. Then the character beyond goes.
    cursor.beginEditBlock();
    for (int i = 0; i < 2; ++i) {
        if (backward)
            cursor.deletePreviousChar();
        else
            cursor.deleteChar();
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    return true;
}

QMimeData* CaptionTextEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

void CaptionTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    insertReal(source->text());
    ensureCursorVisible();
}

std::pair<int, int> CaptionTextEdit::modelSelection() const
{
    const QTextCursor cursor = textCursor();
    return {modelOffsetOf(cursor.selectionStart()), modelOffsetOf(cursor.selectionEnd())};
}

void CaptionTextEdit::setModelSelection(int start, int end)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionOfModelOffset(start));
    cursor.setPosition(positionOfModelOffset(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool CaptionTextEdit::inFullScreen() const
{
    const auto* frame = qobject_cast<const CMainFrame*>(window());
    return frame && frame->isFullScreenMode();
}

bool CaptionTextEdit::event(QEvent* event)
{
    // The field's own Alt keys win over the menu titles' mnemonics (Alt+E, Alt+F, Alt+T).
    if (event->type() == QEvent::ShortcutOverride && altActionOf(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CaptionTextEdit::insert(const QString& text)
{
    insertReal(text);
    ensureCursorVisible();
}

void CaptionTextEdit::runAltAction(AltAction action)
{
    switch (action) {
        case AltAction::Register:
            emit registerRequested();
            break;
        case AltAction::Clear:
            clear();
            break;
        case AltAction::Break:
            insert(QStringLiteral("<br>"));
            break;
        case AltAction::Space:
            setPlainText(QStringLiteral("&nbsp;"));
            moveCursor(QTextCursor::End);
            break;
        case AltAction::FontStart:
            insert(QStringLiteral("<font "));
            break;
        case AltAction::FontEnd:
            insert(QStringLiteral("</font>"));
            break;
        case AltAction::StartUp:
            emit startStepRequested(1);
            break;
        case AltAction::StartDown:
            emit startStepRequested(-1);
            break;
        case AltAction::EndUp:
            emit endStepRequested(1);
            break;
        case AltAction::EndDown:
            emit endStepRequested(-1);
            break;
    }
}

void CaptionTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (const std::optional<AltAction> action = altActionOf(*event)) {
        runAltAction(*action);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (mods == Qt::NoModifier || mods == Qt::ShiftModifier) {
        switch (key) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                insert(m_settings.InsertBR ? QStringLiteral("<br>\n") : QStringLiteral("\n"));
                return;
            case Qt::Key_Tab: {
                QTextCursor cursor = textCursor();
                cursor.clearSelection();
                setTextCursor(cursor);
                insert(QStringLiteral("\t"));
                return;
            }
            case Qt::Key_Escape:
                if (inFullScreen())
                    emit leaveFullScreenRequested();
                else
                    emit cancelRequested();
                return;
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
                if (mods == Qt::NoModifier && deleteAcrossSoftBreak(key == Qt::Key_Backspace))
                    return;
                break;
            case Qt::Key_Left:
            case Qt::Key_Right: {
                // A soft break is no character: stepping over it alone moves on once more.
                const int before = textCursor().position();
                QPlainTextEdit::keyPressEvent(event);
                QTextCursor cursor = textCursor();
                const int step = cursor.position() - before;
                const QTextBlock block = document()->findBlock(std::min(before, cursor.position()));
                if (std::abs(step) == 1 && joinsNext(block) &&
                    block.position() + block.length() - 1 == std::min(before, cursor.position())) {
                    cursor.movePosition(
                        step > 0 ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter,
                        mods == Qt::ShiftModifier ? QTextCursor::KeepAnchor
                                                  : QTextCursor::MoveAnchor);
                    setTextCursor(cursor);
                }
                return;
            }
            default: break;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CaptionTextEdit::mousePressEvent(QMouseEvent* event)
{
    QPlainTextEdit::mousePressEvent(event);
    // Clicking into the field from elsewhere selects all of it (the focus arrives just
    // before the press that brought it).
    m_selectedByClick = m_focusedByClick;
    if (m_focusedByClick)
        selectAll();
    m_focusedByClick = false;
}

void CaptionTextEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const bool keep = textCursor().hasSelection() && m_selectedByClick;
    QPlainTextEdit::mouseReleaseEvent(event);
    if (keep)
        selectAll();
    m_selectedByClick = false;
}

void CaptionTextEdit::setSpelling(SpellChecker* checker)
{
    m_spelling = checker;
    delete m_highlighter;
    m_highlighter = nullptr;
    if (hasFocus())
        startSpelling();
}

void CaptionTextEdit::startSpelling()
{
    if (!m_spelling || m_highlighter)
        return;
    // A line shown in blocks is left unchecked: a word may be cut where a block ends, and
    // the blocks of a million characters would be looked through on every verdict.
    m_highlighter = new SpellHighlighter(*m_spelling, document());
    m_highlighter->setSkipped(&CaptionTextEdit::inLongLine);
}

void CaptionTextEdit::focusInEvent(QFocusEvent* event)
{
    // The dictionaries are read once the field is used: the Korean one takes seconds, and a
    // window that never edits a caption needs none.
    startSpelling();
    QPlainTextEdit::focusInEvent(event);
    m_focusedByClick = event->reason() == Qt::MouseFocusReason;
}

}  // namespace verbanta::app

namespace verbanta::app {

void CaptionTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    QPlainTextEdit::inputMethodEvent(event);
    m_composition = event->preeditString();
}

void CaptionTextEdit::commitComposition()
{
    if (m_composition.isEmpty())
        return;
    // A platform input method commits through an input-method event, which clears the
    // composition here; it can do so only while the field is its focus object.
    if (QGuiApplication::focusObject() == this)
        QGuiApplication::inputMethod()->commit();
    if (m_composition.isEmpty())
        return;
    QInputMethodEvent commit;
    commit.setCommitString(std::exchange(m_composition, QString()));
    QPlainTextEdit::inputMethodEvent(&commit);
    QGuiApplication::inputMethod()->reset();
}

void CaptionTextEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    int start = 0;
    int length = 0;
    const int position = cursorForPosition(event->pos()).position();
    if (m_spelling && m_highlighter && m_highlighter->misspeltAt(position, &start, &length)) {
        // Suggestions take the dictionary a moment: the menu shows them when they come.
        const QString word = toPlainText().mid(start, length);
        QAction* first = menu->actions().value(0);
        auto* waiting = new QAction(QStringLiteral("추천 단어를 찾고 있습니다…"), menu.get());
        waiting->setEnabled(false);
        menu->insertAction(first, waiting);
        auto* add = new QAction(QStringLiteral("내 사전에 추가(&D)"), menu.get());
        connect(add, &QAction::triggered, this, [this, word] { m_spelling->addWord(word); });
        menu->insertAction(first, add);
        menu->insertSeparator(first);
        QMenu* shown = menu.get();
        connect(m_spelling, &SpellChecker::suggestionsReady, shown,
                [this, shown, waiting, word, start, length](const QString& asked,
                                                            const QStringList& list) {
                    if (asked != word)
                        return;
                    for (const QString& suggestion : list.mid(0, 8)) {
                        auto* use = new QAction(suggestion, shown);
                        connect(use, &QAction::triggered, this, [this, suggestion, start, length] {
                            QTextCursor cursor(document());
                            cursor.setPosition(start);
                            cursor.setPosition(start + length, QTextCursor::KeepAnchor);
                            cursor.insertText(suggestion);
                        });
                        shown->insertAction(waiting, use);
                    }
                    if (list.isEmpty())
                        waiting->setText(QStringLiteral("추천할 단어가 없습니다"));
                    else
                        shown->removeAction(waiting);
                });
        m_spelling->requestSuggestions(word);
    }
    menu->exec(event->globalPos());
}

void CaptionTextEdit::focusOutEvent(QFocusEvent* event)
{
    // Leaving for a popup or the menu bar keeps the composition, as input methods expect; a
    // command chosen there commits it first.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::MenuBarFocusReason)
        commitComposition();
    QPlainTextEdit::focusOutEvent(event);
}

}  // namespace verbanta::app
