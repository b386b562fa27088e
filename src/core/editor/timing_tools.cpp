// Timing tools over the marked range or the whole list: shift, shift to a time, proportional
// fit, fit to the video bookmarks, end-sync reset and clean-up, and the timing-error search.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/timing_tools.h"
#include "model/text_format.h"
#include "platform/messenger.h"

namespace verbanta {
namespace {

constexpr std::string_view kRangeMessage =
    "싱크를 이동시킬 범위의 시작과 끝 싱크를 선택해 주십시오.";

/// A shift in wrapping 32-bit arithmetic, as the undo replay applies it: the opposite shift
/// always gives the exact time back, even for absurd times.
std::int32_t shifted(std::int32_t ms, std::int32_t delta)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms) +
                                     static_cast<std::uint32_t>(delta));
}

/// to − from in the same arithmetic: the shift that takes `from` to `to`.
std::int32_t shiftBetween(std::int32_t from, std::int32_t to)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) -
                                     static_cast<std::uint32_t>(from));
}

std::int32_t clampedMs(long double ms)
{
    return static_cast<std::int32_t>(std::clamp<long double>(ms, INT32_MIN, INT32_MAX));
}

/// The rows the timing-error marks would flag, by the same walk as the model's check.
std::vector<int> timingErrorRows(const SyncList& l)
{
    std::vector<int> rows;
    const int n = l.count();
    int previous = -1;
    int next = 0;
    for (int i = 0; i < n; ++i) {
        if (l[i].isComment)
            continue;
        next = std::max(next, i + 1);
        while (next < n && l[next].isComment) ++next;
        const std::int32_t t = l[i].startMs;
        const bool inError =
            t < 0 || (previous >= 0 ? t <= l[previous].startMs : next < n && t >= l[next].startMs);
        previous = i;
        if (inError) {
            rows.push_back(i);
            // The row below an error is not examined.
            if (i + 1 < n) {
                if (!l[i + 1].isComment)
                    previous = i + 1;
                ++i;
            }
        }
    }
    return rows;
}

}  // namespace

bool TimingTools::rangeReady(int& first, int& last) const
{
    const int n = m_session.rowCount();
    const int start = m_session.rangeStartRow();
    const int end = m_session.rangeEndRow();
    if (start < 0 || end < 0 || start >= n || end >= n) {
        m_session.say(kRangeMessage, MessageIcon::Warning);
        return false;
    }
    // An end mark above the start mark still names the rows between them.
    first = std::min(start, end);
    last = std::max(start, end);
    return true;
}

void TimingTools::pushRangeShift(int first, int last, std::int32_t delta, bool endSyncsOnly)
{
    UndoRecord r;
    r.kind = UndoRecord::kRangeShift;
    r.firstRow = first;
    r.lastRow = last;
    r.deltaMs = delta;
    r.endSyncsOnly = endSyncsOnly;
    SamiModel& model = m_session.model();
    r.language = model.GetCurrentSlot();
    {
        EditSession::Action action(m_session);
        SyncList& list = model.list();
        for (int row = first; row <= last; ++row)
            if (!endSyncsOnly || list[row].isEndSync)
                list[row].startMs = shifted(list[row].startMs, delta);
        model.PushUndo(r);
    }
    model.CheckOrder();
    m_session.finishChange(m_session.currentRow());
}

bool TimingTools::shiftRange(std::int32_t deltaMs, bool endSyncsOnly)
{
    int first = 0;
    int last = 0;
    if (!rangeReady(first, last))
        return false;
    pushRangeShift(first, last, deltaMs, endSyncsOnly);
    return true;
}

void TimingTools::applyShift(std::int32_t deltaMs, bool endSyncsOnly)
{
    shiftRange(deltaMs, endSyncsOnly);
    m_lastMoveOffset = deltaMs;
}

bool TimingTools::shiftRangeToTime(std::int32_t ms)
{
    int first = 0;
    int last = 0;
    if (!rangeReady(first, last))
        return false;
    pushRangeShift(first, last, shiftBetween(m_session.model().list()[first].startMs, ms), false);
    return true;
}

void TimingTools::fitRows(int first, int last, const std::vector<Anchor>& anchors)
{
    {
        EditSession::Action action(m_session);
        {
            SamiModel::RowBatch batch(m_session.model(), m_session.model().GetCurrentSlot());
            std::size_t segment = 0;
            for (int row = first; row <= last; ++row) {
                if (batch[row].isComment)
                    continue;  // a comment's time means nothing
                while (segment + 2 < anchors.size() && row > anchors[segment + 1].row) ++segment;
                const Anchor& a = anchors[segment];
                const Anchor& b = anchors[segment + 1];
                const std::int32_t start = batch[row].startMs;
                std::int32_t fitted;
                if (row < a.row) {
                    fitted = clampedMs(static_cast<long double>(start) + a.toMs - a.fromMs);
                } else if (row > b.row) {
                    fitted = clampedMs(static_cast<long double>(start) + b.toMs - b.fromMs);
                } else {
                    // Differences in extended precision: list times may span the whole
                    // 32-bit range, where an int subtraction would overflow.
                    const long double ratio = (static_cast<long double>(b.toMs) - a.toMs) /
                                              (static_cast<long double>(b.fromMs) - a.fromMs);
                    // The product is truncated toward zero, as the fit is defined.
                    const long double offset =
                        std::trunc((static_cast<long double>(start) - a.fromMs) * ratio);
                    fitted = clampedMs(a.toMs + offset);
                }
                if (fitted == start)
                    continue;
                SyncEntry e = batch[row];
                e.startMs = fitted;
                batch.setAt(row, std::move(e), true);
            }
        }
        action.group();
    }
    m_session.finishChange(m_session.currentRow());
}

