// The editor window under load, offscreen at 1280 x 800:
// - opening a file of almost 1,000,000 bytes until the list's first page is painted (<= 300 ms);
// - painting one page of a 50,000-row list (<= 5 ms);
// - scrolling a 50,000-row list from top to bottom, by the scroll bar and by Page Down, through
//   the event loop: the longest time the loop could not answer is reported as max_stall_ms
//   (<= 50 ms), and as max_stall_cpu_ms in the loop thread's own processor time, which other
//   programs on a busy machine do not inflate;
// - the same scrolling with 500,000 captions, a single-row command (move a caption down, then
//   delete it) in the middle of them (<= 50 ms each) and saving them (figures only);
// - a caption of 1,000,000 characters without a break: opening its file until the list and
//   the edit panel show it (<= 1 s), and one typed key in the panel (<= 50 ms);
// - the timing strip on the video bench/window_bench.sh makes: the first waveform drawn after
//   opening it (<= 1 s) and the longest stall while it is analysed (< 16 ms), the second
//   opening drawn from the cache (<= 100 ms), one repaint at 1920 pixels (<= 2 ms);
// - idle: the processor time of 10 s with a 7,000-caption file open and nothing playing (0).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app_context.h"
#include "caption_list_view.h"
#include "caption_text_edit.h"
#include "caption_view.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "document_host.h"
#include "edit_panel.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "player/player_view.h"
#include "player/shot_change_track.h"
#include "settings/app_settings.h"
#include "settings/memory_key_value_store.h"
#include "waveform/strip_audio.h"
#include "waveform/timing_strip.h"

namespace verbanta {
namespace {

constexpr int kRows = 50000;
constexpr int kManyRows = 500000;
constexpr std::size_t kFileBytes = 1000000;

/// A main window at a normal size over options and a store of its own.
struct Window {
    AppSettings settings;
    MemoryKeyValueStore store;
    SilentMessenger messenger;
    app::AppContext context{settings, store, messenger};
    std::unique_ptr<app::CMainFrame> frame;

    Window()
    {
        settings.NoFileWatch = true;
        frame = std::make_unique<app::CMainFrame>(context);
        frame->resize(1280, 800);
        frame->show();
        QApplication::processEvents();
    }
    app::CaptionListView& list() { return frame->captionView().list(); }
};

/// A two-language SAMI file of Korean and English captions, just under the reader's limit.
std::string bigSamiFile()
{
    std::string text =
        "<SAMI>\r\n<HEAD>\r\n<TITLE>bench</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { margin-left:8pt; font-size:14pt; text-align:center; }\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
        ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
        "<BODY>\r\n";
    std::string body = utf8ToCp949(text);
    const std::string tail = "</BODY>\r\n</SAMI>\r\n";
    for (int i = 0;; ++i) {
        const std::string ms = std::to_string(i * 1000);
        const std::string caption =
            i % 3 == 2 ? "&nbsp;"
                       : utf8ToCp949("<font color=\"yellow\">자막</font> 번호 " +
                                     std::to_string(i) + "<br>\r\n두 번째 줄입니다");
        const std::string block = "<SYNC Start=" + ms + "><P Class=" + (i % 2 ? "ENCC" : "KRCC") +
                                  ">\r\n" + caption + "\r\n";
        if (body.size() + block.size() + tail.size() > kFileBytes)
            break;
        body += block;
    }
    return body + tail;
}

/// Fills the window's document with rows and shows it, as an opened file would be.
void fillRows(Window& w, int rows)
{
    SamiModel& model = w.frame->documentHost().model();
    model.Reset(true);
    for (int i = 0; i < rows; ++i) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = i * 1000;
        e.isEndSync = i % 2 != 0;
        e.text = e.isEndSync ? "&nbsp;"
                             : utf8ToCp949("<font color=\"yellow\">자막</font> " +
                                           std::to_string(i) + "<br>\r\nsecond line");
        model.AddTail(e, false);
    }
    w.frame->editor()->documentShown();
    QApplication::processEvents();
}

void BM_OpenMegabyteFileUntilFirstPagePainted(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.smi"));
    const std::string bytes = bigSamiFile();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            state.SkipWithError("cannot write the file");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    Window w;
    for (auto _ : state) {
        if (!w.frame->documentHost().openFile(path))
            state.SkipWithError("the file did not open");
        w.list().viewport()->repaint();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.counters["rows"] = w.frame->editor()->session().rowCount();
}
BENCHMARK(BM_OpenMegabyteFileUntilFirstPagePainted)->Unit(benchmark::kMillisecond);

void BM_PaintOnePageOf50000Rows(benchmark::State& state)
{
    Window w;
    fillRows(w, kRows);
    QScrollBar* bar = w.list().verticalScrollBar();
    const int pages = std::max(1, bar->maximum() / std::max(1, bar->pageStep()));
    int page = 0;
    for (auto _ : state) {
        // A different page each time, so no cached row serves the paint.
        state.PauseTiming();
        page = (page + 7) % pages;
        bar->setValue(page * bar->pageStep());
        QApplication::processEvents();
        state.ResumeTiming();
        w.list().viewport()->repaint();
    }
    state.counters["rows_per_page"] = w.list().rowsPerPage();
}
BENCHMARK(BM_PaintOnePageOf50000Rows)->Unit(benchmark::kMillisecond);

/// The thread's own processor time in nanoseconds: unlike the wall clock it does not grow
/// while other programs have the processor.
qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

/// The longest time the event loop could not answer, by the wall clock and by the thread's
/// own processor time.
struct Stall {
    double wallMs = 0;
    double cpuMs = 0;
};

/// Runs the event loop while `step` scrolls on; a zero-interval timer fires whenever the loop
/// is free, and the longest gap between two of its firings is the longest stall.
template <class Step>
Stall longestStallWhile(Step step)
{
    QElapsedTimer clock;
    qint64 lastWall = 0;
    qint64 lastCpu = threadCpuNs();
    qint64 longestWall = 0;
    qint64 longestCpu = 0;
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 wall = clock.nsecsElapsed();
        const qint64 cpu = threadCpuNs();
        longestWall = std::max(longestWall, wall - lastWall);
        longestCpu = std::max(longestCpu, cpu - lastCpu);
        lastWall = wall;
        lastCpu = cpu;
    });
    clock.start();
    heartbeat.start();
    while (step()) QApplication::processEvents();
    heartbeat.stop();
    return {static_cast<double>(longestWall) / 1e6, static_cast<double>(longestCpu) / 1e6};
}

