#pragma once

#include <cstdint>
#include <vector>

#include "editor/edit_session.h"

namespace verbanta {

/// The options of the end-sync reset dialog.
struct EndSyncReset {
    bool byLength = false;        ///< "자동 시간 설정" instead of "일정시간 지속"
    std::int32_t durationMs = 0;  ///< fixed duration mode
    bool onlyIfShorter = false;
    bool onlyIfLonger = false;
    std::int32_t msPerCharacter = 200;  ///< by-length mode
    bool rangeOnly = false;
};

/// Timing tools over the marked range or the whole list: shift, shift to a time, proportional
/// fit, fit to the video bookmarks, end-sync reset and clean-up, and the timing-error search.
class TimingTools {
public:
    explicit TimingTools(EditSession& session) : m_session(session) {}

    /// The offset of the last shift the user asked for; the shift dialog and the panel's
    /// Move mode start from it.
    std::int32_t lastMoveOffset() const { return m_lastMoveOffset; }
    /// Shifts the marked range; false (after the message) without a range.
    bool shiftRange(std::int32_t deltaMs, bool endSyncsOnly);
    /// A shift the user asked for (the shift dialog's "확인", the panel's Move): the range
    /// shifted and the offset kept for the next one.
    void applyShift(std::int32_t deltaMs, bool endSyncsOnly);
    bool shiftRangeToTime(std::int32_t ms);
    void fitProportionally();
    bool canSyncToBookmarks() const { return m_session.player().BookmarkCount() > 0; }
    void syncToBookmarks();
    /// "확인" of the end-sync reset dialog; the number of changes or -1.
    int resetEndSyncs(const EndSyncReset& options);
    void removeInvalidEndSyncs();
    /// The timing errors; with none, after the message, empty.
    std::vector<FoundRow> findTimingErrors();

private:
    /// A row of a fit and the time it is pulled to.
    struct Anchor {
        int row;
        std::int32_t fromMs;
        std::int32_t toMs;
    };

    bool rangeReady(int& first, int& last) const;
    /// Shifts the rows first..last with one range-shift record and refreshes.
    void pushRangeShift(int first, int last, std::int32_t delta, bool endSyncsOnly);
    /// Pulls the anchors' rows onto their times, stretching between them; one undo step.
    void fitRows(int first, int last, const std::vector<Anchor>& anchors);

    EditSession& m_session;
    std::int32_t m_lastMoveOffset = 0;
};

}  // namespace verbanta
