// The program entry: the main window with its defaults, the event loop on this (main) thread, and
// the local games page opened when the window has closed.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "game/GameSettings.h"
#include "graphics/ArtDetail.h"
#include "graphics/BmpReader.h"
#include "platform/DisplayScale.h"
#include "platform/NativeWindow.h"
#include "platform/ProgramPath.h"
#include "platform/SdlPlatform.h"
#include "platform/SoundPlayer.h"
#include "platform/TimingTrace.h"
#include "storage/DataFileIo.h"
#include "storage/DataFilePath.h"
#include "storage/DisplaySettings.h"
#include "storage/IniFile.h"
#include "windows/OGameWindow.h"

namespace {
// The program's icon from "CLP\\icon.bmp", for every window it opens; a missing or unusable file
// leaves the desktop's default icon.
void SetProgramIcon() {
    graphics::Picture icon;
    std::string reason;
    if (!graphics::ReadBmpFile(platform::ResolveDataPath("CLP\\icon.bmp"), icon, reason)) {
        std::fprintf(stderr, "icon: %s\n", reason.c_str());
        return;
    }
    if (icon.bitsPerPixel != 24) return;
    // The native windows take bottom-up rows, as the windows' pictures have them.
    if (!icon.BottomUp()) {
        std::vector<uint8_t> flipped(icon.bits.size(), 0);
        const int32_t rows = icon.Rows();
        for (int32_t r = 0; r < rows; ++r)
            std::copy_n(icon.bits.begin() + static_cast<ptrdiff_t>(r) * icon.stride, icon.stride,
                        flipped.begin() + static_cast<ptrdiff_t>(rows - 1 - r) * icon.stride);
        icon.bits.swap(flipped);
    }
    engine::SetWindowIcon({icon.bits.data(), icon.width, icon.Rows(), static_cast<int32_t>(icon.stride)});
}

void OpenGamesPage(platform::Platform& os) {
    const std::string page = platform::ResolveDataPath("..\\html\\Games.html");
    struct stat info {};
    if (stat(page.c_str(), &info) == 0) os.OpenWithShell(page);
}
constexpr const char* kUsage =
    "Usage: marshwade [--help] [--version] [--scale N|auto] [--fullscreen]\n"
    "A frog hops across a pond of sinking lily leaves. Play with the arrow keys or the mouse.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "      --scale N  show the picture N times its size (auto: the largest that fits the screen;\n"
    "                 MARSHWADE_SCALE sets it too)\n"
    "      --fullscreen  start fullscreen (F11 or Alt+Enter switches it at any time)\n"
    "\n"
    "The settings are in INI/Quillmoss.ini beside the game's data; MARSHWADE_SEED=N lays the pond out\n"
    "the same way every time. See marshwade(6).\n";

// What the command line asks for: nothing (play), a help or version text, or a usage error (exit 2,
// as command-line programs do). Returns the exit code when the program must end without playing.
std::optional<int> ReadCommandLine(int argc, char** argv, std::string& scale, bool& fullscreen) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            scale = argv[++i];
            if (!platform::ParseScale(scale)) {
                std::fprintf(stderr, "marshwade: --scale takes auto or a whole number from 1 to %d\n%s",
                             static_cast<int>(platform::kMaxScale), kUsage);
                return 2;
            }
            continue;
        }
        if (arg == "--fullscreen") {
            fullscreen = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("marshwade %s\n", MARSHWADE_VERSION);
            return 0;
        }
        std::fprintf(stderr, "marshwade: unknown option '%s'\n%s", arg.c_str(), kUsage);
        return 2;
    }
    return std::nullopt;
}
// The player's last choice of fullscreen, kept beside the saved games: the settings file is part of
// the read-only data, and a choice made with F11 must outlast the game.
constexpr const char* kDisplayChoiceFile = "display.ini";

std::optional<bool> RememberedFullscreen() {
    IniFile remembered;
    if (!remembered.Load(DataFilePath(kDisplayChoiceFile))) return std::nullopt;
    const std::string value =
        remembered.GetString(display_settings::kSection, display_settings::kFullscreenKey, "");
    if (value == "1") return true;
    if (value == "0") return false;
    return std::nullopt;
}

