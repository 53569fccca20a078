#include "platform/HeadlessSoundPlayer.h"

#include <chrono>
#include <thread>

namespace platform {

bool HeadlessSoundPlayer::Play(std::string_view fileName, SoundMode mode) {
    std::shared_ptr<const DeviceSound> sound = library_.Find(fileName);
    std::unique_lock lock(mutex_);
    SoundRequest request{std::string(fileName), mode, SoundOutcome::Silent, clock_.NowMs()};
    if (sound) {
        request.outcome =
            slot_.TryStart(request.atMs, sound->DurationMs()) ? SoundOutcome::Started : SoundOutcome::Dropped;
    }
    requests_.push_back(request);
    if (request.outcome != SoundOutcome::Started) return false;
    if (mode == SoundMode::Sync) WaitForEnd(lock);
    return true;
}

void HeadlessSoundPlayer::WaitForEnd(std::unique_lock<std::mutex>& lock) {
    if (syncWait_ == SyncWait::AdvanceClock) {
        uint32_t remaining = slot_.RemainingMs(clock_.NowMs());
        if (remaining > 0) clock_.Advance(remaining);
        return;
    }
    // The clock has no way to announce a change, so it is looked at every millisecond.
    const uint64_t mine = slot_.Generation();
    ++waiting_;
    while (slot_.Generation() == mine && slot_.Busy(clock_.NowMs())) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
    }
    --waiting_;
}

std::vector<SoundRequest> HeadlessSoundPlayer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void HeadlessSoundPlayer::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

bool HeadlessSoundPlayer::Playing() const {
    std::lock_guard lock(mutex_);
    return slot_.Busy(clock_.NowMs());
}

size_t HeadlessSoundPlayer::Waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

}  // namespace platform
