#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/ass_writer.h"
#include "formats/cue_builder.h"
#include "formats/export_format.h"
#include "formats/export_sample.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"

// ffmpeg, an independent reader of all three formats, must see the cues we meant to write.

namespace verbanta {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFfmpeg = "/usr/bin/ffmpeg";

struct SeenCue {
    long long startMs;
    long long endMs;
    std::string text;
};

// Tags, override blocks and white space differ between formats by design; the words may not.
std::string Normalise(const std::string& text)
{
    std::string stripped;
    char closer = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (closer) {
            if (c == closer)
                closer = 0;
        } else if (c == '<' || c == '{') {
            closer = c == '<' ? '>' : '}';
        } else if (c == '\\' && i + 1 < text.size() && (text[i + 1] == 'N' || text[i + 1] == 'n')) {
            stripped += ' ';
            ++i;
        } else {
            stripped += c;
        }
    }
    std::string out;
    bool space = false;
    for (char c : stripped) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

long long ParseSrtTime(const std::string& s)
{
    int h = 0, m = 0, sec = 0, ms = 0;
    std::sscanf(s.c_str(), "%d:%d:%d,%d", &h, &m, &sec, &ms);
    return ((h * 60LL + m) * 60 + sec) * 1000 + ms;
}

// What ffmpeg reads from the file, written out by it as SubRip.
std::vector<SeenCue> ReadWithFfmpeg(const fs::path& file)
{
    const std::string command =
        std::string(kFfmpeg) + " -nostdin -v error -i '" + file.string() + "' -f srt - 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    if (pipe)
        pclose(pipe);

    std::vector<SeenCue> cues;
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin <= output.size()) {
        std::size_t end = output.find('\n', begin);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        begin = end + 1;
    }
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::size_t arrow = lines[i + 1].find(" --> ");
        if (arrow == std::string::npos || lines[i].empty())
            continue;
        SeenCue cue{ParseSrtTime(lines[i + 1].substr(0, arrow)),
                    ParseSrtTime(lines[i + 1].substr(arrow + 5)),
                    {}};
        for (i += 2; i < lines.size() && !lines[i].empty(); ++i) cue.text += lines[i] + "\n";
        cue.text = Normalise(cue.text);
        cues.push_back(cue);
    }
    if (cues.empty())
        ADD_FAILURE() << "ffmpeg read no cues: " << output;
    return cues;
}

class ExportFfmpegTest : public ::testing::TestWithParam<ExportFormat> {
protected:
    AppSettings settings;
    SamiModel model{settings};
    fs::path dir;

    void SetUp() override
    {
        if (!fs::exists(kFfmpeg))
            GTEST_SKIP() << "ffmpeg is not installed";
        test::FillExportSample(model);
        dir = fs::temp_directory_path() /
              ("verbanta-ffmpeg-" + std::to_string(static_cast<int>(GetParam())));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        if (!dir.empty())
            fs::remove_all(dir);
    }

    void expectSameCues(int language)
    {
        static constexpr const char* kExtensions[] = {".srt", ".vtt", ".ass"};
        const fs::path file = dir / ("language" + std::to_string(language) +
                                     kExtensions[static_cast<int>(GetParam())]);
        std::ofstream(file, std::ios::binary) << ExportSubtitles(model, language, GetParam());
        const std::vector<Cue> expected = BuildCues(model, language);
        const std::vector<SeenCue> seen = ReadWithFfmpeg(file);
        ASSERT_EQ(seen.size(), expected.size());
        // ASS keeps hundredths of a second.
        auto asWritten = [this](std::int32_t ms) {
            return GetParam() == ExportFormat::Ass ? (ms + 5LL) / 10 * 10 : ms;
        };
        for (std::size_t i = 0; i < seen.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(seen[i].startMs, asWritten(expected[i].startMs));
            EXPECT_EQ(seen[i].endMs, asWritten(expected[i].endMs));
            EXPECT_EQ(seen[i].text, Normalise(CuePlainText(expected[i].text)));
        }
    }
};

TEST_P(ExportFfmpegTest, ReadsTheSameCuesForEveryLanguage)
{
    expectSameCues(0);
    expectSameCues(1);
}

TEST_P(ExportFfmpegTest, ReadsTimesPastAnHourAndOddMilliseconds)
{
    model.Reset(true);
    for (int ms : {1, 59999, 3600005, 3723456}) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = ms;
        e.text = "t" + std::to_string(ms);
        model.AddTail(e, false);
    }
    expectSameCues(0);
}

std::string FormatName(const ::testing::TestParamInfo<ExportFormat>& info)
{
    static constexpr const char* kNames[] = {"SubRip", "WebVtt", "Ass"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportFfmpegTest,
                         ::testing::Values(ExportFormat::SubRip, ExportFormat::WebVtt,
                                           ExportFormat::Ass),
                         FormatName);

}  // namespace
}  // namespace verbanta
