// Pictures of people: the 45 opponent portraits, the boss and the end credits.
#include "tools/people_art.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/opponents.h"
#include "tools/pixel_font.h"
#include "tools/portraits.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

bool WritePortraits(const std::string& root) {
    for (const OpponentSpec& o : Opponents()) {
        Canvas portrait(kPortraitWidth, kPortraitHeight);
        DrawPortrait(portrait, o.look, o.level);
        const std::string path = root + "/GFX/PLAYERS/PLAYERS" + std::to_string(o.portrait) + ".QVG";
        if (!SaveOpaque(portrait, path)) return false;
    }
    return true;
}

// The boss in his lair, arms crossed (before) or open, defeated or not (after).
void DrawBoss(Canvas& c, bool after) {
    cairo_t* cr = c.Cr();
    c.VerticalGradient(0, 0, 240, 320, Rgb(30, 8, 12), Rgb(80, 20, 20));
    Rng rng(666);
    for (int k = 0; k < 30; ++k) {
        const double x = rng.Range(0, 240), y = rng.Range(200, 320);
        cairo_move_to(cr, x - 6, 320);
        cairo_curve_to(cr, x - 4, y + 20, x + 2, y + 10, x, y);
        cairo_curve_to(cr, x + 4, y + 20, x + 6, y + 30, x + 8, 320);
        c.SetSource(Mix(Rgb(236, 90, 30), Rgb(250, 200, 60), rng.Unit()));
        cairo_fill(cr);
    }
    // Before the talk the boss sits lower, under the speech at the top.
    cairo_save(cr);
    if (!after) cairo_translate(cr, 0, 28);
    // Throne.
    c.RoundedRect(60, 110, 120, 180, 20);
    c.SetSource(Rgb(50, 16, 30));
    cairo_fill(cr);
    // Cloak and body.
    cairo_move_to(cr, 120, 120);
    cairo_line_to(cr, 180, 290);
    cairo_line_to(cr, 60, 290);
    cairo_close_path(cr);
    c.SetSource(Rgb(120, 20, 60));
    cairo_fill(cr);
    c.FillRect(100, 150, 40, 100, Rgb(40, 30, 60));
    // Head with the star-shaped crown of the Starman.
    c.FillCircle(120, 120, 22, Rgb(220, 190, 170));
    cairo_new_path(cr);
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5, r = k % 2 == 0 ? 22 : 9;
        const double x = 120 + std::cos(a) * r, y = 84 + std::sin(a) * r;
        if (k == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    c.SetSource(palette::kGold);
    cairo_fill(cr);
    c.FillCircle(112, 118, 3, after ? Rgb(60, 40, 40) : Rgb(250, 60, 60));
    c.FillCircle(128, 118, 3, after ? Rgb(60, 40, 40) : Rgb(250, 60, 60));
    c.SetSource(Rgb(80, 20, 20));
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 112, 132);
    cairo_curve_to(cr, 116, after ? 128 : 136, 124, after ? 128 : 136, 128, 132);
    cairo_stroke(cr);
    // Arms: crossed before the talk, holding cards after.
    c.SetSource(Rgb(120, 20, 60));
    cairo_set_line_width(cr, 12);
    if (after) {
        cairo_move_to(cr, 104, 160);
        cairo_line_to(cr, 70, 200);
        cairo_move_to(cr, 136, 160);
        cairo_line_to(cr, 170, 200);
        cairo_stroke(cr);
        for (int k = 0; k < 3; ++k) {
            c.FillRect(160 + k * 8, 186 - k * 4, 14, 20, palette::kCream);
            c.FillRect(162 + k * 8, 188 - k * 4, 10, 16, k == 1 ? palette::kPink : palette::kViolet);
        }
    } else {
        cairo_move_to(cr, 96, 190);
        cairo_line_to(cr, 144, 200);
        cairo_move_to(cr, 144, 190);
        cairo_line_to(cr, 96, 200);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // Quiet bands where the game types the speech.
    if (after) {
        c.FillRect(0, 236, 240, 84, Rgb(24, 8, 12));
        c.FillRect(0, 236, 240, 2, Rgb(236, 90, 30));
    } else {
        // The narration at the top, the boss's first words at the bottom.
        c.FillRect(0, 0, 240, 84, Rgb(24, 8, 12));
        c.FillRect(0, 82, 240, 2, Rgb(236, 90, 30));
        c.FillRect(0, 252, 240, 68, Rgb(24, 8, 12));
        c.FillRect(0, 252, 240, 2, Rgb(236, 90, 30));
    }
}

bool WriteStrip(const std::string& path, const std::string& text, Colour neon) {
    const int width = std::max(24, PixelTextWidth(text) * 2 + 6);
    Canvas strip(width, 20);
    DrawNeonText(strip, text, width / 2, 2, 2, palette::kCream, neon);
    return SaveKeyed(strip, path);
}

bool WriteCredits(const std::string& root) {
    Canvas end(240, 320);
    DrawNightBackdrop(end, 0, 0, 240, 320, 9);
    end.FillCircle(120, 150, 60, Rgb(60, 30, 80));
    DrawNeonText(end, "QUORVANE", 120, 136, 3, palette::kCream, palette::kPink);
    DrawNeonText(end, "THE END", 120, 176, 1, palette::kCream, palette::kCyan);
    if (!SaveOpaque(end, root + "/GFX/CREDITS/end credits.QVG")) return false;
    const std::string dir = root + "/GFX/CREDITS/";
    struct Strip {
        const char* file;
        const char* text;
        Colour neon;
    };
    const Strip strips[] = {
        {"code", "CODE", palette::kCyan},         {"graphics", "GRAPHICS", palette::kCyan},
        {"AI", "AI", palette::kCyan},             {"ui", "INTERFACE", palette::kCyan},
        {"translation", "TRANSLATION", palette::kCyan},
        {"pemba", "PEMBA", palette::kPink},       {"sivrane", "SIVRANE", palette::kPink},
        {"Tovan", "TOVAN", palette::kPink},       {"quelt", "QUELT", palette::kPink},
        {"mirel", "MIREL", palette::kPink},
    };
    for (const Strip& s : strips) {
        if (!WriteStrip(dir + s.file + ".QVB", s.text, s.neon)) return false;
    }
    return true;
}

}  // namespace

bool WritePeoplePictures(const std::string& root) {
    Canvas before(240, 320), after(240, 320);
    DrawBoss(before, false);
    DrawBoss(after, true);
    return WritePortraits(root) && SaveOpaque(before, root + "/GFX/MENU/HELL/Starman1.QVJ") &&
           SaveOpaque(after, root + "/GFX/MENU/HELL/Starman2.QVJ") && WriteCredits(root);
}

}  // namespace qv::tools
