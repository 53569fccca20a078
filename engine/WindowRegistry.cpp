#include "engine/WindowRegistry.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "engine/OWindow.h"

namespace {
struct Registry {
    std::mutex mutex;
    std::condition_variable unpinned;
    std::vector<OWindow*> windows;
    std::vector<OWindow*> pins;  // one entry per pin; a window may be pinned more than once
    size_t gameThreads = 0;
    std::condition_variable threadsEnded;
    bool hasMainThread = false;
    std::thread::id mainThread;
};

// Never destroyed: a game thread's last step, after its window is gone, is to count itself out here,
// and that may happen while the process's statics are being destroyed.
Registry& R() {
    static Registry* registry = new Registry();
    return *registry;
}
}  // namespace

namespace window_registry {

void Add(OWindow* window) {
    std::lock_guard lock(R().mutex);
    R().windows.push_back(window);
}

bool Contains(const OWindow* window) {
    if (!window) return false;
    std::lock_guard lock(R().mutex);
    return std::find(R().windows.begin(), R().windows.end(), window) != R().windows.end();
}

// Compared as hosts, each window in the list being alive: the host asked about may have gone.
bool ContainsHost(const GraphHost* host) {
    if (!host) return false;
    std::lock_guard lock(R().mutex);
    return std::any_of(R().windows.begin(), R().windows.end(),
                       [host](const OWindow* w) { return static_cast<const GraphHost*>(w) == host; });
}

size_t Count() {
    std::lock_guard lock(R().mutex);
    return R().windows.size();
}

OWindow* Pin(OWindow* window) {
    if (!window) return nullptr;
    std::lock_guard lock(R().mutex);
    if (std::find(R().windows.begin(), R().windows.end(), window) == R().windows.end()) return nullptr;
    R().pins.push_back(window);
    return window;
}

void Unpin(OWindow* window) {
    std::lock_guard lock(R().mutex);
    auto it = std::find(R().pins.begin(), R().pins.end(), window);
    if (it != R().pins.end()) R().pins.erase(it);
    R().unpinned.notify_all();
}

void RemoveAndWait(OWindow* window) {
    std::unique_lock lock(R().mutex);
    auto& windows = R().windows;
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
    R().unpinned.wait(lock,
                      [&] { return std::find(R().pins.begin(), R().pins.end(), window) == R().pins.end(); });
}

size_t PinCount(const OWindow* window) {
    std::lock_guard lock(R().mutex);
    return static_cast<size_t>(std::count(R().pins.begin(), R().pins.end(), window));
}

void RequestStopAll() {
    std::vector<OWindow*> pinned;
    {
        std::lock_guard lock(R().mutex);
        pinned = R().windows;
        R().pins.insert(R().pins.end(), pinned.begin(), pinned.end());
    }
    // Outside the registry's lock: RequestStop takes each window's own lock.
    for (OWindow* window : pinned) {
        window->RequestStop();
        Unpin(window);
    }
}

void GameThreadStarted() {
    std::lock_guard lock(R().mutex);
    ++R().gameThreads;
}

// Notified under the lock, so the waiter wakes only once this thread is done with the registry.
void GameThreadEnded() {
    std::lock_guard lock(R().mutex);
    if (R().gameThreads > 0) --R().gameThreads;
    R().threadsEnded.notify_all();
}

size_t RunningGameThreads() {
    std::lock_guard lock(R().mutex);
    return R().gameThreads;
}

void WaitForGameThreads() {
    std::unique_lock lock(R().mutex);
    R().threadsEnded.wait(lock, [] { return R().gameThreads == 0; });
}

void RecordMainThread() {
    std::lock_guard lock(R().mutex);
    if (R().hasMainThread) return;
    R().hasMainThread = true;
    R().mainThread = std::this_thread::get_id();
}

bool HasMainThread() {
    std::lock_guard lock(R().mutex);
    return R().hasMainThread;
}

bool OnMainThread() {
    std::lock_guard lock(R().mutex);
    return R().hasMainThread && R().mainThread == std::this_thread::get_id();
}

}  // namespace window_registry
