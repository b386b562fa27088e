// Importing a 1,000,000-byte SubRip file must take at most 20 ms; the same file in UTF-8 (most
// SubRip files today, converted to CP949 first) and a plain-text import are shown beside it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "formats/foreign_import.h"
#include "formats/reader_table.h"
#include "formats/text_import.h"
#include "model/codepage.h"
#include "model/sami_model.h"
#include "platform/messenger.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr std::size_t kFileBytes = 1000000;

std::string TwoDigits(int n)
{
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

std::string SubRipTime(int ms)
{
    const int h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, f = ms % 1000;
    return TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s) + "," +
           std::to_string(1000 + f).substr(1);
}

// A CP949 SubRip file of just under 1,000,000 bytes: two-line Korean cues with italics.
std::string SubRipText()
{
    std::string text;
    int ms = 1000;
    for (int i = 1; text.size() < kFileBytes - 200; ++i) {
        text += std::to_string(i) + "\r\n" + SubRipTime(ms) + " --> " + SubRipTime(ms + 1200) +
                "\r\n";
        // "안녕하세요" and "반갑습니다" in CP949.
        text += "<i>\xbe\xc8\xb3\xe7\xc7\xcf\xbc\xbc\xbf\xe4</i> cue " + std::to_string(i) +
                "\r\n\xb9\xdd\xb0\xa9\xbd\xc0\xb4\xcf\xb4\xd9 second line\r\n\r\n";
        ms += 1500;
    }
    return text;
}

void Import(benchmark::State& state, const std::string& bytes)
{
    AppSettings settings;
    SilentMessenger silent;
    SamiModel model(settings);
    model.setMessenger(silent);
    const std::vector<int> subRip{findReaderSlot("srt")};
    for (auto _ : state) {
        if (!importForeignBytes(model, bytes, subRip, 25.0))
            state.SkipWithError("the SubRip file was not read");
        benchmark::DoNotOptimize(model.GetCount());
    }
    state.counters["captions"] = model.GetCount();
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void ImportCp949SubRip(benchmark::State& state)
{
    Import(state, SubRipText());
}
BENCHMARK(ImportCp949SubRip)->Unit(benchmark::kMillisecond)->Repetitions(9)
    ->ReportAggregatesOnly(true);

void ImportUtf8SubRip(benchmark::State& state)
{
    Import(state, "\xef\xbb\xbf" + cp949ToUtf8(SubRipText()));
}
BENCHMARK(ImportUtf8SubRip)->Unit(benchmark::kMillisecond)->Repetitions(9)
    ->ReportAggregatesOnly(true);

void ImportPlainText(benchmark::State& state)
{
    AppSettings settings;
    SamiModel model(settings);
    const std::string text = SubRipText();
    for (auto _ : state) {
        importTextBytes(model, text, false);
        benchmark::DoNotOptimize(model.GetCount());
    }
    state.counters["captions"] = model.GetCount();
}
BENCHMARK(ImportPlainText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verbanta
