#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/change_collector.h"
#include "editor/editor_ports.h"
#include "editor/panel_state.h"
#include "editor/timing_drag.h"
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

/// What a click in the marker strip asks for.
enum class StripClick { Nothing, MarkedStart, MarkedEnd, AskStartOrEnd };

/// What the paste command does next.
enum class PasteAction { Nothing, Pasted, ShowPasteMenu };

/// The options of the end-sync reset dialog.
struct EndSyncReset {
    bool byLength = false;        ///< "자동 시간 설정" instead of "일정시간 지속"
    std::int32_t durationMs = 0;  ///< fixed duration mode
    bool onlyIfShorter = false;
    bool onlyIfLonger = false;
    std::int32_t msPerCharacter = 200;  ///< by-length mode
    bool rangeOnly = false;
};

/// The caption list's controller: the view state of the list and its edit panel, and every
/// editing, undo, timing, find, clipboard, language and bookmark command on the current
/// language's list. The view binds its widgets to it and never changes the model itself.
/// Caption texts in and out are CP949; labels and messages are UTF-8.
class CaptionEditor {
public:
    CaptionEditor(SamiModel& model, const AppSettings& settings, EditorDocument& document,
                  PlayerPort& player, ClipboardPort& clipboard, ProcessLauncher& launcher,
                  Messenger& messenger);
    CaptionEditor(const CaptionEditor&) = delete;
    CaptionEditor& operator=(const CaptionEditor&) = delete;

    void setListener(CaptionViewListener* listener) { m_listener = listener; }
    const SamiModel& model() const { return m_model; }

    // ---- view state (caption_editor.cpp) ------------------------------------------------
    int rowCount() const { return m_model.GetCount(); }
    int currentRow() const { return m_currentRow; }
    int focusedRow() const { return m_focusedRow; }
    int rangeStartRow() const { return m_rangeStartRow; }
    int rangeEndRow() const { return m_rangeEndRow; }
    const PanelState& panel() const { return m_panel; }
    std::int32_t rememberedStart() const { return m_rememberedStart; }
    std::int32_t lastMoveOffset() const { return m_lastMoveOffset; }
    const std::string& lastFindString() const { return m_lastFind; }
    FocusTarget focusSlot() const { return m_focusSlot; }
    /// The entry at a row, or null outside the list.
    const SyncEntry* entry(int row) const { return m_model.EntryAt(m_model.FindIndex(row)); }
    /// The time column's text: "(코멘트)" for a comment, else the time as the options say.
    std::string timeText(int row) const;
    /// The caption column's text, cut to 256 bytes.
    std::string captionText(int row) const;

    /// The initial update each time a document is shown: the whole list bound, row 0.
    void documentShown();
    /// After the file was read again from disk: re-bound, the range taken from the marks.
    void documentReloaded();

    void selectRow(int row, ScrollHint hint = ScrollHint::EnsureVisible);
    void refreshAfterChange(int row);
    void loadRowIntoPanel(int row);
    void updatePanelButtons();
    void syncReplayWithPlayer();
    /// The list's focused row changed (a click or a key): select and load it.
    void rowActivated(int row);
    void setFocusedRow(int row) { m_focusedRow = row; }
    /// Before the context menu: with no selection, the focused row is selected.
    void prepareContextMenu();
    void setRowsPerPage(int rows) { m_rowsPerPage = rows > 0 ? rows : 1; }
    void setFocusSlot(FocusTarget slot) { m_focusSlot = slot; }
    /// A double click on a row puts the focus into the text field.
    void rowDoubleClicked(int row);
    /// A click with "click and go", or a row dropped on the player: seek to its start.
    bool seekPlayerToRow(int row, bool fromList);
    /// After the options sheet's OK, with the values it started from: timing errors are
    /// re-marked and the rows redrawn when their look changed.
    void optionsChanged(const AppSettings& before);
    /// After the whole-file format dialog reported a change.
    void formatChanged();

