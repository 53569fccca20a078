// The game's dialogs in real windows on a private X server, driven with xdotool: the quit dialog
// centred over the game which stands still under it, No going back to the game, Exit and Enter ending
// the program with exit code 0; the options changing the skill, which starts a new game with that
// skill's lives; the help window; and the program's icon on every window.
#include <set>

#include "XvfbSession.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xatom.h>

namespace {

using namespace std::chrono_literals;
using e2e::Ppm;
using e2e::Spawn;
using e2e::WaitFor;

constexpr int kLeft = (1024 - 750) / 2;  // the game window is centred on the screen
constexpr int kTop = (768 - 550) / 2;

constexpr e2e::Point kGame{kLeft, kTop};

class DialogsE2E : public e2e::XvfbTest {
  protected:
    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/marshwade"},
                    {"DISPLAY=" + display, "MARSHWADE_SEED=11", "SDL_AUDIODRIVER=dummy"});
        ASSERT_GT(app, 0);
        game = WaitForWindow("Marshwade");
        ASSERT_NE(game, 0u) << "the game window did not appear";
        ASSERT_TRUE(Xdo({"windowfocus", "--sync", std::to_string(game)}));
        std::this_thread::sleep_for(2500ms);  // the leaves come out, the frog arrives
    }

    // Clicks at a point of the game window.
    bool ClickGame(int wx, int wy) { return ClickAt(kLeft + wx, kTop + wy); }
    // The dialog's top-left corner on the screen; false when it is not mapped.
    bool Origin(Window w, int& sx, int& sy, int& width, int& height) {
        XWindowAttributes attrs{};
        Window child = 0;
        if (!XGetWindowAttributes(x, w, &attrs) || attrs.map_state != IsViewable) return false;
        XTranslateCoordinates(x, w, DefaultRootWindow(x), 0, 0, &sx, &sy, &child);
        width = attrs.width;
        height = attrs.height;
        return true;
    }
    // Waits for the dialog to be mapped at its place, centred over the game window.
    Window WaitForDialog(int width, int height) {
        Window dialog = WaitForWindow("Dialog window");
        int sx = 0, sy = 0, w = 0, h = 0;
        for (int i = 0; i < 100 && dialog; ++i) {
            if (Origin(dialog, sx, sy, w, h) && sx == kLeft + (750 - width) / 2) break;
            std::this_thread::sleep_for(20ms);
        }
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        EXPECT_EQ(sx, kLeft + (750 - width) / 2);
        EXPECT_EQ(sy, kTop + static_cast<int>((550 - height) * 0.5f));
        std::this_thread::sleep_for(300ms);  // its first frames
        return dialog;
    }
    // The width of the first icon in the window's _NET_WM_ICON; 0 without one.
    long IconWidth(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const Atom icon = XInternAtom(x, "_NET_WM_ICON", False);
        long width = 0;
        if (XGetWindowProperty(x, w, icon, 0, 2, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
                Success &&
            data && count == 2)
            width = reinterpret_cast<long*>(data)[0];
        if (data) XFree(data);
        return width;
    }
    bool Ended(int expectedCode) {
        std::optional<int> status = WaitFor(app, 10000ms);
        if (!status) return false;
        app = -1;
        EXPECT_TRUE(WIFEXITED(*status));
        return WIFEXITED(*status) && WEXITSTATUS(*status) == expectedCode;
    }

    Window game = 0;
};

// The buttons of the game window (window coordinates of their centres).
constexpr int kExitX = 750 - 2 - 29, kExitY = 15;
constexpr int kOptionsX = 750 - 2 - 46, kOptionsY = 30 + 40 + 15;
constexpr int kHelpX = 750 - 2 - 58 - 2 - 30 - 2 - 29, kHelpY = 15;
constexpr int kTop10X = kOptionsX, kTop10Y = 30 + 45 + 30 + 15;

