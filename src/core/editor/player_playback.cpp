#include "editor/player_playback.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>

#include "model/sami_model.h"
#include "settings/app_settings.h"

namespace verbanta {

int PlaybackFollower::s_tickCount = 0;

std::int32_t msFromSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return 0;
    const double ms = std::trunc((seconds * 10000.0 + 1.0) / 10.0);
    return static_cast<std::int32_t>(std::clamp(ms, -2147483648.0, 2147483647.0));
}

double rewindTarget(double positionSeconds, std::int32_t moveMs)
{
    return std::max(0.0, positionSeconds - moveMs / 1000.0);
}

double fastForwardTarget(double positionSeconds, std::int32_t moveMs, double selectionEnd)
{
    const double x = positionSeconds + moveMs / 1000.0;
    return selectionEnd < x ? selectionEnd : x;
}

double stepTarget(double positionSeconds, double deltaSeconds, double durationSeconds)
{
    const double x = std::max(0.0, positionSeconds + deltaSeconds);
    return durationSeconds > 0.0 ? std::min(x, durationSeconds) : x;
}

std::int32_t slowerSpeed(std::int32_t percent)
{
    const auto& steps = AppSettings::kPlaybackSpeeds;
    const auto below = std::find_if(std::rbegin(steps), std::rend(steps),
                                    [percent](std::int32_t s) { return s < percent; });
    return below == std::rend(steps) ? steps[0] : *below;
}

std::int32_t fasterSpeed(std::int32_t percent)
{
    const auto& steps = AppSettings::kPlaybackSpeeds;
    const auto above = std::find_if(std::begin(steps), std::end(steps),
                                    [percent](std::int32_t s) { return s > percent; });
    return above == std::end(steps) ? std::end(steps)[-1] : *above;
}

std::string speedText(std::int32_t percent)
{
    std::string text = std::to_string(percent / 100);
    if (const std::int32_t hundredths = std::abs(percent % 100); hundredths != 0) {
        text += '.';
        text += static_cast<char>('0' + hundredths / 10);
        if (hundredths % 10 != 0)
            text += static_cast<char>('0' + hundredths % 10);
    }
    return text + 'x';
}

bool seekAllowed(bool mediaOpen, std::int32_t ms, bool durationValid, double durationSeconds)
{
    if (!mediaOpen || ms < 0)
        return false;
    return !(durationValid && msFromSeconds(durationSeconds) < ms);
}

PlaybackTick PlaybackFollower::tick(SamiModel& model, std::int32_t t, bool follow,
                                    bool replayActive, std::int32_t replayStartMs,
                                    std::int32_t replayEndMs)
{
    PlaybackTick out;
    if (model.HasCursor()) {
        const SyncEntry* e = model.entryAt(model.playCursor);
        if (e && e->isComment) {
            model.NextFromCursor();
        } else if (e && t >= e->startMs) {
            out.html = model.BuildPreviewHtml(*e);
            model.NextFromCursor();
            const SyncEntry* f = model.entryAt(model.playCursor);
            // Two captions due in one tick: the later one is shown on the next tick.
            if (!(f && !f->isComment && t >= f->startMs)) {
                out.showCaption = true;
                if (follow) {
                    const int k = model.GetCursorIndex();
                    out.selectRow = k < 0 ? model.GetCount() - 1 : std::max(k - 1, 0);
                }
            }
        }
    }
    if (++s_tickCount % 3 == 0) {
        out.showPosition = true;
        s_tickCount = 0;
    }
    out.backToReplayStart = replayActive && (t < replayStartMs || t > replayEndMs);
    return out;
}

std::string PlaybackFollower::seekCaption(SamiModel& model, std::int32_t t, bool onFrame)
{
    model.SeekCursor(onFrame && t < std::numeric_limits<std::int32_t>::max() ? t + 1 : t);
    if (!model.CursorHasPrevious())
        return kBlankCaptionPage;
    const SyncEntry p = model.GetEntryBeforeCursor();
    return p.isComment ? std::string(kBlankCaptionPage) : model.BuildPreviewHtml(p);
}

int SeekOrigin::positionChanged(bool listFocused, bool matchListToMovie, bool replayActive,
                                int cursorIndex)
{
    int row = -1;
    if (!listFocused || !matchListToMovie || replayActive || fromList) {
        // Only the focus returns to the list.
    } else if (fromSyncCommand) {
        fromSyncCommand = false;
        return -1;  // the go-to command selected its row itself; fromList is kept
    } else if (cursorIndex >= 0) {
        row = std::max(cursorIndex - 1, 0);
    }
    fromList = false;
    return row;
}

}  // namespace verbanta
