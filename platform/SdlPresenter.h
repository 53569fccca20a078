#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/NativeWindow.h"

struct SDL_Window;

namespace platform {

// The two ways an SDL window can show the engine's picture.
//  Surface: SDL's software framebuffer of the window; each dirty rectangle is copied into it once and
//    only those rectangles are sent to the display. No graphics driver is loaded, which keeps the
//    program small and quick to start. The default.
//  Renderer: an SDL renderer (usually OpenGL) and a streaming texture; the whole texture is drawn and
//    the frame swapped on every present. For desktops where the framebuffer is slow.
enum class PresentMode { Surface, Renderer };

// The mode the environment asks for: MARSHWADE_PRESENT=renderer chooses the renderer, anything else
// (or nothing) the window surface.
PresentMode PresentModeFromEnvironment();
const char* PresentModeName(PresentMode mode);

// How one native window presents; made and used on the main thread, like the window.
class SdlPresenter {
  public:
    virtual ~SdlPresenter() = default;
    // Null when the window cannot be presented to this way.
    static std::unique_ptr<SdlPresenter> Create(PresentMode mode, SDL_Window* window, int32_t width,
                                                int32_t height);

    // The whole client area in one colour (0x00BBGGRR), shown until the first present.
    virtual void Fill(uint32_t colour) = 0;
    // The colour round the picture when the window is larger than the scaled picture (fullscreen).
    virtual void SetBorder(uint32_t colour) = 0;
    // Copies the rectangles of the picture to their places in the window, scaled to fit it by a whole
    // number and centred, and shows them.
    virtual void Present(const PictureView& picture, const std::vector<Rect>& rects) = 0;
    // The display lost the window's contents: what was last shown is shown again, border too. A
    // presenter that draws the whole window at every present has nothing to do.
    virtual void Exposed() {}
};

}  // namespace platform
