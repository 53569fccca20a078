#include "tools/assetgen/AssetSet.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace assetgen {

void AssetSet::AddClip(const std::string& name, ClipData clip) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!EncodeClip(clip, bytes, &error)) throw std::runtime_error("clip " + name + ": " + error);
    files_["CLP/" + name + ".clp"] = std::move(bytes);
    clips_[name] = std::move(clip);
}

void AssetSet::AddBitmap(const std::string& relativePath, const Picture& picture) {
    files_[relativePath] = EncodeBmp(picture);
    bitmaps_[relativePath] = picture;
}

void AssetSet::AddFile(const std::string& relativePath, std::vector<uint8_t> bytes) {
    files_[relativePath] = std::move(bytes);
}

const ClipData& AssetSet::Clip(const std::string& name) const { return clips_.at(name); }
const Picture& AssetSet::Bitmap(const std::string& relativePath) const { return bitmaps_.at(relativePath); }

bool AssetSet::WriteAll(const std::string& folder, std::string& error) const {
    namespace fs = std::filesystem;
    for (const auto& [name, bytes] : files_) {
        const fs::path path = fs::path(folder) / name;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) {
            error = "cannot create " + path.parent_path().string() + ": " + ec.message();
            return false;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
