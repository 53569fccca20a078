#include "graphics/EffectsLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ProgramPath.h"

namespace graphics {

const char* const EffectsLibrary::kEntryPointNames[kEntryPointCount] = {
    "iplBlur",           "iplAlphaCompositeC",   "iplAlphaComposite", "iplRotate",
    "iplGetRotateShift", "iplCreateImageHeader", "iplCopy",           "iplPutPixel",
    "iplGetPixel",       "iplAllocateImage",     "iplDeallocate"};

namespace {

using CreateImageHeaderFn = EffectsImage* (*)(int channels, int alphaChannel, int depth,
                                              const char* colourModel, const char* channelSequence,
                                              int dataOrder, int origin, int align, int width, int height,
                                              EffectsRegion* region, EffectsImage* mask, void* imageId,
                                              void* tileInfo);
using AllocateImageFn = void (*)(EffectsImage* image, int fill, int value);
using DeallocateFn = void (*)(EffectsImage* image, int parts);
using PixelFn = void (*)(EffectsImage* image, int x, int y, void* pixel);
using CopyFn = void (*)(EffectsImage* source, EffectsImage* destination);
using AlphaCompositeCFn = void (*)(EffectsImage* a, EffectsImage* b, EffectsImage* destination, int type,
                                   int alphaA, int alphaB, int premultiplied, int divideMask);

enum EntryPoint {
    kBlur,
    kAlphaCompositeC,
    kAlphaComposite,
    kRotate,
    kGetRotateShift,
    kCreateImageHeader,
    kCopy,
    kPutPixel,
    kGetPixel,
    kAllocateImage,
    kDeallocate
};

constexpr int kDataOrderPixel = 0;
constexpr int kOriginTopLeft = 0;
constexpr int kOriginBottomLeft = 1;
constexpr int kAlign = 4;
constexpr int kDeallocateAll = 3;
constexpr int kDeallocateHeader = 1;
// Transparencies up to this draw as a plain masked copy; above it the library composites.
constexpr uint32_t kOpaqueEnough = 11;

struct Library {
    std::once_flag once;
    void* handle = nullptr;
    void* entries[EffectsLibrary::kEntryPointCount] = {};

    template <typename Fn>
    Fn Get(EntryPoint e) const {
        return handle ? reinterpret_cast<Fn>(entries[e]) : nullptr;
    }

    void Open(const std::string& path) {
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        for (int i = 0; i < EffectsLibrary::kEntryPointCount; ++i)
            entries[i] = dlsym(handle, EffectsLibrary::kEntryPointNames[i]);
    }
};

Library& TheLibrary() {
    static Library library;
    return library;
}

int Origin(const EffectsLibrary::PictureInfo& info) {
    return info.height > 0 ? kOriginBottomLeft : kOriginTopLeft;
}
int Rows(const EffectsLibrary::PictureInfo& info) {
    return info.height < 0 ? -info.height : info.height;
}

void SetRegion(EffectsImage* image, EffectsRegion* region) {
    if (image) image->region = region;
}

}  // namespace

bool EffectsLibrary::Load() {
    Library& lib = TheLibrary();
    std::call_once(lib.once, [&lib] {
        const std::string beside = platform::ProgramDirectory();
        for (const char* name : {"libiplLib.so", "iplLib.so"}) {
            if (!lib.handle) lib.Open(beside + name);
        }
        for (const char* name : {"libiplLib.so", "iplLib.so"}) {
            if (!lib.handle) lib.Open(name);
        }
    });
    return lib.handle != nullptr;
}

bool EffectsLibrary::LoadFrom(const std::string& path) {
    Library& lib = TheLibrary();
    std::call_once(lib.once, [&lib, &path] { lib.Open(path); });
    return lib.handle != nullptr;
}

bool EffectsLibrary::IsLoaded() {
    return TheLibrary().handle != nullptr;
}

EffectsImage* EffectsLibrary::CreatePictureHeader(const PictureInfo& info, uint8_t* pixels) {
    auto create = TheLibrary().Get<CreateImageHeaderFn>(kCreateImageHeader);
    if (!create) return nullptr;
    bool oneBit = info.bitsPerPixel == 1;
    EffectsImage* header =
        create(oneBit ? 1 : info.bitsPerPixel / 8, 0, oneBit ? 1 : 8, "RGB", "BGR", kDataOrderPixel,
               Origin(info), kAlign, info.width, Rows(info), nullptr, nullptr, nullptr, nullptr);
    if (header) {
        header->imageData = pixels;
        header->imageDataOrigin = pixels;
    }
    return header;
}

EffectsImage* EffectsLibrary::CreateBitmapHeader(const PictureInfo& info, uint8_t* pixels, uint32_t key) {
    const Library& lib = TheLibrary();
    EffectsImage* header = CreatePictureHeader(info, pixels);
    auto create = lib.Get<CreateImageHeaderFn>(kCreateImageHeader);
    auto allocate = lib.Get<AllocateImageFn>(kAllocateImage);
    auto getPixel = lib.Get<PixelFn>(kGetPixel);
    auto putPixel = lib.Get<PixelFn>(kPutPixel);
    if (!header || !pixels || !create || !allocate || !getPixel || !putPixel) return header;
    EffectsImage* mask = create(1, 0, 8, "GRAY", "GRAY", kDataOrderPixel, Origin(info), kAlign, info.width,
                                Rows(info), nullptr, nullptr, nullptr, nullptr);
    if (!mask) return header;
    allocate(mask, 1, 0);
    for (int y = 0; y < Rows(info); ++y) {
        for (int x = 0; x < info.width; ++x) {
            uint8_t pixel[4] = {};
            getPixel(header, x, y, pixel);
            uint32_t value = pixel[0] | (pixel[1] << 8) | (uint32_t{pixel[2]} << 16);
            uint8_t opaque = value != (key & 0xFFFFFFu) ? 1 : 0;
            putPixel(mask, x, y, &opaque);
        }
    }
    header->maskImage = mask;
    return header;
}

void EffectsLibrary::ReleaseHeader(EffectsImage*& header) {
    auto deallocate = TheLibrary().Get<DeallocateFn>(kDeallocate);
    if (!header) return;
    if (deallocate) {
        if (header->maskImage) deallocate(header->maskImage, kDeallocateAll);
        deallocate(header, kDeallocateHeader);
    }
    header = nullptr;
}

void EffectsLibrary::DrawThroughLibrary(EffectsImage* picture, EffectsImage* bitmap, const Area& destination,
                                        const Area& source, uint32_t transparency) {
    const Library& lib = TheLibrary();
    auto copy = lib.Get<CopyFn>(kCopy);
    auto composite = lib.Get<AlphaCompositeCFn>(kAlphaCompositeC);
    if (!picture || !bitmap || !copy || !composite) return;
    EffectsRegion from{0, source.x, source.y, source.width, source.height};
    EffectsRegion fromMask = from;
    EffectsRegion to{0, destination.x, destination.y, destination.width, destination.height};
    SetRegion(bitmap, &from);
    SetRegion(bitmap->maskImage, &fromMask);
    SetRegion(picture, &to);
    if (transparency > kOpaqueEnough) {
        int alpha = 255 - static_cast<int>(transparency > 255 ? 255 : transparency);
        composite(bitmap, picture, picture, 0, alpha, 255, 1, 0);
    } else {
        copy(bitmap, picture);
    }
    SetRegion(bitmap, nullptr);
    SetRegion(bitmap->maskImage, nullptr);
    SetRegion(picture, nullptr);
}

}  // namespace graphics
