// The message queue: posting, filtered peeks, window-less timers and paint.
#include <deque>
#include <vector>

#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/messages.h"

namespace qv::platform {

namespace {

struct Timer {
    uintptr_t id = 0;
    uint32_t period = 0;
    TimerProc proc = nullptr;
    WindowHandle window = nullptr;
    uint64_t due = 0;
};

std::deque<Msg> gQueue;
std::vector<Timer> gTimers;
bool gPaintPending = false;
int gLastQuitCode = 0;
QuitHandler gQuitHandler = nullptr;
bool gTakingClose = false;
uintptr_t gNextTimerId = 0x7F00;

bool InRange(uint32_t message, uint32_t first, uint32_t last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

uint32_t NowTime() { return static_cast<uint32_t>(CurrentBackend().Now()); }

bool TakeQueued(Msg* msg, uint32_t first, uint32_t last, bool remove) {
    for (auto it = gQueue.begin(); it != gQueue.end(); ++it) {
        if (!InRange(it->message, first, last)) {
            continue;
        }
        *msg = *it;
        if (remove) {
            if (it->message == WM_QUIT) {
                gLastQuitCode = static_cast<int>(it->wParam);
            }
            gQueue.erase(it);
        }
        return true;
    }
    return false;
}

bool TakePaint(Msg* msg, uint32_t first, uint32_t last, bool remove) {
    if (!gPaintPending || !InRange(WM_PAINT, first, last) || MainWindowHandle() == nullptr) {
        return false;
    }
    *msg = Msg{MainWindowHandle(), WM_PAINT, 0, 0, NowTime()};
    if (remove) {
        gPaintPending = false;
    }
    return true;
}

// A timer is pending once its period has run out; taking its message starts
// the next period, so at most one WM_TIMER per timer is ever waiting.
bool TakeTimer(Msg* msg, uint32_t first, uint32_t last, bool remove) {
    if (!InRange(WM_TIMER, first, last)) {
        return false;
    }
    uint64_t now = CurrentBackend().Now();
    for (Timer& timer : gTimers) {
        if (now < timer.due) {
            continue;
        }
        *msg = Msg{timer.window, WM_TIMER, timer.id, reinterpret_cast<LParam>(timer.proc),
                   static_cast<uint32_t>(now)};
        if (remove) {
            timer.due = now + timer.period;
        }
        return true;
    }
    return false;
}

bool Find(Msg* msg, uint32_t first, uint32_t last, bool remove) {
    return TakeQueued(msg, first, last, remove) || TakePaint(msg, first, last, remove) ||
           TakeTimer(msg, first, last, remove);
}

void Append(uint32_t message, WParam wParam, LParam lParam) {
    gQueue.push_back(Msg{MainWindowHandle(), message, wParam, lParam, NowTime()});
}

}  // namespace

bool PeekMessage(Msg* msg, uint32_t first, uint32_t last, bool remove) {
    Msg ignored;
    if (msg == nullptr) {
        msg = &ignored;
    }
    if (Find(msg, first, last, remove)) {
        return true;
    }
    CurrentBackend().PumpEvents();
    PollInstanceRequests();
    if (!InRange(WM_CLOSE, first, last) && !InRange(WM_QUIT, first, last)) {
        TakeCloseDuringWait();
    }
    return Find(msg, first, last, remove);
}

void SetQuitHandler(QuitHandler handler) { gQuitHandler = handler; }

void TakeCloseDuringWait() {
    if (gQuitHandler == nullptr || gTakingClose) {
        return;
    }
    gTakingClose = true;
    Msg msg;
    if (TakeQueued(&msg, WM_CLOSE, WM_CLOSE, true)) {
        DispatchMessage(msg);
    }
    // Taking a WM_QUIT records its code.
    if (TakeQueued(&msg, WM_QUIT, WM_QUIT, true)) {
        gQuitHandler(gLastQuitCode);
    }
    gTakingClose = false;
}
void WaitForMessages(uint32_t ms) { CurrentBackend().WaitForEvents(ms); }

bool PostMessage(WindowHandle, uint32_t message, WParam wParam, LParam lParam) {
    Append(message, wParam, lParam);
    return true;
}

void PostQuitMessage(int code) { Append(WM_QUIT, static_cast<WParam>(static_cast<unsigned>(code)), 0); }

void PostInput(uint32_t message, WParam wParam, LParam lParam) {
    if (message == WM_MOUSEMOVE && !gQueue.empty() && gQueue.back().message == WM_MOUSEMOVE) {
        gQueue.back().wParam = wParam;
        gQueue.back().lParam = lParam;
        gQueue.back().time = NowTime();
        return;
    }
    Append(message, wParam, lParam);
}

void InvalidateWindow() { gPaintPending = true; }

void BeginPaint(WindowHandle) { gPaintPending = false; }

void EndPaint(WindowHandle) {}

int LastQuitCode() { return gLastQuitCode; }

uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t ms, TimerProc proc) {
    if (id == 0) {
        id = gNextTimerId++;
    }
    uint32_t period = ms == 0 ? 1 : ms;
    uint64_t due = CurrentBackend().Now() + period;
    for (Timer& timer : gTimers) {
        if (timer.id == id) {
            timer = Timer{id, period, proc, window, due};
            return id;
        }
    }
    gTimers.push_back(Timer{id, period, proc, window, due});
    return id;
}

void KillTimer(WindowHandle, uintptr_t id) {
    for (auto it = gTimers.begin(); it != gTimers.end(); ++it) {
        if (it->id == id) {
            gTimers.erase(it);
            return;
        }
    }
}

void ResetQueue() {
    gQueue.clear();
    gTimers.clear();
    gPaintPending = false;
    gLastQuitCode = 0;
    gQuitHandler = nullptr;
    gTakingClose = false;
}

}  // namespace qv::platform
