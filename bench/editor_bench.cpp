// The caption editor's commands on a 50,000-row list with DisplayErrorSync on and the caption
// checks following every change as the list's marks do. The counters give the median processor
// time of the command, its undo and its redo over the iterations, and the slowest single run of
// any of them (worst_ms): single-row commands must stay within 1 ms, bulk commands over the
// whole list within 100 ms. checks_ms is the checks' part of the command.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checks/check_state.h"
#include "editor/caption_editor.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr int kRows = 50000;
constexpr int kPastedCaptions = 10000;

class BenchPlayer : public PlayerPort {
public:
    bool IsMediaOpen() const override { return true; }
    std::int32_t GetPositionMs() const override { return 1000; }
    std::int32_t GetLengthMs() const override { return kRows * 1000; }
    bool SeekTo(std::int32_t, bool) override { return true; }
    void SetReplayRange(std::int32_t, std::int32_t) override {}
    void ClearReplayRange() override {}
    void StopRepeat() override {}
    void ResyncCursor() override {}
    int BookmarkCount() const override { return static_cast<int>(bookmarks.size()); }
    std::int32_t BookmarkAt(int i) const override { return bookmarks[static_cast<std::size_t>(i)]; }
    std::vector<std::int32_t> bookmarks{5000, kRows * 900};
    void SetRangeMarks(std::int32_t, std::int32_t) override {}
};

class BenchClipboard : public ClipboardPort {
public:
    bool hasText() const override { return true; }
    std::optional<std::string> text() const override { return content; }
    bool setText(std::string_view text) override
    {
        content = std::string(text);
        return true;
    }
    std::string content;
};

class BenchLauncher : public ProcessLauncher {
public:
    bool launch(const std::string&) override { return true; }
    bool openWithDesktop(const std::string&) override { return true; }
};

class BenchDocument : public EditorDocument {
public:
    void setModified(bool) override {}
    void undoStateChanged() override {}
    bool isModified() const override { return true; }
    bool saveModifiedPrompt() override { return true; }
    std::string path() const override { return "/tmp/a.smi"; }
};

class YesMessenger : public Messenger {
public:
    void showMessage(std::string_view, MessageIcon) override {}
    bool askYesNo(std::string_view) override { return true; }
    Answer askYesNoCancel(std::string_view) override { return Answer::Yes; }
};

/// The processor time a call takes, in ms. Processor time rather than wall time: the figures
/// must not count the moments other processes of a busy machine held the processor.
double millisecondsOf(const std::function<void()>& f)
{
    const std::clock_t start = std::clock();
    f();
    return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

/// The list's check marks as the window keeps them: each notification noted, the rows it
/// named rechecked once the change is told; the processor time of the rechecks is summed.
class CheckingListener : public CaptionViewListener {
public:
    explicit CheckingListener(const SamiModel& model) : m_model(model) {}
    void rowsInserted(int first, int count) override { state.rowsInserted(first, count); }
    void rowsRemoved(int first, int count) override { state.rowsRemoved(first, count); }
    void rowsChanged(int first, int last) override { state.rowsChanged(first, last); }
    void changeDelivered() override
    {
        checkMs += millisecondsOf([&] { benchmark::DoNotOptimize(state.settle()); });
    }
    void marksChanged() override {}
    void listReplaced() override
    {
        state.attach(m_model.list(), m_model.GetCurrentSlot());
        benchmark::DoNotOptimize(state.settle());
    }
    void currentRowChanged(int, ScrollHint) override {}
    void panelChanged() override {}
    void languagesChanged() override {}
    void focusRequested(FocusTarget) override {}

    CheckState state{CheckProfile(), kDefaultFramesPerSecond};
    double checkMs = 0.0;

private:
    const SamiModel& m_model;
};

/// 50,000 rows, one a second: two-line captions, every tenth row an end sync.
struct Session {
    AppSettings settings;
    SamiModel model{settings};
    BenchPlayer player;
    BenchClipboard clipboard;
    BenchLauncher launcher;
    BenchDocument document;
    YesMessenger messenger;
    CaptionEditor editor{model, settings, document, player, clipboard, launcher, messenger};
    CheckingListener checks{model};

    Session()
    {
        editor.session().setListener(&checks);
        settings.DisplayErrorSync = true;
        settings.DeleteEndToo = true;
        settings.InsertEndAuto = true;
        model.setMessenger(messenger);
        SyncEntry e;
        model.InitEntry(e);
        for (int i = 0; i < kRows; ++i) {
            e.startMs = i * 1000;
            e.isEndSync = i % 10 == 9;
            e.text = e.isEndSync ? "&nbsp;" : "caption " + std::to_string(i) + "<br>\r\nline two";
            model.AddTail(e, false);
        }
        model.list()[0].rangeStart = 1;
        model.list()[kRows - 1].rangeEnd = 1;
        model.CheckOrder();
        editor.documentShown();
    }
};

/// Processor times of the command, its undo and its redo, one of each per iteration, and of
/// the checks' part in the command.
struct StepTimes {
    std::vector<double> command, undo, redo, checks;
};

double median(std::vector<double> ms)
{
    if (ms.empty())
        return 0.0;
    const auto middle = ms.begin() + static_cast<std::ptrdiff_t>(ms.size() / 2);
    std::nth_element(ms.begin(), middle, ms.end());
    return *middle;
}

double worst(const std::vector<double>& ms)
{
    return ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end());
}

