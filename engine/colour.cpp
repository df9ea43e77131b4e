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

// A pixel's channels in lanes of type T: int16_t wherever every value of an
// operation fits, which lets the compiler work on many pixels at once; int
// for amounts too large for that.
template <typename T>
struct Lanes {
    T red;
    T green;
    T blue;
};

template <typename T>
T ClampTo(T value, int low, int high) {
    value = value < low ? static_cast<T>(low) : value;
    return value > high ? static_cast<T>(high) : value;
}

// One pixel format's channel fields, for loops that split and join pixels
// inline. kGammaShift: how far an 8-bit amount is shifted to each channel's
// width.
template <int kRedShift, int kGreenShift, int kRedMax, int kGreenMax, int kBlueMax, int kRedGamma, int kGreenGamma,
          int kBlueGamma>
struct Layout {
    static constexpr Channels kMax{kRedMax, kGreenMax, kBlueMax};
    static constexpr Channels kGammaShift{kRedGamma, kGreenGamma, kBlueGamma};
    template <typename T>
    static Lanes<T> Split(uint16_t p) {
        return {static_cast<T>((p >> kRedShift) & kRedMax), static_cast<T>((p >> kGreenShift) & kGreenMax),
                static_cast<T>(p & kBlueMax)};
    }
    template <typename T>
    static uint16_t Compose(Lanes<T> c) {
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
    template <typename T>
    static Lanes<T> Split(uint16_t) {
        return {};
    }
    template <typename T>
    static uint16_t Compose(Lanes<T>) {
        return 0;
    }
};

Channels Widen(Lanes<int> c) { return {c.red, c.green, c.blue}; }
Lanes<int> Narrow(Channels c) { return {c.red, c.green, c.blue}; }

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

// Runs op with a lane type (a value of it) in which a channel plus or minus
// twice the amount still fits.
template <typename Op>
void WithLanesFor(int amount, Op op) {
    if (amount >= -8192 && amount <= 8192) {
        op(int16_t{0});
    } else {
        op(int{0});
    }
}

// Green counts twice in 5-6-5, where it has one bit more.
template <typename L>
constexpr int kGreenFactor = L::kMax.green == 63 ? 2 : 1;

template <typename L, typename T>
uint16_t Tinted(uint16_t pixel, T red, T green, T blue) {
    Lanes<T> c = L::template Split<T>(pixel);
    c.red = ClampTo<T>(static_cast<T>(c.red + red), 0, L::kMax.red);
    c.green = ClampTo<T>(static_cast<T>(c.green + green), 0, L::kMax.green);
    c.blue = ClampTo<T>(static_cast<T>(c.blue + blue), 0, L::kMax.blue);
    return L::Compose(c);
}

// Arithmetic shifts, as the Gamma offset is applied everywhere; every
// channel stays within its field, also for a negative amount.
template <typename L, typename T>
uint16_t Brightened(uint16_t colour, int amount) {
    return Tinted<L, T>(colour, static_cast<T>(amount >> L::kGammaShift.red),
                        static_cast<T>(amount >> L::kGammaShift.green), static_cast<T>(amount >> L::kGammaShift.blue));
}

// Each channel less the amount, 0 at least.
template <typename L, typename T>
uint16_t Darkened(uint16_t pixel, T amount, T greenAmount) {
    Lanes<T> c = L::template Split<T>(pixel);
    c.red = c.red > amount ? static_cast<T>(c.red - amount) : T{0};
    c.green = c.green > greenAmount ? static_cast<T>(c.green - greenAmount) : T{0};
    c.blue = c.blue > amount ? static_cast<T>(c.blue - amount) : T{0};
    return L::Compose(c);
}

// Pixels sixteen at a time through a loop of known length, which the
// compiler turns into vector operations, then the rest one by one.
constexpr int kChunk = 16;

// Runs op on every pixel of a row of count pixels: to[i] = op(to[i]) (or of
// from[i] and to[i]).
template <typename Op>
void RowInPlace(uint16_t* to, int count, Op op) {
    int i = 0;
    for (; i + kChunk <= count; i += kChunk) {
        uint16_t* q = to + i;
        for (int k = 0; k < kChunk; ++k) q[k] = op(q[k]);
    }
    for (; i < count; ++i) to[i] = op(to[i]);
}
template <typename Op>
void RowFrom(const uint16_t* from, uint16_t* to, int count, Op op) {
    int i = 0;
    for (; i + kChunk <= count; i += kChunk) {
        const uint16_t* p = from + i;
        uint16_t* q = to + i;
        for (int k = 0; k < kChunk; ++k) q[k] = op(p[k], q[k]);
    }
    for (; i < count; ++i) to[i] = op(from[i], to[i]);
}

// Runs op on every pixel of the clipped rectangle of the buffer.
template <typename Op>
void ForEachPixel(int x, int y, int width, int height, int8_t buffer, Op op) {
    uint16_t* pixels = draw::Buffer(buffer);
    if (pixels == nullptr) return;
    draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
    for (int row = s.y0; row < s.y1; ++row) RowInPlace(pixels + row * draw::kRow + s.x0, s.x1 - s.x0, op);
}

}  // namespace

Channels SplitRgb565(uint16_t p) { return Widen(Layout565::Split<int>(p)); }
Channels SplitRgb555(uint16_t p) { return Widen(Layout555::Split<int>(p)); }
Channels SplitRgb444(uint16_t p) { return Widen(Layout444::Split<int>(p)); }

