#pragma once
// A program folder of the test's own: the generated pictures, sounds and settings of the build
// folder linked into it, and the program folder pointed at it for as long as the object lives, so the
// score table and the saved state the game writes land there and nowhere else. CLP/ is a folder of
// links, one per file, so a test may take a picture away.
#include <filesystem>
#include <optional>
#include <string>

#include "platform/ProgramPath.h"
#include "storage/DataFilePath.h"
#include "tests/support/TempFolder.h"

class ProgramFolder {
  public:
    ProgramFolder() : saved_(platform::ProgramDirectory()) {
        namespace fs = std::filesystem;
        const fs::path build(MARSHWADE_BINARY_DIR);
        fs::create_directory(Path() / "CLP");
        for (const auto& entry : fs::directory_iterator(build / "CLP"))
            fs::create_symlink(entry.path(), Path() / "CLP" / entry.path().filename());
        fs::create_directory_symlink(build / "WAV", Path() / "WAV");
        fs::create_directory_symlink(build / "INI", Path() / "INI");
        platform::SetProgramDirectoryForTesting(Path().string());
        SetProgramFolderWritableForTesting(true);
    }
    ~ProgramFolder() {
        SetProgramFolderWritableForTesting(std::nullopt);
        platform::SetProgramDirectoryForTesting(saved_);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::filesystem::path& Path() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return (Path() / name).string(); }

  private:
    TempFolder folder_{"marshwade-program"};
    std::string saved_;
};
