// The one window: its class, creation, the window procedure, dispatch,
// focus and foreground, and the screen metrics.
#include <vector>

#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/messages.h"

namespace qv::platform {

struct Window {
    WString className;
    WString title;
    WindowProc proc = nullptr;
    bool exists = false;
    bool shown = false;
};

namespace {

struct WindowClass {
    WString name;
    WindowProc proc = nullptr;
};

std::vector<WindowClass> gClasses;
Window gMain;
// Stands for the window of another running instance.
Window gOtherInstance;

// The game may pass a handle with its lowest bit set (as the handheld's
// foreground call accepts); the bit is not part of the handle.
Window* Resolve(WindowHandle handle) {
    auto bits = reinterpret_cast<uintptr_t>(handle) & ~static_cast<uintptr_t>(1);
    return reinterpret_cast<Window*>(bits);
}

}  // namespace

WindowHandle MainWindowHandle() { return gMain.exists ? &gMain : nullptr; }

uint16_t RegisterWindowClass(const WString& className, WindowProc proc) {
    if (className.empty() || proc == nullptr) {
        return 0;
    }
    for (size_t i = 0; i < gClasses.size(); ++i) {
        if (gClasses[i].name == className) {
            return 0;  // already registered, as the handheld reports it
        }
    }
    gClasses.push_back(WindowClass{className, proc});
    return static_cast<uint16_t>(0xC000 + gClasses.size() - 1);
}

WindowHandle FindWindow(const WString& className, const WString& title) {
    if (gMain.exists && gMain.className == className && gMain.title == title) {
        return &gMain;
    }
    if (OtherInstanceRunning()) {
        return &gOtherInstance;
    }
    return nullptr;
}

WindowHandle CreateWindow(const WString& className, const WString& title) {
    if (gMain.exists) {
        return nullptr;  // the program has one window
    }
    for (const WindowClass& windowClass : gClasses) {
        if (windowClass.name != className) {
            continue;
        }
        gMain = Window{className, title, windowClass.proc, true, false};
        ClaimInstance();
        SendMessage(&gMain, WM_CREATE, 0, 0);
        InvalidateWindow();
        return &gMain;
    }
    return nullptr;
}

void ShowWindow(WindowHandle window, int) {
    Window* target = Resolve(window);
    if (target != &gMain || !gMain.exists || gMain.shown) {
        return;
    }
    gMain.shown = true;
    // Showing activates the window and gives it the focus at once.
    SendMessage(&gMain, WM_ACTIVATE, 1, 0);
    SendMessage(&gMain, WM_SETFOCUS, 0, 0);
    InvalidateWindow();
}

void UpdateWindow(WindowHandle window) {
    Msg msg;
    if (Resolve(window) == &gMain && gMain.exists && PeekMessage(&msg, WM_PAINT, WM_PAINT, true)) {
        SendMessage(&gMain, WM_PAINT, 0, 0);
    }
}

bool SetForegroundWindow(WindowHandle window) {
    Window* target = Resolve(window);
    if (target == &gOtherInstance) {
        RequestOtherInstanceForeground();
        return true;
    }
    return target == &gMain && gMain.exists;
}

WindowHandle GetForegroundWindow() { return MainWindowHandle(); }

// A desktop window never takes the focus back by itself.
void SetFocus(WindowHandle) {}

int GetSystemMetrics(int index) {
    if (index == kSmCxScreen) {
        return kScreenWidth;
    }
    if (index == kSmCyScreen) {
        return kScreenHeight;
    }
    return 0;
}

void TranslateMessage(const Msg&) {}

LResult DispatchMessage(const Msg& msg) {
    if (msg.message == WM_TIMER && msg.lParam != 0) {
        auto proc = reinterpret_cast<TimerProc>(msg.lParam);
        proc(msg.window, WM_TIMER, msg.wParam, static_cast<uint32_t>(CurrentBackend().Now()));
        return 0;
    }
    if (msg.message == WM_QUIT) {
        return 0;
    }
    return SendMessage(msg.window, msg.message, msg.wParam, msg.lParam);
}

LResult SendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    Window* target = Resolve(window);
    if (target != nullptr && target != &gMain) {
        return 0;
    }
    if (!gMain.exists || gMain.proc == nullptr) {
        return 0;
    }
    return gMain.proc(&gMain, message, wParam, lParam);
}

LResult DefWindowProc(WindowHandle window, uint32_t message, WParam, LParam) {
    if (Resolve(window) != &gMain || !gMain.exists) {
        return 0;
    }
    if (message == WM_CLOSE) {
        // Destroying: the procedure gets WM_DESTROY while the window still exists.
        SendMessage(&gMain, WM_DESTROY, 0, 0);
        gMain.exists = false;
    } else if (message == WM_PAINT) {
        BeginPaint(window);
    }
    return 0;
}

void ResetMessages() {
    ResetQueue();
    gClasses.clear();
    gMain = Window{};
}

}  // namespace qv::platform
