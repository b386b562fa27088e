// The caption list's operations for the player view: stamping and inserting syncs at the
// video position and selecting rows by time.
#include <algorithm>
#include <cstdint>

#include "editor/caption_editor.h"
#include "model/text_format.h"
#include "settings/app_settings.h"

namespace verbanta {

void CaptionEditor::setCurrentSyncTime(std::int32_t ms)
{
    const int r = m_currentRow;
    const SyncEntry* e = entry(r);
    if (!e)
        return;
    int goTo = r + 1;
    {
        Action action(*this);
        SyncEntry stamped = *e;
        stamped.startMs = ms;
        m_model.SetAt(rowPos(r), stamped, true);
        const SyncEntry* next = entry(r + 1);
        if (m_settings.InsertEndAuto && next && next->isEndSync) {
            SyncEntry end = *next;
            const std::int64_t letters = CountCharacters(StripTags(stamped.text, true));
            end.startMs = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                ms + letters * m_settings.OneLetterSync, INT32_MIN, INT32_MAX));
            m_model.SetAt(rowPos(r + 1), end, true);
            action.group();
            goTo = r + 2;  // past the end sync just timed
        }
    }
    // At the last row the selection stays where it is.
    const bool move = m_settings.MoveToNextSync && goTo < rowCount();
    finishChange(move ? goTo : r);
}

void CaptionEditor::insertCaptionAfterAt(std::int32_t ms)
{
    insertSyncAfter(newSyncText(), ms);
}

void CaptionEditor::insertEndSyncAfterAt(std::int32_t ms)
{
    insertSyncAfter("&nbsp;", ms);
}

bool CaptionEditor::selectRowBeforeTime(std::int32_t ms)
{
    const SyncList& list = m_model.list();
    for (int i = 0; i < list.count(); ++i) {
        if (list[i].startMs >= ms) {
            // Before the first caption no caption is on screen; the list goes to its top.
            selectRow(std::max(i - 1, 0));
            return true;
        }
    }
    return false;
}

void CaptionEditor::selectAndScrollToTop(int row)
{
    if (row >= 0 && row < rowCount())
        selectRow(row, ScrollHint::TopIfHidden);
}

std::int32_t CaptionEditor::currentRowTime() const
{
    const SyncEntry* e = entry(m_currentRow);
    return e ? e->startMs : -1;
}

std::int32_t CaptionEditor::selectPrevRowTime()
{
    if (m_currentRow <= 0 || m_currentRow >= rowCount())
        return -1;
    selectRow(m_currentRow - 1);
    return currentRowTime();
}

std::int32_t CaptionEditor::selectNextRowTime()
{
    if (m_currentRow + 1 >= rowCount())
        return -1;
    selectRow(m_currentRow + 1);
    return currentRowTime();
}

}  // namespace verbanta
