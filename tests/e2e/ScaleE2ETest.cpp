// The game on a large screen: the window at twice the picture's size, centred; a click where a
// button shows reaching that button; F11 making the window fill the screen with the picture centred
// on the border, and bringing it back. Without the art drawn at twice the size, every screen pixel
// of the picture comes in 2x2 squares, which shows the scale and the place exactly; with it, the
// picture is drawn from that art, at the same place.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "XvfbSession.h"
#include "tests/e2e/StateLog.h"

namespace {

using namespace std::chrono_literals;
using e2e::Ppm;
using e2e::Spawn;
using e2e::Stop;

constexpr int kScreenW = 2560, kScreenH = 1600;
constexpr int kLeft = (kScreenW - 1500) / 2, kTop = (kScreenH - 1100) / 2;

class ScaleE2E : public e2e::XvfbTest {
  protected:
    void SetUp() override {
        screen = std::to_string(kScreenW) + "x" + std::to_string(kScreenH) + "x24";
        XvfbTest::SetUp();
    }
    // The window's place and size once it has the size asked for (and the place, when one is given:
    // a window manager may carry out a resize and a move one after the other).
    struct Geometry {
        int x = 0, y = 0, w = 0, h = 0;
    };
    static constexpr int kAnywhere = INT_MIN;
    Geometry WaitFor(Window win, int w, int h, int wantX = kAnywhere, int wantY = kAnywhere) {
        Geometry g;
        for (int i = 0; i < 150; ++i) {
            XWindowAttributes attrs{};
            XGetWindowAttributes(x, win, &attrs);
            const e2e::Point corner = Corner(win);
            g = {corner.x, corner.y, attrs.width, attrs.height};
            if (g.w == w && g.h == h && (wantX == kAnywhere || (g.x == wantX && g.y == wantY))) break;
            std::this_thread::sleep_for(20ms);
        }
        return g;
    }
    // How many 2x2 squares of the region starting at (x0, y0), logical size w x h, are not one colour.
    static int MixedSquares(const Ppm& shot, int x0, int y0, int w, int h) {
        int mixed = 0;
        for (int y = 0; y < h; y += 3)
            for (int x = 0; x < w; x += 3) {
                const int sx = x0 + 2 * x, sy = y0 + 2 * y;
                const auto c = shot.At(sx, sy);
                mixed += shot.At(sx + 1, sy) != c || shot.At(sx, sy + 1) != c || shot.At(sx + 1, sy + 1) != c;
            }
        return mixed;
    }
    // The share of sampled pixels of the 2x picture at (x0, y0) that two screenshots have alike.
    static double Alike(const Ppm& a, const Ppm& b, int x0, int y0) {
        int same = 0, all = 0;
        for (int y = 0; y < 1100; y += 7)
            for (int x = 0; x < 1500; x += 7, ++all) same += a.At(x0 + x, y0 + y) == b.At(x0 + x, y0 + y);
        return static_cast<double>(same) / all;
    }
    // Gives the window the keyboard as a player would (`focus` is xdotool's windowfocus or, with a
    // window manager, windowactivate) and waits until the pond moves: the game stands still while it
    // has not got the keyboard, and SDL, which takes a window's focus a moment after X gives it
    // (200 ms, longer on a busy machine), drops the keys that come before.
    void GiveKeyboard(const std::string& id, const char* focus) {
        ASSERT_TRUE(Xdo({focus, "--sync", id}));
        const std::string name = "e2e_scale_focus_" + std::to_string(getpid());
        Ppm last = Shot(name);
        for (int i = 0; i < 20; ++i) {
            std::this_thread::sleep_for(250ms);
            Ppm now = Shot(name);
            if (e2e::Changed(last, now, kLeft + 40, kTop + 100, 1260, 960) > 0) return;
            last = std::move(now);
        }
        FAIL() << "the pond did not move once the window had the keyboard";
    }
    // The game at seed 11 on this screen, its window shown and settled at 2x; 0 when it did not
    // appear. A private copy of the game: F11 keeps its choice beside the program, which must not
    // make the game start fullscreen in the end-to-end tests running beside this one.
    Window StartGame(const std::string& extraEnv = "", bool fineArt = false) {
        std::ostringstream settings;
        settings << std::ifstream(std::string(MARSHWADE_BINARY_DIR) + "/INI/Quillmoss.ini").rdbuf();
        privateGame = std::make_unique<e2e::PrivateGame>(settings.str(), fineArt);
        std::vector<std::string> env{"DISPLAY=" + display, "MARSHWADE_SEED=11", "SDL_AUDIODRIVER=dummy"};
        if (!extraEnv.empty()) env.push_back(extraEnv);
        app = Spawn({privateGame->Program()}, env);
        if (app <= 0) return 0;
        const Window win = WaitForWindow("Marshwade");
        if (!win) return 0;
        WaitFor(win, 1500, 1100);
        Settled(win);
        return win;
    }
    std::unique_ptr<e2e::PrivateGame> privateGame;
    // The window fills the screen, or stands at twice the picture's size centred on it.
    void ExpectFullscreen(Window win, const char* what) {
        const Geometry g = WaitFor(win, kScreenW, kScreenH, 0, 0);
        EXPECT_TRUE(g.x == 0 && g.y == 0 && g.w == kScreenW && g.h == kScreenH)
            << what << ": " << g.w << 'x' << g.h << " at " << g.x << ',' << g.y;
    }
    void ExpectWindowed(Window win, const char* what) {
        const Geometry g = WaitFor(win, 1500, 1100, kLeft, kTop);
        EXPECT_TRUE(g.x == kLeft && g.y == kTop && g.w == 1500 && g.h == 1100)
            << what << ": " << g.w << 'x' << g.h << " at " << g.x << ',' << g.y;
    }
    void MinimiseAndRestore(bool windowManager) {
        if (windowManager) {
            ASSERT_TRUE(StartWindowManager()) << "openbox did not start";
        }
        const Window win = StartGame();
        ASSERT_NE(win, 0u);
        const std::string id = std::to_string(win);
        const char* focus = windowManager ? "windowactivate" : "windowfocus";
        GiveKeyboard(id, focus);
        ASSERT_TRUE(Xdo({"key", "F11"}));
        ExpectFullscreen(win, "F11 did not fill the screen");
        std::this_thread::sleep_for(1000ms);
        const Ppm before = Shot(windowManager ? "e2e_scale_before_minimise_wm" : "e2e_scale_before_minimise");

        ASSERT_TRUE(Xdo({windowManager ? "windowminimize" : "windowunmap", "--sync", id}));
        EXPECT_FALSE(Viewable(win));
        std::this_thread::sleep_for(1000ms);
        ASSERT_FALSE(e2e::WaitFor(app, 100ms).has_value()) << "the game ended while minimised";
        ASSERT_TRUE(Xdo({windowManager ? "windowactivate" : "windowmap", "--sync", id}));
        EXPECT_TRUE(Viewable(win));
        ExpectFullscreen(win, "restored, the window is no longer fullscreen");
        std::this_thread::sleep_for(1000ms);
        const Ppm after = Shot(windowManager ? "e2e_scale_restored_wm" : "e2e_scale_restored");
        EXPECT_EQ(after.At(0, 0), before.At(0, 0)) << "the border is not drawn again";
        EXPECT_EQ(after.At(kScreenW - 1, kScreenH - 1), before.At(kScreenW - 1, kScreenH - 1));
        EXPECT_EQ(MixedSquares(after, kLeft, kTop, 750, 550), 0) << "the picture is not at 2x, centred";
        // The pond moves on in the meantime, but most of the picture is where it was.
        EXPECT_GT(Alike(before, after, kLeft, kTop), 0.6) << "the picture is not drawn again";

        GiveKeyboard(id, focus);
        ASSERT_TRUE(Xdo({"key", "F11"}));
        ExpectWindowed(win, "F11 after the restore did not bring the window back");
    }
    // openbox on this test's X server, stopped with the test; false when it did not take over.
    bool StartWindowManager() {
        manager = Spawn({"/usr/bin/openbox"}, {"DISPLAY=" + display});
        if (manager <= 0) return false;
        const Atom check = XInternAtom(x, "_NET_SUPPORTING_WM_CHECK", False);
        for (int i = 0; i < 250 && !HasProperty(DefaultRootWindow(x), check); ++i)
            std::this_thread::sleep_for(20ms);
        return HasProperty(DefaultRootWindow(x), check);
    }
    void TearDown() override {
        if (manager > 0) Stop(manager);
        XvfbTest::TearDown();
    }
    pid_t manager = 0;
    bool HasProperty(Window w, Atom property) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool found = XGetWindowProperty(x, w, property, 0, 1, False, AnyPropertyType, &type, &format,
                                              &count, &after, &data) == Success &&
                           type != None;
        if (data) XFree(data);
        return found;
    }
    bool Viewable(Window win) {
        XWindowAttributes attrs{};
        return XGetWindowAttributes(x, win, &attrs) && attrs.map_state == IsViewable;
    }
};

