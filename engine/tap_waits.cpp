// Modal waits for a tap: they read only stylus messages and keep the music going.
#include <algorithm>

#include "engine/message_box.h"
#include "engine/music.h"
#include "platform/clock.h"
#include "platform/messages.h"

namespace qv {
namespace {

// With nothing queued a wait sleeps until the next event or this long: a tap
// wakes it at once, and the music's 100 ms of queued sound never runs dry.
constexpr int kIdleSliceMs = 10;

bool TakeStylusMessage(platform::Msg& msg) {
    return platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, true);
}

void WaitForStylus(uint32_t message, uint16_t& x, uint16_t& y) {
    for (;;) {
        platform::Msg msg;
        bool taken = TakeStylusMessage(msg);
        UpdateMusic();
        if (taken && msg.message == message) {
            x = static_cast<uint16_t>(platform::LowWord(msg.lParam));
            y = static_cast<uint16_t>(platform::HighWord(msg.lParam));
            return;
        }
        if (!taken) platform::WaitForMessages(kIdleSliceMs);
    }
}

}  // namespace

bool WaitForTapOrTimeout(int ms) {
    // The elapsed time is kept on 16 bits, as the tick's low word.
    uint16_t start = static_cast<uint16_t>(platform::GetTickCount());
    for (;;) {
        uint16_t now = static_cast<uint16_t>(platform::GetTickCount());
        int elapsed = static_cast<int16_t>(static_cast<uint16_t>(now - start));
        if (elapsed >= ms) return false;
        platform::Msg msg;
        bool taken = TakeStylusMessage(msg);
        UpdateMusic();
        if (taken && msg.message == platform::WM_LBUTTONDOWN) return true;
        if (!taken) platform::WaitForMessages(static_cast<uint32_t>(std::min(kIdleSliceMs, ms - elapsed)));
    }
}

void WaitForTapDown(uint16_t& x, uint16_t& y) { WaitForStylus(platform::WM_LBUTTONDOWN, x, y); }

void WaitForTapUp(uint16_t& x, uint16_t& y) { WaitForStylus(platform::WM_LBUTTONUP, x, y); }

}  // namespace qv
