#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/DeviceSound.h"

namespace platform {

// The sounds played so far, each read, decoded and converted to the device format once, on its first
// request, and kept for the library's life. A file that is missing or unusable is remembered too, so
// asking for it again costs one lookup (and its one line on standard error is written once).
//
// Thread-safe: one mutex guards the table and is held while a file is loaded, so two threads asking
// for the same new file at once load it once; asking for a sound already loaded waits only for a
// load in progress. Never call it with a lock the audio callback takes (loading reads a file).
class SoundLibrary {
  public:
    SoundLibrary() = default;
    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

    // The sound named as the game names it ("WAV\\eat.wav", resolved with ResolveDataPath), or null
    // when it cannot be played. The sound never changes and lives as long as any holder of the pointer.
    std::shared_ptr<const DeviceSound> Find(std::string_view fileName);

    // Number of files loaded so far, successfully or not: each name counts once however often it is
    // played.
    size_t LoadCount() const;

  private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<const DeviceSound>> sounds_;  // null: unusable
    size_t loads_ = 0;
};

// Reads and converts one WAV file (a resolved path) without caching; files above kMaxWavFileBytes are
// refused before they are read. Failure leaves one line in `reason`.
bool LoadWavFile(const std::string& path, DeviceSound& out, std::string& reason);

}  // namespace platform
