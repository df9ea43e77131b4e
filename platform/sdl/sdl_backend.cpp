// The window backend: an SDL window scaled by an integer factor, presents
// paced to about 60 Hz, the mouse as the stylus and a fixed key map.
#include <SDL.h>

#include <cstdio>
#include <ctime>

#include "platform/backend.h"
#include "platform/config.h"
#include "platform/internal.h"
#include "platform/keys.h"
#include "platform/pixels.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_window.h"
#include "platform/system.h"

namespace qv::platform {
namespace {

constexpr Uint64 kFramePeriodMs = 16;
constexpr int kPixels = kScreenWidth * kScreenHeight;

int VirtualKeyFor(SDL_Keycode key) {
    switch (key) {
    case SDLK_UP: return kVkUp;
    case SDLK_DOWN: return kVkDown;
    case SDLK_LEFT: return kVkLeft;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kVkStart;
    case SDLK_a:
    case SDLK_z: return kVkA;
    case SDLK_b:
    case SDLK_x: return kVkB;
    case SDLK_c: return kVkC;
    case SDLK_d: return kVkOther;
    default: return 0;
    }
}

int Clamp(int value, int high) { return value < 0 ? 0 : value > high ? high : value; }

LParam StylusAt(int x, int y) { return MakeLParam(Clamp(x, kScreenWidth - 1), Clamp(y, kScreenHeight - 1)); }

// With the mouse captured SDL reports a release outside the window (or on
// the black border around the picture) at a point off the screen: the game
// gets it as a release where no screen has a target.
LParam ReleaseAt(int x, int y) {
    bool inside = x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight;
    return inside ? MakeLParam(x, y) : MakeLParam(kStylusOutside, kStylusOutside);
}

class SdlBackend final : public Backend {
public:
    SdlBackend() : start_(SDL_GetTicks64()) {}
    ~SdlBackend() override { Shutdown(); }

    bool OpenDisplay() override { return window_.Open(ChooseScale(), GetConfig().pixelFormat); }

    void CloseDisplay() override { window_.Close(); }

    void Present(const uint16_t* frame, uint32_t format) override {
        // Only the rows that changed go to the host; an unchanged frame costs
        // one comparison.
        int first = 0;
        int last = kScreenHeight - 1;
        bool changed = lastFrame_.size() != static_cast<size_t>(kPixels) || format != lastFormat_ ||
                       ChangedRows(lastFrame_.data(), frame, kScreenWidth, kScreenHeight, &first, &last);
        if (changed) {
            lastFrame_.assign(frame, frame + kPixels);
        }
        lastFormat_ = format;
        if (!window_.IsOpen()) {
            return;
        }
        // Steady pacing, changed or not: one-step-per-frame animations then
        // run evenly, with or without vsync.
        Uint64 now = SDL_GetTicks64();
        if (now - lastPresent_ < kFramePeriodMs) {
            SDL_Delay(static_cast<Uint32>(kFramePeriodMs - (now - lastPresent_)));
        }
        lastPresent_ = SDL_GetTicks64();
        if (changed) {
            window_.Show(lastFrame_.data(), first, last, format);
        }
        Pump();
    }

    bool CaptureLastFrame(const std::string& hostPath) override {
        if (lastFrame_.empty()) {
            return false;
        }
        std::vector<uint8_t> rgb = FrameToRgb(lastFrame_.data(), kPixels, lastFormat_);
        return WritePng(hostPath, kScreenWidth, kScreenHeight, rgb.data());
    }

    // A turn of a polling loop waits on the host connection instead of spinning.
    void PumpEvents() override { WaitForEvents(1); }

    void WaitForEvents(uint32_t ms) override {
        if (window_.WaitForHost(ms)) {
            Pump();
        }
    }

