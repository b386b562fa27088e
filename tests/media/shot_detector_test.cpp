// Shot changes: the detector's rule on difference series, and whole clips made by ffmpeg with
// cuts at known frames, a pan and a fade, in several containers and timings.
#include "shot_detector.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "generated_media.h"
#include "media_cache.h"
#include "media_file.h"

namespace verbanta::media {
namespace {

using test::kShotFrames;
using test::Media;
using test::TempFolder;

std::vector<std::int64_t> msOfFrames(int shiftFrom = -1, std::int64_t shiftMs = 0)
{
    std::vector<std::int64_t> ms;
    for (int frame : kShotFrames)
        ms.push_back(frame * 40 + (shiftFrom >= 0 && frame >= shiftFrom ? shiftMs : 0));
    return ms;
}

TEST(HardCutFrames, SpikesAreCutsButSteadyChangeAndSmallStepsAreNot)
{
    // A still shot, a cut at 5, a fast pan from 10 to 30 (every frame far from the last), a
    // cut inside it at 20, a fade (small steps) from 35 to 45, a flash of one frame at 50.
    std::vector<float> d(60, 0.5f);
    d[5] = 60;
    for (int i = 10; i < 30; ++i) d[i] = 25;
    d[20] = 90;
    for (int i = 35; i < 45; ++i) d[i] = 6;
    d[50] = d[51] = 70;
    EXPECT_EQ(hardCutFrames(d), (std::vector<std::size_t>{5, 20, 50, 51}));
    // A cut into the second frame, and nothing in a series of one frame or none.
    EXPECT_EQ(hardCutFrames({0, 80, 1, 1, 1}), std::vector<std::size_t>{1});
    EXPECT_TRUE(hardCutFrames({0}).empty());
    EXPECT_TRUE(hardCutFrames({}).empty());
}

class ShotDetector : public ::testing::Test {
protected:
    void SetUp() override
    {
        VERBANTA_NEED_MEDIA();
        quietFFmpegLog();  // the damaged clip's decoder complaints are expected
    }
    /// The shot clip again in one group of pictures with a fixed pattern of three B-frames
    /// (frames 1 and 3 of each four made from others and from nothing), so that the cut at
    /// 251 lies on a frame no other frame needs, far from any key frame.
    std::string withBFrames(const std::string& name, int keyint = 400)
    {
        const std::string path = folder.path(name);
        const bool made = test::detail::ffmpeg(
            "-i " + Media().shotsMp4() + " -c:v libx264 -preset medium -pix_fmt yuv420p " +
            "-x264-params keyint=" + std::to_string(keyint) +
            ":scenecut=0:bframes=3:b-adapt=0:b-pyramid=normal " + path);
        return made ? path : "";
    }
    TempFolder folder;
};

TEST_F(ShotDetector, FindsEveryCutAtItsFrameAndNoneInThePanOrTheFade)
{
    const ShotAnalysis a = findShotChanges(Media().shotsMp4(), nullptr, {}, nullptr);
    ASSERT_EQ(a.failure, ShotFailure::None) << a.detail;
    EXPECT_EQ(a.changes.shotsMs, msOfFrames());
    EXPECT_EQ(a.changes.frameCount, 301);
    EXPECT_DOUBLE_EQ(a.changes.frameRate, 25.0);
    EXPECT_FALSE(a.changes.cutShort);
    // MPEG-TS starts at 1.4 s, which the player's timeline does not count.
    EXPECT_EQ(findShotChanges(Media().shotsTs(), nullptr, {}, nullptr).changes.shotsMs,
              msOfFrames());
}

TEST_F(ShotDetector, CutsAmongFramesTheDecoderMaySkipAreFoundAtTheirFrame)
{
    // One group of pictures; groups of 50, shared among decoders, with cuts on their edges
    // and the pan across one, also in MPEG-TS; and every frame a key frame.
    const std::string one = withBFrames("b.mp4");
    const std::string groups = withBFrames("b50.mp4", 50);
    const std::string ts = folder.path("b50.ts");
    ASSERT_TRUE(test::detail::ffmpeg("-i " + groups + " -c copy " + ts));
    const std::string intra = withBFrames("intra.mkv", 1);
    for (const std::string& path : {one, groups, ts, intra}) {
        ASSERT_FALSE(path.empty());
        const ShotAnalysis a = findShotChanges(path, nullptr, {}, nullptr);
        ASSERT_EQ(a.failure, ShotFailure::None) << path << ": " << a.detail;
        EXPECT_EQ(a.changes.shotsMs, msOfFrames()) << path;
        EXPECT_EQ(a.changes.frameCount, 301) << path;
    }
}

TEST_F(ShotDetector, VariableFrameRateTakesEachFramesOwnTime)
{
    const ShotAnalysis a = findShotChanges(Media().shotsGapMkv(), nullptr, {}, nullptr);
    ASSERT_EQ(a.failure, ShotFailure::None) << a.detail;
    EXPECT_EQ(a.changes.shotsMs, msOfFrames(60, 500));
}

TEST_F(ShotDetector, BadInputFailsPlainlyAndACutShortFileKeepsWhatItHas)
{
    EXPECT_EQ(findShotChanges(Media().longSound(), nullptr, {}, nullptr).failure,
              ShotFailure::NoVideo);
    EXPECT_EQ(findShotChanges(Media().notMedia(), nullptr, {}, nullptr).failure,
              ShotFailure::Unreadable);
    EXPECT_EQ(findShotChanges(folder.path("missing.mp4"), nullptr, {}, nullptr).failure,
              ShotFailure::Unreadable);
    const std::string cut = folder.path("cut.ts");
    std::filesystem::copy_file(Media().shotsTs(), cut);
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    const ShotAnalysis a = findShotChanges(cut, nullptr, {}, nullptr);
    ASSERT_EQ(a.failure, ShotFailure::None) << a.detail;
    EXPECT_LT(a.changes.frameCount, 301);
    const std::vector<std::int64_t> all = msOfFrames();
    ASSERT_LE(a.changes.shotsMs.size(), all.size());
    EXPECT_TRUE(std::equal(a.changes.shotsMs.begin(), a.changes.shotsMs.end(), all.begin()));
    std::atomic<bool> cancel{true};
    EXPECT_EQ(findShotChanges(Media().shotsMp4(), &cancel, {}, nullptr).failure,
              ShotFailure::Cancelled);
}

TEST_F(ShotDetector, TheCacheGivesTheSameAnswerWithoutDecodingAndProgressEndsAtOne)
{
    MediaCache cache(folder.path("cache"));
    double last = -1;
    bool ordered = true;
    const auto progress = [&](double f) {
        ordered = ordered && f >= last;
        last = f;
    };
    // Decoders share the first pass, and the cut among skipped frames makes a second pass,
    // which counts on from the first.
    const std::string clip = withBFrames("b50.mp4", 50);
    const ShotAnalysis first = findShotChanges(clip, nullptr, progress, &cache);
    EXPECT_FALSE(first.fromCache);
    EXPECT_TRUE(ordered);
    EXPECT_DOUBLE_EQ(last, 1.0);
    const ShotAnalysis second = findShotChanges(clip, nullptr, {}, &cache);
    EXPECT_TRUE(second.fromCache);
    EXPECT_EQ(second.changes.shotsMs, first.changes.shotsMs);
    EXPECT_EQ(second.changes.frameCount, first.changes.frameCount);
    EXPECT_DOUBLE_EQ(second.changes.frameRate, first.changes.frameRate);
}

#ifdef VERBANTA_CLI_PATH
TEST_F(ShotDetector, CliPrintsOneJsonObjectAndSaysWhenThereIsNoVideo)
{
    const auto run = [&](const std::string& media, std::string& out) {
        const std::string command = "XDG_CACHE_HOME='" + folder.path("cache") + "' '" +
                                    VERBANTA_CLI_PATH + "' shots '" + media + "' --json >'" +
                                    folder.path("out") + "' 2>'" + folder.path("err") + "'";
        const int raw = std::system(command.c_str());
        out = TempFolder::read(folder.path("out"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    std::string out;
    ASSERT_EQ(run(Media().shotsMp4(), out), 0);
    const auto json = nlohmann::ordered_json::parse(out);
    std::vector<std::string> keys;
    for (const auto& item : json.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"frame_rate", "frame_count", "shots_ms"}));
    EXPECT_EQ(json["shots_ms"].get<std::vector<std::int64_t>>(), msOfFrames());
    EXPECT_EQ(json["frame_count"], 301);
    EXPECT_EQ(run(Media().longSound(), out), 1);
    EXPECT_NE(TempFolder::read(folder.path("err")).find("has no video"), std::string::npos);
}
#endif

}  // namespace
}  // namespace verbanta::media
