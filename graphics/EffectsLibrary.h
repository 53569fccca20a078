#pragma once
#include <cstdint>
#include <string>

namespace graphics {

// The optional image-processing library. It is looked for once, by the first window, as
// "libiplLib.so" and then "iplLib.so", first in the program's folder and then on the loader's path.
// No ordinary system has it, and nothing in the program depends on it: without it every operation
// below does nothing and every header is null, and pictures draw through the engine's own blender.
//
// A library that wants to be used must export the entry points named in kEntryPointNames (C linkage)
// with the signatures below, and build its image headers in the EffectsImage layout.

struct EffectsRegion {
    int channel = 0;  // channel of interest, 0 = all
    int x = 0, y = 0, width = 0, height = 0;
};

struct EffectsImage {
    int headerSize;
    int channels;
    int alphaChannel;
    int depth;            // bits per channel
    char colourModel[8];  // NUL-terminated
    char channelSequence[8];
    int dataOrder;  // 0 = pixel-interleaved
    int origin;     // 0 = top-left, 1 = bottom-left
    int align;      // row alignment in bytes
    int width;
    int height;
    EffectsRegion* region;    // region of interest, or null
    EffectsImage* maskImage;  // mask region, or null
    void* imageId;
    void* tileInfo;
    int imageSize;
    uint8_t* imageData;
    int rowBytes;
    uint8_t* imageDataOrigin;
};

class EffectsLibrary {
  public:
    // Geometry of a picture handed to the library: the stored height's sign gives the row order
    // (positive = bottom-up), as in the pictures themselves.
    struct PictureInfo {
        int width = 0;
        int height = 0;
        int bitsPerPixel = 0;
    };
    struct Area {
        int x = 0, y = 0, width = 0, height = 0;
    };

    static constexpr int kEntryPointCount = 11;
    static const char* const kEntryPointNames[kEntryPointCount];

    // Looks for the library once per process; later calls return the first answer. Thread-safe.
    static bool Load();
    // Tests: loads the library from this path instead, if none was loaded yet.
    static bool LoadFrom(const std::string& path);
    static bool IsLoaded();

    // An image header over `pixels` (which stay the caller's). Null without the library.
    static EffectsImage* CreatePictureHeader(const PictureInfo& info, uint8_t* pixels);
    // The same, plus a one-channel mask image holding 1 where a pixel's first three bytes differ from
    // `key` and 0 where they equal it, attached as the header's mask region.
    static EffectsImage* CreateBitmapHeader(const PictureInfo& info, uint8_t* pixels, uint32_t key);
    // Frees the header (and its mask) and sets it to null. Nothing for null.
    static void ReleaseHeader(EffectsImage*& header);
    // Draws `source` of the bitmap into `destination` of the picture: a copy through the mask, or an
    // alpha composite for a transparency above 11. The program itself never draws this way.
    static void DrawThroughLibrary(EffectsImage* picture, EffectsImage* bitmap, const Area& destination,
                                   const Area& source, uint32_t transparency);
};

}  // namespace graphics
