// The state text: what the game writes, and how a text read back is checked before any number of it
// reaches the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "storage/SavedState.h"

namespace {

// Six islands, the entry island last, on the 8 x 6 grid; island clips of 11 frames; eight frogs.
StateLimits Limits() {
    StateLimits limits;
    limits.islandCount = 6;
    limits.islandFrames = 11;
    limits.frogCount = 8;
    return limits;
}

SavedState Game() {
    SavedState s;
    s.skill = 1;
    s.soundOn = false;
    s.autoSave = true;
    s.levelNumber = 3;
    s.score = 1250;
    s.levelPoints = 200;
    s.islandsLeft = 4;
    s.islands = {{0, 0, 0}, {2, 1, 3}, {6, 4, 10}, {kOffGrid, kOffGrid, 5}, {3, 0, 1}, {4, 3, 6}};
    s.lives = 5;
    return s;
}

TEST(SavedStateTest, TextOfAnExpertGameWithSoundOffAtLevelThree) {
    EXPECT_EQ(StateText(Game()),
              "1\t0\t1\t3\t1250\t200\t4\t"
              "0\t0\t0\t2\t1\t3\t6\t4\t10\t-1\t-1\t5\t3\t0\t1\t4\t3\t6\t"
              "5\t");
}

TEST(SavedStateTest, AWrittenGameReadsBackWhole) {
    const ReadStateResult read = ReadStateText(StateText(Game()), Limits());
    ASSERT_TRUE(read.Restorable());
    EXPECT_EQ(read.skill, 1);
    EXPECT_EQ(read.soundOn, false);
    EXPECT_EQ(read.autoSave, true);
    EXPECT_EQ(read.levelNumber, 3);
    EXPECT_EQ(read.score, 1250);
    EXPECT_EQ(read.levelPoints, 200);
    EXPECT_EQ(read.islands, Game().islands);
    EXPECT_EQ(read.lives, 5);
}

TEST(SavedStateTest, TheEntryIslandGoesBackToWhereTheFrogsArrive) {
    for (SavedIsland entry : {SavedIsland{6, 0, 2}, SavedIsland{kOffGrid, kOffGrid, 2}}) {
        SavedState s = Game();
        s.islands.back() = entry;
        const ReadStateResult read = ReadStateText(StateText(s), Limits());
        EXPECT_TRUE(read.Restorable());
        EXPECT_EQ(read.islands.back(), (SavedIsland{kEntryColumn, kEntryRow, 2}));
    }
}

TEST(SavedStateTest, EmptyLeadingFieldsLeaveTheGamesValues) {
    const ReadStateResult read = ReadStateText("\t\t\t\t\t\t\t", Limits());
    EXPECT_FALSE(read.skill);
    EXPECT_FALSE(read.soundOn);
    EXPECT_FALSE(read.autoSave);
    EXPECT_FALSE(read.levelNumber);
    EXPECT_FALSE(read.score);
    EXPECT_FALSE(read.levelPoints);
    EXPECT_TRUE(read.progressValid);
    EXPECT_FALSE(read.Restorable()) << "no islands and no lives";
}

// What one damaged field does: whether the options and the progress are still usable, and that the
// game is not continued.
struct Damage {
    const char* what;
    std::function<void(SavedState&)> change;
    bool skillValid, progressValid, islandsValid, livesValid;
};

TEST(SavedStateTest, DamagedFieldsNeverReachTheGame) {
    const Damage cases[] = {
        {"skill 7", [](SavedState& s) { s.skill = 7; }, false, true, true, true},
        {"skill -1", [](SavedState& s) { s.skill = -1; }, false, true, true, true},
        {"skill INT_MAX", [](SavedState& s) { s.skill = 2147483647; }, false, true, true, true},
        {"lives 0: the game had ended", [](SavedState& s) { s.lives = 0; }, true, false, true, false},
        {"lives 20", [](SavedState& s) { s.lives = 20; }, true, true, true, false},
        {"lives -3", [](SavedState& s) { s.lives = -3; }, true, true, true, false},
        {"level 0", [](SavedState& s) { s.levelNumber = 0; }, true, false, true, true},
        {"level 1000", [](SavedState& s) { s.levelNumber = 1000; }, true, false, true, true},
        {"level INT_MAX", [](SavedState& s) { s.levelNumber = 2147483647; }, true, false, true, true},
        {"score -1", [](SavedState& s) { s.score = -1; }, true, false, true, true},
        {"score 1000000", [](SavedState& s) { s.score = 1000000; }, true, false, true, true},
        {"level points INT_MAX", [](SavedState& s) { s.levelPoints = 2147483647; }, true, false, true, true},
        {"a score of eleven digits", [](SavedState& s) { s.score = -2147483647 - 1; }, true, false, true,
         true},
        {"column 100", [](SavedState& s) { s.islands[1].column = 100; }, true, true, false, true},
        {"column 8", [](SavedState& s) { s.islands[1].column = 8; }, true, true, false, true},
        {"row 6", [](SavedState& s) { s.islands[2].row = 6; }, true, true, false, true},
        {"row -7", [](SavedState& s) { s.islands[2].row = -7; }, true, true, false, true},
        {"half off the grid",
         [](SavedState& s) {
             s.islands[0] = {kOffGrid, 2, 0};
         },
         true, true, false, true},
        {"entry island at column 100", [](SavedState& s) { s.islands[5].column = 100; }, true, true, false,
         true},
        {"frame past the clip", [](SavedState& s) { s.islands[0].frame = 11; }, true, true, false, true},
        {"frame -1", [](SavedState& s) { s.islands[3].frame = -1; }, true, true, false, true},
        {"two islands on one cell",
         [](SavedState& s) {
             s.islands[1] = {6, 4, 0};
         },
         true, true, false, true},
        {"an island on the entry cell",
         [](SavedState& s) {
             s.islands[0] = {4, 3, 0};
         },
         true, true, false, true},
    };
    for (const Damage& d : cases) {
        SavedState s = Game();
        d.change(s);
        const ReadStateResult read = ReadStateText(StateText(s), Limits());
        EXPECT_EQ(read.skillValid, d.skillValid) << d.what;
        EXPECT_EQ(read.progressValid, d.progressValid) << d.what;
        EXPECT_EQ(read.islandsValid, d.islandsValid) << d.what;
        EXPECT_EQ(read.livesValid, d.livesValid) << d.what;
        EXPECT_FALSE(read.Restorable()) << d.what;
        if (!d.skillValid) {
            EXPECT_EQ(read.skill, 0) << d.what << ": Novice";
        }
    }
}

TEST(SavedStateTest, AnEmptyIslandFieldTakesThePreviousIslandsValue) {
    SavedState s = Game();
    std::string text = StateText(s);
    // Island 2's row (the 15th field) left empty: it takes island 1's row 1, so it stands on (6, 1).
    size_t at = 0;
    for (int field = 0; field < 14; ++field) at = text.find('\t', at) + 1;
    text.erase(at, text.find('\t', at) - at);
    const ReadStateResult read = ReadStateText(text, Limits());
    EXPECT_TRUE(read.Restorable());
    EXPECT_EQ(read.islands[2], (SavedIsland{6, 1, 10}));

    // The first island has no island before it: its layout is spoiled.
    const std::string options = "1\t0\t1\t3\t1250\t200\t4\t";
    std::string first = StateText(s);
    ASSERT_EQ(first.substr(0, options.size() + 2), options + "0\t");
    first.erase(options.size(), 1);
    EXPECT_FALSE(ReadStateText(first, Limits()).islandsValid);
}

TEST(SavedStateTest, AFileForAnotherNumberOfIslandsIsNotContinued) {
    // Written with six islands; the settings now ask for five, then for seven. Read as five, the
    // lives would be the last island's frame, which looks like a fine number of lives.
    const std::string text = StateText(Game());
    for (int32_t islands : {5, 7}) {
        StateLimits limits = Limits();
        limits.islandCount = islands;
        EXPECT_FALSE(ReadStateText(text, limits).fieldCountMatches) << islands;
        EXPECT_FALSE(ReadStateText(text, limits).Restorable()) << islands;
    }
    EXPECT_FALSE(ReadStateText(text + "junk", Limits()).fieldCountMatches);
    EXPECT_FALSE(ReadStateText(text.substr(0, text.size() - 1), Limits()).fieldCountMatches);
}

}  // namespace
