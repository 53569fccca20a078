// A new player's path through the real program on a private X server, as a person plays it with the
// keyboard and the mouse: the loading picture, then the pond; the frog leaping in; an arrow key and a
// click hopping it; a fly eaten and the score digits changing; the last islet reached and the level
// dialog leading on to level 2; every frog lost, a name typed and the Top 10 showing it; Options
// changing the skill (and AutoSave) and a new game with that skill's lives; Help opening and closing;
// Exit asking and ending the program with exit code 0; the next start continuing the saved game.
//
// The program runs from a copy of the build folder with a settings file of this test's that makes a
// level short. Real-window timing is not exact, so the seed alone does not make two runs the same:
// the test steers by the line of state the game appends to its state log after every frame step
// (MARSHWADE_STATE_LOG), and checks each step on screenshots (kept in build/e2e-newplayer/) and on
// the data files as the datafile tool prints them.
#include "XvfbSession.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <array>
#include <deque>
#include <filesystem>
#include <functional>

#include "tests/e2e/StateLog.h"
// After the fixture: Xlib defines macros that clash with GoogleTest.
#include <X11/Xutil.h>

namespace {

using namespace std::chrono_literals;
using e2e::Point;
using e2e::Ppm;
using e2e::Spawn;
using e2e::View;
using e2e::WaitFor;
namespace fs = std::filesystem;

// Two islands: the entry island where the frogs arrive and one islet, so that leaping onto the
// islet completes the level. Many leaves, so that there is nearly always a way across; four frogs
// (Expert plays with two); no red frogs or suns, whose moves the steering below does not foresee; a
// short fade of a drowned frog.
constexpr const char* kShortLevels =
    "[Game]\nMaxIslandNumbers=2\n"
    "[Leaves]\nMaxLeavesPerScreen=40\n"
    "[Frogs]\nMaxFrogNumber=4\nMaxBadFrogNumber=0\nDeadTimeExtend=10\n"
    "[Flyes]\nFlyNumber=6\nSunNumber=0\n"
    "[Rates]\nIslandMeltRate=0\n";

constexpr int kCellW = 630 / 8;
constexpr int kCellH = 480 / 6;
int CellX(int c) {
    return c * 630 / 8 + 20;
}
int CellY(int r) {
    return r * 480 / 6 + 50;
}

// The game window's buttons (centres, window coordinates).
constexpr Point kExit{750 - 2 - 29, 15};
constexpr Point kHelp{750 - 2 - 58 - 2 - 30 - 2 - 29, 15};
constexpr Point kOptions{750 - 2 - 46, 30 + 40 + 15};
constexpr Point kTop10{750 - 2 - 46, 30 + 45 + 30 + 15};

// Digits are 28 x 44 at y 3: the level's three at x 150, the score's six at x 400, 30 apart. Their
// inner part is compared: a fly or dragonfly passing behind the digit bar shows at the corners.
constexpr int kDigitY = 3 + 4, kDigitW = 28 - 8, kDigitH = 44 - 8;
int LevelDigitX(int i) {
    return 150 + 4 + 30 * i;
}
int ScoreDigitX(int i) {
    return 400 + 4 + 30 * i;
}

// Directions as the pond numbers them, with their keys.
constexpr std::array<const char*, 4> kKeys{"Up", "Right", "Down", "Left"};
constexpr std::array<int, 4> kDc{0, 1, 0, -1};
constexpr std::array<int, 4> kDr{-1, 0, 1, 0};

class NewPlayerE2E : public e2e::XvfbTest {
  protected:
    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        shots = std::string(MARSHWADE_BINARY_DIR) + "/e2e-newplayer";
        fs::remove_all(shots);
        fs::create_directories(shots);
    }

    // Starts the program of `game` with its state log at `log`.
    void Launch(const e2e::PrivateGame& game, const std::string& log) {
        app = Spawn({game.Program()}, {"DISPLAY=" + display, "MARSHWADE_SEED=5", "SDL_AUDIODRIVER=dummy",
                                       "MARSHWADE_STATE_LOG=" + log});
        ASSERT_GT(app, 0);
        trace = std::make_unique<e2e::StateLog>(log);
    }
    // Waits for the game window to stand at its place.
    void Attach() {
        win = WaitForWindow("Marshwade");
        ASSERT_NE(win, 0u) << "the game window did not appear";
        at = Settled(win);
    }

