// The real program on a private X server: its window's size, place and colour on a screenshot, and
// a clean exit when the window manager's close protocol asks it to close.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Starts a program without a shell. It is told to end when this test process ends, so a test that
// dies half-way leaves no X server or game behind.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {}) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStrings(extraEnv);
    for (char** e = environ; *e; ++e) {
        if (std::string(*e).rfind("DISPLAY=", 0) != 0) envStrings.emplace_back(*e);
    }
    std::vector<char*> envp;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// Windows come and go while the tree is walked; an error about one that is gone is not fatal.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// Waits up to `limit` for the process to end; its exit status, or none if it is still running.
std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
}

void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (!WaitFor(pid, 3000ms)) {
        kill(pid, SIGKILL);
        WaitFor(pid, 3000ms);
    }
}

Window FindByName(Display* d, Window w, const char* name) {
    char* title = nullptr;
    if (XFetchName(d, w, &title) && title) {
        bool match = std::string(title) == name;
        XFree(title);
        if (match) return w;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i) found = FindByName(d, children[i], name);
        if (children) XFree(children);
    }
    return found;
}

struct Ppm {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    std::array<int, 3> At(int x, int y) const {
        size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

bool ReadPpm(const std::string& path, Ppm& out) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> out.width >> out.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || out.width <= 0 || out.height <= 0) return false;
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    in.read(reinterpret_cast<char*>(out.rgb.data()), static_cast<std::streamsize>(out.rgb.size()));
    return static_cast<size_t>(in.gcount()) == out.rgb.size();
}

class MainWindowE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!Exists("/usr/bin/Xvfb") || !Exists("/usr/bin/import"))
            GTEST_SKIP() << "Xvfb or imagemagick missing";
        for (int n = 91; n < 400; ++n) {
            if (Exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
                Exists("/tmp/.X" + std::to_string(n) + "-lock"))
                continue;
            display = ":" + std::to_string(n);
            break;
        }
        ASSERT_FALSE(display.empty());
        xvfb = Spawn({"/usr/bin/Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        ASSERT_GT(xvfb, 0);
        for (int i = 0; i < 250 && !x; ++i) {
            std::this_thread::sleep_for(20ms);
            x = XOpenDisplay(display.c_str());
        }
        ASSERT_NE(x, nullptr) << "Xvfb did not start on " << display;
        XSetErrorHandler(&IgnoreXErrors);
    }
    void TearDown() override {
        Stop(app);
        if (x) XCloseDisplay(x);
        Stop(xvfb);
    }

    std::string display;
    pid_t xvfb = -1;
    pid_t app = -1;
    Display* x = nullptr;
};

TEST_F(MainWindowE2E, ShowsTheCentredPondColouredWindowAndClosesWithExitCodeZero) {
    app = Spawn({std::string(MARSHWADE_BINARY_DIR) + "/marshwade"}, {"DISPLAY=" + display});
    ASSERT_GT(app, 0);
    Window win = 0;
    for (int i = 0; i < 500 && !win; ++i) {
        std::this_thread::sleep_for(20ms);
        win = FindByName(x, DefaultRootWindow(x), "Main window");
    }
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
    const std::string shot = std::string(MARSHWADE_BINARY_DIR) + "/e2e_main_window";
    std::string cmd = "/usr/bin/import -display " + display + " -window root " + shot +
                      ".png && /usr/bin/convert " + shot + ".png " + shot + ".ppm";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    Ppm ppm;
    ASSERT_TRUE(ReadPpm(shot + ".ppm", ppm));
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
