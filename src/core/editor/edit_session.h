#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/change_collector.h"
#include "editor/editor_ports.h"
#include "model/sami_model.h"
#include "platform/messenger.h"

namespace verbanta {

struct AppSettings;

/// One row found by the timing-error search or the language comparison.
struct FoundRow {
    int row = -1;
    std::int32_t startMs = 0;
    std::string text;  ///< CP949, tags removed as the list shows them

    bool operator==(const FoundRow&) const = default;
};

/// What shows the selected row beside the list: the edit panel loads every row the selection
/// lands on, and its buttons follow whether the list is empty.
class PanelFollower {
public:
    virtual void loadRowIntoPanel(int row) = 0;
    virtual void updatePanelButtons() = 0;

protected:
    ~PanelFollower() = default;
};

/// The editing session of the caption list, shared by the editing components: the model and
/// the ports around it, the open undo action, the change collector, the selection with the
/// range and replay rows derived from the marks, and the one routine that finishes a change.
/// Caption texts in and out are CP949; messages are UTF-8.
class EditSession {
public:
    EditSession(SamiModel& model, const AppSettings& settings, EditorDocument& document,
                PlayerPort& player, Messenger& messenger);
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    /// One recorded command: the undo records it pushes stay whole under the journal's cap,
    /// timing errors are checked once at its end, and its changes are collected for telling.
    class Action {
    public:
        explicit Action(EditSession& session);
        ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;
        /// Groups everything pushed since the start into one undo step.
        void group();

    private:
        EditSession& m_session;
        UndoActionScope m_undo;
        SamiModel::DeferredCheckOrder m_check;
        JournalPosition m_first;
    };

    void setListener(CaptionViewListener* listener) { m_listener = listener; }
    CaptionViewListener* listener() const { return m_listener; }
    void setPanel(PanelFollower* panel) { m_panel = panel; }

    SamiModel& model() { return m_model; }
    const SamiModel& model() const { return m_model; }
    const AppSettings& settings() const { return m_settings; }
    PlayerPort& player() { return m_player; }
    EditorDocument& document() { return m_document; }
    Messenger& messenger() { return m_messenger; }
    ChangeCollector& changes() { return m_changes; }

    // ---- the list as the view shows it --------------------------------------------------
    int rowCount() const { return m_model.GetCount(); }
    /// The entry at a row, or null outside the list.
    const SyncEntry* entry(int row) const { return m_model.entryAt(m_model.FindIndex(row)); }
    Position rowPos(int row) const { return m_model.FindIndex(row); }
    /// The time column's text: "(코멘트)" for a comment, else the time as the options say.
    std::string timeText(int row) const;
    /// The caption column's text, cut to 256 bytes.
    std::string captionText(int row) const;

    // ---- selection ----------------------------------------------------------------------
    int currentRow() const { return m_currentRow; }
    bool hasCurrentRow() const { return m_currentRow >= 0; }
    /// The row the list's keyboard focus is on; it outlives a cleared selection.
    int focusedRow() const { return m_focusedRow; }
    int rangeStartRow() const { return m_rangeStartRow; }
    int rangeEndRow() const { return m_rangeEndRow; }
    void selectRow(int row, ScrollHint hint = ScrollHint::EnsureVisible);
    /// The list's focused row changed (a click or a key): select and load it.
    void rowActivated(int row);
    FocusTarget focusSlot() const { return m_focusSlot; }
    void setFocusSlot(FocusTarget slot) { m_focusSlot = slot; }
    void requestFocus(FocusTarget target);

    // ---- the document shown ---------------------------------------------------------------
    /// The list's part of showing a document: the whole list bound with row 0 current and
    /// the whole list as the range until the first change derives it from the marks again.
    void documentShown();
    /// After the options sheet's OK, with the values it started from: timing errors are
    /// re-marked and the rows redrawn when their look changed.
    void optionsChanged(const AppSettings& before);
    /// After the whole-file format dialog reported a change.
    void formatChanged();

    // ---- finishing a change ---------------------------------------------------------------
    /// After a change: notifications, range rows, replay, player, selection, panel, modified.
    void finishChange(int row, bool modified = true);
    void refreshAfterChange(int row);
    /// Another list is shown (another language, or the languages were edited): the view
    /// binds it anew and the selection is clamped to it.
    void listSwitched();
    /// Tells the view what changed; timing-error marks follow every change of times or order.
    void publishChanges();
    /// Re-derives the range rows and the replay row from the marks; the player gets the
    /// range's times when they changed.
    void scanMarks();
    /// The rows carrying a check mark, in order. Known from the last walk of the list and the
    /// check commands since, so a long list is not walked again to find a few.
    std::vector<int> checkedRows() const;
    /// The check marks of the rows first..last (valid rows) were just set or cleared.
    void checksChanged(int first, int last);
    void syncReplayWithPlayer();
    /// The replay mark now sits on this row (-1: none): the player repeats its range.
    void setReplayRow(int row);

    // ---- shared editing steps -----------------------------------------------------------
    void say(std::string_view text, MessageIcon icon) const;
    /// The new caption's text from the options, CP949.
    std::string newSyncText() const;
    /// One caption as SAMI text, in the current language's class.
    std::string syncBlock(std::string_view text, std::int32_t ms) const;
    /// Parses a SAMI text into the list before a row (clamped; at the end past the last).
    void insertBlockBefore(int row, std::string_view block, bool merge);
    /// One caption after the current row at a time, as one step, selected.
    void insertSyncAfter(std::string_view text, std::int32_t ms);

private:
    /// Selects the row a change leaves (the last row for one out of range) and loads it.
    void showRowAfterChange(int row);
    void replayRangeOf(int row);

    SamiModel& m_model;
    const AppSettings& m_settings;
    EditorDocument& m_document;
    PlayerPort& m_player;
    Messenger& m_messenger;
    CaptionViewListener* m_listener = nullptr;
    PanelFollower* m_panel = nullptr;
    std::int64_t m_pushesSeen = 0;  ///< the journal's push count at the last finished change

    ChangeCollector m_changes;
    int m_currentRow = -1;
    int m_focusedRow = -1;
    int m_rangeStartRow = -1;
    int m_rangeEndRow = -1;
    int m_replayRow = -1;
    /// The checked rows of the list that was walked last, valid while that list keeps the
    /// length it had: every change of rows walks it again when it finishes.
    std::vector<int> m_checkedRows;
    const SyncList* m_checkedList = nullptr;
    int m_checkedListLength = -1;
    std::int32_t m_sentRangeStartMs = -2;
    std::int32_t m_sentRangeEndMs = -2;
    FocusTarget m_focusSlot = FocusTarget::List;
};

}  // namespace verbanta
