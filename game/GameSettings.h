#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "game/PlayBounds.h"

class IniFile;

// The tuning values of the pond, read from the optional settings file "INI\Quillmoss.ini" beside
// the program, plus the values derived from them for the current level and skill. Member names
// are the keys of the file, spelled as the file spells them (Flyes, AgressionRate).
//
// One process-wide record (TheGameSettings) is read and written by the game window's frame steps
// and input handlers only, under the window's lock.
struct GameSettings {
    // Every key at its default from kSettingsKeys, the derived values as below.
    GameSettings();

    // The keys of the file; the constructor gives each its default.
    // [Game]
    int32_t MaxIslandNumbers = 0;
    int32_t ScoreForBonus = 0;
    int32_t ScoreForChangeLevel = 0;
    // [Leaves]
    int32_t MaxLeavesPerScreen = 0;
    int32_t MinAniVelocLeav = 0;
    int32_t MaxAniVelocLeav = 0;
    int32_t DeclineSuspendTime = 0;
    int32_t IslandMeltTime = 0;
    int32_t TimeAppOfNewLeave = 0;
    // [Frogs]
    int32_t MaxFrogNumber = 0;
    int32_t MaxBadFrogNumber = 0;
    int32_t TimeAppOfBadFrog = 0;
    int32_t FrogVeloc = 0;
    int32_t FrogReincarnVeloc = 0;
    int32_t FramesForFrogLeap = 0;
    int32_t FramesEnoughForSitting = 0;
    int32_t TimeSuspendOnLeave = 0;
    int32_t FramesForIslandLeap = 0;
    int32_t DeadTimeExtend = 0;
    int32_t ChanceForLeap = 0;
    int32_t ChanceForFrame = 0;
    // [Flyes]
    int32_t FlyNumber = 0;
    int32_t SunNumber = 0;
    int32_t FlyVelocity = 0;
    int32_t FramesForFlyLeap = 0;
    // [Waves]
    int32_t FrameBeforeWaveApp = 0;
    // [Rates]
    float IslandRate = 0;
    float MinAniLeaveRate = 0;
    float MaxAniLeaveRate = 0;
    float NiceFrogRate = 0;
    float BadFrogRate = 0;
    float AppBadFrogRate = 0;
    float FlyNumberRate = 0;
    float SunNumberRate = 0;
    float IslandMeltRate = 0;
    float AgressionRate = 0;
    float LeaveDeclineRate = 0;

    // Derived values.
    int32_t levelNumber = 1;      // L, the level being played, 1 for the first
    int32_t difficultyLevel = 0;  // E, the level used for scaling: at least L plus the skill offset
    int32_t activeFlyCount = 0;
    int32_t activeSunCount = 0;
    int32_t startLives = 0;  // set by the game window when a skill is applied (StartLivesForSkill)
};

// One key of the settings file: where it is, the field it fills, its default (as text, so that it
// goes through the same conversion as a value from the file), what it does, and for the counts that
// decide how many objects the game makes, the range the game holds it to (play_bounds).
struct SettingsKey {
    const char* section;
    const char* key;
    const char* defaultText;
    std::variant<int32_t GameSettings::*, float GameSettings::*> field;
    const char* comment;
    int32_t low = 0;
    int32_t high = -1;                // below `low`: the key has no range
    const char* lowKey = nullptr;     // the key whose value (held to its own range) is the low bound
    constexpr bool HasRange() const { return high >= low; }
};

