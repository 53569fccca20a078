// The SDL platform's native window on a private X server, in this process: the cursor position a key
// press or a posted mouse move is handled at is where the pointer really is, also after it has left
// the window (motion events stop at the window's edge); what a present puts on the screen, both
// ways of presenting; and an X error that only a late wake-up of the event loop can cause does not
// end the program.
#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

    // A borderless window at (100, 120), shown and seen by the X server; null when it cannot be made.
    platform::NativeWindow* OpenWindow(platform::SdlPlatform& os, const char* title, int32_t width,
                                       int32_t height, void* owner = nullptr) {
        platform::NativeWindowSpec options;
        options.title = title;
        options.width = width;
        options.height = height;
        options.borderless = true;
        platform::NativeWindow* window = os.CreateNativeWindow(options);
        if (!window) return nullptr;
        window->SetUserData(owner);  // events reach the handler only for a window with an owner
        window->MoveTo(100, 120);
        window->Show();
        return WaitForWindow(title) != 0u ? window : nullptr;
    }
};

TEST_F(SdlWindowE2E, TheCursorIsWhereThePointerIsAlsoAfterItLeftTheWindow) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::SdlPlatform os;
    ASSERT_TRUE(os.Ready());
    os.SetEventHandler(
        [](platform::NativeWindow&, const platform::NativeEvent&) { return platform::EventResult::Default; });
    platform::NativeWindow* window = OpenWindow(os, "Pointer", 200, 100);
    ASSERT_NE(window, nullptr);
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

// A picture of the window's size in the engine's format: rows bottom-up, blue, green, red.
struct TestPicture {
    TestPicture(int32_t w, int32_t h) : width(w), height(h), stride(((24 * w + 31) / 32) * 4) {
        bits.resize(static_cast<size_t>(stride) * h + 4);
    }
    // Window row y, column x gets red, green, blue.
    void Set(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
        uint8_t* p = bits.data() + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    void Fill(uint8_t r, uint8_t g, uint8_t b) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) Set(x, y, r, g, b);
    }
    platform::PictureView View() const { return {bits.data(), width, height, stride}; }
    int32_t width, height, stride;
    std::vector<uint8_t> bits;
};

TEST_F(SdlWindowE2E, BothWaysOfPresentingShowThePictureUprightAndOnlyTheRectanglesGiven) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (platform::PresentMode mode : {platform::PresentMode::Surface, platform::PresentMode::Renderer}) {
        SCOPED_TRACE(platform::PresentModeName(mode));
        platform::SdlPlatform os(mode);
        ASSERT_TRUE(os.Ready());
        os.SetEventHandler([](platform::NativeWindow&, const platform::NativeEvent&) {
            return platform::EventResult::Default;
        });
        platform::NativeWindow* window = OpenWindow(os, "Present", 200, 100);
        ASSERT_NE(window, nullptr);
        Drain(os);

        // The top half red, the bottom half blue, one green pixel at (5, 3) to tell the corners apart.
        TestPicture picture(200, 100);
        for (int32_t row = 0; row < 100; ++row)
            for (int32_t col = 0; col < 200; ++col)
                row < 50 ? picture.Set(col, row, 200, 30, 30) : picture.Set(col, row, 30, 30, 200);
        picture.Set(5, 3, 20, 210, 40);
        window->Present(picture.View(), {{0, 0, 200, 100}});
        Drain(os);
        e2e::Ppm shot = Shot(std::string("present_") + platform::PresentModeName(mode) + "_whole");
        EXPECT_EQ(shot.At(100 + 100, 120 + 10), (std::array<int, 3>{200, 30, 30}));
        EXPECT_EQ(shot.At(100 + 100, 120 + 90), (std::array<int, 3>{30, 30, 200}));
        EXPECT_EQ(shot.At(100 + 5, 120 + 3), (std::array<int, 3>{20, 210, 40}));
        EXPECT_EQ(shot.At(100 + 199, 120 + 99), (std::array<int, 3>{30, 30, 200}));

        // The whole picture turns grey, but only one rectangle is presented.
        picture.Fill(128, 128, 128);
        window->Present(picture.View(), {{40, 20, 90, 70}});
        Drain(os);
        shot = Shot(std::string("present_") + platform::PresentModeName(mode) + "_rect");
        EXPECT_EQ(shot.At(100 + 40, 120 + 20), (std::array<int, 3>{128, 128, 128}));
        EXPECT_EQ(shot.At(100 + 89, 120 + 69), (std::array<int, 3>{128, 128, 128}));
        EXPECT_EQ(shot.At(100 + 39, 120 + 20), (std::array<int, 3>{200, 30, 30}));
        EXPECT_EQ(shot.At(100 + 90, 120 + 69), (std::array<int, 3>{30, 30, 200}));
        EXPECT_EQ(shot.At(100 + 5, 120 + 3), (std::array<int, 3>{20, 210, 40}));
        os.DestroyNativeWindow(window);
    }
}

