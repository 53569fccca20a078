#include <gtest/gtest.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <variant>

#include "game/GameSettings.h"
#include "storage/IniFile.h"
#include "game/PlayBounds.h"
#include "platform/ProgramPath.h"
#include "tests/support/TempFolder.h"

namespace {

enum Skill { kNovice = 0, kExpert = 1, kMaster = 2 };

GameSettings Derived(int level, int skill, std::string_view ini = "") {
    IniFile file;
    file.LoadFromText(ini);
    GameSettings s;
    s.levelNumber = level;
    s.difficultyLevel = 0;
    DeriveLevelSettings(s, skill, file);
    return s;
}

TEST(GameSettingsTest, NoFileGivesEveryDefault) {
    GameSettings s;
    s.MaxIslandNumbers = s.FrogVeloc = -1;
    s.AgressionRate = s.NiceFrogRate = 99;
    ReadSettings(s, IniFile());
    const GameSettings defaults;
    EXPECT_EQ(s.MaxIslandNumbers, 6);
    EXPECT_EQ(s.MaxLeavesPerScreen, 35);
    EXPECT_EQ(s.FrogVeloc, 80);
    EXPECT_FLOAT_EQ(s.AgressionRate, 0.25f);
    EXPECT_FLOAT_EQ(s.NiceFrogRate, -0.4f);
    EXPECT_EQ(std::memcmp(&s, &defaults, offsetof(GameSettings, levelNumber)), 0)
        << "every key read equals the documented default";
    EXPECT_EQ(StartLivesForSkill(s, kNovice), 8);
    EXPECT_EQ(StartLivesForSkill(s, kExpert), 6);
    EXPECT_EQ(StartLivesForSkill(s, kMaster), 4);
}

TEST(GameSettingsTest, NoviceAtLevelOne) {
    GameSettings s = Derived(1, kNovice);
    EXPECT_EQ(s.difficultyLevel, 1);
    EXPECT_EQ(s.DeclineSuspendTime, 1930);
    EXPECT_EQ(s.IslandMeltTime, 1000);
    EXPECT_EQ(s.FramesForFrogLeap, 6);
    EXPECT_EQ(s.ChanceForLeap, 1);
    EXPECT_EQ(s.activeFlyCount, 6);
    EXPECT_EQ(s.activeSunCount, 0);
    EXPECT_EQ(s.MinAniVelocLeav, 800);
    EXPECT_EQ(s.MaxAniVelocLeav, 1500);
    EXPECT_EQ(s.TimeAppOfBadFrog, 150);
}

TEST(GameSettingsTest, ExpertAndMasterAtLevelOne) {
    GameSettings expert = Derived(1, kExpert);
    EXPECT_EQ(expert.difficultyLevel, 5);
    EXPECT_EQ(expert.DeclineSuspendTime, 1650);
    EXPECT_EQ(expert.IslandMeltTime, 2200);
    EXPECT_EQ(expert.FramesForFrogLeap, 7);
    EXPECT_EQ(expert.ChanceForLeap, 2);

    GameSettings master = Derived(1, kMaster);
    EXPECT_EQ(master.difficultyLevel, 10);
    EXPECT_EQ(master.DeclineSuspendTime, 1300);
    EXPECT_EQ(master.IslandMeltTime, 3700);
    EXPECT_EQ(master.FramesForFrogLeap, 8);
    EXPECT_EQ(master.ChanceForLeap, 3);
}

TEST(GameSettingsTest, SunsFollowTheLevelWhateverTheSkill) {
    const std::pair<int, int> levelSuns[] = {{1, 0}, {2, 1}, {3, 2}, {7, 2}, {8, 3}, {40, 3}};
    for (int skill : {kNovice, kExpert, kMaster})
        for (auto [level, suns] : levelSuns) EXPECT_EQ(Derived(level, skill).activeSunCount, suns) << level;
}

TEST(GameSettingsTest, ScalingFollowsTheDifficultyLevel) {
    const std::pair<int, int> leapByLevel[] = {{3, 6}, {4, 7}, {7, 7}, {8, 8}, {12, 9}, {50, 9}};
    for (auto [e, leap] : leapByLevel) EXPECT_EQ(Derived(e, kNovice).FramesForFrogLeap, leap) << e;
    const std::pair<int, int> chanceByLevel[] = {{2, 1}, {3, 2}, {7, 2}, {8, 3}, {20, 3}, {21, 4}, {54, 4}};
    for (auto [e, chance] : chanceByLevel) EXPECT_EQ(Derived(e, kNovice).ChanceForLeap, chance) << e;
    EXPECT_EQ(Derived(14, kNovice).DeclineSuspendTime, 1020);
    EXPECT_EQ(Derived(15, kNovice).DeclineSuspendTime, 1000);
    EXPECT_EQ(Derived(30, kNovice).DeclineSuspendTime, 1000);
}

TEST(GameSettingsTest, BoundsApplyToValuesFromTheFile) {
    GameSettings s = Derived(1, kNovice,
                             "[Leaves]\nMinAniVelocLeav=500\nMaxAniVelocLeav=1000\nIslandMeltTime=100\n"
                             "[Rates]\nAgressionRate=5\nIslandMeltRate=0\n[Flyes]\nFlyNumber=1\n");
    EXPECT_EQ(s.MinAniVelocLeav, 800);
    EXPECT_EQ(s.MaxAniVelocLeav, 1500);
    EXPECT_EQ(s.FramesForFrogLeap, 9);
    EXPECT_EQ(s.IslandMeltTime, 500);
    EXPECT_EQ(s.activeFlyCount, 2);
}

TEST(GameSettingsTest, RatesFromTheFileScaleByDifficulty) {
    GameSettings s = Derived(2, kNovice,
                             "[Rates]\nMinAniLeaveRate=100\nMaxAniLeaveRate=-50.5\nAppBadFrogRate=-200\n"
                             "FlyNumberRate=1.5\n");
    EXPECT_EQ(s.MinAniVelocLeav, 1000);
    EXPECT_EQ(s.MaxAniVelocLeav, 1500) << "1399 is raised to the bound";
    EXPECT_EQ(s.TimeAppOfBadFrog, -250) << "no bound";
    EXPECT_EQ(s.activeFlyCount, 9);
}

TEST(GameSettingsTest, DerivingAgainDoesNotCompoundAndDifficultyNeverFalls) {
    IniFile file;
    GameSettings s;
    s.levelNumber = 3;
    DeriveLevelSettings(s, kExpert, file);
    const GameSettings first = s;
    DeriveLevelSettings(s, kExpert, file);
    EXPECT_EQ(s.DeclineSuspendTime, first.DeclineSuspendTime);
    EXPECT_EQ(s.IslandMeltTime, first.IslandMeltTime);
    EXPECT_EQ(s.FramesForFrogLeap, first.FramesForFrogLeap);

    s.difficultyLevel = 20;
    DeriveLevelSettings(s, kNovice, file);
    EXPECT_EQ(s.difficultyLevel, 20);
    EXPECT_EQ(s.ChanceForLeap, 3);
}

TEST(GameSettingsTest, BadNumbersReadAsTheConversionGives) {
    GameSettings s;
    IniFile file;
    file.LoadFromText(
        "[Game]\nMaxIslandNumbers=12abc\nScoreForBonus=abc\n[Rates]\nNiceFrogRate=-2.5\n"
        "BadFrogRate=x\n[Frogs]\nChanceForLeap=99\n");
    ReadSettings(s, file);
    EXPECT_EQ(s.MaxIslandNumbers, 12);
    EXPECT_EQ(s.ScoreForBonus, 0);
    EXPECT_FLOAT_EQ(s.NiceFrogRate, -2.5f);
    EXPECT_FLOAT_EQ(s.BadFrogRate, 0.0f);
    DeriveLevelSettings(s, kNovice, file);
    EXPECT_EQ(s.ChanceForLeap, 1) << "the file's value is replaced";
}

TEST(GameSettingsTest, SectionAndKeySpellingsAreTheFilesOwn) {
    GameSettings s;
    IniFile file;
    file.LoadFromText("[Flies]\nFlyNumber=1\n[Flyes]\nSunNumber=9\n[Rates]\nAggressionRate=7\n");
    ReadSettings(s, file);
    EXPECT_EQ(s.FlyNumber, 6);
    EXPECT_EQ(s.SunNumber, 9);
    EXPECT_FLOAT_EQ(s.AgressionRate, 0.25f);
}

TEST(GameSettingsTest, ExtremeValuesStayWithinTheBounds) {
    GameSettings s = Derived(2147483647, kMaster,
                             "[Rates]\nAgressionRate=1e30\nLeaveDeclineRate=-1e30\nIslandMeltRate=1e999\n"
                             "[Frogs]\nMaxFrogNumber=-2147483648\n");
    EXPECT_EQ(s.FramesForFrogLeap, 9);
    EXPECT_EQ(s.DeclineSuspendTime, 1000);
    EXPECT_EQ(s.IslandMeltTime, 2147483647);
    EXPECT_EQ(StartLivesForSkill(s, kMaster), -2147483647 - 1);
    EXPECT_EQ(Derived(0, kNovice).ChanceForLeap, 1) << "no logarithm of zero";
    EXPECT_EQ(Derived(-5, kNovice).ChanceForLeap, 1);
}

TEST(GameSettingsTest, TheFileIsFoundBesideTheProgramWhateverTheCurrentFolder) {
    namespace fs = std::filesystem;
    const TempFolder temp("marshwade-ini");
    ASSERT_FALSE(temp.Path().empty());
    const fs::path folder = temp.Path();
    fs::create_directory(folder / "INI");
    std::ofstream(folder / "INI" / "Quillmoss.ini") << "[Game]\r\nMaxIslandNumbers = 4\r\n";
    const std::string savedProgram = platform::ProgramDirectory();
    const fs::path savedCurrent = fs::current_path();
    platform::SetProgramDirectoryForTesting(folder.string());
    fs::current_path(fs::temp_directory_path());

    GameSettings s;
    DeriveLevelSettings(s, kNovice);
    EXPECT_EQ(s.MaxIslandNumbers, 4);
    EXPECT_EQ(SettingsFilePath(), (folder / "INI" / "Quillmoss.ini").string());

    fs::current_path(savedCurrent);
    platform::SetProgramDirectoryForTesting(savedProgram);
}

}  // namespace

