// Waiting for the window system's next event without spinning and without
// asking SDL to pump the host on every turn of a polling loop.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace qv::platform {

class HostEventWait {
public:
    // Finds the window system's connection (X11); without one, every wait
    // goes through SDL_WaitEventTimeout.
    void Attach(SDL_Window* window);
    void Detach() { fd_ = -1; }
    // Waits until SDL has an event queued, the host connection has data or
    // ms have passed; true when SDL should be asked to pump now.
    bool Wait(uint32_t ms);
    // SDL has just pumped (a present talks to the host and may read events).
    void NotePumped() { lastPump_ = SDL_GetTicks64(); }

private:
    int fd_ = -1;
    uint64_t lastPump_ = 0;
};

}  // namespace qv::platform
