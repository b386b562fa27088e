#pragma once

#include <string>

#include "peak_pyramid.h"
#include "waveform_analysis.h"

namespace verbanta::media {

class CacheReader;

/// A finished waveform as a cache entry's payload: its state (version, base bucket, status,
/// rate, channels, start, end and stated end, whether it has sound), the base level's peaks,
/// then the reason it stopped early. The levels above are rebuilt when it is read.
std::string encodePeaks(const WaveformState& state, const PeakPyramid& pyramid);

/// Reads what encodePeaks wrote, the peaks straight into the pyramid's own memory; false for
/// anything else, leaving `state` and `pyramid` as they were.
bool decodePeaks(CacheReader& in, WaveformState& state, PeakPyramid& pyramid);

}  // namespace verbanta::media