TEST_F(ScaleE2E, OpensAtTwiceTheSizeCentredAndF11FillsTheScreenAndComesBack) {
    const Window win = StartGame();
    ASSERT_NE(win, 0u);
    ExpectWindowed(win, "the window does not open at 2x, centred");
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(MixedSquares(Shot("e2e_scale_2x"), kLeft, kTop, 750, 550), 0) << "the picture is not sharp";

    // Options is at (701, 85) of the picture: on the screen, twice that from the window's corner.
    ASSERT_TRUE(ClickAt(kLeft + 2 * 701, kTop + 2 * 85));
    const Window options = WaitForWindow("Dialog window");
    ASSERT_NE(options, 0u) << "a click at the scaled place of Options did not open it";
    const Geometry d = WaitFor(options, 520, 960);
    EXPECT_EQ(d.w, 520) << "Options is not at the game's scale";
    EXPECT_EQ(d.h, 960);
    EXPECT_EQ(d.x + d.w / 2, kLeft + 750) << "Options is not centred on the game";
    EXPECT_EQ(d.y + d.h / 2, kTop + 550);
    ASSERT_TRUE(Xdo({"key", "Escape"}));
    for (int i = 0; i < 100 && e2e::FindByName(x, DefaultRootWindow(x), "Dialog window"); ++i)
        std::this_thread::sleep_for(20ms);

    ASSERT_TRUE(Xdo({"key", "F11"}));
    ExpectFullscreen(win, "F11 did not fill the screen");
    std::this_thread::sleep_for(1000ms);
    const Ppm full = Shot("e2e_scale_fullscreen");
    const std::array<int, 3> border{0x10, 0x30, 0x18};
    const struct {
        int x, y;
    } borderPoints[] = {{0, 0},
                        {kScreenW - 1, kScreenH - 1},
                        {kLeft - 1, kTop + 500},
                        {kLeft + 1500, kTop + 10},
                        {kLeft + 700, kTop - 1},
                        {kLeft + 700, kTop + 1100}};
    for (const auto& p : borderPoints) EXPECT_EQ(full.At(p.x, p.y), border) << p.x << ',' << p.y;
    EXPECT_EQ(MixedSquares(full, kLeft, kTop, 750, 550), 0) << "the fullscreen picture is not at 2x, centred";

    ASSERT_TRUE(Xdo({"key", "F11"}));
    ExpectWindowed(win, "F11 again did not bring the window back");
}

