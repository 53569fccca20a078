// A stand-in for the optional image-processing library: it implements just enough of the entry
// points to let the tests see what the program hands to a library that is present.
#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics/EffectsLibrary.h"
#include "tests/graphics/FakeEffectsLog.h"

using graphics::EffectsImage;

namespace {
FakeEffectsLog theLog;

uint8_t* PixelAddress(EffectsImage* image, int x, int y) {
    return image->imageData + static_cast<size_t>(y) * image->rowBytes +
           static_cast<size_t>(x) * image->channels;
}
}  // namespace

extern "C" {

FakeEffectsLog* FakeEffectsGetLog() {
    return &theLog;
}

EffectsImage* iplCreateImageHeader(int channels, int alphaChannel, int depth, const char* colourModel,
                                   const char* channelSequence, int dataOrder, int origin, int align,
                                   int width, int height, graphics::EffectsRegion*, EffectsImage* mask, void*,
                                   void*) {
    auto* image = new EffectsImage{};
    image->headerSize = sizeof(EffectsImage);
    image->channels = channels;
    image->alphaChannel = alphaChannel;
    image->depth = depth;
    std::snprintf(image->colourModel, sizeof image->colourModel, "%s", colourModel);
    std::snprintf(image->channelSequence, sizeof image->channelSequence, "%s", channelSequence);
    image->dataOrder = dataOrder;
    image->origin = origin;
    image->align = align;
    image->width = width;
    image->height = height;
    image->maskImage = mask;
    image->rowBytes = (width * channels * depth / 8 + align - 1) / align * align;
    theLog.headersCreated++;
    return image;
}

void iplAllocateImage(EffectsImage* image, int fill, int value) {
    image->imageSize = image->rowBytes * image->height;
    image->imageData = new uint8_t[static_cast<size_t>(image->imageSize)];
    image->imageDataOrigin = image->imageData;
    if (fill) std::memset(image->imageData, value, static_cast<size_t>(image->imageSize));
}

void iplDeallocate(EffectsImage* image, int parts) {
    theLog.deallocations.push_back(parts);
    if (parts == 3) delete[] image->imageData;
    delete image;
}

void iplGetPixel(EffectsImage* image, int x, int y, void* pixel) {
    std::memcpy(pixel, PixelAddress(image, x, y), static_cast<size_t>(image->channels));
}

void iplPutPixel(EffectsImage* image, int x, int y, void* pixel) {
    std::memcpy(PixelAddress(image, x, y), pixel, static_cast<size_t>(image->channels));
}

void iplCopy(EffectsImage* source, EffectsImage* destination) {
    theLog.copies++;
    theLog.sourceRegion = *source->region;
    theLog.maskRegion = *source->maskImage->region;
    theLog.destinationRegion = *destination->region;
}

void iplAlphaCompositeC(EffectsImage*, EffectsImage*, EffectsImage*, int type, int alphaA, int alphaB,
                        int premultiplied, int divideMask) {
    theLog.composites++;
    theLog.compositeArguments = {type, alphaA, alphaB, premultiplied, divideMask};
}

}  // extern "C"
