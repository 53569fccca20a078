#pragma once
#include <cstdint>

namespace platform {

// The rule every sound player follows: one sound at a time, and a request while one plays is dropped
// rather than cutting it off. A started sound holds the slot until the player reports its end, or at
// the latest until its time limit has passed, so a device that stops calling back cannot keep every
// later sound out for good. Times are milliseconds of a wrapping 32-bit clock.
//
// Not thread-safe: each player keeps its slot under its own lock.
class SoundSlot {
  public:
    // Takes the slot at `nowMs` for at most `limitMs` unless a sound holds it; false when it does.
    bool TryStart(uint32_t nowMs, uint32_t limitMs);

    // The playing sound has ended.
    void Finish() { playing_ = false; }

    // Whether a sound holds the slot at `nowMs`.
    bool Busy(uint32_t nowMs) const { return playing_ && nowMs - startMs_ < limitMs_; }

    // Milliseconds until the slot is free at the latest; 0 when it is free.
    uint32_t RemainingMs(uint32_t nowMs) const { return Busy(nowMs) ? limitMs_ - (nowMs - startMs_) : 0; }

    // Counts the sounds started: a waiter compares it to know whether its own sound is still the one.
    uint64_t Generation() const { return generation_; }

    // When the latest sound started and when it ends at the latest.
    uint32_t StartMs() const { return startMs_; }
    uint32_t EndMs() const { return startMs_ + limitMs_; }

  private:
    bool playing_ = false;
    uint32_t startMs_ = 0;
    uint32_t limitMs_ = 0;
    uint64_t generation_ = 0;
};

}  // namespace platform
