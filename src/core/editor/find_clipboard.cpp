// Find, replace, the clipboard commands and the external editor of the caption list.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "editor/find_clipboard.h"
#include "editor/panel_editor.h"
#include "editor/row_editing.h"
#include "editor/text_search.h"
#include "model/text_format.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr std::string_view kNoMoreMatches = "일치하는 문자열이 더 이상 존재하지 않습니다.";

/// One entry as the clipboard carries it: the writer's sync form, a comment included.
void appendClipboardEntry(std::string& out, const SyncEntry& e)
{
    if (!e.isComment) {
        appendSamiEntry(out, e);
        return;
    }
    SyncEntry asCaption = e;
    asCaption.isComment = 0;
    appendSamiEntry(out, asCaption);
}

/// Clipboard text as a caption takes it: a zero byte ends it, as it ends a file.
std::string cutAtZero(std::string text)
{
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

}  // namespace

FindClipboard::FindClipboard(EditSession& session, PanelEditor& panel, RowEditing& rows,
                             ClipboardPort& clipboard, ProcessLauncher& launcher)
    : m_session(session), m_panel(panel), m_rows(rows), m_clipboard(clipboard), m_launcher(launcher)
{
}

// ---- find and replace --------------------------------------------------------------------

std::string FindClipboard::prepareFind()
{
    if (m_panel.state().mode == PanelMode::Add && m_panel.state().editButton.enabled)
        m_panel.setPanelMode(PanelMode::Edit);
    return m_lastFind;
}

bool FindClipboard::findNext(std::string_view what, bool down, bool matchCase)
{
    m_lastFind = std::string(what);
    const int n = m_session.rowCount();
    const int r0 = m_session.currentRow();
    // Without a current row the search covers the whole list from its top or its end.
    const int begin = r0 >= 0 ? r0 : (down ? 0 : n - 1);
    for (int r = begin; r >= 0 && r < n; r += down ? 1 : -1) {
        const std::string& text = m_session.model().list()[r].text;
        std::ptrdiff_t at;
        if (down) {
            const std::size_t from =
                r == r0 ? static_cast<std::size_t>(m_panel.state().selectionEnd) : std::size_t{0};
            at = findForward(text, what, from, matchCase);
        } else {
            const std::size_t before =
                r == r0 ? static_cast<std::size_t>(m_panel.state().selectionStart) : text.size();
            at = findBackward(text, what, before, matchCase);
        }
        if (at < 0)
            continue;
        if (r != m_session.currentRow())
            m_session.selectRow(r);
        m_panel.loadRowIntoPanel(r);
        m_panel.showSelection(static_cast<int>(at), static_cast<int>(at + what.size()));
        return true;
    }
    m_session.say(kNoMoreMatches, MessageIcon::Information);
    return false;
}

void FindClipboard::replace(std::string_view what, std::string_view with, bool matchCase)
{
    m_lastFind = std::string(what);
    const int r = m_session.currentRow();
    const SyncEntry* e = m_session.entry(r);
    const std::ptrdiff_t at =
        e ? findForward(e->text, what, static_cast<std::size_t>(m_panel.state().selectionStart),
                        matchCase)
          : -1;
    if (at >= 0) {
        SyncEntry changed = *e;
        changed.text.replace(static_cast<std::size_t>(at), what.size(), with);
        {
            EditSession::Action action(m_session);
            m_session.model().SetAt(m_session.rowPos(r), changed, true);
        }
        m_session.finishChange(r);
        m_panel.showSelection(static_cast<int>(at), static_cast<int>(at + with.size()));
    }
    // On with the next match below, from the end of the replacement.
    findNext(what, true, matchCase);
}

int FindClipboard::replaceAll(std::string_view what, std::string_view with, bool matchCase)
{
    m_lastFind = std::string(what);
    int rows = 0;
    {
        EditSession::Action action(m_session);
        {
            SamiModel& model = m_session.model();
            SamiModel::RowBatch batch(model, model.GetCurrentSlot());
            for (int row = 0; row < batch.count(); ++row) {
                if (findForward(batch[row].text, what, 0, matchCase) < 0)
                    continue;
                SyncEntry changed = batch[row];
                replaceEvery(changed.text, what, with, matchCase);
                batch.setAt(row, std::move(changed), true);
                ++rows;
            }
        }
        action.group();
    }
    if (rows == 0) {
        m_session.say("일치하는 문자열이 없습니다.", MessageIcon::Information);
        return 0;
    }
    m_session.finishChange(m_session.currentRow());
    m_session.say(std::to_string(rows) + "개 자막의 문자열을 바꾸었습니다.",
                  MessageIcon::Information);
    return rows;
}

// ---- clipboard ---------------------------------------------------------------------------

bool FindClipboard::checkedRowsText(std::string& out, std::string_view noneChecked) const
{
    const SamiModel& model = m_session.model();
    if (!model.AnyChecked()) {
        m_session.say(noneChecked, MessageIcon::Warning);
        return false;
    }
    model.list().forEach([&](const SyncEntry& e) {
        if (e.checked)
            appendClipboardEntry(out, e);
    });
    return true;
}