void report(benchmark::State& state, const Stall& stall)
{
    state.counters["max_stall_ms"] = stall.wallMs;
    state.counters["max_stall_cpu_ms"] = stall.cpuMs;
}

void BM_ScrollByScrollBarTopToBottom(benchmark::State& state)
{
    Window w;
    fillRows(w, static_cast<int>(state.range(0)));
    QScrollBar* bar = w.list().verticalScrollBar();
    Stall worst;
    for (auto _ : state) {
        bar->setValue(0);
        QApplication::processEvents();
        const Stall stall = longestStallWhile([&] {
            if (bar->value() >= bar->maximum())
                return false;
            bar->setValue(bar->value() + bar->pageStep());
            return true;
        });
        worst = {std::max(worst.wallMs, stall.wallMs), std::max(worst.cpuMs, stall.cpuMs)};
    }
    report(state, worst);
}
BENCHMARK(BM_ScrollByScrollBarTopToBottom)
    ->Arg(kRows)
    ->Arg(kManyRows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_PageDownTopToBottom(benchmark::State& state)
{
    Window w;
    const int rows = static_cast<int>(state.range(0));
    fillRows(w, rows);
    app::CaptionListView& list = w.list();
    Stall worst;
    for (auto _ : state) {
        w.frame->editor()->session().selectRow(0);
        list.setFocus();
        QApplication::processEvents();
        const Stall stall = longestStallWhile([&] {
            if (w.frame->editor()->session().currentRow() >= rows - 1)
                return false;
            // Posted as the keyboard delivers it, handled by the loop.
            QApplication::postEvent(
                &list, new QKeyEvent(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier));
            return true;
        });
        worst = {std::max(worst.wallMs, stall.wallMs), std::max(worst.cpuMs, stall.cpuMs)};
    }
    report(state, worst);
}
BENCHMARK(BM_PageDownTopToBottom)
    ->Arg(kRows)
    ->Arg(kManyRows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

/// Milliseconds from a posted event or a call until the loop has handled everything it caused.
template <class Action>
double msUntilIdle(Action action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    QApplication::processEvents();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void BM_SingleRowCommandsAndSaveOf500000Rows(benchmark::State& state)
{
    Window w;
    fillRows(w, kManyRows);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("many.smi")).toStdString();
    app::CommandDispatcher& commands = w.frame->commands();
    double move = 0, remove = 0, save = 0;
    for (auto _ : state) {
        w.frame->editor()->session().selectRow(kManyRows / 2);
        QApplication::processEvents();
        move = std::max(move, msUntilIdle([&] { commands.run(app::cmd::MoveDown); }));
        remove = std::max(remove, msUntilIdle([&] { commands.run(app::cmd::DeleteCaption); }));
        const auto saveAll = [&] {
            if (!w.frame->documentHost().document().saveDocument(path))
                state.SkipWithError("the save failed");
        };
        save = std::max(save, msUntilIdle(saveAll));
    }
    state.counters["move_down_ms"] = move;
    state.counters["delete_ms"] = remove;
    state.counters["save_ms"] = save;
    state.counters["rows"] = w.frame->editor()->session().rowCount();
}
BENCHMARK(BM_SingleRowCommandsAndSaveOf500000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenMillionCharacterCaption(benchmark::State& state)
{
    // One caption line of Korean and Latin letters without a single blank or line break.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.smi"));
    std::string caption;
    const std::string unit = utf8ToCp949("가나다라abcdef");
    while (caption.size() < 1400000)  // 100,000 times ten characters
        caption += unit;
    const std::string bytes = "<SAMI>\r\n<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\r\n" + caption +
                              "\r\n<SYNC Start=9000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            state.SkipWithError("cannot write the file");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    Window w;
    app::CaptionTextEdit& field = w.frame->captionView().panel().textField();
    double typing = 0;
    for (auto _ : state) {
        if (!w.frame->documentHost().openFile(path))
            state.SkipWithError("the file did not open");
        w.frame->editor()->session().selectRow(0);
        QApplication::processEvents();
        w.list().viewport()->repaint();
        field.viewport()->repaint();
        state.PauseTiming();
        field.setFocus();
        field.moveCursor(QTextCursor::End);
        const auto typeKey = [&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QApplication::sendEvent(&field, &key);
        };
        for (int i = 0; i < 5; ++i) typing = std::max(typing, msUntilIdle(typeKey));
        state.ResumeTiming();
    }
    const QTextDocument& shown = *field.document();
    state.counters["characters"] = shown.characterCount() - shown.blockCount();
    state.counters["key_ms"] = typing;
}
BENCHMARK(BM_OpenMillionCharacterCaption)->Unit(benchmark::kMillisecond)->Iterations(2);

// ---- the timing strip, on the video bench/window_bench.sh makes ------------------------------

/// The video of the strip's benchmarks, named by VERBANTA_WINDOW_MEDIA; empty without one.
QString stripMedia()
{
    return qEnvironmentVariable("VERBANTA_WINDOW_MEDIA");
}

/// The strip's cache for the windows made from now on (read when a window is made).
void useCacheFolder(const QString& folder)
{
    qputenv("XDG_CACHE_HOME", folder.toUtf8());
}

/// A caption of 2.5 s every 3.5 s over ten minutes, each with its end sync, as a film has.
void fillCaptions(Window& w)
{
    SamiModel& model = w.frame->documentHost().model();
    model.Reset(true);
    for (int ms = 0; ms < 600000; ms += 3500) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = ms;
        e.text = utf8ToCp949("자막 " + std::to_string(ms / 3500) + "<br>\r\n둘째 줄");
        model.AddTail(e, false);
        model.AddTail(model.endSyncEntry(ms + 2500), false);
    }
    w.frame->editor()->documentShown();
}

/// Runs the event loop until `done` or `ms` have passed; false at the deadline.
template <class Done>
bool runUntil(Done done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

bool analysed(app::TimingStrip& strip)
{
    const media::WaveformAnalysis* waveform = strip.audio().waveform();
    return waveform && waveform->state().finished();
}

void BM_StripFirstWaveformAfterOpeningAndStallsWhileAnalysing(benchmark::State& state)
{
    const QString video = stripMedia();
    if (video.isEmpty())
        return state.SkipWithError("no VERBANTA_WINDOW_MEDIA: bench/window_bench.sh makes one");
    Stall worst;
    double analysisMs = 0;
    for (auto _ : state) {
        QTemporaryDir cache;
        useCacheFolder(cache.path());
        Window w;
        app::TimingStrip& strip = w.frame->timingStrip();
        QElapsedTimer clock;
        clock.start();
        w.frame->playerView().OpenMedia(video);
        qint64 firstNs = -1;
        const Stall stall = longestStallWhile([&] {
            if (firstNs < 0 && strip.drewSound())
                firstNs = clock.nsecsElapsed();
            return !(firstNs >= 0 && analysed(strip)) && clock.elapsed() < 120000;
        });
        if (firstNs < 0 || !analysed(strip))
            return state.SkipWithError("the waveform was not drawn within two minutes");
        analysisMs = static_cast<double>(clock.elapsed());
        worst = {std::max(worst.wallMs, stall.wallMs), std::max(worst.cpuMs, stall.cpuMs)};
        state.SetIterationTime(static_cast<double>(firstNs) / 1e9);
    }
    report(state, worst);
    state.counters["analysis_ms"] = analysisMs;
}
BENCHMARK(BM_StripFirstWaveformAfterOpeningAndStallsWhileAnalysing)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

/// While the shot changes of a 1080p video are found, with the video open and paused, the
/// strip shown and its progress drawn: the longest stall of the event loop, and how long the
/// finding took in the window (at the lowest priority: on a busy machine, longer).
void BM_StallsWhileFindingShotChanges(benchmark::State& state)
{
    const QString video = qEnvironmentVariable("VERBANTA_WINDOW_SHOTS_MEDIA");
    if (video.isEmpty())
        return state.SkipWithError("no VERBANTA_WINDOW_SHOTS_MEDIA: bench/window_bench.sh makes one");
    Stall worst;
    for (auto _ : state) {
        QTemporaryDir cache;
        useCacheFolder(cache.path());
        Window w;
        fillCaptions(w);
        app::ShotChangeTrack& shots = w.frame->playerView().shotChanges();
        w.frame->playerView().OpenMedia(video);
        // The player's own opening and first picture are not the finding's: once they are
        // done, the finding starts again from nothing.
        if (!runUntil([&] { return w.frame->playerView().IsMediaOpen(); }, 20000))
            return state.SkipWithError("the video did not open");
        runUntil([] { return false; }, 1000);
        shots.start(QFile::encodeName(video).toStdString());
        QElapsedTimer clock;
        clock.start();
        const Stall stall = longestStallWhile([&] {
            return shots.status() == app::ShotChangeTrack::Status::Running &&
                   clock.elapsed() < 600000;
        });
        if (shots.status() != app::ShotChangeTrack::Status::Ready)
            return state.SkipWithError("the shot changes were not found within ten minutes");
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        state.counters["shot_changes"] = static_cast<double>(shots.shotsMs().size());
        worst = {std::max(worst.wallMs, stall.wallMs), std::max(worst.cpuMs, stall.cpuMs)};
    }
    report(state, worst);
}
BENCHMARK(BM_StallsWhileFindingShotChanges)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);

void BM_StripSecondOpeningDrawnFromTheCache(benchmark::State& state)
{
    const QString video = stripMedia();
    if (video.isEmpty())
        return state.SkipWithError("no VERBANTA_WINDOW_MEDIA: bench/window_bench.sh makes one");
    QTemporaryDir cache;
    useCacheFolder(cache.path());
    {
        Window first;
        first.frame->playerView().OpenMedia(video);
        if (!runUntil([&] { return analysed(first.frame->timingStrip()); }, 120000))
            return state.SkipWithError("the first analysis did not end");
    }
    for (auto _ : state) {
        Window w;
        app::TimingStrip& strip = w.frame->timingStrip();
        QElapsedTimer clock;
        clock.start();
        w.frame->playerView().OpenMedia(video);
        // Drawn whole from what the cache held.
        if (!runUntil([&] { return strip.drewSound() && strip.drewEverything(); }, 10000) ||
            strip.audio().waveform()->state().cache != media::CacheUse::Read)
            return state.SkipWithError("the second opening did not draw from the cache");
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_StripSecondOpeningDrawnFromTheCache)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

/// One repaint of the strip at 1920 pixels: span in ms (0: the whole video), and 1 for the
/// spectrogram, whose tiles are made before the timing starts.
void BM_StripRepaintAt1920Pixels(benchmark::State& state)
{
    const QString video = stripMedia();
    if (video.isEmpty())
        return state.SkipWithError("no VERBANTA_WINDOW_MEDIA: bench/window_bench.sh makes one");
    QTemporaryDir cache;
    useCacheFolder(cache.path());
    Window w;
    w.frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    w.frame->resize(1920, 900);
    fillCaptions(w);
    app::TimingStrip& strip = w.frame->timingStrip();
    w.frame->playerView().OpenMedia(video);
    if (!runUntil([&] { return analysed(strip) && w.frame->playerView().IsMediaOpen(); }, 120000))
        return state.SkipWithError("the analysis did not end");
    strip.setMode(state.range(1) ? app::TimingStrip::Mode::Spectrogram
                                 : app::TimingStrip::Mode::Waveform);
    const double span = state.range(0) > 0 ? double(state.range(0)) : 1e12;
    // A few places along the video, each painted until all it shows is there.
    std::vector<double> starts;
    for (double at : {0.12, 0.47, 0.81}) {
        strip.setView(at * strip.audio().lengthMs(), span);
        if (starts.empty() || strip.viewStartMs() != starts.back())
            starts.push_back(strip.viewStartMs());
        if (!runUntil([&] { strip.repaint(); return strip.drewEverything(); }, 60000))
            return state.SkipWithError("the spectrogram's tiles did not come");
    }
    std::size_t next = 0;
    for (auto _ : state) {
        strip.setView(starts[next++ % starts.size()], span);
        strip.repaint();
    }
    state.counters["width"] = strip.width();
    state.counters["span_ms"] = strip.spanMs();
}
BENCHMARK(BM_StripRepaintAt1920Pixels)
    ->ArgsProduct({{500, 10000, 60000, 0}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

/// The whole process's processor time in nanoseconds, mpv's and Qt's threads included.
qint64 processCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

/// A one-language SAMI file of the given number of captions, each followed by its end.
std::string samiFileOf(int captions)
{
    std::string text = utf8ToCp949(
        "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
        "<BODY>\r\n");
    for (int i = 0; i < captions; ++i) {
        const std::string ms = std::to_string(i * 2000);
        text += "<SYNC Start=" + ms + "><P Class=KRCC>\r\n" +
                utf8ToCp949("자막 " + std::to_string(i) + "<br>\r\n두 번째 줄") + "\r\n";
        text += "<SYNC Start=" + std::to_string(i * 2000 + 1500) + "><P Class=KRCC>&nbsp;\r\n";
    }
    return text + "</BODY>\r\n</SAMI>\r\n";
}

/// Counts what wakes the event loop: timer events and paints, by the class that receives them.
class WakeCounter : public QObject {
public:
    int timers = 0;
    int paints = 0;
    QMap<QString, int> byClass;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool timer = event->type() == QEvent::Timer;
        const bool paint = event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest;
        if (timer || paint) {
            (timer ? timers : paints) += 1;
            byClass[QString::fromLatin1(watched->metaObject()->className()) +
                    (timer ? QStringLiteral(" timer") : QStringLiteral(" paint"))] += 1;
        }
        return false;
    }
};

// Idle means idle: a 7,000-caption file open, the video of VERBANTA_WINDOW_MEDIA (when there is
// one) loaded and paused, and nothing happening for 10 s: the processor time of the whole
// process over those seconds, as a share of one core. The picture is OpenGL where the platform
// has it (run under X: QT_QPA_PLATFORM=xcb), the software one with VERBANTA_VIDEO=software.
void BM_IdleProcessorTime(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("captions.smi"));
    {
        const std::string bytes = samiFileOf(7000);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return state.SkipWithError("cannot write the file");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    Window w;
    if (!w.frame->documentHost().openFile(path))
        return state.SkipWithError("the file did not open");
    const QString video = stripMedia();
    if (!video.isEmpty()) {
        w.frame->playerView().OpenMedia(video);
        if (!runUntil([&] { return w.frame->playerView().IsMediaOpen(); }, 20000))
            return state.SkipWithError("the video did not open");
    }
    const auto idleFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    // Whatever opening started (the timing strip's analysis among it) ends first, and the
    // caret stops blinking ten seconds after the last input.
    idleFor(15000);
    double percent = 0;
    WakeCounter wakes;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const qint64 cpu = processCpuNs();
        qApp->installEventFilter(&wakes);
        idleFor(10000);
        qApp->removeEventFilter(&wakes);
        const double wallNs = static_cast<double>(clock.nsecsElapsed());
        percent = 100.0 * static_cast<double>(processCpuNs() - cpu) / wallNs;
        state.SetIterationTime(wallNs / 1e9);
    }
    state.counters["idle_cpu_percent"] = percent;
    state.counters["timer_events"] = wakes.timers;
    state.counters["paints"] = wakes.paints;
    if (qEnvironmentVariableIsSet("VERBANTA_IDLE_TRACE"))
        for (auto it = wakes.byClass.cbegin(); it != wakes.byClass.cend(); ++it)
            std::fprintf(stderr, "%6d %s\n", it.value(), qPrintable(it.key()));
    state.counters["rows"] = w.frame->editor()->session().rowCount();
    state.SetLabel(w.frame->playerView().renderingLabel()->text().toStdString() +
                   (video.isEmpty() ? ", no video" : ", video paused"));
}
BENCHMARK(BM_IdleProcessorTime)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace
}  // namespace verbanta

int main(int argc, char** argv)
{
    // Offscreen unless a platform is named: the OpenGL picture needs a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
