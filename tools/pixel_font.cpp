// Our pixel font: the glyph shapes, the game's font picture and text drawn from it.
#include "tools/pixel_font.h"

#include "tools/canvas.h"

namespace qv::tools {
namespace {

// Rows 0-6 hold capitals and digits, lower case sits on rows 2-6 with
// descenders on 7-8; accents use rows 0-1. Rows not given are blank.
struct RawGlyph {
    int code;
    std::vector<std::string> rows;
};

const std::vector<RawGlyph> kRawGlyphs = {
    {'A', {".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
    {'B', {"###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."}},
    {'C', {".###", "#...", "#...", "#...", "#...", "#...", ".###"}},
    {'D', {"###.", "#..#", "#..#", "#..#", "#..#", "#..#", "###."}},
    {'E', {"####", "#...", "#...", "###.", "#...", "#...", "####"}},
    {'F', {"####", "#...", "#...", "###.", "#...", "#...", "#..."}},
    {'G', {".###", "#...", "#...", "#.##", "#..#", "#..#", ".###"}},
    {'H', {"#..#", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"...#", "...#", "...#", "...#", "#..#", "#..#", ".##."}},
    {'K', {"#..#", "#..#", "#.#.", "##..", "#.#.", "#..#", "#..#"}},
    {'L', {"#...", "#...", "#...", "#...", "#...", "#...", "####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#..#", "##.#", "##.#", "#.##", "#.##", "#..#", "#..#"}},
    {'O', {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'P', {"###.", "#..#", "#..#", "###.", "#...", "#...", "#..."}},
    {'Q', {".##.", "#..#", "#..#", "#..#", "#..#", "#.#.", ".#.#"}},
    {'R', {"###.", "#..#", "#..#", "###.", "#.#.", "#..#", "#..#"}},
    {'S', {".###", "#...", "#...", ".##.", "...#", "...#", "###."}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#..#", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"####", "...#", "...#", "..#.", ".#..", "#...", "####"}},
    {'a', {"...", "...", "##.", "..#", ".##", "#.#", ".##"}},
    {'b', {"#..", "#..", "##.", "#.#", "#.#", "#.#", "##."}},
    {'c', {"...", "...", ".##", "#..", "#..", "#..", ".##"}},
    {'d', {"..#", "..#", ".##", "#.#", "#.#", "#.#", ".##"}},
    {'e', {"...", "...", ".#.", "#.#", "###", "#..", ".##"}},
    // The stem stands in the middle so the bar crosses it: drawn from the left
    // edge it reads as a capital F.
    {'f', {".##", ".#.", "###", ".#.", ".#.", ".#.", ".#."}},
    {'g', {"...", "...", ".##", "#.#", "#.#", "#.#", ".##", "..#", "##."}},
    {'h', {"#..", "#..", "##.", "#.#", "#.#", "#.#", "#.#"}},
    {'i', {"#", ".", "#", "#", "#", "#", "#"}},
    {'j', {".#", "..", ".#", ".#", ".#", ".#", ".#", ".#", "#."}},
    {'k', {"#..", "#..", "#.#", "#.#", "##.", "#.#", "#.#"}},
    {'l', {"#.", "#.", "#.", "#.", "#.", "#.", ".#"}},
    {'m', {".....", ".....", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', {"...", "...", "##.", "#.#", "#.#", "#.#", "#.#"}},
    {'o', {"...", "...", ".#.", "#.#", "#.#", "#.#", ".#."}},
    {'p', {"...", "...", "##.", "#.#", "#.#", "#.#", "##.", "#..", "#.."}},
    {'q', {"...", "...", ".##", "#.#", "#.#", "#.#", ".##", "..#", "..#"}},
    {'r', {"...", "...", "#.#", "##.", "#..", "#..", "#.."}},
    {'s', {"...", "...", ".##", "#..", ".#.", "..#", "##."}},
    {'t', {".#.", ".#.", "###", ".#.", ".#.", ".#.", "..#"}},
    {'u', {"...", "...", "#.#", "#.#", "#.#", "#.#", ".##"}},
    {'v', {"...", "...", "#.#", "#.#", "#.#", ".#.", ".#."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'x', {"...", "...", "#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'y', {"...", "...", "#.#", "#.#", "#.#", "#.#", ".##", "..#", "##."}},
    {'z', {"...", "...", "###", "..#", ".#.", "#..", "###"}},
    {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'2', {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"}},
    {'3', {"###.", "...#", "...#", ".##.", "...#", "...#", "###."}},
    {'4', {"#..#", "#..#", "#..#", "####", "...#", "...#", "...#"}},
    {'5', {"####", "#...", "###.", "...#", "...#", "#..#", ".##."}},
    {'6', {".##.", "#...", "#...", "###.", "#..#", "#..#", ".##."}},
    {'7', {"####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."}},
    {'8', {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."}},
    {'9', {".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."}},
    {'0', {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {231, {"...", "...", ".##", "#..", "#..", "#..", ".##", ".#.", "#.."}},  // c cedilla
    {226, {".#.", "#.#", "##.", "..#", ".##", "#.#", ".##"}},                // a circumflex
    {224, {"#..", ".#.", "##.", "..#", ".##", "#.#", ".##"}},                // a grave
    {233, {"..#", ".#.", ".#.", "#.#", "###", "#..", ".##"}},                // e acute
    {234, {".#.", "#.#", ".#.", "#.#", "###", "#..", ".##"}},                // e circumflex
    {232, {"#..", ".#.", ".#.", "#.#", "###", "#..", ".##"}},                // e grave
    {244, {".#.", "#.#", ".#.", "#.#", "#.#", "#.#", ".#."}},                // o circumflex
    {249, {"#..", ".#.", "#.#", "#.#", "#.#", "#.#", ".##"}},                // u grave
    {251, {".#.", "#.#", "#.#", "#.#", "#.#", "#.#", ".##"}},                // u circumflex
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
    {'!', {"#", "#", "#", "#", "#", ".", "#"}},
    {'"', {"#.#", "#.#"}},
    {'-', {"...", "...", "...", "###"}},
    {'\'', {"#", "#"}},
    {'?', {".##.", "#..#", "...#", "..#.", ".#..", "....", ".#.."}},
    {';', {"..", "..", ".#", "..", "..", ".#", ".#", "#."}},
    {',', {"..", "..", "..", "..", "..", ".#", ".#", "#."}},
    {'.', {".", ".", ".", ".", ".", ".", "#"}},
    {':', {".", ".", "#", ".", ".", ".", "#"}},
    {'(', {".#", "#.", "#.", "#.", "#.", "#.", "#.", ".#"}},
    {')', {"#.", ".#", ".#", ".#", ".#", ".#", ".#", "#."}},
    {'@', {".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".####"}},
};

std::vector<GlyphShape> BuildGlyphs() {
    std::vector<GlyphShape> glyphs;
    for (const RawGlyph& raw : kRawGlyphs) {
        GlyphShape glyph;
        glyph.code = raw.code;
        const size_t inkWidth = raw.rows.empty() ? 0 : raw.rows[0].size();
        for (int r = 0; r < kGlyphRows; ++r) {
            std::string row = r < static_cast<int>(raw.rows.size()) ? raw.rows[r]
                                                                     : std::string(inkWidth, '.');
            row.resize(inkWidth, '.');
            // One clear column on the right spaces the glyphs.
            glyph.rows.push_back(row + ".");
        }
        glyphs.push_back(glyph);
    }
    return glyphs;
}

}  // namespace

const std::vector<GlyphShape>& FontGlyphs() {
    static const std::vector<GlyphShape> kGlyphs = BuildGlyphs();
    return kGlyphs;
}

const GlyphShape* FindGlyph(int code) {
    for (const GlyphShape& glyph : FontGlyphs()) {
        if (glyph.code == code) return &glyph;
    }
    return nullptr;
}

int PixelTextWidth(const std::string& text) {
    int width = 0;
    for (unsigned char c : text) {
        if (const GlyphShape* glyph = FindGlyph(c)) width += glyph->Width();
    }
    return width;
}

bool WriteFontPicture(const std::string& root) {
    constexpr int kPictureWidth = 128;
    // Lay the glyphs out in lines first to know the height.
    struct Place {
        const GlyphShape* glyph;
        int x, y;
    };
    std::vector<Place> places;
    int x = 0, y = 0;
    for (const GlyphShape& glyph : FontGlyphs()) {
        if (x + glyph.Width() > kPictureWidth) {
            x = 0;
            y += kGlyphRows + 1;
        }
        places.push_back({&glyph, x, y});
        x += glyph.Width() + 1;  // one magenta column between glyphs
    }
    Canvas canvas(kPictureWidth, y + kGlyphRows + 1);
    canvas.Clear(Rgb(255, 0, 255));
    for (const Place& place : places) {
        for (int r = 0; r < kGlyphRows; ++r) {
            const std::string& row = place.glyph->rows[r];
            for (int c = 0; c < static_cast<int>(row.size()); ++c) {
                const int v = row[c] == '#' ? 255 : 0;
                canvas.SetPixel(place.x + c, place.y + r, v, v, v);
            }
        }
    }
    return canvas.SavePng(root + "/GFX/GENERAL/NEW FONT.QVB");
}

void DrawPixelText(Canvas& canvas, const std::string& text, int x, int y, int scale, int r, int g,
                   int b) {
    cairo_t* cr = canvas.Cr();
    cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
    cairo_new_path(cr);
    for (unsigned char ch : text) {
        const GlyphShape* glyph = FindGlyph(ch);
        if (glyph == nullptr) continue;
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int col = 0; col < glyph->Width(); ++col) {
                if (glyph->rows[row][col] == '#') {
                    cairo_rectangle(cr, x + col * scale, y + row * scale, scale, scale);
                }
            }
        }
        x += glyph->Width() * scale;
    }
    cairo_fill(cr);
}

void DrawPixelTextCentred(Canvas& canvas, const std::string& text, int cx, int y, int scale, int r,
                          int g, int b) {
    DrawPixelText(canvas, text, cx - PixelTextWidth(text) * scale / 2, y, scale, r, g, b);
}

}  // namespace qv::tools
