#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/ass_writer.h"
#include "formats/cue_builder.h"
#include "formats/export_format.h"
#include "formats/export_sample.h"
#include "formats/ffmpeg_cues.h"
#include "model/sami_model.h"
#include "settings/app_settings.h"
#include "support/temp_folder.h"

// ffmpeg, an independent reader of all three formats, must see the cues we meant to write.

namespace verbanta {
namespace {

namespace fs = std::filesystem;

class ExportFfmpegTest : public ::testing::TestWithParam<ExportFormat> {
protected:
    AppSettings settings;
    SamiModel model{settings};
    // A folder of its own: runs of other users or builds at the same time must not meet it.
    test::TempFolder folder;
    fs::path dir{folder.root()};

    void SetUp() override
    {
        if (!test::FfmpegInstalled())
            GTEST_SKIP() << "ffmpeg is not installed (or this is the Windows build)";
        test::FillExportSample(model);
    }

    void expectSameCues(int language)
    {
        static constexpr const char* kExtensions[] = {".srt", ".vtt", ".ass"};
        const fs::path file = dir / ("language" + std::to_string(language) +
                                     kExtensions[static_cast<int>(GetParam())]);
        std::ofstream(file, std::ios::binary) << exportSubtitles(model, language, GetParam());
        const std::vector<Cue> expected = buildCues(model, language);
        const std::vector<test::FfmpegCue> seen = test::ReadFileWithFfmpeg(file);
        ASSERT_EQ(seen.size(), expected.size());
        // ASS keeps hundredths of a second.
        auto asWritten = [format = GetParam()](std::int32_t ms) {
            return format == ExportFormat::Ass ? (ms + 5LL) / 10 * 10 : ms;
        };
        for (std::size_t i = 0; i < seen.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(seen[i].startMs, asWritten(expected[i].startMs));
            EXPECT_EQ(seen[i].endMs, asWritten(expected[i].endMs));
            EXPECT_EQ(seen[i].text, test::NormaliseCueText(cuePlainText(expected[i].text)));
        }
    }
};

TEST_P(ExportFfmpegTest, ReadsTheSameCuesForEveryLanguage)
{
    expectSameCues(0);
    expectSameCues(1);
}

TEST_P(ExportFfmpegTest, SeesTheCueRulesInEveryFormat)
{
    // Written out by hand from the sample: a caption ends at its end sync, captions sharing a
    // start time are one cue, the comment gives none, and the last caption lasts its three
    // letters times 200 ms. "<tag>" is markup to ffmpeg in SubRip and stripped in all three.
    const std::vector<test::FfmpegCue> korean = {
        {1000, 3000, "안녕하세요 반갑습니다"},
        {4000, 6500, "노란 글씨 & 기호 같은 시각"},
        {6500, 7100, "마지막"},
    };
    const std::vector<test::FfmpegCue> english = {
        {1000, 2500, "Hello"},
        {4000, 5000, "A and orange"},
    };
    static constexpr const char* kExtensions[] = {".srt", ".vtt", ".ass"};
    for (int language : {0, 1}) {
        const fs::path file =
            dir / ("rules" + std::to_string(language) + kExtensions[static_cast<int>(GetParam())]);
        std::ofstream(file, std::ios::binary) << exportSubtitles(model, language, GetParam());
        std::vector<test::FfmpegCue> seen = test::ReadFileWithFfmpeg(file);
        for (test::FfmpegCue& cue : seen) cue.text = test::NormaliseCueText(cue.text);
        EXPECT_EQ(seen, language == 0 ? korean : english) << file;
    }
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
