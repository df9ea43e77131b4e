// Channel helpers, text colours and the colour operations on back buffers.
#include "engine/colour.h"

#include "engine/display.h"
#include "engine/draw_internal.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "platform/display.h"

namespace qv {
namespace {

constexpr uint16_t kTextColours565[kTextColourCount] = {0xF800, 0x07E0, 0x001F, 0xFFE0,
                                                        0xF81F, 0x07FF, 0xFBEF, 0x7BFF,
                                                        0x7FEF, 0xFBE0, 0xFDA6, 0xFFFF};
constexpr uint16_t kTextColours555[kTextColourCount] = {0x7C00, 0x03E0, 0x001F, 0x7FE0,
                                                        0x7C1F, 0x03FF, 0x7DEF, 0x3DFF,
                                                        0x3FEF, 0x7CE0, 0x7EC6, 0xFFFF};
constexpr uint16_t kTextColours444[kTextColourCount] = {0x0F00, 0x00F0, 0x000F, 0x0FF0,
                                                        0x0F0F, 0x00FF, 0x0F77, 0x077F,
                                                        0x07F7, 0x0F70, 0x0FB3, 0xFFFF};

int ClampTo(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// Green counts twice in 5-6-5, where it has one bit more.
int GreenFactor() { return gPixelFormat == platform::kfDirect565 ? 2 : 1; }

// Runs op on every pixel of the clipped rectangle of the buffer.
template <typename Op>
void ForEachPixel(int x, int y, int width, int height, int8_t buffer, Op op) {
    uint16_t* pixels = draw::Buffer(buffer);
    if (pixels == nullptr) return;
    draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
    for (int row = s.y0; row < s.y1; ++row) {
        for (int column = s.x0; column < s.x1; ++column) {
            uint16_t& p = pixels[row * draw::kRow + column];
            p = op(p);
        }
    }
}

}  // namespace

Channels SplitRgb565(uint16_t p) { return {(p >> 11) & 31, (p >> 5) & 63, p & 31}; }
Channels SplitRgb555(uint16_t p) { return {(p >> 10) & 31, (p >> 5) & 31, p & 31}; }
Channels SplitRgb444(uint16_t p) { return {(p >> 8) & 15, (p >> 4) & 15, p & 15}; }

uint16_t ComposeRgb565(Channels c) {
    return static_cast<uint16_t>(((c.red & 31) << 11) | ((c.green & 63) << 5) | (c.blue & 31));
}
uint16_t ComposeRgb555(Channels c) {
    return static_cast<uint16_t>(((c.red & 31) << 10) | ((c.green & 31) << 5) | (c.blue & 31));
}
uint16_t ComposeRgb444(Channels c) {
    return static_cast<uint16_t>(((c.red & 15) << 8) | ((c.green & 15) << 4) | (c.blue & 15));
}

uint16_t PackRgb565(uint8_t red, uint8_t green, uint8_t blue) {
    return ComposeRgb565({red >> 3, green >> 2, blue >> 3});
}
uint16_t PackRgb555(uint8_t red, uint8_t green, uint8_t blue) {
    return ComposeRgb555({red >> 3, green >> 3, blue >> 3});
}
uint16_t PackRgb444(uint8_t red, uint8_t green, uint8_t blue) {
    return ComposeRgb444({red >> 4, green >> 4, blue >> 4});
}

Channels SplitPixel(uint16_t pixel) {
    switch (gPixelFormat) {
        case platform::kfDirect565: return SplitRgb565(pixel);
        case platform::kfDirect555: return SplitRgb555(pixel);
        case platform::kfDirect444: return SplitRgb444(pixel);
        default: return {};
    }
}

uint16_t ComposePixel(Channels c) {
    switch (gPixelFormat) {
        case platform::kfDirect565: return ComposeRgb565(c);
        case platform::kfDirect555: return ComposeRgb555(c);
        case platform::kfDirect444: return ComposeRgb444(c);
        default: return 0;
    }
}

Channels ChannelMaxima() {
    switch (gPixelFormat) {
        case platform::kfDirect565: return {31, 63, 31};
        case platform::kfDirect555: return {31, 31, 31};
        case platform::kfDirect444: return {15, 15, 15};
        default: return {};
    }
}

uint16_t TextColour(int index) {
    if (index < 0 || index >= kTextColourCount) return 0xFFFF;
    switch (gPixelFormat) {
        case platform::kfDirect565: return kTextColours565[index];
        case platform::kfDirect555: return kTextColours555[index];
        case platform::kfDirect444: return kTextColours444[index];
        default: return 0xFFFF;
    }
}

uint16_t TintColour(uint16_t pixel, int red, int green, int blue) {
    Channels c = SplitPixel(pixel);
    Channels m = ChannelMaxima();
    c.red = ClampTo(c.red + red, 0, m.red);
    c.green = ClampTo(c.green + green, 0, m.green);
    c.blue = ClampTo(c.blue + blue, 0, m.blue);
    return ComposePixel(c);
}

void TintRect(int x, int y, int width, int height, int8_t red, int8_t green, int8_t blue,
              int8_t buffer) {
    // 8-bit units to channel units; C division rounds toward zero.
    int r = red, g = green, b = blue;
    switch (gPixelFormat) {
        case platform::kfDirect565:
            r /= 8;
            g /= 4;
            b /= 8;
            break;
        case platform::kfDirect555:
            r /= 8;
            g /= 8;
            b /= 8;
            break;
        case platform::kfDirect444:
            r /= 16;
            g /= 16;
            b /= 16;
            break;
        default: return;
    }
    ForEachPixel(x, y, width, height, buffer, [&](uint16_t p) { return TintColour(p, r, g, b); });
}

void DarkenRect(int x, int y, int width, int height, int amount, int8_t buffer) {
    int greenAmount = amount * GreenFactor();
    ForEachPixel(x, y, width, height, buffer, [&](uint16_t p) {
        Channels c = SplitPixel(p);
        c.red = c.red > amount ? c.red - amount : 0;
        c.green = c.green > greenAmount ? c.green - greenAmount : 0;
        c.blue = c.blue > amount ? c.blue - amount : 0;
        return ComposePixel(c);
    });
}

void BlendRectToward(int x, int y, int width, int height, int amount, int8_t modified,
                     int8_t target) {
    uint16_t* dst = draw::Buffer(modified);
    const uint16_t* goal = draw::Buffer(target);
    if (dst == nullptr || goal == nullptr) return;
    int greenAmount = amount * GreenFactor();
    draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
    for (int row = s.y0; row < s.y1; ++row) {
        for (int column = s.x0; column < s.x1; ++column) {
            int at = row * draw::kRow + column;
            Channels c = SplitPixel(dst[at]);
            Channels t = SplitPixel(goal[at]);
            c.red = c.red + amount < t.red ? c.red + amount : t.red;
            c.green = c.green + greenAmount < t.green ? c.green + greenAmount : t.green;
            c.blue = c.blue + amount < t.blue ? c.blue + amount : t.blue;
            dst[at] = ComposePixel(c);
        }
    }
}

void GreyBuffer(int8_t buffer) {
    bool wideGreen = gPixelFormat == platform::kfDirect565;
    ForEachPixel(0, 0, kScreenWidth, kScreenHeight, buffer, [&](uint16_t p) {
        Channels c = SplitPixel(p);
        if (wideGreen) {
            int a = (c.red + c.green / 2 + c.blue) / 3;
            return ComposePixel({a, 2 * a, a});
        }
        int a = (c.red + c.green + c.blue) / 3;
        return ComposePixel({a, a, a});
    });
}

uint16_t BrightenColour(uint16_t colour, int amount) {
    // Arithmetic shifts, as the Gamma offset is applied everywhere; every
    // channel stays within its field, also for a negative amount.
    Channels c = SplitPixel(colour);
    Channels m = ChannelMaxima();
    switch (gPixelFormat) {
        case platform::kfDirect565:
            c.red += amount >> 3;
            c.green += amount >> 2;
            c.blue += amount >> 3;
            break;
        case platform::kfDirect555:
            c.red += amount >> 3;
            c.green += amount >> 3;
            c.blue += amount >> 3;
            break;
        case platform::kfDirect444:
            c.red += amount >> 4;
            c.green += amount >> 4;
            c.blue += amount >> 4;
            break;
        default: return 0;
    }
    c.red = ClampTo(c.red, 0, m.red);
    c.green = ClampTo(c.green, 0, m.green);
    c.blue = ClampTo(c.blue, 0, m.blue);
    return ComposePixel(c);
}

void DrawGlowFrame(int x, int y, int width, int height, int shade, int rings, int8_t buffer) {
    UpdateMusic();
    uint16_t* dst = draw::Buffer(buffer);
    const uint16_t* saved = draw::Buffer(1);
    if (dst == nullptr || saved == nullptr) return;
    Channels m = ChannelMaxima();
    auto inside = [](int column, int row) {
        return column >= 0 && column < kScreenWidth && row >= 0 && row < kScreenHeight;
    };
    int step = rings > 0 ? shade / rings : 0;
    for (int k = 0; k < rings; ++k) {
        int b = (k + 1) * step;
        auto brighten = [&](uint16_t p) {
            Channels c = SplitPixel(p);
            c.red = ClampTo(c.red + b, 0, m.red);
            c.green = ClampTo(c.green + 2 * b, 0, m.green);
            c.blue = ClampTo(c.blue + b, 0, m.blue);
            return ComposePixel(c);
        };
        int left = x + k, right = x + width - 1 - k;
        int top = y + k, bottom = y + height - 1 - k;
        for (int column = left; column <= right; ++column) {
            for (int row : {top, bottom}) {
                if (!inside(column, row)) continue;
                int at = row * draw::kRow + column;
                dst[at] = brighten(saved[at]);
            }
        }
        for (int row = top; row <= bottom; ++row) {
            for (int column : {left, right}) {
                if (!inside(column, row)) continue;
                int at = row * draw::kRow + column;
                dst[at] = brighten(dst[at]);
            }
        }
    }
    UpdateMusic();
    int greenShade = 2 * shade;
    draw::Span s = draw::Clip(x + rings, y + rings, width - 2 * rings, height - 2 * rings,
                              kScreenWidth, kScreenHeight);
    for (int row = s.y0; row < s.y1; ++row) {
        for (int column = s.x0; column < s.x1; ++column) {
            int at = row * draw::kRow + column;
            Channels c = SplitPixel(saved[at]);
            c.red = c.red > shade ? c.red - shade : 0;
            c.green = c.green - greenShade > 0 ? c.green - greenShade : 0;
            c.blue = c.blue > shade ? c.blue - shade : 0;
            dst[at] = ComposePixel(c);
        }
    }
}

bool IsSeparatorPixel(int column, int row, const Picture& picture) {
    if (picture.pixels == nullptr || column < 0 || row < 0 || column >= picture.width ||
        row >= picture.height) {
        return false;
    }
    if (gPixelFormat != platform::kfDirect565 && gPixelFormat != platform::kfDirect555 &&
        gPixelFormat != platform::kfDirect444)
        return true;
    return picture.pixels[row * picture.width + column] == ConvertRgbPixel(255, 0, 255);
}

void KeyRedPixels(const Picture& picture, int width, int height) {
    if (picture.pixels == nullptr) return;
    if (width > picture.width) width = picture.width;
    if (height > picture.height) height = picture.height;
    uint16_t red = ConvertRgbPixel(255, 0, 0);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            uint16_t& p = picture.pixels[row * picture.width + column];
            if (p == red) p = gTransparentKey;
        }
    }
}

}  // namespace qv
