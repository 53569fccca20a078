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
    auto found = sounds_.find(path);
    if (found != sounds_.end()) return found->second;
    ++loads_;
    auto sound = std::make_shared<DeviceSound>();
    std::string reason;
    if (path.empty() || !LoadWavFile(path, *sound, reason)) {
        std::fprintf(stderr, "sound: %s: %s\n", path.empty() ? "(no name)" : path.c_str(),
                     reason.empty() ? "no file name" : reason.c_str());
        sound.reset();
    }
    sounds_.emplace(std::move(path), sound);
    return sound;
}

size_t SoundLibrary::LoadCount() const {
    std::lock_guard lock(mutex_);
    return loads_;
}

}  // namespace platform
