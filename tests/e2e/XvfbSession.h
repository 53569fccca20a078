#pragma once
// A private X server for end-to-end tests: started on a free display number, stopped with the test;
// programs started without a shell that end when the test process ends; screenshots read as PPM;
// xdotool run against the display.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

using namespace std::chrono_literals;

inline bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Starts a program without a shell, told to end when this test process ends.
inline pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {}) {
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

inline std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
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

// A fixture with an X server of 1024 x 768 pixels and a connection to it.
class XvfbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!Exists("/usr/bin/Xvfb") || !Exists("/usr/bin/import") || !Exists("/usr/bin/xdotool"))
            GTEST_SKIP() << "Xvfb, imagemagick or xdotool missing";
        // The server picks a free display itself and tells which: tests running side by side must
        // never share one (a choice made by looking for lock files races with the other tests).
        int fds[2] = {-1, -1};
        ASSERT_EQ(pipe(fds), 0);
        xvfb = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
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

    // A screenshot of the whole screen, kept as `name`.png in the build folder.
    Ppm Shot(const std::string& name) {
        const std::string base = std::string(MARSHWADE_BINARY_DIR) + "/" + name;
        const std::string cmd = "/usr/bin/import -display " + display + " -window root " + base +
                                ".png && /usr/bin/convert " + base + ".png " + base + ".ppm";
        Ppm ppm;
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        EXPECT_TRUE(ReadPpm(base + ".ppm", ppm));
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

    std::string display;
    pid_t xvfb = -1;
    pid_t app = -1;
    Display* x = nullptr;
};

}  // namespace e2e
