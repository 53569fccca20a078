#pragma once
// A temporary program folder holding WAV files, installed as the folder data files are found in.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/ProgramPath.h"
#include "tests/support/WavBuilder.h"

namespace testing_support {

class SoundFolder {
  public:
    SoundFolder() : saved_(platform::ProgramDirectory()) {
        static int count = 0;
        root_ = std::filesystem::temp_directory_path() /
                ("marshwade_sound_" + std::to_string(getpid()) + "_" + std::to_string(count++));
        std::filesystem::create_directories(root_ / "WAV");
        platform::SetProgramDirectoryForTesting(root_.string());
    }
    ~SoundFolder() {
        platform::SetProgramDirectoryForTesting(saved_);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    SoundFolder(const SoundFolder&) = delete;
    SoundFolder& operator=(const SoundFolder&) = delete;

    // Writes WAV/<name> holding `milliseconds` of 16-bit mono sound at 22050 Hz.
    void AddSound(const std::string& name, uint32_t milliseconds) {
        WriteBytes(root_ / "WAV" / name, PcmWav(1, 22050, 16, 22050 * milliseconds / 1000));
    }
    void AddFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteBytes(root_ / "WAV" / name, bytes);
    }
    std::filesystem::path Path(const std::string& name) const { return root_ / "WAV" / name; }

  private:
    std::string saved_;
    std::filesystem::path root_;
};

}  // namespace testing_support
