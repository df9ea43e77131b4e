// The headless display and the game's back buffers, opened inside a test process.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/display.h"
#include "platform/display.h"

namespace qv::test {

// Opens the headless display and allocates 240 x 320 back buffers in 5-6-5 (once).
inline void OpenScreen() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    platform::GXOpenDisplay(nullptr, platform::GX_FULLSCREEN);
    const platform::GXDisplayProperties p = platform::GXGetDisplayProperties();
    gPixelFormat = platform::kfDirect565;
    SetDisplayPitch(p.cbxPitch, p.cbyPitch);
    AllocScreenBuffers(kScreenWidth, kScreenHeight);
}

// What the display shows now, row by row, 240 x 320.
inline std::vector<uint16_t> Displayed() {
    const platform::GXDisplayProperties p = platform::GXGetDisplayProperties();
    auto* memory = static_cast<const uint16_t*>(platform::GXBeginDraw());
    std::vector<uint16_t> out(kScreenWidth * kScreenHeight, 0);
    if (memory != nullptr) {
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                out[y * kScreenWidth + x] = memory[x * (p.cbxPitch / 2) + y * (p.cbyPitch / 2)];
            }
        }
    }
    platform::GXEndDraw();
    return out;
}

inline std::vector<uint16_t> BufferCopy(int index) {
    return {gScreenBuffers[index], gScreenBuffers[index] + kScreenWidth * kScreenHeight};
}

// A background that differs from pixel to pixel and is never the key 0.
inline void FillPattern(int index, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 1;
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
        state = state * 1664525u + 1013904223u;
        uint16_t pixel = static_cast<uint16_t>(state >> 16);
        if (gPixelFormat == platform::kfDirect555) pixel &= 0x7FFF;
        if (gPixelFormat == platform::kfDirect444) pixel &= 0x0FFF;
        gScreenBuffers[index][i] = pixel == 0 ? 1 : pixel;
    }
}

}  // namespace qv::test
