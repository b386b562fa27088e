#pragma once

#include <string>
#include <string_view>

#include "editor/edit_session.h"

namespace verbanta {

class PanelEditor;
class RowEditing;

/// What the paste command does next.
enum class PasteAction { Nothing, Pasted, ShowPasteMenu };

/// The external editor's command line: the pattern with every "%f" and "%F" replaced by the
/// path, quoted when it holds a blank or a quote and the pattern does not quote it.
std::string editorCommandLine(const std::string& pattern, const std::string& path);

/// The pattern of the user's own editor when the option is empty: `VISUAL`, else `EDITOR`,
/// followed by " %f"; empty when neither is set, and the desktop's program opens the file.
std::string userEditorPattern();

/// Find and replace in the captions' texts, the clipboard commands on the checked rows or the
/// current row, and the external editor.
class FindClipboard {
public:
    FindClipboard(EditSession& session, PanelEditor& panel, RowEditing& rows,
                  ClipboardPort& clipboard, ProcessLauncher& launcher);

    /// Before the find or replace dialog opens: the string it starts with.
    std::string prepareFind();
    bool findNext(std::string_view what, bool down, bool matchCase);
    void replace(std::string_view what, std::string_view with, bool matchCase);
    int replaceAll(std::string_view what, std::string_view with, bool matchCase);

    void copy();
    void cut();
    bool canPaste() const { return m_clipboard.hasText(); }
    PasteAction paste();
    void pasteInsert();
    void appendAtEnd();
    /// Puts the current row on the clipboard; false without one or when the clipboard refused.
    bool copySingle();
    void cutSingle();
    void openExternalEditor();

private:
    enum class Pasted { Nothing, Plain, Sami };
    /// The clipboard's text up to its first zero byte; empty when there is none.
    std::string clipboardCaptions() const;
    /// Pastes the text before the row (plain text at the end without a row).
    Pasted pasteText(int row, const std::string& text, bool merge);
    /// The checked rows in the clipboard's form; false after the message when none is checked.
    bool checkedRowsText(std::string& out, std::string_view noneChecked) const;

    EditSession& m_session;
    PanelEditor& m_panel;
    RowEditing& m_rows;
    ClipboardPort& m_clipboard;
    ProcessLauncher& m_launcher;
    std::string m_lastFind;
};

}  // namespace verbanta
