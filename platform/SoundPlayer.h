#pragma once
#include <string_view>

namespace platform {

// Async: Play returns at once (the controls' hover and click sounds).
// Sync: Play returns when the sound has ended (the game's sounds: the frame step waits for them).
enum class SoundMode { Async, Sync };

// Plays the game's WAV files, one at a time. A request made while a sound is playing is dropped (the
// playing sound is never cut off); a missing or unusable file, or a machine without an audio device,
// plays nothing and never blocks.
//
// Play may be called from any thread, from several at once.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;

    // Plays the file named as the game names it ("WAV\\over.wav", found beside the program). Returns
    // whether it started; false when it was dropped or cannot be played. With SoundMode::Sync a
    // started sound has ended when this returns.
    virtual bool Play(std::string_view fileName, SoundMode mode) = 0;

    // Prepares the output now instead of on the first Play, and tells whether sounds can be heard.
    // The program calls it once on the main thread at start-up, after SDL is initialised, so the
    // real player's audio device is not first opened on a game thread.
    virtual bool Open() { return true; }

    // The player the game and the controls use: the one installed with SetShared, else the real one
    // (SDL, opened on first use and kept to the end of the process).
    static SoundPlayer& Shared();

    // Installs `player` as the shared one (null: back to the real one) and returns the one installed
    // before. The caller keeps ownership and must keep it alive while it is installed and any Play on
    // it may still be running. Tests install a HeadlessSoundPlayer.
    static SoundPlayer* SetShared(SoundPlayer* player);
};

}  // namespace platform
