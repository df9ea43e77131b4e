// Picture blits, buffer copies, grabs and fills on one clipped copy routine.
#include "engine/blit.h"

#include <cstring>

#include "engine/display.h"
#include "engine/draw_internal.h"

namespace qv {
namespace {

// Pixels row by row, a row being width pixels.
struct Surface {
    uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

Surface OfPicture(const Picture& picture) {
    if (picture.pixels == nullptr) return {};
    return {picture.pixels, picture.width, picture.height};
}

Surface OfBuffer(int8_t index) {
    uint16_t* pixels = draw::Buffer(index);
    if (pixels == nullptr) return {};
    return {pixels, kScreenWidth, kScreenHeight};
}

enum class Mode { kOpaque, kKeyed, kMasked, kKeyedMasked };

// to[i] = op(from[i], to[i]) along a row: sixteen pixels at a time through a
// loop of known length, which the compiler turns into vector operations (a
// keyed pixel is written back as it was), then the rest one by one.
template <typename Op>
void CopyRow(const uint16_t* from, uint16_t* to, int count, Op op) {
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const uint16_t* p = from + i;
        uint16_t* q = to + i;
        for (int k = 0; k < 16; ++k) q[k] = op(p[k], q[k]);
    }
    for (; i < count; ++i) to[i] = op(from[i], to[i]);
}

// Copies the rectangle (sx, sy, width, height) of the source to (dx, dy) of
// the destination, keeping only what lies inside both.
void Copy(const Surface& src, int sx, int sy, int width, int height, const Surface& dst, int dx,
          int dy, Mode mode = Mode::kOpaque, uint16_t colour = 0xFFFF) {
    if (src.pixels == nullptr || dst.pixels == nullptr || width <= 0 || height <= 0) return;
    // Clip against the source, then against the destination.
    if (sx < 0) { dx -= sx; width += sx; sx = 0; }
    if (sy < 0) { dy -= sy; height += sy; sy = 0; }
    if (sx + width > src.width) width = src.width - sx;
    if (sy + height > src.height) height = src.height - sy;
    if (dx < 0) { sx -= dx; width += dx; dx = 0; }
    if (dy < 0) { sy -= dy; height += dy; dy = 0; }
    if (dx + width > dst.width) width = dst.width - dx;
    if (dy + height > dst.height) height = dst.height - dy;
    if (width <= 0 || height <= 0) return;
    uint16_t key = gTransparentKey;
    for (int row = 0; row < height; ++row) {
        const uint16_t* from = src.pixels + (sy + row) * src.width + sx;
        uint16_t* to = dst.pixels + (dy + row) * dst.width + dx;
        switch (mode) {
            case Mode::kOpaque:
                std::memmove(to, from, static_cast<size_t>(width) * sizeof(uint16_t));
                break;
            case Mode::kKeyed:
                CopyRow(from, to, width, [key](uint16_t p, uint16_t q) { return p != key ? p : q; });
                break;
            case Mode::kMasked:
                CopyRow(from, to, width, [colour](uint16_t p, uint16_t) { return static_cast<uint16_t>(p & colour); });
                break;
            case Mode::kKeyedMasked:
                CopyRow(from, to, width, [key, colour](uint16_t p, uint16_t q) {
                    return p != key ? static_cast<uint16_t>(p & colour) : q;
                });
                break;
        }
    }
}

void BlitWhole(int x, int y, const Picture& picture, int8_t buffer, Mode mode,
               uint16_t colour = 0xFFFF) {
    Copy(OfPicture(picture), 0, 0, picture.width, picture.height, OfBuffer(buffer), x, y, mode,
         colour);
}

// A new picture of the size with every pixel gTransparentKey; a size of 0
// still owns one pixel so that it is freed like any other.
Picture NewPicture(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width > 0xFFFF) width = 0xFFFF;
    if (height > 0xFFFF) height = 0xFFFF;
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    Picture picture;
    picture.width = static_cast<uint16_t>(width);
    picture.height = static_cast<uint16_t>(height);
    picture.pixels = new uint16_t[count > 0 ? count : 1];
    for (size_t i = 0; i < (count > 0 ? count : 1); ++i) picture.pixels[i] = gTransparentKey;
    return picture;
}

}  // namespace

void BlitPicture(int x, int y, const Picture& picture, int8_t buffer) {
    BlitWhole(x, y, picture, buffer, Mode::kOpaque);
}

void BlitPictureKeyed(int x, int y, const Picture& picture, int8_t buffer) {
    BlitWhole(x, y, picture, buffer, Mode::kKeyed);
}

void BlitPictureColumns(int x, int y, const Picture& picture, int first, int count,
                        int8_t buffer) {
    Copy(OfPicture(picture), first, 0, count, picture.height, OfBuffer(buffer), x, y);
}

void BlitSubRect240(int x, int y, int first, int count, int8_t buffer, const Picture& picture) {
    Copy(OfPicture(picture), first, 0, count, picture.height, OfBuffer(buffer), x, y);
}

void BlitSubRectKeyed240(int x, int y, int first, int count, int8_t buffer,
                         const Picture& picture) {
    Copy(OfPicture(picture), first, 0, count, picture.height, OfBuffer(buffer), x, y,
         Mode::kKeyed);
}

