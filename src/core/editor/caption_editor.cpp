// The caption editor's view state: binding to the document, selection, the refresh after a
// change, and the mouse and option requests of the view.
#include "editor/caption_editor.h"

#include <algorithm>

#include "model/codepage.h"
#include "model/text_format.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr std::string_view kCommentTimeText = "(\xc4\xda\xb8\xe0\xc6\xae)";  // (코멘트)

}  // namespace

CaptionEditor::CaptionEditor(SamiModel& model, const AppSettings& settings,
                             EditorDocument& document, PlayerPort& player, ClipboardPort& clipboard,
                             ProcessLauncher& launcher, Messenger& messenger)
    : m_model(model),
      m_settings(settings),
      m_document(document),
      m_player(player),
      m_clipboard(clipboard),
      m_launcher(launcher),
      m_messenger(messenger)
{
    m_panel.applyMode(PanelMode::Edit);
}

// ---- one recorded command ----------------------------------------------------------------

CaptionEditor::Action::Action(CaptionEditor& editor)
    : m_editor(editor),
      m_undo(editor.m_model.journal()),
      m_check(editor.m_model),
      m_first(editor.m_model.journal().nextPosition())
{
}

CaptionEditor::Action::~Action()
{
    // Read while the action still keeps its records from being trimmed.
    m_editor.m_changes.addRecords(m_editor.m_model.journal(), m_first,
                                  m_editor.m_model.GetCurrentSlot());
}

bool CaptionEditor::Action::pushed() const
{
    return m_editor.m_model.journal().lastPosition() >= m_first;
}

void CaptionEditor::Action::group()
{
    UndoJournal& journal = m_editor.m_model.journal();
    const JournalPosition last = journal.lastPosition();
    if (last <= m_first)
        return;
    // A parse inside the command may have grouped its own records; a group inside a group
    // would end the undo step early, so only the outer marks stay.
    journal.forEachFrom(m_first, [](UndoRecord& r) { r.groupBegin = r.groupEnd = false; });
    journal.GroupUndo(m_first, last);
}

// ---- helpers -----------------------------------------------------------------------------

std::string CaptionEditor::newRowClass() const
{
    return m_model.languages.empty() ? std::string("KRCC") : m_model.CurrentClassName();
}

std::string CaptionEditor::newSyncText() const
{
    return Utf8ToCp949(TrimWhiteSpace(m_settings.NewSync));
}

std::string CaptionEditor::syncBlock(std::string_view text, std::int32_t ms) const
{
    return FormatSyncBlock(text, newRowClass(), ms);
}

void CaptionEditor::say(std::string_view text, MessageIcon icon) const
{
    m_messenger.showMessage(text, icon);
}

void CaptionEditor::notifyRow(int row)
{
    if (row >= 0 && row < rowCount())
        m_changes.changed(row, row);
}

void CaptionEditor::notifyPanel()
{
    if (m_listener)
        m_listener->panelChanged();
}

std::string CaptionEditor::timeText(int row) const
{
    const SyncEntry* e = entry(row);
    if (!e)
        return {};
    if (e->isComment)
        return std::string(kCommentTimeText);
    return FormatTime(e->startMs, m_settings.DisplayAsTime);
}

std::string CaptionEditor::captionText(int row) const
{
    const SyncEntry* e = entry(row);
    if (!e)
        return {};
    if (m_settings.DisplayTag)
        return ListDisplayText(e->text);
    return std::string(TruncateText(StripTags(e->text, true), kListDisplayBytes));
}

// ---- binding -----------------------------------------------------------------------------

void CaptionEditor::documentShown()
{
    m_changes.deliver(nullptr);  // whatever was pending belongs to the old content
    updatePanelButtons();
    const int n = rowCount();
    // The whole list is the range until the first change derives it from the marks again.
    m_currentRow = n > 0 ? 0 : -1;
    m_rangeStartRow = 0;
    m_rangeEndRow = n - 1;
    m_dragRow = -1;
    // The player clears its range marks for every new document: send them again.
    m_sentRangeStartMs = m_sentRangeEndMs = -2;
    m_slotClasses.assign(SamiModel::kSlotCount, std::string());
    for (std::size_t i = 0; i < m_model.languages.size() && i < m_slotClasses.size(); ++i)
        m_slotClasses[static_cast<std::size_t>(m_model.slotOrder[i])] =
            m_model.languages[i].selector;
    if (n > 0)
        setPanelMode(PanelMode::Edit);
    m_panel.clearText();
    m_panel.start.value = 0;
    m_panel.end.value = 0;
    if (m_listener) {
        m_listener->listReplaced();
        m_listener->languagesChanged();
    }
    m_replayRow = -1;
    for (int i = 0; i < n; ++i)
        if (m_model.list()[i].replayMark) {
            m_replayRow = i;
            break;
        }
    // A range the player still repeats belongs to the captions that were shown before.
    syncReplayWithPlayer();
    selectRow(0);
    loadRowIntoPanel(m_currentRow);
}

void CaptionEditor::documentReloaded()
{
    documentShown();
    scanMarks();
    m_player.ResyncCursor();
}

// ---- selection and refresh -----------------------------------------------------------------

