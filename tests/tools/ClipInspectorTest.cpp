#include "tools/cliptool/ClipInspector.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "ClipBytes.h"
#include "tests/support/TempFolder.h"
#include "tools/assetgen/ClipWriter.h"

// The contact sheets write their labels through Cairo's font support; fontconfig keeps a few small
// allocations to the end of the process, which LeakSanitizer should not report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

namespace fs = std::filesystem;
using assetgen::Picture;
using assetgen::Rgb;

class ClipInspectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.Path().empty());
        folder_ = temp_.Path().string();
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string TwoFrameClip() {
        assetgen::ClipData clip = assetgen::ClipData::Sequence({Picture(4, 2, 0xFF00FF), Picture(3, 3, 5)}, 9.5f);
        clip.frames[0].x = -6;
        clip.frames[1].commands = {3, 0};
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(assetgen::EncodeClip(clip, bytes));
        return Write("two.clp", bytes);
    }
    TempFolder temp_{"cliptool-info"};
    std::string folder_;
};

TEST(DescribeCommandsTest, NamesEveryCommandAndStopsAtDestroy) {
    EXPECT_EQ(cliptool::DescribeCommands({}), "none (next frame)");
    EXPECT_EQ(cliptool::DescribeCommands({1, 3, 4, 4, 2}), "hold, play from 4, hold at 2");
    EXPECT_EQ(cliptool::DescribeCommands({2, 1}), "destroy");
    EXPECT_EQ(cliptool::DescribeCommands({7, 3}), "ignored 7, ignored 3");  // 3 without its index
}

TEST_F(ClipInspectorTest, InfoShowsHeaderPicturesFramesAndCommands) {
    std::string text, error;
    ASSERT_TRUE(cliptool::DescribeFile(TwoFrameClip(), text, error)) << error;
    EXPECT_NE(text.find("magic 137"), std::string::npos) << text;
    EXPECT_NE(text.find("frame rate used 9"), std::string::npos) << text;
    EXPECT_NE(text.find("4 x 2 bottom-up, 24 bits, stride 12"), std::string::npos) << text;
    EXPECT_NE(text.find("red 255 green 0 blue 255"), std::string::npos) << text;
    EXPECT_NE(text.find("#0  picture 0 at x -6"), std::string::npos) << text;
    EXPECT_NE(text.find("play from 0"), std::string::npos) << text;
}

TEST_F(ClipInspectorTest, InfoOfABitmapGivesSizeDepthAndTheCornerKey) {
    Picture p(3, 2, 0);
    p.Set(0, 1, Rgb{9, 8, 7});
    std::string text, error;
    ASSERT_TRUE(cliptool::DescribeFile(Write("a.bmp", assetgen::EncodeBmp(p)), text, error)) << error;
    EXPECT_NE(text.find("3 x 2 bottom-up, 24 bits"), std::string::npos) << text;
    EXPECT_NE(text.find("red 9 green 8 blue 7"), std::string::npos) << text;
}

TEST_F(ClipInspectorTest, RefusedFilesGiveAReasonNotACrash) {
    std::vector<uint8_t> clip = assettest::ReadFile(TwoFrameClip());
    std::string text, error;
    for (size_t keep : {0, 10, 31, 40, 100}) {
        std::vector<uint8_t> cut(clip.begin(), clip.begin() + static_cast<long>(std::min(keep, clip.size())));
        EXPECT_FALSE(cliptool::DescribeFile(Write("cut.clp", cut), text, error)) << keep;
        EXPECT_FALSE(error.empty()) << keep;
        EXPECT_FALSE(cliptool::RenderFile(folder_ + "/cut.clp", folder_ + "/cut.png", error)) << keep;
    }
    EXPECT_FALSE(cliptool::DescribeFile(Write("b.bmp", {'B', 'M', 1, 2, 3}), text, error));
    EXPECT_NE(error.find("bitmap"), std::string::npos) << error;
    EXPECT_FALSE(cliptool::DescribeFile(folder_ + "/missing.clp", text, error));
}

TEST_F(ClipInspectorTest, RenderDrawsEveryFrameOnASheet) {
    std::string error;
    const std::string png = folder_ + "/sheet.png";
    ASSERT_TRUE(cliptool::RenderFile(TwoFrameClip(), png, error)) << error;
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    EXPECT_GT(cairo_image_surface_get_width(s), 4 + 3);
    cairo_surface_destroy(s);
}

TEST(ToViewableTest, TurnsStoredRowsTopDownAndKeepsTheKeyApart) {
    graphics::Picture p;
    p.width = 1;
    p.height = 2;  // bottom-up: the first stored row is the bottom one
    p.bitsPerPixel = 24;
    p.stride = 4;
    p.colourKey = 0x0000FF;
    p.bits = {0xFF, 0, 0, 0, 0x10, 0x20, 0x30, 0, 0, 0, 0, 0};
    const Picture v = cliptool::ToViewable(p);
    EXPECT_EQ(v.At(0, 0), (Rgb{0x30, 0x20, 0x10}));
    EXPECT_TRUE(v.IsKey(0, 1));
    p.height = -2;  // top-down
    const Picture t = cliptool::ToViewable(p);
    EXPECT_TRUE(t.IsKey(0, 0));
}

}  // namespace
