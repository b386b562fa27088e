#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include "settings/memory_key_value_store.h"

namespace verbanta {
namespace {

TEST(AppSettings, EmptyStoreGivesEveryDefault)
{
    MemoryKeyValueStore store;
    AppSettings s;
    s.SyncIncrease = 1;
    s.NewSync = "x";
    s.Load(store);
    EXPECT_EQ(s, AppSettings());
    EXPECT_FALSE(s.ClickAndGo);
    EXPECT_TRUE(s.ShowPlayerCtrl);
    EXPECT_EQ(s.SyncIncrease, 100);
    EXPECT_EQ(s.NewSync, "[새 자막]");
    EXPECT_EQ(s.OneLetterSync, 200);
#ifdef _WIN32
    EXPECT_EQ(s.EditorName, "notepad.exe %f");
#else
    EXPECT_EQ(s.EditorName, "");  // the user's editor: Notepad exists only on Windows
#endif
    EXPECT_TRUE(s.MakeBackup);
    EXPECT_TRUE(s.MatchListToMovie);
    EXPECT_EQ(s.MovieMoveTime, 5000);
    EXPECT_EQ(s.FontName2, "MS Sans Serif");
    EXPECT_EQ(s.LeftMargin, 8);
    EXPECT_EQ(s.TopMargin, 2);
}

TEST(AppSettings, SaveWritesAllFortySevenOptionsInTheOptionsSection)
{
    MemoryKeyValueStore store;
    AppSettings().Save(store);
    EXPECT_EQ(store.values().size(), 47u);
    for (const auto& [key, value] : store.values())
        EXPECT_EQ(key.rfind("Options\\", 0), 0u) << key;
    EXPECT_EQ(store.readInt("Options", "ShowMediaCtrl"), 1);
    EXPECT_EQ(store.readInt("Options", "DisplayErrorSync"), 0);
    EXPECT_EQ(store.readString("Options", "FontColor"), "white");
    EXPECT_EQ(store.readInt("Options", "RightMargin"), 8);
    // The caption checks' profile follows the common guidance for Korean subtitles.
    EXPECT_EQ(store.readInt("Options", "CheckMaxReadingSpeed"), 12);
    EXPECT_EQ(store.readInt("Options", "CheckMaxLineLetters"), 16);
    EXPECT_EQ(store.readInt("Options", "CheckMaxLines"), 2);
    EXPECT_EQ(store.readInt("Options", "CheckMinDuration"), 1000);
    EXPECT_EQ(store.readInt("Options", "CheckMaxDuration"), 7000);
    EXPECT_EQ(store.readInt("Options", "CheckMinGapFrames"), 2);
    EXPECT_EQ(store.readInt("Options", "CheckEnabled"), 1);
    EXPECT_EQ(store.readInt("Options", "PlaybackSpeed"), 100);
}

TEST(AppSettings, ChangedValuesSurviveSaveAndLoad)
{
    AppSettings changed;
    changed.PlayAndGo = true;
    changed.MakeBackup = false;
    changed.SyncModify = -250;
    changed.NewSync = "새 줄";
    changed.FontColor = "#FF8000";
    changed.RightMargin = 40;
    changed.CheckMinGapFrames = 3;
    changed.PlaybackSpeed = 50;
    MemoryKeyValueStore store;
    changed.Save(store);
    AppSettings loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded, changed);
}

TEST(AppSettings, BooleansStoredAsAnyNonZeroNumberReadAsOn)
{
    MemoryKeyValueStore store;
    store.writeInt("Options", "DisplayTag", 7);
    store.writeInt("Options", "InsertBR", 0);
    AppSettings s;
    s.Load(store);
    EXPECT_TRUE(s.DisplayTag);
    EXPECT_FALSE(s.InsertBR);
}

TEST(AppSettings, OutOfRangeNumbersAreUsedAsRead)
{
    MemoryKeyValueStore store;
    store.writeInt("Options", "MovieMoveTime", 999999);
    AppSettings s;
    s.Load(store);
    EXPECT_EQ(s.MovieMoveTime, 999999);
}

TEST(AppSettings, APlaybackSpeedBetweenTheStepsReadsAsNormalSpeed)
{
    for (const std::int32_t stored : {0, 33, 100, 200, 250, -50}) {
        MemoryKeyValueStore store;
        store.writeInt("Options", "PlaybackSpeed", stored);
        AppSettings s;
        s.PlaybackSpeed = 75;
        s.Load(store);
        EXPECT_EQ(s.PlaybackSpeed, stored == 200 ? 200 : 100) << stored;
    }
}

TEST(AppSettings, AStringWhereANumberBelongsGivesTheDefault)
{
    MemoryKeyValueStore store;
    store.writeString("Options", "OneLetterSync", "fast");
    AppSettings s;
    s.Load(store);
    EXPECT_EQ(s.OneLetterSync, 200);
}

TEST(WindowSettings, PlayerWidthDefaultsTo350AndRoundTrips)
{
    MemoryKeyValueStore store;
    EXPECT_EQ(WindowSettings::readPlayerWidth(store), 350);
    WindowSettings::writePlayerWidth(store, 512);
    EXPECT_EQ(WindowSettings::readPlayerWidth(store), 512);
    EXPECT_TRUE(store.contains("Settings", "PlayerWidth"));
}

TEST(WindowSettings, WindowPosAndLastDirectoryLiveInTheSettingsSection)
{
    MemoryKeyValueStore store;
    EXPECT_EQ(WindowSettings::readWindowPos(store), "");
    WindowSettings::writeWindowPos(store, "44,1,-1,-1,-1,-1,10,10,800,600");
    WindowSettings::writeLastDirectory(store, "/home/u/subs");
    EXPECT_EQ(store.readString("Settings", "WindowPos"), "44,1,-1,-1,-1,-1,10,10,800,600");
    EXPECT_EQ(WindowSettings::readLastDirectory(store), "/home/u/subs");
    EXPECT_EQ(WindowSettings::readVersion(store), "");
}

}  // namespace
}  // namespace verbanta
