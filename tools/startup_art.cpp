// Start-up pictures: the maker's logo and the scrolling loading picture.
#include "tools/startup_art.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/card_art.h"
#include "tools/pixel_font.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

// An umbrella over the studio's name.
bool WriteLogo(const std::string& path) {
    Canvas logo(240, 320);
    logo.VerticalGradient(0, 0, 240, 320, Rgb(16, 16, 30), Rgb(36, 30, 60));
    cairo_t* cr = logo.Cr();
    const double cx = 120, cy = 130, r = 70;
    // Canopy in four panels.
    for (int k = 0; k < 4; ++k) {
        const double a0 = M_PI + k * M_PI / 4, a1 = a0 + M_PI / 4;
        cairo_move_to(cr, cx, cy);
        cairo_arc(cr, cx, cy, r, a0, a1);
        cairo_close_path(cr);
        logo.SetSource(k % 2 == 0 ? palette::kPink : palette::kViolet);
        cairo_fill(cr);
    }
    // Scalloped hem: four bites out of the canopy's lower edge, showing the
    // background behind.
    for (int k = 0; k < 4; ++k) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx - r + r / 4 + k * r / 2, cy, r / 4, M_PI, 2 * M_PI);
        cairo_close_path(cr);
    }
    cairo_clip(cr);
    logo.VerticalGradient(0, 0, 240, 320, Rgb(16, 16, 30), Rgb(36, 30, 60));
    cairo_reset_clip(cr);
    // The shaft, ending in a hook that curls up.
    logo.SetSource(palette::kCream);
    cairo_set_line_width(cr, 4);
    cairo_move_to(cr, cx, cy - r - 8);
    cairo_line_to(cr, cx, cy + 60);
    cairo_arc(cr, cx - 12, cy + 60, 12, 0, M_PI);
    cairo_stroke(cr);
    DrawNeonText(logo, "OMBRELTEAM", 120, 232, 3, palette::kCream, palette::kPink);
    DrawPixelTextCentred(logo, "presents", 120, 270, 1, 200, 190, 220);
    return SaveOpaque(logo, path);
}

void DrawBuilding(Canvas& canvas, Rng& rng, int x, int w, int top, int ground) {
    const Colour wall = Mix(Rgb(30, 26, 52), Rgb(52, 36, 70), rng.Unit());
    canvas.FillRect(x, top, w, ground - top, wall);
    for (int wy = top + 8; wy < ground - 20; wy += 16) {
        for (int wx = x + 6; wx < x + w - 10; wx += 14) {
            const bool lit = rng.Below(3) == 0;
            canvas.FillRect(wx, wy, 7, 9, lit ? Rgb(236, 200, 110) : Rgb(40, 36, 64));
        }
    }
}

// The street in front of the club, one column wider per frame of the scroll.
bool WriteLoadingPicture(const std::string& path) {
    constexpr int kWidth = 480;
    Canvas scene(kWidth, 320);
    DrawNightBackdrop(scene, 0, 0, kWidth, 250, 77);
    scene.FillCircle(150, 64, 18, Rgb(236, 232, 200));
    scene.FillCircle(158, 58, 16, Rgb(26, 20, 50));
    Rng rng(2024);
    int x = 0;
    while (x < kWidth) {
        const int w = rng.Range(40, 70);
        DrawBuilding(scene, rng, x, w, rng.Range(70, 150), 250);
        x += w;
    }
    // The club's front with its neon sign, where the scroll comes to rest.
    const int clubX = kWidth - 210, clubW = 180;
    scene.FillRect(clubX, 96, clubW, 154, Rgb(40, 18, 52));
    scene.FillRect(clubX + 70, 180, 40, 70, Rgb(90, 40, 30));
    scene.FillRect(clubX + 74, 184, 32, 66, Rgb(236, 170, 90));
    DrawPanel(scene, clubX + 10, 110, clubW - 20, 40, Rgb(24, 10, 36), palette::kPink);
    DrawNeonText(scene, "QUORVANE", clubX + clubW / 2, 116, 3, palette::kCream, palette::kPink);
    DrawNeonText(scene, "CARD CLUB", clubX + clubW / 2, 160, 1, palette::kCream, palette::kCyan);
    // Street and pavement.
    scene.FillRect(0, 250, kWidth, 70, Rgb(34, 32, 44));
    scene.FillRect(0, 250, kWidth, 4, Rgb(70, 64, 90));
    for (int lx = 10; lx < kWidth; lx += 60) scene.FillRect(lx, 280, 30, 3, Rgb(200, 190, 120));
    // Two cards dropped on the pavement, a hint of what waits inside: one
    // face up, one showing its back.
    Canvas face(kSmallCardWidth, kSmallCardHeight), back(kSmallCardWidth, kSmallCardHeight);
    face.Clear(Rgb(40, 22, 70));
    DrawCreature(face, 16, 22, 10, 5, 2);
    cairo_t* fc = face.Cr();
    face.SetSource(palette::kGold);
    cairo_set_line_width(fc, 1);
    cairo_rectangle(fc, 0.5, 0.5, kSmallCardWidth - 1, kSmallCardHeight - 1);
    cairo_stroke(fc);
    DrawCardBack(back);
    cairo_t* cr = scene.Cr();
    const struct {
        Canvas* card;
        double x, y, angle;
    } dropped[2] = {{&back, 44, 282, -0.5}, {&face, 70, 286, 0.35}};
    for (const auto& d : dropped) {
        cairo_save(cr);
        cairo_translate(cr, d.x, d.y);
        // Flat on the ground, seen from the front: squashed, turned a little.
        cairo_scale(cr, 0.8, 0.45);
        cairo_rotate(cr, d.angle);
        cairo_set_source_surface(cr, d.card->Surface(), -kSmallCardWidth / 2.0, -kSmallCardHeight / 2.0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    // Quiet zones where the game writes: the hint at the top, the status line at the bottom.
    scene.FillRect(0, 0, kWidth, 44, Rgb(18, 14, 34));
    scene.FillRect(0, 44, kWidth, 2, Mix(palette::kPink, Rgb(18, 14, 34), 0.5));
    scene.FillRect(0, 304, kWidth, 16, Rgb(18, 14, 34));
    return SaveOpaque(scene, path);
}

}  // namespace

bool WriteStartupPictures(const std::string& root) {
    return WriteLogo(root + "/GFX/GENERAL/OMBRELTEAM.QVG") &&
           WriteLoadingPicture(root + "/GFX/LOADING/EnterGAME.QVJ");
}

}  // namespace qv::tools
