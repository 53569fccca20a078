#include "tools/assetgen/AssetSet.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace assetgen {

AssetSet::AssetSet(int scale)
    : scale_(scale), pictureFolder_(scale == 1 ? "CLP" : "CLP@" + std::to_string(scale) + "x") {}

std::string AssetSet::FilePath(const std::string& relativePath) const {
    if (relativePath.rfind("CLP/", 0) == 0) return pictureFolder_ + relativePath.substr(3);
    return relativePath;
}

void AssetSet::AddClip(const std::string& name, ClipData clip) {
    for (ClipFrame& f : clip.frames) {
        f.x *= scale_;
        f.y *= scale_;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!EncodeClip(clip, bytes, &error)) throw std::runtime_error("clip " + name + ": " + error);
    files_[FilePath("CLP/" + name + ".clp")] = std::move(bytes);
    clips_[name] = std::move(clip);
}

void AssetSet::AddBitmap(const std::string& relativePath, const Picture& picture) {
    files_[FilePath(relativePath)] = EncodeBmp(picture);
    bitmaps_[relativePath] = picture;
}

void AssetSet::AddFile(const std::string& relativePath, std::vector<uint8_t> bytes) {
    files_[FilePath(relativePath)] = std::move(bytes);
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
