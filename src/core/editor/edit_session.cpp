#include "editor/edit_session.h"

#include <algorithm>

#include "editor/text_search.h"
#include "model/codepage.h"
#include "model/text_format.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr std::string_view kCommentTimeText = "(\xc4\xda\xb8\xe0\xc6\xae)";  // (코멘트)

/// Whether a text holds enough syncs for its parse to be worth holding the rows below aside;
/// a caption or two is not, and without the hold the model's own check sees the whole list.
bool manySyncs(std::string_view text)
{
    constexpr int kHoldFrom = 32;
    int found = 0;
    for (std::ptrdiff_t at = findForward(text, "<SYNC", 0, false); at >= 0 && found < kHoldFrom;
         at = findForward(text, "<SYNC", static_cast<std::size_t>(at) + 1, false))
        ++found;
    return found >= kHoldFrom;
}

}  // namespace

EditSession::EditSession(SamiModel& model, const AppSettings& settings, EditorDocument& document,
                         PlayerPort& player, Messenger& messenger)
    : m_model(model),
      m_settings(settings),
      m_document(document),
      m_player(player),
      m_messenger(messenger)
{
}

// ---- one recorded command ----------------------------------------------------------------

EditSession::Action::Action(EditSession& session)
    : m_session(session),
      m_undo(session.m_model.journal()),
      m_check(session.m_model),
      m_first(session.m_model.journal().nextPosition())
{
}

EditSession::Action::~Action()
{
    // Read while the action still keeps its records from being trimmed.
    m_session.m_changes.addRecords(m_session.m_model.journal(), m_first,
                                   m_session.m_model.GetCurrentSlot());
}

void EditSession::Action::group()
{
    UndoJournal& journal = m_session.m_model.journal();
    const JournalPosition last = journal.lastPosition();
    if (last <= m_first)
        return;
    // A parse inside the command may have grouped its own records; a group inside a group
    // would end the undo step early, so only the outer marks stay.
    journal.forEachFrom(m_first, [](UndoRecord& r) { r.groupBegin = r.groupEnd = false; });
    journal.GroupUndo(m_first, last);
}

// ---- the list as the view shows it --------------------------------------------------------

std::string EditSession::timeText(int row) const
{
    const SyncEntry* e = entry(row);
    if (!e)
        return {};
    if (e->isComment)
        return std::string(kCommentTimeText);
    return FormatTime(e->startMs, m_settings.DisplayAsTime);
}

std::string EditSession::captionText(int row) const
{
    const SyncEntry* e = entry(row);
    if (!e)
        return {};
    if (m_settings.DisplayTag)
        return ListDisplayText(e->text);
    return std::string(truncateText(StripTags(e->text, true), kListDisplayBytes));
}

// ---- selection -----------------------------------------------------------------------------

void EditSession::selectRow(int row, ScrollHint hint)
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
    if (moved && m_panel)
        m_panel->loadRowIntoPanel(row);
}

void EditSession::rowActivated(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_currentRow = row;
    m_focusedRow = row;
    if (m_panel)
        m_panel->loadRowIntoPanel(row);
}

void EditSession::requestFocus(FocusTarget target)
{
    m_focusSlot = target;
    if (m_listener)
        m_listener->focusRequested(target);
}

// ---- the document shown --------------------------------------------------------------------

void EditSession::documentShown()
{
    m_changes.deliver(nullptr);  // whatever was pending belongs to the old content
    m_pushesSeen = m_model.journal().pushCount();
    const int n = rowCount();
    m_currentRow = n > 0 ? 0 : -1;
    m_rangeStartRow = 0;
    m_rangeEndRow = n - 1;
    // The player clears its range marks for every new document: send them again.
    m_sentRangeStartMs = m_sentRangeEndMs = -2;
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
}

void EditSession::optionsChanged(const AppSettings& before)
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

void EditSession::formatChanged()
{
    m_document.setModified(true);
}

// ---- finishing a change ----------------------------------------------------------------------

void EditSession::finishChange(int row, bool modified)
{
    publishChanges();
    scanMarks();
    syncReplayWithPlayer();
    m_player.ResyncCursor();
    showRowAfterChange(row);
    if (m_panel)
        m_panel->updatePanelButtons();
    // A change that pushed undo records can be undone back to the saved state; one that
    // pushed none (a comment typed in place) keeps the mark until the next save.
    const std::int64_t pushes = m_model.journal().pushCount();
    if (modified && pushes != m_pushesSeen)
        m_document.undoStateChanged();
    else if (modified)
        m_document.setModified(true);
    m_pushesSeen = pushes;
}

