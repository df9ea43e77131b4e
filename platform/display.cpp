// The game display: display memory in the upright layout, the fixed frame
// buffer of the one rotated model, and their presents through the backend.
#include "platform/display.h"

#include <vector>

#include "platform/backend.h"
#include "platform/config.h"
#include "platform/internal.h"
#include "platform/text.h"

namespace qv::platform {
namespace {

constexpr int kPixels = kScreenWidth * kScreenHeight;
// The rotated model: landscape rows of 320 pixels; the upright pixel (x, y)
// lies at landscape row 239 - x, column y.
constexpr int kLandscapeRow = kScreenHeight;
const char16_t kFixedFrameModel[] = u"Compaq iPAQ H3800";

bool gOpen = false;
std::vector<uint16_t> gFrame(kPixels);
std::vector<uint16_t> gLandscape(kPixels);

bool IsFixedFrameModel() { return FromUtf8(GetConfig().oem) == kFixedFrameModel; }

}  // namespace

int GXOpenDisplay(WindowHandle, uint32_t) {
    if (gOpen) {
        return 1;
    }
    if (!CurrentBackend().OpenDisplay()) {
        return 0;
    }
    gFrame.assign(kPixels, 0);
    gLandscape.assign(kPixels, 0);
    gOpen = true;
    return 1;
}

int GXCloseDisplay() {
    if (gOpen) {
        CurrentBackend().CloseDisplay();
        gOpen = false;
    }
    return 1;
}

GXDisplayProperties GXGetDisplayProperties() {
    if (!gOpen) {
        return GXDisplayProperties{};
    }
    return GXDisplayProperties{kScreenWidth, kScreenHeight, 2, kScreenWidth * 2, 16, GetConfig().pixelFormat};
}

void* GXBeginDraw() { return gOpen ? gFrame.data() : nullptr; }

int GXEndDraw() {
    if (!gOpen) {
        return 0;
    }
    CurrentBackend().Present(gFrame.data(), GetConfig().pixelFormat);
    // Waits that only present (animations) notice a close here.
    TakeCloseDuringWait();
    return 1;
}

// Suspension changes nothing here: the next present shows the frame again.
int GXSuspend() { return 1; }
int GXResume() { return 1; }

bool GetOemInfo(char16_t* buffer, unsigned capacity) {
    if (buffer == nullptr || capacity == 0) {
        return false;
    }
    WString oem = FromUtf8(GetConfig().oem);
    size_t count = oem.size() < capacity - 1 ? oem.size() : capacity - 1;
    for (size_t i = 0; i < count; ++i) {
        buffer[i] = oem[i];
    }
    buffer[count] = 0;
    return true;
}

uint16_t* FixedFrameBuffer() {
    if (!gOpen || !IsFixedFrameModel()) {
        return nullptr;
    }
    return gLandscape.data() + (kScreenWidth - 1) * kLandscapeRow;
}

void PresentFixedFrameBuffer() {
    if (!gOpen || !IsFixedFrameModel()) {
        return;
    }
    std::vector<uint16_t> upright(kPixels);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            upright[y * kScreenWidth + x] = gLandscape[(kScreenWidth - 1 - x) * kLandscapeRow + y];
        }
    }
    CurrentBackend().Present(upright.data(), GetConfig().pixelFormat);
    TakeCloseDuringWait();
}

}  // namespace qv::platform
