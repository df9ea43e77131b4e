// The window: its picture, a streaming texture in the display's own 16-bit
// format that SDL converts and the renderer scales, sent to the host only
// when the frame has changed; and waiting on the window system's connection
// without spinning and without asking SDL to pump on every turn.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace qv::platform {

class SdlWindow {
public:
    ~SdlWindow() { Close(); }

    // Creates the window (240x320 times scale), its renderer and a texture
    // for the format flags; false (with a message on stderr) when one fails.
    bool Open(int scale, uint32_t format);
    void Close();
    SDL_Window* Window() const { return window_; }
    bool IsOpen() const { return texture_ != nullptr; }

    // Uploads rows first..last of the upright frame (all of it when the
    // format changed) and shows the picture.
    void Show(const uint16_t* frame, int first, int last, uint32_t format);
    // Shows the texture again: the host lost the window's contents.
    void Refresh();

    // Waits until SDL has an event queued, the window system's connection
    // has data or ms have passed; true when SDL should pump now. Without a
    // known connection (not X11, or no window) SDL's own timed wait is used.
    bool WaitForHost(uint32_t ms);
    // SDL has just pumped.
    void NotePumped() { lastPump_ = SDL_GetTicks64(); }

private:
    bool MakeTexture(uint32_t format);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    uint32_t sdlFormat_ = 0;
    int hostFd_ = -1;
    uint64_t lastPump_ = 0;
};

}  // namespace qv::platform
