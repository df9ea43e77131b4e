// Our pixel font: the glyph shapes, the game's font picture and text drawn from it.
#pragma once

#include <string>
#include <vector>

namespace qv::tools {

class Canvas;

inline constexpr int kGlyphRows = 9;

struct GlyphShape {
    int code = 0;                   // Latin-1 character code
    std::vector<std::string> rows;  // kGlyphRows rows of '#' (ink) and '.' (clear)
    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
};

// The 84 glyphs in the order the game cuts them from the font picture.
const std::vector<GlyphShape>& FontGlyphs();
// The glyph of a code, or nullptr when the font has none.
const GlyphShape* FindGlyph(int code);
// The pen advance of a Latin-1 text: ink width plus one spacing column per glyph.
int PixelTextWidth(const std::string& text);

// Writes "GFX/GENERAL/NEW FONT.QVB" below root: white strokes on black cells
// separated by magenta. False on failure.
bool WriteFontPicture(const std::string& root);

// Draws text with the glyphs scaled by an integer factor; ink only, no cell
// background. (x, y) is the top-left of the first cell.
void DrawPixelText(Canvas& canvas, const std::string& text, int x, int y, int scale,
                   int r, int g, int b);
// As DrawPixelText, centred on cx.
void DrawPixelTextCentred(Canvas& canvas, const std::string& text, int cx, int y, int scale,
                          int r, int g, int b);

}  // namespace qv::tools