    uint32_t Ticks() override { return static_cast<uint32_t>(Now()); }
    // SDL's clock starts again from 0 after SDL_Quit: the trace lines written
    // while the process ends (its exit code) keep the time of the shutdown.
    uint64_t Now() const override { return shutDown_ ? endedAt_ : SDL_GetTicks64() - start_; }
    void Sleep(uint32_t ms) override { SDL_Delay(ms); }
    int64_t DefaultTime() const override { return static_cast<int64_t>(std::time(nullptr)); }

    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
        bool okCancel = (flags & 0xF) == MB_OKCANCEL;
        SDL_MessageBoxButtonData buttons[2] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
        };
        if (!okCancel) {
            buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        SDL_MessageBoxData data{};
        data.flags = (flags & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        data.window = window_.Window();
        data.title = caption.c_str();
        data.message = text.c_str();
        data.numbuttons = okCancel ? 2 : 1;
        data.buttons = buttons;
        int pressed = -1;
        if (SDL_ShowMessageBox(&data, &pressed) != 0) {
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
            return IDOK;
        }
        if (pressed == IDOK || pressed == IDCANCEL) {
            return pressed;
        }
        return okCancel ? IDCANCEL : IDOK;
    }

    void Raise() override {
        if (SDL_Window* window = window_.Window()) {
            SDL_RestoreWindow(window);
            SDL_RaiseWindow(window);
        }
    }

    bool OpenAudio(int rate, int channels, int bits) override { return audio_.OpenStream(rate, channels, bits); }
    void CloseAudio() override { audio_.CloseStream(); }
    uint32_t AudioBytesWanted() override { return audio_.BytesWanted(); }
    void QueueAudio(const void* data, uint32_t bytes) override { audio_.Queue(data, bytes); }
    bool PlayWave(const std::string& hostPath) override { return audio_.PlayWave(hostPath); }

    void Shutdown() override {
        if (shutDown_) {
            return;
        }
        endedAt_ = Now();
        shutDown_ = true;
        audio_.Close();
        CloseDisplay();
        SDL_Quit();
    }

private:
    int ChooseScale() const {
        int scale = GetConfig().scale;
        if (scale > 0) {
            return scale;
        }
        SDL_Rect usable{};
        scale = 1;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
            // Leave room for the window's title bar.
            int byWidth = usable.w / kScreenWidth;
            int byHeight = (usable.h - 40) / kScreenHeight;
            scale = byWidth < byHeight ? byWidth : byHeight;
        }
        return scale < 1 ? 1 : scale;
    }

    // One request to the host, then everything SDL has queued.
    void Pump() {
        SDL_PumpEvents();
        window_.NotePumped();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            Handle(event);
        }
    }

    void Handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_QUIT:
            PostInput(WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                PostInput(WM_ACTIVATE, 1, 0);
                PostInput(WM_SETFOCUS, 0, 0);
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                PostInput(WM_ACTIVATE, 0, 0);
                PostInput(WM_KILLFOCUS, 0, 0);
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                InvalidateWindow();
                window_.Refresh();
            } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                window_.Refresh();
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                stylusDown_ = true;
                SDL_CaptureMouse(SDL_TRUE);
                PostInput(WM_LBUTTONDOWN, 1, StylusAt(event.button.x, event.button.y));
            }
            break;
        case SDL_MOUSEMOTION:
            if (stylusDown_) {
                PostInput(WM_MOUSEMOVE, 1, StylusAt(event.motion.x, event.motion.y));
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && stylusDown_) {
                stylusDown_ = false;
                SDL_CaptureMouse(SDL_FALSE);
                PostInput(WM_LBUTTONUP, 0, ReleaseAt(event.button.x, event.button.y));
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = VirtualKeyFor(event.key.keysym.sym);
            if (vk != 0) {
                // Held keys repeat as further WM_KEYDOWN, as the handheld's do.
                PostInput(event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, static_cast<WParam>(vk), 1);
            }
            break;
        }
        default:
            break;
        }
    }

    Uint64 start_;
    Uint64 lastPresent_ = 0;
    SdlWindow window_;
    std::vector<uint16_t> lastFrame_;
    uint32_t lastFormat_ = 0;
    bool stylusDown_ = false;
    bool shutDown_ = false;
    uint64_t endedAt_ = 0;
    SdlAudio audio_;
};

}  // namespace

Backend* CreateSdlBackend() {
    // Ctrl-C and kill end the program at once, as for any terminal program;
    // SDL's handlers would only queue a close that modal waits never read.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The click that gives the window the focus is a tap like any other
    // (press and release), not only a change of focus.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "Quorvane: cannot start SDL (%s); QUORVANE_BACKEND=headless runs without a window\n",
                     SDL_GetError());
        return nullptr;
    }
    return new SdlBackend();
}

}  // namespace qv::platform
