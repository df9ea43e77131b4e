// Key flags and the input-queue helpers used by the modal waits.
#pragma once

#include <cstdint>

#include "platform/keys.h"

namespace qv {

// [0] up, [1] down, [2] left, [3] right, [4] Start, [5] A, [6] B, [7] C.
extern uint8_t gKeyState[8];
extern platform::GXKeyList gKeyList;

void ClearKeyStates();
// Drops every pending key message (256..264), then every stylus message
// (512..521), without dispatching them.
void FlushInputQueue();

}  // namespace qv