/// Times the command, its undo and its redo; the iteration counts as the slowest of them.
void timeStep(benchmark::State& state, Session& s, const std::function<void()>& command,
              StepTimes& times)
{
    s.checks.checkMs = 0.0;
    const double c = millisecondsOf(command);
    times.checks.push_back(s.checks.checkMs);
    const double u = millisecondsOf([&] { s.editor.rows().undo(); });
    const double r = millisecondsOf([&] { s.editor.rows().redo(); });
    times.command.push_back(c);
    times.undo.push_back(u);
    times.redo.push_back(r);
    state.SetIterationTime(std::max({c, u, r}) / 1000.0);
}

void report(benchmark::State& state, const StepTimes& times)
{
    state.counters["command_ms"] = median(times.command);
    state.counters["worst_ms"] = std::max({worst(times.command), worst(times.undo),
                                           worst(times.redo)});
    if (times.undo.empty())
        return;
    state.counters["undo_ms"] = median(times.undo);
    state.counters["redo_ms"] = median(times.redo);
    state.counters["checks_ms"] = median(times.checks);
}

/// A single-row command on one long session; `prepare` runs untimed before each command,
/// and the command is undone (untimed) after each iteration so the list stays as it was.
void singleRow(benchmark::State& state, const std::function<void(Session&)>& prepare,
               const std::function<void(Session&)>& command)
{
    Session s;
    StepTimes times;
    // The first run pays once for the program's code being paged in and the rows' vectors
    // growing past the 50,000 they were made with (up to 4 ms): it is left untimed.
    prepare(s);
    command(s);
    s.editor.rows().undo();
    for (auto _ : state) {
        prepare(s);
        timeStep(
            state, s, [&] { command(s); }, times);
        s.editor.rows().undo();
    }
    report(state, times);
}

/// A command that records no undo step (marks, search, copy): only the command is timed.
void unrecorded(benchmark::State& state, const std::function<void(Session&)>& prepare,
                const std::function<void(Session&)>& command)
{
    Session s;
    StepTimes times;
    for (auto _ : state) {
        prepare(s);
        const double ms = millisecondsOf([&] { command(s); });
        times.command.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    report(state, times);
}

/// A bulk command on a fresh session per iteration.
void bulk(benchmark::State& state, const std::function<void(Session&)>& prepare,
          const std::function<void(Session&)>& command)
{
    StepTimes times;
    for (auto _ : state) {
        auto s = std::make_unique<Session>();
        prepare(*s);
        timeStep(
            state, *s, [&] { command(*s); }, times);
        benchmark::DoNotOptimize(s->model.GetCount());
    }
    report(state, times);
}

/// Near the head, where an insertion or removal shifts the most rows.
void atRow100(Session& s)
{
    s.editor.session().selectRow(100);
}

#define SINGLE_ROW(name, prepare, body)                      \
    void name(benchmark::State& state)                       \
    {                                                        \
        singleRow(state, prepare, [](Session& s) { body; }); \
    }                                                        \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200)

SINGLE_ROW(AddCaptionBefore, atRow100, s.editor.rows().addCaptionBefore());
SINGLE_ROW(AddCaptionAfter, atRow100, s.editor.rows().addCaptionAfter());
SINGLE_ROW(AddEndSyncBefore, atRow100, s.editor.rows().addEndSyncBefore());
SINGLE_ROW(AddEndSyncAfter, atRow100, s.editor.rows().addEndSyncAfter());
SINGLE_ROW(
    DeleteCaptionWithItsEndSync, [](Session& s) { s.editor.session().selectRow(108); },
    s.editor.rows().deleteCaption());
SINGLE_ROW(
    DeleteOneCheckedRow,
    [](Session& s) {
        s.editor.session().selectRow(100);
        s.editor.selection().clearChecks();
        s.editor.selection().toggleChecked(100);
    },
    s.editor.rows().deleteChecked());