// With the art drawn at twice the size installed, the window at 2x shows it: about half of the
// 2x2 squares of the picture hold more than one colour (none do when the game's own pictures are
// enlarged), the frog icon at the top left among them. Fullscreen shows the same picture at the same
// place, the border round it.
TEST_F(ScaleE2E, TheArtDrawnAtTwiceTheSizeIsShownWindowedAndFullscreen) {
    const Window win = StartGame("", true);
    ASSERT_NE(win, 0u);
    ExpectWindowed(win, "the window does not open at 2x, centred");
    std::this_thread::sleep_for(1500ms);
    const Ppm windowed = Shot("e2e_scale_fine_art");
    const int samples = 250 * 184;
    EXPECT_GT(MixedSquares(windowed, kLeft, kTop, 750, 550), samples / 4) << "the picture is enlarged";
    EXPECT_GT(MixedSquares(windowed, kLeft + 16, kTop + 10, 40, 40), 20) << "the frog icon is enlarged";

    GiveKeyboard(std::to_string(win), "windowfocus");
    ASSERT_TRUE(Xdo({"key", "F11"}));
    ExpectFullscreen(win, "F11 did not fill the screen");
    std::this_thread::sleep_for(1000ms);
    const Ppm full = Shot("e2e_scale_fine_art_fullscreen");
    const std::array<int, 3> border{0x10, 0x30, 0x18};
    for (const auto& [bx, by] : {std::pair{0, 0}, {kLeft - 1, kTop + 500}, {kLeft + 1500, kTop + 10},
                                 {kLeft + 700, kTop + 1100}})
        EXPECT_EQ(full.At(bx, by), border) << bx << ',' << by;
    EXPECT_GT(MixedSquares(full, kLeft, kTop, 750, 550), samples / 4) << "the fullscreen picture is enlarged";
    EXPECT_GT(Alike(windowed, full, kLeft, kTop), 0.6) << "fullscreen shows another picture or another place";
}