void FindClipboard::copy()
{
    std::string out;
    if (checkedRowsText(out, "내용을 복사할 자막을 선택해 주십시오."))
        m_clipboard.setText(out);
}

void FindClipboard::cut()
{
    std::string out;
    // Captions the clipboard did not take are not deleted.
    if (checkedRowsText(out, "내용을 잘라낼 자막을 선택해 주십시오.") && m_clipboard.setText(out))
        m_rows.deleteChecked();
}

PasteAction FindClipboard::paste()
{
    const int r = m_session.currentRow();
    if (r >= 0 && r == m_session.rowCount() - 1)
        return PasteAction::ShowPasteMenu;
    const int before = m_session.rowCount();
    pasteInsert();
    return m_session.rowCount() != before ? PasteAction::Pasted : PasteAction::Nothing;
}

std::string FindClipboard::clipboardCaptions() const
{
    const std::optional<std::string> clip = m_clipboard.text();
    return clip ? cutAtZero(*clip) : std::string();
}

FindClipboard::Pasted FindClipboard::pasteText(int row, const std::string& text, bool merge)
{
    if (text.empty())
        return Pasted::Nothing;
    if (findForward(text, "<SYNC", 0, false) >= 0) {
        m_session.insertBlockBefore(row, text, merge);
        return Pasted::Sami;
    }
    SyncEntry plain;
    m_session.model().InitEntry(plain);
    plain.text = text;
    plain.isEndSync = IsEndSyncText(text);
    m_session.model().InsertBefore(m_session.rowPos(row), plain, true);  // at the end without a row
    return Pasted::Plain;
}

void FindClipboard::pasteInsert()
{
    const int r0 = m_session.currentRow();
    const int c0 = m_session.rowCount();
    Pasted pasted = Pasted::Nothing;
    {
        EditSession::Action action(m_session);
        pasted = pasteText(r0, clipboardCaptions(), true);
    }
    if (pasted == Pasted::Nothing)
        return;
    const int added = m_session.rowCount() - c0;
    // The row that was current, now below the pasted rows; without one, the last row pasted:
    // SAMI text goes to the head of the list, plain text to its end.
    if (r0 >= 0)
        m_session.finishChange(r0 + added);
    else
        m_session.finishChange(pasted == Pasted::Sami ? added - 1 : m_session.rowCount() - 1);
}

void FindClipboard::appendAtEnd()
{
    const int n = m_session.rowCount();
    if (n == 0 || m_session.currentRow() != n - 1)
        return;
    // Read first: with nothing to paste the last row is not taken out and put back, which
    // would leave an empty undo step and a modified mark.
    const std::string text = clipboardCaptions();
    if (text.empty())
        return;
    {
        EditSession::Action action(m_session);
        const SyncEntry last = *m_session.entry(n - 1);
        m_session.model().RemoveAt(n - 1, false);
        const int pastedFrom = m_session.rowCount();
        pasteText(pastedFrom, text, false);
        // The former last row goes back before the pasted rows, keeping its index.
        m_session.model().InsertBefore(m_session.rowPos(pastedFrom), last, true);
        action.group();
    }
    m_session.finishChange(m_session.rowCount() - 1);
}

bool FindClipboard::copySingle()
{
    const SyncEntry* e = m_session.entry(m_session.currentRow());
    if (!e)
        return false;
    std::string out;
    appendClipboardEntry(out, *e);
    return m_clipboard.setText(out);
}

void FindClipboard::cutSingle()
{
    // A caption the clipboard did not take is not deleted.
    if (copySingle())
        m_rows.deleteCaption();
}

// ---- external editor ---------------------------------------------------------------------

std::string editorCommandLine(const std::string& pattern, const std::string& path)
{
    // The launcher splits the line at blanks outside quotes, so a path with a blank is
    // quoted where the pattern has not quoted it already; a quote inside it is tripled,
    // which the splitting reads as a literal quote.
    std::string escaped;
    for (char c : path) escaped += c == '"' ? std::string(3, '"') : std::string(1, c);
    const bool needsQuotes = path.find_first_of(" \t\"") != std::string::npos;
    std::string command;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == 'f' || pattern[i + 1] == 'F')) {
            if (quoted || !needsQuotes)
                command += escaped;
            else
                command += '"' + escaped + '"';
            ++i;
        } else {
            if (pattern[i] == '"')
                quoted = !quoted;
            command += pattern[i];
        }
    }
    return command;
}

std::string userEditorPattern()
{
    for (const char* name : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string(value) + " %f";
    }
    return {};
}

void FindClipboard::openExternalEditor()
{
    // The answer does not stop the command: the editor opens the file as it is on disk.
    m_session.document().saveModifiedPrompt();
    const std::string path = m_session.document().path();
    if (path.empty()) {
        m_session.say("현재 열린 자막 파일이 없습니다.", MessageIcon::Warning);
        return;
    }
    const std::string& option = m_session.settings().EditorName;
    const std::string pattern = option.empty() ? userEditorPattern() : option;
    const bool started = pattern.empty() ? m_launcher.openWithDesktop(path)
                                         : m_launcher.launch(editorCommandLine(pattern, path));
    if (!started)
        m_session.say("지정한 에디터를 실행할 수 없습니다.", MessageIcon::Error);
}

}  // namespace verbanta
