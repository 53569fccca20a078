#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/Clock.h"
#include "platform/SoundLibrary.h"
#include "platform/SoundPlayer.h"
#include "platform/SoundSlot.h"

namespace platform {

// The real sound player: one SDL audio device in the device format (DeviceSound.h), opened on the
// first Play (or by Open), and kept open, playing silence between sounds, until the player is
// destroyed. When the audio subsystem or the device cannot be opened (no sound server, CI, Xvfb)
// this is tried once and every Play returns false at once.
//
// Locks, in the only order they are ever nested: SDL's device lock (held by SDL around the audio
// callback) before `mutex_`. `mutex_` guards the slot and the playing sound; it is held by Play
// for a few assignments and by the callback while it copies one buffer, so it is never held across
// a file load, an SDL call or a wait other than the condition variable's. `openMutex_` serialises
// opening the device and is never held together with `mutex_`. The library has its own lock.
//
// Play may be called from any thread. Destroy the player only when no Play is running.
class SdlSoundPlayer final : public SoundPlayer {
  public:
    SdlSoundPlayer() = default;
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    bool Play(std::string_view fileName, SoundMode mode) override;

    // Opens the device now if that has not been tried yet; returns whether one is open.
    bool Open() override;

    // A synchronous Play waits at most the sound's duration plus this, in case the device stalls.
    static constexpr uint32_t kSyncMarginMs = 300;

    // Files loaded so far (see SoundLibrary::LoadCount).
    size_t LoadCount() const { return library_.LoadCount(); }

    // Sounds the device has played to their last sample (a stalled one given up at its limit is not
    // counted).
    size_t PlayedToEndCount() const;

  private:
    enum class DeviceState { Untried, Open, Unavailable };

    static void AudioCallback(void* self, uint8_t* stream, int length);
    void Fill(uint8_t* stream, size_t length);

    std::mutex openMutex_;
    std::atomic<DeviceState> state_{DeviceState::Untried};
    uint32_t device_ = 0;  // SDL_AudioDeviceID, written once under openMutex_ before state_ is Open

    SteadyClock clock_;
    SoundLibrary library_{clock_};

    mutable std::mutex mutex_;
    std::condition_variable ended_;
    SoundSlot slot_;
    std::shared_ptr<const DeviceSound> current_;  // null between sounds
    size_t position_ = 0;                         // samples of current_ already handed to the device
    size_t playedToEnd_ = 0;
};

}  // namespace platform
