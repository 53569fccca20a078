#pragma once
#include <memory>
#include <vector>

#include "platform/SdlPresenter.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

// Presents through an SDL renderer: a streaming texture of the client size keeps the picture; each
// dirty rectangle is written into it, then the whole texture is drawn and the frame swapped (a
// renderer's back buffer is not kept between frames). Main thread only.
class SdlRendererPresenter final : public SdlPresenter {
  public:
    // Null when no renderer or texture can be made for the window.
    static std::unique_ptr<SdlRendererPresenter> Create(SDL_Window* window, int32_t width, int32_t height);
    ~SdlRendererPresenter() override;

    void Fill(uint32_t colour) override;
    void Present(const PictureView& picture, const std::vector<Rect>& rects) override;
    void SetBorder(uint32_t colour) override { border_ = colour; }

  private:
    uint32_t border_ = 0;
    SdlRendererPresenter() = default;

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t detail_ = 1;  // texture pixels per logical pixel, as the last picture had
    // A texture of the picture's pixels when its detail differs from the texture's; false when none
    // can be made (the old one is kept).
    bool MatchDetail(int32_t detail);
};

}  // namespace platform
