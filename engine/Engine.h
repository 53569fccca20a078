#pragma once

namespace platform {
class Platform;
struct PictureView;
}  // namespace platform

// The platform every window of the process uses: SdlPlatform in the program, HeadlessPlatform in
// tests. Set once before the first window is created (it also installs the window procedure) and
// kept until the last window is gone.
namespace engine {
void SetPlatform(platform::Platform* platform);
platform::Platform& GetPlatform();
bool HasPlatform();
// Whether Start runs a game thread (the default). Headless tests turn it off and step windows
// themselves with OWindow::RunFrame; everything else about Start stays the same.
void SetGameThreads(bool enabled);
bool GameThreadsEnabled();

// The program's icon, which every window created afterwards carries (the main window and each
// dialog). The pixels are copied; an empty view forgets the icon. Main thread.
void SetWindowIcon(const platform::PictureView& icon);
// The icon, or null when none is set. Main thread.
const platform::PictureView* WindowIcon();

// The program's event loop: runs until the quit request, then asks every window that is still there
// to stop and waits until every game thread has ended, so that nothing of the program runs on once
// the program entry returns. Returns the quit request's exit code. Main thread.
int RunMessageLoop();
}  // namespace engine