SINGLE_ROW(MoveUp, atRow100, s.editor.rows().moveUp());
SINGLE_ROW(MoveDown, atRow100, s.editor.rows().moveDown());
SINGLE_ROW(SplitContent, atRow100, s.editor.rows().splitContent());
SINGLE_ROW(JoinWithNext, atRow100, s.editor.rows().joinWithNext());
SINGLE_ROW(
    RegisterEdit,
    [](Session& s) {
        s.editor.session().selectRow(100);
        s.editor.panel().setPanelMode(PanelMode::Edit);
        s.editor.panel().setPanelText("edited");
    },
    s.editor.panel().registerPanel());
SINGLE_ROW(
    RegisterAdd,
    [](Session& s) {
        s.editor.session().selectRow(100);
        s.editor.panel().setPanelMode(PanelMode::Add);
        s.editor.panel().setPanelText("added");
    },
    s.editor.panel().registerPanel());
SINGLE_ROW(
    AddComment,
    [](Session& s) {
        s.editor.session().selectRow(100);
        s.editor.panel().setPanelMode(PanelMode::Add);
        s.editor.panel().setPanelText("note");
    },
    s.editor.panel().addComment());
SINGLE_ROW(
    SetCurrentSyncTimeWithItsEndSync, [](Session& s) { s.editor.session().selectRow(108); },
    s.editor.capture().setCurrentSyncTime(108100));
SINGLE_ROW(InsertCaptionAfterAt, atRow100, s.editor.capture().insertCaptionAfterAt(100500));
SINGLE_ROW(InsertEndSyncAfterAt, atRow100, s.editor.capture().insertEndSyncAfterAt(100500));
SINGLE_ROW(
    ReplaceOne,
    [](Session& s) {
        s.editor.session().selectRow(100);
        s.editor.panel().setPanelMode(PanelMode::Edit);
        s.editor.panel().setTextSelection(0, 0);
    },
    s.editor.findClipboard().replace("line two", "second line", true));
SINGLE_ROW(
    PasteOneCaption,
    [](Session& s) {
        s.editor.session().selectRow(100);
        s.clipboard.content = "<SYNC Start=100500><P Class=KRCC>\r\npasted\r\n";
    },
    s.editor.findClipboard().pasteInsert());
SINGLE_ROW(
    CutSingle, [](Session& s) { s.editor.session().selectRow(101); },
    s.editor.findClipboard().cutSingle());
SINGLE_ROW(
    ShiftShortRange,
    [](Session& s) {
        s.editor.selection().markRangeStart(100);
        s.editor.selection().markRangeEnd(110);
    },
    s.editor.timing().shiftRange(10, false));

SINGLE_ROW(
    AppendOneCaptionAtTheEnd,
    [](Session& s) {
        s.editor.session().selectRow(s.model.GetCount() - 1);
        s.clipboard.content = "<SYNC Start=90000000><P Class=KRCC>\r\nappended\r\n";
    },
    s.editor.findClipboard().appendAtEnd());
SINGLE_ROW(ExportTwoBookmarks, atRow100, s.editor.rows().exportBookmarksToSyncs());
SINGLE_ROW(
    RegisterMoveOnAShortRange,
    [](Session& s) {
        s.editor.selection().markRangeStart(100);
        s.editor.selection().markRangeEnd(110);
        s.editor.panel().setPanelMode(PanelMode::Move);
        s.editor.panel().setStartField(-20);
    },
    s.editor.panel().registerPanel());

#define UNRECORDED(name, prepare, body)                       \
    void name(benchmark::State& state)                        \
    {                                                         \
        unrecorded(state, prepare, [](Session& s) { body; }); \
    }                                                         \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50)

UNRECORDED(ToggleReplay, atRow100, s.editor.languages().toggleReplay());
UNRECORDED(ToggleBookmark, atRow100, s.editor.languages().toggleBookmark());
UNRECORDED(CopySingle, atRow100, s.editor.findClipboard().copySingle());
UNRECORDED(
    SelectRowBeforeTimeNearTheEnd, [](Session&) {},
    s.editor.capture().selectRowBeforeTime((kRows - 5) * 1000));
UNRECORDED(
    FindNextAcrossTheWholeList,
    [](Session& s) {
        s.editor.session().selectRow(0);
        s.editor.panel().setTextSelection(0, 0);
    },
    s.editor.findClipboard().findNext("caption 49990<", true, true));
UNRECORDED(
    CopyEveryCheckedRow, [](Session& s) { s.editor.selection().checkAll(); },
    s.editor.findClipboard().copy());

