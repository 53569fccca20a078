#include "platform/SdlSurfacePresenter.h"

#include <SDL.h>

#include <algorithm>

#include "platform/DisplayScale.h"
#include "platform/SurfaceRows.h"

namespace platform {

namespace {
// Any framebuffer format SDL may give: bytes blue, green, red, x in memory are copied by our own
// loop; everything else is converted by SDL row by row.
bool IsBgrx(Uint32 format) {
    return format == SDL_PIXELFORMAT_XRGB8888 || format == SDL_PIXELFORMAT_ARGB8888;
}

void CopyRect(const PictureView& picture, const Rect& r, SDL_Surface* surface) {
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    if (IsBgrx(surface->format->format)) {
        CopyRectToBgrx(picture, r, pixels, surface->pitch, 0xFF);
        return;
    }
    const int bytes = surface->format->BytesPerPixel;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint8_t* from = picture.bits + static_cast<size_t>(picture.height - 1 - y) * picture.stride +
                              static_cast<size_t>(r.left) * 3;
        uint8_t* to =
            pixels + static_cast<ptrdiff_t>(y) * surface->pitch + static_cast<ptrdiff_t>(r.left) * bytes;
        SDL_ConvertPixels(r.right - r.left, 1, SDL_PIXELFORMAT_BGR24, from, picture.stride,
                          surface->format->format, to, surface->pitch);
    }
}
}  // namespace

std::unique_ptr<SdlSurfacePresenter> SdlSurfacePresenter::Create(SDL_Window* window, int32_t width,
                                                                 int32_t height) {
    // Without this SDL would put an OpenGL renderer behind the framebuffer, loading the very driver
    // this way of presenting exists to avoid. A user's own setting of the variable still wins.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!window || !SDL_GetWindowSurface(window)) return nullptr;
    return std::unique_ptr<SdlSurfacePresenter>(
        new SdlSurfacePresenter(window, std::max(width, 1), std::max(height, 1)));
}

SdlSurfacePresenter::SdlSurfacePresenter(SDL_Window* window, int32_t width, int32_t height)
    : window_(window), width_(width), height_(height) {}

SdlSurfacePresenter::~SdlSurfacePresenter() = default;

void SdlSurfacePresenter::Fill(uint32_t colour) {
    // The surface is asked for again each time: SDL makes a new one when the window's size changed.
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    SDL_FillRect(surface, nullptr,
                 SDL_MapRGB(surface->format, static_cast<Uint8>(colour), static_cast<Uint8>(colour >> 8),
                            static_cast<Uint8>(colour >> 16)));
}

// The X server keeps nothing of an unmapped or covered window, but the framebuffer still holds the
// last frame and the border round a fullscreen picture: all of it is sent again. A framebuffer that
// has changed since gets its border and the whole picture at the next present instead.
void SdlSurfacePresenter::Exposed() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface && surface == lastSurface_ && surface->w == lastWidth_ && surface->h == lastHeight_)
        SDL_UpdateWindowSurface(window_);
}

void SdlSurfacePresenter::Present(const PictureView& picture, const std::vector<Rect>& rects) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || !picture.bits) return;
    // The engine's picture may be larger than the window; the window shows its top-left part. The
    // rectangles are logical; a picture with more detail has `d` pixels each way for each of theirs.
    const int32_t d = std::max(picture.detail, 1);
    const int32_t width = std::min(width_, picture.width / d), height = std::min(height_, picture.height / d);
    const Placement at = DetailPlacement(surface->w, surface->h, width_, height_, d);
    const Rect whole{0, 0, width, height};
    // A new framebuffer (the window went fullscreen or came back): the border round the picture
    // gets its colour once, and the whole picture is copied, whatever the engine thought was dirty.
    const bool fresh = surface != lastSurface_ || surface->w != lastWidth_ || surface->h != lastHeight_;
    if (fresh) {
        lastSurface_ = surface;
        lastWidth_ = surface->w;
        lastHeight_ = surface->h;
        if (at.offsetX > 0 || at.offsetY > 0) Fill(border_);
    }
    std::vector<Rect> wholeOnly;
    if (fresh) wholeOnly.push_back(whole);
    const std::vector<Rect>& todo = fresh ? wholeOnly : rects;
    // The picture's part that fits in the framebuffer at this scale.
    const int32_t screenPixels = at.scale * d;
    const Rect limit{0, 0, std::min(width, (surface->w - at.offsetX) / screenPixels),
                     std::min(height, (surface->h - at.offsetY) / screenPixels)};
    areas_.clear();
    if (fresh) areas_.push_back({0, 0, surface->w, surface->h});
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    for (const Rect& r : todo) {
        Rect logical;
        if (!IntersectRect(r, limit, logical)) continue;
        const Rect c = Finer(logical, d);
        if (at.scale == 1 && at.offsetX == 0 && at.offsetY == 0)
            CopyRect(picture, c, surface);
        else if (IsBgrx(surface->format->format))
            ScaleRectToBgrx(picture, c, at, static_cast<uint8_t*>(surface->pixels), surface->pitch, 0xFF);
        else
            continue;  // the X server's framebuffers are 32-bit; a scaled copy of anything else is not made
        if (!fresh)
            areas_.push_back({at.offsetX + c.left * at.scale, at.offsetY + c.top * at.scale,
                              (c.right - c.left) * at.scale, (c.bottom - c.top) * at.scale});
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (!areas_.empty())
        SDL_UpdateWindowSurfaceRects(window_, areas_.data(), static_cast<int>(areas_.size()));
}

}  // namespace platform
