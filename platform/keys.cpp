// The hardware keys: the fixed virtual keys of the eight buttons.
#include "platform/keys.h"

namespace qv::platform {
namespace {

bool gInputOpen = false;

}  // namespace

int GXOpenInput() {
    gInputOpen = true;
    return 1;
}

int GXCloseInput() {
    gInputOpen = false;
    return 1;
}

GXKeyList GXGetDefaultKeys(int) {
    GXKeyList keys;
    keys.vkUp = kVkUp;
    keys.vkDown = kVkDown;
    keys.vkLeft = kVkLeft;
    keys.vkRight = kVkRight;
    keys.vkA = kVkA;
    keys.vkB = kVkB;
    keys.vkC = kVkC;
    keys.vkStart = kVkStart;
    return keys;
}

}  // namespace qv::platform
