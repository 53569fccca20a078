#pragma once
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

// A folder of its own under the system's temporary folder, removed with everything in it when the
// object goes. Path() is empty if the folder could not be made.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "marshwade-test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};
