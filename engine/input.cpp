// Key flags and the input-queue helpers used by the modal waits.
#include "engine/input.h"

#include <algorithm>

#include "platform/messages.h"

namespace qv {

uint8_t gKeyState[8] = {0, 0, 0, 0, 0, 0, 0, 0};
platform::GXKeyList gKeyList;

void ClearKeyStates() { std::fill(std::begin(gKeyState), std::end(gKeyState), uint8_t{0}); }

void FlushInputQueue() {
    platform::Msg msg;
    // Keys first, then the stylus; other messages stay queued in order.
    while (platform::PeekMessage(&msg, platform::WM_KEYDOWN, platform::WM_KEYLAST, true)) {
    }
    while (platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, true)) {
    }
}

}  // namespace qv
