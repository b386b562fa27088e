#include "settings/app_settings.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <variant>

#include "settings/key_value_store.h"

namespace verbanta {
namespace {

using BoolField = bool AppSettings::*;
using IntField = std::int32_t AppSettings::*;
using StringField = std::string AppSettings::*;

struct FieldDescriptor {
    const char* name;
    std::variant<BoolField, IntField, StringField> member;
};

// The stored order of the options; Load and Save walk this one table.
const std::array<FieldDescriptor, AppSettings::kValueCount> kFields{{
    {"ClickAndGo", &AppSettings::ClickAndGo},
    {"PlayAndGo", &AppSettings::PlayAndGo},
    {"ShowPlayerCtrl", &AppSettings::ShowPlayerCtrl},
    {"ShowMediaCtrl", &AppSettings::ShowMediaCtrl},
    {"SyncIncrease", &AppSettings::SyncIncrease},
    {"SyncModify", &AppSettings::SyncModify},
    {"NewSync", &AppSettings::NewSync},
    {"OneLetterSync", &AppSettings::OneLetterSync},
    {"InsertEndAuto", &AppSettings::InsertEndAuto},
    {"InsertBR", &AppSettings::InsertBR},
    {"MoveToNextSync", &AppSettings::MoveToNextSync},
    {"DeleteEndToo", &AppSettings::DeleteEndToo},
    {"MoveEndToo", &AppSettings::MoveEndToo},
    {"EditorName", &AppSettings::EditorName},
    {"NoFileWatch", &AppSettings::NoFileWatch},
    {"AutoLoadFile", &AppSettings::AutoLoadFile},
    {"TwoReturnAsSync", &AppSettings::TwoReturnAsSync},
    {"MakeBackup", &AppSettings::MakeBackup},
    {"DisplayTag", &AppSettings::DisplayTag},
    {"DisplayAsTime", &AppSettings::DisplayAsTime},
    {"DisplayErrorSync", &AppSettings::DisplayErrorSync},
    {"MatchListToMovie", &AppSettings::MatchListToMovie},
    {"MovieMoveTime", &AppSettings::MovieMoveTime},
    {"MovieRepeatTime", &AppSettings::MovieRepeatTime},
    {"NotDisplayBanner", &AppSettings::NotDisplayBanner},
    {"FontSize", &AppSettings::FontSize},
    {"FontColor", &AppSettings::FontColor},
    {"FontWeight", &AppSettings::FontWeight},
    {"FontAlign", &AppSettings::FontAlign},
    {"FontName1", &AppSettings::FontName1},
    {"FontName2", &AppSettings::FontName2},
    {"TopMargin", &AppSettings::TopMargin},
    {"BottomMargin", &AppSettings::BottomMargin},
    {"LeftMargin", &AppSettings::LeftMargin},
    {"RightMargin", &AppSettings::RightMargin},
    // Files page; its label is AppSettings::kAutoSaveSecondsLabel.
    {"AutoSaveSeconds", &AppSettings::AutoSaveSeconds},
    // The caption checks' profile.
    {"CheckMaxReadingSpeed", &AppSettings::CheckMaxReadingSpeed},
    {"CheckMaxLineLetters", &AppSettings::CheckMaxLineLetters},
    {"CheckMaxLines", &AppSettings::CheckMaxLines},
    {"CheckMinDuration", &AppSettings::CheckMinDuration},
    {"CheckMaxDuration", &AppSettings::CheckMaxDuration},
    {"CheckMinGapFrames", &AppSettings::CheckMinGapFrames},
    {"CheckEnabled", &AppSettings::CheckEnabled},
    // Captures onto shot changes.
    {"SnapCaptureToShot", &AppSettings::SnapCaptureToShot},
    {"ShotSnapMs", &AppSettings::ShotSnapMs},
    // View page.
    {"ColorScheme", &AppSettings::ColorScheme},
    // The player.
    {"PlaybackSpeed", &AppSettings::PlaybackSpeed},
}};

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

constexpr const char* kOptions = AppSettings::kOptionsSection;
constexpr const char* kSettings = AppSettings::kSettingsSection;

}  // namespace

void AppSettings::Load(const KeyValueStore& store)
{
    const AppSettings defaults;
    for (const FieldDescriptor& field : kFields) {
        std::visit(Overloaded{
                       [&](BoolField m) {
                           // Booleans are stored as numbers; any non-zero number is on.
                           const auto v = store.readInt(kOptions, field.name);
                           this->*m = v ? *v != 0 : defaults.*m;
                       },
                       [&](IntField m) {
                           this->*m = store.readInt(kOptions, field.name).value_or(defaults.*m);
                       },
                       [&](StringField m) {
                           this->*m =
                               store.readString(kOptions, field.name).value_or(defaults.*m);
                       },
                   },
                   field.member);
    }
    // The player offers only its steps: a value edited by hand or from another version would
    // leave it at a speed no key can reach back from.
    if (std::find(std::begin(kPlaybackSpeeds), std::end(kPlaybackSpeeds), PlaybackSpeed) ==
        std::end(kPlaybackSpeeds))
        PlaybackSpeed = kNormalPlaybackSpeed;
}

void AppSettings::Save(KeyValueStore& store) const
{
    for (const FieldDescriptor& field : kFields) {
        std::visit(Overloaded{
                       [&](BoolField m) { store.writeInt(kOptions, field.name, this->*m ? 1 : 0); },
                       [&](IntField m) { store.writeInt(kOptions, field.name, this->*m); },
                       [&](StringField m) { store.writeString(kOptions, field.name, this->*m); },
                   },
                   field.member);
    }
}

std::string WindowSettings::readWindowPos(const KeyValueStore& store)
{
    return store.readString(kSettings, kWindowPos).value_or(std::string());
}

void WindowSettings::writeWindowPos(KeyValueStore& store, std::string_view value)
{
    store.writeString(kSettings, kWindowPos, value);
}

std::int32_t WindowSettings::readPlayerWidth(const KeyValueStore& store)
{
    return store.readInt(kSettings, kPlayerWidth).value_or(kDefaultPlayerWidth);
}

void WindowSettings::writePlayerWidth(KeyValueStore& store, std::int32_t width)
{
    store.writeInt(kSettings, kPlayerWidth, width);
}

std::string WindowSettings::readLastDirectory(const KeyValueStore& store)
{
    return store.readString(kSettings, kLastDirectory).value_or(std::string());
}

void WindowSettings::writeLastDirectory(KeyValueStore& store, std::string_view folder)
{
    store.writeString(kSettings, kLastDirectory, folder);
}

std::string WindowSettings::readVersion(const KeyValueStore& store)
{
    return store.readString(kSettings, kVersion).value_or(std::string());
}

}  // namespace verbanta
