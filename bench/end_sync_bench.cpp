// The three end-sync tools over 50,000 captions with DisplayErrorSync on, the recording of
// their one undo step included: each run must stay well within 100 ms. The same runs followed
// by the undo of their step are shown beside them.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/change_collector.h"
#include "editor/undo_replay.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr int kCaptions = 50000;

/// 50,000 captions, one a second; with end syncs, each caption is followed by one at
/// `endOffset` ms after it.
struct CaptionFile {
    AppSettings settings;
    SamiModel model{settings};

    explicit CaptionFile(int endOffset)
    {
        settings.DisplayErrorSync = true;
        SyncEntry e;
        model.InitEntry(e);
        for (int i = 0; i < kCaptions; ++i) {
            e.startMs = i * 1000;
            e.isEndSync = 0;
            e.text = "\xbe\xc8\xb3\xe7\xc7\xcf\xbc\xbc\xbf\xe4";  // 안녕하세요
            model.AddTail(e, false);
            if (endOffset > 0) {
                e.startMs += endOffset;
                e.isEndSync = 1;
                e.text = "&nbsp;";
                model.AddTail(e, false);
            }
        }
    }
};

/// Times one run of the tool per iteration on a fresh file.
template <class Run>
void timeTool(benchmark::State& state, int endOffset, Run run)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<CaptionFile>(endOffset);
        state.ResumeTiming();
        const int changes = run(file->model);
        benchmark::DoNotOptimize(changes);
        state.PauseTiming();
        state.counters["changes"] = changes;
        file.reset();
        state.ResumeTiming();
    }
}

void DurationInsertsEveryEndSync(benchmark::State& state)
{
    timeTool(state, 0,
             [](SamiModel& m) { return m.ResetEndSyncsByDuration(500, false, false, false); });
}
BENCHMARK(DurationInsertsEveryEndSync)->Unit(benchmark::kMillisecond);

void DurationMovesEveryEndSync(benchmark::State& state)
{
    timeTool(state, 300,
             [](SamiModel& m) { return m.ResetEndSyncsByDuration(500, false, false, false); });
}
BENCHMARK(DurationMovesEveryEndSync)->Unit(benchmark::kMillisecond);

void DurationRemovesEveryEndSync(benchmark::State& state)
{
    timeTool(state, 300,
             [](SamiModel& m) { return m.ResetEndSyncsByDuration(5000, false, false, false); });
}
BENCHMARK(DurationRemovesEveryEndSync)->Unit(benchmark::kMillisecond);

void LengthInsertsEveryEndSync(benchmark::State& state)
{
    timeTool(state, 0, [](SamiModel& m) { return m.ResetEndSyncsByLength(150, false); });
}
BENCHMARK(LengthInsertsEveryEndSync)->Unit(benchmark::kMillisecond);

void RemoveInvalidRemovesEveryEndSync(benchmark::State& state)
{
    // Each end sync lies past the next caption.
    timeTool(state, 1500, [](SamiModel& m) { return m.RemoveInvalidEndSyncs(); });
}
BENCHMARK(RemoveInvalidRemovesEveryEndSync)->Unit(benchmark::kMillisecond);

/// The tool and then the undo of its one step, as a user runs and takes back a reset.
template <class Run>
void timeToolAndUndo(benchmark::State& state, int endOffset, Run run)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<CaptionFile>(endOffset);
        ChangeCollector changes;
        UndoReplay replay(file->model, changes);
        state.ResumeTiming();
        const int count = run(file->model);
        const UndoReplay::Step step = replay.undo();
        benchmark::DoNotOptimize(step);
        state.PauseTiming();
        if (file->model.GetCount() != (endOffset > 0 ? 2 * kCaptions : kCaptions))
            state.SkipWithError("one undo did not take the whole run back");
        state.counters["changes"] = count;
        file.reset();
        state.ResumeTiming();
    }
}

void DurationInsertsEveryEndSyncAndUndo(benchmark::State& state)
{
    timeToolAndUndo(
        state, 0, [](SamiModel& m) { return m.ResetEndSyncsByDuration(500, false, false, false); });
}
BENCHMARK(DurationInsertsEveryEndSyncAndUndo)->Unit(benchmark::kMillisecond);

void DurationMovesEveryEndSyncAndUndo(benchmark::State& state)
{
    timeToolAndUndo(state, 300, [](SamiModel& m) {
        return m.ResetEndSyncsByDuration(500, false, false, false);
    });
}
BENCHMARK(DurationMovesEveryEndSyncAndUndo)->Unit(benchmark::kMillisecond);

void LengthInsertsEveryEndSyncAndUndo(benchmark::State& state)
{
    timeToolAndUndo(state, 0, [](SamiModel& m) { return m.ResetEndSyncsByLength(150, false); });
}
BENCHMARK(LengthInsertsEveryEndSyncAndUndo)->Unit(benchmark::kMillisecond);

void RemoveInvalidRemovesEveryEndSyncAndUndo(benchmark::State& state)
{
    timeToolAndUndo(state, 1500, [](SamiModel& m) { return m.RemoveInvalidEndSyncs(); });
}
BENCHMARK(RemoveInvalidRemovesEveryEndSyncAndUndo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verbanta
