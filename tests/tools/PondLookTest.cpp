// How the generated pond reads to someone who has never seen it, in numbers: the water and the
// leaves stay quiet so the creatures stand out, nothing on a leaf looks related to the red frogs,
// and both suns are in sunlight colours. Read through the game's own loaders.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GeneratedAssetsFixture.h"
#include "graphics/BmpReader.h"
#include "graphics/ClipFileReader.h"

namespace {

namespace fs = std::filesystem;

struct Colour {
    int r, g, b;
    int Chroma() const { return std::max({r, g, b}) - std::min({r, g, b}); }
    // Hue in degrees, or -1 for a grey.
    double Hue() const {
        const int mx = std::max({r, g, b}), chroma = Chroma();
        if (chroma == 0) return -1;
        double h = mx == r   ? std::fmod((g - b) / double(chroma) + 6, 6.0)
                   : mx == g ? (b - r) / double(chroma) + 2
                             : (r - g) / double(chroma) + 4;
        return h * 60;
    }
};

// Shares of a sprite's visible (non-key) pixels.
struct Look {
    double chroma = 0;    // mean colourfulness, 0 grey to 1 pure colour
    double red = 0;       // clearly red (the red frogs' colour)
    double sunlight = 0;  // clearly orange to yellow
    double pale = 0;      // light and soft: cream, pale yellow, white
};

Look LookOf(const graphics::Picture& p) {
    Look look;
    size_t count = 0;
    for (int32_t y = 0; y < p.Rows(); ++y) {
        for (int32_t x = 0; x < p.width; ++x) {
            const uint8_t* q = p.bits.data() + static_cast<size_t>(y) * p.stride + static_cast<size_t>(x) * 3;
            if ((q[0] | q[1] << 8 | q[2] << 16) == static_cast<int>(p.colourKey)) continue;
            const Colour c{q[2], q[1], q[0]};
            const double hue = c.Hue();
            const bool vivid = c.Chroma() > 60;
            look.chroma += c.Chroma() / 255.0;
            look.red += vivid && (hue < 15 || hue > 330);
            look.sunlight += vivid && hue >= 15 && hue <= 65;
            look.pale += std::min({c.r, c.g, c.b}) > 150;
            ++count;
        }
    }
    if (count == 0) return look;
    look.chroma /= count;
    look.red /= count;
    look.sunlight /= count;
    look.pale /= count;
    return look;
}

class PondLook : public GeneratedAssets<PondLook> {
  protected:
    static Look Frame(const std::string& clip, size_t frame) {
        graphics::ClipFile file = Load(clip);
        if (frame >= file.frames.size()) return {};
        return LookOf(file.pictures.at(static_cast<size_t>(file.frames[frame].pictureIndex)));
    }
};

const char* const kLeaves[] = {"1-leave0", "2-leave0", "3-leave0", "4-leave0"};

// Measured on the open leaf: a sinking one takes on the water's colour and fades into it.
TEST_F(PondLook, LeavesAreQuieterThanTheCreaturesAndHoldNoRed) {
    double loudestLeaf = 0;
    for (const char* leaf : kLeaves) {
        loudestLeaf = std::max(loudestLeaf, Frame(leaf, 2).chroma);
        for (size_t frame = 0; frame < 15; ++frame)
            EXPECT_LT(Frame(leaf, frame).red, 0.03)
                << leaf << " frame " << frame << " looks kin to the red frogs";
    }
    for (const char* creature : {"frog0", "1-enemy0", "1-sun0", "2-sun0", "heart0"})
        EXPECT_LT(loudestLeaf, Frame(creature, 0).chroma) << creature << " does not stand out";
}

// The suns push the frog away: they are hot and angry, red to orange, not a soft yellow bonus.
TEST_F(PondLook, BothSunsBurnRedAndOrange) {
    for (const char* sun : {"1-sun0", "2-sun0"}) {
        for (size_t frame = 0; frame < 4; ++frame) {
            const Look look = Frame(sun, frame);
            EXPECT_GT(look.sunlight + look.red, 0.8) << sun << " frame " << frame;
            EXPECT_GT(look.red, 0.1) << sun << " frame " << frame << " has no red heat";
            EXPECT_LT(look.pale, 0.15) << sun << " frame " << frame << " is soft and pale";
        }
    }
}

// A whole leaf lies lit on the water; a sinking one is darker from its first frame and fades
// toward the water's colour frame by frame, so the two are told apart at a glance.
TEST_F(PondLook, SinkingLeavesAreDarkerThanWholeOnesAndFadeFrameByFrame) {
    // Mean distance from the water's colour, for the fading.
    auto fromWater = [](const graphics::Picture& p) {
        double sum = 0;
        size_t count = 0;
        for (int32_t y = 0; y < p.Rows(); ++y)
            for (int32_t x = 0; x < p.width; ++x) {
                const uint8_t* q = p.bits.data() + static_cast<size_t>(y) * p.stride + static_cast<size_t>(x) * 3;
                if ((q[0] | q[1] << 8 | q[2] << 16) == static_cast<int>(p.colourKey)) continue;
                sum += std::abs(q[0] - 160) + std::abs(q[1] - 128) + std::abs(q[2] - 48);
                ++count;
            }
        return count ? sum / count : 0.0;
    };
    auto light = [](const graphics::Picture& p) {
        double sum = 0;
        size_t count = 0;
        for (int32_t y = 0; y < p.Rows(); ++y)
            for (int32_t x = 0; x < p.width; ++x) {
                const uint8_t* q = p.bits.data() + static_cast<size_t>(y) * p.stride + static_cast<size_t>(x) * 3;
                if ((q[0] | q[1] << 8 | q[2] << 16) == static_cast<int>(p.colourKey)) continue;
                sum += 0.114 * q[0] + 0.587 * q[1] + 0.299 * q[2];
                ++count;
            }
        return count ? sum / count : 0.0;
    };
    for (const char* leaf : kLeaves) {
        graphics::ClipFile file = Load(leaf);
        ASSERT_EQ(file.frames.size(), 16u) << leaf;
        auto frame = [&](size_t f) -> const graphics::Picture& {
            return file.pictures.at(static_cast<size_t>(file.frames[f].pictureIndex));
        };
        const double whole = light(frame(2));
        EXPECT_LT(light(frame(3)), 0.95 * whole) << leaf << ": the first sinking frame looks whole";
        double distance = fromWater(frame(3));
        EXPECT_LT(distance, 0.8 * fromWater(frame(2))) << leaf;
        for (size_t f = 4; f < 15; ++f) {
            const double next = fromWater(frame(f));
            EXPECT_LT(next, distance) << leaf << " frame " << f << " does not fade into the water";
            distance = next;
        }
    }
}

// Anything with an outline or a contrast of its own in the water reads as one more thing afloat.
TEST_F(PondLook, WaterHoldsNoShapeThatStandsOut) {
    graphics::Picture background;
    std::string reason;
    ASSERT_TRUE(graphics::ReadBmpFile(folder_ + "/CLP/all.bmp", background, reason)) << reason;
    ASSERT_TRUE(background.BottomUp());
    // The pond inside its darker rim; the water darkens from top to bottom, so each row is measured
    // against its own mean.
    double worst = 0;
    for (int32_t y = 60; y < 520; ++y) {
        const uint8_t* row =
            background.bits.data() + static_cast<size_t>(background.Rows() - 1 - y) * background.stride;
        std::vector<double> light;
        for (int32_t x = 30; x < 640; ++x)
            light.push_back(0.114 * row[3 * x] + 0.587 * row[3 * x + 1] + 0.299 * row[3 * x + 2]);
        double mean = 0;
        for (double l : light) mean += l;
        mean /= static_cast<double>(light.size());
        for (double l : light) worst = std::max(worst, std::fabs(l - mean) / mean);
    }
    EXPECT_LT(worst, 0.2);
}

}  // namespace