// Every key, in the order the file is read and the generated settings file lists them. The one home
// of the defaults, the comments and the ranges: the game, the tuning tool and the asset generator
// (which writes INI/Quillmoss.ini) all read them from here.
inline constexpr SettingsKey kSettingsKeys[] = {
    {"Game", "MaxIslandNumbers", "6", &GameSettings::MaxIslandNumbers,
     "islands placed at the start of each level",
     play_bounds::kMinIslands, play_bounds::kMaxIslands},
    {"Game", "ScoreForBonus", "10", &GameSettings::ScoreForBonus,
     "read, no effect on play"},
    {"Game", "ScoreForChangeLevel", "50", &GameSettings::ScoreForChangeLevel,
     "read, no effect on play"},
    {"Leaves", "MaxLeavesPerScreen", "35", &GameSettings::MaxLeavesPerScreen,
     "islands and leaves together per level, leaves coming up until this many are out",
     0, play_bounds::kMaxPondObjects, "MaxIslandNumbers"},
    {"Leaves", "MinAniVelocLeav", "800", &GameSettings::MinAniVelocLeav,
     "shortest time a sinking leaf shows each of its pictures, ms (scaled by MinAniLeaveRate)"},
    {"Leaves", "MaxAniVelocLeav", "1500", &GameSettings::MaxAniVelocLeav,
     "longest time a sinking leaf shows each of its pictures, ms (scaled by MaxAniLeaveRate)"},
    {"Leaves", "DeclineSuspendTime", "2000", &GameSettings::DeclineSuspendTime,
     "how long a fresh leaf rests fully open before it starts to sink, ms (scaled by LeaveDeclineRate)"},
    {"Leaves", "IslandMeltTime", "1000", &GameSettings::IslandMeltTime,
     "island sinking step time per place in the sinking order, ms (scaled by IslandMeltRate)"},
    {"Leaves", "TimeAppOfNewLeave", "200", &GameSettings::TimeAppOfNewLeave,
     "time between two new leaves coming up, ms"},
    {"Frogs", "MaxFrogNumber", "8", &GameSettings::MaxFrogNumber,
     "frogs (lives) kept by the game: start lives on Novice, 2 fewer on Expert, 4 fewer on Master",
     1, play_bounds::kMaxFrogs},
    {"Frogs", "MaxBadFrogNumber", "3", &GameSettings::MaxBadFrogNumber,
     "at most this many red frogs on the pond",
     0, play_bounds::kMaxRedFrogs},
    {"Frogs", "TimeAppOfBadFrog", "150", &GameSettings::TimeAppOfBadFrog,
     "frames between two red-frog arrivals (scaled by AppBadFrogRate)"},
    {"Frogs", "FrogVeloc", "80", &GameSettings::FrogVeloc,
     "read, no effect on play"},
    {"Frogs", "FrogReincarnVeloc", "80", &GameSettings::FrogReincarnVeloc,
     "read, no effect on play"},
    {"Frogs", "FramesForFrogLeap", "6", &GameSettings::FramesForFrogLeap,
     "a red frog leaves a leaf with this many pictures or fewer left (scaled by AgressionRate, at most 9)"},
    {"Frogs", "FramesEnoughForSitting", "5", &GameSettings::FramesEnoughForSitting,
     "a red frog only jumps to a leaf with more than this many pictures left"},
    {"Frogs", "TimeSuspendOnLeave", "300", &GameSettings::TimeSuspendOnLeave,
     "shortest stay of a red frog on a leaf, ms"},
    {"Frogs", "FramesForIslandLeap", "2", &GameSettings::FramesForIslandLeap,
     "read, no effect on play"},
    {"Frogs", "DeadTimeExtend", "300", &GameSettings::DeadTimeExtend,
     "frames the game stands still while a drowned frog fades out"},
    {"Frogs", "ChanceForLeap", "2", &GameSettings::ChanceForLeap,
     "replaced by a value derived from the difficulty level; this one has no effect"},
    {"Frogs", "ChanceForFrame", "3", &GameSettings::ChanceForFrame,
     "red-frog randomness of the moment it leaves a leaf"},
    {"Flyes", "FlyNumber", "6", &GameSettings::FlyNumber,
     "flies created; the number flying in a level starts here (scaled by FlyNumberRate, at least 2)",
     0, play_bounds::kMaxFlies},
    {"Flyes", "SunNumber", "3", &GameSettings::SunNumber,
     "suns created",
     0, play_bounds::kMaxSuns},
    {"Flyes", "FlyVelocity", "50", &GameSettings::FlyVelocity,
     "read, no effect on play"},
    {"Flyes", "FramesForFlyLeap", "3", &GameSettings::FramesForFlyLeap,
     "a fly takes off from a leaf with this many pictures or fewer left"},
    {"Waves", "FrameBeforeWaveApp", "1", &GameSettings::FrameBeforeWaveApp,
     "a ripple shows on a leaf with this many pictures plus one or fewer left"},
    {"Rates", "IslandRate", "0", &GameSettings::IslandRate,
     "read, no effect on play"},
    {"Rates", "MinAniLeaveRate", "0", &GameSettings::MinAniLeaveRate,
     "added per difficulty level to MinAniVelocLeav"},
    {"Rates", "MaxAniLeaveRate", "0", &GameSettings::MaxAniLeaveRate,
     "added per difficulty level to MaxAniVelocLeav"},
    {"Rates", "NiceFrogRate", "-0.4", &GameSettings::NiceFrogRate,
     "read, no effect on play"},
    {"Rates", "BadFrogRate", "0.4", &GameSettings::BadFrogRate,
     "read, no effect on play"},
    {"Rates", "AppBadFrogRate", "0", &GameSettings::AppBadFrogRate,
     "added per difficulty level to TimeAppOfBadFrog"},
    {"Rates", "FlyNumberRate", "0", &GameSettings::FlyNumberRate,
     "added per difficulty level to the number of flies flying"},
    {"Rates", "SunNumberRate", "0.2", &GameSettings::SunNumberRate,
     "read, no effect on play"},
    {"Rates", "IslandMeltRate", "300", &GameSettings::IslandMeltRate,
     "added per difficulty level above 1 to IslandMeltTime"},
    {"Rates", "AgressionRate", "0.25", &GameSettings::AgressionRate,
     "added per difficulty level to FramesForFrogLeap"},
    {"Rates", "LeaveDeclineRate", "-70", &GameSettings::LeaveDeclineRate,
     "added per difficulty level to DeclineSuspendTime"},
};

// The same keys as a span.
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
