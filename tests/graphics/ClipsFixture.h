#pragma once
// A started headless window stepped by hand at 50 steps per second, with helpers to read its
// picture, and byte builders for the picture files the tests load.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TempFolder.h"

namespace clips_test {

using Colour = std::array<uint8_t, 3>;  // blue, green, red
constexpr Colour kPond{0xD0, 0xA7, 0x43};
constexpr Colour kMagenta{0xFF, 0x00, 0xFF};

// A 24-bit Windows bitmap file with a 40-byte info header. pixel(x, y) gives the colour of the
// picture's row y counted from the top; `topDown` stores a negative height and rows in that order.
inline std::vector<uint8_t> BmpBytes(int width, int height, const std::function<Colour(int, int)>& pixel,
                                     bool topDown = false) {
    const uint32_t stride = ((24u * static_cast<uint32_t>(width) + 31) / 32) * 4;
    const uint32_t image = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> out(54 + image, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(topDown ? -height : height));
    out[26] = 1;
    out[28] = 24;
    put32(34, image);
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const Colour c = pixel(x, y);
            const size_t at = 54 + static_cast<size_t>(row) * stride + static_cast<size_t>(x) * 3;
            out[at] = c[0];
            out[at + 1] = c[1];
            out[at + 2] = c[2];
        }
    }
    return out;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ClipsWindowTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        os.Manual().Set(now);
        w = Make();
        w->Start();
        Frame();
    }
    // One frame step 20 ms after the last, then the main thread shows what was composed.
    void Frame() {
        now += 20;
        os.Manual().Set(now);
        w->RunFrame();
        os.Pump();
    }
    Colour At(int x, int y) const { return PixelAt(w, x, y); }
    // The reports waiting for the next composition, as (kind, rectangle).
    std::vector<std::pair<int, ORect>> Pending() {
        std::vector<std::pair<int, ORect>> out;
        for (const OGraphNotify& r : w->Scene().Pending()) out.emplace_back(r.kind, r.rect);
        return out;
    }

    TestWindow* w = nullptr;
    uint32_t now = 1000;
};

}  // namespace clips_test
