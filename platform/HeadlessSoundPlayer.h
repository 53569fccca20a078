#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/SoundLibrary.h"
#include "platform/SoundPlayer.h"
#include "platform/SoundSlot.h"

namespace platform {

// What became of one Play request.
enum class SoundOutcome {
    Started,
    Dropped,  // another sound was playing
    Silent,   // the file is missing or unusable
};

struct SoundRequest {
    std::string fileName;  // as the game named it
    SoundMode mode = SoundMode::Async;
    SoundOutcome outcome = SoundOutcome::Silent;
    uint32_t atMs = 0;  // the test clock when it was asked for
};

// A sound player for tests: no device, a sound "plays" for its real duration on a clock the test
// controls. It loads files and keeps the one-sound-at-a-time rule exactly as the real player does
// (the same SoundLibrary and SoundSlot), and records every request.
//
// A synchronous request that starts either moves the clock to the sound's end itself (AdvanceClock,
// for single-threaded tests that step the game and would otherwise wait forever), or waits until
// another thread of the test has moved the clock there (WaitForClock).
//
// Thread-safe; the clock must outlive the player.
class HeadlessSoundPlayer final : public SoundPlayer {
  public:
    enum class SyncWait { AdvanceClock, WaitForClock };

    explicit HeadlessSoundPlayer(ManualClock& clock, SyncWait syncWait = SyncWait::AdvanceClock)
        : clock_(clock), syncWait_(syncWait) {}

    bool Play(std::string_view fileName, SoundMode mode) override;

    // The requests so far, oldest first (a copy).
    std::vector<SoundRequest> Requests() const;
    void ClearRequests();

    // Whether a sound is playing at the clock's present time.
    bool Playing() const;

    // Number of threads inside a synchronous Play, waiting for the clock (WaitForClock).
    size_t Waiting() const;

    // Files loaded so far (see SoundLibrary::LoadCount).
    size_t LoadCount() const { return library_.LoadCount(); }

  private:
    void WaitForEnd(std::unique_lock<std::mutex>& lock);

    ManualClock& clock_;
    const SyncWait syncWait_;
    SoundLibrary library_{clock_};

    mutable std::mutex mutex_;  // guards everything below; never held while a file loads
    SoundSlot slot_;
    std::vector<SoundRequest> requests_;
    size_t waiting_ = 0;
};

}  // namespace platform
