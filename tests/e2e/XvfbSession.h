#pragma once
// A private X server for end-to-end tests: started on a free display number, stopped with the test;
// programs started without a shell that end when the test process ends; screenshots read as PPM and
// compared; xdotool run against the display; the game copied into a folder of a test's own.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "graphics/BmpReader.h"

extern char** environ;

namespace e2e {

using namespace std::chrono_literals;

inline bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Starts a program without a shell, told to end when this test process ends. With `out` >= 0 its
// standard output goes there.
inline pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {},
                   int out = -1) {
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
        if (out >= 0 && dup2(out, STDOUT_FILENO) < 0) _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

inline std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
}

// Runs a program to its end (at most `limit`) and gives its exit code (-1 if it did not end well) and
// what it wrote on standard output.
struct Output {
    int code = -1;
    std::string text;
};
inline Output Capture(const std::vector<std::string>& args, std::chrono::milliseconds limit = 10000ms) {
    Output result;
    int fds[2] = {-1, -1};
    if (pipe(fds) != 0) return result;
    const pid_t pid = Spawn(args, {}, fds[1]);
    close(fds[1]);
    const auto end = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd p{fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.text.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    const std::optional<int> status = WaitFor(pid, 5000ms);
    if (!status) {
        kill(pid, SIGKILL);
        WaitFor(pid, 5000ms);
        return result;
    }
    if (WIFEXITED(*status)) result.code = WEXITSTATUS(*status);
    return result;
}

inline void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (!WaitFor(pid, 3000ms)) {
        kill(pid, SIGKILL);
        WaitFor(pid, 3000ms);
    }
}

// Windows come and go while the tree is walked; an error about one that is gone is not fatal.
inline int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

inline Window FindByName(Display* d, Window w, const char* name) {
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

inline bool ReadPpm(const std::string& path, Ppm& out) {
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

// The top-left corner of a window on the screen, for rectangles given in the window's coordinates.
struct Point {
    int x = 0;
    int y = 0;
};

// Pixels that differ between two screenshots in the rectangle (x0, y0, w, h) of a window whose
// top-left corner stands at `at` on the screen (by default the rectangle is in screen coordinates).
inline int Changed(const Ppm& a, const Ppm& b, int x0, int y0, int w, int h, Point at = {}) {
    int changed = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) changed += a.At(at.x + x, at.y + y) != b.At(at.x + x, at.y + y);
    }
    return changed;
}

// Whether two rectangles of one screenshot, at (ax, ay) and (bx, by), hold the same picture.
inline bool Same(const Ppm& p, int ax, int ay, int bx, int by, int w, int h, Point at = {}) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (p.At(at.x + ax + x, at.y + ay + y) != p.At(at.x + bx + x, at.y + by + y)) return false;
        }
    }
    return true;
}

// The loading picture as CLP/skin.bmp holds it, to be recognised on the screen.
class LoadingPicture {
  public:
    explicit LoadingPicture(const std::string& file) {
        std::string reason;
        EXPECT_TRUE(graphics::ReadBmpFile(file, picture_, reason) && picture_.bitsPerPixel == 24) << reason;
    }
    // The share of sampled pixels of the window at `at` in `shot` that match the picture.
    double Share(const Ppm& shot, Point at) const {
        if (picture_.bitsPerPixel != 24) return 0;
        int match = 0, total = 0;
        for (int y = 0; y < std::min(550, picture_.Rows()); y += 7) {
            const int row = picture_.BottomUp() ? picture_.Rows() - 1 - y : y;
            const uint8_t* bgr = picture_.bits.data() + static_cast<size_t>(row) * picture_.stride;
            for (int x = 0; x < std::min(750, picture_.width); x += 7, ++total) {
                match += shot.At(at.x + x, at.y + y) ==
                         std::array<int, 3>{bgr[x * 3 + 2], bgr[x * 3 + 1], bgr[x * 3]};
            }
        }
        return total ? static_cast<double>(match) / total : 0;
    }

  private:
    graphics::Picture picture_;
};

// A copy of the built program with its CLP/, WAV/ and INI/ in a folder of its own under the system's
// temporary folder, the settings file replaced by the test's: the saved files it writes land there.
// With `fineArt` the pictures drawn at twice the size (CLP@2x/) come too; without them a window at
// 2x shows the game's own pictures enlarged, every pixel a 2x2 square. Removed with the object.
class PrivateGame {
  public:
    explicit PrivateGame(const std::string& settings, bool fineArt = false)
        : folder_(std::filesystem::temp_directory_path() /
                  ("marshwade-e2e-game-" + std::to_string(getpid()))) {
        namespace fs = std::filesystem;
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const fs::path build(MARSHWADE_BINARY_DIR);
        fs::copy_file(build / "marshwade", folder_ / "marshwade");
        for (const char* sub : {"CLP", "WAV", "INI"})
            fs::copy(build / sub, folder_ / sub, fs::copy_options::recursive);
        if (fineArt) fs::copy(build / "CLP@2x", folder_ / "CLP@2x", fs::copy_options::recursive);
        std::ofstream(folder_ / "INI" / "Quillmoss.ini", std::ios::trunc) << settings;
    }
    ~PrivateGame() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    PrivateGame(const PrivateGame&) = delete;
    PrivateGame& operator=(const PrivateGame&) = delete;
    std::string Program() const { return (folder_ / "marshwade").string(); }
    std::string File(const std::string& name) const { return (folder_ / name).string(); }

