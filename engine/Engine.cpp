#include "engine/Engine.h"

#include <atomic>
#include <cassert>

#include "engine/WindowProcedure.h"
#include "platform/Platform.h"

namespace {
std::atomic<platform::Platform*> g_platform{nullptr};
std::atomic<bool> g_gameThreads{true};
}  // namespace

namespace Engine {

void SetPlatform(platform::Platform* platform) {
    g_platform.store(platform);
    if (platform) platform->SetEventHandler(&WindowProcedure);
}

platform::Platform& GetPlatform() {
    platform::Platform* p = g_platform.load();
    assert(p && "Engine::SetPlatform must come before the first window");
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

}  // namespace Engine
