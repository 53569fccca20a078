#include "game/GameSettings.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "storage/IniFile.h"
#include "storage/NumberText.h"
#include "platform/ProgramPath.h"

namespace {

using KeySpec = SettingsKey;

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

GameSettings::GameSettings() {
    ReadSettings(*this, IniFile{});
}

std::span<const SettingsKey> SettingsKeys() {
    return kSettingsKeys;
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
    for (const KeySpec& entry : kSettingsKeys) {
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
