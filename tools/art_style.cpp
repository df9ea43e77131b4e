// The shared look of every picture: night-club palette, panels, buttons and titles.
#include "tools/art_style.h"

#include <algorithm>
#include <cmath>

#include "tools/pixel_font.h"
#include "tools/rng.h"

namespace qv::tools {

void DrawButton(Canvas& canvas, int x, int y, int w, int h, const std::string& label, bool pressed) {
    cairo_t* cr = canvas.Cr();
    const Colour top = pressed ? Rgb(232, 110, 190) : Rgb(88, 56, 140);
    const Colour bottom = pressed ? Rgb(150, 40, 120) : Rgb(46, 28, 84);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    canvas.FillRect(x, y, w, h, Rgb(24, 18, 40));
    canvas.RoundedRect(x + 0.5, y + 0.5, w - 1, h - 1, std::min(4, h / 3));
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(pattern, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(pattern, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, pattern);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pattern);
    canvas.SetSource(pressed ? palette::kCream : palette::kGold);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
    const int shift = pressed ? 1 : 0;
    const int textY = y + (h - 7) / 2 + shift;
    const int cx = x + w / 2 + shift;
    // The font has no '<', '>' or '+', nor a mark for the blank: those labels
    // are drawn as shapes.
    if (label == "<" || label == ">" || label == "+" || label == " ") {
        const Colour ink = pressed ? Rgb(255, 250, 230) : Rgb(240, 214, 120);
        const double cy = y + h / 2.0 + shift, size = std::min(w, h) * 0.3;
        cairo_new_path(cr);
        if (label == " ") {
            // An open box, as keyboards mark the space.
            canvas.FillRect(cx - size - 1, cy + 1, 2 * size + 2, 1, ink);
            canvas.FillRect(cx - size - 1, cy - 1, 1, 2, ink);
            canvas.FillRect(cx + size, cy - 1, 1, 2, ink);
            return;
        }
        if (label == "+") {
            canvas.FillRect(cx - size, cy - 1, 2 * size, 2, ink);
            canvas.FillRect(cx - 1, cy - size, 2, 2 * size, ink);
            return;
        }
        const double dir = label == ">" ? 1 : -1;
        cairo_move_to(cr, cx + dir * size, cy);
        cairo_line_to(cr, cx - dir * size * 0.7, cy - size);
        cairo_line_to(cr, cx - dir * size * 0.7, cy + size);
        cairo_close_path(cr);
        canvas.SetSource(ink);
        cairo_fill(cr);
        return;
    }
    DrawPixelTextCentred(canvas, label, cx + 1, textY + 1, 1, 30, 16, 40);
    if (pressed) {
        DrawPixelTextCentred(canvas, label, cx, textY, 1, 255, 250, 230);
    } else {
        DrawPixelTextCentred(canvas, label, cx, textY, 1, 240, 214, 120);
    }
}

bool WriteButtonPicture(const std::string& path, int w, int h, const std::string& label,
                        bool pressed) {
    Canvas canvas(w, h);
    DrawButton(canvas, 0, 0, w, h, label, pressed);
    return SaveOpaque(canvas, path);
}

void DrawPanel(Canvas& canvas, int x, int y, int w, int h, Colour fill, Colour border) {
    cairo_t* cr = canvas.Cr();
    canvas.RoundedRect(x + 0.5, y + 0.5, w - 1, h - 1, 3);
    canvas.SetSource(fill);
    cairo_fill_preserve(cr);
    canvas.SetSource(border);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void DrawNightBackdrop(Canvas& canvas, int x, int y, int w, int h, unsigned seed) {
    canvas.VerticalGradient(x, y, w, h, palette::kNight, palette::kDusk);
    Rng rng(seed);
    for (int i = 0; i < w * h / 900; ++i) {
        const int sx = x + rng.Below(w), sy = y + rng.Below(std::max(1, h * 2 / 3));
        const int v = rng.Range(120, 230);
        canvas.SetPixel(sx, sy, v, v, std::min(255, v + 20));
    }
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* glow = cairo_pattern_create_radial(x + w / 2.0, y + h, 0, x + w / 2.0, y + h,
                                                        h * 0.8);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.55, 0.2, 0.6, 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.55, 0.2, 0.6, 0.0);
    cairo_set_source(cr, glow);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

void DrawNeonText(Canvas& canvas, const std::string& text, int cx, int y, int scale, Colour ink,
                  Colour glow) {
    const auto channel = [](double v) { return static_cast<int>(std::lround(v * 255)); };
    const Colour halo = Mix(glow, Rgb(0, 0, 0), 0.45);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            DrawPixelTextCentred(canvas, text, cx + dx * std::max(1, scale / 2),
                                 y + dy * std::max(1, scale / 2), scale, channel(halo.r),
                                 channel(halo.g), channel(halo.b));
        }
    }
    DrawPixelTextCentred(canvas, text, cx + 1, y + 1, scale, channel(glow.r), channel(glow.g),
                         channel(glow.b));
    DrawPixelTextCentred(canvas, text, cx, y, scale, channel(ink.r), channel(ink.g), channel(ink.b));
}

bool SaveOpaque(Canvas& canvas, const std::string& path) {
    canvas.KeepAwayFromBlack(0, 0, canvas.Width(), canvas.Height());
    canvas.AvoidSpecialColours();
    return canvas.SavePng(path);
}

bool SaveKeyed(Canvas& canvas, const std::string& path) {
    canvas.SnapNearBlackToKey();
    canvas.AvoidSpecialColours();
    return canvas.SavePng(path);
}

}  // namespace qv::tools
