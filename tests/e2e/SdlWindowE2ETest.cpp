// The SDL platform's native window on a private X server, in this process: the cursor position a key
// press or a posted mouse move is handled at is where the pointer really is, also after it has left
// the window (motion events stop at the window's edge).
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

}  // namespace
