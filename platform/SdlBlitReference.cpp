#include "platform/SdlBlitReference.h"

#include <SDL.h>

#include <cstring>

namespace platform {

namespace {
SDL_Surface* MakeSprite(const uint8_t* bits, int width, int height, int stride, uint32_t key) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
    if (!s) return nullptr;
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch,
                    bits + static_cast<size_t>(y) * stride, static_cast<size_t>(width) * 3);
    }
    const Uint32 mapped = SDL_MapRGB(s->format, static_cast<Uint8>(key >> 16), static_cast<Uint8>(key >> 8),
                                     static_cast<Uint8>(key));
    SDL_SetColorKey(s, SDL_TRUE, mapped);
    SDL_SetSurfaceRLE(s, 1);
    return s;
}
}  // namespace

SdlBlitReference::SdlBlitReference(const uint8_t* bits, int width, int height, int stride, uint32_t key,
                                   int destWidth, int destHeight, uint8_t alpha) {
    keyed_ = MakeSprite(bits, width, height, stride, key);
    alpha_ = MakeSprite(bits, width, height, stride, key);
    if (alpha_) {
        SDL_SetSurfaceAlphaMod(alpha_, alpha);
        SDL_SetSurfaceBlendMode(alpha_, SDL_BLENDMODE_BLEND);
    }
    dest_ = SDL_CreateRGBSurfaceWithFormat(0, destWidth, destHeight, 24, SDL_PIXELFORMAT_BGR24);
}

SdlBlitReference::~SdlBlitReference() {
    SDL_FreeSurface(keyed_);
    SDL_FreeSurface(alpha_);
    SDL_FreeSurface(dest_);
}

void SdlBlitReference::BlitKeyed(int x, int y) {
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(keyed_, nullptr, dest_, &at);
}

void SdlBlitReference::BlitKeyedAlpha(int x, int y) {
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(alpha_, nullptr, dest_, &at);
}

const uint8_t* SdlBlitReference::DestPixels() const {
    return static_cast<const uint8_t*>(dest_->pixels);
}
int SdlBlitReference::DestPitch() const {
    return dest_->pitch;
}
void SdlBlitReference::ClearDest(uint8_t value) {
    std::memset(dest_->pixels, value, static_cast<size_t>(dest_->pitch) * dest_->h);
}

}  // namespace platform
