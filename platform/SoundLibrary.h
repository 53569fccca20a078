#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Clock.h"
#include "platform/DeviceSound.h"

namespace platform {

// The sounds played so far, each read, decoded and converted to the device format once, on its first
// request, and kept for the library's life. A file that is missing or unusable is remembered too,
// but only for kRetryMs: a request after that looks at the file again, so a sound pack installed
// while the game runs is heard, while a sound the game asks for every frame costs one lookup and at
// most one attempt a second. Its line on standard error is written again only when the reason changes.
//
// Thread-safe: one mutex guards the table and is held while a file is loaded, so two threads asking
// for the same new file at once load it once; asking for a sound already loaded waits only for a
// load in progress. Never call it with a lock the audio callback takes (loading reads a file).
class SoundLibrary {
  public:
    // The clock times the retries of unusable files; it must outlive the library.
    explicit SoundLibrary(Clock& clock) : clock_(clock) {}
    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

    // The sound named as the game names it ("WAV\\eat.wav", resolved with ResolveDataPath), or null
    // when it cannot be played. The sound never changes and lives as long as any holder of the pointer.
    std::shared_ptr<const DeviceSound> Find(std::string_view fileName);

    // Number of loads tried so far, successful or not: a usable file counts once however often it is
    // played, an unusable one once per retry.
    size_t LoadCount() const;

    // A file found unusable is not looked at again for this long.
    static constexpr uint32_t kRetryMs = 1000;

  private:
    struct Entry {
        std::shared_ptr<const DeviceSound> sound;  // null: unusable
        uint32_t triedAtMs = 0;                    // when an unusable file was last tried
        std::string reason;                        // why it was unusable
    };

    Clock& clock_;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> sounds_;
    size_t loads_ = 0;
};

// Reads and converts one WAV file (a resolved path) without caching; files above kMaxWavFileBytes are
// refused before they are read. Failure leaves one line in `reason`.
bool LoadWavFile(const std::string& path, DeviceSound& out, std::string& reason);

}  // namespace platform
