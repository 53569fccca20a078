#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/BmpReader.h"
#include "graphics/PictureMask.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

namespace fs = std::filesystem;
using graphics::Picture;
using testing_support::PutAt;

constexpr const char* kConvert = "/usr/bin/convert";

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// Pixel (x, y) of the test images, y counted from the top. The bottom-left pixel is magenta.
Rgb TestColour(int x, int y, int height) {
    if (y == height - 1 && x == 0) return {255, 0, 255};
    if ((x + y) % 3 == 0) return {255, 0, 255};
    return {static_cast<uint8_t>(x * 37 + 5), static_cast<uint8_t>(y * 53 + 11),
            static_cast<uint8_t>(x * y * 7 + 3)};
}

Rgb PixelOf(const Picture& p, int x, int y) {
    int memoryRow = p.BottomUp() ? p.Rows() - 1 - y : y;
    const uint8_t* px =
        p.bits.data() + static_cast<size_t>(memoryRow) * p.stride + static_cast<size_t>(x) * 3;
    return {px[2], px[1], px[0]};
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BmpReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("bmpreader_test_" + std::to_string(getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Writes the test image as a PPM and has ImageMagick turn it into a bitmap file of `format`
    // ("BMP3" for a 40-byte info header, "BMP" for its newest header). Empty when convert fails.
    std::vector<uint8_t> Converted(int width, int height, const std::string& format) {
        fs::path ppm = dir_ / "in.ppm", bmp = dir_ / "out.bmp";
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << width << " " << height << "\n255\n";
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                Rgb c = TestColour(x, y, height);
                out.put(static_cast<char>(c.r)).put(static_cast<char>(c.g)).put(static_cast<char>(c.b));
            }
        out.close();
        std::string target = format + ":" + bmp.string();
        pid_t pid = fork();
        if (pid == 0) {
            execl(kConvert, kConvert, ppm.c_str(), "-type", "truecolor", target.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
        return ReadAll(bmp);
    }

    void ExpectTestImage(const Picture& p, int width, int height) {
        ASSERT_EQ(p.width, width);
        ASSERT_EQ(p.Rows(), height);
        EXPECT_EQ(p.bitsPerPixel, 24u);
        EXPECT_EQ(p.stride, static_cast<uint32_t>((width * 3 + 3) / 4 * 4));
        EXPECT_EQ(p.bits.size(), p.stride * static_cast<size_t>(height) + 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(PixelOf(p, x, y), TestColour(x, y, height)) << x << "," << y;
    }

    fs::path dir_;
};

#define REQUIRE_CONVERT() \
    if (access(kConvert, X_OK) != 0) GTEST_SKIP() << kConvert << " is missing: install imagemagick"

TEST_F(BmpReaderTest, ConvertWrittenBottomUpFilesLoadPixelExactWithRowPadding) {
    REQUIRE_CONVERT();
    for (auto [w, h] : {std::pair{5, 3}, {7, 4}, {1, 1}, {6, 2}, {33, 9}}) {
        for (const char* format : {"BMP3", "BMP"}) {
            auto bytes = Converted(w, h, format);
            ASSERT_FALSE(bytes.empty()) << "convert failed";
            Picture p;
            std::string reason;
            ASSERT_TRUE(graphics::ParseBmpFile(bytes, p, reason))
                << format << " " << w << "x" << h << ": " << reason;
            EXPECT_TRUE(p.BottomUp());
            ExpectTestImage(p, w, h);
        }
    }
}

TEST_F(BmpReaderTest, TopDownFilesKeepTheirRowOrder) {
    REQUIRE_CONVERT();
    const int w = 7, h = 5;
    auto bytes = Converted(w, h, "BMP3");
    ASSERT_FALSE(bytes.empty());
    // Turn the file top-down: negative height, rows reversed.
    const size_t stride = (w * 3 + 3) / 4 * 4, start = 14 + 40;
    std::vector<uint8_t> flipped(bytes.begin(), bytes.begin() + start);
    for (int r = h - 1; r >= 0; --r)
        flipped.insert(flipped.end(), bytes.begin() + static_cast<ptrdiff_t>(start + r * stride),
                       bytes.begin() + static_cast<ptrdiff_t>(start + (r + 1) * stride));
    PutAt(flipped, 22, int32_t{-h});
    Picture p;
    std::string reason;
    ASSERT_TRUE(graphics::ParseBmpFile(flipped, p, reason)) << reason;
    EXPECT_EQ(p.height, -h);
    EXPECT_FALSE(p.BottomUp());
    ExpectTestImage(p, w, h);
}

TEST_F(BmpReaderTest, MagentaFirstPixelGivesTheKeyAndMasksEveryMagentaPixel) {
    REQUIRE_CONVERT();
    const int w = 5, h = 3;
    auto bytes = Converted(w, h, "BMP3");
    Picture p;
    std::string reason;
    ASSERT_TRUE(graphics::ParseBmpFile(bytes, p, reason)) << reason;
    auto key = graphics::KeyFromFirstPixel(p);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(*key, 0xFF00FFu);
    auto mask = graphics::BuildTransparencyMask(p, *key);
    for (int y = 0; y < h; ++y) {
        int row = h - 1 - y;
        for (int x = 0; x < w; ++x) {
            bool magenta = TestColour(x, y, h) == Rgb{255, 0, 255};
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(mask[row * p.stride + x * 3 + c], magenta ? 0xFF : 0x00) << x << "," << y;
        }
        EXPECT_EQ(mask[row * p.stride + 15], 0) << "row padding stays 0";
    }
}

// A minimal 24-bit file with a 40-byte info header: `width` x `height`, rows of `fill`.
std::vector<uint8_t> SmallBmp(int32_t width, int32_t height, uint16_t bits = 24, uint32_t colours = 0,
                              uint32_t compression = 0) {
    std::vector<uint8_t> b(14 + 40, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutAt(b, 14, uint32_t{40});
    PutAt(b, 18, width);
    PutAt(b, 22, height);
    PutAt(b, 26, uint16_t{1});
    PutAt(b, 28, bits);
    PutAt(b, 30, compression);
    PutAt(b, 46, colours);
    size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    uint64_t table = colours ? colours : (bits <= 8 ? 1u << bits : 0);
    if (bits >= 16 && compression == 3) table += 3;
    b.resize(b.size() + table * 4, 0x11);
    size_t rows = static_cast<size_t>(height < 0 ? -height : height);
    for (size_t i = 0; i < stride * rows; ++i) b.push_back(static_cast<uint8_t>(i * 7));
    PutAt(b, 10, uint32_t{0xDEADBEEF});  // the pixel offset is never used
    return b;
}

TEST(BmpParseTest, PixelsStartAfterTheColourTableWhateverTheFileHeaderSays) {
    Picture p;
    std::string reason;
    ASSERT_TRUE(graphics::ParseBmpFile(SmallBmp(3, 2, 8), p, reason)) << reason;
    EXPECT_EQ(p.bitsPerPixel, 8u);
    EXPECT_EQ(p.stride, 4u);
    EXPECT_EQ(p.bits[0], 0);
    EXPECT_EQ(p.bits[1], 7);
    ASSERT_TRUE(graphics::ParseBmpFile(SmallBmp(3, 2, 8, 2), p, reason)) << "two colours in the table";
    EXPECT_EQ(p.bits[1], 7);
    ASSERT_TRUE(graphics::ParseBmpFile(SmallBmp(2, 2, 32, 0, 3), p, reason)) << "bit-field masks";
    EXPECT_EQ(p.bits[1], 7);
    ASSERT_TRUE(graphics::ParseBmpFile(SmallBmp(2, 2, 24, 5), p, reason)) << "a palette in a 24-bit file";
    EXPECT_EQ(p.bits[1], 7);
}

TEST(BmpParseTest, ImageSizeFieldIsNeitherTrustedNorNeeded) {
    auto bytes = SmallBmp(5, 3);
    PutAt(bytes, 34, uint32_t{1});  // claims one byte of pixels
    Picture p;
    std::string reason;
    ASSERT_TRUE(graphics::ParseBmpFile(bytes, p, reason)) << reason;
    EXPECT_EQ(p.bits.size(), 16u * 3 + 4);
    PutAt(bytes, 34, uint32_t{0xFFFFFFFF});  // claims far more than the file
    ASSERT_TRUE(graphics::ParseBmpFile(bytes, p, reason)) << reason;
    EXPECT_EQ(p.bits.size(), 16u * 3 + 4);
}

TEST(BmpParseTest, EverySizeThatDoesNotFitTheFileFailsCleanly) {
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> breakIt;
    };
    const std::vector<Case> cases = {
        {"empty", [](auto& b) { b.clear(); }},
        {"file header only", [](auto& b) { b.resize(14); }},
        {"info header of 12 bytes", [](auto& b) { PutAt(b, 14, uint32_t{12}); }},
        {"info header of 3 bytes", [](auto& b) { PutAt(b, 14, uint32_t{3}); }},
        {"info header larger than the file", [](auto& b) { PutAt(b, 14, static_cast<uint32_t>(b.size())); }},
        {"info header 0xFFFFFFFF", [](auto& b) { PutAt(b, 14, uint32_t{0xFFFFFFFF}); }},
        {"width 0", [](auto& b) { PutAt(b, 18, int32_t{0}); }},
        {"negative width", [](auto& b) { PutAt(b, 18, int32_t{-5}); }},
        {"height 0", [](auto& b) { PutAt(b, 22, int32_t{0}); }},
        {"most negative height", [](auto& b) { PutAt(b, 22, int32_t{INT32_MIN}); }},
        {"top-down height -65536", [](auto& b) { PutAt(b, 22, int32_t{-65536}); }},
        {"one more row than the file", [](auto& b) { PutAt(b, 22, int32_t{4}); }},
        {"huge width and height",
         [](auto& b) {
             PutAt(b, 18, int32_t{INT32_MAX});
             PutAt(b, 22, int32_t{INT32_MAX});
         }},
        {"depth 0", [](auto& b) { PutAt(b, 28, uint16_t{0}); }},
        {"depth 2", [](auto& b) { PutAt(b, 28, uint16_t{2}); }},
        {"depth 0xFFFF", [](auto& b) { PutAt(b, 28, uint16_t{0xFFFF}); }},
        {"colour count 0xFFFFFFFF", [](auto& b) { PutAt(b, 46, uint32_t{0xFFFFFFFF}); }},
        {"colour count one past the file",
         [](auto& b) { PutAt(b, 46, static_cast<uint32_t>((b.size() - 54) / 4 + 1)); }},
        {"last pixel byte missing", [](auto& b) { b.pop_back(); }},
    };
    for (const auto& c : cases) {
        auto bytes = SmallBmp(5, 3);
        c.breakIt(bytes);
        Picture p;
        std::string reason;
        EXPECT_FALSE(graphics::ParseBmpFile(bytes, p, reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
        EXPECT_TRUE(p.bits.empty()) << c.name;
    }
}

TEST(BmpParseTest, BitFieldMasksThatRunPastTheFileFail) {
    auto bytes = SmallBmp(1, 1, 32, 0, 3);
    bytes.resize(14 + 40 + 8);
    Picture p;
    std::string reason;
    EXPECT_FALSE(graphics::ParseBmpFile(bytes, p, reason));
    EXPECT_NE(reason.find("masks"), std::string::npos);
}

TEST(BmpParseTest, MissingFileFailsByPath) {
    Picture p;
    std::string reason;
    EXPECT_FALSE(graphics::ReadBmpFile("/nonexistent/all.bmp", p, reason));
    EXPECT_NE(reason.find("all.bmp"), std::string::npos);
}

}  // namespace
