// What the writers produce, read back through the game's own loaders: the two sides agree on every
// field, and every generated picture file loads with what the game's rules need.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include "ClipBytes.h"
#include "GeneratedAssetsFixture.h"
#include "graphics/BmpReader.h"
#include "graphics/ClipFileReader.h"
#include "tools/assetgen/ClipWriter.h"
#include "tools/cliptool/ClipInspector.h"

namespace {

namespace fs = std::filesystem;
using assetgen::ClipData;
using assetgen::ClipFrame;
using assetgen::Picture;
using assetgen::Rgb;

Picture Pattern(int w, int h, uint32_t key, int seed) {
    Picture p(w, h, key);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.Set(x, y,
                  Rgb{static_cast<uint8_t>(seed + x * 7), static_cast<uint8_t>(y * 13),
                      static_cast<uint8_t>(x ^ y)});
    return p;
}

// The engine's picture keeps the file's rows: bottom-up, padded. Compare pixel by pixel.
void ExpectSamePixels(const Picture& written, const graphics::Picture& read, const std::string& what) {
    ASSERT_EQ(read.width, written.width) << what;
    ASSERT_EQ(read.Rows(), written.height) << what;
    ASSERT_TRUE(read.BottomUp()) << what;
    ASSERT_EQ(read.bitsPerPixel, 24u) << what;
    ASSERT_EQ(read.stride, assetgen::Stride24(written.width)) << what;
    ASSERT_GE(read.bits.size(), read.ImageSize()) << what;
    for (int y = 0; y < written.height; ++y)
        for (int x = 0; x < written.width; ++x) {
            const size_t at =
                static_cast<size_t>(written.height - 1 - y) * read.stride + static_cast<size_t>(x) * 3;
            const Rgb c = written.At(x, y);
            ASSERT_EQ(read.bits[at], c.b) << what << " at " << x << "," << y;
            ASSERT_EQ(read.bits[at + 1], c.g) << what;
            ASSERT_EQ(read.bits[at + 2], c.r) << what;
        }
}

TEST(WriterAndLoaderTest, AgreeOnEveryFieldOfAClip) {
    ClipData clip;
    clip.frameRate = 12.75f;  // the game truncates
    clip.pictures = {Pattern(5, 3, 0xFF00FF, 1), Pattern(78, 80, 120034, 2), Pattern(1, 1, 0, 3)};
    const double offsets[][3] = {{0, 0, 0}, {-12.5, 40.25, 3}, {1e5, -1e5, -7}};
    const std::vector<int32_t> commands[] = {{}, {1}, {3, 0}, {4, 2}, {2}, {99, 3}};
    for (int i = 0; i < 6; ++i) {
        ClipFrame f;
        f.x = offsets[i % 3][0];
        f.y = offsets[i % 3][1];
        f.depth = offsets[i % 3][2];
        f.picture = static_cast<int16_t>((i * 2) % 3);
        f.commands = commands[i];
        clip.frames.push_back(f);
    }
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(assetgen::EncodeClip(clip, bytes));

    graphics::ClipFile read;
    std::string reason;
    ASSERT_TRUE(graphics::ParseClipFile(bytes, read, reason)) << reason;
    EXPECT_EQ(read.frameRate, 12);
    ASSERT_EQ(read.pictures.size(), clip.pictures.size());
    for (size_t i = 0; i < clip.pictures.size(); ++i) {
        EXPECT_EQ(read.pictures[i].colourKey, clip.pictures[i].key) << i;
        ExpectSamePixels(clip.pictures[i], read.pictures[i], "picture " + std::to_string(i));
    }
    ASSERT_EQ(read.frames.size(), clip.frames.size());
    for (size_t i = 0; i < clip.frames.size(); ++i) {
        EXPECT_DOUBLE_EQ(read.frames[i].x, clip.frames[i].x) << i;
        EXPECT_DOUBLE_EQ(read.frames[i].y, clip.frames[i].y) << i;
        EXPECT_DOUBLE_EQ(read.frames[i].depth, clip.frames[i].depth) << i;
        EXPECT_EQ(read.frames[i].pictureIndex, clip.frames[i].picture) << i;
        EXPECT_EQ(read.frames[i].commands, clip.frames[i].commands) << i;
    }
}

TEST(WriterAndLoaderTest, AgreeOnABitmapFileAndItsCornerKey) {
    Picture p = Pattern(7, 5, 0, 9);
    p.Set(0, 4, Rgb{1, 2, 3});  // bottom-left: the first pixel stored
    const auto bytes = assetgen::EncodeBmp(p);
    graphics::Picture read;
    std::string reason;
    ASSERT_TRUE(graphics::ParseBmpFile(bytes, read, reason)) << reason;
    ExpectSamePixels(p, read, "bitmap");
    EXPECT_EQ(cliptool::KeyFromFirstPixel(read), assetgen::KeyValue(Rgb{1, 2, 3}));
}

TEST(WriterAndLoaderTest, LoaderRefusesWhatTheWriterNeverWrites) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(assetgen::EncodeClip(ClipData::Sequence({Pattern(3, 3, 0, 0)}, 5), bytes));
    graphics::ClipFile read;
    std::string reason;
    auto cut = bytes;
    cut.resize(bytes.size() - 1);
    EXPECT_FALSE(graphics::ParseClipFile(cut, read, reason));
    auto wrongMagic = bytes;
    wrongMagic[0] = 136;
    EXPECT_FALSE(graphics::ParseClipFile(wrongMagic, read, reason));
}

