// The caption list's side of the player view: capturing the video position and selecting
// rows by time.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "editor/sync_capture.h"
#include "editor/timing_tools.h"
#include "model/text_format.h"
#include "settings/app_settings.h"

namespace verbanta {

void SyncCapture::setShotChanges(std::vector<std::int32_t> shotsMs)
{
    m_shotsMs = std::move(shotsMs);
}

std::int32_t SyncCapture::snappedToShot(std::int32_t ms) const
{
    const AppSettings& settings = m_session.settings();
    if (!settings.SnapCaptureToShot || m_shotsMs.empty())
        return ms;
    const auto after = std::lower_bound(m_shotsMs.begin(), m_shotsMs.end(), ms);
    std::int32_t best = ms;
    std::int64_t bestDistance = std::int64_t(settings.ShotSnapMs) + 1;
    // The nearer of the shot changes on either side; on a tie the later one, where the new
    // shot is already on screen.
    for (auto it : {after, after == m_shotsMs.begin() ? m_shotsMs.end() : after - 1}) {
        if (it == m_shotsMs.end())
            continue;
        const std::int64_t distance = std::abs(std::int64_t(*it) - ms);
        if (distance < bestDistance) {
            best = *it;
            bestDistance = distance;
        }
    }
    return best;
}

void SyncCapture::captureAt(CaptureCommand command, std::int32_t ms)
{
    // The capture itself takes the shot change's time, so both are one undo step.
    ms = snappedToShot(ms);
    switch (command) {
        case CaptureCommand::StartSync:
            insertCaptionAfterAt(ms);
            break;
        case CaptureCommand::EndSync:
            insertEndSyncAfterAt(ms);
            break;
        case CaptureCommand::SingleSync:
            setCurrentSyncTime(ms);
            break;
        // The shift re-marks the timing errors itself when it ends.
        case CaptureCommand::SimpleSync:
            m_timing.shiftRangeToTime(ms);
            break;
    }
    m_session.model().SeekCursor(ms);
}

void SyncCapture::setCurrentSyncTime(std::int32_t ms)
{
    const int r = m_session.currentRow();
    const SyncEntry* e = m_session.entry(r);
    if (!e)
        return;
    int goTo = r + 1;
    {
        EditSession::Action action(m_session);
        SyncEntry stamped = *e;
        stamped.startMs = ms;
        m_session.model().SetAt(m_session.rowPos(r), stamped, true);
        const SyncEntry* next = m_session.entry(r + 1);
        if (m_session.settings().InsertEndAuto && next && next->isEndSync) {
            SyncEntry end = *next;
            const std::int64_t letters = CountCharacters(StripTags(stamped.text, true));
            end.startMs = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                ms + letters * m_session.settings().OneLetterSync, INT32_MIN, INT32_MAX));
            m_session.model().SetAt(m_session.rowPos(r + 1), end, true);
            action.group();
            goTo = r + 2;  // past the end sync just timed
        }
    }
    // At the last row the selection stays where it is.
    const bool move = m_session.settings().MoveToNextSync && goTo < m_session.rowCount();
    m_session.finishChange(move ? goTo : r);
}

void SyncCapture::insertCaptionAfterAt(std::int32_t ms)
{
    m_session.insertSyncAfter(m_session.newSyncText(), ms);
}

void SyncCapture::insertEndSyncAfterAt(std::int32_t ms)
{
    m_session.insertSyncAfter("&nbsp;", ms);
}

bool SyncCapture::selectRowBeforeTime(std::int32_t ms)
{
    const SyncList& list = m_session.model().list();
    for (int i = 0; i < list.count(); ++i) {
        if (list[i].startMs >= ms) {
            // Before the first caption no caption is on screen; the list goes to its top.
            m_session.selectRow(std::max(i - 1, 0));
            return true;
        }
    }
    return false;
}

void SyncCapture::selectAndScrollToTop(int row)
{
    if (row >= 0 && row < m_session.rowCount())
        m_session.selectRow(row, ScrollHint::TopIfHidden);
}

std::int32_t SyncCapture::currentRowTime() const
{
    const SyncEntry* e = m_session.entry(m_session.currentRow());
    return e ? e->startMs : -1;
}

std::int32_t SyncCapture::selectPrevRowTime()
{
    if (m_session.currentRow() <= 0 || m_session.currentRow() >= m_session.rowCount())
        return -1;
    m_session.selectRow(m_session.currentRow() - 1);
    return currentRowTime();
}

std::int32_t SyncCapture::selectNextRowTime()
{
    if (m_session.currentRow() + 1 >= m_session.rowCount())
        return -1;
    m_session.selectRow(m_session.currentRow() + 1);
    return currentRowTime();
}

}  // namespace verbanta
