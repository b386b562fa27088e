// verbanta-cli waveform, run as a user runs it: one JSON object of peaks on the player's
// timeline, the cache shared with the editor, and plain reasons when there is no waveform.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "generated_media.h"

#ifdef VERBANTA_CLI_PATH

namespace verbanta::media {
namespace {

using test::Media;
using test::TempFolder;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class WaveformCli : public ::testing::Test {
protected:
    void SetUp() override { VERBANTA_NEED_MEDIA(); }
    Outcome run(const std::string& args) const
    {
        const std::string command = "XDG_CACHE_HOME='" + folder.path("cache") + "' '" +
                                    VERBANTA_CLI_PATH + "' waveform " + args + " >'" +
                                    folder.path("out") + "' 2>'" + folder.path("err") + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TempFolder::read(folder.path("out")),
                TempFolder::read(folder.path("err"))};
    }

    TempFolder folder;
};

TEST_F(WaveformCli, PrintsPeaksOnThePlayersTimelineAsOneJsonObject)
{
    // Any resolution of 1 ms or more, also off the analysis's 2 ms grid.
    for (const char* resolution :
         {"", " --resolution-ms 4", " --resolution-ms 5", " --resolution-ms 1"}) {
        const Outcome o = run(Media().tonesMp4() + " --json" + resolution);
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1);
        const auto json = nlohmann::ordered_json::parse(o.out);
        std::vector<std::string> keys;
        for (const auto& item : json.items()) keys.push_back(item.key());
        EXPECT_EQ(keys,
                  (std::vector<std::string>{"duration_ms", "sample_rate", "channels", "stream",
                                            "start_ms", "resolution_ms", "complete", "peaks"}));
        const int r = *resolution ? std::atoi(resolution + 17) : 10;
        EXPECT_EQ(json["resolution_ms"], r);
        EXPECT_EQ(json["sample_rate"], 48000);
        EXPECT_EQ(json["channels"], 2);
        EXPECT_EQ(json["stream"], 1);
        EXPECT_EQ(json["start_ms"], 478);  // the AAC priming frame, as MP4 places it
        EXPECT_EQ(json["complete"], true);
        const int duration = json["duration_ms"];
        EXPECT_NEAR(duration, 8000, 30);
        const auto& pairs = json["peaks"];
        ASSERT_EQ(pairs.size(), std::size_t((duration + r - 1) / r));
        std::vector<Peak> peaks;
        for (const auto& pair : pairs) {
            ASSERT_EQ(pair.size(), 2u);
            peaks.push_back({pair[0].get<std::int16_t>(), pair[1].get<std::int16_t>()});
            ASSERT_LE(peaks.back().min, peaks.back().max);
        }
        EXPECT_EQ(peaks.front(), (Peak{0, 0}));  // before the audio starts
        test::ExpectOnsetsNear(test::Onsets(peaks, r), test::kToneOnsetsMs, resolution,
                               std::max(5.0, double(r)));
    }
    // Both runs shared one cache entry, where the editor finds it too.
    const auto entries = std::filesystem::directory_iterator(folder.path("cache/Verbanta"));
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

TEST_F(WaveformCli, FailsWithAReasonWhenThereIsNoWaveform)
{
    const Outcome noAudio = run(Media().videoOnly() + " --json");
    EXPECT_EQ(noAudio.status, 1);
    EXPECT_EQ(noAudio.out, "");
    EXPECT_NE(noAudio.err.find("has no audio stream"), std::string::npos) << noAudio.err;

    const Outcome video = run(Media().twoTracks() + " --stream 0 --json");
    EXPECT_EQ(video.status, 1);
    EXPECT_NE(video.err.find("its audio streams are: 1 2"), std::string::npos) << video.err;

    const Outcome zero = run(Media().tonesMp4() + " --resolution-ms 0 --json");
    EXPECT_EQ(zero.status, 1);
    EXPECT_NE(zero.err.find("1 ms or more"), std::string::npos) << zero.err;

    const Outcome text = run(Media().notMedia() + " --json");
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.err.find("cannot read"), std::string::npos) << text.err;
}

}  // namespace
}  // namespace verbanta::media

#endif
