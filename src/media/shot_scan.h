#pragma once

// The scans of a video for the shot detector: every frame, or only what tells where the
// shots change, each giving the frames' differences in presentation order.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "video_pass.h"

namespace verbanta::media {

/// A cut's least difference on the 0..255 scale.
inline constexpr float kLeastCut = 12.0f;
/// How many frames the rule looks at on each side of a cut.
inline constexpr std::size_t kNeighbours = 4;

/// The frames of a pass in presentation order, each with how far it differs from the one
/// before it in that pass.
struct Series {
    std::vector<float> differences;
    std::vector<std::int64_t> timesMs;
};

/// How a scan of only some frames ended: done; not usable on this stream, whose frames are
/// then all decoded instead; or failed, with the failure set.
enum class Sparse { Done, Unusable, Failed };

/// a / b rounded toward minus infinity.
std::int64_t floorDiv(std::int64_t a, std::int64_t b);

/// Decodes every frame: for streams whose frames cannot be told apart before decoding.
bool scanEveryFrame(Scan& scan, double from, Series& series);

/// Decodes what tells where the shots change instead of every frame. The first pass leaves
/// out the frames no other frame is made from, except around key frames, where encoders put
/// most cuts; a cut among frames left out shows as two decoded frames that differ as a cut
/// does. A second pass decodes every frame around each such place and around each cut found,
/// so that the rule decides on the same frames as when every frame is decoded.
Sparse scanSparsely(Scan& scan, Series& series);

}  // namespace verbanta::media
