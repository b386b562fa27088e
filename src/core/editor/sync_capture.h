#pragma once

#include <cstdint>
#include <vector>

#include "editor/edit_session.h"

namespace verbanta {

class TimingTools;

/// The player's capture commands, each stamping the captured video position into the list.
enum class CaptureCommand {
    StartSync,   ///< a new caption after the current row
    EndSync,     ///< an end sync after the current row
    SingleSync,  ///< the current row's time
    SimpleSync,  ///< the marked range shifted to start there
};

/// The caption list's side of the player view: capturing the video position into the list
/// and selecting rows by time.
class SyncCapture {
public:
    SyncCapture(EditSession& session, TimingTools& timing) : m_session(session), m_timing(timing) {}

    /// Runs a capture command at ms, then puts the model's playback cursor there, so that
    /// playback goes on from the caption just captured.
    void captureAt(CaptureCommand command, std::int32_t ms);
    /// The video's shot changes in ms on the player's timeline, sorted; empty without video.
    void setShotChanges(std::vector<std::int32_t> shotsMs);
    const std::vector<std::int32_t>& shotChanges() const { return m_shotsMs; }
    /// The shot change a captured time is moved onto (the nearest within the option's
    /// distance, when the option is on), else the time itself.
    std::int32_t snappedToShot(std::int32_t ms) const;
    void setCurrentSyncTime(std::int32_t ms);
    void insertCaptionAfterAt(std::int32_t ms);
    void insertEndSyncAfterAt(std::int32_t ms);

    /// Selects the caption on screen at ms: the row before the first that starts at or
    /// after it; false when every row starts before ms.
    bool selectRowBeforeTime(std::int32_t ms);
    void selectAndScrollToTop(int row);
    /// The current row's time, or -1 without one.
    std::int32_t currentRowTime() const;
    /// Moves the selection one row up or down and returns its time; -1 when it cannot move.
    std::int32_t selectPrevRowTime();
    std::int32_t selectNextRowTime();

private:
    EditSession& m_session;
    TimingTools& m_timing;
    std::vector<std::int32_t> m_shotsMs;
};

}  // namespace verbanta
