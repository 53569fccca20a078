#pragma once
// The program folder a soak plays in, for as long as the object lives: the generated pictures and
// sounds of the build folder linked in, a settings file of the soak's choosing, and the saved files
// (table.dat, state.dat) in a temporary folder of the soak's own, so no player's files are touched.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/ProgramPath.h"
#include "tests/support/TempFolder.h"
#include "tools/replay/ReplaySession.h"

class SoakProgram {
  public:
    SoakProgram() : savedDirectory_(platform::ProgramDirectory()) {
        namespace fs = std::filesystem;
        const fs::path build(MARSHWADE_BINARY_DIR);
        fs::create_directory_symlink(build / "CLP", folder_.Path() / "CLP");
        fs::create_directory_symlink(build / "WAV", folder_.Path() / "WAV");
        fs::create_directories(folder_.Path() / "INI");
        platform::SetProgramDirectoryForTesting(folder_.Path().string() + "/");
        savedFiles_ = std::make_unique<PrivateSavedFiles>();
    }
    ~SoakProgram() {
        savedFiles_.reset();
        platform::SetProgramDirectoryForTesting(savedDirectory_);
    }
    SoakProgram(const SoakProgram&) = delete;
    SoakProgram& operator=(const SoakProgram&) = delete;

    // The text of INI/Quillmoss.ini for the next start; null leaves no file (the defaults).
    void UseSettings(const char* text) {
        const std::filesystem::path ini = folder_.Path() / "INI" / "Quillmoss.ini";
        std::filesystem::remove(ini);
        if (text) std::ofstream(ini) << text;
    }

  private:
    std::string savedDirectory_;
    TempFolder folder_{"marshwade-soak"};
    std::unique_ptr<PrivateSavedFiles> savedFiles_;
};
