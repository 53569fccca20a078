#include "platform/TimingTrace.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::trace {

namespace {
bool FromEnvironment() {
    const char* value = std::getenv("MARSHWADE_TRACE");
    return value && *value && std::strcmp(value, "0") != 0;
}

std::atomic<bool>& Flag() {
    static std::atomic<bool> on{FromEnvironment()};
    return on;
}
}  // namespace

bool Enabled() {
    return Flag().load(std::memory_order_relaxed);
}

void Mark(const char* event) {
    if (!Enabled()) return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const long long us = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    // One write per line, so lines of different threads never interleave.
    char line[160];
    const int n = std::snprintf(line, sizeof line, "marshwade-trace %s %lld\n", event, us);
    if (n > 0)
        std::fwrite(line, 1, static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1,
                    stderr);
}

void SetEnabledForTesting(bool on) {
    Flag().store(on);
}

}  // namespace platform::trace
