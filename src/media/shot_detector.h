#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace verbanta::media {

class MediaCache;

/// The hard cuts of a video. A shot change is the presentation time, on the player's
/// timeline, of the first frame of the new shot, in whole milliseconds rounded down, so that a
/// caption starting there is on screen with that frame and not with the one before.
struct ShotChanges {
    double frameRate = 0.0;        ///< the stream's average frames per second; 0 when unknown
    std::int64_t frameCount = 0;   ///< frames of the video, less those found damaged
    std::vector<std::int64_t> shotsMs;
    bool cutShort = false;  ///< the video ended early at damaged or missing data
};

enum class ShotFailure {
    None,
    Cancelled,
    Unreadable,  ///< missing, unreadable, or not a media file libavformat knows
    NoVideo,     ///< no video stream (sound only, or a cover picture only)
    NoDecoder,   ///< the video's codec or picture layout cannot be read
};

struct ShotAnalysis {
    ShotFailure failure = ShotFailure::None;
    std::string detail;  ///< FFmpeg's reason, when it gave one
    ShotChanges changes;
    bool fromCache = false;
};

/// Reads a frame difference series (entry i: how far frame i differs from frame i - 1, on a
/// 0..255 scale; entry 0 unused) and says which frames begin a new shot. A cut stands out from
/// the frames around it; a pan or a fade changes every frame by about as much, and a fade by
/// little, so neither is one.
std::vector<std::size_t> hardCutFrames(const std::vector<float>& differences);

/// Decodes the video (the stream the player shows) and finds its hard cuts, decoding every
/// frame only where a cut may be. Blocks, on a thread per core; the cancel flag stops it
/// early, `progress` (may be empty) hears the share done from 0 to 1 on the calling thread.
/// With a cache, a result kept for the file as it is now is returned without decoding, and a
/// new complete one is kept.
ShotAnalysis findShotChanges(const std::string& path, const std::atomic<bool>* cancel,
                             const std::function<void(double)>& progress, MediaCache* cache);

}  // namespace verbanta::media
