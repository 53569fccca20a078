// The score windows and the saved game in the real game on a private X server: the last frog lost, a
// name typed into the enter-name window and the name in the Top 10 table; a quit with AutoSave on and
// the next start continuing at the same level, score and islands.
#include "XvfbSession.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <filesystem>
#include <fstream>

#include "storage/SavedState.h"
#include "storage/TScoresTable.h"

namespace {

using namespace std::chrono_literals;
using e2e::Ppm;
using e2e::Spawn;
using e2e::WaitFor;
namespace fs = std::filesystem;

// One frog, no leaves (the islands are all the pond holds), no red frogs, flies or suns, and a short
// fade: a hop off the entry island drowns the only frog at once, and nothing else happens meanwhile.
constexpr const char* kOneFrogNoLeaves =
    "[Leaves]\nMaxLeavesPerScreen=6\n"
    "[Frogs]\nMaxFrogNumber=1\nMaxBadFrogNumber=0\nDeadTimeExtend=10\n"
    "[Flyes]\nFlyNumber=0\nSunNumber=0\n";

using ScoresE2E = e2e::XvfbTest;
using e2e::PrivateGame;
using e2e::Same;

TEST_F(ScoresE2E, LoseEveryFrogTypeANameAndSeeItInTheTable) {
    PrivateGame game(kOneFrogNoLeaves);
    app = Spawn({game.Program()}, {"DISPLAY=" + display, "MARSHWADE_SEED=3", "SDL_AUDIODRIVER=dummy"});
    ASSERT_GT(app, 0);
    Window win = WaitForWindow("Marshwade");
    ASSERT_NE(win, 0u) << "the game window did not appear";
    const auto [gx, gy] = Settled(win);

    // The frog arrives on the entry island; once it rests there, Up hops it into open water. Keys
    // given while it is still on its way are ignored, so Up is pressed until the game is over.
    Window dialog = 0;
    for (int i = 0; i < 40 && !dialog; ++i) {
        ASSERT_TRUE(Xdo({"key", "--window", std::to_string(win), "Up"}));
        std::this_thread::sleep_for(500ms);
        dialog = e2e::FindByName(x, DefaultRootWindow(x), "Dialog window");
    }
    ASSERT_NE(dialog, 0u) << "the enter-name window did not appear";
    dialog = WaitForWindow("Dialog window");
    const auto [dx, dy] = Settled(dialog);
    EXPECT_EQ(dx, gx + (750 - 280) / 2) << "centred over the game";
    EXPECT_EQ(dy, gy + (550 - 280) / 2);
    Shot("e2e_scores_name_offered");

    // Into the name field (under the texts), the offered name deleted, a name typed, then Yes.
    ASSERT_TRUE(ClickAt(dx + 140, dy + 157));
    ASSERT_TRUE(Xdo({"key", "End"}));
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(Xdo({"key", "BackSpace"}));
    ASSERT_TRUE(Xdo({"type", "Zoe"}));
    std::this_thread::sleep_for(300ms);
    Shot("e2e_scores_name_typed");
    ASSERT_TRUE(ClickAt(dx + 140 - 10 - 45, dy + 280 - 10 - 17));
    for (int i = 0; i < 100 && e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"); ++i)
        std::this_thread::sleep_for(50ms);
    ASSERT_EQ(e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"), 0u) << "the name window stayed";

    TScoresTable table;
    table.LoadTable(game.File("table.dat"));
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records.begin()->second.name, "Zoe");
    EXPECT_EQ(table.records.begin()->second.skill, "1");

    // Top 10 (the third panel button) shows the result in its first row.
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(ClickAt(gx + 750 - 2 - 46, gy + 30 + 45 + 30 + 15));
    Window scores = WaitForWindow("Dialog window");
    ASSERT_NE(scores, 0u) << "the score table did not appear";
    const auto [sx, sy] = Settled(scores);
    std::this_thread::sleep_for(300ms);
    const Ppm shot = Shot("e2e_scores_table");
    // Rows are 38 pixels apart from y 47; the name cells 200 wide at x 25. Row 0 holds the name, rows
    // 1 and 2 are empty alike.
    const int cellX = sx + 25 + 8, w = 180, h = 30;
    auto rowY = [sy](int row) { return sy + 47 + 38 * row + 5; };
    EXPECT_TRUE(Same(shot, cellX, rowY(1), cellX, rowY(2), w, h)) << "rows 1 and 2 should both be empty";
    EXPECT_FALSE(Same(shot, cellX, rowY(0), cellX, rowY(1), w, h)) << "row 0 should show the name";

    // A click on an empty part of the window gives it the keyboard, then Escape closes it.
    ASSERT_TRUE(ClickAt(sx + 177, sy + 470));
    ASSERT_TRUE(Xdo({"key", "Escape"}));
    for (int i = 0; i < 100 && e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"); ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_EQ(e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"), 0u)
        << "Escape did not close the table";
}

TEST_F(ScoresE2E, AResultThatCannotBeRecordedIsSaidInTheNameWindowAndTheTableStays) {
    PrivateGame game(kOneFrogNoLeaves);
    fs::create_directory(game.File("table.dat"));  // there, but not a file the game can read
    app = Spawn({game.Program()}, {"DISPLAY=" + display, "MARSHWADE_SEED=3", "SDL_AUDIODRIVER=dummy"});
    ASSERT_GT(app, 0);
    Window win = WaitForWindow("Marshwade");
    ASSERT_NE(win, 0u) << "the game window did not appear";
    Settled(win);
    Window dialog = 0;
    for (int i = 0; i < 40 && !dialog; ++i) {
        ASSERT_TRUE(Xdo({"key", "--window", std::to_string(win), "Up"}));
        std::this_thread::sleep_for(500ms);
        dialog = e2e::FindByName(x, DefaultRootWindow(x), "Dialog window");
    }
    ASSERT_NE(dialog, 0u) << "the enter-name window did not appear";
    dialog = WaitForWindow("Dialog window");
    const auto [dx, dy] = Settled(dialog);
    const Ppm asked = Shot("e2e_scores_name_asked");
    // Dark red pixels of the note's two lines, between the name field (to y 176) and the buttons
    // (from y 236); the window has none there before.
    auto notePixels = [&](const Ppm& shot) {
        int count = 0;
        for (int py = dy + 178; py < dy + 234; ++py)
            for (int px = dx + 10; px < dx + 270; ++px) {
                const auto [r, g, b] = shot.At(px, py);
                count += r > 80 && g < 40 && b < 60;
            }
        return count;
    };
    EXPECT_EQ(notePixels(asked), 0);

    ASSERT_TRUE(ClickAt(dx + 140 - 10 - 45, dy + 280 - 10 - 17));  // Yes
    std::this_thread::sleep_for(700ms);
    ASSERT_NE(e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"), 0u) << "the name window closed";
    EXPECT_GT(notePixels(Shot("e2e_scores_not_recorded")), 200) << "no note under the name field";

    ASSERT_TRUE(Xdo({"key", "Escape"}));
    for (int i = 0; i < 100 && e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"); ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_EQ(e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"), 0u) << "Escape did not close it";
    EXPECT_TRUE(fs::is_directory(game.File("table.dat")));
    EXPECT_TRUE(fs::is_empty(game.File("table.dat")));
}

// The game without red frogs, flies or suns: nothing but the leaves moves over the pond, and never
// onto an island.
constexpr const char* kQuietPond = "[Frogs]\nMaxBadFrogNumber=0\n[Flyes]\nFlyNumber=0\nSunNumber=0\n";

TEST_F(ScoresE2E, QuitWithAutoSaveOnAndTheNextStartContinuesTheSameLevelScoreAndIslands) {
    PrivateGame game(kQuietPond);
    // A game in progress saved by an earlier run: Novice, AutoSave on, level 3, score 1250.
    SavedState earlier;
    earlier.levelNumber = 3;
    earlier.score = 1250;
    earlier.levelPoints = 40;
    earlier.islands = {{0, 0, 0}, {3, 0, 1}, {6, 1, 0}, {1, 3, 2}, {6, 4, 0}, {4, 3, 0}};
    earlier.lives = 8;
    ASSERT_TRUE(TScoresTable().SaveText(game.File("state.dat"), StateText(earlier)));

    auto run = [&](const std::string& shot) {
        app = Spawn({game.Program()}, {"DISPLAY=" + display, "MARSHWADE_SEED=3", "SDL_AUDIODRIVER=dummy"});
        EXPECT_GT(app, 0);
        Window win = WaitForWindow("Marshwade");
        EXPECT_NE(win, 0u) << "the game window did not appear";
        const auto corner = Settled(win);
        std::this_thread::sleep_for(2500ms);  // the frog arrives, leaves come out
        const Ppm picture = Shot(shot);
        // Exit, then Enter on the quit dialog's Yes: the game is saved and the program ends.
        EXPECT_TRUE(ClickAt(corner.x + 750 - 2 - 29, corner.y + 15));
        Window quit = WaitForWindow("Dialog window");
        EXPECT_NE(quit, 0u) << "the quit dialog did not appear";
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(Xdo({"key", "--window", std::to_string(quit), "Return"}));
        std::optional<int> status = WaitFor(app, 10000ms);
        EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << "the program did not end well";
        app = -1;
        return std::make_pair(picture, corner);
    };
    const auto [first, at1] = run("e2e_saved_first_run");
    std::string text;
    TScoresTable().LoadText(game.File("state.dat"), text);
    StateLimits limits;
    limits.islandCount = 6;
    limits.islandFrames = 100;
    limits.frogCount = 8;
    const ReadStateResult saved = ReadStateText(text, limits);
    ASSERT_TRUE(saved.Restorable()) << text;
    EXPECT_EQ(saved.levelNumber, 3);
    EXPECT_EQ(saved.score, 1250);
    EXPECT_EQ(saved.autoSave, true);
    for (size_t i = 0; i + 1 < earlier.islands.size(); ++i) {
        EXPECT_EQ(saved.islands[i].column, earlier.islands[i].column) << i;
        EXPECT_EQ(saved.islands[i].row, earlier.islands[i].row) << i;
    }

    const auto [second, at2] = run("e2e_saved_second_run");
    // The digit bar (level at x 150, score at x 400, digits 28 x 44 at y 3) and every island but the
    // entry island, where the frog arrives, look the same in both runs; the level shows 003.
    auto same = [&](int left, int top, int w, int h) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (first.At(at1.x + left + i, at1.y + top + j) !=
                    second.At(at2.x + left + i, at2.y + top + j))
                    return false;
        return true;
    };
    EXPECT_TRUE(same(150, 3, 88, 44)) << "level digits";
    EXPECT_TRUE(same(400, 3, 178, 44)) << "score digits";
    EXPECT_FALSE(Same(first, at1.x + 150, at1.y + 3, at1.x + 210, at1.y + 3, 28, 44))
        << "the level is not 003";
    for (size_t i = 0; i + 1 < earlier.islands.size(); ++i) {
        const int left = earlier.islands[i].column * 630 / 8 + 20,
                  top = earlier.islands[i].row * 480 / 6 + 50;
        EXPECT_TRUE(same(left, top, 630 / 8, 480 / 6)) << "island " << i;
    }
}

}  // namespace
