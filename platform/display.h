// The game display: full-screen 16-bit display memory and its properties.
#pragma once

#include "platform/types.h"

namespace qv::platform {

// Pixel-format flags of the display properties.
enum : uint32_t {
    kfLandscape = 0x08,
    kfPalette = 0x10,
    kfDirect = 0x20,
    kfDirect555 = 0x40,
    kfDirect565 = 0x80,
    kfDirect888 = 0x100,
    kfDirect444 = 0x200,
};

enum : uint32_t { GX_FULLSCREEN = 0x01 };

struct GXDisplayProperties {
    uint32_t cxWidth = 0;   // pixels
    uint32_t cyHeight = 0;  // pixels
    int32_t cbxPitch = 0;   // bytes from a pixel to the one on its right
    int32_t cbyPitch = 0;   // bytes from a pixel to the one below it
    int32_t cBPP = 0;       // bits a pixel
    uint32_t ffFormat = 0;  // kf* flags
};

// Opens the display for the window; 0 on failure. Safe to call once.
int GXOpenDisplay(WindowHandle window, uint32_t flags);
// Closes the display; safe twice and before opening.
int GXCloseDisplay();
// Properties of the opened display (zeroes before opening).
GXDisplayProperties GXGetDisplayProperties();
// Returns display memory laid out as the properties say; the frame shown is
// what it holds at GXEndDraw. nullptr when the display is not open.
void* GXBeginDraw();
int GXEndDraw();
// Suspend/resume drawing and keys on focus changes; harmless in any order,
// before opening and after closing.
int GXSuspend();
int GXResume();

// The device model's OEM text (SystemParametersInfo SPI_GETOEMINFO). Copies
// at most capacity-1 characters and a terminating zero; false on failure.
bool GetOemInfo(char16_t* buffer, unsigned capacity);
// The one model whose display memory is written directly: the upright
// screen's pixel (0, 0) in landscape rows of 320 pixels (x pitch -320,
// y pitch 1). Shown at the next present of that memory: call
// PresentFixedFrameBuffer after writing. nullptr on any other model.
uint16_t* FixedFrameBuffer();
void PresentFixedFrameBuffer();

}  // namespace qv::platform
