#include "tools/tuning/TuningTable.h"

#include <charconv>
#include <ostream>
#include <string>

#include "game/GameSettings.h"
#include "storage/IniFile.h"
#include "game/PlayBounds.h"

namespace {

constexpr int kLevels = 25;

// The shortest text that reads back as the same float.
std::string FloatText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void WriteRead(const GameSettings& s, std::ostream& out) {
    for (const SettingsKey& k : SettingsKeys()) {
        out << "read " << k.section << ' ' << k.key << ' ';
        if (auto intField = std::get_if<int32_t GameSettings::*>(&k.field)) {
            out << s.*(*intField);
        } else {
            out << FloatText(s.*std::get<float GameSettings::*>(k.field));
        }
        out << '\n';
    }
}

// A new game at `skill`: level and difficulty start at 0 and every level raises both by one before
// the settings are derived, as the game's level advance does.
void WriteSkill(const IniFile& file, int skill, std::ostream& out) {
    GameSettings s;
    s.levelNumber = 0;
    s.difficultyLevel = 0;
    for (int level = 1; level <= kLevels; ++level) {
        ++s.levelNumber;
        ++s.difficultyLevel;
        DeriveLevelSettings(s, skill, file);
        out << skill << ' ' << s.levelNumber << ' ' << s.difficultyLevel << ' ' << s.MinAniVelocLeav << ' '
            << s.MaxAniVelocLeav << ' ' << s.DeclineSuspendTime << ' ' << s.TimeAppOfBadFrog << ' '
            << s.activeFlyCount << ' ' << s.activeSunCount << ' ' << s.IslandMeltTime << ' '
            << s.FramesForFrogLeap << ' ' << s.ChanceForLeap << ' ' << StartLivesForSkill(s, skill) << '\n';
    }
}

}  // namespace

void WriteTuningTable(const IniFile& file, std::ostream& out) {
    GameSettings read;
    ReadSettings(read, file);
    WriteRead(read, out);
    out << "# skill level difficulty MinAniVelocLeav MaxAniVelocLeav DeclineSuspendTime TimeAppOfBadFrog "
           "flies suns IslandMeltTime FramesForFrogLeap ChanceForLeap lives\n";
    for (int skill = 0; skill <= 2; ++skill) WriteSkill(file, skill, out);
    const auto clamps = play_bounds::ClampsFor(read);
    if (clamps.empty()) {
        out << "# the game plays every value as read\n";
        return;
    }
    out << "# the game holds";
    for (size_t i = 0; i < clamps.size(); ++i)
        out << (i ? "," : "") << ' ' << clamps[i].key << ' ' << clamps[i].read << " to " << clamps[i].used;
    out << '\n';
}
