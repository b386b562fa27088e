#pragma once

#include <cstdint>
#include <string>

namespace verbanta {

class SamiModel;

/// The page the caption window shows when no caption is on screen.
inline constexpr const char* kBlankCaptionPage =
    "<HTML><BODY bgcolor='black'>&nbsp;</BODY></HTML>";

/// The player's seconds as the list's milliseconds: the integer part of (s x 10000 + 1) / 10.
std::int32_t msFromSeconds(double seconds);
/// Milliseconds as the player's seconds.
inline double secondsFromMs(std::int32_t ms) { return ms / 1000.0; }

/// Rewind: the position moved back by `moveMs`, never before 0.
double rewindTarget(double positionSeconds, std::int32_t moveMs);
/// Fast forward: the position moved on by `moveMs`, never past the selection end.
double fastForwardTarget(double positionSeconds, std::int32_t moveMs, double selectionEnd);
/// A step of the position by `deltaSeconds` (negative: back), kept within 0 and `duration`
/// when that is known (> 0).
double stepTarget(double positionSeconds, double deltaSeconds, double durationSeconds);
/// The playback speed step below, or above, `percent` (one of `AppSettings::kPlaybackSpeeds`
/// or not); the slowest and the fastest stay where they are.
std::int32_t slowerSpeed(std::int32_t percent);
std::int32_t fasterSpeed(std::int32_t percent);
/// A speed in percent as the player shows it: "0.25x", "1x", "1.5x".
std::string speedText(std::int32_t percent);
/// Whether a seek to ms may be asked of the player: media open, not negative, and not past
/// the duration when the duration is known.
bool seekAllowed(bool mediaOpen, std::int32_t ms, bool durationValid, double durationSeconds);

/// What one tick of the position timer asks of the view.
struct PlaybackTick {
    bool showCaption = false;  ///< replace the caption window's document by `html`
    std::string html;          ///< CP949
    int selectRow = -1;        ///< with the list following: the row to select, scrolled to top
    bool showPosition = false; ///< refresh the position label (every third tick)
    bool backToReplayStart = false;  ///< the position left the replay range
};

/// The rules of the 100 ms position timer: it compares the position with the one entry under
/// the model's playback cursor and moves the cursor on by at most one entry, so a tick costs
/// the same however long the list is. The tick counter is shared by every player.
class PlaybackFollower {
public:
    /// One tick at position t. `follow`: the list follows the video (the toggle is on, no row
    /// is being dragged, no find dialog is open).
    static PlaybackTick tick(SamiModel& model, std::int32_t t, bool follow, bool replayActive,
                             std::int32_t replayStartMs, std::int32_t replayEndMs);
    /// After the position moved: the cursor is placed at t and the page of the caption on
    /// screen there is returned (CP949), or the blank page. `onFrame`: the player stands
    /// still on the frame at t, as a step leaves it, so a caption that starts at t is on
    /// screen already.
    static std::string seekCaption(SamiModel& model, std::int32_t t, bool onFrame = false);

private:
    static int s_tickCount;
};

/// The one-shot seek flags of the player and what a position change does with the list.
struct SeekOrigin {
    bool fromList = false;         ///< asked for by a click in the caption list
    bool fromSyncCommand = false;  ///< asked for by a go-to-sync command or a dropped row

    /// After the position changed: the row to select and scroll to the top, or -1 for none
    /// (the view focuses the caption list either way). Clears the flags as the change does.
    int positionChanged(bool listFocused, bool matchListToMovie, bool replayActive,
                        int cursorIndex);
};

}  // namespace verbanta
