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

// One pixel format's channel fields, for loops that split and join pixels
// inline. kGammaShift: how far an 8-bit amount is shifted to each channel's
// width.
template <int kRedShift, int kGreenShift, int kRedMax, int kGreenMax, int kBlueMax, int kRedGamma,
          int kGreenGamma, int kBlueGamma>
struct Layout {
    static constexpr Channels kMax{kRedMax, kGreenMax, kBlueMax};
    static constexpr Channels kGammaShift{kRedGamma, kGreenGamma, kBlueGamma};
    static Channels Split(uint16_t p) { return {(p >> kRedShift) & kRedMax, (p >> kGreenShift) & kGreenMax, p & kBlueMax}; }
    static uint16_t Compose(Channels c) {
        return static_cast<uint16_t>(((c.red & kRedMax) << kRedShift) | ((c.green & kGreenMax) << kGreenShift) |
                                     (c.blue & kBlueMax));
    }
};
using Layout565 = Layout<11, 5, 31, 63, 31, 3, 2, 3>;
using Layout555 = Layout<10, 5, 31, 31, 31, 3, 3, 3>;
using Layout444 = Layout<8, 4, 15, 15, 15, 4, 4, 4>;
// An unknown format: every pixel splits to zeroes and composes to 0.
struct NoLayout {
    static constexpr Channels kMax{};
    static constexpr Channels kGammaShift{};
    static Channels Split(uint16_t) { return {}; }
    static uint16_t Compose(Channels) { return 0; }
};

// Runs op with the layout of gPixelFormat (an empty object whose type
// carries it), so that the pixel loops inside op are made once per format.
template <typename Op>
auto WithLayout(Op op) {
    switch (gPixelFormat) {
        case platform::kfDirect565: return op(Layout565{});
        case platform::kfDirect555: return op(Layout555{});
        case platform::kfDirect444: return op(Layout444{});
        default: return op(NoLayout{});
    }
}

// Green counts twice in 5-6-5, where it has one bit more.
template <typename L>
constexpr int kGreenFactor = L::kMax.green == 63 ? 2 : 1;

template <typename L>
uint16_t Tinted(uint16_t pixel, int red, int green, int blue) {
    Channels c = L::Split(pixel);
    c.red = ClampTo(c.red + red, 0, L::kMax.red);
    c.green = ClampTo(c.green + green, 0, L::kMax.green);
    c.blue = ClampTo(c.blue + blue, 0, L::kMax.blue);
    return L::Compose(c);
}

// Arithmetic shifts, as the Gamma offset is applied everywhere; every
// channel stays within its field, also for a negative amount.
template <typename L>
uint16_t Brightened(uint16_t colour, int amount) {
    return Tinted<L>(colour, amount >> L::kGammaShift.red, amount >> L::kGammaShift.green,
                     amount >> L::kGammaShift.blue);
}

// Runs op on every pixel of the clipped rectangle of the buffer.
template <typename Op>
void ForEachPixel(int x, int y, int width, int height, int8_t buffer, Op op) {
    uint16_t* pixels = draw::Buffer(buffer);
    if (pixels == nullptr) return;
    draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
    for (int row = s.y0; row < s.y1; ++row) {
        uint16_t* line = pixels + row * draw::kRow;
        for (int column = s.x0; column < s.x1; ++column) line[column] = op(line[column]);
    }
}

}  // namespace

Channels SplitRgb565(uint16_t p) { return Layout565::Split(p); }
Channels SplitRgb555(uint16_t p) { return Layout555::Split(p); }
Channels SplitRgb444(uint16_t p) { return Layout444::Split(p); }

uint16_t ComposeRgb565(Channels c) { return Layout565::Compose(c); }
uint16_t ComposeRgb555(Channels c) { return Layout555::Compose(c); }
uint16_t ComposeRgb444(Channels c) { return Layout444::Compose(c); }

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
    return WithLayout([&](auto layout) { return decltype(layout)::Split(pixel); });
}

uint16_t ComposePixel(Channels c) {
    return WithLayout([&](auto layout) { return decltype(layout)::Compose(c); });
}

Channels ChannelMaxima() {
    return WithLayout([](auto layout) { return decltype(layout)::kMax; });
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
    return WithLayout([&](auto layout) { return Tinted<decltype(layout)>(pixel, red, green, blue); });
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
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        ForEachPixel(x, y, width, height, buffer, [&](uint16_t p) { return Tinted<L>(p, r, g, b); });
    });
}

