#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace verbanta {

class KeyValueStore;

/// The one options record of the application, read directly wherever an option is used.
/// Strings are UTF-8; whoever puts one into a caption converts it to CP949 there.
struct AppSettings {
    bool ClickAndGo = false;
    bool PlayAndGo = false;
    bool ShowPlayerCtrl = true;
    bool ShowMediaCtrl = true;
    std::int32_t SyncIncrease = 100;
    std::int32_t SyncModify = 0;
    std::string NewSync = "[새 자막]";
    std::int32_t OneLetterSync = 200;
    bool InsertEndAuto = false;
    bool InsertBR = true;
    bool MoveToNextSync = true;
    bool DeleteEndToo = false;
    bool MoveEndToo = false;
    /// Empty: the user's editor (`VISUAL`, then `EDITOR`), else the desktop's program for
    /// the file; Notepad exists only on Windows.
#ifdef _WIN32
    std::string EditorName = "notepad.exe %f";
#else
    std::string EditorName;
#endif
    bool NoFileWatch = false;
    bool AutoLoadFile = false;
    bool TwoReturnAsSync = false;
    bool MakeBackup = true;
    bool DisplayTag = false;
    bool DisplayAsTime = false;
    bool DisplayErrorSync = false;
    bool MatchListToMovie = true;
    std::int32_t MovieMoveTime = 5000;
    std::int32_t MovieRepeatTime = 5000;
    bool NotDisplayBanner = false;
    std::int32_t FontSize = 14;
    std::string FontColor = "white";
    std::string FontWeight = "normal";
    std::string FontAlign = "center";
    std::string FontName1 = "Arial";
    std::string FontName2 = "MS Sans Serif";
    std::int32_t TopMargin = 2;
    std::int32_t BottomMargin = 2;
    std::int32_t LeftMargin = 8;
    std::int32_t RightMargin = 8;
    /// Seconds between recovery copies of a modified document; 0 turns them off.
    std::int32_t AutoSaveSeconds = 60;
    // The caption checks' profile, after the common guidance for Korean subtitles.
    std::int32_t CheckMaxReadingSpeed = 12;  ///< letters per second
    std::int32_t CheckMaxLineLetters = 16;   ///< letters per line
    std::int32_t CheckMaxLines = 2;
    std::int32_t CheckMinDuration = 1000;    ///< ms
    std::int32_t CheckMaxDuration = 7000;    ///< ms
    std::int32_t CheckMinGapFrames = 2;      ///< frames between a caption's end and the next
    bool CheckEnabled = true;                ///< the list marks the captions that break a rule
    /// A captured time this close to a shot change (ms, before or after) is moved onto it.
    bool SnapCaptureToShot = true;
    std::int32_t ShotSnapMs = 150;
    /// The window's colours: `kSchemeDesktop` follows the desktop's dark or light scheme.
    std::int32_t ColorScheme = 0;
    static constexpr std::int32_t kSchemeDesktop = 0;
    static constexpr std::int32_t kSchemeLight = 1;
    static constexpr std::int32_t kSchemeDark = 2;
    /// The player's speed in percent of normal, one of `kPlaybackSpeeds`; any other stored
    /// value reads as normal speed.
    std::int32_t PlaybackSpeed = 100;
    static constexpr std::int32_t kNormalPlaybackSpeed = 100;
    static constexpr std::int32_t kPlaybackSpeeds[] = {25, 50, 75, 100, 125, 150, 200};

    /// The files page's label and range of `AutoSaveSeconds`, for the options sheet.
    static constexpr const char* kAutoSaveSecondsLabel = "자동 저장 간격(초, 0은 사용 안 함):";
    static constexpr std::int32_t kAutoSaveSecondsMinimum = 0;
    static constexpr std::int32_t kAutoSaveSecondsMaximum = 3600;

    /// The section that holds the option values.
    static constexpr const char* kOptionsSection = "Options";
    /// The section of the window-state values (`WindowPos`, `PlayerWidth`, `LastDirectory`, …).
    static constexpr const char* kSettingsSection = "Settings";
    /// How many values `Load` and `Save` handle.
    static constexpr int kValueCount = 47;

    /// Reads every option; a missing or unreadable value takes its default, and so does a
    /// playback speed that is not one of the steps.
    void Load(const KeyValueStore& store);
    /// Writes every option back, all of them.
    void Save(KeyValueStore& store) const;

    bool operator==(const AppSettings&) const = default;
};

/// The window-state values of the "Settings" section, read and written where they are used.
struct WindowSettings {
    static constexpr const char* kWindowPos = "WindowPos";
    static constexpr const char* kPlayerWidth = "PlayerWidth";
    static constexpr const char* kLastDirectory = "LastDirectory";
    static constexpr const char* kVersion = "Version";
    static constexpr std::int32_t kDefaultPlayerWidth = 350;

    static std::string readWindowPos(const KeyValueStore& store);
    static void writeWindowPos(KeyValueStore& store, std::string_view value);
    static std::int32_t readPlayerWidth(const KeyValueStore& store);
    static void writePlayerWidth(KeyValueStore& store, std::int32_t width);
    static std::string readLastDirectory(const KeyValueStore& store);
    static void writeLastDirectory(KeyValueStore& store, std::string_view folder);
    static std::string readVersion(const KeyValueStore& store);
};

}  // namespace verbanta