void RememberFullscreen(bool fullscreen) {
    const std::string path = DataFilePath(kDisplayChoiceFile);
    const std::string text = std::string("[") + display_settings::kSection + "]\n" +
                             display_settings::kFullscreenKey + "=" + (fullscreen ? "1" : "0") + "\n";
    if (!PrepareFolderFor(path) || !WriteFileAtomically(path, text))
        std::fprintf(stderr, "marshwade: could not keep the fullscreen choice in %s\n", path.c_str());
}
// The pictures drawn for the window's scale, when they are installed and not turned off (by the
// settings file's key, or MARSHWADE_FINE_ART above it). Chosen before the first window is made and
// the first picture read: every window composes at the one detail, and the loaders read its art.
void ChooseArt(const platform::SdlPlatform& os, const IniFile& ini) {
    std::string wanted =
        ini.GetString(display_settings::kSection, display_settings::kFineArtKey, display_settings::kDefaultFineArt);
    if (const char* env = std::getenv("MARSHWADE_FINE_ART")) wanted = env;
    if (wanted == "0") return;
    const auto installed = [](int32_t scale) {
        struct stat info {};
        const std::string probe = platform::DataDirectory() + "CLP@" + std::to_string(scale) + "x/all.bmp";
        return stat(probe.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    };
    graphics::SetArtDetail(
        platform::ChooseArtScale(os.Scale(), os.FullscreenScale(), platform::kMaxScale, installed));
}

}  // namespace

int main(int argc, char** argv) {
    std::string scale;
    bool askedFullscreen = false;
    if (const std::optional<int> code = ReadCommandLine(argc, argv, scale, askedFullscreen)) return *code;
    bool fullscreen = false;
    platform::trace::Mark("start");
    platform::SdlPlatform os;
    // The settings file's [Display] keys, below the command line and the environment.
    IniFile ini;
    if (ini.Load(SettingsFilePath())) {
        const std::string fileScale =
            ini.GetString(display_settings::kSection, display_settings::kScaleKey, "");
        if (scale.empty() && !std::getenv("MARSHWADE_SCALE") && !fileScale.empty()) os.SetScale(fileScale);
        if (ini.GetString(display_settings::kSection, display_settings::kFullscreenKey,
                          display_settings::kDefaultFullscreen) == "1")
            fullscreen = true;
    }
    // The settings file gives the first start's choice; F11 or Alt+Enter then decide the next ones,
    // and --fullscreen this one.
    if (const std::optional<bool> remembered = RememberedFullscreen()) fullscreen = *remembered;
    fullscreen = fullscreen || askedFullscreen;
    os.OnFullscreenSwitched(RememberFullscreen);
    if (!scale.empty()) os.SetScale(scale);
    if (fullscreen) os.StartFullscreen();
    if (!os.Ready()) return os.NoDisplay() ? 1 : 2;
    ChooseArt(os, ini);
    engine::SetPlatform(&os);

    SetProgramIcon();
    OGameWindow::UseGameWindowDefaults();

    OWindow* window = new (std::nothrow) OGameWindow();
    if (!window) return 1;
    if (window->CreationFailed()) {
        window->RequestStop();
        return 2;
    }
    window->SetQuitOnTeardown(true);
    // On this thread, once the first frame of the pond is on the screen: looking for a device can
    // take a tenth of a second or more (every sound device is probed when no sound server
    // answers), and the standard error is silenced while it looks, which must not swallow what
    // loading the game says.
    // The pond makes no sound in its first moments, so the game thread does not open it first.
    os.AfterFirstPresentInLoop([] {
        platform::SoundPlayer::Shared().Open();
        platform::trace::Mark("sound");
    });
    if (!window->Start()) {
        os.ShowMessage("Could not read clip");
        return 1;
    }
    platform::trace::Mark("started");
    const int code = engine::RunMessageLoop();
    OpenGamesPage(os);
    return code;
}
