#pragma once
#include <atomic>
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, as a 32-bit count that wraps around like the multimedia
// timer the frame loop and the clip timing were designed for. Differences of two readings taken
// in unsigned 32-bit arithmetic stay right across the wrap.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t NowMs() = 0;
};

// The real clock: std::chrono::steady_clock, truncated to 32 bits. Safe from any thread.
class SteadyClock final : public Clock {
public:
    uint32_t NowMs() override;
};

// A clock for tests: returns what it was set to. Safe from any thread.
class ManualClock final : public Clock {
public:
    explicit ManualClock(uint32_t start = 0) : now_(start) {}
    uint32_t NowMs() override;
    void Set(uint32_t ms);
    void Advance(uint32_t ms);

private:
    std::atomic<uint32_t> now_;
};

}  // namespace platform
