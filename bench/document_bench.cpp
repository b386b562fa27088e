// Saving a 1,000,000-byte document with its backup, every flush to the disk included (at most
// 50 ms median), and a batch conversion of 1,000 files of 100 KB each (at most 5 s).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/file_operations.h"
#include "files/batch_conversion.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

/// A folder of its own under the temporary folder, removed at the end.
struct BenchFolder {
    std::string root;
    BenchFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "verbanta_bench_XXXXXX").string();
        root = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

void write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

void SaveMegabyteWithBackup(benchmark::State& state)
{
    BenchFolder folder;
    AppSettings settings;
    settings.MakeBackup = true;
    SilentMessenger messenger;
    Document doc(settings, messenger, systemFileOperations());
    SyncEntry entry;
    doc.model().InitEntry(entry);
    for (int i = 0; writeSami(doc.model(), -1).size() < 1000000 - 200; ++i) {
        for (int j = 0; j < 500; ++j) {
            entry.startMs = (i * 500 + j) * 1000;
            entry.text = "\xbe\xc8\xb3\xe7\xc7\xcf\xbc\xbc\xbf\xe4 caption " + std::to_string(j);
            doc.model().AddTail(entry, false);
        }
    }
    const std::string path = folder.root + "/movie.smi";
    doc.saveDocument(path);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    for (auto _ : state) {
        doc.setModifiedFlag(true);
        if (!doc.saveDocument(path))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(SaveMegabyteWithBackup)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void ConvertThousandFiles(benchmark::State& state)
{
    BenchFolder folder;
    std::string file =
        "<SAMI>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { margin-left:8pt; margin-right:8pt; margin-bottom:2pt;\r\n"
        "    margin-top:2pt; font-size:14pt; text-align:center;\r\n"
        "    font-family:Arial; font-weight:normal; color:white;\r\n"
        "    background-color:black; }\r\n"
        ".KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
        "<BODY>\r\n";
    for (int i = 0; file.size() < 100 * 1024 - 20; ++i)
        file += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=KRCC>\r\ncaption\r\n";
    file += "</BODY>\r\n</SAMI>";
    std::vector<std::string> paths;
    for (int i = 0; i < 1000; ++i) {
        paths.push_back(folder.root + "/f" + std::to_string(i) + ".smi");
        write(paths.back(), file);
    }
    AppSettings settings;
    SilentMessenger messenger;
    for (auto _ : state) {
        const BatchResult result =
            runBatchConversion(paths, settings, systemFileOperations(), messenger, nullptr);
        if (result.failed != 0)
            state.SkipWithError("a conversion failed");
    }
}
BENCHMARK(ConvertThousandFiles)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace verbanta
