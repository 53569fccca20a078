// An install as a packager makes it: `cmake --install` of this build folder under /usr into a DESTDIR
// tree, that tree moved elsewhere, and the installed program started from an unrelated folder on a
// private X server. It must find its data from its own location, show its window (of the class the
// desktop entry names) with the icon from the installed data, say nothing on standard error but the
// one line about sound when there is no sound card, close with exit code 0, and write nothing into
// the installed tree.
// With MARSHWADE_TEST_PACKAGE naming a Debian package (`make package-test`), the tree is that
// package's contents instead, unpacked with dpkg-deb, and the same checks hold for it.
#include <fcntl.h>

#include <filesystem>
#include <map>

#include "tests/e2e/XvfbSession.h"
#include "tests/support/TempFolder.h"
// After GoogleTest (in the fixture): Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using e2e::Spawn;
using e2e::WaitFor;

// Every file and folder below `root` with its size and modification time.
std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Listing(const fs::path& root) {
    std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const uintmax_t size = entry.is_regular_file() ? entry.file_size() : 0;
        files[entry.path().lexically_relative(root).string()] = {size, entry.last_write_time()};
    }
    return files;
}

std::string ReadFile(const fs::path& path) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    std::string text(ec ? 0 : size, '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

class InstallE2E : public e2e::XvfbTest {
  protected:
    // Runs `cmake --install` of this build folder with the prefix /usr into `destdir`, or unpacks
    // the package MARSHWADE_TEST_PACKAGE names there.
    bool InstallInto(const fs::path& destdir) {
        const char* package = std::getenv("MARSHWADE_TEST_PACKAGE");
        pid_t pid =
            package && *package
                ? Spawn({"/usr/bin/dpkg-deb", "-x", package, destdir.string()})
                : Spawn({MARSHWADE_CMAKE_COMMAND, "--install", MARSHWADE_BINARY_DIR, "--prefix", "/usr"},
                        {"DESTDIR=" + destdir.string()});
        std::optional<int> status = WaitFor(pid, 120000ms);
        return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }

    // Starts `program` from `folder`, its standard error going to `errors`.
    pid_t StartIn(const fs::path& folder, const std::string& program, const fs::path& errors,
                  const std::vector<std::string>& env) {
        const fs::path here = fs::current_path();
        fs::current_path(folder);
        // The child inherits standard error as it is at the fork: point ours at the file meanwhile.
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        const int file = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        dup2(file, STDERR_FILENO);
        pid_t pid = Spawn({program}, env);
        dup2(saved, STDERR_FILENO);
        close(saved);
        close(file);
        fs::current_path(here);
        return pid;
    }

    // The mapped window whose class is `name`, as desktops match it with the desktop entry's
    // StartupWMClass; 0 when none appears within 10 s.
    Window WaitForClass(const std::string& name) {
        for (int i = 0; i < 500; ++i) {
            Window w = FindByClass(DefaultRootWindow(x), name);
            XWindowAttributes attrs{};
            if (w && XGetWindowAttributes(x, w, &attrs) && attrs.map_state == IsViewable) return w;
            std::this_thread::sleep_for(20ms);
        }
        return 0;
    }

    Window FindByClass(Window w, const std::string& name) {
        XClassHint hint{};
        if (XGetClassHint(x, w, &hint)) {
            const bool match = hint.res_class && name == hint.res_class;
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
            if (match) return w;
        }
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (XQueryTree(x, w, &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !found; ++i) found = FindByClass(children[i], name);
            if (children) XFree(children);
        }
        return found;
    }

    // The window's icon as SDL hands it to the window manager: width, height, then the pixels.
    size_t IconWords(Window win) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const Atom icon = XInternAtom(x, "_NET_WM_ICON", False);
        if (XGetWindowProperty(x, win, icon, 0, 1 << 20, False, XA_CARDINAL, &type, &format, &count, &after,
                               &data) != Success)
            return 0;
        if (data) XFree(data);
        return type == XA_CARDINAL ? count : 0;
    }
};