class GeneratedFilesThroughTheGame : public GeneratedAssets<GeneratedFilesThroughTheGame> {};

TEST_F(GeneratedFilesThroughTheGame, EveryClipLoadsAsTheGameWillSeeIt) {
    size_t clips = 0;
    for (const auto& entry : fs::directory_iterator(folder_ + "/CLP")) {
        if (entry.path().extension() != ".clp") continue;
        const graphics::ClipFile clip = Load(entry.path().stem().string());
        EXPECT_FALSE(clip.frames.empty()) << entry.path();
        for (const auto& p : clip.pictures) EXPECT_EQ(p.bitsPerPixel, 24u) << entry.path();
        ++clips;
    }
    EXPECT_EQ(clips, 71u);
}

TEST_F(GeneratedFilesThroughTheGame, CreaturesHaveTheFramesTheRulesCountOn) {
    // Leaves and islands: the rules need frame 2 fully open, sinking frames and a last frame under
    // water, with room for the red frogs' leaving depth of up to 9 frames.
    for (const char* name : {"1-leave0", "2-leave0", "3-leave0", "4-leave0", "island0"})
        EXPECT_GE(Load(name).frames.size(), 10u) << name;
    // A ripple is reset when it reaches its second-last frame: it needs a few to show anything.
    EXPECT_GE(Load("waves0").frames.size(), 4u);
    EXPECT_EQ(Load("digits").frames.size(), 10u);
    EXPECT_EQ(Load("def_cbox").frames.size(), 6u);
    for (const char* name : {"smleav", "smfrog"}) EXPECT_GE(Load(name).frames.size(), 2u) << name;
    for (const char* prefix : {"frog", "1-enemy", "1-fly", "2-fly", "3-fly", "4-fly", "1-sun", "2-sun"})
        for (int d = 0; d < 4; ++d) {
            const auto clip = Load(prefix + std::to_string(d));
            ASSERT_FALSE(clip.pictures.empty());
            EXPECT_EQ(clip.pictures[0].width, 78) << prefix << d;
            EXPECT_EQ(clip.pictures[0].Rows(), 80) << prefix << d;
        }
}

TEST_F(GeneratedFilesThroughTheGame, WindowPicturesLoadWithTheBackgroundColourAsKey) {
    for (const char* name : {"all", "skin"}) {
        graphics::Picture p;
        std::string reason;
        ASSERT_TRUE(graphics::ReadBmpFile(folder_ + "/CLP/" + name + ".bmp", p, reason)) << reason;
        EXPECT_EQ(p.width, 750);
        EXPECT_EQ(p.Rows(), 550);
        // The window's background colour (red 0x43, green 0xA7, blue 0xD0) as a key value.
        EXPECT_EQ(cliptool::KeyFromFirstPixel(p), 0x43A7D0u) << name;
    }
}

}  // namespace
