#include "platform/SdlRendererPresenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/DisplayScale.h"

namespace platform {

std::unique_ptr<SdlRendererPresenter> SdlRendererPresenter::Create(SDL_Window* window, int32_t width,
                                                                   int32_t height) {
    std::unique_ptr<SdlRendererPresenter> p(new SdlRendererPresenter());
    p->width_ = std::max(width, 1);
    p->height_ = std::max(height, 1);
    p->renderer_ = SDL_CreateRenderer(window, -1, 0);
    if (!p->renderer_) p->renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!p->renderer_) return nullptr;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    p->texture_ = SDL_CreateTexture(p->renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                    p->width_, p->height_);
    if (!p->texture_) return nullptr;
    return p;
}

SdlRendererPresenter::~SdlRendererPresenter() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
}

void SdlRendererPresenter::Fill(uint32_t colour) {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
    for (int32_t y = 0; y < height_ * detail_; ++y) {
        auto* row = static_cast<uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * pitch;
        for (int32_t x = 0; x < width_ * detail_; ++x, row += 3) {
            row[0] = static_cast<uint8_t>(colour >> 16);
            row[1] = static_cast<uint8_t>(colour >> 8);
            row[2] = static_cast<uint8_t>(colour);
        }
    }
    SDL_UnlockTexture(texture_);
}

bool SdlRendererPresenter::MatchDetail(int32_t detail) {
    if (detail == detail_) return true;
    SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                             width_ * detail, height_ * detail);
    if (!texture) return false;
    SDL_DestroyTexture(texture_);
    texture_ = texture;
    detail_ = detail;
    return true;
}

void SdlRendererPresenter::Present(const PictureView& picture, const std::vector<Rect>& rects) {
    if (!picture.bits) return;
    // The rectangles are logical; the texture has the picture's own pixels, `d` each way for each.
    const int32_t d = std::max(picture.detail, 1);
    const bool fresh = d != detail_;
    if (!MatchDetail(d)) return;
    const Rect limit{0, 0, std::min(width_, picture.width / d), std::min(height_, picture.height / d)};
    const std::vector<Rect> whole{limit};
    for (const Rect& r : fresh ? whole : rects) {
        Rect logical;
        if (!IntersectRect(r, limit, logical)) continue;
        const Rect c = Finer(logical, d);
        // The rows go straight into the texture's buffer, turned top-down on the way.
        SDL_Rect area{c.left, c.top, c.right - c.left, c.bottom - c.top};
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture_, &area, &pixels, &pitch) != 0) continue;
        const size_t rowBytes = static_cast<size_t>(area.w) * 3;
        for (int32_t y = 0; y < area.h; ++y) {
            const uint8_t* src = picture.bits +
                                 static_cast<size_t>(picture.height - 1 - (c.top + y)) * picture.stride +
                                 static_cast<size_t>(c.left) * 3;
            std::memcpy(static_cast<uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * pitch, src, rowBytes);
        }
        SDL_UnlockTexture(texture_);
    }
    // Scaled by a whole number, nearest pixel, centred on the border colour.
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const Placement at = DetailPlacement(outW, outH, width_, height_, d);
    const SDL_Rect to{at.offsetX, at.offsetY, width_ * d * at.scale, height_ * d * at.scale};
    SDL_SetRenderDrawColor(renderer_, static_cast<Uint8>(border_), static_cast<Uint8>(border_ >> 8),
                           static_cast<Uint8>(border_ >> 16), 0xFF);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &to);
    SDL_RenderPresent(renderer_);
}

}  // namespace platform