uint16_t ComposeRgb565(Channels c) { return Layout565::Compose(Narrow(c)); }
uint16_t ComposeRgb555(Channels c) { return Layout555::Compose(Narrow(c)); }
uint16_t ComposeRgb444(Channels c) { return Layout444::Compose(Narrow(c)); }

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
    return WithLayout([&](auto layout) { return Widen(decltype(layout)::template Split<int>(pixel)); });
}

uint16_t ComposePixel(Channels c) {
    return WithLayout([&](auto layout) { return decltype(layout)::Compose(Narrow(c)); });
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
    return WithLayout([&](auto layout) { return Tinted<decltype(layout), int>(pixel, red, green, blue); });
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
    // At most 32 channel units: 16-bit lanes always hold the sums.
    const auto r16 = static_cast<int16_t>(r), g16 = static_cast<int16_t>(g), b16 = static_cast<int16_t>(b);
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        ForEachPixel(x, y, width, height, buffer, [&](uint16_t p) { return Tinted<L, int16_t>(p, r16, g16, b16); });
    });
}

void DarkenRect(int x, int y, int width, int height, int amount, int8_t buffer) {
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        WithLanesFor(amount * kGreenFactor<L>, [&](auto lane) {
            using T = decltype(lane);
            const auto a = static_cast<T>(amount), greenAmount = static_cast<T>(amount * kGreenFactor<L>);
            ForEachPixel(x, y, width, height, buffer, [&](uint16_t p) { return Darkened<L, T>(p, a, greenAmount); });
        });
    });
}

void BlendRectToward(int x, int y, int width, int height, int amount, int8_t modified,
                     int8_t target) {
    uint16_t* dst = draw::Buffer(modified);
    const uint16_t* goal = draw::Buffer(target);
    if (dst == nullptr || goal == nullptr) return;
    draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        WithLanesFor(amount * kGreenFactor<L>, [&](auto lane) {
            using T = decltype(lane);
            const auto a = static_cast<T>(amount), greenAmount = static_cast<T>(amount * kGreenFactor<L>);
            auto blend = [&](uint16_t goalPixel, uint16_t pixel) {
                Lanes<T> c = L::template Split<T>(pixel);
                const Lanes<T> t = L::template Split<T>(goalPixel);
                c.red = c.red + a < t.red ? static_cast<T>(c.red + a) : t.red;
                c.green = c.green + greenAmount < t.green ? static_cast<T>(c.green + greenAmount) : t.green;
                c.blue = c.blue + a < t.blue ? static_cast<T>(c.blue + a) : t.blue;
                return L::Compose(c);
            };
            for (int row = s.y0; row < s.y1; ++row) {
                const int at = row * draw::kRow + s.x0;
                RowFrom(goal + at, dst + at, s.x1 - s.x0, blend);
            }
        });
    });
}

void GreyBuffer(int8_t buffer) {
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        ForEachPixel(0, 0, kScreenWidth, kScreenHeight, buffer, [](uint16_t p) {
            const Lanes<int16_t> c = L::template Split<int16_t>(p);
            if (kGreenFactor<L> == 2) {
                const auto a = static_cast<int16_t>((c.red + c.green / 2 + c.blue) / 3);
                return L::Compose(Lanes<int16_t>{a, static_cast<int16_t>(2 * a), a});
            }
            const auto a = static_cast<int16_t>((c.red + c.green + c.blue) / 3);
            return L::Compose(Lanes<int16_t>{a, a, a});
        });
    });
}

uint16_t BrightenColour(uint16_t colour, int amount) {
    return WithLayout([&](auto layout) { return Brightened<decltype(layout), int>(colour, amount); });
}

void BrightenBuffer(int8_t source, int8_t target, int amount) {
    const uint16_t* from = draw::Buffer(source);
    uint16_t* to = draw::Buffer(target);
    if (from == nullptr || to == nullptr) return;
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        WithLanesFor(amount, [&](auto lane) {
            using T = decltype(lane);
            RowFrom(from, to, static_cast<int>(gScreenPixelCount),
                    [&](uint16_t p, uint16_t) { return Brightened<L, T>(p, amount); });
        });
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
                    dst[at] = Tinted<L, int>(saved[at], b, 2 * b, b);
                }
            }
            for (int row = top; row <= bottom; ++row) {
                for (int column : {left, right}) {
                    if (!inside(column, row)) continue;
                    int at = row * draw::kRow + column;
                    dst[at] = Tinted<L, int>(dst[at], b, 2 * b, b);
                }
            }
        }
    });
    UpdateMusic();
    // Green loses twice the shade in every format here.
    draw::Span s = draw::Clip(x + rings, y + rings, width - 2 * rings, height - 2 * rings,
                              kScreenWidth, kScreenHeight);
    WithLayout([&](auto layout) {
        using L = decltype(layout);
        WithLanesFor(2 * shade, [&](auto lane) {
            using T = decltype(lane);
            const auto a = static_cast<T>(shade), greenShade = static_cast<T>(2 * shade);
            for (int row = s.y0; row < s.y1; ++row) {
                const int at = row * draw::kRow + s.x0;
                RowFrom(saved + at, dst + at, s.x1 - s.x0,
                        [&](uint16_t p, uint16_t) { return Darkened<L, T>(p, a, greenShade); });
            }
        });
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
