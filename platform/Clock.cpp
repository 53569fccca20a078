#include "platform/Clock.h"

#include <chrono>

namespace platform {

uint32_t SteadyClock::NowMs() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));  // the low 32 bits: the game's times wrap
}

uint32_t ManualClock::NowMs() { return now_.load(); }
void ManualClock::Set(uint32_t ms) { now_.store(ms); }
void ManualClock::Advance(uint32_t ms) { now_.fetch_add(ms); }

}  // namespace platform
