// The model's recorded single-row operations and CheckOrder on a long list with
// DisplayErrorSync on: each must stay within a couple of milliseconds.
#include <benchmark/benchmark.h>

#include "model/sami_model.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr int kRows = 50000;

struct LongList {
    AppSettings settings;
    SamiModel model{settings};

    LongList()
    {
        settings.DisplayErrorSync = true;
        SyncEntry e;
        model.InitEntry(e);
        for (int i = 0; i < kRows; ++i) {
            e.startMs = i * 1000;
            e.isEndSync = i % 2;
            e.text = e.isEndSync ? "&nbsp;" : "\xbe\xc8\xb3\xe7\xc7\xcf\xbc\xbc\xbf\xe4 caption";
            model.AddTail(e, false);
        }
    }
};

void InsertAfterRecorded(benchmark::State& state)
{
    LongList list;
    SyncEntry e;
    list.model.InitEntry(e);
    for (auto _ : state) {
        Position middle = list.model.FindIndex(kRows / 2);
        e.startMs = (kRows / 2) * 1000 + 1;
        Position added = list.model.InsertAfter(middle, e, true);
        state.PauseTiming();
        list.model.Remove(added, false, false);
        state.ResumeTiming();
    }
}
BENCHMARK(InsertAfterRecorded)->Unit(benchmark::kMillisecond);

void SetAtRecorded(benchmark::State& state)
{
    LongList list;
    for (auto _ : state) {
        Position middle = list.model.FindIndex(kRows / 2);
        SyncEntry e = list.model.GetAt(middle);
        e.text = "changed";
        list.model.SetAt(middle, e, true);
    }
}
BENCHMARK(SetAtRecorded)->Unit(benchmark::kMillisecond);

void RemoveAtRecorded(benchmark::State& state)
{
    LongList list;
    SyncEntry e;
    list.model.InitEntry(e);
    for (auto _ : state) {
        list.model.RemoveAt(kRows / 2, false);
        state.PauseTiming();
        e.startMs = (kRows / 2) * 1000;
        list.model.InsertBefore(list.model.FindIndex(kRows / 2), e, false);
        state.ResumeTiming();
    }
}
BENCHMARK(RemoveAtRecorded)->Unit(benchmark::kMillisecond);

void CheckOrderWholeList(benchmark::State& state)
{
    LongList list;
    for (auto _ : state)
        benchmark::DoNotOptimize(list.model.CheckOrder());
}
BENCHMARK(CheckOrderWholeList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verbanta
