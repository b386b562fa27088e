// The caption checks on a 50,000-row list: the marks must follow a single-row change in at most
// 1 ms. Shown: a change of one caption's text, an insertion and a removal (the list's own edit
// included), and the full check that opening a document or choosing a language costs.
#include <benchmark/benchmark.h>

#include <string>

#include "checks/check_state.h"
#include "model/sync_list.h"

namespace verbanta {
namespace {

constexpr int kRows = 50000;

const std::string kShort = "\xbe\xc8\xb3\xe7\xc7\xcf\xbc\xbc\xbf\xe4";  // 안녕하세요
// Twenty syllables on one line: too many letters per line and per second.
const std::string kLong = kShort + kShort + kShort + kShort;

/// 25,000 captions of two seconds with an end sync each, one every three seconds, checked.
struct CheckedList {
    SyncList list;
    CheckState checks{CheckProfile(), 24};

    CheckedList()
    {
        SyncEntry caption;
        caption.text = "<font color=yellow>" + kShort + "</font>";
        SyncEntry end;
        end.isEndSync = 1;
        end.text = "&nbsp;";
        for (int i = 0; i < kRows / 2; ++i) {
            caption.startMs = i * 3000;
            end.startMs = caption.startMs + 2000;
            list.insertAt(list.count(), caption);
            list.insertAt(list.count(), end);
        }
        checks.attach(list, 0);
        checks.settle();
    }
};

void BM_CheckSingleRowChange(benchmark::State& state)
{
    CheckedList checked;
    SyncList& list = checked.list;
    CheckState& checks = checked.checks;
    int row = 0;
    bool longText = false;
    for (auto _ : state) {
        row = (row + 7919 * 2) % kRows;  // a caption row, spread over the list
        longText = !longText;
        list[row].text = longText ? kLong : kShort;
        checks.rowsChanged(row, row);
        benchmark::DoNotOptimize(checks.rulesAt(row));
    }
    state.counters["flagged"] = checks.rowsWithFindings();
}
BENCHMARK(BM_CheckSingleRowChange)->Unit(benchmark::kMicrosecond);

void BM_CheckInsertAndRemoveRow(benchmark::State& state)
{
    CheckedList checked;
    SyncList& list = checked.list;
    CheckState& checks = checked.checks;
    SyncEntry caption;
    caption.text = kLong;
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % kRows;
        caption.startMs = list[row].startMs + 1;
        list.insertAt(row + 1, caption);
        checks.rowsInserted(row + 1, 1);
        benchmark::DoNotOptimize(checks.rulesAt(row + 1));
        list.remove(list.at(row + 1));
        checks.rowsRemoved(row + 1, 1);
        benchmark::DoNotOptimize(checks.rulesAt(row));
    }
}
BENCHMARK(BM_CheckInsertAndRemoveRow)->Unit(benchmark::kMicrosecond);

void BM_CheckWholeList(benchmark::State& state)
{
    CheckedList checked;
    CheckState& checks = checked.checks;
    for (auto _ : state) {
        checks.listReplaced();
        checks.settle();
    }
    state.counters["flagged"] = checks.rowsWithFindings();
}
BENCHMARK(BM_CheckWholeList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verbanta
