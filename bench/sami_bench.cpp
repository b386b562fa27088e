// Loading and saving a SAMI file of the largest size the editor accepts (1,000,000 bytes, two
// languages): each must take at most 10 ms (median of the repetitions).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/sami_model.h"
#include "sami/sami_file.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

// "자막 번호" and a longer Korean line, in CP949.
constexpr const char* kKorean = "\xc0\xda\xb8\xb7 \xb9\xf8\xc8\xa3";  // 자막 번호
constexpr const char* kKoreanLine =
    "\xb5\xbf\xbf\xb5\xbb\xf3\xc0\xbb \xc0\xe7\xbb\xfd\xc7\xcf\xb8\xe9\xbc\xad<br>\r\n"
    "F8 \xc5\xb0\xb7\xce \xbd\xcc\xc5\xa9\xb8\xa6 \xb8\xc2\xc3\xe1\xb4\xcf\xb4\xd9.";
    // 동영상을 재생하면서<br>\r\nF8 키로 싱크를 맞춥니다.

/// A two-language file of exactly `bytes` bytes: a Korean and an English block with captions,
/// end syncs and the odd comment, padded in the last caption.
std::string generateFile(std::size_t bytes)
{
    AppSettings settings;
    SamiModel model(settings);
    LanguageInfo& en = model.languages[static_cast<std::size_t>(model.AddLanguageClass(".ENCC"))];
    en.setLang("en-US");
    model.languageCount = 2;
    model.classNames[1] = "ENCC";
    SyncEntry e;
    model.InitEntry(e);
    const std::string footer = "</BODY>\r\n</SAMI>";
    std::size_t size = WriteSami(model, -1).size();
    for (int i = 0; size + 400 < bytes; ++i) {
        for (int slot = 0; slot < 2; ++slot) {
            e.className = slot == 0 ? "KRCC" : "ENCC";
            e.isComment = (i % 50 == 49) ? 1 : 0;
            e.isEndSync = 0;
            e.startMs = i * 3000;
            e.text = slot == 1 ? "Caption number " + std::to_string(i) + " of the English block"
                               : std::string(kKorean) + " " + std::to_string(i) + " " + kKoreanLine;
            std::string unit;
            AppendSamiEntry(unit, e);
            size += unit.size();
            model.InsertAfterInSlot(slot, model.slotList(slot).tail(), e, false);
            if (e.isComment)
                continue;
            e.isEndSync = 1;
            e.text = "&nbsp;";
            e.startMs += 2500;
            unit.clear();
            AppendSamiEntry(unit, e);
            size += unit.size();
            model.InsertAfterInSlot(slot, model.slotList(slot).tail(), e, false);
        }
    }
    std::string text = WriteSami(model, -1);
    // Pad the first caption to reach the size exactly.
    const std::size_t at = text.find(kKorean);
    text.insert(at, std::string(bytes - text.size(), 'x'));
    return text;
}

struct BigFile {
    std::string text = generateFile(kMaxSamiFileBytes);
    std::string path = (std::filesystem::temp_directory_path() /
                        ("verbanta_sami_bench_" + std::to_string(::getpid()) + ".smi"))
                           .string();
    BigFile() { std::ofstream(path, std::ios::binary) << text; }
    ~BigFile() { std::remove(path.c_str()); }
};

BigFile& bigFile()
{
    static BigFile file;
    return file;
}

void LoadMegabyteFile(benchmark::State& state)
{
    AppSettings settings;
    SamiModel model(settings);
    for (auto _ : state) {
        if (!model.LoadFile(bigFile().path, true))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.GetCount());
    }
    state.counters["entries"] = model.slotList(0).count() + model.slotList(1).count();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bigFile().text.size()));
}
BENCHMARK(LoadMegabyteFile)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);

void SaveMegabyteFile(benchmark::State& state)
{
    AppSettings settings;
    SamiModel model(settings);
    model.LoadText(bigFile().text);
    const std::string out = bigFile().path + ".out";
    for (auto _ : state) {
        if (!model.SaveFile(out, -1))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bigFile().text.size()));
    std::remove(out.c_str());
}
BENCHMARK(SaveMegabyteFile)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);

void WriteMegabyteToMemory(benchmark::State& state)
{
    AppSettings settings;
    SamiModel model(settings);
    model.LoadText(bigFile().text);
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteSami(model, -1));
}
BENCHMARK(WriteMegabyteToMemory)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace verbanta
