// The generator's command line, run as the build runs it: options it does not know are refused
// before anything is written, --scale draws the same clips at N times their size, --preview writes
// a picture.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ClipBytes.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using assettest::ClipView;
using assettest::ReadClip;
using assettest::ReadFile;
using assettest::U32;

int RunGenerator(const std::string& arguments) {
    const int status = std::system(("\"" + std::string(ASSETGEN_PATH) + "\" " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AssetgenOptions, RefusesWhatItDoesNotKnowAndWritesNothing) {
    TempFolder temp("assetgen-options");
    const std::string out = "\"" + (temp.Path() / "out").string() + "\"";
    const struct {
        std::string arguments;
        int status;
    } cases[] = {
        {"--help", 0},
        {"-h", 0},
        {"", 2},
        {"--bogus", 2},
        {out + " --bogus", 2},
        {out + " --scale", 2},
        {out + " --scale 0", 2},
        {out + " --scale 5", 2},
        {out + " --scale two", 2},
        {out + " --scale -2", 2},
        {out + " --preview", 2},
        {out + " " + out, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunGenerator(c.arguments), c.status) << c.arguments;
        EXPECT_FALSE(fs::exists(temp.Path() / "out")) << c.arguments;
    }
    EXPECT_FALSE(fs::exists("--help"));
}

class ScaledAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        temp_ = std::make_unique<TempFolder>("assetgen-scaled");
        folder_ = temp_->Path().string();
        ok_ = RunGenerator("--scale 3 \"" + folder_ + "\" --scale 2 --preview \"" + folder_ + "/sheet.png\"") == 0;
    }
    static void TearDownTestSuite() { temp_.reset(); }
    void SetUp() override { ASSERT_TRUE(ok_); }

    static inline std::unique_ptr<TempFolder> temp_;
    static inline std::string folder_;
    static inline bool ok_ = false;
};

// Same clips, same frames, commands and keys; every picture exactly N times as wide and as high.
TEST_F(ScaledAssets, EveryClipComesAgainAtNTimesItsSizeWithTheSameStructure) {
    size_t clips = 0;
    for (const auto& entry : fs::directory_iterator(folder_ + "/CLP")) {
        if (entry.path().extension() != ".clp") continue;
        ClipView one;
        ASSERT_EQ(ReadClip(ReadFile(entry.path().string()), one), "") << entry.path();
        for (int n : {2, 3}) {
            const fs::path scaled = fs::path(folder_) / ("CLP@" + std::to_string(n) + "x") / entry.path().filename();
            ClipView big;
            ASSERT_EQ(ReadClip(ReadFile(scaled.string()), big), "") << scaled;
            EXPECT_EQ(big.frameRate, one.frameRate) << scaled;
            ASSERT_EQ(big.pictures.size(), one.pictures.size()) << scaled;
            ASSERT_EQ(big.frames.size(), one.frames.size()) << scaled;
            for (size_t i = 0; i < one.pictures.size(); ++i) {
                EXPECT_EQ(big.pictures[i].width, n * one.pictures[i].width) << scaled;
                EXPECT_EQ(big.pictures[i].height, n * one.pictures[i].height) << scaled;
                EXPECT_EQ(big.pictures[i].key, one.pictures[i].key) << scaled;
                EXPECT_EQ(big.pictures[i].bits, 24) << scaled;
            }
            for (size_t i = 0; i < one.frames.size(); ++i) {
                EXPECT_EQ(big.frames[i].picture, one.frames[i].picture) << scaled;
                EXPECT_EQ(big.frames[i].x, n * one.frames[i].x) << scaled;
                EXPECT_EQ(big.frames[i].y, n * one.frames[i].y) << scaled;
                EXPECT_EQ(big.frames[i].commands, one.frames[i].commands) << scaled;
            }
        }
        ++clips;
    }
    EXPECT_GT(clips, 60u);
    EXPECT_FALSE(fs::exists(folder_ + "/WAV@2x")) << "only pictures have scaled sets";
}

// The window pictures keep their one see-through corner pixel at every scale.
TEST_F(ScaledAssets, WindowPicturesScaleAndKeepTheirUniqueCornerKey) {
    const struct {
        const char* file;
        int width, height;
    } bitmaps[] = {{"all", 750, 550}, {"skin", 750, 550}, {"icon", 64, 64}};
    for (int n : {1, 2, 3}) {
        const std::string folder = n == 1 ? "/CLP/" : "/CLP@" + std::to_string(n) + "x/";
        for (const auto& b : bitmaps) {
            const auto bytes = ReadFile(folder_ + folder + b.file + ".bmp");
            ASSERT_GT(bytes.size(), 54u) << b.file << " " << n;
            const int w = static_cast<int>(U32(bytes, 18)), h = static_cast<int>(U32(bytes, 22));
            EXPECT_EQ(w, n * b.width) << b.file << " " << n;
            EXPECT_EQ(h, n * b.height) << b.file << " " << n;
            if (std::string(b.file) == "icon") continue;
            const size_t stride = ((static_cast<size_t>(w) * 3 + 3) / 4) * 4;
            auto pixel = [&](int x, int row) {
                const size_t at = 54 + static_cast<size_t>(row) * stride + static_cast<size_t>(x) * 3;
                return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
            };
            int same = 0;
            for (int row = 0; row < h; ++row)
                for (int x = 0; x < w; ++x) same += pixel(x, row) == pixel(0, 0);
            EXPECT_EQ(same, 1) << b.file << " " << n;
        }
    }
}

TEST_F(ScaledAssets, PreviewIsAPngPicture) {
    cairo_surface_t* png = cairo_image_surface_create_from_png((folder_ + "/sheet.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_GT(cairo_image_surface_get_width(png), 1000);
    EXPECT_GT(cairo_image_surface_get_height(png), 1000);
    cairo_surface_destroy(png);
}

}  // namespace
