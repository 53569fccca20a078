#include "platform/SdlSoundPlayer.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

// About 23 ms of sound per callback: short enough that a sound starts promptly after Play.
constexpr Uint16 kDeviceBufferFrames = 1024;

}  // namespace

SdlSoundPlayer::~SdlSoundPlayer() {
    if (state_.load() != DeviceState::Open) return;
    // Waits for the audio thread, so the callback never runs on a destroyed player.
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSoundPlayer::Open() {
    DeviceState state = state_.load(std::memory_order_acquire);
    if (state != DeviceState::Untried) return state == DeviceState::Open;
    std::lock_guard lock(openMutex_);
    state = state_.load(std::memory_order_relaxed);
    if (state != DeviceState::Untried) return state == DeviceState::Open;

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "sound: no audio (%s); the game plays silently\n", SDL_GetError());
        state_.store(DeviceState::Unavailable, std::memory_order_release);
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = int(kDeviceRate);
    want.format = AUDIO_S16SYS;
    want.channels = Uint8(kDeviceChannels);
    want.samples = kDeviceBufferFrames;
    want.callback = &SdlSoundPlayer::AudioCallback;
    want.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware wants, and our sounds stay as they are.
    SDL_AudioSpec have{};
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        std::fprintf(stderr, "sound: no audio device (%s); the game plays silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        state_.store(DeviceState::Unavailable, std::memory_order_release);
        return false;
    }
    device_ = device;
    SDL_PauseAudioDevice(device, 0);
    state_.store(DeviceState::Open, std::memory_order_release);
    return true;
}

bool SdlSoundPlayer::Play(std::string_view fileName, SoundMode mode) {
    if (!Open()) return false;
    std::shared_ptr<const DeviceSound> sound = library_.Find(fileName);
    if (!sound) return false;

    std::unique_lock lock(mutex_);
    if (!slot_.TryStart(clock_.NowMs(), sound->DurationMs() + kSyncMarginMs)) return false;
    current_ = std::move(sound);
    position_ = 0;
    if (mode == SoundMode::Sync) {
        // Until the callback reports the end, or the slot's limit passes if the device stalls.
        const uint64_t mine = slot_.Generation();
        for (;;) {
            uint32_t remaining = slot_.RemainingMs(clock_.NowMs());
            if (slot_.Generation() != mine || remaining == 0) break;
            ended_.wait_for(lock, std::chrono::milliseconds(remaining));
        }
    }
    return true;
}

size_t SdlSoundPlayer::PlayedToEndCount() const {
    std::lock_guard lock(mutex_);
    return playedToEnd_;
}

void SdlSoundPlayer::AudioCallback(void* self, uint8_t* stream, int length) {
    static_cast<SdlSoundPlayer*>(self)->Fill(stream, length > 0 ? size_t(length) : 0);
}

void SdlSoundPlayer::Fill(uint8_t* stream, size_t length) {
    size_t copied = 0;
    {
        std::lock_guard lock(mutex_);
        if (current_) {
            const size_t total = current_->samples.size();
            const size_t count = std::min(length / sizeof(int16_t), total - position_);
            std::memcpy(stream, current_->samples.data() + position_, count * sizeof(int16_t));
            position_ += count;
            copied = count * sizeof(int16_t);
            if (position_ == total) {
                current_.reset();
                ++playedToEnd_;
                slot_.Finish();
                ended_.notify_all();
            }
        }
    }
    std::memset(stream + copied, 0, length - copied);  // silence of signed 16-bit samples
}

}  // namespace platform
