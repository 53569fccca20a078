#pragma once

namespace platform {
class Platform;
}

// The platform every window of the process uses: SdlPlatform in the program, HeadlessPlatform in
// tests. Set once before the first window is created (it also installs the window procedure) and
// kept until the last window is gone.
namespace Engine {
void SetPlatform(platform::Platform* platform);
platform::Platform& GetPlatform();
bool HasPlatform();
// Whether Start runs a game thread (the default). Headless tests turn it off and step windows
// themselves with OWindow::RunFrame; everything else about Start stays the same.
void SetGameThreads(bool enabled);
bool GameThreadsEnabled();
}  // namespace Engine
