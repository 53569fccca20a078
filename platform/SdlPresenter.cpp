#include "platform/SdlPresenter.h"

#include <cstdlib>
#include <cstring>

#include "platform/SdlRendererPresenter.h"
#include "platform/SdlSurfacePresenter.h"

namespace platform {

PresentMode PresentModeFromEnvironment() {
    const char* value = std::getenv("MARSHWADE_PRESENT");
    return value && std::strcmp(value, "renderer") == 0 ? PresentMode::Renderer : PresentMode::Surface;
}

const char* PresentModeName(PresentMode mode) {
    return mode == PresentMode::Renderer ? "renderer" : "surface";
}

std::unique_ptr<SdlPresenter> SdlPresenter::Create(PresentMode mode, SDL_Window* window, int32_t width,
                                                   int32_t height) {
    if (mode == PresentMode::Renderer) return SdlRendererPresenter::Create(window, width, height);
    return SdlSurfacePresenter::Create(window, width, height);
}

}  // namespace platform
