#pragma once
#include <filesystem>
#include <string>

namespace platform {

// A folder of its own under the system's temporary folder ($TMPDIR, else /tmp), made with a name no
// other process can take, and removed with everything in it when the object goes. Path() is empty
// when no folder could be made (no usable temporary folder): callers check it, nothing throws.
// The replay tool keeps its private saved files in one; tests and fuzz targets their files.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "marshwade-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Path() / name, as text.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace platform
