// The bitmap font: cutting glyphs from the font picture and measuring text.
#include "engine/font.h"

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/picture_loader.h"

namespace qv {

Font gFont;

const uint8_t Font::kCutOrder[Font::kCutCount] = {
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q',
    'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z',
    'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o', 'p', 'q',
    'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z',
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0',
    231, 226, 224, 233, 234, 232, 244, 249, 251,
    ' ', '!', '"', '-', '\'', '?', ';', ',', '.', ':', '(', ')', '@',
};

Font::~Font() { Free(); }

void Font::Free() {
    for (Glyph& glyph : glyphs_) {
        FreePicture(glyph.picture);
        glyph.present = 0;
    }
    maxHeight_ = 0;
}

bool Font::IsLoaded() const {
    for (const Glyph& glyph : glyphs_) {
        if (glyph.present) return true;
    }
    return false;
}

void Font::Load(const WString& path, bool transparent, bool redKey) {
    Free();
    transparent_ = transparent ? 1 : 0;
    redKey_ = redKey ? 1 : 0;
    Picture sheet;
    LoadPicture(path, sheet, false);
    GlyphCursor cursor;
    for (uint8_t code : kCutOrder) SliceNextGlyph(sheet, cursor, glyphs_[code]);
    FreePicture(sheet);
    int tallest = 0;
    for (int code = 0; code < kGlyphCount - 1; ++code) {
        if (glyphs_[code].picture.height > tallest) tallest = glyphs_[code].picture.height;
    }
    maxHeight_ = static_cast<uint8_t>(tallest > 255 ? 255 : tallest);
}

bool Font::SliceNextGlyph(const Picture& picture, GlyphCursor& cursor, Glyph& record) {
    auto magenta = [&](int column, int row) { return IsSeparatorPixel(column, row, picture); };
    int width = picture.pixels != nullptr ? picture.width : 0;
    int height = picture.pixels != nullptr ? picture.height : 0;
    int column = cursor.column;
    int row = cursor.row;
    if (row < 0 || row >= height) return false;
    if (column < 0) column = 0;
    while (column < width && magenta(column, row)) ++column;
    if (column >= width) {
        // The rest of this line is background: the next line starts below the
        // current one's first glyph and the gap under it.
        while (row < height && !magenta(0, row)) ++row;
        if (row >= height) return false;
        while (row < height && magenta(0, row)) ++row;
        if (row >= height) return false;
        column = 0;
    }
    int glyphWidth = 0;
    while (column + glyphWidth < width && !magenta(column + glyphWidth, row)) ++glyphWidth;
    int glyphHeight = 0;
    while (row + glyphHeight < height && !magenta(column, row + glyphHeight)) ++glyphHeight;
    if (glyphWidth > 255) glyphWidth = 255;
    if (glyphHeight > 255) glyphHeight = 255;

    FreePicture(record.picture);
    CutPicture(record.picture, picture, column, row, glyphWidth, glyphHeight);
    if (redKey_) KeyRedPixels(record.picture, glyphWidth, glyphHeight);
    record.present = 1;
    cursor.column = column + glyphWidth;
    cursor.row = row;
    return true;
}

Picture Font::GetGlyph(int code) const {
    // Code 255 never names a glyph, whatever the picture held.
    if (code < 0 || code >= kGlyphCount - 1 || !glyphs_[code].present) return {};
    return glyphs_[code].picture;
}

int16_t Font::TextWidth(const WString& text) const {
    int width = 0;
    for (char16_t c : text) width += GlyphWidth(c);
    return static_cast<int16_t>(width);
}

}  // namespace qv
