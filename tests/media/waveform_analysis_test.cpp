// The waveform of generated media: bursts where the player plays them, the tracks the player
// lists, and every kind of file that has no waveform or only part of one.
#include "waveform_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <thread>

#include "generated_media.h"

namespace verbanta::media {
namespace {

using test::Media;

struct Analysed {
    WaveformState state;
    std::vector<Peak> peaks;  ///< at the base resolution
};

Analysed analyse(const std::string& path, int stream = -1)
{
    WaveformAnalysis analysis(path, stream, nullptr);
    analysis.wait();
    return {analysis.state(), analysis.peaks(PeakPyramid::kBaseMs)};
}

TEST(WaveformAnalysis, FindsEachBurstWhereThePlayerPlaysIt)
{
    VERBANTA_NEED_MEDIA();
    // The audio starts 500 ms after the video; Matroska and MPEG-TS start later still and are
    // moved to 0 as the player moves them, while MP4 timestamps are shown as they are.
    const std::vector<std::pair<std::string, double>> files{{Media().tonesMp4(), 0.0},
                                                            {Media().tonesMkv(), 0.0},
                                                            {Media().tonesTs(), 0.0},
                                                            {Media().tonesMp4At5s(), 5000.0}};
    for (const auto& [path, shift] : files) {
        const Analysed a = analyse(path);
        ASSERT_EQ(a.state.status, WaveformStatus::Complete) << path << ": " << a.state.detail;
        EXPECT_EQ(a.state.stream, 1) << path;
        EXPECT_EQ(a.state.sampleRate, 48000) << path;
        EXPECT_EQ(a.state.channels, 2) << path;
        // The encoder's priming frame comes just before the first sample made.
        EXPECT_NEAR(a.state.startMs, 500.0 + shift - 21.3, 1.0) << path;
        EXPECT_NEAR(a.state.endMs, 8000.0 + shift, 30.0) << path;
        std::vector<double> made;
        for (double ms : test::kToneOnsetsMs) made.push_back(ms + shift);
        test::ExpectOnsetsNear(test::Onsets(a.peaks, PeakPyramid::kBaseMs), made, path);
        // Nothing before the audio starts.
        EXPECT_TRUE(a.peaks.front().empty()) << path;
    }
}

TEST(WaveformAnalysis, ListsTheAudioTracksAndAnalysesTheOneAsked)
{
    VERBANTA_NEED_MEDIA();
    const MediaProbe probe = probeMedia(Media().twoTracks());
    ASSERT_EQ(probe.failure, OpenFailure::None) << probe.detail;
    ASSERT_EQ(probe.streams.size(), 2u);
    EXPECT_EQ(probe.streams[0].index, 1);
    EXPECT_EQ(probe.streams[0].audioNumber, 1);
    EXPECT_EQ(probe.streams[0].language, "kor");
    EXPECT_EQ(probe.streams[0].codec, "flac");
    EXPECT_EQ(probe.streams[1].index, 2);
    EXPECT_EQ(probe.streams[1].audioNumber, 2);
    EXPECT_EQ(probe.streams[1].language, "eng");
    EXPECT_EQ(probe.defaultStream, 1);

    const Analysed second = analyse(Media().twoTracks(), 2);
    EXPECT_EQ(second.state.stream, 2);
    test::ExpectOnsetsNear(test::Onsets(second.peaks, PeakPyramid::kBaseMs), {2000.0}, "stream 2");
    const Analysed byDefault = analyse(Media().twoTracks());
    EXPECT_EQ(byDefault.state.stream, 1);
    test::ExpectOnsetsNear(test::Onsets(byDefault.peaks, PeakPyramid::kBaseMs), {1000.0},
                           "default");
}

TEST(WaveformAnalysis, SaysWhyThereIsNoWaveform)
{
    VERBANTA_NEED_MEDIA();
    struct Case {
        std::string path;
        int stream;
        WaveformStatus status;
        OpenFailure failure;
    };
    const std::vector<Case> cases{
        {Media().videoOnly(), -1, WaveformStatus::NoAudio, OpenFailure::NoAudio},
        {Media().notMedia(), -1, WaveformStatus::Unreadable, OpenFailure::Unreadable},
        {Media().folder().path("missing.mp4"), -1, WaveformStatus::Unreadable,
         OpenFailure::Unreadable},
        {Media().twoTracks(), 0, WaveformStatus::Unreadable, OpenFailure::NotAudio},
        {Media().twoTracks(), 9, WaveformStatus::Unreadable, OpenFailure::NotAudio},
    };
    for (const Case& c : cases) {
        const Analysed a = analyse(c.path, c.stream);
        EXPECT_EQ(a.state.status, c.status) << c.path << " stream " << c.stream;
        EXPECT_EQ(a.state.failure, c.failure) << c.path << " stream " << c.stream;
        EXPECT_FALSE(a.state.hasSound);
        EXPECT_TRUE(a.peaks.empty());
    }
    EXPECT_EQ(probeMedia(Media().videoOnly()).failure, OpenFailure::NoAudio);
}

TEST(WaveformAnalysis, KeepsWhatWasDecodedOfAFileCutShort)
{
    VERBANTA_NEED_MEDIA();
    const std::string cut = Media().folder().path("cut.mkv");
    const std::string whole = test::TempFolder::read(Media().longSound());
    test::TempFolder::write(cut, std::string_view(whole).substr(0, whole.size() / 2));
    const Analysed a = analyse(cut);
    ASSERT_EQ(a.state.status, WaveformStatus::CutShort) << a.state.detail;
    EXPECT_FALSE(a.state.detail.empty());
    EXPECT_NEAR(a.state.expectedEndMs, 30000.0, 100.0);
    EXPECT_GT(a.state.endMs, 10000.0);
    EXPECT_LT(a.state.endMs, 20000.0);
    // Sound everywhere up to where it stopped.
    ASSERT_EQ(a.peaks.size(), std::size_t(std::ceil(a.state.endMs / PeakPyramid::kBaseMs)));
    EXPECT_EQ(std::count_if(a.peaks.begin(), a.peaks.end(), [](Peak p) { return p.empty(); }), 0);
}

TEST(WaveformAnalysis, PublishesPeaksWhileRunningAndStopsWhenCancelled)
{
    VERBANTA_NEED_MEDIA();
    WaveformState partial;
    std::unique_ptr<WaveformAnalysis> analysis;
    std::atomic<bool> constructed{false};
    analysis = std::make_unique<WaveformAnalysis>(Media().longSound(), -1, nullptr, [&] {
        while (!constructed) std::this_thread::yield();
        const WaveformState s = analysis->state();
        if (s.status == WaveformStatus::Running && s.hasSound && partial.endMs == 0) {
            partial = s;
            std::vector<Peak> drawn(100);
            analysis->columns(0.0, s.endMs / 100, drawn);
            EXPECT_FALSE(drawn.front().empty());
            analysis->cancel();
        }
    });
    constructed = true;
    analysis->wait();
    EXPECT_GT(partial.endMs, 0.0);
    EXPECT_EQ(analysis->state().status, WaveformStatus::Cancelled);
    EXPECT_LT(analysis->state().endMs, 30000.0);

    // Cancelled before it began, it ends without decoding.
    WaveformAnalysis early(Media().longSound(), -1, nullptr);
    early.cancel();
    early.wait();
    EXPECT_EQ(early.state().status, WaveformStatus::Cancelled);
}

}  // namespace
}  // namespace verbanta::media