    // What the game window shows (750 x 550), read straight from the X server: quicker than a
    // screenshot, for a picture that shows only while the game loads.
    Ppm Grab(Window w) {
        Ppm p;
        XImage* image = XGetImage(x, w, 0, 0, 750, 550, AllPlanes, ZPixmap);
        if (!image) return p;
        p.width = 750;
        p.height = 550;
        p.rgb.reserve(750 * 550 * 3);
        for (int py = 0; py < 550; ++py) {
            for (int px = 0; px < 750; ++px) {
                const unsigned long pixel = XGetPixel(image, px, py);
                p.rgb.push_back(static_cast<unsigned char>((pixel >> 16) & 0xFF));
                p.rgb.push_back(static_cast<unsigned char>((pixel >> 8) & 0xFF));
                p.rgb.push_back(static_cast<unsigned char>(pixel & 0xFF));
            }
        }
        XDestroyImage(image);
        return p;
    }
    // Keeps a picture beside the screenshots, as `name`.png.
    void Keep(const Ppm& p, const std::string& name) {
        const std::string base = shots + "/" + name;
        std::ofstream(base + ".ppm", std::ios::binary) << "P6\n"
                                                       << p.width << ' ' << p.height << "\n255\n"
                                                       << std::string(p.rgb.begin(), p.rgb.end());
        EXPECT_EQ(std::system(("/usr/bin/convert " + base + ".ppm " + base + ".png").c_str()), 0);
        std::remove((base + ".ppm").c_str());
    }