// What the game leaves until its first frame is on the screen (looking for an audio device) waits
// for a present made by the event loop; the loading picture, presented before the loop, is not it.
TEST_F(SdlWindowE2E, TheTaskForAfterTheFirstPresentWaitsForAPresentOfTheEventLoop) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::SdlPlatform os;
    ASSERT_TRUE(os.Ready());
    TestPicture picture(50, 40);
    std::vector<std::string> order;
    os.SetEventHandler([&](platform::NativeWindow& w, const platform::NativeEvent& event) {
        if (event.type != platform::NativeEventType::Present) return platform::EventResult::Default;
        order.push_back("present");
        w.Present(picture.View(), {{0, 0, 50, 40}});
        return platform::EventResult::Handled;
    });
    platform::NativeWindow* window = OpenWindow(os, "First present", 50, 40, &order);
    ASSERT_NE(window, nullptr);
    window->Present(picture.View(), {{0, 0, 50, 40}});  // the loading picture
    os.AfterFirstPresentInLoop([&] {
        order.push_back("task");
        os.PostQuit(0);
    });
    Drain(os);
    EXPECT_TRUE(order.empty()) << "ran without a present of the loop";

    os.Post(window, {platform::NativeEventType::Present, 0, 0, 0});
    os.Post(window, {platform::NativeEventType::Present, 0, 0, 0});
    std::atomic<bool> ended{false};
    std::thread guard([&] {  // a task that never runs ends the loop with 1
        for (int i = 0; i < 300 && !ended; ++i) std::this_thread::sleep_for(10ms);
        if (!ended) os.PostQuit(1);
    });
    const int code = os.RunEventLoop();
    ended = true;
    guard.join();
    EXPECT_EQ(code, 0);
    // Once, right after the first; the second present was already waiting.
    EXPECT_EQ(order, (std::vector<std::string>{"present", "task", "present"}));
    os.DestroyNativeWindow(window);
}

// A game thread wakes the event loop by an X event sent to a window, which the main thread may
// have just destroyed: the BadWindow answer must not end the program, any other error still does;
// nor when the answer is read only as SDL quits, after it has put back the handler it found.
TEST_F(SdlWindowE2E, AnEventSentToAWindowThatIsGoneDoesNotEndTheProgram) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    struct Case {
        const char* name;
        bool send;       // XSendEvent, else XMapWindow, to a destroyed window
        bool afterQuit;  // the answer read once SDL has quit
        int exitCode;
    };
    for (const Case c : {Case{"a send", true, false, 0}, Case{"a map", false, false, 1},
                         Case{"a send answered after SDL quit", true, true, 0}}) {
        EXPECT_EXIT(
            {
                XSetErrorHandler(nullptr);  // Xlib's own, which ends the program, not the fixture's
                auto os = std::make_unique<platform::SdlPlatform>();
                if (!os->Ready()) std::_Exit(2);
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
                if (c.afterQuit) {
                    XFlush(d);
                    os.reset();
                }
                XSync(d, False);
                std::exit(0);
            },
            ::testing::ExitedWithCode(c.exitCode), "")
            << c.name;
    }
}

}  // namespace
