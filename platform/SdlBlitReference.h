#pragma once
#include <cstdint>

struct SDL_Surface;

namespace platform {

// SDL's own blits of one 24-bit sprite onto a 24-bit picture, as the yardstick the blender's
// benchmark measures itself against: a colour-keyed blit with RLE acceleration, and the same with
// surface alpha modulation (blend mode on). Not used by the game.
class SdlBlitReference {
  public:
    // `bits` holds top-down rows of blue-green-red pixels; `key` is blue + green*256 + red*65536.
    SdlBlitReference(const uint8_t* bits, int width, int height, int stride, uint32_t key, int destWidth,
                     int destHeight, uint8_t alpha);
    ~SdlBlitReference();
    SdlBlitReference(const SdlBlitReference&) = delete;
    SdlBlitReference& operator=(const SdlBlitReference&) = delete;

    bool Ok() const { return keyed_ && alpha_ && dest_; }
    void BlitKeyed(int x, int y);
    void BlitKeyedAlpha(int x, int y);
    // The picture, top-down rows of blue-green-red.
    const uint8_t* DestPixels() const;
    int DestPitch() const;
    void ClearDest(uint8_t value);

  private:
    SDL_Surface* keyed_ = nullptr;
    SDL_Surface* alpha_ = nullptr;
    SDL_Surface* dest_ = nullptr;
};

}  // namespace platform