    // Polls the state log until `what` holds; a failure naming `why` and the last line after `limit`.
    View Until(const std::function<bool(const View&)>& what, std::chrono::milliseconds limit,
               const char* why) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (trace->Poll())
                for (const View& line : trace->added)
                    if (what(line)) return line;
            std::this_thread::sleep_for(10ms);
        }
        ADD_FAILURE() << "waited in vain for " << why << "; the game's last line: " << trace->last.line;
        Shot("failed");
        failed = true;
        return trace->last;
    }

    // One hop of the resting frog in `direction`, by its arrow key or by a click on that cell; waits
    // until it rests on the cell, drowns, or a dialog is due. True when it rests there.
    bool Hop(const View& from, int direction, bool click = false) {
        const int c = from.column + kDc[static_cast<size_t>(direction)];
        const int r = from.row + kDr[static_cast<size_t>(direction)];
        if (click) {
            const int sx = at.x + CellX(c) + kCellW / 2, sy = at.y + CellY(r) + kCellH / 2;
            EXPECT_TRUE(Xdo({"mousemove", "--sync", std::to_string(sx), std::to_string(sy), "click", "1"}));
        } else {
            EXPECT_TRUE(Xdo({"key", kKeys[static_cast<size_t>(direction)]}));
        }
        const View after = Until(
            [&](const View& v) {
                return (v.Resting() && v.column == c && v.row == r) || v.living < from.living ||
                       v.pending != 0 || v.state == "Leaping";
            },
            3000ms, "the end of a hop");
        return after.Resting() && after.column == c && after.row == r;
    }

    // The first hop of a shortest way from the frog's cell to a cell `goal` accepts, over leaves that
    // will stay afloat a while (and the islet when `islet`); -1 when there is none.
    static int FirstHop(const View& v, const std::function<bool(int, int)>& goal, bool islet) {
        auto standable = [&](int c, int r) {
            const char what = v.At(c, r);
            return (what >= '3' && what <= '9') || (islet && what == 'I');
        };
        std::array<int, 48> firstStep;
        firstStep.fill(-2);
        std::deque<std::array<int, 2>> queue;
        firstStep[static_cast<size_t>(v.row * 8 + v.column)] = -1;
        queue.push_back({v.column, v.row});
        while (!queue.empty()) {
            const auto [c, r] = queue.front();
            queue.pop_front();
            for (int d = 0; d < 4; ++d) {
                const int nc = c + kDc[static_cast<size_t>(d)], nr = r + kDr[static_cast<size_t>(d)];
                if (nc < 0 || nc >= 8 || nr < 0 || nr >= 6 || !standable(nc, nr)) continue;
                int& seen = firstStep[static_cast<size_t>(nr * 8 + nc)];
                if (seen != -2) continue;
                const int from = firstStep[static_cast<size_t>(r * 8 + c)];
                seen = from == -1 ? d : from;
                if (goal(nc, nr)) return seen;
                queue.push_back({nc, nr});
            }
        }
        return -1;
    }

    // Hops the frog along ways over the leaves until `done` holds for a line of the log, each hop
    // toward the nearest cell `goal` accepts; off a leaf about to sink when there is no way yet.
    View Steer(const std::function<bool(int, int, const View&)>& goal,
               const std::function<bool(const View&)>& done, bool islet, std::chrono::milliseconds limit,
               const char* why) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            trace->Poll();
            const View v = trace->last;
            if (done(v)) return v;
            if (v.pending != 0) break;  // a level or game that ended on its own
            if (!v.Resting()) {
                std::this_thread::sleep_for(10ms);
                continue;
            }
            int direction = FirstHop(
                v, [&](int c, int r) { return goal(c, r, v); }, islet);
            const char under = v.At(v.column, v.row);
            if (direction < 0 && under >= '0' && under <= '2')
                direction = FirstHop(
                    v, [](int, int) { return true; }, false);
            if (direction < 0) {
                std::this_thread::sleep_for(20ms);
                continue;
            }
            Hop(v, direction);
        }
        ADD_FAILURE() << "could not steer to " << why << "; the game's last line: " << trace->last.line;
        Shot("failed");
        failed = true;
        return trace->last;
    }

    // A screenshot of the running game with the score it shows: taken two frame steps after the log
    // gave the score (the digits follow it in the same step), again if a fly was eaten meanwhile.
    std::pair<Ppm, int> ScoreShot(const std::string& name) {
        for (int attempt = 0;; ++attempt) {
            trace->Poll();
            const View before = trace->last;
            Until([&](const View& s) { return s.frame >= before.frame + 2; }, 3000ms, "two frame steps");
            Ppm shot = Shot(name);
            trace->Poll();
            if (trace->last.score == before.score || attempt == 2) return {shot, before.score};
        }
    }

    // Waits for a dialog window of this size, mapped and settled, centred over the game window.
    Window WaitForDialog(int width, int height, Point& corner) {
        Window dialog = WaitForWindow("Dialog window");
        if (!dialog) return 0;
        corner = Settled(dialog);
        XWindowAttributes attrs{};
        XGetWindowAttributes(x, dialog, &attrs);
        EXPECT_EQ(attrs.width, width);
        EXPECT_EQ(attrs.height, height);
        EXPECT_EQ(corner.x, at.x + (750 - width) / 2);
        std::this_thread::sleep_for(300ms);  // its first frames
        return dialog;
    }

    // Black text pixels in a rectangle of the screen.
    static int Black(const Ppm& p, int x0, int y0, int w, int h) {
        int count = 0;
        for (int py = y0; py < y0 + h; ++py)
            for (int px = x0; px < x0 + w; ++px) count += p.At(px, py) == std::array<int, 3>{0, 0, 0};
        return count;
    }

    // The score digits of `shot` show `score`: a digit 0 looks like `zero`'s first score digit (a
    // screenshot of score 000000), any other digit does not.
    void ExpectScore(const Ppm& shot, int score, const Ppm& zero, const char* what) {
        for (int i = 5, rest = score; i >= 0; --i, rest /= 10) {
            bool same = true;
            for (int dy = 0; dy < kDigitH && same; ++dy)
                for (int dx = 0; dx < kDigitW && same; ++dx)
                    same = shot.At(at.x + ScoreDigitX(i) + dx, at.y + kDigitY + dy) ==
                           zero.At(at.x + ScoreDigitX(0) + dx, at.y + kDigitY + dy);
            EXPECT_EQ(same, rest % 10 == 0) << what << ": score digit " << i << " of " << score;
        }
    }

    // The text of a data file of the game's folder as the datafile tool prints it.
    static std::string Dump(const std::string& file) {
        const e2e::Output out = e2e::Capture({std::string(MARSHWADE_BINARY_DIR) + "/datafile", "dump", file});
        EXPECT_EQ(out.code, 0) << "the checksum of " << file << " did not match";
        return out.text;
    }

    std::unique_ptr<e2e::StateLog> trace;
    Window win = 0;
    Point at;
    bool failed = false;
};

