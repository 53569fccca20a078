// The real game on a private X server: the window's size and place, the pond, buttons and digits on
// a screenshot, leaves coming out, the frog arriving and hopping on an arrow key, Space pausing and
// resuming, and a clean exit when the window manager's close protocol asks it to close.
#include "XvfbSession.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xatom.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace std::chrono_literals;
using e2e::Ppm;
using e2e::Spawn;
using e2e::WaitFor;

constexpr int kLeft = (1024 - 750) / 2;  // the window is centred on the screen
constexpr int kTop = (768 - 550) / 2;
constexpr e2e::Point kGame{kLeft, kTop};

// The pond's cell (c, r) in window pixels, as the game lays out its 8 x 6 grid.
int CellX(int c) {
    return c * 630 / 8 + 20;
}
int CellY(int r) {
    return r * 480 / 6 + 50;
}

using GameE2E = e2e::XvfbTest;

TEST_F(GameE2E, ThePondComesAliveTheFrogHopsSpacePausesAndTheWindowClosesWithExitCodeZero) {
    app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/marshwade"},
                {"DISPLAY=" + display, "MARSHWADE_SEED=11", "SDL_AUDIODRIVER=dummy"});
    ASSERT_GT(app, 0);
    Window win = WaitForWindow("Marshwade");
    ASSERT_NE(win, 0u) << "the game window did not appear";
    XWindowAttributes attrs{};
    int rx = 0, ry = 0;
    Window child = 0;
    for (int i = 0; i < 100; ++i) {  // wait until it is mapped and placed
        XGetWindowAttributes(x, win, &attrs);
        XTranslateCoordinates(x, win, DefaultRootWindow(x), 0, 0, &rx, &ry, &child);
        if (attrs.map_state == IsViewable && rx == kLeft) break;
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(attrs.width, 750);
    EXPECT_EQ(attrs.height, 550);
    EXPECT_EQ(rx, kLeft);
    EXPECT_EQ(ry, kTop);

    // The first frame steps follow the loading at once; on a busy machine that may take a while, and
    // meanwhile the window shows the loading picture.
    const e2e::LoadingPicture skin(std::string(MARSHWADE_BINARY_DIR) + "/CLP/skin.bmp");
    Ppm first;
    for (int i = 0; i < 40; ++i) {
        std::this_thread::sleep_for(100ms);
        first = Shot("e2e_game_start");
        ASSERT_EQ(first.width, 1024);
        if (skin.Share(first, kGame) < 0.5 && !Same(first, 150, 3, 210, 3, 28, 44, kGame)) break;
    }
    // Level 001 and score 000000: the two leading level digits and all six score digits show the same
    // picture (a zero), the last level digit another (a one). Digits are 28 x 44 at y 3.
    EXPECT_TRUE(Same(first, 150, 3, 180, 3, 28, 44, kGame));
    EXPECT_FALSE(Same(first, 150, 3, 210, 3, 28, 44, kGame));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(Same(first, 150, 3, 400 + 30 * i, 3, 28, 44, kGame)) << "score digit " << i;
    // The buttons: New stands at the right edge under the top row, Exit in the top right corner; both
    // differ from the panel around them.
    EXPECT_NE(first.At(kLeft + 700, kTop + 50), first.At(kLeft + 700, kTop + 33));
    EXPECT_NE(first.At(kLeft + 702, kTop + 15), first.At(kLeft + 702, kTop + 32));

    // Over the next seconds the leaves come out and the frog leaps in onto the entry island (4, 3).
    std::this_thread::sleep_for(3500ms);
    const Ppm settled = Shot("e2e_game_settled");
    EXPECT_GT(Changed(first, settled, 20, 50, 630, 480, kGame), 40000) << "the pond did not fill";

    // Left hops the frog from (4, 3) to (3, 3): both cells change.
    const Ppm before = Shot("e2e_game_before_hop");
    ASSERT_TRUE(Xdo({"key", "--window", std::to_string(win), "Left"}));
    std::this_thread::sleep_for(400ms);
    const Ppm after = Shot("e2e_game_after_hop");
    EXPECT_GT(Changed(before, after, CellX(4), CellY(3), 78, 80, kGame), 500)
        << "nothing left the entry island";
    EXPECT_GT(Changed(before, after, CellX(3), CellY(3), 78, 80, kGame), 500) << "nothing arrived at (3, 3)";

    // Space pauses: two screenshots a second apart are identical; Space again resumes.
    ASSERT_TRUE(Xdo({"key", "--window", std::to_string(win), "space"}));
    std::this_thread::sleep_for(200ms);
    const Ppm paused1 = Shot("e2e_game_paused_1");
    std::this_thread::sleep_for(1000ms);
    const Ppm paused2 = Shot("e2e_game_paused_2");
    EXPECT_EQ(Changed(paused1, paused2, 0, 0, 750, 550, kGame), 0);
    ASSERT_TRUE(Xdo({"key", "--window", std::to_string(win), "space"}));
    std::this_thread::sleep_for(1500ms);
    const Ppm resumed = Shot("e2e_game_resumed");
    EXPECT_GT(Changed(paused2, resumed, 20, 50, 630, 480, kGame), 0) << "the pond did not move again";

    SendClose(win);
    std::optional<int> status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

}  // namespace

namespace {

// Beside a copy of the program, its folders with one clip missing: the program says it cannot read
// a clip, in a message box and on standard error, and ends with exit code 1 once the box is closed.
TEST_F(GameE2E, AMissingClipIsReportedInAMessageBoxAndEndsTheProgramWithExitCodeOne) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("marshwade-e2e-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path build(MARSHWADE_BINARY_DIR);
    fs::copy_file(build / "marshwade", folder / "marshwade");
    for (const char* sub : {"CLP", "WAV", "INI"})
        fs::copy(build / sub, folder / sub, fs::copy_options::recursive);
    fs::remove(folder / "CLP" / "2-sun1.clp");
    const std::string log = (folder / "stderr.txt").string();
    app = Spawn({"/bin/sh", "-c", "exec '" + (folder / "marshwade").string() + "' 2>'" + log + "'"},
                {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy"});
    ASSERT_GT(app, 0);

    std::this_thread::sleep_for(1500ms);
    EXPECT_FALSE(WaitFor(app, 10ms).has_value()) << "the program ended without waiting for the message box";
    const Ppm box = Shot("e2e_game_missing_clip");
    // The box stands alone in the middle of the screen with its OK button under the text.
    ASSERT_TRUE(Xdo({"mousemove", "510", "294", "click", "1"}));
    std::optional<int> status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    std::ifstream in(log);
    std::stringstream read;
    read << in.rdbuf();
    const std::string text = read.str();
    EXPECT_NE(text.find("Could not read clip\n"), std::string::npos) << text;
    EXPECT_NE(text.find("2-sun1.clp"), std::string::npos) << text;
    fs::remove_all(folder);
}

}  // namespace
