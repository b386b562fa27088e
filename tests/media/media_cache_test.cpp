// Peaks kept between sessions: found again for the same file and stream, analysed again for a
// changed one, and a damaged or unwritable cache never in the way.
#include "media_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "byte_codec.h"
#include "generated_media.h"
#include "waveform_analysis.h"

namespace verbanta::media {
namespace {

using test::Media;
using test::TempFolder;

struct Opened {
    WaveformState state;
    std::vector<Peak> peaks;
};

Opened open(const std::string& path, MediaCache& cache, int stream = -1)
{
    WaveformAnalysis analysis(path, stream, &cache);
    analysis.wait();
    return {analysis.state(), analysis.peaks(10)};
}

class MediaCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VERBANTA_NEED_MEDIA();
        media = folder.path("tones.mp4");
        std::filesystem::copy_file(Media().tonesMp4(), media);
    }
    std::string entry(int stream = 1) const
    {
        return cache.fileFor(*CacheKey::of(media, stream), AnalysisKind::AudioPeaks);
    }

    TempFolder folder;
    MediaCache cache{folder.path("cache")};
    std::string media;
};

TEST_F(MediaCacheTest, KeepsPeaksPerFileAndStreamUntilTheFileChanges)
{
    const Opened first = open(media, cache);
    ASSERT_EQ(first.state.cache, CacheUse::Written);
    ASSERT_TRUE(TempFolder::exists(entry()));
    const Opened second = open(media, cache);
    EXPECT_EQ(second.state.cache, CacheUse::Read);
    EXPECT_EQ(second.peaks, first.peaks);
    EXPECT_EQ(second.state.status, WaveformStatus::Complete);
    EXPECT_EQ(second.state.stream, 1);
    EXPECT_EQ(second.state.sampleRate, 48000);
    EXPECT_EQ(second.state.channels, 2);
    EXPECT_NEAR(second.state.startMs, first.state.startMs, 0.001);
    EXPECT_NEAR(second.state.endMs, first.state.endMs, 0.001);
    EXPECT_TRUE(second.state.hasSound);

    // Another stream is another entry; the same file under another path spelling is the same.
    EXPECT_NE(entry(2), entry(1));
    EXPECT_EQ(open(folder.root() + "/./tones.mp4", cache, 1).state.cache, CacheUse::Read);

    // A file written again (another time, here also another size) is analysed again.
    std::filesystem::last_write_time(
        media, std::filesystem::last_write_time(media) + std::chrono::seconds(5));
    EXPECT_EQ(open(media, cache).state.cache, CacheUse::Written);
    std::filesystem::resize_file(media, std::filesystem::file_size(media) - 1);
    EXPECT_EQ(open(media, cache).state.cache, CacheUse::Written);
}

TEST_F(MediaCacheTest, IgnoresAndRewritesADamagedEntry)
{
    ASSERT_EQ(open(media, cache).state.cache, CacheUse::Written);
    const std::string good = TempFolder::read(entry());
    const CacheKey key = *CacheKey::of(media, 1);
    // A payload whose checksum holds but whose peak count runs past its end.
    const auto lying = [](std::uint64_t peaks) {
        ByteWriter out;
        out.put(std::uint32_t(1));
        out.put(std::int32_t(PeakPyramid::kBaseMs));
        out.put(std::int32_t(WaveformStatus::Complete));
        out.put(std::int32_t(48000));
        out.put(std::int32_t(2));
        for (int time = 0; time < 3; ++time) out.put(std::int64_t(0));
        out.put(std::uint8_t(1));
        out.put(peaks);
        out.put(std::uint32_t(0));
        return out.bytes();
    };
    const std::vector<std::function<void()>> damages{
        [&] { TempFolder::write(entry(), good.substr(0, good.size() / 2)); },
        [&] { TempFolder::write(entry(), ""); },
        [&] { TempFolder::write(entry(), "X" + good.substr(1)); },
        [&] {
            std::string flipped = good;
            flipped[flipped.size() - 7] ^= 0x40;
            TempFolder::write(entry(), flipped);
        },
        [&] { TempFolder::write(entry(), good + "extra"); },
        [&] { ASSERT_TRUE(cache.write(key, AnalysisKind::AudioPeaks, lying(1ull << 40))); },
    };
    for (std::size_t i = 0; i < damages.size(); ++i) {
        damages[i]();
        const Opened reopened = open(media, cache);
        EXPECT_EQ(reopened.state.status, WaveformStatus::Complete) << "damage " << i;
        EXPECT_EQ(reopened.state.cache, CacheUse::Written) << "damage " << i;
        EXPECT_EQ(TempFolder::read(entry()), good) << "damage " << i;
    }
}

