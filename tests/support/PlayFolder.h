#pragma once
// A program folder of the test's own for as long as the object lives: the generated pictures and
// sounds of the build folder linked in, and an INI folder that holds only the settings file the test
// writes (none: the game's defaults).
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ProgramPath.h"
#include "tests/support/TempFolder.h"

class PlayFolder {
  public:
    explicit PlayFolder(const std::string& prefix) : folder_(prefix), saved_(platform::ProgramDirectory()) {
        namespace fs = std::filesystem;
        const fs::path build(MARSHWADE_BINARY_DIR);
        fs::create_directory_symlink(build / "CLP", Path() / "CLP");
        fs::create_directory_symlink(build / "CLP@2x", Path() / "CLP@2x");
        fs::create_directory_symlink(build / "WAV", Path() / "WAV");
        fs::create_directories(Path() / "INI");
        platform::SetProgramDirectoryForTesting(Path().string() + "/");
    }
    ~PlayFolder() { platform::SetProgramDirectoryForTesting(saved_); }
    PlayFolder(const PlayFolder&) = delete;
    PlayFolder& operator=(const PlayFolder&) = delete;

    const std::filesystem::path& Path() const { return folder_.Path(); }

    // The text of INI/Quillmoss.ini for the next start; null leaves no file (the defaults).
    void UseSettings(const char* text) const {
        const std::filesystem::path ini = Path() / "INI" / "Quillmoss.ini";
        std::filesystem::remove(ini);
        if (text) std::ofstream(ini) << text;
    }

  private:
    TempFolder folder_;
    std::string saved_;
};