TEST_F(NewPlayerE2E, FromTheFirstStartThroughALevelAGameOverOptionsHelpAndExitToTheResumedGame) {
    e2e::PrivateGame game(kShortLevels);
    const auto started = std::chrono::steady_clock::now();
    // 1. The window comes with the loading picture while the game loads, then the pond. The
    // picture shows only as long as the loading takes, so the window is read straight from the X
    // server as fast as it gives it, from the moment the window is mapped.
    const e2e::LoadingPicture skin(game.File("CLP/skin.bmp"));
    Launch(game, shots + "/state-1.log");
    if (HasFatalFailure()) return;
    std::optional<Ppm> loading;
    bool pondAfterIt = false;
    for (const auto end = std::chrono::steady_clock::now() + 10s;
         !pondAfterIt && std::chrono::steady_clock::now() < end;) {
        if (!win) {
            win = e2e::FindByName(x, DefaultRootWindow(x), "Marshwade");
            continue;
        }
        const Ppm now = Grab(win);
        if (now.rgb.empty()) continue;
        const double share = skin.Share(now, {});
        if (!loading && share > 0.99) loading = now;
        pondAfterIt = loading && share < 0.5;
    }
    ASSERT_TRUE(loading.has_value()) << "the loading picture was not seen";
    Keep(*loading, "01-loading");
    EXPECT_TRUE(pondAfterIt) << "the pond did not follow the loading picture";
    Attach();
    if (HasFatalFailure()) return;

    // 2. The pond, and the frog leaping in onto the entry island (4, 3).
    View v = Until([](const View& s) { return s.Resting(); }, 10000ms, "the frog to arrive");
    EXPECT_EQ(v.column, 4);
    EXPECT_EQ(v.row, 3);
    EXPECT_EQ(v.level, 1);
    EXPECT_EQ(v.living, 4) << "Novice plays with every frog";
    EXPECT_EQ(v.At(4, 3), 'E');
    ASSERT_TRUE(v.Islet().has_value()) << v.line;
    const Ppm pond = Shot("02-pond");
    EXPECT_LT(skin.Share(pond, at), 0.5) << "the loading picture stayed";
    // Level 001, score 000000.
    EXPECT_TRUE(e2e::Same(pond, LevelDigitX(0), kDigitY, LevelDigitX(1), kDigitY, kDigitW, kDigitH, at));
    EXPECT_FALSE(e2e::Same(pond, LevelDigitX(0), kDigitY, LevelDigitX(2), kDigitY, kDigitW, kDigitH, at));
    ExpectScore(pond, 0, pond, "at the start");

    // 3. An arrow key, then a click on a neighbouring cell, each hop the frog onto a leaf.
    for (bool click : {false, true}) {
        // A leaf comes next to a frog that has no way out; wait for one that stays afloat a while.
        int direction = -1;
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (direction < 0 && std::chrono::steady_clock::now() < end) {
            trace->Poll();
            v = trace->last;
            if (v.Resting())
                direction = FirstHop(
                    v, [](int, int) { return true; }, false);
            if (direction < 0) std::this_thread::sleep_for(20ms);
        }
        ASSERT_GE(direction, 0) << "no leaf came next to the frog: " << v.line;
        const Ppm before = Shot(click ? "03-before-click" : "03-before-key");
        EXPECT_TRUE(Hop(v, direction, click)) << (click ? "the click" : "the key") << " did not hop the frog";
        const Ppm after = Shot(click ? "04-after-click" : "04-after-key");
        const int c = v.column + kDc[static_cast<size_t>(direction)],
                  r = v.row + kDr[static_cast<size_t>(direction)];
        EXPECT_GT(e2e::Changed(before, after, CellX(v.column), CellY(v.row), kCellW, kCellH, at), 300)
            << "the frog's old cell did not change";
        EXPECT_GT(e2e::Changed(before, after, CellX(c), CellY(r), kCellW, kCellH, at), 300)
            << "the frog's new cell did not change";
    }

    // 4. Over the leaves to a resting fly: it is eaten and the score digits show the points.
    auto fly = [](int c, int r, const View& s) { return s.HasFly(c, r); };
    v = Steer(
        fly, [](const View& s) { return s.score > 0; }, false, 40s, "a fly");
    ASSERT_FALSE(failed);
    const auto [fed, fedScore] = ScoreShot("05-fly-eaten");
    ExpectScore(fed, fedScore, pond, "after the fly");

    // 5. Onto the islet: the level is completed, its dialog shows the points and Play leads on.
    auto islet = [](int c, int r, const View& s) { return s.At(c, r) == 'I'; };
    v = Steer(
        islet, [](const View& s) { return s.pending != 0; }, true, 40s, "the islet");
    ASSERT_FALSE(failed);
    const int levelPoints = v.levelPoints, scoreBefore = v.score;
    Point dialogAt;
    Window dialog = WaitForDialog(300, 320, dialogAt);
    ASSERT_NE(dialog, 0u) << "the level dialog did not appear";
    const Ppm completed = Shot("06-level-completed");
    for (int row : {30, 80, 110, 190})
        EXPECT_GT(Black(completed, dialogAt.x + 30, dialogAt.y + row, 240, 28), 20) << "text row " << row;
    ASSERT_TRUE(ClickAt(dialogAt.x + 150, dialogAt.y + 320 - 10 - 17));  // Play
    EXPECT_TRUE(Gone(dialog)) << "Play did not close the level dialog";
    v = Until([](const View& s) { return s.level == 2 && s.Resting(); }, 10000ms, "level 2");
    EXPECT_EQ(v.score, scoreBefore + 2 * levelPoints) << "the level's bonus";
    EXPECT_EQ(v.levelPoints, 0);
    const auto [level2, level2Score] = ScoreShot("07-level-2");
    // Level 002: two zeros as at the start, then a digit unlike the 1 of level 001 and unlike a zero.
    EXPECT_EQ(e2e::Changed(pond, level2, LevelDigitX(0), kDigitY, kDigitW, kDigitH, at), 0);
    EXPECT_EQ(e2e::Changed(pond, level2, LevelDigitX(1), kDigitY, kDigitW, kDigitH, at), 0);
    EXPECT_FALSE(e2e::Same(level2, LevelDigitX(0), kDigitY, LevelDigitX(2), kDigitY, kDigitW, kDigitH, at));
    EXPECT_GT(e2e::Changed(pond, level2, LevelDigitX(2), kDigitY, kDigitW, kDigitH, at), 50);
    ExpectScore(level2, level2Score, pond, "at level 2");

    // 6. Every frog hops into open water; the name window comes, a name is typed, the table has it.
    const int finalScore = v.score;
    auto water = [](int c, int r, const View& s) { return s.At(c, r) == '.'; };
    const auto drownEnd = std::chrono::steady_clock::now() + 40s;
    while (std::chrono::steady_clock::now() < drownEnd) {
        trace->Poll();
        v = trace->last;
        if (v.pending == 3 || v.living == 0) break;
        if (!v.Resting()) {
            std::this_thread::sleep_for(10ms);
            continue;
        }
        int direction = -1;
        for (int d = 0; d < 4 && direction < 0; ++d) {
            const int c = v.column + kDc[static_cast<size_t>(d)], r = v.row + kDr[static_cast<size_t>(d)];
            if (c >= 0 && c < 8 && r >= 0 && r < 6 && water(c, r, v)) direction = d;
        }
        if (direction < 0)
            direction = FirstHop(
                v, [](int, int) { return true; }, false);
        if (direction >= 0) Hop(v, direction);
    }
    ASSERT_EQ(trace->last.living, 0) << "frogs are left: " << trace->last.line;
    EXPECT_EQ(trace->last.score, finalScore);
    dialog = WaitForDialog(280, 280, dialogAt);
    ASSERT_NE(dialog, 0u) << "the name window did not appear";
    ASSERT_TRUE(ClickAt(dialogAt.x + 140, dialogAt.y + 157));  // into the name field
    ASSERT_TRUE(Xdo({"key", "End"}));
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(Xdo({"key", "BackSpace"}));  // "Anonymous"
    ASSERT_TRUE(Xdo({"type", "Newt"}));
    std::this_thread::sleep_for(300ms);
    Shot("08-name-typed");
    ASSERT_TRUE(ClickAt(dialogAt.x + 140 - 10 - 45, dialogAt.y + 280 - 10 - 17));  // Yes
    EXPECT_TRUE(Gone(dialog)) << "Yes did not close the name window";
    const std::string table = Dump(game.File("table.dat"));
    EXPECT_NE(table.find("\tNewt\t1\t" + std::to_string(finalScore)), std::string::npos) << table;
    // A new game at level 1 with every frog.
    v = Until([](const View& s) { return s.level == 1 && s.Resting(); }, 10000ms, "the new game");
    EXPECT_EQ(v.living, 4);
    EXPECT_EQ(v.score, 0);

    ASSERT_TRUE(ClickAt(at.x + kTop10.x, at.y + kTop10.y));
    dialog = WaitForDialog(355, 550, dialogAt);
    ASSERT_NE(dialog, 0u) << "the Top 10 did not appear";
    const Ppm top10 = Shot("09-top10");
    // Rows 38 pixels apart from y 47; the name cells 200 wide at x 25. Row 0 holds the name, rows 1
    // and 2 are empty alike.
    const int cellX = dialogAt.x + 25 + 8;
    auto rowY = [&](int row) { return dialogAt.y + 47 + 38 * row + 5; };
    EXPECT_TRUE(e2e::Same(top10, cellX, rowY(1), cellX, rowY(2), 180, 30)) << "rows 1 and 2 differ";
    EXPECT_FALSE(e2e::Same(top10, cellX, rowY(0), cellX, rowY(1), 180, 30)) << "row 0 shows no name";
    ASSERT_TRUE(ClickAt(dialogAt.x + 177, dialogAt.y + 470));  // the window takes the keyboard
    ASSERT_TRUE(Xdo({"key", "Escape"}));
    EXPECT_TRUE(Gone(dialog)) << "Escape did not close the Top 10";

    // 7. Options: Expert and AutoSave, OK; a new game with Expert's two frogs.
    const Ppm novice = Shot("10-novice");
    ASSERT_TRUE(ClickAt(at.x + kOptions.x, at.y + kOptions.y));
    dialog = WaitForDialog(260, 480, dialogAt);
    ASSERT_NE(dialog, 0u) << "the options did not appear";
    const Ppm optionsOpened = Shot("11-options");
    ASSERT_TRUE(ClickAt(dialogAt.x + 50, dialogAt.y + 100 + 20));  // AutoSave
    ASSERT_TRUE(ClickAt(dialogAt.x + 50, dialogAt.y + 277 + 20));  // Expert
    const Ppm optionsChosen = Shot("12-options-expert-autosave");
    EXPECT_GT(e2e::Changed(optionsOpened, optionsChosen, dialogAt.x + 25, dialogAt.y + 100, 50, 45), 100)
        << "the AutoSave box did not turn on";
    EXPECT_GT(e2e::Changed(optionsOpened, optionsChosen, dialogAt.x + 25, dialogAt.y + 277, 50, 45), 100)
        << "the Expert box did not turn on";
    ASSERT_TRUE(ClickAt(dialogAt.x + 130 - 10 - 45, dialogAt.y + 480 - 10 - 17));  // OK
    EXPECT_TRUE(Gone(dialog)) << "OK did not close the options";
    // The skill changed when Expert was clicked, under the dialog; the new game shows by its frog,
    // which leaps in from off the grid.
    v = Until([](const View& s) { return s.skill == 1 && s.column < 0; }, 10000ms, "the Expert game");
    EXPECT_EQ(v.living, 2) << "Expert plays with two frogs fewer";
    v = Until([](const View& s) { return s.Resting(); }, 10000ms, "the Expert game's frog to arrive");
    EXPECT_EQ(v.level, 1);
    EXPECT_EQ(v.score, 0);
    const Ppm expert = Shot("13-expert-game");
    // The panel's lowest row of waiting frogs (Novice's second frog) is empty now.
    EXPECT_GT(e2e::Changed(novice, expert, 690, 495, 55, 35, at), 300) << "the lowest waiting frog stayed";

    // 8. Help opens over the game, and its Play button closes it.
    ASSERT_TRUE(ClickAt(at.x + kHelp.x, at.y + kHelp.y));
    dialog = WaitForDialog(640, 540, dialogAt);
    ASSERT_NE(dialog, 0u) << "the help did not appear";
    const Ppm help = Shot("14-help");
    EXPECT_GT(Black(help, dialogAt.x + 30, dialogAt.y + 27, 580, 120), 500) << "no rules shown";
    ASSERT_TRUE(ClickAt(dialogAt.x + 640 - 40 - 45, dialogAt.y + 540 - 10 - 17));  // Play
    EXPECT_TRUE(Gone(dialog)) << "Play did not close the help";

    // 9. A fly at Expert, so the saved game holds points; then Exit asks, and Yes ends the program.
    v = Steer(
        fly, [](const View& s) { return s.score > 0; }, false, 40s, "a fly at Expert");
    ASSERT_FALSE(failed);
    ASSERT_TRUE(ClickAt(at.x + kExit.x, at.y + kExit.y));
    dialog = WaitForDialog(280, 185, dialogAt);
    ASSERT_NE(dialog, 0u) << "the quit dialog did not appear";
    // The game stands still under the dialog: its last line is the game that will be saved.
    trace->Poll();
    const View saved = trace->last;
    const Ppm quit = Shot("15-quit");
    EXPECT_GT(Black(quit, dialogAt.x, dialogAt.y + 37, 280, 30), 50) << "no question asked";
    ASSERT_TRUE(ClickAt(dialogAt.x + 140 - 10 - 45, dialogAt.y + 185 - 10 - 17));  // Yes
    std::optional<int> status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "exit status " << *status;
    // Expert, sound on, AutoSave on, level, score, level points, one islet left, the two islands
    // (the islet at its cell), the living frogs.
    const std::string state = Dump(game.File("state.dat"));
    const auto isletCell = saved.Islet();
    ASSERT_TRUE(isletCell.has_value()) << saved.line;
    const std::string head = "1\t1\t1\t1\t" + std::to_string(saved.score) + "\t" +
                             std::to_string(saved.levelPoints) + "\t1\t" + std::to_string((*isletCell)[0]) +
                             "\t" + std::to_string((*isletCell)[1]) + "\t";
    EXPECT_EQ(state.rfind(head, 0), 0u) << state;
    EXPECT_EQ(std::count(state.begin(), state.end(), '\t'), 8 + 3 * 2) << state;
    EXPECT_EQ(state.substr(state.rfind('\t', state.size() - 2) + 1), std::to_string(saved.living) + "\t")
        << state;

    // 10. The next start continues the saved game: the same skill, level, score and islet.
    Launch(game, shots + "/state-2.log");
    if (HasFatalFailure()) return;
    Attach();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Xdo({"windowfocus", "--sync", std::to_string(win)}));
    v = Until([](const View& s) { return s.Resting(); }, 10000ms, "the frog of the resumed game");
    EXPECT_EQ(v.skill, 1);
    EXPECT_EQ(v.level, 1);
    EXPECT_EQ(v.score, saved.score);
    EXPECT_EQ(v.levelPoints, saved.levelPoints);
    EXPECT_EQ(v.living, saved.living);
    EXPECT_EQ(v.Islet(), isletCell);
    const Ppm resumed = Shot("16-resumed");
    // The level's and the score's digits look as they did when the game was left (a dragonfly may
    // cross the bar between them).
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(e2e::Changed(quit, resumed, LevelDigitX(i), kDigitY, kDigitW, kDigitH, at), 0)
            << "level digit " << i;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(e2e::Changed(quit, resumed, ScoreDigitX(i), kDigitY, kDigitW, kDigitH, at), 0)
            << "score digit " << i;
    SendClose(win);
    status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the resumed program did not end";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    std::printf("the new player's path took %lld s\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(
                                           std::chrono::steady_clock::now() - started)
                                           .count()));
}

}  // namespace
