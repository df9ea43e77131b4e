// The screen's pixel format, pitches, the three back buffers and the present.
#include "engine/display.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "engine/colour.h"
#include "platform/display.h"

namespace qv {

platform::WindowHandle gMainWindow = nullptr;
int8_t gGamma = 0;
int8_t gGammaSetting = 0;
uint8_t gFixedFrameBuffer = 0;
int32_t gPixelFormat = 0;
uint16_t gScreenWidth = 0;
uint16_t gScreenHeight = 0;
uint32_t gScreenPixelCount = 0;
int32_t gScreenXPitch = 0;
int32_t gScreenYPitch = 0;
uint16_t* gScreenBuffers[3] = {nullptr, nullptr, nullptr};
uint16_t gTransparentKey = 0;

namespace {

// The model whose display memory is written directly.
constexpr std::u16string_view kFixedFrameBufferModel = u"Compaq iPAQ H3800";
// The OEM text buffer: 100 bytes.
constexpr unsigned kOemInfoCapacity = 50;

uint16_t* BufferAt(int8_t buffer) {
    if (buffer < 0 || buffer > 2) {
        return nullptr;
    }
    return gScreenBuffers[buffer];
}

// Copies the rectangle (already inside the screen) of the source buffer to
// display memory whose upright pixel (0, 0) is at destination.
void CopyToDisplay(uint16_t* destination, const uint16_t* source, int x, int y, int width,
                   int height) {
    const uint16_t* sourceRow = source + static_cast<std::ptrdiff_t>(y) * gScreenWidth + x;
    uint16_t* destinationRow = destination + static_cast<std::ptrdiff_t>(x) * gScreenXPitch +
                               static_cast<std::ptrdiff_t>(y) * gScreenYPitch;
    for (int row = 0; row < height; ++row) {
        if (gScreenXPitch == 1) {
            std::copy_n(sourceRow, width, destinationRow);
        } else {
            uint16_t* out = destinationRow;
            for (int column = 0; column < width; ++column) {
                *out = sourceRow[column];
                out += gScreenXPitch;
            }
        }
        sourceRow += gScreenWidth;
        destinationRow += gScreenYPitch;
    }
}

// Begins the draw, copies and shows the frame. The fixed-frame-buffer model
// has no begin/end; a display that gives no memory shows nothing.
void Present(const uint16_t* source, int x, int y, int width, int height) {
    if (gFixedFrameBuffer) {
        uint16_t* memory = platform::FixedFrameBuffer();
        if (memory == nullptr) {
            return;
        }
        CopyToDisplay(memory, source, x, y, width, height);
        platform::PresentFixedFrameBuffer();
        return;
    }
    auto* memory = static_cast<uint16_t*>(platform::GXBeginDraw());
    if (memory == nullptr) {
        return;
    }
    CopyToDisplay(memory, source, x, y, width, height);
    platform::GXEndDraw();
}

}  // namespace

void DetectDeviceModel() {
    char16_t oem[kOemInfoCapacity] = {};
    gFixedFrameBuffer = 0;
    if (!platform::GetOemInfo(oem, kOemInfoCapacity)) {
        return;
    }
    // Compared within the buffer only, whether or not the text was terminated.
    const char16_t* end = std::find(oem, oem + kOemInfoCapacity, u'\0');
    if (std::u16string_view(oem, static_cast<size_t>(end - oem)) == kFixedFrameBufferModel) {
        gFixedFrameBuffer = 1;
    }
}

bool SetPixelFormat(uint32_t ffFormat) {
    // 5-5-5 is tested first: a display reporting both runs as 5-5-5.
    if (ffFormat & platform::kfDirect555) {
        gPixelFormat = platform::kfDirect555;
    } else if (ffFormat & platform::kfDirect565) {
        gPixelFormat = platform::kfDirect565;
    } else if (ffFormat & platform::kfDirect444) {
        gPixelFormat = platform::kfDirect444;
    } else {
        return false;
    }
    return true;
}

int32_t GetPixelFormat() { return gPixelFormat; }

void SetDisplayPitch(int32_t cbxPitch, int32_t cbyPitch) {
    // Bytes to pixels by an arithmetic shift: a negative pitch stays negative.
    gScreenXPitch = cbxPitch >> 1;
    gScreenYPitch = cbyPitch >> 1;
    if (gFixedFrameBuffer) {
        gScreenXPitch = -320;
        gScreenYPitch = 1;
    }
}

void AllocScreenBuffers(int32_t width, int32_t height) {
    gScreenWidth = static_cast<uint16_t>(width);
    gScreenHeight = static_cast<uint16_t>(height);
    gScreenPixelCount = static_cast<uint32_t>(gScreenWidth) * gScreenHeight;
    for (uint16_t*& buffer : gScreenBuffers) {
        delete[] buffer;
        // A failed allocation ends the program through the new-handler.
        buffer = new uint16_t[gScreenPixelCount];
    }
}

void FillBuffer(uint16_t colour, int8_t buffer) {
    uint16_t* pixels = BufferAt(buffer);
    if (pixels == nullptr) {
        return;
    }
    if (gGamma != 0) {
        colour = BrightenColour(colour, gGamma);
    }
    // Sixteen at a time: a loop of known length that the compiler turns into
    // vector stores.
    const uint32_t count = gScreenPixelCount;
    uint32_t i = 0;
    for (; i + 16 <= count; i += 16) {
        uint16_t* run = pixels + i;
        for (int k = 0; k < 16; ++k) run[k] = colour;
    }
    for (; i < count; ++i) pixels[i] = colour;
}

void ClearAllBuffers(uint16_t colour) {
    FillBuffer(colour, 0);
    FillBuffer(colour, 1);
    FillBuffer(colour, 2);
}

void PresentScreen() {
    if (gScreenBuffers[0] == nullptr) {
        return;
    }
    Present(gScreenBuffers[0], 0, 0, gScreenWidth, gScreenHeight);
}

void PresentRect(int16_t x, int16_t y, int16_t width, int16_t height, int8_t buffer) {
    const uint16_t* source = BufferAt(buffer);
    if (source == nullptr) {
        return;
    }
    // Only the part inside the screen is copied; an empty part copies nothing.
    int left = std::max<int>(x, 0);
    int top = std::max<int>(y, 0);
    int right = std::min<int>(x + width, gScreenWidth);
    int bottom = std::min<int>(y + height, gScreenHeight);
    if (right <= left || bottom <= top) {
        return;
    }
    Present(source, left, top, right - left, bottom - top);
}

}  // namespace qv