// A click on the pond at 2x reaches the cell under it: the frog on the entry island (4, 3) hops to
// the cell whose middle (296, 330) of the picture was clicked, twice as far from the window's corner
// on the screen. Read unscaled, the click would be far below the pond and hop the frog down.
TEST_F(ScaleE2E, AClickOnThePondAtTwiceTheSizeHopsTheFrogToTheCellUnderIt) {
    const std::string log = shots + "/e2e_scale_state.log";
    std::remove(log.c_str());
    e2e::StateLog trace(log);
    ASSERT_NE(StartGame("MARSHWADE_STATE_LOG=" + log), 0u);
    ASSERT_TRUE(trace.WaitFor([](const e2e::View& v) { return v.Resting() && v.column == 4 && v.row == 3; }))
        << "the frog did not arrive on the entry island";
    std::this_thread::sleep_for(1000ms);
    ASSERT_TRUE(ClickAt(kLeft + 2 * 296, kTop + 2 * 330));
    EXPECT_TRUE(trace.WaitFor([](const e2e::View& v) { return v.Resting() && v.column == 3 && v.row == 3; }))
        << "the frog is at " << trace.last.column << ',' << trace.last.row;
}

// Minimising takes the window off the screen and restoring shows it again: the game comes back
// still fullscreen, its picture drawn again in full (an X server keeps nothing of a window that is
// not shown), and F11 still brings the window back to its place. Without a window manager the test
// unmaps and maps the window, as a window manager does when it iconifies and restores one; with
// one (openbox) it asks for both as a panel would.
TEST_F(ScaleE2E, MinimiseAndRestoreKeepFullscreen) {
    MinimiseAndRestore(false);
}

TEST_F(ScaleE2E, MinimiseAndRestoreUnderAWindowManagerKeepFullscreen) {
    if (!e2e::Exists("/usr/bin/openbox")) GTEST_SKIP() << "no openbox (scripts/install-deps)";
    MinimiseAndRestore(true);
}

