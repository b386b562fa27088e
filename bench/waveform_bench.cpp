// The timing strip's data on a long media file (the path in VERBANTA_WAVEFORM_MEDIA; the
// script waveform_bench.sh makes a two-hour one): opening it again from the cache, the memory
// of its peak pyramid, the peaks of one repaint at 1920 pixels at every zoom, and looking up
// the spectrogram tiles of one repaint. Building the pyramid is timed by the script, against
// ffmpeg decoding the same file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "media_cache.h"
#include "spectrogram.h"
#include "waveform_analysis.h"

namespace verbanta::media {
namespace {

constexpr int kWidth = 1920;

const char* mediaPath()
{
    return std::getenv("VERBANTA_WAVEFORM_MEDIA");
}

/// The file analysed once, its peaks in a fresh cache folder; null without a file.
struct Prepared {
    std::filesystem::path cacheFolder;
    std::unique_ptr<MediaCache> cache;
    std::unique_ptr<WaveformAnalysis> built;
    double firstOpenMs = 0;  ///< the first opening from the cache, on memory never used before
};

const Prepared& prepared()
{
    static Prepared p = [] {
        Prepared made;
        if (!mediaPath())
            return made;
        made.cacheFolder = std::filesystem::temp_directory_path() / "verbanta_waveform_bench";
        std::filesystem::remove_all(made.cacheFolder);
        made.cache = std::make_unique<MediaCache>(made.cacheFolder.string());
        made.built = std::make_unique<WaveformAnalysis>(mediaPath(), -1, made.cache.get());
        made.built->wait();
        const auto start = std::chrono::steady_clock::now();
        WaveformAnalysis again(mediaPath(), made.built->state().stream, made.cache.get());
        again.wait();
        made.firstOpenMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        return made;
    }();
    return p;
}

bool ready(benchmark::State& state)
{
    if (!mediaPath()) {
        state.SkipWithError("set VERBANTA_WAVEFORM_MEDIA to a media file (see waveform_bench.sh)");
        return false;
    }
    if (prepared().built->state().status != WaveformStatus::Complete) {
        state.SkipWithError("the media file could not be analysed");
        return false;
    }
    return true;
}

/// Opening the file again, as the editor does with the track the player plays: the cache is
/// read and the peaks are ready. The iterations reuse memory the ones before gave back; the
/// first opening of all, on fresh memory, is the counter first_open_ms.
void OpenFromCache(benchmark::State& state)
{
    if (!ready(state))
        return;
    const int stream = prepared().built->state().stream;
    for (auto _ : state) {
        WaveformAnalysis again(mediaPath(), stream, prepared().cache.get());
        again.wait();
        if (again.state().cache != CacheUse::Read)
            state.SkipWithError("the second opening did not read the cache");
        state.counters["pyramid_MB"] = double(again.memoryBytes()) / (1 << 20);
    }
    const WaveformState s = prepared().built->state();
    state.counters["sound_h"] = (s.endMs - s.startMs) / 3.6e6;
    state.counters["built_MB"] = double(prepared().built->memoryBytes()) / (1 << 20);
    state.counters["first_open_ms"] = prepared().firstOpenMs;
}
BENCHMARK(OpenFromCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

/// One repaint's peaks with `state.range(0)` seconds across the width, stepping through the file.
void RepaintColumns(benchmark::State& state)
{
    if (!ready(state))
        return;
    const WaveformAnalysis& waveform = *prepared().built;
    const double endMs = waveform.state().endMs;
    const double spanMs = std::min(double(state.range(0)) * 1000, endMs);
    std::vector<Peak> columns(kWidth);
    double from = 0;
    for (auto _ : state) {
        waveform.columns(from, spanMs / kWidth, columns);
        benchmark::DoNotOptimize(columns.data());
        from = from + spanMs * 0.37 > endMs - spanMs ? 0 : from + spanMs * 0.37;
    }
}
BENCHMARK(RepaintColumns)
    ->Unit(benchmark::kMicrosecond)
    ->Arg(0)  // rounded up to one base bucket per column: the closest zoom
    ->Arg(1)
    ->Arg(10)
    ->Arg(60)
    ->Arg(600)
    ->Arg(7200);

/// The tile lookups of one repaint, once the tiles exist, with `state.range(0)` seconds across.
void RepaintSpectrogramTiles(benchmark::State& state)
{
    if (!ready(state))
        return;
    const double spanMs = double(state.range(0)) * 1000;
    const int level = SpectrogramTiles::levelFor(spanMs / kWidth);
    const double fromMs = 1000.0 * 3600;  // an hour in
    const auto first = std::int64_t(fromMs / SpectrogramTiles::tileMs(level));
    const auto last = std::int64_t((fromMs + spanMs) / SpectrogramTiles::tileMs(level));
    SpectrogramTiles tiles(mediaPath(), -1);
    const auto computing = std::chrono::steady_clock::now();
    for (bool all = false; !all;) {
        all = true;
        for (std::int64_t i = first; i <= last; ++i) all = tiles.tile(level, i) != nullptr && all;
        if (!all)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    state.counters["tiles"] = double(last - first + 1);
    state.counters["compute_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - computing)
            .count();
    for (auto _ : state) {
        for (std::int64_t i = first; i <= last; ++i) benchmark::DoNotOptimize(tiles.tile(level, i));
    }
}
BENCHMARK(RepaintSpectrogramTiles)->Unit(benchmark::kMicrosecond)->Arg(1)->Arg(60)->Arg(7200);

}  // namespace
}  // namespace verbanta::media
