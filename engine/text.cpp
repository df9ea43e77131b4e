// Drawing text in a bitmap font into a back buffer.
#include "engine/blit.h"
#include "engine/font.h"

namespace qv {
namespace {

void DrawGlyphs(const WString& text, int x, int y, const Font& font, bool masked,
                uint16_t colour, int8_t buffer) {
    bool keyed = font.IsTransparent();
    for (char16_t c : text) {
        Picture glyph = font.GetGlyph(c & 0xFF);
        if (glyph.pixels != nullptr) {
            if (masked) {
                if (keyed) BlitPictureKeyedMasked(x, y, glyph, colour, buffer);
                else BlitPictureMasked(x, y, glyph, colour, buffer);
            } else if (keyed) {
                BlitPictureKeyed(x, y, glyph, buffer);
            } else {
                BlitPicture(x, y, glyph, buffer);
            }
        }
        x += glyph.width;
    }
}

}  // namespace

void DrawText(const WString& text, int x, int y, const Font& font, int8_t buffer) {
    DrawGlyphs(text, x, y, font, false, 0xFFFF, buffer);
}

void DrawColouredText(const WString& text, int x, int y, const Font& font, int colourIndex,
                      int8_t buffer) {
    if (colourIndex < 0 || colourIndex >= kTextColourCount) {
        DrawGlyphs(text, x, y, font, false, 0xFFFF, buffer);
        return;
    }
    DrawGlyphs(text, x, y, font, true, TextColour(colourIndex), buffer);
}

}  // namespace qv