void DarkenRect(int x, int y, int width, int height, int amount, int8_t buffer) {
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        const int greenAmount = amount * kGreenFactor<L>;
        ForEachPixel(x, y, width, height, buffer, [&](uint16_t p) {
            Channels c = L::Split(p);
            c.red = c.red > amount ? c.red - amount : 0;
            c.green = c.green > greenAmount ? c.green - greenAmount : 0;
            c.blue = c.blue > amount ? c.blue - amount : 0;
            return L::Compose(c);
        });
    });
}

void BlendRectToward(int x, int y, int width, int height, int amount, int8_t modified,
                     int8_t target) {
    uint16_t* dst = draw::Buffer(modified);
    const uint16_t* goal = draw::Buffer(target);
    if (dst == nullptr || goal == nullptr) return;
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        const int greenAmount = amount * kGreenFactor<L>;
        draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
        for (int row = s.y0; row < s.y1; ++row) {
            for (int column = s.x0; column < s.x1; ++column) {
                const int at = row * draw::kRow + column;
                Channels c = L::Split(dst[at]);
                const Channels t = L::Split(goal[at]);
                c.red = c.red + amount < t.red ? c.red + amount : t.red;
                c.green = c.green + greenAmount < t.green ? c.green + greenAmount : t.green;
                c.blue = c.blue + amount < t.blue ? c.blue + amount : t.blue;
                dst[at] = L::Compose(c);
            }
        }
    });
}

void GreyBuffer(int8_t buffer) {
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        ForEachPixel(0, 0, kScreenWidth, kScreenHeight, buffer, [](uint16_t p) {
            const Channels c = L::Split(p);
            if (kGreenFactor<L> == 2) {
                const int a = (c.red + c.green / 2 + c.blue) / 3;
                return L::Compose({a, 2 * a, a});
            }
            const int a = (c.red + c.green + c.blue) / 3;
            return L::Compose({a, a, a});
        });
    });
}

uint16_t BrightenColour(uint16_t colour, int amount) {
    return WithLayout([&](auto layout) { return Brightened<decltype(layout)>(colour, amount); });
}

void BrightenBuffer(int8_t source, int8_t target, int amount) {
    const uint16_t* from = draw::Buffer(source);
    uint16_t* to = draw::Buffer(target);
    if (from == nullptr || to == nullptr) return;
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        for (uint32_t i = 0; i < gScreenPixelCount; ++i) to[i] = Brightened<L>(from[i], amount);
    });
}

void DrawGlowFrame(int x, int y, int width, int height, int shade, int rings, int8_t buffer) {
    UpdateMusic();
    uint16_t* dst = draw::Buffer(buffer);
    const uint16_t* saved = draw::Buffer(1);
    if (dst == nullptr || saved == nullptr) return;
    auto inside = [](int column, int row) {
        return column >= 0 && column < kScreenWidth && row >= 0 && row < kScreenHeight;
    };
    int step = rings > 0 ? shade / rings : 0;
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        for (int k = 0; k < rings; ++k) {
            const int b = (k + 1) * step;
            int left = x + k, right = x + width - 1 - k;
            int top = y + k, bottom = y + height - 1 - k;
            for (int column = left; column <= right; ++column) {
                for (int row : {top, bottom}) {
                    if (!inside(column, row)) continue;
                    int at = row * draw::kRow + column;
                    dst[at] = Tinted<L>(saved[at], b, 2 * b, b);
                }
            }
            for (int row = top; row <= bottom; ++row) {
                for (int column : {left, right}) {
                    if (!inside(column, row)) continue;
                    int at = row * draw::kRow + column;
                    dst[at] = Tinted<L>(dst[at], b, 2 * b, b);
                }
            }
        }
    });
    UpdateMusic();
    const int greenShade = 2 * shade;
    draw::Span s = draw::Clip(x + rings, y + rings, width - 2 * rings, height - 2 * rings,
                              kScreenWidth, kScreenHeight);
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        for (int row = s.y0; row < s.y1; ++row) {
            for (int column = s.x0; column < s.x1; ++column) {
                int at = row * draw::kRow + column;
                Channels c = L::Split(saved[at]);
                c.red = c.red > shade ? c.red - shade : 0;
                c.green = c.green - greenShade > 0 ? c.green - greenShade : 0;
                c.blue = c.blue > shade ? c.blue - shade : 0;
                dst[at] = L::Compose(c);
            }
        }
    });
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
