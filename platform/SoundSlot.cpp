#include "platform/SoundSlot.h"

namespace platform {

bool SoundSlot::TryStart(uint32_t nowMs, uint32_t limitMs) {
    if (Busy(nowMs)) return false;
    playing_ = limitMs > 0;
    startMs_ = nowMs;
    limitMs_ = limitMs;
    ++generation_;
    return true;
}

}  // namespace platform
