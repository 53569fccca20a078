#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <variant>

class IniFile;

// The tuning values of the pond, read from the optional settings file "INI\Quillmoss.ini" beside
// the program, plus the values derived from them for the current level and skill. Member names
// are the keys of the file, spelled as the file spells them (Flyes, AgressionRate).
//
// One process-wide record (TheGameSettings) is read and written by the game window's frame steps
// and input handlers only, under the window's lock.
struct GameSettings {
    // [Game]
    int32_t MaxIslandNumbers = 6;
    int32_t ScoreForBonus = 10;
    int32_t ScoreForChangeLevel = 50;
    // [Leaves]
    int32_t MaxLeavesPerScreen = 35;
    int32_t MinAniVelocLeav = 800;
    int32_t MaxAniVelocLeav = 1500;
    int32_t DeclineSuspendTime = 2000;
    int32_t IslandMeltTime = 1000;
    int32_t TimeAppOfNewLeave = 200;
    // [Frogs]
    int32_t MaxFrogNumber = 8;
    int32_t MaxBadFrogNumber = 3;
    int32_t TimeAppOfBadFrog = 150;
    int32_t FrogVeloc = 80;
    int32_t FrogReincarnVeloc = 80;
    int32_t FramesForFrogLeap = 6;
    int32_t FramesEnoughForSitting = 5;
    int32_t TimeSuspendOnLeave = 300;
    int32_t FramesForIslandLeap = 2;
    int32_t DeadTimeExtend = 300;
    int32_t ChanceForLeap = 2;
    int32_t ChanceForFrame = 3;
    // [Flyes]
    int32_t FlyNumber = 6;
    int32_t SunNumber = 3;
    int32_t FlyVelocity = 50;
    int32_t FramesForFlyLeap = 3;
    // [Waves]
    int32_t FrameBeforeWaveApp = 1;
    // [Rates]
    float IslandRate = 0.0f;
    float MinAniLeaveRate = 0.0f;
    float MaxAniLeaveRate = 0.0f;
    float NiceFrogRate = -0.4f;
    float BadFrogRate = 0.4f;
    float AppBadFrogRate = 0.0f;
    float FlyNumberRate = 0.0f;
    float SunNumberRate = 0.2f;
    float IslandMeltRate = 300.0f;
    float AgressionRate = 0.25f;
    float LeaveDeclineRate = -70.0f;

    // Derived values.
    int32_t levelNumber = 1;      // L, the level being played, 1 for the first
    int32_t difficultyLevel = 0;  // E, the level used for scaling: at least L plus the skill offset
    int32_t activeFlyCount = 0;
    int32_t activeSunCount = 0;
    int32_t startLives = 0;  // set by the game window when a skill is applied (StartLivesForSkill)
};

// One key of the settings file and the field it fills.
struct SettingsKey {
    const char* section;
    const char* key;
    const char* defaultText;
    std::variant<int32_t GameSettings::*, float GameSettings::*> field;
};

// Every key, in the order the file is read.
std::span<const SettingsKey> SettingsKeys();

// The process-wide record.
GameSettings& TheGameSettings();

// "INI\Quillmoss.ini" beside the program file, whatever the current directory.
std::string SettingsFilePath();

// Sets every key from the file (or the given content), its default where the file, the section or
// the key is absent. A value that is no number silently becomes 0. The derived values are kept.
void ReadSettings(GameSettings& settings);
void ReadSettings(GameSettings& settings, const IniFile& file);

// Reads the settings again, then scales them for levelNumber and skill (0 Novice, 1 Expert,
// 2 Master). Reading first means the scaling never compounds from one call to the next.
void DeriveLevelSettings(GameSettings& settings, int skill);
void DeriveLevelSettings(GameSettings& settings, int skill, const IniFile& file);

// Frogs a new game begins with: MaxFrogNumber on Novice, 2 fewer on Expert, 4 fewer on Master
// (MaxFrogNumber itself for any other skill value).
int32_t StartLivesForSkill(const GameSettings& settings, int skill);
