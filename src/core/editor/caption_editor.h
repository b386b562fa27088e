#pragma once

#include "editor/caption_checks.h"
#include "editor/edit_session.h"
#include "editor/find_clipboard.h"
#include "editor/languages_marks.h"
#include "editor/list_selection.h"
#include "editor/panel_editor.h"
#include "editor/row_editing.h"
#include "editor/sync_capture.h"
#include "editor/timing_drag.h"
#include "editor/timing_tools.h"

namespace verbanta {

/// The caption list's editor: one editing session and the components that work on it. The
/// caption view binds to it and shows the session's state; each command of the list is an
/// operation of one component.
class CaptionEditor {
public:
    CaptionEditor(SamiModel& model, const AppSettings& settings, EditorDocument& document,
                  PlayerPort& player, ClipboardPort& clipboard, ProcessLauncher& launcher,
                  Messenger& messenger);
    CaptionEditor(const CaptionEditor&) = delete;
    CaptionEditor& operator=(const CaptionEditor&) = delete;

    /// The initial update each time a document is shown: the whole list bound, row 0.
    void documentShown();
    /// After the file was read again from disk: re-bound, the range taken from the marks.
    void documentReloaded();

    EditSession& session() { return m_session; }
    const EditSession& session() const { return m_session; }
    PanelEditor& panel() { return m_panel; }
    const PanelEditor& panel() const { return m_panel; }
    RowEditing& rows() { return m_rows; }
    ListSelection& selection() { return m_selection; }
    TimingTools& timing() { return m_timing; }
    FindClipboard& findClipboard() { return m_findClipboard; }
    LanguagesMarks& languages() { return m_languages; }
    const LanguagesMarks& languages() const { return m_languages; }
    SyncCapture& capture() { return m_capture; }
    TimingDrag& timingDrag() { return m_timingDrag; }
    CaptionChecks& checks() { return m_checks; }

private:
    EditSession m_session;
    TimingTools m_timing;
    PanelEditor m_panel;
    RowEditing m_rows;
    ListSelection m_selection;
    FindClipboard m_findClipboard;
    LanguagesMarks m_languages;
    SyncCapture m_capture;
    TimingDrag m_timingDrag;
    CaptionChecks m_checks;
};

}  // namespace verbanta
