// The saved game through the real game window on the headless platform: what a confirmed quit
// writes, what the next start continues, and what a damaged or foreign file cannot do.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"
#include "platform/ProgramPath.h"
#include "storage/DataFileCodec.h"
#include "storage/DataFilePath.h"
#include "game/SavedGame.h"
#include "storage/SavedState.h"
#include "storage/TScoresTable.h"
#include "tests/storage/FaultyFiles.h"
#include "tests/windows/ProgramFolder.h"
#include "tests/support/TempFolder.h"
#include "tools/replay/ReplaySession.h"
#include "ui/OText.h"

namespace {

namespace fs = std::filesystem;

struct Island {
    int32_t column, row, frame;
    bool operator==(const Island&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Island& i) {
    return os << "(" << i.column << "," << i.row << " f" << i.frame << ")";
}

std::vector<Island> Islands() {
    std::vector<Island> islands;
    for (int32_t i = 0; i < pond::IslandCount(); ++i) {
        const OLeave& island = *TheGameState().pond[static_cast<size_t>(i)];
        islands.push_back({island.CellX(), island.CellY(), island.Frame()});
    }
    return islands;
}

class SavedGameTest : public ::testing::Test {
  protected:
    void SetUp() override { ForgetSaveOfThisRunForTesting(); }
    void TearDown() override {
        session_.reset();
        ForgetSaveOfThisRunForTesting();
    }

    // A new run of the game: the last one ends first, and a new run may save again.
    ReplaySession& StartGame(uint32_t seed = 7) {
        session_.reset();
        ForgetSaveOfThisRunForTesting();
        session_ = std::make_unique<ReplaySession>(seed);
        EXPECT_TRUE(session_->Start());
        return *session_;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) session_->StepFrame();
    }
    // The player's yes in the quit dialog, as the frame step finds it.
    static void ConfirmQuit() {
        TheGameState().pendingDialog = kQuitOpen;
        TheGameState().dialogAnswer = kAnswerYes;
    }
    std::string StatePath() const { return program_.File("state.dat"); }
    std::string StateText(const std::string& path) const {
        std::string text;
        TScoresTable().LoadText(path, text);
        return text;
    }
    void WriteState(const std::string& text) { ASSERT_TRUE(TScoresTable().SaveText(StatePath(), text)); }

    ProgramFolder program_;
    std::unique_ptr<ReplaySession> session_;
};

// Six islands as the default settings make them, for texts written by hand.
std::string Text(std::vector<std::string> fields) {
    std::string text;
    for (const std::string& f : fields) text += f + "\t";
    return text;
}
const std::vector<std::string> kIslands = {"0", "0", "0", "2", "1", "3", "6", "4", "4",
                                           "0", "4", "5", "2", "3", "1", "4", "3", "6"};
std::vector<std::string> With(std::vector<std::string> head, std::vector<std::string> islands,
                              std::string lives) {
    head.insert(head.end(), islands.begin(), islands.end());
    head.push_back(lives);
    return head;
}

TEST_F(SavedGameTest, AQuitWithAutoSaveOnContinuesAtTheSameLevelScoreAndIslands) {
    StartGame();
    Frames(300);  // the leaves come out, the player's frog arrives
    GameState& g = TheGameState();
    g.autoSave = true;
    g.soundOn = false;
    g.skill = g.appliedSkill = 1;
    TheGameSettings().levelNumber = 3;
    g.score = 1250;
    g.levelPoints = 200;
    const std::vector<Island> islands = Islands();
    const int32_t lives = pond::LivingFrogs();
    ASSERT_EQ(islands.size(), 6u);
    ASSERT_GT(lives, 0);

    ConfirmQuit();
    Frames(1);
    EXPECT_TRUE(session_->Window()->IsStopping()) << "the window closes after the save";
    const std::string text = StateText(StatePath());
    EXPECT_EQ(text.substr(0, 17), "1\t0\t1\t3\t1250\t200\t");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 8 + 18);

    StartGame(99);
    EXPECT_TRUE(g.restored);
    EXPECT_EQ(g.skill, 1);
    EXPECT_EQ(g.appliedSkill, 1);
    EXPECT_FALSE(g.soundOn);
    EXPECT_TRUE(g.autoSave);
    EXPECT_EQ(TheGameSettings().levelNumber, 3);
    EXPECT_EQ(g.score, 1250);
    EXPECT_EQ(g.levelPoints, 200);
    EXPECT_EQ(pond::LivingFrogs(), lives);
    const std::vector<Island> restored = Islands();
    ASSERT_EQ(restored.size(), islands.size());
    for (size_t i = 0; i + 1 < islands.size(); ++i) EXPECT_EQ(restored[i], islands[i]) << i;
    EXPECT_EQ(restored.back().column, 4);
    EXPECT_EQ(restored.back().row, 3);
    Frames(10);
    EXPECT_EQ(g.skill, 1) << "no change of skill starts a new game";
    EXPECT_EQ(TheGameSettings().levelNumber, 3);
}

