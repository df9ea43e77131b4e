// The host connection's descriptor comes from SDL's window-manager info; the
// X11 headers it pulls in stay in this file.
#include "platform/sdl/sdl_host_events.h"

#include <SDL_syswm.h>
#include <poll.h>

namespace qv::platform {
namespace {

// Events the display library has already read stay in its own queue, where
// a poll of the connection cannot see them; they wait at most this long.
constexpr uint64_t kPumpPeriodMs = 8;

}  // namespace

void HostEventWait::Attach(SDL_Window* window) {
    fd_ = -1;
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_X11) {
        fd_ = ConnectionNumber(info.info.x11.display);
    }
#else
    (void)window;
#endif
}

bool HostEventWait::Wait(uint32_t ms) {
    if (fd_ < 0) {
        return SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) != 0;
    }
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE) {
        return true;
    }
    pollfd host{fd_, POLLIN, 0};
    bool readable = ::poll(&host, 1, static_cast<int>(ms)) > 0;
    return readable || SDL_GetTicks64() - lastPump_ >= kPumpPeriodMs;
}

}  // namespace qv::platform