    // ---- edit panel (panel_commands.cpp) ------------------------------------------------
    void setPanelMode(PanelMode mode);
    void setPanelText(std::string text);
    void setTextSelection(int start, int end);
    /// The start field took a value: in Edit mode `MoveEndToo` moves the end field along.
    void setStartField(std::int32_t ms);
    void setEndField(std::int32_t ms);
    void stepStartField(int direction);
    void stepEndField(int direction);
    /// "취소": clears the new text in Add mode, otherwise reloads the current row.
    void cancelPanel();
    /// Alt+Q / Alt+W: the player's position into the start or end field.
    void putPlayerPositionInStart();
    void putPlayerPositionInEnd();
    void requestFocus(FocusTarget target);

    // ---- row commands (row_commands.cpp) ------------------------------------------------
    void addCaptionBefore();
    void addCaptionAfter();
    void addEndSyncBefore();
    void addEndSyncAfter();
    void deleteCaption();
    void deleteChecked();
    void moveUp();
    void moveDown();
    void splitContent();
    void joinWithNext();
    /// "등록" in the current mode.
    void registerPanel();
    /// "코멘트" in Add mode.
    void addComment();
    void exportBookmarksToSyncs();
    bool canExportBookmarks() const { return m_player.BookmarkCount() > 0; }

    // ---- selection, navigation and marks (selection_commands.cpp) -----------------------
    void goToRangeStart();
    void goToRangeEnd();
    void checkAll();
    void invertChecks();
    void clearChecks();
    void toggleChecked(int row);
    /// Shift + click: checks every row from the selected one to the clicked one.
    void shiftClickCheck(int row);
    /// A key moved the selection with Shift held: checks the rows between.
    void checkRowsBetween(int from, int to);
    /// Dragging over the check column toggles each row swept over, once.
    void beginCheckDrag(int row);
    void dragCheckOver(int row);
    void endCheckDrag();
    void selectPrevious();
    void selectNext();
    void pageUp();
    void pageDown();
    StripClick stripClicked(int row);
    void markRangeStart(int row);
    void markRangeEnd(int row);

    // ---- undo and redo (selection_commands.cpp) -----------------------------------------
    bool canUndo() const { return m_model.CanUndo(); }
    bool canRedo() const { return m_model.CanRedo(); }
    void undo();
    void redo();

    // ---- timing tools (timing_tools.cpp) ------------------------------------------------
    /// Shifts the marked range; false (after the message) without a range.
    bool shiftRange(std::int32_t deltaMs, bool endSyncsOnly);
    /// "확인" of the batch-shift dialog, which starts from `lastMoveOffset`.
    void acceptShiftDialog(std::int32_t deltaMs, bool endSyncsOnly);
    bool shiftRangeToTime(std::int32_t ms);
    void fitProportionally();
    void syncToBookmarks();
    bool canSyncToBookmarks() const { return m_player.BookmarkCount() > 0; }
    /// "확인" of the end-sync reset dialog; the number of changes or -1.
    int resetEndSyncs(const EndSyncReset& options);
    void removeInvalidEndSyncs();
    /// The timing errors; with none, after the message, empty.
    std::vector<FoundRow> findTimingErrors();
    /// "이동" of the error dialog with the chosen row, or -1 for none.
    bool goToFoundRow(int row);

    // ---- find, replace and clipboard (find_clipboard.cpp) -------------------------------
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
    void copySingle();
    void cutSingle();
    void openExternalEditor();

    // ---- languages and marks (languages_marks.cpp) --------------------------------------
    /// The tab labels (CP949), in language order; empty when the tabs are hidden.
    std::vector<std::string> languageTabs() const;
    /// The language index whose list is shown, or -1.
    int currentLanguageIndex() const;
    void selectLanguage(int index);
    /// After the language dialog reported a change.
    void languageInformationChanged();
    /// The languages the synchronisation dialog offers: every index but the current one.
    std::vector<int> languageSyncChoices() const;
    /// Copies the reference language's start times onto the current one, row by row.
    bool synchronizeLanguages(int referenceIndex);
    /// Rows of the current language whose start no other language has.
    std::vector<FoundRow> findLanguageMismatches();
    void toggleReplay();
    void clearReplayMarks();
    void toggleBookmark();
    void previousBookmark();
    void nextBookmark();
    void clearBookmarks();

