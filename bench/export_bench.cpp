// Exporting one language of a 1,000,000-byte SAMI file: SubRip must take at most 20 ms;
// WebVTT and ASS are shown beside it, and the cue building alone.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/cue_builder.h"
#include "formats/export_format.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"

namespace verbanta {
namespace {

constexpr std::size_t kFileBytes = 1000000;

// A SAMI file of just under 1,000,000 bytes: Korean captions with markup and entities,
// an end sync after every other caption, a comment now and then.
std::string SamiText()
{
    std::string head =
        "<SAMI>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { margin-left:8pt; margin-right:8pt; font-size:14pt; color:white; }\r\n"
        ".KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
        "<BODY>\r\n";
    const std::string foot = "</BODY>\r\n</SAMI>";
    std::string body;
    int ms = 1000;
    for (int i = 0; head.size() + body.size() + foot.size() < kFileBytes - 200; ++i) {
        body += "<SYNC Start=" + std::to_string(ms) + "><P Class=KRCC>\r\n";
        // "안녕하세요" and "반갑습니다" in CP949.
        if (i % 3 == 0)
            body += "<i>\xbe\xc8\xb3\xe7\xc7\xcf\xbc\xbc\xbf\xe4</i> caption " + std::to_string(i) +
                    "<br>\r\n\xb9\xdd\xb0\xa9\xbd\xc0\xb4\xcf\xb4\xd9\r\n";
        else if (i % 3 == 1)
            body += "<font color=\"#FFFF00\">line</font> &amp; more &lt;text&gt;\r\n";
        else
            body += "\xbe\xc8\xb3\xe7 plain caption text for the benchmark\r\n";
        ms += 1500;
        if (i % 2 == 0) {
            body += "<SYNC Start=" + std::to_string(ms) + "><P Class=KRCC>&nbsp;\r\n";
            ms += 500;
        }
        if (i % 50 == 0)
            body += "<!--\r\nnote " + std::to_string(i) + "\r\n-->\r\n";
    }
    return head + body + foot;
}

struct LargeDocument {
    AppSettings settings;
    SamiModel model{settings};
    std::size_t bytes = 0;

    LargeDocument()
    {
        const std::string text = SamiText();
        bytes = text.size();
        model.LoadText(text);
    }
};

void Export(benchmark::State& state, ExportFormat format)
{
    LargeDocument doc;
    std::size_t out = 0;
    for (auto _ : state) {
        const std::string file = exportSubtitles(doc.model, 0, format);
        out = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["sami_bytes"] = static_cast<double>(doc.bytes);
    state.counters["captions"] = doc.model.GetCount();
    state.counters["output_bytes"] = static_cast<double>(out);
}
BENCHMARK_CAPTURE(Export, SubRip, ExportFormat::SubRip)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, WebVtt, ExportFormat::WebVtt)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, Ass, ExportFormat::Ass)->Unit(benchmark::kMillisecond);

void BuildCuesOnly(benchmark::State& state)
{
    LargeDocument doc;
    for (auto _ : state) benchmark::DoNotOptimize(buildCues(doc.model, 0));
}
BENCHMARK(BuildCuesOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verbanta
