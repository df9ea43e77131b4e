// The bitmap font cut from the font picture, and its one instance gFont.
#pragma once

#include <cstdint>

#include "engine/picture.h"
#include "platform/types.h"

namespace qv {

// Where the slicer stands in the font picture.
struct GlyphCursor {
    int column = 0;
    int row = 0;
};

// One glyph: its picture (height, width, pixels owned by the font) and
// whether it was cut from the font picture.
struct Glyph {
    Picture picture;
    uint8_t present = 0;
};

class Font {
public:
    static constexpr int kGlyphCount = 256;
    static constexpr int kCutCount = 84;
    // The character codes in the order their glyphs lie in the picture.
    static const uint8_t kCutOrder[kCutCount];

    Font() = default;
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Cuts the glyphs from the picture at the full path (dither off). A
    // missing picture leaves every glyph absent.
    void Load(const WString& path, bool transparent, bool redKey);
    // Cuts the next glyph at or after the cursor into the record and moves
    // the cursor past it; false (record and cursor untouched) when the
    // picture holds no further glyph.
    bool SliceNextGlyph(const Picture& picture, GlyphCursor& cursor, Glyph& record);
    // The glyph's picture; 0 x 0 without pixels for an absent glyph (code 255 always).
    Picture GetGlyph(int code) const;
    // The width of the glyph of the character's low byte (0 when absent).
    int GlyphWidth(char16_t c) const { return GetGlyph(c & 0xFF).width; }
    // The tallest glyph's height: the line height.
    uint16_t GetHeight() const { return maxHeight_; }
    // Sum of the glyph widths of the characters' low bytes.
    int16_t TextWidth(const WString& text) const;
    bool IsTransparent() const { return transparent_ != 0; }
    // Whether any glyph was cut (false before Load and after a failed one).
    bool IsLoaded() const;
    // Frees every glyph.
    void Free();

private:
    Glyph glyphs_[kGlyphCount];
    uint8_t maxHeight_ = 0;
    uint8_t transparent_ = 0;
    uint8_t redKey_ = 0;
};

extern Font gFont;

}  // namespace qv