#define BULK(name, prepare, body)                       \
    void name(benchmark::State& state)                  \
    {                                                   \
        bulk(state, prepare, [](Session& s) { body; }); \
    }                                                   \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)

void nothing(Session&) {}

BULK(ReplaceAllInEveryRow, nothing, s.editor.findClipboard().replaceAll("n", "N", true));
BULK(
    DeleteEveryCheckedRow, [](Session& s) { s.editor.selection().checkAll(); },
    s.editor.rows().deleteChecked());
BULK(ShiftTheWholeList, nothing, s.editor.timing().shiftRange(250, false));
BULK(FitTheWholeList, nothing, s.editor.timing().fitProportionally());
BULK(ResetEveryEndSync, nothing, s.editor.timing().resetEndSyncs(EndSyncReset{false, 400}));
BULK(
    Paste10000CaptionsInTheMiddle,
    [](Session& s) {
        std::string text;
        for (int i = 0; i < kPastedCaptions; ++i)
            text += "<SYNC Start=" + std::to_string(25000500 + i) + "><P Class=KRCC>\r\npasted " +
                    std::to_string(i) + "\r\n";
        s.clipboard.content = text;
        s.editor.session().selectRow(kRows / 2);
    },
    s.editor.findClipboard().pasteInsert());

BULK(ShiftTheWholeListToATime, nothing, s.editor.timing().shiftRangeToTime(7000));
/// Off the rows' own times, so that every row between and after the anchors moves.
void offTheRows(Session& s)
{
    s.player.bookmarks.assign({5500, kRows * 880});
}

BULK(SyncTheWholeListToTwoBookmarks, offTheRows, s.editor.timing().syncToBookmarks());
BULK(ResetEveryEndSyncByLength, nothing,
     s.editor.timing().resetEndSyncs(EndSyncReset{true, 0, false, false, 30, false}));
// Every end sync pushed past the caption after it first: 5,000 invalid end syncs.
BULK(
    RemoveEveryInvalidEndSync, [](Session& s) { s.editor.timing().shiftRange(1500, true); },
    s.editor.timing().removeInvalidEndSyncs());
BULK(
    CutEveryCheckedRow, [](Session& s) { s.editor.selection().checkAll(); },
    s.editor.findClipboard().cut());
BULK(
    Append10000CaptionsAtTheEnd,
    [](Session& s) {
        std::string text;
        for (int i = 0; i < kPastedCaptions; ++i)
            text += "<SYNC Start=" + std::to_string(60000000 + i) + "><P Class=KRCC>\r\npasted " +
                    std::to_string(i) + "\r\n";
        s.clipboard.content = text;
        s.editor.session().selectRow(kRows - 1);
    },
    s.editor.findClipboard().appendAtEnd());
// A second language of as many rows, each a tenth of a second later: every time is copied.
BULK(
    SynchronizeTwoLanguages,
    [](Session& s) {
        s.model.AddLanguageClass(".ENCC");
        s.model.classNames[1] = "ENCC";
        s.model.listCount = 2;
        SyncList& other = s.model.slotList(1);
        SyncEntry e;
        e.className = "ENCC";
        for (int i = 0; i < kRows; ++i) {
            e.startMs = i * 1000 + 100;
            e.text = "line " + std::to_string(i);
            other.insertAt(other.count(), e);
        }
    },
    s.editor.languages().synchronizeLanguages(1));

/// The first single-row command after a bulk one: its push makes the journal drop the bulk
/// step, which is far over the journal's cap, as a whole.
void SetSyncRightAfterReplaceAll(benchmark::State& state)
{
    for (auto _ : state) {
        auto s = std::make_unique<Session>();
        s->editor.findClipboard().replaceAll("n", "N", true);
        s->editor.session().selectRow(100);
        state.SetIterationTime(
            millisecondsOf([&] { s->editor.capture().setCurrentSyncTime(100100); }) / 1000.0);
    }
}
BENCHMARK(SetSyncRightAfterReplaceAll)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

/// The same after the bulk step was undone: the push discards it as the redo tail.
void SetSyncRightAfterUndoingReplaceAll(benchmark::State& state)
{
    for (auto _ : state) {
        auto s = std::make_unique<Session>();
        s->editor.findClipboard().replaceAll("n", "N", true);
        s->editor.rows().undo();
        s->editor.session().selectRow(100);
        state.SetIterationTime(
            millisecondsOf([&] { s->editor.capture().setCurrentSyncTime(100100); }) / 1000.0);
    }
}
BENCHMARK(SetSyncRightAfterUndoingReplaceAll)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace verbanta