void BlitRect240(int sourceX, int sourceY, int width, int height, int x, int y,
                 const Picture& picture, int8_t buffer) {
    Copy(OfPicture(picture), sourceX, sourceY, width, height, OfBuffer(buffer), x, y);
}

void RestoreRect(int x, int y, int width, int height, const Picture& picture, int8_t buffer) {
    Copy(OfPicture(picture), x, y, width, height, OfBuffer(buffer), x, y);
}

void BlitFullScreen(const Picture& picture, int8_t buffer) {
    Copy(OfPicture(picture), 0, 0, kScreenWidth, kScreenHeight, OfBuffer(buffer), 0, 0);
}

void BlitRows(int row, const Picture& picture, int8_t buffer) {
    Copy(OfPicture(picture), 0, 0, picture.width, picture.height, OfBuffer(buffer), 0, row);
}

void CopyPictureRow(int row, const Picture& picture, int8_t buffer) {
    Copy(OfPicture(picture), 0, row, picture.width, 1, OfBuffer(buffer), 0, row);
}

void BlitPictureMasked(int x, int y, const Picture& picture, uint16_t colour, int8_t buffer) {
    BlitWhole(x, y, picture, buffer, Mode::kMasked, colour);
}

void BlitPictureKeyedMasked(int x, int y, const Picture& picture, uint16_t colour,
                            int8_t buffer) {
    BlitWhole(x, y, picture, buffer, Mode::kKeyedMasked, colour);
}

void BlitScaled(int x0, int y0, int x1, int y1, const Picture& picture, int x, int y, int width,
                int height, bool keyed) {
    if (width <= 0 || height <= 0) return;
    Surface scratch = OfBuffer(1);
    Surface target = OfBuffer(0);
    if (scratch.pixels == nullptr || target.pixels == nullptr) return;
    Copy(OfPicture(picture), 0, 0, picture.width, picture.height, scratch, 0, 0);
    // The source may only be read where the picture was copied.
    int sourceW = picture.width < kScreenWidth ? picture.width : kScreenWidth;
    int sourceH = picture.height < kScreenHeight ? picture.height : kScreenHeight;
    if (picture.pixels == nullptr) return;
    long long dx = x1 - x0;
    long long dy = y1 - y0;
    uint16_t key = gTransparentKey;
    for (int i = 0; i < height; ++i) {
        int ty = y + i;
        if (ty < 0 || ty >= kScreenHeight) continue;
        // Integer division truncates exactly as the single-precision quotient does here.
        long long sy = i * dy / height;
        if (sy < 0 || sy >= sourceH) continue;
        for (int j = 0; j < width; ++j) {
            int tx = x + j;
            if (tx < 0 || tx >= kScreenWidth) continue;
            long long sx = j * dx / width;
            if (sx < 0 || sx >= sourceW) continue;
            uint16_t p = scratch.pixels[sy * draw::kRow + sx];
            if (keyed && p == key) continue;
            target.pixels[ty * draw::kRow + tx] = p;
        }
    }
}

void CopyBuffer(int8_t source, int8_t destination) {
    if (source == destination) return;
    Copy(OfBuffer(source), 0, 0, kScreenWidth, kScreenHeight, OfBuffer(destination), 0, 0);
}

void CopyRows(int8_t source, int8_t destination, int firstRow, int rowCount) {
    Copy(OfBuffer(source), 0, firstRow, kScreenWidth, rowCount, OfBuffer(destination), 0,
         firstRow);
}

void CopyRect240(int x, int y, int width, int height, int8_t destination, int8_t source) {
    if (source == destination) return;
    Copy(OfBuffer(source), x, y, width, height, OfBuffer(destination), x, y);
}

void GrabRect(Picture& out, int x, int y, int width, int height, int8_t buffer) {
    out = NewPicture(width, height);
    Copy(OfBuffer(buffer), x, y, out.width, out.height, OfPicture(out), 0, 0);
}

void GrabRectInto(int x, int y, int8_t buffer, const Picture& picture) {
    Copy(OfBuffer(buffer), x, y, picture.width, picture.height, OfPicture(picture), 0, 0);
}

void CutPicture(Picture& out, const Picture& source, int x, int y, int width, int height) {
    out = NewPicture(width, height);
    Copy(OfPicture(source), x, y, out.width, out.height, OfPicture(out), 0, 0);
}

void CopyPictureRectInto(int x, int y, const Picture& source, const Picture& target) {
    if (target.height == 0 || source.pixels == target.pixels) return;
    Copy(OfPicture(source), x, y, target.width, target.height, OfPicture(target), 0, 0);
}

void FillRect(int x, int y, int width, int height, uint16_t colour, int8_t buffer) {
    uint16_t* pixels = draw::Buffer(buffer);
    if (pixels == nullptr) return;
    draw::Span s = draw::Clip(x, y, width, height, kScreenWidth, kScreenHeight);
    for (int row = s.y0; row < s.y1; ++row) {
        for (int column = s.x0; column < s.x1; ++column) pixels[row * draw::kRow + column] = colour;
    }
}

}  // namespace qv