    // ---- operations for the player view (capture_operations.cpp) -----------------------
    void setCurrentSyncTime(std::int32_t ms);
    void insertCaptionAfterAt(std::int32_t ms);
    void insertEndSyncAfterAt(std::int32_t ms);
    bool selectRowBeforeTime(std::int32_t ms);
    void selectAndScrollToTop(int row);
    std::int32_t currentRowTime() const;
    std::int32_t selectPrevRowTime();
    std::int32_t selectNextRowTime();

    // ---- the timing strip (timing_drag.cpp) ---------------------------------------------
    /// Drags an edge of a caption's region to a time, held between its neighbours: the start
    /// sync, the end sync (made when the next caption ended it), or both. One undo step; the
    /// row becomes current and the list takes the keys. False when nothing moved.
    bool dragTiming(int row, DragEdge edge, std::int32_t toMs);

private:
    /// One recorded command: the undo records it pushes stay whole under the journal's cap,
    /// timing errors are checked once at its end, and the changes are told afterwards.
    class Action {
    public:
        explicit Action(CaptionEditor& editor);
        ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;
        /// Groups everything pushed since the start into one undo step.
        void group();
        bool pushed() const;

    private:
        CaptionEditor& m_editor;
        UndoActionScope m_undo;
        SamiModel::DeferredCheckOrder m_check;
        JournalPosition m_first;
    };

    /// A row of a fit and the time it is pulled to.
    struct Anchor {
        int row;
        std::int32_t fromMs;
        std::int32_t toMs;
    };

    Position rowPos(int row) const { return m_model.FindIndex(row); }
    std::string newRowClass() const;
    std::string newSyncText() const;
    std::string syncBlock(std::string_view text, std::int32_t ms) const;
    void say(std::string_view text, MessageIcon icon) const;
    /// After a change: notifications, range rows, replay, player, selection, panel, modified.
    void finishChange(int selectRow, bool modified = true);
    /// Tells the view what changed and re-derives the range rows and the replay range.
    void publishChanges();
    void scanMarks();
    void replayRangeOf(int row);
    void insertSyncAfter(std::string_view text, std::int32_t ms);
    void insertBlockBefore(int row, std::string_view block, bool merge);
    bool rangeReady(int& first, int& last) const;
    /// Shifts the rows first..last with one range-shift record and refreshes.
    void pushRangeShift(int first, int last, std::int32_t delta, bool endSyncsOnly);
    /// Pulls the anchors' rows onto their times, stretching between them; one undo step.
    void fitRows(int first, int last, const std::vector<Anchor>& anchors);
    void markRange(int row, bool start);
    enum class Pasted { Nothing, Plain, Sami };
    /// The clipboard's text up to its first zero byte; empty when there is none.
    std::string clipboardCaptions() const;
    /// Pastes the text before the row (plain text at the end without a row).
    Pasted pasteText(int row, const std::string& text, bool merge);
    void setCheckedRows(int first, int last, int mode);
    void notifyRow(int row);
    void notifyPanel();

    SamiModel& m_model;
    const AppSettings& m_settings;
    EditorDocument& m_document;
    PlayerPort& m_player;
    ClipboardPort& m_clipboard;
    ProcessLauncher& m_launcher;
    Messenger& m_messenger;
    CaptionViewListener* m_listener = nullptr;

    ChangeCollector m_changes;
    JournalPosition m_changesFrom = -1;  ///< records from here on are not told yet
    int m_currentRow = -1;
    int m_focusedRow = -1;
    int m_rangeStartRow = -1;
    int m_rangeEndRow = -1;
    int m_replayRow = -1;
    std::int32_t m_sentRangeStartMs = -2;
    std::int32_t m_sentRangeEndMs = -2;
    PanelState m_panel;
    std::int32_t m_rememberedStart = 0;
    std::int32_t m_lastMoveOffset = 0;
    std::string m_lastFind;
    FocusTarget m_focusSlot = FocusTarget::List;
    int m_rowsPerPage = 1;
    int m_dragRow = -1;  ///< the last row a check drag toggled, -1 when none is under way
    std::vector<std::string> m_slotClasses;  ///< per slot, its language's class when bound
};

}  // namespace verbanta
