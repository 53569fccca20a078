#include "server/FrogPicture.h"

#include <cstdint>
#include <cstdio>

#include "graphics/ClipFileReader.h"

namespace scores_server {
namespace {

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The pages' header colour (#1f6b3a) as the stored blue, green, red.
constexpr uint8_t kBackground[3] = {0x3A, 0x6B, 0x1F};

}  // namespace

std::string FrogBmp(const std::string& clipFolder) {
    const std::string path = clipFolder + "/frog0.clp";
    graphics::ClipFile clip;
    std::string reason;
    if (!graphics::ReadClipFile(path, clip, reason) || clip.pictures.empty()) {
        std::fprintf(stderr, "marshwade-scores: %s: %s; the pages go without the frog\n", path.c_str(),
                     reason.empty() ? "no picture" : reason.c_str());
        return {};
    }
    const graphics::Picture& picture = clip.pictures[0];
    if (picture.bitsPerPixel != 24 || picture.width <= 0 || picture.Rows() <= 0) {
        std::fprintf(stderr, "marshwade-scores: %s: not a 24-bit picture\n", path.c_str());
        return {};
    }
    const uint32_t stride = (24u * static_cast<uint32_t>(picture.width) + 31u) / 32u * 4u;
    const auto rows = static_cast<uint32_t>(picture.Rows());
    const uint32_t imageSize = stride * rows;
    std::string bmp = "BM";
    Put32(bmp, 54 + imageSize);
    Put32(bmp, 0);
    Put32(bmp, 54);
    Put32(bmp, 40);
    Put32(bmp, static_cast<uint32_t>(picture.width));
    Put32(bmp, static_cast<uint32_t>(picture.height));  // the stored sign keeps the row order
    Put16(bmp, 1);
    Put16(bmp, 24);
    for (uint32_t v : {0u, imageSize, 2835u, 2835u, 0u, 0u}) Put32(bmp, v);
    const uint8_t key[3] = {static_cast<uint8_t>(picture.colourKey),
                            static_cast<uint8_t>(picture.colourKey >> 8),
                            static_cast<uint8_t>(picture.colourKey >> 16)};
    for (uint32_t y = 0; y < rows; ++y) {
        const uint8_t* row = picture.bits.data() + static_cast<size_t>(y) * picture.stride;
        std::string line(stride, '\0');
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint8_t* pixel = row + 3 * x;
            const bool keyed = pixel[0] == key[0] && pixel[1] == key[1] && pixel[2] == key[2];
            for (int c = 0; c < 3; ++c)
                line[3 * x + c] = static_cast<char>(keyed ? kBackground[c] : pixel[c]);
        }
        bmp += line;
    }
    return bmp;
}

}  // namespace scores_server
