#include "platform/SoundPlayer.h"

#include <atomic>

#include "platform/SdlSoundPlayer.h"

namespace platform {
namespace {

std::atomic<SoundPlayer*> installed{nullptr};

}  // namespace

SoundPlayer& SoundPlayer::Shared() {
    if (SoundPlayer* player = installed.load(std::memory_order_acquire)) return *player;
    static SdlSoundPlayer real;
    return real;
}

SoundPlayer* SoundPlayer::SetShared(SoundPlayer* player) {
    return installed.exchange(player, std::memory_order_acq_rel);
}

}  // namespace platform
