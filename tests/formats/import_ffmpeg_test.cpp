// ffmpeg reads SubRip, SSA and ASS, SubViewer and MicroDVD on its own; our imports of the same
// files must agree with it on every caption's start, end and words.

#include <gtest/gtest.h>

#include <set>

#include "ffmpeg_cues.h"
#include "formats/foreign_import.h"
#include "import_test_support.h"
#include "support/cp949.h"
#include "support/temp_folder.h"

namespace verbanta::test {
namespace {

// Our import as cues: each caption with the end sync after it.
std::vector<FfmpegCue> cuesOf(const SamiModel& model)
{
    std::vector<FfmpegCue> cues;
    const auto entries = entriesOf(model);
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        EXPECT_TRUE(entries[i + 1].isEndSync);
        cues.push_back(
            {entries[i].startMs, entries[i + 1].startMs, NormaliseCueText(utf8(entries[i].text))});
    }
    return cues;
}

class ImportAgreesWithFfmpeg : public ::testing::Test, protected ImportFixture {
protected:
    void SetUp() override
    {
        if (!FfmpegInstalled())
            GTEST_SKIP() << "ffmpeg is not installed (or this is the Windows build)";
    }

    void compare(const std::string& name, int filterEntry, const std::string& ffmpegInput,
                 const std::set<std::size_t>& skipEnds = {})
    {
        ASSERT_TRUE(importForeignFile(model, dataPath(name), filterEntry, 25.0));
        EXPECT_TRUE(messenger.shown.empty()) << name;
        const std::vector<FfmpegCue> ours = cuesOf(model);
        std::vector<FfmpegCue> theirs =
            ReadWithFfmpeg(ffmpegInput + " -i '" + dataPath(name) + "'");
        ASSERT_EQ(ours.size(), theirs.size()) << name;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            if (skipEnds.count(i))
                theirs[i].endMs = ours[i].endMs;
            EXPECT_EQ(ours[i], theirs[i]) << name << " caption " << i;
        }
    }

    TempFolder folder;
};

TEST_F(ImportAgreesWithFfmpeg, OnTheKoreanSubRipFile)
{
    compare("italics_korean.srt", 2, "");
}

TEST_F(ImportAgreesWithFfmpeg, OnTheAssFile)
{
    compare("overrides.ass", 5, "");
}

TEST_F(ImportAgreesWithFfmpeg, OnTheVersionFourSsaFile)
{
    compare("classic.ssa", 5, "");
}

TEST_F(ImportAgreesWithFfmpeg, OnTheSubViewerFile)
{
    compare("subviewer.sub", 4, "-f subviewer");
}

TEST_F(ImportAgreesWithFfmpeg, OnTheMicroDvdFile)
{
    // An empty end frame lasts 60 frames here; ffmpeg runs it to the next caption instead.
    compare("styled.sub", 3, "-f microdvd -subfps 25", {2});
}

TEST_F(ImportAgreesWithFfmpeg, OnAUtf16SubRipFile)
{
    const std::string utf8Text = readData("italics_korean.srt");
    const std::string path = folder.path("utf16.srt");
    TempFolder::write(path, "\xFF\xFE" + iconvConvert(utf8Text, "UTF-16LE", "UTF-8"));
    ASSERT_TRUE(importForeignFile(model, path, 1, 25.0));
    const std::vector<FfmpegCue> ours = cuesOf(model);
    EXPECT_EQ(ours, ReadFileWithFfmpeg(path));
    EXPECT_EQ(ours.size(), 5u);
}

TEST_F(ImportAgreesWithFfmpeg, OnSubRipEntriesAsOtherToolsWriteThem)
{
    // Missing and wrong counters, blank lines inside a caption, lines ending in CR alone.
    compare("subrip_loose_entries.srt", 2, "");
    compare("subrip_cr_only.srt", 2, "");
}

TEST_F(ImportAgreesWithFfmpeg, OnAMicroDvdFileThatGivesItsFrameRate)
{
    compare("microdvd_frame_rate.sub", 3, "-f microdvd");
    EXPECT_EQ(model.GetFirst().startMs, 1001);  // frame 24 at 23.976, not at the rate chosen
}

TEST_F(ImportAgreesWithFfmpeg, OnASubViewerOneFile)
{
    compare("subviewer_v1.sub", 4, "-f subviewer1");
}

TEST_F(ImportAgreesWithFfmpeg, OnVPlayerVariants)
{
    // VPlayer captions have no end: each lasts until the next, as ffmpeg shows them.
    ASSERT_TRUE(importForeignFile(model, dataPath("vplayer_variants.txt"), 6, 25.0));
    std::vector<FfmpegCue> ours;
    for (const ImportedEntry& e : entriesOf(model))
        ours.push_back({e.startMs, 0, NormaliseCueText(utf8(e.text))});
    std::vector<FfmpegCue> theirs =
        ReadWithFfmpeg("-f vplayer -i '" + dataPath("vplayer_variants.txt") + "'");
    for (FfmpegCue& cue : theirs) cue.endMs = 0;
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(ours.size(), 3u);
}

}  // namespace
}  // namespace verbanta::test