TEST_F(MediaCacheTest, WorksWithoutAnUnwritableFolderAndNotesItOnce)
{
    // Under a plain file no folder can be made, not even by the superuser.
    TempFolder::write(folder.path("file"), "x");
    MediaCache unwritable(folder.path("file/cache"));
    const Opened first = open(media, unwritable);
    EXPECT_EQ(first.state.status, WaveformStatus::Complete);
    EXPECT_EQ(first.state.cache, CacheUse::Unwritable);
    EXPECT_FALSE(first.peaks.empty());
    EXPECT_TRUE(unwritable.takeUnwritableNote());
    EXPECT_EQ(open(media, unwritable).state.cache, CacheUse::Unwritable);
    EXPECT_FALSE(unwritable.takeUnwritableNote());
    EXPECT_FALSE(cache.takeUnwritableNote());
}

TEST_F(MediaCacheTest, GivesWayToTheLeastRecentlyUsedEntriesWhenFull)
{
    const std::string payload(1000, 'p');
    const auto keyOf = [&](int stream) { return *CacheKey::of(media, stream); };
    const auto readable = [&](MediaCache& c, int stream) {
        return c.read(keyOf(stream), AnalysisKind::AudioPeaks, [](CacheReader& in) {
            std::string bytes(in.remaining(), '\0');
            return in.read(bytes.data(), bytes.size());
        });
    };
    // Room for two entries, not three; file times are only so fine, hence the pauses.
    MediaCache small(folder.path("small"), 2 * (payload.size() + 200));
    for (int stream : {1, 2}) {
        ASSERT_TRUE(small.write(keyOf(stream), AnalysisKind::AudioPeaks, payload));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(readable(small, 1));  // now the more recently used
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(small.write(keyOf(3), AnalysisKind::AudioPeaks, payload));
    EXPECT_TRUE(readable(small, 1));
    EXPECT_FALSE(readable(small, 2));
    EXPECT_TRUE(readable(small, 3));
}

TEST_F(MediaCacheTest, DoesNotStoreAFileDeletedWhileAnalysed)
{
    std::atomic<bool> deleted{false};
    WaveformAnalysis analysis(media, -1, &cache, [&] {
        if (!deleted.exchange(true))
            std::filesystem::remove(media);
    });
    analysis.wait();
    // What was opened is still read to its end, and shown, but kept under no key.
    EXPECT_EQ(analysis.state().status, WaveformStatus::Complete);
    EXPECT_EQ(analysis.state().cache, CacheUse::None);
    EXPECT_FALSE(std::filesystem::exists(folder.path("cache")) &&
                 !std::filesystem::is_empty(folder.path("cache")));
}

TEST(MediaCacheFolder, FollowsXdgCacheHomeThenHome)
{
    const auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<std::string>& value) {
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    };
    const std::optional<std::string> cacheHome = saved("XDG_CACHE_HOME"), home = saved("HOME");
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CACHE_HOME", "/var/cache/someone", 1);
    EXPECT_EQ(MediaCache::defaultFolder(), "/var/cache/someone/Verbanta");
    ::setenv("XDG_CACHE_HOME", "relative", 1);
    EXPECT_EQ(MediaCache::defaultFolder(), "/home/someone/.cache/Verbanta");
    restore("XDG_CACHE_HOME", cacheHome);
    restore("HOME", home);
}

}  // namespace
}  // namespace verbanta::media
