#include "tools/cliptool/ClipDescription.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "ClipBytes.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using cliptool::ClipDescription;
using cliptool::ParseClipDescription;

TEST(ClipDescriptionTest, ReadsRateColoursPicturesAndFrames) {
    ClipDescription d;
    std::string error;
    ASSERT_TRUE(ParseClipDescription("# a leaf\nrate 12.5\nkey #00FF00\nground 120034\npicture a.png\n"
                                     "key 255\npicture sub dir/b c.png  # trailing comment\n"
                                     "frame 1 x=-4 y=2.5 depth=3 hold\nframe 0 play=0 holdat=1 destroy cmd=7,-8\n",
                                     "/base", d, error))
        << error;
    EXPECT_FLOAT_EQ(d.frameRate, 12.5f);
    ASSERT_EQ(d.pictures.size(), 2u);
    EXPECT_EQ(d.pictures[0].path, "/base/a.png");
    EXPECT_EQ(d.pictures[0].key, 0x00FF00u);  // green: 255 * 256
    EXPECT_EQ(d.pictures[0].ground, (assetgen::Rgb{1, 212, 226}));
    EXPECT_EQ(d.pictures[1].path, "/base/sub dir/b c.png");
    EXPECT_EQ(d.pictures[1].key, 255u);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[0].picture, 1);
    EXPECT_DOUBLE_EQ(d.frames[0].x, -4);
    EXPECT_DOUBLE_EQ(d.frames[0].y, 2.5);
    EXPECT_DOUBLE_EQ(d.frames[0].depth, 3);
    EXPECT_EQ(d.frames[0].commands, (std::vector<int32_t>{1}));
    EXPECT_EQ(d.frames[1].commands, (std::vector<int32_t>{3, 0, 4, 1, 2, 7, -8}));
}

TEST(ClipDescriptionTest, MistakesNameTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"picture a.png\nrate fast\n", "line 2"},
        {"picture a.png\nrate -1\n", "line 2"},
        {"picture a.png\nkey #12345\n", "line 2"},
        {"picture a.png\nkey 16777216\n", "line 2"},
        {"picture a.png\nwobble 3\n", "line 2"},
        {"picture a.png\n\nframe 0 spin=3\n", "line 3"},
        {"picture a.png\nframe 0 play=\n", "line 2"},
        {"picture a.png\nframe 0 cmd=1,x\n", "line 2"},
        {"picture a.png\nframe\n", "line 2"},
        {"picture a.png\nframe 99999\n", "line 2"},
        {"picture a.png\nframe 0\nframe 1\n", "line 3"},  // only picture 0 exists
        {"rate 10 20\npicture a.png\n", "line 1"},
    };
    for (const auto& [text, where] : cases) {
        ClipDescription d;
        std::string error;
        EXPECT_FALSE(ParseClipDescription(text, ".", d, error)) << text;
        EXPECT_NE(error.find(where), std::string::npos) << text << " gave: " << error;
    }
    ClipDescription d;
    std::string error;
    EXPECT_FALSE(ParseClipDescription("rate 10\n", ".", d, error));
    EXPECT_NE(error.find("no picture"), std::string::npos);
}

class PackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.Path().empty());
        folder_ = temp_.Path().string();
    }

    // A 4 x 1 PNG: opaque red, transparent, half-covered white, opaque magenta.
    void WritePng(const std::string& name) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 1);
        cairo_t* cr = cairo_create(s);
        const double px[4][4] = {{1, 0, 0, 1}, {0, 0, 0, 0}, {1, 1, 1, 0.6}, {1, 0, 1, 1}};
        for (int i = 0; i < 4; ++i) {
            cairo_rectangle(cr, i, 0, 1, 1);
            cairo_set_source_rgba(cr, px[i][0], px[i][1], px[i][2], px[i][3]);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_fill(cr);
        }
        cairo_destroy(cr);
        cairo_surface_write_to_png(s, (folder_ + "/" + name).c_str());
        cairo_surface_destroy(s);
    }
    void WriteText(const std::string& name, const std::string& text) { std::ofstream(folder_ + "/" + name) << text; }

    TempFolder temp_{"cliptool"};
    std::string folder_;
};

TEST_F(PackTest, PngPixelsBecomeKeyExactColourOrABlendIntoTheGround) {
    WritePng("f.png");
    assetgen::Picture p;
    std::string error;
    ASSERT_TRUE(cliptool::LoadPngPicture({folder_ + "/f.png", 0xFF00FF, assetgen::Rgb{0, 0, 0}}, p, error)) << error;
    ASSERT_EQ(p.width, 4);
    EXPECT_EQ(p.At(0, 0), (assetgen::Rgb{255, 0, 0}));
    EXPECT_TRUE(p.IsKey(1, 0));
    EXPECT_NEAR(p.At(2, 0).r, 153, 2);  // 60 % white over black
    EXPECT_TRUE(p.IsKey(3, 0));         // drawn in the key colour: meant to be see-through
}

TEST_F(PackTest, DescriptionAndPngsMakeAClipFile) {
    WritePng("f.png");
    WriteText("clip.txt", "rate 6\npicture f.png\npicture f.png\nframe 1 x=2\nframe 0 play=0\n");
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(cliptool::PackClip(folder_ + "/clip.txt", bytes, error)) << error;
    assettest::ClipView view;
    ASSERT_EQ(assettest::ReadClip(bytes, view), "");
    EXPECT_FLOAT_EQ(view.frameRate, 6);
    EXPECT_EQ(view.pictures.size(), 2u);
    ASSERT_EQ(view.frames.size(), 2u);
    EXPECT_EQ(view.frames[0].picture, 1);
    EXPECT_DOUBLE_EQ(view.frames[0].x, 2);
    EXPECT_EQ(view.frames[1].commands, (std::vector<int32_t>{3, 0}));
}

TEST_F(PackTest, MissingOrBrokenFilesAreReportedByName) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(cliptool::PackClip(folder_ + "/none.txt", bytes, error));
    EXPECT_NE(error.find("none.txt"), std::string::npos);

    WriteText("clip.txt", "picture missing.png\n");
    EXPECT_FALSE(cliptool::PackClip(folder_ + "/clip.txt", bytes, error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);

    WriteText("bad.png", "not a png at all");
    WriteText("clip2.txt", "picture bad.png\n");
    EXPECT_FALSE(cliptool::PackClip(folder_ + "/clip2.txt", bytes, error));
    EXPECT_NE(error.find("bad.png"), std::string::npos);
}

}  // namespace
