// The seam between the platform's shared services and the two backends
// (window and headless): only what behaves differently lives behind it.
#pragma once

#include <cstdint>
#include <string>

namespace qv::platform {

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;

class Backend {
public:
    virtual ~Backend() = default;

    // Display: a 240x320 upright frame of 16-bit pixels in the display's
    // format (kf* flags) is shown by Present.
    virtual bool OpenDisplay() = 0;
    virtual void CloseDisplay() = 0;
    virtual void Present(const uint16_t* frame, uint32_t format) = 0;
    // Writes the last presented frame as PNG; false when there is none.
    virtual bool CaptureLastFrame(const std::string& hostPath) = 0;

    // Called when a peek found nothing: gather input and let up to 1 ms pass
    // (window: waits that long for the host's next event; headless: the
    // virtual clock moves 1 ms).
    virtual void PumpEvents() = 0;
    // Waits until the host has an event for us or ms have passed, and
    // gathers what came (window); headless: returns at once, its clock moves
    // on pumps and tick queries.
    virtual void WaitForEvents(uint32_t ms) = 0;
    // A tick query (headless: advances the virtual clock a step).
    virtual uint32_t Ticks() = 0;
    // The current time in ms without side effects, for the trace.
    virtual uint64_t Now() const = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual int64_t DefaultTime() const = 0;

    // Shows a system message box and returns IDOK or IDCANCEL.
    virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
    // Another instance asked this one to come to the front.
    virtual void Raise() = 0;

    virtual bool OpenAudio(int rate, int channels, int bits) = 0;
    virtual void CloseAudio() = 0;
    virtual uint32_t AudioBytesWanted() = 0;
    virtual void QueueAudio(const void* data, uint32_t bytes) = 0;
    // Plays a wave file (already known to be readable) without waiting.
    virtual bool PlayWave(const std::string& hostPath) = 0;

    // The process is ending: trace summaries, release devices. May run twice.
    virtual void Shutdown() = 0;
};

// The backend chosen by Startup (started on first use when Startup was not called).
Backend& CurrentBackend();
// Whether a backend has been installed yet (the trace asks before it reads the clock).
bool HasBackend();

// Factories, one per backend; the SDL one returns nullptr (with a message on
// stderr) when SDL cannot start.
Backend* CreateSdlBackend();
Backend* CreateHeadlessBackend();

}  // namespace qv::platform
