#include "platform/SdlSoundPlayer.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace platform {
namespace {

// About 23 ms of sound per callback: short enough that a sound starts promptly after Play.
constexpr Uint16 kDeviceBufferFrames = 1024;

// While SDL looks for an audio device, the libraries it tries (ALSA, JACK, the sound servers'
// clients) print their own complaints on standard error: a dozen lines on a machine without a sound
// card. The player says it once in its own words instead, so their output goes to /dev/null for
// that time. Opening happens once, at start-up on the main thread, before other threads write.
class QuietStandardError {
  public:
    QuietStandardError() {
        std::fflush(stderr);
        saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStandardError() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

  private:
    int saved_ = -1;
};

// Opens the audio subsystem and a device in `want`'s format; 0 and the reason when there is none.
SDL_AudioDeviceID OpenQuietly(const SDL_AudioSpec& want, std::string& reason) {
    QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reason = SDL_GetError();
        return 0;
    }
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, and our sounds stay as they are.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    return device;
}

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

    SDL_AudioSpec want{};
    want.freq = int(kDeviceRate);
    want.format = AUDIO_S16SYS;
    want.channels = Uint8(kDeviceChannels);
    want.samples = kDeviceBufferFrames;
    want.callback = &SdlSoundPlayer::AudioCallback;
    want.userdata = this;
    std::string reason;
    const SDL_AudioDeviceID device = OpenQuietly(want, reason);
    if (device == 0) {
        std::fprintf(stderr, "sound: no audio device (%s); the game plays silently\n", reason.c_str());
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
