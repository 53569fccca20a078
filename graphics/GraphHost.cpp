#include "graphics/GraphHost.h"

#include <atomic>

namespace {
std::atomic<GraphHost::ExistsCheck> existsCheck{nullptr};
}  // namespace

bool GraphHost::Exists(const GraphHost* host) {
    const ExistsCheck check = existsCheck.load();
    return host && check && check(host);
}

void GraphHost::SetExistsCheck(ExistsCheck check) {
    existsCheck.store(check);
}
