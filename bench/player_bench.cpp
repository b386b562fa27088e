// One tick of the player's position timer on a 50,000-row list, with the caption shown: the
// cursor rule, the page of the caption, its conversion and the caption window's new
// document. Every tick here shows a caption, the dearest case; the figure must stay within
// 1 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextBrowser>

#include "editor/player_playback.h"
#include "model/sami_model.h"
#include "player/player_view.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr int kRows = 50000;
constexpr int kStepMs = 100;

void fill(SamiModel& model)
{
    model.Reset(true);
    for (int i = 0; i < kRows; ++i) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = i * kStepMs;
        e.text = i % 2 ? "&nbsp;" : "<font color=\"yellow\">Caption</font> " + std::to_string(i) +
                                        "<br>\r\nsecond line";
        e.isEndSync = i % 2 != 0;
        model.AddTail(e, false);
    }
}

void BM_PositionTickRule(benchmark::State& state)
{
    AppSettings settings;
    SamiModel model(settings);
    fill(model);
    model.SeekCursor(0);
    std::int32_t t = 0;
    for (auto _ : state) {
        PlaybackTick tick = PlaybackFollower::tick(model, t, true, true, 0, kRows * kStepMs);
        benchmark::DoNotOptimize(tick);
        t += kStepMs;
        if (!model.HasCursor()) {
            t = 0;
            model.SeekCursor(0);
        }
    }
}
BENCHMARK(BM_PositionTickRule)->Unit(benchmark::kMicrosecond);

void BM_PositionTickWithCaptionDisplay(benchmark::State& state)
{
    AppSettings settings;
    SamiModel model(settings);
    fill(model);
    model.SeekCursor(0);
    QTextBrowser window;
    window.resize(400, 90);
    std::int32_t t = 0;
    for (auto _ : state) {
        const PlaybackTick tick =
            PlaybackFollower::tick(model, t, true, true, 0, kRows * kStepMs);
        if (tick.showCaption)
            window.setHtml(app::captionWindowHtml(tick.html));
        t += kStepMs;
        if (!model.HasCursor()) {
            t = 0;
            model.SeekCursor(0);
        }
    }
}
BENCHMARK(BM_PositionTickWithCaptionDisplay)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace verbanta

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
