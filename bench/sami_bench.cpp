// Loading and saving a SAMI file of 1,000,000 bytes (two languages): each must take at most
// 10 ms (median of the repetitions); saving includes flushing the file and its folder to the
// disk. Loading is linear in the file's size: a 60 MB file loads in at most ten times the
// time of a 6 MB one (ratio_60_to_6, in processor time, each load in a fresh process).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
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
    model.listCount = 2;
    model.classNames[1] = "ENCC";
    SyncEntry e;
    model.InitEntry(e);
    const std::string footer = "</BODY>\r\n</SAMI>";
    std::size_t size = writeSami(model, -1).size();
    for (int i = 0; size + 400 < bytes; ++i) {
        for (int slot = 0; slot < 2; ++slot) {
            e.className = slot == 0 ? "KRCC" : "ENCC";
            e.isComment = (i % 50 == 49) ? 1 : 0;
            e.isEndSync = 0;
            e.startMs = i * 3000;
            e.text = slot == 1 ? "Caption number " + std::to_string(i) + " of the English block"
                               : std::string(kKorean) + " " + std::to_string(i) + " " + kKoreanLine;
            std::string unit;
            appendSamiEntry(unit, e);
            size += unit.size();
            model.insertAfterInSlot(slot, model.slotList(slot).tail(), e, false);
            if (e.isComment)
                continue;
            e.isEndSync = 1;
            e.text = "&nbsp;";
            e.startMs += 2500;
            unit.clear();
            appendSamiEntry(unit, e);
            size += unit.size();
            model.insertAfterInSlot(slot, model.slotList(slot).tail(), e, false);
        }
    }
    std::string text = writeSami(model, -1);
    // Pad the first caption to reach the size exactly.
    const std::size_t at = text.find(kKorean);
    text.insert(at, std::string(bytes - text.size(), 'x'));
    return text;
}

struct BigFile {
    std::string text;
    std::string path;
    explicit BigFile(std::size_t bytes, bool keepText = true)
        : text(generateFile(bytes)),
          path((std::filesystem::temp_directory_path() /
                ("verbanta_sami_bench_" + std::to_string(::getpid()) + "_" + std::to_string(bytes) +
                 ".smi"))
                   .string())
    {
        std::ofstream(path, std::ios::binary) << text;
        if (!keepText)
            std::string().swap(text);
    }
    ~BigFile() { std::remove(path.c_str()); }
};

BigFile& bigFile()
{
    static BigFile file(1000000);
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
        benchmark::DoNotOptimize(writeSami(model, -1));
}
BENCHMARK(WriteMegabyteToMemory)->Unit(benchmark::kMillisecond)->Repetitions(15)
    ->ReportAggregatesOnly(true);

/// The thread's own processor time in milliseconds, which other programs on a busy machine
/// do not inflate.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

/// The processor time in milliseconds of one load of the file into a new document, in a child
/// process whose heap starts empty, as a freshly started editor's does; -1 when it failed.
/// Timing each size in the same fresh state keeps the comparison fair: repeated loads in one
/// process would find the small file's memory already mapped by the allocator, but never the
/// large one's, which the allocator hands back to the system each time.
double freshLoadMs(const BigFile& file)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::malloc_trim(0);
        AppSettings settings;
        SamiModel model(settings);
        const double start = threadCpuMs();
        double ms = model.LoadFile(file.path, true) ? threadCpuMs() - start : -1;
        const bool sent = ::write(channel[1], &ms, sizeof ms) == static_cast<ssize_t>(sizeof ms);
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    double ms = -1;
    if (child < 0 || ::read(channel[0], &ms, sizeof ms) != static_cast<ssize_t>(sizeof ms))
        ms = -1;
    ::close(channel[0]);
    int status = 0;
    if (child > 0)
        ::waitpid(child, &status, 0);
    return ms;
}

/// The shortest of a few fresh loads of the file.
double fastestLoadMs(const BigFile& file, int times)
{
    double best = 1e300;
    for (int i = 0; i < times; ++i) {
        const double ms = freshLoadMs(file);
        if (ms < 0)
            return -1;
        best = std::min(best, ms);
    }
    return best;
}

void LoadSixtyVersusSixMegabytes(benchmark::State& state)
{
    // Only the files stay: their texts would crowd the memory the loads use.
    const BigFile six(6000000, false);
    const BigFile sixty(60000000, false);
    double small = 0, large = 0;
    for (auto _ : state) {
        small = fastestLoadMs(six, 11);
        large = fastestLoadMs(sixty, 5);
        if (small < 0 || large < 0)
            state.SkipWithError("load failed");
    }
    state.counters["ms_6mb"] = small;
    state.counters["ms_60mb"] = large;
    state.counters["ratio_60_to_6"] = large / small;
}
BENCHMARK(LoadSixtyVersusSixMegabytes)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace verbanta
