#include "platform/SoundLibrary.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/ProgramPath.h"

namespace platform {
namespace {

// The whole file, refused without reading it when it is larger than `maxBytes`. The buffer is sized
// from the file system's size, never from anything inside the file, and the count read is checked.
bool ReadSmallFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                   uint64_t maxBytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        reason = "cannot be opened";
        return false;
    }
    std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > maxBytes) {
        reason = size < 0 ? "size unknown" : "larger than " + std::to_string(maxBytes) + " bytes";
        return false;
    }
    bytes.resize(size_t(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size) {
        reason = "read failed";
        return false;
    }
    return true;
}

}  // namespace

bool LoadWavFile(const std::string& path, DeviceSound& out, std::string& reason) {
    std::vector<uint8_t> bytes;
    WavFile wav;
    return ReadSmallFile(path, bytes, reason, kMaxWavFileBytes) && ParseWavFile(bytes, wav, reason) &&
           ConvertToDevice(wav, out, reason);
}

std::shared_ptr<const DeviceSound> SoundLibrary::Find(std::string_view fileName) {
    std::string path = ResolveDataPath(fileName);
    std::lock_guard lock(mutex_);
    const uint32_t now = clock_.NowMs();
    auto found = sounds_.find(path);
    if (found != sounds_.end()) {
        // Unsigned difference: right across the clock's wrap.
        if (found->second.sound || now - found->second.triedAtMs < kRetryMs) return found->second.sound;
    } else {
        found = sounds_.emplace(std::move(path), Entry{}).first;
    }
    Entry& entry = found->second;
    ++loads_;
    auto sound = std::make_shared<DeviceSound>();
    std::string reason;
    if (!found->first.empty() && LoadWavFile(found->first, *sound, reason)) {
        entry.sound = std::move(sound);
        entry.reason.clear();
        return entry.sound;
    }
    if (found->first.empty()) reason = "no file name";
    if (reason.empty()) reason = "unusable";
    if (reason != entry.reason) {
        std::fprintf(stderr, "sound: %s: %s\n", found->first.empty() ? "(no name)" : found->first.c_str(),
                     reason.c_str());
    }
    entry.reason = std::move(reason);
    entry.triedAtMs = now;
    return nullptr;
}

size_t SoundLibrary::LoadCount() const {
    std::lock_guard lock(mutex_);
    return loads_;
}

}  // namespace platform