  private:
    std::filesystem::path folder_;
};

// A fixture with an X server of 1024 x 768 pixels and a connection to it.
class XvfbTest : public ::testing::Test {
  protected:
    // The server's screen; a fixture may choose another before SetUp.
    std::string screen = "1024x768x24";
    void SetUp() override {
        if (!Exists("/usr/bin/Xvfb") || !Exists("/usr/bin/import") || !Exists("/usr/bin/xdotool"))
            GTEST_SKIP() << "Xvfb, imagemagick or xdotool missing";
        // The server picks a free display itself and tells which: tests running side by side must
        // never share one (a choice made by looking for lock files races with the other tests).
        int fds[2] = {-1, -1};
        ASSERT_EQ(pipe(fds), 0);
        xvfb = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                      "-nolisten", "tcp"});
        close(fds[1]);
        ASSERT_GT(xvfb, 0);
        display = ":" + ReadDisplayNumber(fds[0]);
        close(fds[0]);
        ASSERT_NE(display, ":") << "Xvfb did not report its display";
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

    // The display number the server writes to `fd`, followed by a newline; empty after 10 s without one.
    static std::string ReadDisplayNumber(int fd) {
        std::string number;
        for (int waited = 0; waited < 10000;) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) {
                waited += 100;
                continue;
            }
            char c = 0;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return number;
            if (c >= '0' && c <= '9') number.push_back(c);
        }
        return {};
    }

    // Runs xdotool on the test's display with the given arguments; true when it succeeded.
    bool Xdo(const std::vector<std::string>& args) {
        std::vector<std::string> all{"/usr/bin/xdotool"};
        all.insert(all.end(), args.begin(), args.end());
        pid_t pid = Spawn(all, {"DISPLAY=" + display});
        std::optional<int> status = WaitFor(pid, 10000ms);
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }

    // A screenshot of the whole screen, kept as `name`.png in `shots` (the build folder by default).
    Ppm Shot(const std::string& name) {
        const std::string base = shots + "/" + name;
        const std::string cmd = "/usr/bin/import -display " + display + " -window root " + base +
                                ".png && /usr/bin/convert " + base + ".png " + base + ".ppm";
        Ppm ppm;
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        EXPECT_TRUE(ReadPpm(base + ".ppm", ppm));
        // Only the PNG is kept: the raw copy is read back once and would fill the build folder.
        std::remove((base + ".ppm").c_str());
        return ppm;
    }

    // Waits for a top-level window with this title to be mapped; 0 when none appears.
    Window WaitForWindow(const char* title) {
        for (int i = 0; i < 500; ++i) {
            Window w = FindByName(x, DefaultRootWindow(x), title);
            XWindowAttributes attrs{};
            if (w && XGetWindowAttributes(x, w, &attrs) && attrs.map_state == IsViewable) return w;
            std::this_thread::sleep_for(20ms);
        }
        return 0;
    }

    // A click of the left button at a point of the screen, after the pointer has come there and moved
    // on by a pixel (a control sees the pointer enter before it is pressed).
    bool ClickAt(int sx, int sy) {
        bool ok = Xdo({"mousemove", "--sync", std::to_string(sx), std::to_string(sy)});
        std::this_thread::sleep_for(100ms);
        ok = ok && Xdo({"mousemove", "--sync", std::to_string(sx + 1), std::to_string(sy)});
        std::this_thread::sleep_for(100ms);
        ok = ok && Xdo({"click", "1"});
        std::this_thread::sleep_for(250ms);
        return ok;
    }

    // The top-left corner of a window on the screen.
    Point Corner(Window win) {
        Point p;
        Window child = 0;
        XTranslateCoordinates(x, win, DefaultRootWindow(x), 0, 0, &p.x, &p.y, &child);
        return p;
    }
    // Waits until the window stands still at its final place (the placement follows the mapping).
    Point Settled(Window win) {
        Point corner = Corner(win), last{-1, -1};
        for (int i = 0; i < 100 && (corner.x != last.x || corner.y != last.y); ++i) {
            std::this_thread::sleep_for(50ms);
            last = corner;
            corner = Corner(win);
        }
        return corner;
    }

    // Waits up to 5 s for the window to be unmapped or destroyed.
    bool Gone(Window w) {
        for (int i = 0; i < 250; ++i) {
            XWindowAttributes attrs{};
            if (!XGetWindowAttributes(x, w, &attrs) || attrs.map_state != IsViewable) return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    // Asks the window to close as a window manager does (WM_DELETE_WINDOW).
    void SendClose(Window win) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = win;
        ev.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(x, win, False, NoEventMask, &ev);
        XFlush(x);
    }

    std::string shots = MARSHWADE_BINARY_DIR;
    std::string display;
    pid_t xvfb = -1;
    pid_t app = -1;
    Display* x = nullptr;
};

}  // namespace e2e
