#include "platform/TempFolder.h"

#include <stdlib.h>

#include <system_error>

namespace platform {

TempFolder::TempFolder(const std::string& prefix) {
    // The error-code form: a TMPDIR that names no folder must not throw out of a constructor.
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec || prefix.find('/') != std::string::npos) return;
    std::string pattern = (base / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace platform
