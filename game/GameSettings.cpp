#include "game/GameSettings.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "game/IniFile.h"
#include "game/NumberText.h"
#include "platform/ProgramPath.h"

namespace {

using KeySpec = SettingsKey;

// In the order the keys are read, with the defaults as text: the default goes through the same
// conversion as a value from the file.
const KeySpec kKeys[] = {
    {"Game", "MaxIslandNumbers", "6", &GameSettings::MaxIslandNumbers},
    {"Game", "ScoreForBonus", "10", &GameSettings::ScoreForBonus},
    {"Game", "ScoreForChangeLevel", "50", &GameSettings::ScoreForChangeLevel},
    {"Leaves", "MaxLeavesPerScreen", "35", &GameSettings::MaxLeavesPerScreen},
    {"Leaves", "MinAniVelocLeav", "800", &GameSettings::MinAniVelocLeav},
    {"Leaves", "MaxAniVelocLeav", "1500", &GameSettings::MaxAniVelocLeav},
    {"Leaves", "DeclineSuspendTime", "2000", &GameSettings::DeclineSuspendTime},
    {"Leaves", "IslandMeltTime", "1000", &GameSettings::IslandMeltTime},
    {"Leaves", "TimeAppOfNewLeave", "200", &GameSettings::TimeAppOfNewLeave},
    {"Frogs", "MaxFrogNumber", "8", &GameSettings::MaxFrogNumber},
    {"Frogs", "MaxBadFrogNumber", "3", &GameSettings::MaxBadFrogNumber},
    {"Frogs", "TimeAppOfBadFrog", "150", &GameSettings::TimeAppOfBadFrog},
    {"Frogs", "FrogVeloc", "80", &GameSettings::FrogVeloc},
    {"Frogs", "FrogReincarnVeloc", "80", &GameSettings::FrogReincarnVeloc},
    {"Frogs", "FramesForFrogLeap", "6", &GameSettings::FramesForFrogLeap},
    {"Frogs", "FramesEnoughForSitting", "5", &GameSettings::FramesEnoughForSitting},
    {"Frogs", "TimeSuspendOnLeave", "300", &GameSettings::TimeSuspendOnLeave},
    {"Frogs", "FramesForIslandLeap", "2", &GameSettings::FramesForIslandLeap},
    {"Frogs", "DeadTimeExtend", "300", &GameSettings::DeadTimeExtend},
    {"Frogs", "ChanceForLeap", "2", &GameSettings::ChanceForLeap},
    {"Frogs", "ChanceForFrame", "3", &GameSettings::ChanceForFrame},
    {"Flyes", "FlyNumber", "6", &GameSettings::FlyNumber},
    {"Flyes", "SunNumber", "3", &GameSettings::SunNumber},
    {"Flyes", "FlyVelocity", "50", &GameSettings::FlyVelocity},
    {"Flyes", "FramesForFlyLeap", "3", &GameSettings::FramesForFlyLeap},
    {"Waves", "FrameBeforeWaveApp", "1", &GameSettings::FrameBeforeWaveApp},
    {"Rates", "IslandRate", "0", &GameSettings::IslandRate},
    {"Rates", "MinAniLeaveRate", "0", &GameSettings::MinAniLeaveRate},
    {"Rates", "MaxAniLeaveRate", "0", &GameSettings::MaxAniLeaveRate},
    {"Rates", "NiceFrogRate", "-0.4", &GameSettings::NiceFrogRate},
    {"Rates", "BadFrogRate", "0.4", &GameSettings::BadFrogRate},
    {"Rates", "AppBadFrogRate", "0", &GameSettings::AppBadFrogRate},
    {"Rates", "FlyNumberRate", "0", &GameSettings::FlyNumberRate},
    {"Rates", "SunNumberRate", "0.2", &GameSettings::SunNumberRate},
    {"Rates", "IslandMeltRate", "300", &GameSettings::IslandMeltRate},
    {"Rates", "AgressionRate", "0.25", &GameSettings::AgressionRate},
    {"Rates", "LeaveDeclineRate", "-70", &GameSettings::LeaveDeclineRate},
};

// rate * level + base, in 32-bit floating point as the values are held, truncated toward zero.
int32_t Scaled(double level, float rate, int32_t base) {
    return TruncToInt(float(level) * rate + float(base));
}

int32_t SunsForLevel(int32_t level) {
    if (level <= 1) return 0;
    if (level == 2) return 1;
    return level <= 7 ? 2 : 3;
}

}  // namespace

std::span<const SettingsKey> SettingsKeys() {
    return kKeys;
}

GameSettings& TheGameSettings() {
    static GameSettings settings;
    return settings;
}

std::string SettingsFilePath() {
    return platform::ResolveDataPath("INI\\Quillmoss.ini");
}

void ReadSettings(GameSettings& settings) {
    IniFile file;
    file.Load(SettingsFilePath());
    ReadSettings(settings, file);
}

void ReadSettings(GameSettings& settings, const IniFile& file) {
    for (const KeySpec& entry : kKeys) {
        const std::string value = file.GetString(entry.section, entry.key, entry.defaultText);
        if (auto intField = std::get_if<int32_t GameSettings::*>(&entry.field))
            settings.*(*intField) = DecimalToInt(value);
        else
            settings.*std::get<float GameSettings::*>(entry.field) = DecimalToFloat(value);
    }
}

void DeriveLevelSettings(GameSettings& settings, int skill) {
    IniFile file;
    file.Load(SettingsFilePath());
    DeriveLevelSettings(settings, skill, file);
}

void DeriveLevelSettings(GameSettings& s, int skill, const IniFile& file) {
    ReadSettings(s, file);
    const double least = 4.5 * skill + s.levelNumber;
    if (s.difficultyLevel < least) s.difficultyLevel = TruncToInt(least);
    const double e = s.difficultyLevel;

    s.MinAniVelocLeav = std::max(Scaled(e, s.MinAniLeaveRate, s.MinAniVelocLeav), 800);
    s.MaxAniVelocLeav = std::max(Scaled(e, s.MaxAniLeaveRate, s.MaxAniVelocLeav), 1500);
    s.DeclineSuspendTime = std::max(Scaled(e, s.LeaveDeclineRate, s.DeclineSuspendTime), 1000);
    s.TimeAppOfBadFrog = Scaled(e, s.AppBadFrogRate, s.TimeAppOfBadFrog);
    s.activeFlyCount = std::max(Scaled(e, s.FlyNumberRate, s.FlyNumber), 2);
    s.activeSunCount = SunsForLevel(s.levelNumber);
    s.IslandMeltTime = std::max(Scaled(e - 1, s.IslandMeltRate, s.IslandMeltTime), 500);
    s.FramesForFrogLeap = std::min(Scaled(e, s.AgressionRate, s.FramesForFrogLeap), 9);
    // A difficulty below 1 only comes from a damaged saved level; ln would give no sensible chance.
    s.ChanceForLeap = e >= 1 ? TruncToInt(std::log(e) + 1) : 1;
}

int32_t StartLivesForSkill(const GameSettings& settings, int skill) {
    const int fewer = skill == 1 ? 2 : skill == 2 ? 4 : 0;
    return TruncToInt(double(settings.MaxFrogNumber) - fewer);
}
