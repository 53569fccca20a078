// The real program on a private X server: its window's size, place and colour on a screenshot, and
// a clean exit when the window manager's close protocol asks it to close.
#include "XvfbSession.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xatom.h>

namespace {

using namespace std::chrono_literals;
using e2e::Ppm;
using e2e::Spawn;
using e2e::WaitFor;

using MainWindowE2E = e2e::XvfbTest;

TEST_F(MainWindowE2E, ShowsTheCentredPondColouredWindowAndClosesWithExitCodeZero) {
    app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/marshwade"}, {"DISPLAY=" + display});
    ASSERT_GT(app, 0);
    Window win = WaitForWindow("Main window");
    ASSERT_NE(win, 0u) << "the main window did not appear";

    XWindowAttributes attrs{};
    int rx = 0, ry = 0;
    Window child = 0;
    for (int i = 0; i < 100; ++i) {  // wait until it is mapped and placed
        XGetWindowAttributes(x, win, &attrs);
        XTranslateCoordinates(x, win, DefaultRootWindow(x), 0, 0, &rx, &ry, &child);
        if (attrs.map_state == IsViewable && rx == 137) break;
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(attrs.width, 750);
    EXPECT_EQ(attrs.height, 550);
    EXPECT_EQ(rx, (1024 - 750) / 2);
    EXPECT_EQ(ry, (768 - 550) / 2);

    std::this_thread::sleep_for(300ms);  // the first frames
    Ppm ppm = Shot("e2e_main_window");
    ASSERT_EQ(ppm.width, 1024);
    const std::array<int, 3> pond{67, 167, 208}, outside{0, 0, 0};
    EXPECT_EQ(ppm.At(137, 109), pond);
    EXPECT_EQ(ppm.At(886, 658), pond);
    EXPECT_EQ(ppm.At(512, 384), pond);
    EXPECT_EQ(ppm.At(136, 109), outside);
    EXPECT_EQ(ppm.At(887, 658), outside);
    EXPECT_EQ(ppm.At(137, 659), outside);

    // What a window manager sends for its close button or Alt+F4.
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win;
    ev.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, win, False, NoEventMask, &ev);
    XFlush(x);
    std::optional<int> status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

}  // namespace
