#include "tests/support/GoldenPicture.h"

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "graphics/OffscreenPicture.h"

namespace golden {
namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface ToSurface(const OffscreenPicture& picture, int width, int height) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), &cairo_surface_destroy);
    cairo_surface_flush(s.get());
    unsigned char* data = cairo_image_surface_get_data(s.get());
    const int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = picture.Row(y);
        auto* dst = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x, src += 3)
            dst[x] = uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
    }
    cairo_surface_mark_dirty(s.get());
    return s;
}

std::filesystem::path ReferencePath(const std::string& name) {
    return std::filesystem::path(MARSHWADE_SOURCE_DIR) / "tests" / "golden" / (name + ".png");
}

std::filesystem::path OutputPath(const std::string& name) {
    return std::filesystem::path(MARSHWADE_BINARY_DIR) / "golden-out" / (name + ".png");
}

bool UpdateRequested() {
    const char* v = std::getenv("MARSHWADE_UPDATE_GOLDEN");
    return v && *v && std::string(v) != "0";
}

int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

}  // namespace

bool WritePng(const OffscreenPicture& picture, int width, int height, const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    Surface s = ToSurface(picture, width, height);
    return cairo_surface_write_to_png(s.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

::testing::AssertionResult Matches(const OffscreenPicture& picture, int width, int height,
                                   const std::string& name, int tolerance, double allowedShare) {
    const std::string reference = ReferencePath(name).string();
    if (UpdateRequested()) {
        if (!WritePng(picture, width, height, reference))
            return ::testing::AssertionFailure() << "could not write " << reference;
        return ::testing::AssertionSuccess() << "wrote " << reference;
    }
    const std::string out = OutputPath(name).string();
    WritePng(picture, width, height, out);
    Surface ref(cairo_image_surface_create_from_png(reference.c_str()), &cairo_surface_destroy);
    if (cairo_surface_status(ref.get()) != CAIRO_STATUS_SUCCESS)
        return ::testing::AssertionFailure()
               << "no reference " << reference << " (write it with MARSHWADE_UPDATE_GOLDEN=1)";
    if (cairo_image_surface_get_width(ref.get()) != width ||
        cairo_image_surface_get_height(ref.get()) != height)
        return ::testing::AssertionFailure() << reference << " is not " << width << "x" << height;
    Surface got = ToSurface(picture, width, height);
    const unsigned char* a = cairo_image_surface_get_data(ref.get());
    const unsigned char* b = cairo_image_surface_get_data(got.get());
    const int strideA = cairo_image_surface_get_stride(ref.get());
    const int strideB = cairo_image_surface_get_stride(got.get());
    long differing = 0;
    for (int y = 0; y < height; ++y) {
        auto* ra = reinterpret_cast<const uint32_t*>(a + static_cast<ptrdiff_t>(y) * strideA);
        auto* rb = reinterpret_cast<const uint32_t*>(b + static_cast<ptrdiff_t>(y) * strideB);
        for (int x = 0; x < width; ++x) {
            for (int shift : {0, 8, 16}) {
                if (std::abs(Channel(ra[x], shift) - Channel(rb[x], shift)) > tolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    const double share = static_cast<double>(differing) / (static_cast<double>(width) * height);
    if (share > allowedShare)
        return ::testing::AssertionFailure()
               << differing << " pixels differ from " << reference << "; drawn: " << out;
    return ::testing::AssertionSuccess();
}

}  // namespace golden