// The table is the settings' one home: every key fills a field of its own, and together they fill
// every key field of the record (a field left out would silently keep 0).
TEST(GameSettingsTableTest, EveryKeyFillsItsOwnFieldAndEveryFieldHasAKey) {
    const GameSettings s;
    std::set<size_t> offsets;
    for (const SettingsKey& k : SettingsKeys()) {
        const char* field = std::visit(
            [&](auto member) { return reinterpret_cast<const char*>(&(s.*member)); }, k.field);
        EXPECT_TRUE(offsets.insert(static_cast<size_t>(field - reinterpret_cast<const char*>(&s))).second)
            << k.key << " fills a field another key fills";
    }
    EXPECT_EQ(offsets.size() * sizeof(int32_t), offsetof(GameSettings, levelNumber));
}

// The range the table gives a key (and the generated file prints) is the one the game holds it to:
// a value one past either end is taken as that end, a value at either end as it is.
TEST(GameSettingsTableTest, TheGameHoldsEachCountToTheRangeItsKeyGives) {
    for (const SettingsKey& k : SettingsKeys()) {
        if (!k.HasRange()) continue;
        GameSettings s;
        const int32_t low = k.lowKey ? play_bounds::kMinIslands : k.low;
        if (k.lowKey) s.MaxIslandNumbers = play_bounds::kMinIslands;
        int32_t& value = s.*std::get<int32_t GameSettings::*>(k.field);
        const struct {
            int32_t given, used;
        } cases[] = {{low - 1, low}, {low, low}, {k.high, k.high}, {k.high + 1, k.high}};
        for (const auto& c : cases) {
            value = c.given;
            GameSettings held = s;
            play_bounds::Apply(held);
            EXPECT_EQ(held.*std::get<int32_t GameSettings::*>(k.field), c.used) << k.key << "=" << c.given;
        }
    }
}
