// Window messages, the message queue, timers and the window procedure.
#pragma once

#include "platform/types.h"

namespace qv::platform {

// Message numbers keep the handheld's values: the game relies on the ranges.
enum : uint32_t {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,   // window is going away
    WM_ACTIVATE = 0x0006,  // wParam: activation state (ignored by the game)
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_CLOSE = 0x0010,     // window closed by the user; default procedure destroys
    WM_QUIT = 0x0012,      // wParam: exit code; never dispatched
    WM_PAINT = 0x000F,
    WM_KEYDOWN = 0x0100,   // wParam: virtual key (low 16 bits)
    WM_KEYUP = 0x0101,     // wParam: virtual key (low 16 bits)
    WM_KEYLAST = 0x0108,   // last message of the key range
    WM_TIMER = 0x0113,     // wParam: timer id; lParam: TimerProc or 0
    WM_MOUSEMOVE = 0x0200,    // lParam: x low 16 bits, y high 16 bits
    WM_LBUTTONDOWN = 0x0201,  // lParam: x low 16 bits, y high 16 bits
    WM_LBUTTONUP = 0x0202,    // lParam: x low 16 bits, y high 16 bits
    WM_MOUSELAST = 0x0209,    // last message of the stylus range
    WM_SUSPEND_PRIVATE = 0x03FF,  // private message: suspend display and keys
    WM_USER = 0x0400,
};

using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;

struct Msg {
    WindowHandle window = nullptr;
    uint32_t message = WM_NULL;
    WParam wParam = 0;
    LParam lParam = 0;
    uint32_t time = 0;  // tick count when posted
};

using WindowProc = LResult (*)(WindowHandle, uint32_t message, WParam, LParam);
using TimerProc = void (*)(WindowHandle, uint32_t message, uintptr_t id, uint32_t time);

// A stylus release outside the screen (the mouse let go outside the
// window's picture) comes as WM_LBUTTONUP at (kStylusOutside,
// kStylusOutside), far beyond the bottom-right corner, where no screen has a
// target. Stylus downs and moves are clamped to the screen.
inline constexpr int kStylusOutside = 1000;

inline int16_t LowWord(LParam l) { return static_cast<int16_t>(l & 0xFFFF); }
inline int16_t HighWord(LParam l) { return static_cast<int16_t>((l >> 16) & 0xFFFF); }
inline LParam MakeLParam(int x, int y) {
    return static_cast<LParam>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

// Registers the one window class; returns non-zero on success.
uint16_t RegisterWindowClass(const WString& className, WindowProc proc);
// Finds a window with this class and title, in this process or in another
// running instance (same registry file). nullptr when none.
WindowHandle FindWindow(const WString& className, const WString& title);
// Creates the full-screen window of a registered class; nullptr on failure.
// The window procedure receives WM_CREATE before this returns.
WindowHandle CreateWindow(const WString& className, const WString& title);
void ShowWindow(WindowHandle window, int showCommand);
void UpdateWindow(WindowHandle window);
// For another instance's window: asks it to come to the front. Always harmless.
bool SetForegroundWindow(WindowHandle window);
WindowHandle GetForegroundWindow();
void SetFocus(WindowHandle window);
// Screen metrics: kSmCxScreen gives 240, kSmCyScreen 320 (as the display says).
enum : int { kSmCxScreen = 0, kSmCyScreen = 1 };
int GetSystemMetrics(int index);

// Takes the first queued message whose number lies in first..last (both 0:
// any message), leaving the others in order. Returns false when none waits.
// With remove false the message stays queued. An empty peek gives the
// backend a chance to gather input and fire due timers, and lets up to 1 ms
// pass: the window waits that long for the host's next event (so polling
// loops do not spin), the headless clock moves 1 ms. WM_TIMER and WM_PAINT
// are returned only when nothing else in range waits.
bool PeekMessage(Msg* msg, uint32_t first, uint32_t last, bool remove);
// A close during a modal wait. The waits read only the stylus range, so a
// WM_CLOSE or WM_QUIT would stay queued until the wait ends. With a handler
// set, every peek whose range leaves out both and finds nothing in range,
// and every present, look for them: a waiting WM_CLOSE is dispatched (the
// window procedure's road, which posts WM_QUIT), then a waiting WM_QUIT is
// taken and the handler runs with its code. The handler is meant to end the
// process; nullptr (the default) leaves both queued.
using QuitHandler = void (*)(int code);
void SetQuitHandler(QuitHandler handler);
// For loops that poll the tick without peeking: gives the processor away
// until the host has an event or ms have passed (window); headless: returns
// at once (its clock moves on tick queries).
void WaitForMessages(uint32_t ms);
// Appends a message for the window (nullptr or any handle: our window).
bool PostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
// Queues WM_QUIT with the code.
void PostQuitMessage(int code);
void TranslateMessage(const Msg& msg);
// WM_TIMER with a TimerProc in lParam calls that procedure; any other
// message goes to the window procedure. Returns the procedure's result.
LResult DispatchMessage(const Msg& msg);
// Default handling: WM_CLOSE destroys the window (WM_DESTROY is sent).
LResult DefWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
// Sends a message straight to the window procedure.
LResult SendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// Window-less periodic timer: every ms milliseconds a WM_TIMER (wParam id,
// lParam proc) is due; at most one is pending per timer. Returns id; setting
// an existing id restarts it.
uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t ms, TimerProc proc);
void KillTimer(WindowHandle window, uintptr_t id);

void BeginPaint(WindowHandle window);
void EndPaint(WindowHandle window);

}  // namespace qv::platform