void EditSession::refreshAfterChange(int row)
{
    scanMarks();
    showRowAfterChange(row);
}

void EditSession::showRowAfterChange(int row)
{
    const int n = rowCount();
    // An out-of-range or negative row becomes the last one.
    if (row < 0 || row >= n)
        row = n - 1;
    m_currentRow = row;
    if (row >= 0)
        m_focusedRow = row;
    if (m_listener)
        m_listener->currentRowChanged(row, ScrollHint::EnsureVisible);
    if (m_panel)
        m_panel->loadRowIntoPanel(row);
}

void EditSession::listSwitched()
{
    m_changes.deliver(nullptr);
    if (m_listener)
        m_listener->listReplaced();
    const int n = rowCount();
    refreshAfterChange(n == 0 ? -1 : std::clamp(m_currentRow, 0, n - 1));
    if (m_panel)
        m_panel->updatePanelButtons();
    syncReplayWithPlayer();
    m_player.ResyncCursor();
}

void EditSession::publishChanges()
{
    const bool anything = !m_changes.empty();
    m_changes.deliver(m_listener);
    if (anything && m_listener)
        m_listener->changeDelivered();
    // Timing-error marks follow every change of times or order, wherever they land.
    if (anything && m_settings.DisplayErrorSync && m_listener)
        m_listener->marksChanged();
}

void EditSession::scanMarks()
{
    const int oldStart = m_rangeStartRow;
    const int oldEnd = m_rangeEndRow;
    m_rangeStartRow = -1;
    m_rangeEndRow = -1;
    m_replayRow = -1;
    m_checkedRows.clear();
    const SyncList& list = m_model.list();
    const int n = list.count();
    m_checkedList = &list;
    m_checkedListLength = n;
    for (int i = 0; i < n; ++i) {
        const SyncEntry& e = list[i];
        if (e.checked)
            m_checkedRows.push_back(i);
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

std::vector<int> EditSession::checkedRows() const
{
    const SyncList& list = m_model.list();
    if (m_checkedList != &list || m_checkedListLength != list.count())
        return list.rowsWhere([](const SyncEntry& e) { return e.checked != 0; });
    std::vector<int> rows;
    for (const int row : m_checkedRows)
        if (row < list.count() && list[row].checked)
            rows.push_back(row);
    return rows;
}

void EditSession::checksChanged(int first, int last)
{
    const SyncList& list = m_model.list();
    if (m_checkedList != &list || m_checkedListLength != list.count())
        return;
    const auto from = std::lower_bound(m_checkedRows.begin(), m_checkedRows.end(), first);
    const auto to = std::upper_bound(from, m_checkedRows.end(), last);
    std::vector<int> now;
    for (int i = first; i <= last; ++i)
        if (list[i].checked)
            now.push_back(i);
    m_checkedRows.insert(m_checkedRows.erase(from, to), now.begin(), now.end());
}

void EditSession::replayRangeOf(int row)
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

void EditSession::syncReplayWithPlayer()
{
    replayRangeOf(m_replayRow);
}

void EditSession::setReplayRow(int row)
{
    m_replayRow = row;
    replayRangeOf(row);
}

// ---- shared editing steps ------------------------------------------------------------------

void EditSession::say(std::string_view text, MessageIcon icon) const
{
    m_messenger.showMessage(text, icon);
}

std::string EditSession::newSyncText() const
{
    return utf8ToCp949(trimWhiteSpace(m_settings.NewSync));
}

std::string EditSession::syncBlock(std::string_view text, std::int32_t ms) const
{
    const std::string rowClass =
        m_model.languages.empty() ? std::string("KRCC") : m_model.CurrentClassName();
    return FormatSyncBlock(text, rowClass, ms);
}

void EditSession::insertBlockBefore(int row, std::string_view block, bool merge)
{
    row = std::clamp(row, 0, rowCount());
    if (!manySyncs(block)) {
        m_model.InsertTextBefore(row, block, merge);
        return;
    }
    {
        // The parse appends entry after entry; with the rows below held aside, a long paste
        // into the middle of a long list does not shift them at every entry.
        SyncList::TailHold hold(m_model.list(), row);
        m_model.InsertTextBefore(row, block, merge);
    }
    m_model.CheckOrder();  // the parse checked the list without the rows held aside
}

void EditSession::insertSyncAfter(std::string_view text, std::int32_t ms)
{
    const int r = m_currentRow;
    {
        Action action(*this);
        insertBlockBefore(r + 1, syncBlock(text, ms), true);
    }
    finishChange(r + 1);
}

}  // namespace verbanta
