// A gamepad playing the real program on a private X server: SDL's virtual controller, pressed through
// the file MARSHWADE_TEST_PAD names, hops the frog with the d-pad and the stick, moves the focus
// onto a button with a shoulder, opens its dialog with A and closes it with B.
#include <filesystem>
#include <fstream>

#include "XvfbSession.h"
#include "tests/e2e/StateLog.h"
// After the fixture: Xlib defines macros that clash with GoogleTest.

namespace {

using namespace std::chrono_literals;
using e2e::Spawn;
namespace fs = std::filesystem;

class GamepadE2E : public e2e::XvfbTest {
  protected:
    void SetUp() override {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        folder = fs::path(MARSHWADE_BINARY_DIR) / "e2e-gamepad";
        fs::remove_all(folder);
        fs::create_directories(folder);
        pad = (folder / "pad").string();
        std::ofstream(pad).close();
        const std::string log = (folder / "state.log").string();
        app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/marshwade"},
                    {"DISPLAY=" + display, "MARSHWADE_SEED=11", "SDL_AUDIODRIVER=dummy",
                     "MARSHWADE_STATE_LOG=" + log, "MARSHWADE_TEST_PAD=" + pad});
        ASSERT_GT(app, 0);
        trace = std::make_unique<e2e::StateLog>(log);
        game = WaitForWindow("Marshwade");
        ASSERT_NE(game, 0u) << "the game window did not appear";
        ASSERT_TRUE(Xdo({"windowfocus", "--sync", std::to_string(game)}));
    }
    // Presses and lets go, as a thumb does.
    void Press(const std::string& control, int down = 1, int up = 0) {
        std::ofstream(pad, std::ios::app) << control << " " << down << "\n";
        std::this_thread::sleep_for(150ms);
        std::ofstream(pad, std::ios::app) << control << " " << up << "\n";
        std::this_thread::sleep_for(150ms);
    }
    fs::path folder;
    std::string pad;
    std::unique_ptr<e2e::StateLog> trace;
    Window game = 0;
};

TEST_F(GamepadE2E, ThePadHopsTheFrogAndOpensAndClosesADialog) {
    ASSERT_TRUE(trace->WaitFor([](const e2e::View& v) { return v.Resting() && v.column == 4 && v.row == 3; }))
        << "the frog did not arrive on the entry island";
    std::this_thread::sleep_for(1000ms);  // settled on it, as a player sees it
    // The d-pad: one press, one hop to the left.
    Press("dpleft");
    ASSERT_TRUE(trace->WaitFor([](const e2e::View& v) { return v.Resting() && v.column == 3; }))
        << "the d-pad did not hop the frog";
    Shot("e2e_gamepad_hopped");
    // The stick pushed right and back: one hop back, not a run of them.
    Press("leftx", 32767, 0);
    ASSERT_TRUE(trace->WaitFor([](const e2e::View& v) { return v.Resting() && v.column == 4; }))
        << "the stick did not hop the frog";
    std::this_thread::sleep_for(500ms);
    trace->Poll();
    EXPECT_EQ(trace->last.column, 4) << "one push hopped more than once";

    // The right shoulder moves the focus onto a button; A clicks it, B closes what it opened.
    Press("rightshoulder");
    Press("a");
    const Window dialog = WaitForWindow("Dialog window");
    ASSERT_NE(dialog, 0u) << "A on the focused button opened no dialog";
    std::this_thread::sleep_for(300ms);
    Shot("e2e_gamepad_dialog");
    Press("b");
    EXPECT_TRUE(Gone(dialog)) << "B did not close the dialog";
}

}  // namespace
