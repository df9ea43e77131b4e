// Helpers shared by the drawing code: back buffer access and clipping.
#pragma once

#include <cstdint>

#include "engine/display.h"

namespace qv::draw {

inline constexpr int kRow = kScreenWidth;  // row length of every back buffer

// The back buffer's pixels, or nullptr for a bad index or before allocation.
inline uint16_t* Buffer(int8_t index) {
    if (index < 0 || index > 2) return nullptr;
    return gScreenBuffers[index];
}

// A rectangle cut down to [0, limitW) x [0, limitH); empty when nothing is left.
struct Span {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // half-open
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};
inline Span Clip(int x, int y, int width, int height, int limitW, int limitH) {
    Span s;
    s.x0 = x < 0 ? 0 : x;
    s.y0 = y < 0 ? 0 : y;
    long long x1 = static_cast<long long>(x) + width;
    long long y1 = static_cast<long long>(y) + height;
    s.x1 = static_cast<int>(x1 > limitW ? limitW : x1);
    s.y1 = static_cast<int>(y1 > limitH ? limitH : y1);
    return s;
}

}  // namespace qv::draw
