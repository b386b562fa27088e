// One tick of the player's position timer on a 50,000-row list, with the caption shown: the
// cursor rule, the page of the caption, its conversion and the caption window's new
// document, and in the whole window also the list following the video. Every tick here shows
// a caption, the dearest case; the figure must stay within 1 ms.
//
// Then the capture while the clip plays at 1x, 0.5x and 2x: each sample runs the F8 command
// and reads, at once, the number of the frame libmpv holds for display; the figures are the
// mean and the worst distance between the stamp and that frame's time, and how late the
// window's own timer ran meanwhile (the longest the window stood still).
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app_context.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "editor/player_playback.h"
#include "main_frame.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "player/media_backend.h"
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

#ifdef VERBANTA_BENCH_CLIP
/// Runs the event loop until `done` holds or `ms` have passed; whether it holds.
bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

/// Lets the window run for `ms` while the clip plays.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

/// The number the clip's frame shows as 16 bars in its upper half (white = 1, lowest bit on
/// the left), read from a picture drawn at the clip's size.
int clipFrameNumber(const QImage& image)
{
    int n = 0;
    for (int bit = 0; bit < 16; ++bit)
        if (qGray(image.pixel(bit * 20 + 10, 16)) > 128)
            n |= 1 << bit;
    return n;
}

constexpr int kFrameMs = 40;  // the clip's 25 frames per second
constexpr int kSamples = 150;
// Not a multiple of the frame length, so that the samples fall anywhere within a frame.
constexpr int kSampleEveryMs = 97;

void BM_CaptureAgainstTheFrameOnScreen(benchmark::State& state)
{
    const auto percent = static_cast<std::int32_t>(state.range(0));
    if (!QFile::exists(QStringLiteral(VERBANTA_BENCH_CLIP))) {
        state.SkipWithError("the player's test clip is not built");
        return;
    }
    AppSettings settings;
    settings.NoFileWatch = true;
    settings.MoveToNextSync = false;
    settings.InsertEndAuto = false;
    settings.SyncModify = 0;
    // The clip's bars flip half the picture at powers of two, which reads as a shot change:
    // the stamps must stay where they were taken.
    settings.SnapCaptureToShot = false;
    settings.PlaybackSpeed = percent;
    MemoryKeyValueStore store;
    SilentMessenger messenger;
    app::AppContext context{settings, store, messenger};
    auto frame = std::make_unique<app::CMainFrame>(context);
    frame->resize(1000, 700);
    frame->show();
    SamiModel& model = frame->documentHost().model();
    model.Reset(true);
    SyncEntry row;
    model.InitEntry(row);
    row.startMs = 0;
    row.text = "stamp";
    model.AddTail(row, false);
    frame->editor()->documentShown();
    app::CPlayerView& player = frame->playerView();
    app::MediaBackend& media = player.media();
    if (player.rendering() != app::VideoRendering::Software) {
        state.SkipWithError("the frame on screen is read from the software picture");
        return;
    }
    player.OpenMedia(QStringLiteral(VERBANTA_BENCH_CLIP));
    if (!waitFor([&] { return player.IsMediaOpen(); }, 10000)) {
        state.SkipWithError("libmpv cannot open the test clip here");
        return;
    }
    EditSession& session = frame->editor()->session();
    QImage picture(320, 64, QImage::Format_RGBX8888);
    std::vector<int> errors;
    int lateMs = 0;
    double lateSum = 0.0;
    int waits = 0;
    const auto startPlaying = [&] {
        player.SeekTo(1000, false);
        waitFor([&] { return std::abs(player.GetPositionMs() - 1000) < 100; }, 5000);
        player.play();
        waitFor([&] { return media.playState() == app::MediaBackend::Playing; }, 5000);
        runFor(500);  // past the start of playback
    };
    for (auto _ : state) {
        startPlaying();
        while (static_cast<int>(errors.size()) < kSamples) {
            QElapsedTimer wait;
            wait.start();
            runFor(kSampleEveryMs);
            // How late the window came back to its timer: how long it stood still.
            const int late = static_cast<int>(wait.elapsed()) - kSampleEveryMs;
            lateMs = std::max(lateMs, late);
            lateSum += late;
            ++waits;
            if (player.GetPositionMs() > 38000) {
                startPlaying();
                continue;
            }
            session.selectRow(0);
            frame->commands().run(app::cmd::SingleSync);
            const std::int32_t stamped = session.entry(0)->startMs;
            if (!media.renderSoftware(picture))
                continue;
            errors.push_back(stamped - clipFrameNumber(picture) * kFrameMs);
        }
        player.pause();
    }
    double sum = 0.0;
    double signedSum = 0.0;
    int worst = 0;
    for (const int e : errors) {
        sum += std::abs(e);
        signedSum += e;
        worst = std::max(worst, std::abs(e));
    }
    const double n = static_cast<double>(errors.size());
    state.counters["mean_abs_ms"] = sum / n;
    state.counters["mean_ms"] = signedSum / n;
    state.counters["worst_abs_ms"] = worst;
    state.counters["samples"] = n;
    state.counters["timer_late_mean_ms"] = lateSum / std::max(waits, 1);
    state.counters["timer_late_worst_ms"] = lateMs;
    std::printf(
        "capture at %s: %zu samples, |stamp - frame on screen| mean %.1f ms, worst %d ms,"
        " stamp - frame mean %+.1f ms; the window's timer late by %.1f ms on average, %d at "
        "worst\n",
        speedText(percent).c_str(), errors.size(), sum / n, worst, signedSum / n,
        lateSum / std::max(waits, 1), lateMs);
}
BENCHMARK(BM_CaptureAgainstTheFrameOnScreen)
    ->Arg(100)
    ->Arg(50)
    ->Arg(200)
    ->Arg(25)
    ->Arg(150)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
#endif

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