TEST_F(SavedGameTest, TheConfirmedQuitMetTwiceWritesOnce) {
    StartGame();
    TheGameState().autoSave = true;
    TheGameState().score = 100;
    ConfirmQuit();
    session_->Window()->RunFrame();  // saves and asks to close; the close is not handled yet
    TheGameState().score = 999;
    ConfirmQuit();
    session_->Window()->RunFrame();
    session_->Os().Pump();
    const std::string text = StateText(StatePath());
    EXPECT_EQ(text.substr(0, 12), "0\t1\t1\t1\t100\t");
}

// A start that continues the saved game says so for a few seconds of play (a pause holds the count);
// a fresh start says nothing.
TEST_F(SavedGameTest, AContinuedGameSaysSoForAFewSecondsOfPlayAndAFreshOneDoesNot) {
    const struct {
        const char* what;
        bool autoSave;
    } cases[] = {{"continued", true}, {"fresh", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartGame();
        Frames(300);
        TheGameState().autoSave = c.autoSave;
        ConfirmQuit();
        Frames(1);
        StartGame(99);
        const OText* notice = session_->Window()->SavedGameNotice();
        if (!c.autoSave) {
            EXPECT_EQ(notice, nullptr);
            continue;
        }
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(notice->GetText(), "Continuing your saved game");
        EXPECT_TRUE(notice->IsVisible());
        EXPECT_GE(notice->X(), 0);
        EXPECT_LE(notice->X() + notice->Width(), 650) << "over the pond, clear of the buttons";
        Frames(10);
        TheGameState().paused = true;
        Frames(500);
        EXPECT_TRUE(notice->IsVisible()) << "a pause holds the notice";
        TheGameState().paused = false;
        Frames(OGameWindow::kSavedNoticeSteps - 11);
        EXPECT_TRUE(notice->IsVisible()) << "one step of play before it goes";
        Frames(1);
        EXPECT_FALSE(notice->IsVisible());
    }
}

TEST_F(SavedGameTest, AutoSaveOffLeavesAnEmptyFileAndTheNextStartIsANewGame) {
    StartGame();
    TheGameState().score = 500;
    ConfirmQuit();
    Frames(1);
    EXPECT_EQ(fs::file_size(StatePath()), 12u);
    StartGame();
    EXPECT_FALSE(TheGameState().restored);
    EXPECT_FALSE(TheGameState().autoSave);
    EXPECT_EQ(TheGameState().score, 0);
}

TEST_F(SavedGameTest, OptionsReadFromTheFileAndAutoSaveOffWithoutOne) {
    struct Case {
        const char* what;
        std::optional<std::string> text;
        bool sound, autoSave;
    };
    const Case cases[] = {
        {"no file", std::nullopt, true, false},
        {"an empty file", "", true, false},
        {"sound off, AutoSave on", "0\t0\t1\t", false, true},
        {"any non-zero number is on", "0\t5\t-1\t", true, true},
        {"no number is off", "0\tx\t\t", false, false},
    };
    for (const Case& c : cases) {
        fs::remove(StatePath());
        if (c.text) WriteState(*c.text);
        StartGame();
        EXPECT_EQ(TheGameState().soundOn, c.sound) << c.what;
        EXPECT_EQ(TheGameState().autoSave, c.autoSave) << c.what;
        EXPECT_FALSE(TheGameState().restored) << c.what;
    }
}

// Saved with no frog left (a quit confirmed while the last one faded): the game had ended, so only
// the options come back, and the next start is a new game at level 1 with no score.
TEST_F(SavedGameTest, LivesZeroRestoresTheOptionsButNeitherTheLevelNorTheScore) {
    WriteState(Text(With({"2", "0", "1", "7", "4000", "30", "5"}, kIslands, "0")));
    StartGame();
    const GameState& g = TheGameState();
    EXPECT_FALSE(g.restored);
    EXPECT_EQ(g.skill, 2);
    EXPECT_FALSE(g.soundOn);
    EXPECT_TRUE(g.autoSave);
    EXPECT_EQ(TheGameSettings().levelNumber, 1);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(pond::LivingFrogs(), TheGameSettings().MaxFrogNumber - 4) << "a Master's new lives";
    EXPECT_NE(Islands()[1], (Island{2, 1, 3})) << "the islands are placed afresh";
}

TEST_F(SavedGameTest, ADamagedOrForeignFileNeverWrecksTheGame) {
    auto islandsWith = [](size_t field, const char* value, const char* next = nullptr) {
        std::vector<std::string> islands = kIslands;
        islands[field] = value;
        if (next) islands[field + 1] = next;
        return islands;
    };
    const std::vector<std::string> options = {"1", "1", "1", "4", "300", "20", "5"};
    struct Case {
        const char* what;
        std::string text;
    };
    // One case for each way the reader refuses a game; the reader's own tests go through every field.
    const Case cases[] = {
        {"skill 7", Text(With({"7", "1", "1", "4", "300", "20", "5"}, kIslands, "3"))},
        {"level INT_MAX", Text(With({"1", "1", "1", "2147483647", "300", "20", "5"}, kIslands, "3"))},
        {"an eleven-digit score", Text(With({"1", "1", "1", "4", "99999999999", "20", "5"}, kIslands, "3"))},
        {"column 100", Text(With(options, islandsWith(3, "100"), "3"))},
        {"two islands on one cell", Text(With(options, islandsWith(3, "0", "0"), "3"))},
        {"lives 20", Text(With(options, kIslands, "20"))},
        {"written for five islands", Text(With(options, {kIslands.begin(), kIslands.end() - 3}, "3"))},
        {"bytes of no text", std::string("\x01\xff\t\x80\t\t-\t+\t \t\x7f", 12)},
    };
    for (const Case& c : cases) {
        WriteState(c.text);
        StartGame();
        const GameState& g = TheGameState();
        EXPECT_FALSE(g.restored) << c.what;
        EXPECT_GE(g.skill, 0) << c.what;
        EXPECT_LE(g.skill, 2) << c.what;
        EXPECT_EQ(g.appliedSkill, g.skill) << c.what;
        EXPECT_GE(TheGameSettings().levelNumber, 1) << c.what;
        EXPECT_LE(TheGameSettings().levelNumber, kMaxSavedLevel) << c.what;
        EXPECT_GE(g.score, 0) << c.what;
        EXPECT_EQ(pond::LivingFrogs(), StartLivesForSkill(TheGameSettings(), g.skill)) << c.what;
        std::set<std::pair<int32_t, int32_t>> cells;
        for (const Island& island : Islands()) {
            EXPECT_TRUE(pond::InGrid(island.column, island.row)) << c.what;
            EXPECT_TRUE(cells.insert({island.column, island.row}).second) << c.what;
        }
        Frames(50);
        EXPECT_TRUE(OWindow::Exists(session_->Window())) << c.what;
    }
}

TEST_F(SavedGameTest, AnIslandTakenOutOfThePondStaysOutWhenContinued) {
    std::vector<std::string> islands = kIslands;
    islands[3] = islands[4] = "-1";
    WriteState(Text(With({"0", "1", "1", "2", "80", "10", "4"}, islands, "6")));
    StartGame();
    ASSERT_TRUE(TheGameState().restored);
    const OLeave& out = *TheGameState().pond[1];
    EXPECT_EQ(out.CellX(), -1);
    EXPECT_EQ(out.CellY(), -1);
    EXPECT_LT(out.X() + out.Width(), 0) << "out of sight, not at the window's corner";
    EXPECT_EQ(pond::CountIslands(), 4);
}

TEST_F(SavedGameTest, AReadOnlyProgramFolderSavesInTheDataFolderAndTheNextStartReadsIt) {
    SetProgramFolderWritableForTesting(false);
    TempFolder data;
    const char* old = getenv("XDG_DATA_HOME");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("XDG_DATA_HOME", data.Path().c_str(), 1);

    StartGame();
    TheGameState().autoSave = true;
    TheGameState().score = 4321;
    ConfirmQuit();
    Frames(1);
    EXPECT_FALSE(fs::exists(StatePath()));
    EXPECT_TRUE(fs::exists(data.Path() / "marshwade" / "state.dat"));
    StartGame();
    EXPECT_TRUE(TheGameState().restored);
    EXPECT_EQ(TheGameState().score, 4321);

    if (saved)
        setenv("XDG_DATA_HOME", saved->c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

class SavedGameFaultTest : public SavedGameTest,
                           public ::testing::WithParamInterface<faulty_files::FaultCase> {
  protected:
    void TearDown() override {
        SavedGameTest::TearDown();
        faulty_files::Undo(StatePath());
    }
};

TEST_P(SavedGameFaultTest, AStateFileThatCannotBeReadIsNotReplacedOnQuit) {
    using namespace faulty_files;
    const FaultCase& c = GetParam();
    if (const std::string why = Unavailable(c.fault); !why.empty()) GTEST_SKIP() << c.name << ": " << why;
    Make(c.fault, StatePath(),
         EncodeDataFile(Text(With({"1", "0", "1", "3", "1250", "200", "6"}, kIslands, "2"))));
    const std::string before = Snapshot(StatePath());

    testing::internal::CaptureStderr();
    StartGame();  // returns at once, whatever lies there
    EXPECT_FALSE(TheGameState().restored);
    TheGameState().autoSave = true;
    ConfirmQuit();
    Frames(1);
    EXPECT_TRUE(session_->Window()->IsStopping()) << "the game quits all the same";
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Snapshot(StatePath()), before);
    EXPECT_NE(err.find("state.dat: not saved"), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(Faults, SavedGameFaultTest, ::testing::ValuesIn(faulty_files::UnreadableCases()),
                         faulty_files::CaseName);

}  // namespace
