// Match pictures: the board screen, the zoom button, the who-starts wheel and the banners.
#include "tools/match_art.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/pixel_font.h"

namespace qv::tools {
namespace {

constexpr int kZoomX = 2, kZoomY = 231, kZoomW = 32, kZoomH = 16;

void DrawSlot(Canvas& canvas, int x, int y, int w, int h) {
    canvas.FillRect(x - 1, y - 1, w + 2, h + 2, Rgb(20, 40, 44));
    canvas.FillRect(x, y, w, h, Rgb(38, 70, 76));
    cairo_t* cr = canvas.Cr();
    canvas.SetSource(Rgb(70, 118, 120));
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x + 2.5, y + 2.5, w - 5, h - 5);
    cairo_stroke(cr);
}

bool WriteBoard(const std::string& root) {
    Canvas board(240, 320);
    // Felt of the card table, a little lighter in the middle.
    board.VerticalGradient(0, 0, 240, 320, Rgb(28, 50, 58), Rgb(22, 30, 48));
    cairo_t* cr = board.Cr();
    cairo_pattern_t* light = cairo_pattern_create_radial(120, 116, 10, 120, 116, 170);
    cairo_pattern_add_color_stop_rgba(light, 0, 0.4, 0.7, 0.7, 0.25);
    cairo_pattern_add_color_stop_rgba(light, 1, 0.4, 0.7, 0.7, 0.0);
    cairo_set_source(cr, light);
    cairo_paint(cr);
    cairo_pattern_destroy(light);
    // Board frame.
    board.SetSource(palette::kGold);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, 239, 229);
    cairo_stroke(cr);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 6; ++c) DrawSlot(board, 40 * c + 4, 58 * r + 4, 32, 50);
    }
    // Lower panel: message line, zoom button, pile and hand.
    board.FillRect(0, 230, 240, 90, Rgb(34, 22, 56));
    board.FillRect(36, 230, 204, 1, palette::kPink);  // stops short of the zoom button
    DrawPanel(board, 35, 235, 198, 13, Rgb(18, 14, 30), Rgb(18, 14, 30));
    board.FillRect(35, 235, 198, 13, Rgb(18, 14, 30));
    DrawButton(board, kZoomX, kZoomY, kZoomW, kZoomH, "ZOOM", false);
    DrawPanel(board, 9, 255, 40, 58, Rgb(26, 18, 44), palette::kViolet);
    board.FillRect(11, 257, 36, 54, Rgb(40, 30, 66));
    DrawPixelTextCentred(board, "PILE", 29, 280, 1, 150, 120, 200);
    for (int s = 0; s < 5; ++s) DrawSlot(board, 62 + 35 * s, 264, 32, 50);
    return SaveOpaque(board, root + "/GFX/GENERAL/BoardUI.QVG") &&
           WriteButtonPicture(root + "/GFX/GENERAL/BoardUIZoomON.QVG", kZoomW, kZoomH, "ZOOM", true);
}

// One wheel frame: the red half faces the pointer on frame 1, the blue half on 13.
bool WriteWheelFrame(const std::string& root, int frame) {
    Canvas wheel(120, 120);
    cairo_t* cr = wheel.Cr();
    const double angle = (frame - 1) * M_PI / 12;  // 15 degrees a frame
    const double cx = 60, cy = 64, r = 52;
    wheel.FillCircle(cx, cy, r + 3, palette::kGold);
    for (int sector = 0; sector < 12; ++sector) {
        // Sectors 0-5 are red, centred on the top at angle 0.
        const double a0 = -M_PI / 2 - M_PI / 2 + sector * M_PI / 6 + angle;
        const bool red = sector < 6;
        const Colour base = red ? palette::kRedSide : palette::kBlueSide;
        cairo_move_to(cr, cx, cy);
        cairo_arc(cr, cx, cy, r, a0, a0 + M_PI / 6);
        cairo_close_path(cr);
        wheel.SetSource(sector % 2 == 0 ? base : Mix(base, Rgb(255, 255, 255), 0.18));
        cairo_fill(cr);
    }
    wheel.SetSource(Rgb(250, 240, 220));
    cairo_set_line_width(cr, 1);
    for (int k = 0; k < 2; ++k) {
        const double a = -M_PI + angle + k * M_PI;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    cairo_stroke(cr);
    wheel.FillCircle(cx, cy, 9, palette::kGold);
    wheel.FillCircle(cx, cy, 6, Rgb(60, 40, 30));
    // The pointer at the top never turns.
    cairo_move_to(cr, cx - 7, 1);
    cairo_line_to(cr, cx + 7, 1);
    cairo_line_to(cr, cx, 16);
    cairo_close_path(cr);
    wheel.SetSource(palette::kCream);
    cairo_fill_preserve(cr);
    wheel.SetSource(Rgb(90, 60, 40));
    cairo_stroke(cr);
    return SaveKeyed(wheel, root + "/GFX/GENERAL/" + std::to_string(frame) + ".QVG");
}

bool WriteBanner(const std::string& path, int w, int h, const std::string& text, int scale,
                 Colour ink, Colour glow) {
    Canvas banner(w, h);
    const int textHeight = 7 * scale;
    if (w == 240) {
        banner.FillRect(0, 2, w, 3, glow);
        banner.FillRect(0, h - 5, w, 3, glow);
    }
    DrawNeonText(banner, text, w / 2, (h - textHeight) / 2, scale, ink, glow);
    return SaveKeyed(banner, path);
}

bool WriteVersus(const std::string& path) {
    Canvas versus(64, 48);
    cairo_t* cr = versus.Cr();
    versus.RoundedRect(2, 4, 60, 40, 12);
    versus.SetSource(Rgb(60, 24, 80));
    cairo_fill_preserve(versus.Cr());
    versus.SetSource(palette::kGold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    DrawNeonText(versus, "VS", 32, 10, 4, palette::kCream, palette::kPink);
    return SaveKeyed(versus, path);
}

}  // namespace

bool WriteMatchPictures(const std::string& root) {
    if (!WriteBoard(root)) return false;
    for (int frame = 1; frame <= 24; ++frame) {
        if (!WriteWheelFrame(root, frame)) return false;
    }
    const std::string text = root + "/GFX/TEXT/";
    return WriteBanner(text + "start.QVG", 240, 64, "START", 5, palette::kCream, palette::kCyan) &&
           WriteBanner(text + "youwin.QVG", 240, 64, "YOU WIN!", 5, palette::kCream, palette::kGold) &&
           WriteBanner(text + "youloose.QVG", 240, 64, "YOU LOSE", 5, palette::kCream,
                       palette::kViolet) &&
           WriteBanner(text + "draw.QVG", 240, 64, "DRAW", 5, palette::kCream, palette::kCyan) &&
           WriteBanner(text + "Perfect.QVG", 240, 64, "PERFECT!", 5, palette::kCream, palette::kPink) &&
           WriteBanner(text + "multihit.QVG", 200, 60, "MULTI HIT!", 4, palette::kCream,
                       palette::kPink) &&
           WriteBanner(text + "cardtaken.QVG", 200, 60, "CARD TAKEN", 4, palette::kCream,
                       palette::kGold) &&
           WriteVersus(text + "Versus.QVG");
}

}  // namespace qv::tools