// At 2x the top area still moves the window when dragged, by as many screen pixels as the pointer
// went (the window manager does the moving, so this needs one); a drag that starts on the pond does
// not move it.
TEST_F(ScaleE2E, DraggingTheTopAreaAtTwiceTheSizeMovesTheWindow) {
    if (!e2e::Exists("/usr/bin/openbox")) GTEST_SKIP() << "no openbox (scripts/install-deps)";
    ASSERT_TRUE(StartWindowManager()) << "openbox did not start";
    const Window win = StartGame();
    ASSERT_NE(win, 0u);
    ExpectWindowed(win, "the window does not open at 2x, centred");
    const auto drag = [&](int lx, int ly, int dx, int dy) {
        const e2e::Point from = Corner(win);
        const int sx = from.x + 2 * lx, sy = from.y + 2 * ly;
        ASSERT_TRUE(Xdo({"mousemove", "--sync", std::to_string(sx), std::to_string(sy)}));
        std::this_thread::sleep_for(200ms);
        ASSERT_TRUE(Xdo({"mousedown", "1"}));
        std::this_thread::sleep_for(200ms);
        for (int step = 1; step <= 2; ++step) {
            ASSERT_TRUE(Xdo({"mousemove", "--sync", std::to_string(sx + dx * step / 2),
                             std::to_string(sy + dy * step / 2)}));
            std::this_thread::sleep_for(200ms);
        }
        ASSERT_TRUE(Xdo({"mouseup", "1"}));
        std::this_thread::sleep_for(500ms);
    };
    drag(250, 20, 100, 60);  // the digit bar, between LEVEL and SCORE
    Geometry g = WaitFor(win, 1500, 1100, kLeft + 100, kTop + 60);
    EXPECT_EQ(g.x, kLeft + 100) << "the drag did not move the window as far as the pointer";
    EXPECT_EQ(g.y, kTop + 60);
    drag(300, 300, -100, -60);  // the pond
    g = WaitFor(win, 1500, 1100);
    EXPECT_EQ(g.x, kLeft + 100) << "a drag on the pond moved the window";
    EXPECT_EQ(g.y, kTop + 60);
}

// F11 is remembered beside the saved games: a game switched to fullscreen starts fullscreen the
// next time, and one switched back starts in its window. The choice is kept at the switch itself,
// so a game that ends without saving anything (killed here) still keeps it.
TEST_F(ScaleE2E, TheFullscreenChoiceOutlastsTheGame) {
    std::ostringstream settings;
    settings << std::ifstream(std::string(MARSHWADE_BINARY_DIR) + "/INI/Quillmoss.ini").rdbuf();
    e2e::PrivateGame game(settings.str());
    const struct {
        int openW, openH;  // the window as the game starts
        const char* kept;  // display.ini after F11
    } starts[] = {{1500, 1100, "[Display]\nFullscreen=1\n"},
                  {kScreenW, kScreenH, "[Display]\nFullscreen=0\n"},
                  {1500, 1100, nullptr}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.openW);
        app = Spawn({game.Program()}, {"DISPLAY=" + display, "MARSHWADE_SEED=5", "SDL_AUDIODRIVER=dummy"});
        ASSERT_GT(app, 0);
        const Window win = WaitForWindow("Marshwade");
        ASSERT_NE(win, 0u);
        Geometry g = WaitFor(win, start.openW, start.openH);
        EXPECT_EQ(g.w, start.openW) << "the game did not start as it was left";
        EXPECT_EQ(g.h, start.openH);
        if (start.kept) {
            std::this_thread::sleep_for(500ms);
            ASSERT_TRUE(Xdo({"key", "F11"}));
            const bool toFull = start.openW != kScreenW;
            g = WaitFor(win, toFull ? kScreenW : 1500, toFull ? kScreenH : 1100);
            EXPECT_EQ(g.w, toFull ? kScreenW : 1500);
            std::string kept;
            for (int i = 0; i < 100 && kept != start.kept; ++i) {
                std::this_thread::sleep_for(20ms);
                std::ostringstream text;
                text << std::ifstream(game.File("display.ini")).rdbuf();
                kept = text.str();
            }
            EXPECT_EQ(kept, start.kept);
        }
        Stop(app);
        app = 0;
    }
}

}  // namespace
