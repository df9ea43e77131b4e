// Hardware keys: the direction pad and the application buttons.
#pragma once

#include "platform/types.h"

namespace qv::platform {

enum : int { GX_NORMALKEYS = 0x02, GX_LANDSCAPEKEYS = 0x03 };

// Virtual keys reported in WM_KEYDOWN / WM_KEYUP for each button.
struct GXKeyList {
    int16_t vkUp = 0;
    Point ptUp;
    int16_t vkDown = 0;
    Point ptDown;
    int16_t vkLeft = 0;
    Point ptLeft;
    int16_t vkRight = 0;
    Point ptRight;
    int16_t vkA = 0;
    Point ptA;
    int16_t vkB = 0;
    Point ptB;
    int16_t vkC = 0;
    Point ptC;
    int16_t vkStart = 0;
    Point ptStart;
};

// The fixed virtual keys of the eight buttons (distinct, non-zero).
enum : int16_t {
    kVkUp = 0x26,
    kVkDown = 0x28,
    kVkLeft = 0x25,
    kVkRight = 0x27,
    kVkStart = 0x86,
    kVkA = 0xC1,
    kVkB = 0xC2,
    kVkC = 0xC3,
    kVkOther = 0xC4,  // a further application button the game does not use
};

int GXOpenInput();
// Safe twice and before opening.
int GXCloseInput();
GXKeyList GXGetDefaultKeys(int which);

}  // namespace qv::platform
