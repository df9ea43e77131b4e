// Test pictures for the engine's drawing tests: PNG files and generated font sheets.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/font.h"
#include "platform/pixels.h"

namespace qv::test {

// An 8-bit RGB image, rows top to bottom.
struct Rgb8Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Rgb8Image(int w, int h, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0)
        : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {
        for (int i = 0; i < w * h; ++i) {
            rgb[3 * i] = r;
            rgb[3 * i + 1] = g;
            rgb[3 * i + 2] = b;
        }
    }
    void Set(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        uint8_t* p = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
};

inline bool WritePng(const std::filesystem::path& path, const Rgb8Image& image) {
    std::filesystem::create_directories(path.parent_path());
    return platform::WritePng(path.string(), image.width, image.height, image.rgb.data());
}

// The identifying colour of the glyph cut n-th (0-based): its top-left pixel.
inline void GlyphMark(int n, uint8_t& r, uint8_t& g, uint8_t& b) {
    r = static_cast<uint8_t>(16 + 8 * (n % 28));
    g = 200;
    b = static_cast<uint8_t>(16 + 8 * (n / 28));
}

// Glyph sizes of the generated sheets: capitals 5 wide, small letters,
// digits and accented letters 4, space 3, punctuation 2; all 8 high except
// the glyphs of the second line, which are 9 high.
inline int SheetGlyphWidth(int n) {
    if (n < 26) return 5;
    if (n < 71) return 4;
    if (n == 71) return 3;
    return 2;
}

struct SheetLayout {
    int glyphsPerLine = 20;
    int lineGap = 1;   // magenta rows between lines
    int glyphGap = 1;  // magenta columns between glyphs
    int sheetWidth = 128;
};

// Writes a font sheet of the first count glyphs of the cut order on magenta:
// each cell black with its mark at the top-left corner and a white pixel at
// its bottom-right; glyph 0 ('A') has a red pixel at (1, 1).
inline bool WriteFontSheet(const std::filesystem::path& path, int count, SheetLayout layout = {}) {
    int lines = (count + layout.glyphsPerLine - 1) / layout.glyphsPerLine;
    int height = 0;
    for (int line = 0; line < lines; ++line) height += (line == 1 ? 9 : 8) + layout.lineGap;
    Rgb8Image sheet(layout.sheetWidth, height + 1, 255, 0, 255);
    int top = 0;
    for (int line = 0; line < lines; ++line) {
        int cellHeight = line == 1 ? 9 : 8;
        int x = 0;
        for (int i = 0; i < layout.glyphsPerLine; ++i) {
            int n = line * layout.glyphsPerLine + i;
            if (n >= count) break;
            int w = SheetGlyphWidth(n);
            for (int yy = 0; yy < cellHeight; ++yy) {
                for (int xx = 0; xx < w; ++xx) sheet.Set(x + xx, top + yy, 0, 0, 0);
            }
            uint8_t r, g, b;
            GlyphMark(n, r, g, b);
            sheet.Set(x, top, r, g, b);
            sheet.Set(x + w - 1, top + cellHeight - 1, 255, 255, 255);
            if (n == 0) sheet.Set(x + 1, top + 1, 255, 0, 0);
            x += w + layout.glyphGap;
        }
        top += cellHeight + layout.lineGap;
    }
    return WritePng(path, sheet);
}

}  // namespace qv::test
