#include "tools/cliptool/ClipInspector.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "graphics/BmpReader.h"
#include "graphics/ClipFileReader.h"
#include "tools/assetgen/ContactSheet.h"

namespace cliptool {
namespace {

bool LooksLikeBitmap(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[2] = {0, 0};
    in.read(magic, 2);
    return in && magic[0] == 'B' && magic[1] == 'M';
}

uint32_t ReadLe(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

int BytesPerPixel(uint32_t bits) { return bits >= 8 ? static_cast<int>(bits / 8) : 1; }

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", v);
    return buf;
}

std::string KeyText(uint32_t key, uint32_t bits) {
    std::string s = std::to_string(key) + " (" + Hex(key) + ")";
    if (bits == 24 || bits == 32)
        s += " = red " + std::to_string((key >> 16) & 255) + " green " + std::to_string((key >> 8) & 255) + " blue " +
             std::to_string(key & 255);
    return s;
}

std::string PictureLine(const graphics::Picture& p) {
    std::ostringstream out;
    out << p.width << " x " << p.Rows() << (p.BottomUp() ? " bottom-up" : " top-down") << ", " << p.bitsPerPixel
        << " bits, stride " << p.stride << ", key " << KeyText(p.colourKey, p.bitsPerPixel);
    return out.str();
}

bool LoadClip(const std::string& path, graphics::ClipFile& clip, std::string& error) {
    if (graphics::ReadClipFile(path, clip, error)) return true;
    error = "not a clip file the game can read: " + error;
    return false;
}

bool LoadBmp(const std::string& path, graphics::Picture& picture, std::string& error) {
    if (graphics::ReadBmpFile(path, picture, error)) return true;
    error = "not a bitmap file the game can read: " + error;
    return false;
}

// The header fields the loader does not keep, read once it has accepted the file (so the file
// holds at least the 32 header bytes).
std::string HeaderLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    uint8_t h[32] = {};
    in.read(reinterpret_cast<char*>(h), 32);
    float rate = 0;
    const uint32_t rateBits = ReadLe(h + 20, 4);
    static_assert(sizeof rate == 4);
    std::memcpy(&rate, &rateBits, 4);
    std::ostringstream out;
    out << "magic " << ReadLe(h, 4) << ", table " << ReadLe(h + 8, 4) << " bytes, stored frame rate " << rate
        << ", picture entries " << static_cast<int32_t>(ReadLe(h + 24, 4)) << ", frame entries "
        << static_cast<int32_t>(ReadLe(h + 28, 4));
    return out.str();
}

}  // namespace

uint32_t KeyFromFirstPixel(const graphics::Picture& picture) {
    if (picture.bits.empty()) return 0;
    const int bytes = BytesPerPixel(picture.bitsPerPixel);
    if (picture.bits.size() < static_cast<size_t>(bytes)) return 0;
    return ReadLe(picture.bits.data(), std::min(bytes, 4));
}

std::string DescribeCommands(const std::vector<int32_t>& commands) {
    if (commands.empty()) return "none (next frame)";
    std::string out;
    for (size_t i = 0; i < commands.size(); ++i) {
        if (!out.empty()) out += ", ";
        const int32_t c = commands[i];
        if (c == 1) {
            out += "hold";
        } else if (c == 2) {
            out += "destroy";
            break;  // the clip reads no further
        } else if ((c == 3 || c == 4) && i + 1 < commands.size()) {
            out += (c == 3 ? "play from " : "hold at ") + std::to_string(commands[++i]);
        } else {
            out += "ignored " + std::to_string(c);
        }
    }
    return out;
}

assetgen::Picture ToViewable(const graphics::Picture& p) {
    const int rows = p.Rows(), bytes = BytesPerPixel(p.bitsPerPixel);
    assetgen::Picture out(p.width, rows, 0);
    // A key colour for the viewable picture that no converted pixel takes.
    const assetgen::Rgb key{255, 0, 255};
    out.key = assetgen::KeyValue(key);
    for (int y = 0; y < rows; ++y) {
        const size_t row = static_cast<size_t>(p.BottomUp() ? rows - 1 - y : y) * p.stride;
        for (int x = 0; x < p.width; ++x) {
            const size_t at = row + static_cast<size_t>(x) * static_cast<size_t>(bytes);
            if (at + static_cast<size_t>(bytes) > p.bits.size()) continue;
            const uint32_t v = ReadLe(&p.bits[at], std::min(bytes, 4));
            if (p.bitsPerPixel >= 8 && v == p.colourKey) {
                out.Set(x, y, key);
                continue;
            }
            assetgen::Rgb c;
            if (bytes >= 3) {
                c = {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
            } else if (bytes == 2) {
                c = {static_cast<uint8_t>(((v >> 11) & 31) * 255 / 31), static_cast<uint8_t>(((v >> 5) & 63) * 255 / 63),
                     static_cast<uint8_t>((v & 31) * 255 / 31)};
            } else {
                c = {static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v)};
            }
            if (c == key) c.b ^= 1;
            out.Set(x, y, c);
        }
    }
    return out;
}

bool DescribeFile(const std::string& path, std::string& text, std::string& error) {
    std::ostringstream out;
    if (LooksLikeBitmap(path)) {
        graphics::Picture picture;
        if (!LoadBmp(path, picture, error)) return false;
        picture.colourKey = KeyFromFirstPixel(picture);
        out << path << ": Windows bitmap\n  " << PictureLine(picture) << " (the key is the first stored pixel)\n";
        text = out.str();
        return true;
    }
    graphics::ClipFile clip;
    if (!LoadClip(path, clip, error)) return false;
    out << path << ": clip file\n  " << HeaderLine(path) << "\n  frame rate used " << clip.frameRate
        << " per second\n  pictures " << clip.pictures.size() << ":\n";
    for (size_t i = 0; i < clip.pictures.size(); ++i) out << "    #" << i << "  " << PictureLine(clip.pictures[i]) << "\n";
    out << "  frames " << clip.frames.size() << ":\n";
    for (size_t i = 0; i < clip.frames.size(); ++i) {
        const graphics::ClipFrame& f = clip.frames[i];
        out << "    #" << i << "  picture " << f.pictureIndex << " at x " << f.x << " y " << f.y << " depth " << f.depth
            << ", commands: " << DescribeCommands(f.commands) << "\n";
    }
    text = out.str();
    return true;
}

bool RenderFile(const std::string& path, const std::string& pngPath, std::string& error) {
    assetgen::ClipData sheet;
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (LooksLikeBitmap(path)) {
        graphics::Picture picture;
        if (!LoadBmp(path, picture, error)) return false;
        picture.colourKey = KeyFromFirstPixel(picture);
        sheet = assetgen::ClipData::Sequence({ToViewable(picture)}, 0);
    } else {
        graphics::ClipFile clip;
        if (!LoadClip(path, clip, error)) return false;
        for (const graphics::Picture& p : clip.pictures) sheet.pictures.push_back(ToViewable(p));
        for (const graphics::ClipFrame& f : clip.frames) {
            assetgen::ClipFrame frame;
            frame.picture = static_cast<int16_t>(f.pictureIndex);
            sheet.frames.push_back(frame);
        }
    }
    // Pictures without a frame would not show in the game; a clip without frames shows nothing.
    if (sheet.frames.empty()) {
        error = path + ": the clip has no frames to show";
        return false;
    }
    if (!assetgen::WriteContactSheet({{name, &sheet}}, pngPath)) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

}  // namespace cliptool
