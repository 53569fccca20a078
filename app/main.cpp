// The program entry: the main window with its defaults, the event loop on this (main) thread, and
// the local games page opened when the window has closed.
#include <sys/stat.h>

#include <cstdio>
#include <new>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "platform/ProgramPath.h"
#include "platform/SdlPlatform.h"

namespace {
// Until the game window exists the main window is a plain engine window with an empty scene.
class MainWindow final : public OWindow {};

void OpenGamesPage(platform::Platform& os) {
    const std::string page = platform::ResolveDataPath("..\\html\\Games.html");
    struct stat info {};
    if (stat(page.c_str(), &info) == 0) os.OpenWithShell(page);
}
}  // namespace

int main() {
    platform::SdlPlatform os;
    if (!os.Ready()) return 2;
    Engine::SetPlatform(&os);

    WindowDefaults& defaults = WindowDefaults::Current();
    defaults.background = 0xD0A743;
    defaults.style = 3;
    defaults.width = 750;
    defaults.height = 550;

    OWindow* window = new (std::nothrow) MainWindow();
    if (!window) return 1;
    if (window->CreationFailed()) {
        window->RequestStop();
        return 2;
    }
    window->SetQuitOnTeardown(true);
    if (!window->Start()) {
        os.ShowMessage("Could not read clip");
        return 1;
    }
    const int code = os.RunEventLoop();
    OpenGamesPage(os);
    return code;
}