void TimingTools::fitProportionally()
{
    int first = 0;
    int last = 0;
    if (!rangeReady(first, last))
        return;
    const PlayerPort& player = m_session.player();
    if (player.BookmarkCount() != 2) {
        m_session.say(
            "자막 선택 범위의 시작과 끝에 해당하는 동영상\n위치에 북마크를 설정해 주십시오.",
            MessageIcon::Warning);
        return;
    }
    const std::int32_t a = std::min(player.BookmarkAt(0), player.BookmarkAt(1));
    const std::int32_t b = std::max(player.BookmarkAt(0), player.BookmarkAt(1));
    // The range's first and last times, from rows that carry a time: comments do not.
    const SyncList& list = m_session.model().list();
    int s = first;
    while (s <= last && list[s].isComment) ++s;
    int e = last;
    while (e >= s && list[e].isComment) --e;
    // A range whose ends share one time cannot be stretched: it is refused like a missing
    // range, since the marks are what must change.
    if (s > e || list[s].startMs == list[e].startMs) {
        m_session.say(kRangeMessage, MessageIcon::Warning);
        return;
    }
    fitRows(first, last, {{s, list[s].startMs, a}, {e, list[e].startMs, b}});
}

void TimingTools::syncToBookmarks()
{
    // The video bookmarks, sorted, pull the rows nearest to them onto their times; the rows
    // between two such anchors are stretched proportionally and the rows outside the first
    // and last anchor move with it. One bookmark shifts the whole range so that its first
    // row starts at it.
    int first = 0;
    int last = 0;
    const PlayerPort& player = m_session.player();
    const int count = player.BookmarkCount();
    if (count <= 0 || !rangeReady(first, last))
        return;
    std::vector<std::int32_t> marks;
    for (int i = 0; i < count; ++i) marks.push_back(player.BookmarkAt(i));
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    if (marks.size() == 1) {
        shiftRangeToTime(marks.front());
        return;
    }
    const SyncList& list = m_session.model().list();
    std::vector<Anchor> anchors;
    for (const std::int32_t mark : marks) {
        int nearest = -1;
        std::int64_t best = 0;
        for (int row = first; row <= last; ++row) {
            if (list[row].isComment)
                continue;
            const std::int64_t distance = std::llabs(std::int64_t{list[row].startMs} - mark);
            if (nearest < 0 || distance < best) {
                nearest = row;
                best = distance;
            }
        }
        if (nearest < 0)
            return;
        // Anchors must follow each other in rows and in times, or the stretch would fold.
        if (!anchors.empty() &&
            (nearest <= anchors.back().row || list[nearest].startMs <= anchors.back().fromMs))
            continue;
        anchors.push_back({nearest, list[nearest].startMs, mark});
    }
    if (anchors.size() == 1) {
        pushRangeShift(first, last, shiftBetween(anchors[0].fromMs, anchors[0].toMs), false);
        return;
    }
    fitRows(first, last, anchors);
}

int TimingTools::resetEndSyncs(const EndSyncReset& options)
{
    int changes = 0;
    {
        EditSession::Action action(m_session);
        SamiModel& model = m_session.model();
        changes = options.byLength
                      ? model.ResetEndSyncsByLength(options.msPerCharacter, options.rangeOnly)
                      : model.ResetEndSyncsByDuration(options.durationMs, options.onlyIfShorter,
                                                      options.onlyIfLonger, options.rangeOnly);
    }
    if (changes < 0) {
        // The model has shown the range message.
        m_session.syncReplayWithPlayer();
    } else if (changes == 0) {
        m_session.say("조정된 종료 싱크가 없습니다.", MessageIcon::Information);
        m_session.syncReplayWithPlayer();
    } else {
        m_session.say(std::to_string(changes) + "개의 종료 싱크를 조정하였습니다.",
                      MessageIcon::Information);
        m_session.finishChange(0);
    }
    return changes;
}

void TimingTools::removeInvalidEndSyncs()
{
    if (!m_session.messenger().askYesNo(
            "다음 시작 싱크값 보다 큰 무효한 종료 싱크를 전부 삭제합니다\n계속하시겠습니까?"))
        return;
    int removed = 0;
    {
        EditSession::Action action(m_session);
        removed = m_session.model().RemoveInvalidEndSyncs();
    }
    if (removed == 0) {
        m_session.say("본 자막에는 무효한 종료 싱크가 없습니다.", MessageIcon::Information);
        m_session.syncReplayWithPlayer();
    } else {
        m_session.say(std::to_string(removed) + "개의 무효한 종료 싱크를 삭제하였습니다.",
                      MessageIcon::Information);
        m_session.finishChange(0);
    }
    m_session.requestFocus(FocusTarget::List);
}

std::vector<FoundRow> TimingTools::findTimingErrors()
{
    std::vector<FoundRow> found;
    const SyncList& list = m_session.model().list();
    for (const int row : timingErrorRows(list))
        found.push_back(
            {row, list[row].startMs,
             std::string(truncateText(StripTags(list[row].text, true), kListDisplayBytes))});
    if (found.empty())
        m_session.say("본 자막에는 싱크 시간 오류가 없습니다.", MessageIcon::Information);
    return found;
}

}  // namespace verbanta
