// The window: SDL converts the 16-bit rows it is given, the renderer scales
// the texture by a whole factor; waits poll the X11 connection (the X11
// headers that SDL's window-manager info pulls in stay in this file).
#include "platform/sdl/sdl_window.h"

#include <SDL_syswm.h>
#include <poll.h>

#include <cstdio>

#include "platform/backend.h"
#include "platform/pixels.h"

namespace qv::platform {
namespace {

// SDL's names for the three layouts: the same bits, so no conversion of ours.
uint32_t SdlFormatFor(uint32_t format) {
    switch (LayoutForFormat(format)) {
    case PixelLayout::k555: return SDL_PIXELFORMAT_XRGB1555;
    case PixelLayout::k444: return SDL_PIXELFORMAT_XRGB4444;
    case PixelLayout::k565: break;
    }
    return SDL_PIXELFORMAT_RGB565;
}

// Events the display library has already read stay in its own queue, where
// a poll of the connection cannot see them; they wait at most this long.
constexpr uint64_t kPumpPeriodMs = 8;

int X11Connection(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        return ConnectionNumber(info.info.x11.display);
    }
#else
    (void)window;
#endif
    return -1;
}

}  // namespace

bool SdlWindow::Open(int scale, uint32_t format) {
    if (window_ != nullptr) {
        return true;
    }
    window_ = SDL_CreateWindow("Quorvane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * scale,
                               kScreenHeight * scale, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (window_ == nullptr) {
        std::fprintf(stderr, "Quorvane: cannot open the window (%s)\n", SDL_GetError());
        return false;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer_ != nullptr) {
        // Logical size: SDL scales the picture and maps mouse positions back.
        SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
        SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
        MakeTexture(format);
    }
    if (texture_ == nullptr) {
        std::fprintf(stderr, "Quorvane: cannot draw in the window (%s)\n", SDL_GetError());
        Close();
        return false;
    }
    hostFd_ = X11Connection(window_);
    return true;
}

void SdlWindow::Close() {
    hostFd_ = -1;
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    sdlFormat_ = 0;
}

bool SdlWindow::MakeTexture(uint32_t format) {
    uint32_t wanted = SdlFormatFor(format);
    if (texture_ != nullptr && wanted == sdlFormat_) {
        return true;
    }
    SDL_Texture* texture =
        SDL_CreateTexture(renderer_, wanted, SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
    if (texture == nullptr) {
        return false;
    }
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
    }
    texture_ = texture;
    sdlFormat_ = wanted;
    return true;
}

void SdlWindow::Show(const uint16_t* frame, int first, int last, uint32_t format) {
    if (texture_ == nullptr) {
        return;
    }
    if (SdlFormatFor(format) != sdlFormat_) {
        // A texture of another format holds nothing of this frame yet.
        if (!MakeTexture(format)) {
            return;
        }
        first = 0;
        last = kScreenHeight - 1;
    }
    if (first < 0) first = 0;
    if (last > kScreenHeight - 1) last = kScreenHeight - 1;
    if (first > last) {
        return;
    }
    SDL_Rect rows{0, first, kScreenWidth, last - first + 1};
    SDL_UpdateTexture(texture_, &rows, frame + first * kScreenWidth, kScreenWidth * 2);
    Refresh();
}

void SdlWindow::Refresh() {
    if (texture_ == nullptr) {
        return;
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

bool SdlWindow::WaitForHost(uint32_t ms) {
    if (hostFd_ < 0) {
        return SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) != 0;
    }
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE) {
        return true;
    }
    pollfd host{hostFd_, POLLIN, 0};
    bool readable = ::poll(&host, 1, static_cast<int>(ms)) > 0;
    return readable || SDL_GetTicks64() - lastPump_ >= kPumpPeriodMs;
}

}  // namespace qv::platform
