#include "graphics/ArtDetail.h"

#include <atomic>
#include <filesystem>

#include "platform/ProgramPath.h"

namespace graphics {

namespace {
std::atomic<int32_t> gDetail{1};
}

int32_t ArtDetail() {
    return gDetail.load(std::memory_order_relaxed);
}

void SetArtDetail(int32_t detail) {
    gDetail.store(detail < 1 ? 1 : detail, std::memory_order_relaxed);
}

std::string FineArtName(const std::string& name, int32_t detail) {
    if (detail < 2) return {};
    size_t skip = !name.empty() && (name[0] == '\\' || name[0] == '/') ? 1 : 0;
    if (name.compare(skip, 3, "CLP") != 0 || name.size() < skip + 4) return {};
    const char separator = name[skip + 3];
    if (separator != '\\' && separator != '/') return {};
    return name.substr(0, skip + 3) + "@" + std::to_string(detail) + "x" + name.substr(skip + 3);
}

std::string InstalledFineArt(const std::string& fineName) {
    if (fineName.empty()) return {};
    std::string path = platform::ResolveDataPath(fineName);
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

}  // namespace graphics