void CaptionEditor::selectRow(int row, ScrollHint hint)
{
    const int n = rowCount();
    if (n == 0) {
        row = -1;
    } else {
        row = std::clamp(row, 0, n - 1);
    }
    const bool moved = row != m_currentRow;
    m_currentRow = row;
    if (row >= 0)
        m_focusedRow = row;
    if (m_listener)
        m_listener->currentRowChanged(row, hint);
    // The list loads a row into the panel whenever its selection moves to it.
    if (moved)
        loadRowIntoPanel(row);
}

void CaptionEditor::rowActivated(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_currentRow = row;
    m_focusedRow = row;
    loadRowIntoPanel(row);
}

void CaptionEditor::prepareContextMenu()
{
    if (m_currentRow < 0 && m_focusedRow >= 0)
        selectRow(m_focusedRow);
}

void CaptionEditor::refreshAfterChange(int row)
{
    scanMarks();
    const int n = rowCount();
    // An out-of-range or negative row becomes the last one.
    if (row < 0 || row >= n)
        row = n - 1;
    m_currentRow = row;
    if (row >= 0)
        m_focusedRow = row;
    if (m_listener)
        m_listener->currentRowChanged(row, ScrollHint::EnsureVisible);
    loadRowIntoPanel(row);
}

void CaptionEditor::scanMarks()
{
    const int oldStart = m_rangeStartRow;
    const int oldEnd = m_rangeEndRow;
    m_rangeStartRow = -1;
    m_rangeEndRow = -1;
    m_replayRow = -1;
    const SyncList& list = m_model.list();
    const int n = list.count();
    for (int i = 0; i < n; ++i) {
        const SyncEntry& e = list[i];
        // A row may carry both marks: a range of one row.
        if (e.rangeStart)
            m_rangeStartRow = i;
        if (e.rangeEnd)
            m_rangeEndRow = i;
        if (e.replayMark && m_replayRow < 0)
            m_replayRow = i;
    }
    const auto timeOf = [&](int row) { return row >= 0 ? list[row].startMs : -1; };
    const std::int32_t startMs = timeOf(m_rangeStartRow);
    const std::int32_t endMs = timeOf(m_rangeEndRow);
    if (startMs != m_sentRangeStartMs || endMs != m_sentRangeEndMs) {
        m_sentRangeStartMs = startMs;
        m_sentRangeEndMs = endMs;
        m_player.SetRangeMarks(startMs, endMs);
    }
    if ((oldStart != m_rangeStartRow || oldEnd != m_rangeEndRow) && m_listener)
        m_listener->marksChanged();
}

void CaptionEditor::replayRangeOf(int row)
{
    const SyncEntry* e = entry(row);
    if (!e) {
        m_player.ClearReplayRange();
        return;
    }
    // Until the next row, whatever its kind; the last row plays for its letters' time.
    std::int32_t endMs;
    if (const SyncEntry* next = entry(row + 1)) {
        endMs = next->startMs;
    } else {
        const std::int64_t letters = CountCharacters(StripTags(e->text, true));
        endMs = static_cast<std::int32_t>(std::clamp<std::int64_t>(
            e->startMs + letters * m_settings.OneLetterSync, INT32_MIN, INT32_MAX));
    }
    m_player.SetReplayRange(e->startMs, endMs);
}

void CaptionEditor::syncReplayWithPlayer()
{
    replayRangeOf(m_replayRow);
}

void CaptionEditor::publishChanges()
{
    const bool anything = !m_changes.empty();
    m_changes.deliver(m_listener);
    // Timing-error marks follow every change of times or order, wherever they land.
    if (anything && m_settings.DisplayErrorSync && m_listener)
        m_listener->marksChanged();
}

void CaptionEditor::finishChange(int row, bool modified)
{
    publishChanges();
    scanMarks();
    syncReplayWithPlayer();
    m_player.ResyncCursor();
    const int n = rowCount();
    if (row < 0 || row >= n)
        row = n - 1;
    m_currentRow = row;
    if (row >= 0)
        m_focusedRow = row;
    if (m_listener)
        m_listener->currentRowChanged(row, ScrollHint::EnsureVisible);
    loadRowIntoPanel(row);
    updatePanelButtons();
    if (modified)
        m_document.setModified(true);
}

// ---- mouse, options and format ------------------------------------------------------------

void CaptionEditor::rowDoubleClicked(int row)
{
    if (entry(row))
        requestFocus(FocusTarget::TextField);
}

bool CaptionEditor::seekPlayerToRow(int row, bool fromList)
{
    const SyncEntry* e = entry(row);
    return e && m_player.SeekTo(e->startMs, fromList);
}

void CaptionEditor::optionsChanged(const AppSettings& before)
{
    const bool errors = before.DisplayErrorSync != m_settings.DisplayErrorSync;
    if (errors)
        m_model.CheckOrder();
    // Times, texts and error colours are drawn from the options: every row looks different.
    if ((errors || before.DisplayAsTime != m_settings.DisplayAsTime ||
         before.DisplayTag != m_settings.DisplayTag) &&
        rowCount() > 0) {
        m_changes.changed(0, rowCount() - 1);
        publishChanges();
        if (m_listener)
            m_listener->marksChanged();
    }
}

void CaptionEditor::formatChanged()
{
    m_document.setModified(true);
}

}  // namespace verbanta
