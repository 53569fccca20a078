#include "engine/Engine.h"

#include <atomic>
#include <cassert>
#include <vector>

#include "engine/WindowProcedure.h"
#include "engine/WindowRegistry.h"
#include "platform/Platform.h"

namespace {
std::atomic<platform::Platform*> g_platform{nullptr};
std::atomic<bool> g_gameThreads{true};

struct Icon {
    std::vector<uint8_t> bits;
    platform::PictureView view;
};
Icon& TheIcon() {
    static Icon icon;
    return icon;
}
}  // namespace

namespace engine {

void SetPlatform(platform::Platform* platform) {
    g_platform.store(platform);
    if (platform) platform->SetEventHandler(&WindowProcedure);
}

platform::Platform& GetPlatform() {
    platform::Platform* p = g_platform.load();
    assert(p && "engine::SetPlatform must come before the first window");
    return *p;
}

bool HasPlatform() {
    return g_platform.load() != nullptr;
}

void SetGameThreads(bool enabled) {
    g_gameThreads.store(enabled);
}
bool GameThreadsEnabled() {
    return g_gameThreads.load();
}

void SetWindowIcon(const platform::PictureView& icon) {
    Icon& held = TheIcon();
    held = Icon{};
    if (!icon.bits || icon.width <= 0 || icon.height <= 0 || icon.stride < icon.width * 3) return;
    held.bits.assign(icon.bits,
                     icon.bits + static_cast<size_t>(icon.stride) * static_cast<size_t>(icon.height));
    held.view = {held.bits.data(), icon.width, icon.height, icon.stride};
}

const platform::PictureView* WindowIcon() {
    const Icon& held = TheIcon();
    return held.bits.empty() ? nullptr : &held.view;
}

int RunMessageLoop() {
    const int code = GetPlatform().RunEventLoop();
    // A dialog's thread may still be in its last frame step or its teardown when the main window's
    // teardown ends the loop; the statics it uses die with the program entry.
    window_registry::RequestStopAll();
    window_registry::WaitForGameThreads();
    return code;
}

}  // namespace engine