TEST_F(InstallE2E, MovedInstallTreeStartsFromAnotherFolderFindsItsDataAndWritesNothingThere) {
    TempFolder work("marshwade-install");
    ASSERT_FALSE(work.Path().empty());
    ASSERT_TRUE(InstallInto(work.Path() / "dest"));

    const fs::path installed = work.Path() / "dest/usr";
    const char* expected[] = {
        "games/marshwade",
        "share/games/marshwade/CLP/frog0.clp",
        "share/games/marshwade/CLP/icon.bmp",
        "share/games/marshwade/WAV/bell.wav",
        "share/games/marshwade/INI/Quillmoss.ini",
        "share/applications/marshwade.desktop",
        "share/metainfo/org.marshwade.marshwade.metainfo.xml",
        "share/man/man6/marshwade.6.gz",
        "games/marshwade-tuning",
        "games/marshwade-replay",
        "share/man/man6/marshwade-tuning.6.gz",
        "share/man/man6/marshwade-replay.6.gz",
        "share/doc/marshwade/copyright",
        "share/icons/hicolor/16x16/apps/marshwade.png",
        "share/icons/hicolor/32x32/apps/marshwade.png",
        "share/icons/hicolor/48x48/apps/marshwade.png",
        "share/icons/hicolor/64x64/apps/marshwade.png",
        "share/icons/hicolor/128x128/apps/marshwade.png",
        "share/icons/hicolor/256x256/apps/marshwade.png",
        "share/icons/hicolor/scalable/apps/marshwade.svg",
    };
    for (const char* file : expected) EXPECT_TRUE(fs::is_regular_file(installed / file)) << file;
    // Only the program beside itself: data there would hide the installed folder.
    EXPECT_FALSE(fs::exists(installed / "games/CLP"));

    // Another prefix than the one it was installed for.
    const fs::path moved = work.Path() / "elsewhere/opt";
    fs::create_directories(moved.parent_path());
    fs::rename(installed, moved);
    const auto before = Listing(moved);
    fs::create_directories(work.Path() / "cwd");
    fs::create_directories(work.Path() / "home");

    const fs::path errors = work.Path() / "stderr.txt";
    app = StartIn(work.Path() / "cwd", (moved / "games/marshwade").string(), errors,
                  {"DISPLAY=" + display, "HOME=" + (work.Path() / "home").string(),
                   "XDG_DATA_HOME=" + (work.Path() / "home/data").string()});
    ASSERT_GT(app, 0);
    Window win = WaitForClass("marshwade");
    ASSERT_NE(win, 0u) << "the installed program's window did not appear; it said: " << ReadFile(errors);
    // 64 x 64 pixels and the two sizes: the icon drawn into the installed CLP/icon.bmp.
    EXPECT_EQ(IconWords(win), 2u + 64 * 64);
    std::this_thread::sleep_for(300ms);  // the first frames
    Shot("e2e_installed_window");

    SendClose(win);
    std::optional<int> status = WaitFor(app, 10000ms);
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    app = -1;
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);

    const std::string said = ReadFile(errors);
    EXPECT_EQ(said.find("ALSA lib"), std::string::npos) << said;
    EXPECT_EQ(said.find("icon:"), std::string::npos) << said;
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(Listing(moved), before) << "the program wrote into its installed tree";
}

// The player and modder tools, run from a moved installed tree, read the installed data as the
// game does: the settings file for the tuning table, the pictures for a replay.
TEST_F(InstallE2E, InstalledToolsRunFromAMovedTreeOnTheInstalledData) {
    TempFolder work("marshwade-install-tools");
    ASSERT_FALSE(work.Path().empty());
    ASSERT_TRUE(InstallInto(work.Path() / "dest"));
    const fs::path moved = work.Path() / "opt";
    fs::rename(work.Path() / "dest/usr", moved);
    // A settings file of our own in the installed data folder: the table must show its value.
    std::ofstream(moved / "share/games/marshwade/INI/Quillmoss.ini") << "[Game]\nMaxIslandNumbers=7\n";
    const fs::path script = work.Path() / "hops.txt";
    std::ofstream(script) << "2 key Left\n4 key Up\n";
    const auto before = Listing(moved);

    struct Case {
        std::vector<std::string> args;
        std::string mustSay;  // a line start the output holds
        long lines;           // 0: any number
    };
    const Case cases[] = {
        {{(moved / "games/marshwade-tuning").string()}, "read Game MaxIslandNumbers 7\n", 0},
        // One state line per frame step, so the pictures were found.
        {{(moved / "games/marshwade-replay").string(), "--frames", "6", script.string()}, "{", 6},
    };
    for (const Case& c : cases) {
        const e2e::Output out = e2e::Capture(c.args, 60000ms);
        EXPECT_EQ(out.code, 0) << c.args[0];
        EXPECT_TRUE(out.text.rfind(c.mustSay, 0) == 0 || out.text.find("\n" + c.mustSay) != std::string::npos)
            << c.args[0] << " said: " << out.text.substr(0, 400);
        if (c.lines) {
            EXPECT_EQ(std::count(out.text.begin(), out.text.end(), '\n'), c.lines) << c.args[0];
        }
    }
    EXPECT_EQ(Listing(moved), before) << "a tool wrote into the installed tree";
}

}  // namespace
