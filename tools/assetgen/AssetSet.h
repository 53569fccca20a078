#pragma once
// The generated files, kept in memory by relative path ("CLP/frog0.clp") until they are written,
// so that a preview can look at the same pictures the files hold.

#include <map>
#include <string>
#include <vector>

#include "tools/assetgen/ClipWriter.h"

namespace assetgen {

class AssetSet {
public:
    // A set drawn at `scale` (see DrawingScale()) keeps its pictures in CLP@<scale>x/ instead of
    // CLP/, beside the game's own; frame offsets are in its real pixels, so they scale too.
    explicit AssetSet(int scale = 1);

    int scale() const { return scale_; }
    // "CLP/all.bmp" as this set writes it ("CLP@2x/all.bmp" at scale 2).
    std::string FilePath(const std::string& relativePath) const;

    // A clip under CLP/<name>.clp; the clip data is also kept for previews. Bitmaps are looked up
    // by the 1x path whatever the scale.
    void AddClip(const std::string& name, ClipData clip);
    void AddBitmap(const std::string& relativePath, const Picture& picture);
    void AddFile(const std::string& relativePath, std::vector<uint8_t> bytes);

    const std::map<std::string, ClipData>& clips() const { return clips_; }
    const std::map<std::string, std::vector<uint8_t>>& files() const { return files_; }
    const ClipData& Clip(const std::string& name) const;
    const Picture& Bitmap(const std::string& relativePath) const;

    // Writes every file below `folder`, creating the subfolders. Returns false and names the file in
    // `error` on failure.
    bool WriteAll(const std::string& folder, std::string& error) const;

private:
    int scale_;
    std::string pictureFolder_;
    std::map<std::string, ClipData> clips_;
    std::map<std::string, Picture> bitmaps_;
    std::map<std::string, std::vector<uint8_t>> files_;
};

}  // namespace assetgen
