// A cache entry of peaks whose payload is anything: stored with a right checksum, so that the
// payload reader itself meets every shape of bytes, and read back without harm.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "media_cache.h"
#include "waveform_payload.h"

using namespace verbanta::media;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "peak_cache_XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    static const CacheKey key = [] {
        std::ofstream(folder + "/media") << "media";
        return *CacheKey::of(folder + "/media", 1);
    }();
    static MediaCache cache(folder + "/cache");
    const auto readBack = [](std::string_view payload, WaveformState& state, PeakPyramid& pyramid) {
        if (!cache.write(key, AnalysisKind::AudioPeaks, payload))
            std::abort();
        return cache.read(key, AnalysisKind::AudioPeaks,
                          [&](CacheReader& in) { return decodePeaks(in, state, pyramid); });
    };
    WaveformState state;
    PeakPyramid pyramid;
    if (!readBack(std::string_view(reinterpret_cast<const char*>(data), size), state, pyramid))
        return 0;
    // What was read answers queries, and once written again it reads back the same.
    std::vector<Peak> columns(64);
    pyramid.columns(0.0, 1000.0, columns);
    const std::string written = encodePeaks(state, pyramid);
    WaveformState again;
    PeakPyramid pyramidAgain;
    if (!readBack(written, again, pyramidAgain) || encodePeaks(again, pyramidAgain) != written)
        std::abort();
    return 0;
}
