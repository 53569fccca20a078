#pragma once
#include <memory>
#include <vector>

#include "platform/SdlPresenter.h"

struct SDL_Rect;
struct SDL_Surface;

namespace platform {

// Presents through the window's own framebuffer (SDL_GetWindowSurface): every dirty rectangle is
// converted straight from the picture into the framebuffer, and only those rectangles are sent to
// the display (SDL_UpdateWindowSurfaceRects). The framebuffer keeps what it was given, so nothing
// else is redrawn. Main thread only.
class SdlSurfacePresenter final : public SdlPresenter {
  public:
    // Null when SDL cannot give the window a software framebuffer. The size is the window's in
    // logical pixels.
    static std::unique_ptr<SdlSurfacePresenter> Create(SDL_Window* window, int32_t width, int32_t height);
    ~SdlSurfacePresenter() override;

    void Fill(uint32_t colour) override;
    void Present(const PictureView& picture, const std::vector<Rect>& rects) override;
    void SetBorder(uint32_t colour) override { border_ = colour; }
    void Exposed() override;

  private:
    SdlSurfacePresenter(SDL_Window* window, int32_t width, int32_t height);

    SDL_Window* window_;
    int32_t width_;
    int32_t height_;
    uint32_t border_ = 0;
    std::vector<SDL_Rect> areas_;
    // The framebuffer last presented to; a different one needs its border and the whole picture.
    SDL_Surface* lastSurface_ = nullptr;
    int lastWidth_ = 0;
    int lastHeight_ = 0;  // kept between presents so a frame allocates nothing
};

}  // namespace platform
