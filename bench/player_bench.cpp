// One tick of the player's position timer on a 50,000-row list, with the caption shown: the
// cursor rule, the page of the caption, its conversion and the caption window's new
// document, and in the whole window also the list following the video. Every tick here shows
// a caption, the dearest case; the figure must stay within 1 ms.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTextBrowser>

#include <memory>

#include "app_context.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "editor/player_playback.h"
#include "main_frame.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "player/player_view.h"
#include "settings/app_settings.h"
#include "settings/memory_key_value_store.h"

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
        e.text = i % 2 ? "&nbsp;"
                       : "<font color=\"yellow\">Caption</font> " + std::to_string(i) +
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
        const PlaybackTick tick = PlaybackFollower::tick(model, t, true, true, 0, kRows * kStepMs);
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

/// The tick as the player view runs it in a shown window at a normal size, with the list
/// following every caption shown ("동영상 재생시 해당 자막 위치로 이동" on): caption window,
/// selection and scrolling of the 50,000-row list, position label, and the repaints they cause.
void BM_PositionTickInWindowWithListFollowing(benchmark::State& state)
{
    AppSettings settings;
    settings.NoFileWatch = true;
    settings.PlayAndGo = true;
    MemoryKeyValueStore store;
    SilentMessenger messenger;
    app::AppContext context{settings, store, messenger};
    auto frame = std::make_unique<app::CMainFrame>(context);
    frame->resize(1280, 800);
    frame->show();
    fill(frame->documentHost().model());
    frame->editor()->documentShown();
    QApplication::processEvents();
    app::CPlayerView& player = frame->playerView();
    SamiModel& model = frame->documentHost().model();
    model.SeekCursor(0);
    std::int32_t t = 0;
    for (auto _ : state) {
        player.followPosition(t);
        // The repaints the tick asked for: the caption window, the list, the label.
        QApplication::processEvents();
        t += kStepMs;
        if (!model.HasCursor()) {
            t = 0;
            model.SeekCursor(0);
        }
    }
    state.counters["row"] = frame->editor()->session().currentRow();
}
BENCHMARK(BM_PositionTickInWindowWithListFollowing)->Unit(benchmark::kMicrosecond);

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