TEST_F(DialogsE2E, ExitAsksOverTheStillGameNoGoesBackToPlayExitAndEnterEndTheProgram) {
    ASSERT_TRUE(ClickGame(kExitX, kExitY));
    Window quit = WaitForDialog(280, 185);
    ASSERT_NE(quit, 0u) << "the quit dialog did not appear";
    EXPECT_GT(IconWidth(quit), 0) << "the dialog carries the program's icon";
    EXPECT_EQ(IconWidth(quit), IconWidth(game));

    // The game stands still under the dialog, and a click on it does nothing.
    const Ppm still1 = Shot("e2e_dialog_quit");
    ASSERT_TRUE(ClickGame(300, 300));
    std::this_thread::sleep_for(700ms);
    const Ppm still2 = Shot("e2e_dialog_quit_later");
    EXPECT_EQ(Changed(still1, still2, kLeft, kTop, 750, 550), 0);
    // The dialog's own picture: the pond-blue water inside its shores, over the game's picture.
    const int dx = kLeft + (750 - 280) / 2, dy = kTop + (550 - 185) / 2;
    EXPECT_EQ(still1.At(dx + 140, dy + 100), (std::array<int, 3>{67, 167, 208}));

    // No: the dialog goes and the pond moves on.
    ASSERT_TRUE(ClickAt(dx + 140 + 10 + 45, dy + 185 - 10 - 17));
    ASSERT_TRUE(Gone(quit)) << "No did not close the dialog";
    std::this_thread::sleep_for(300ms);
    const Ppm play1 = Shot("e2e_dialog_quit_no_1");
    std::this_thread::sleep_for(1000ms);
    const Ppm play2 = Shot("e2e_dialog_quit_no_2");
    EXPECT_GT(Changed(play1, play2, kLeft + 20, kTop + 50, 630, 480), 0) << "play did not go on";

    // Exit again, then Enter on the focused Yes: the game saves and ends with exit code 0.
    ASSERT_TRUE(ClickGame(kExitX, kExitY));
    quit = WaitForDialog(280, 185);
    ASSERT_NE(quit, 0u);
    ASSERT_TRUE(Xdo({"key", "--window", std::to_string(quit), "Return"}));
    EXPECT_TRUE(Ended(0)) << "Enter on Yes did not end the program with exit code 0";
}

TEST_F(DialogsE2E, OptionsChangeTheSkillAndANewGameStartsWithThatSkillsLives) {
    const Ppm novice = Shot("e2e_options_before");
    ASSERT_TRUE(ClickGame(kOptionsX, kOptionsY));
    Window options = WaitForDialog(260, 480);
    ASSERT_NE(options, 0u) << "the options window did not appear";
    EXPECT_GT(IconWidth(options), 0);
    Shot("e2e_dialog_options");
    const int ox = kLeft + (750 - 260) / 2, oy = kTop + (550 - 480) / 2;
    ASSERT_TRUE(ClickAt(ox + 50, oy + 277 + 20));  // Expert
    Shot("e2e_dialog_options_expert");
    ASSERT_TRUE(ClickAt(ox + 130 - 10 - 45, oy + 480 - 10 - 17));  // OK
    ASSERT_TRUE(Gone(options)) << "OK did not close the options";
    std::this_thread::sleep_for(1500ms);
    const Ppm expert = Shot("e2e_options_after");
    // Novice plays with eight lives: seven wait in the panel, the lowest row holding one of them.
    // Expert has six: five wait, two rows up from the bottom; the lowest row is empty.
    EXPECT_GT(Changed(novice, expert, kLeft + 690, kTop + 512, 55, 36), 300)
        << "the bottom frog is still there";
    EXPECT_EQ(Changed(novice, expert, kLeft + 650, kTop + 330, 100, 40), 0) << "the top rows changed";
    // A new game: level 001 (two digits alike, the third another) and score 000000 (all six alike,
    // and like the level's zeros). Digits are 28 x 44 at y 3.
    EXPECT_TRUE(Same(expert, 150, 3, 180, 3, 28, 44, kGame));
    EXPECT_FALSE(Same(expert, 150, 3, 210, 3, 28, 44, kGame));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(Same(expert, 150, 3, 400 + 30 * i, 3, 28, 44, kGame)) << "score digit " << i;
}

TEST_F(DialogsE2E, HelpShowsTheRulesAndPlayGoesBack) {
    ASSERT_TRUE(ClickGame(kHelpX, kHelpY));
    Window help = WaitForDialog(640, 540);
    ASSERT_NE(help, 0u) << "the help window did not appear";
    EXPECT_GT(IconWidth(help), 0);
    Shot("e2e_dialog_help");
    const int hx = kLeft + (750 - 640) / 2, hy = kTop + (550 - 540) / 2;
    ASSERT_TRUE(ClickAt(hx + 640 - 40 - 45, hy + 540 - 10 - 17));  // Play
    EXPECT_TRUE(Gone(help)) << "Play did not close the help";
}

