// The SDL platform's native window on a private X server, in this process: the cursor position a key
// press or a posted mouse move is handled at is where the pointer really is, also after it has left
// the window (motion events stop at the window's edge); an X error that only a late wake-up of the
// event loop can cause does not end the program.
#include <cstdlib>

#include "XvfbSession.h"
#include "platform/SdlPlatform.h"

namespace {

using namespace std::chrono_literals;

class SdlWindowE2E : public e2e::XvfbTest {
  protected:
    // Delivers what the X server has sent so far.
    static void Drain(platform::SdlPlatform& os) {
        std::this_thread::sleep_for(150ms);
        os.PostQuit(0);
        os.RunEventLoop();
    }
};

TEST_F(SdlWindowE2E, TheCursorIsWhereThePointerIsAlsoAfterItLeftTheWindow) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::SdlPlatform os;
    ASSERT_TRUE(os.Ready());
    os.SetEventHandler(
        [](platform::NativeWindow&, const platform::NativeEvent&) { return platform::EventResult::Default; });
    platform::NativeWindowSpec options;
    options.title = "Pointer";
    options.width = 200;
    options.height = 100;
    options.borderless = true;
    platform::NativeWindow* window = os.CreateNativeWindow(options);
    ASSERT_NE(window, nullptr);
    window->MoveTo(100, 120);
    window->Show();
    ASSERT_NE(WaitForWindow("Pointer"), 0u);
    Drain(os);

    int32_t cx = 0, cy = 0;
    ASSERT_TRUE(Xdo({"mousemove", "--sync", "150", "150"}));
    Drain(os);
    window->CursorClientPos(cx, cy);
    EXPECT_EQ(cx, 50);
    EXPECT_EQ(cy, 30);

    ASSERT_TRUE(Xdo({"mousemove", "--sync", "600", "500"}));
    Drain(os);
    window->CursorClientPos(cx, cy);
    EXPECT_EQ(cx, 500);
    EXPECT_EQ(cy, 380);
    os.DestroyNativeWindow(window);
}

// A game thread wakes the event loop by an X event sent to a window, which the main thread may
// have just destroyed: the BadWindow answer must not end the program, any other error still does.
TEST_F(SdlWindowE2E, AnEventSentToAWindowThatIsGoneDoesNotEndTheProgram) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    struct Case {
        const char* name;
        bool send;  // XSendEvent, else XMapWindow, to a destroyed window
        int exitCode;
    };
    for (const Case c : {Case{"a send", true, 0}, Case{"a map", false, 1}}) {
        EXPECT_EXIT(
            {
                XSetErrorHandler(nullptr);  // Xlib's own, which ends the program, not the fixture's
                platform::SdlPlatform os;
                if (!os.Ready()) std::_Exit(2);
                Display* d = XOpenDisplay(nullptr);
                if (!d) std::_Exit(3);
                const Window gone = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
                XDestroyWindow(d, gone);
                XEvent ev{};
                ev.xclient.type = ClientMessage;
                ev.xclient.window = gone;
                ev.xclient.format = 32;
                if (c.send)
                    XSendEvent(d, gone, False, NoEventMask, &ev);
                else
                    XMapWindow(d, gone);
                XSync(d, False);
                std::exit(0);
            },
            ::testing::ExitedWithCode(c.exitCode), "")
            << c.name;
    }
}

}  // namespace