// The level-completed window in a real window, over the demo's plain backdrop: its texts, and Escape
// closing it.
using LevelDialogE2E = e2e::XvfbTest;

TEST_F(LevelDialogE2E, ShowsItsFiguresAndEscapeClosesIt) {
    app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/dialogs_demo", "level"},
                {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy"});
    ASSERT_GT(app, 0);
    Window dialog = WaitForWindow("Dialog window");
    ASSERT_NE(dialog, 0u) << "the dialog did not appear";
    std::this_thread::sleep_for(400ms);
    const Ppm shot = Shot("e2e_dialog_level_completed");
    const int dx = kLeft + (750 - 300) / 2, dy = kTop + (550 - 320) / 2;
    // Black text on each row of the table: "Score", "Bonus", "Bonus frog", "Total score".
    for (int row : {80, 110, 140, 190}) {
        int dark = 0;
        for (int y = row; y < row + 28; ++y) {
            for (int col = 30; col < 270; ++col)
                dark += shot.At(dx + col, dy + y) == std::array<int, 3>{0, 0, 0};
        }
        EXPECT_GT(dark, 20) << "row " << row;
    }
    // The dialog closes on the key's press, so xdotool finds no window for the release: its own
    // result says nothing here.
    Xdo({"key", "--window", std::to_string(dialog), "Escape"});
    std::optional<int> status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the dialog did not close";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

// Help, Options and Top 10 opened from each other's closed state: the pointer jumps straight from one
// button onto the next in a single move (as a fast mouse, a tablet or a remote desktop moves it), and a
// button is clicked again in place, the pointer having rested on it while its dialog came and went.
// Each closes by its own button the first time (the table, which has none, by its key), then by its key.
TEST_F(DialogsE2E, EveryClickOpensItsDialogWhereverThePointerCameFromOrRested) {
    struct Target {
        const char* name;
        int x, y, width, height;
        int closeX, closeY;  // its closing button in the dialog, none for the table
    };
    const Target help{"help", kHelpX, kHelpY, 640, 540, 640 - 40 - 45, 540 - 10 - 17};
    const Target options{"options", kOptionsX, kOptionsY, 260, 480, 130 - 10 - 45, 480 - 10 - 17};
    const Target top10{"top 10", kTop10X, kTop10Y, 355, 550, -1, -1};
    // Every ordered pair of the three follows once in this walk.
    const Target* walk[] = {&help, &options, &top10, &help, &top10, &options, &help};
    std::set<const Target*> met;
    auto click = [&]() { return Xdo({"click", "1"}); };
    auto open = [&](const Target& t, const std::string& how) {
        Window dialog = WaitForWindow("Dialog window");
        EXPECT_NE(dialog, 0u) << t.name << " did not open " << how << " (step " << met.size() << ")";
        if (dialog) WaitForDialog(t.width, t.height);
        return dialog;
    };
    auto close = [&](const Target& t, Window dialog, bool byMouse) {
        if (byMouse && t.closeX >= 0) {
            ClickAt(kLeft + (750 - t.width) / 2 + t.closeX, kTop + static_cast<int>((550 - t.height) * 0.5f) + t.closeY);
        } else {
            // To the window with the keyboard, the dialog: sent to the dialog itself, the release
            // would find it gone and the key would stay down, repeating into the next dialog.
            Xdo({"key", "Escape"});
        }
        ASSERT_TRUE(Gone(dialog)) << t.name << " did not close";
        std::this_thread::sleep_for(300ms);
    };
    for (const Target* t : walk) {
        const bool byMouse = met.insert(t).second;  // the first time by its button, then by its key
        ASSERT_TRUE(Xdo({"mousemove", "--sync", std::to_string(kLeft + t->x), std::to_string(kTop + t->y)}));
        std::this_thread::sleep_for(150ms);
        ASSERT_TRUE(click());
        Window dialog = open(*t, "after a single move onto its button");
        ASSERT_NE(dialog, 0u);
        close(*t, dialog, byMouse);
        if (byMouse && t->closeX >= 0) continue;  // the pointer has left the button to close it
        ASSERT_TRUE(click());
        dialog = open(*t, "clicked again where the pointer rested");
        ASSERT_NE(dialog, 0u);
        close(*t, dialog, false);
    }
}

}  // namespace
