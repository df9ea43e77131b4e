// Card pictures: the 344 small and big faces, the back, the blocked cell and the power icons.
#include "tools/card_art.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/card_set.h"
#include "tools/pixel_font.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

const std::string kSmallDir = "/GFX/CARDS/SET 1/CARDS SMALL/";
const std::string kBigDir = "/GFX/CARDS/SET 1/CARDS BIG/";

// The first two letters of the family's level 1 card.
std::string FamilyMark(int family) { return CardSet()[family].name.substr(0, 2); }

// On a small face the game draws the 8x8 power icons in rows 2-9, at the
// sides in rows 19-26 and at the bottom from row 41, and tints rows 35-47
// for the owner: the family letters (7 rows and a shadow) go in rows 27-34,
// where no icon ever lands, on the little stage under the creature.
constexpr int kSmallMarkTop = 27;
constexpr int kSmallStageTop = 26;

// Frame colours by level: bronze, silver, gold, neon violet.
Colour LevelFrame(int level) {
    switch (level) {
    case 1: return Rgb(176, 112, 64);
    case 2: return Rgb(184, 192, 208);
    case 3: return Rgb(236, 196, 76);
    default: return Rgb(200, 96, 240);
    }
}

Colour HueColour(double hue, double saturation, double value) {
    const double h = std::fmod(hue, 1.0) * 6;
    const int i = static_cast<int>(h);
    const double f = h - i, p = value * (1 - saturation), q = value * (1 - saturation * f),
                 t = value * (1 - saturation * (1 - f));
    switch (i % 6) {
    case 0: return {value, t, p};
    case 1: return {q, value, p};
    case 2: return {p, value, t};
    case 3: return {p, q, value};
    case 4: return {t, p, value};
    default: return {value, p, q};
    }
}

void FillWith(Canvas& canvas, Colour c) {
    canvas.SetSource(c);
    cairo_fill(canvas.Cr());
}

}  // namespace

void DrawCreature(Canvas& canvas, double cx, double cy, double radius, int family, int level) {
    cairo_t* cr = canvas.Cr();
    Rng rng(static_cast<uint32_t>(family * 131 + 7));
    const double hue = (family * 0.61803398875);
    const Colour body = HueColour(hue, 0.55, 0.85);
    const Colour shade = HueColour(hue, 0.7, 0.5);
    const Colour accent = HueColour(hue + 0.5, 0.6, 0.95);
    const int bodyShape = family % 4;       // round, tall, wide, pointed
    const int headGear = (family / 4) % 5;  // ears, horns, antennae, crest, none
    const int extra = (family / 20) % 3;    // wings, tail, fins
    const double r = radius;

    // Aura grows with level.
    if (level >= 2) {
        cairo_pattern_t* aura = cairo_pattern_create_radial(cx, cy, r * 0.3, cx, cy, r * 1.25);
        const Colour a = level == 4 ? palette::kPink : level == 3 ? palette::kGold : palette::kCyan;
        cairo_pattern_add_color_stop_rgba(aura, 0, a.r, a.g, a.b, 0.55);
        cairo_pattern_add_color_stop_rgba(aura, 1, a.r, a.g, a.b, 0.0);
        cairo_set_source(cr, aura);
        cairo_arc(cr, cx, cy, r * 1.25, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(aura);
    }

    // Wings, tail or fins behind the body.
    canvas.SetSource(shade);
    cairo_new_path(cr);
    if (extra == 0) {
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, cx + side * r * 0.3, cy - r * 0.1);
            cairo_curve_to(cr, cx + side * r * 1.3, cy - r * 0.9, cx + side * r * 1.2, cy + r * 0.2,
                           cx + side * r * 0.4, cy + r * 0.3);
            cairo_close_path(cr);
        }
    } else if (extra == 1) {
        cairo_move_to(cr, cx + r * 0.3, cy + r * 0.5);
        cairo_curve_to(cr, cx + r * 1.2, cy + r * 0.6, cx + r * 1.1, cy - r * 0.3, cx + r * 0.9,
                       cy - r * 0.5);
        cairo_line_to(cr, cx + r * 0.6, cy + r * 0.3);
        cairo_close_path(cr);
    } else {
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, cx + side * r * 0.5, cy + r * 0.1);
            cairo_line_to(cr, cx + side * r * 1.05, cy + r * 0.55);
            cairo_line_to(cr, cx + side * r * 0.55, cy + r * 0.6);
            cairo_close_path(cr);
        }
    }
    cairo_fill(cr);

    // Body.
    cairo_new_path(cr);
    switch (bodyShape) {
    case 0: Ellipse(cr, cx, cy + r * 0.1, r * 0.7, r * 0.7); break;
    case 1: Ellipse(cr, cx, cy + r * 0.1, r * 0.5, r * 0.85); break;
    case 2: Ellipse(cr, cx, cy + r * 0.2, r * 0.85, r * 0.55); break;
    default:
        cairo_move_to(cr, cx, cy - r * 0.8);
        cairo_line_to(cr, cx + r * 0.75, cy + r * 0.75);
        cairo_line_to(cr, cx - r * 0.75, cy + r * 0.75);
        cairo_close_path(cr);
        break;
    }
    cairo_pattern_t* fill = cairo_pattern_create_linear(cx, cy - r, cx, cy + r);
    cairo_pattern_add_color_stop_rgb(fill, 0, body.r, body.g, body.b);
    cairo_pattern_add_color_stop_rgb(fill, 1, shade.r, shade.g, shade.b);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetSource(Mix(shade, Rgb(20, 16, 30), 0.5));
    cairo_set_line_width(cr, std::max(0.8, r * 0.06));
    cairo_stroke(cr);

    // Belly mark.
    cairo_new_path(cr);
    Ellipse(cr, cx, cy + r * 0.35, r * 0.3, r * 0.22);
    FillWith(canvas, Mix(body, palette::kCream, 0.6));

    // Head gear.
    canvas.SetSource(accent);
    cairo_new_path(cr);
    const double top = cy - r * 0.45;
    switch (headGear) {
    case 0:
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, cx + side * r * 0.2, top);
            cairo_line_to(cr, cx + side * r * 0.55, top - r * 0.55);
            cairo_line_to(cr, cx + side * r * 0.6, top + r * 0.1);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
        break;
    case 1:
        cairo_set_line_width(cr, std::max(1.0, r * 0.12));
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, cx + side * r * 0.25, top + r * 0.05);
            cairo_curve_to(cr, cx + side * r * 0.6, top - r * 0.2, cx + side * r * 0.7,
                           top - r * 0.5, cx + side * r * 0.45, top - r * 0.7);
        }
        cairo_stroke(cr);
        break;
    case 2:
        cairo_set_line_width(cr, std::max(0.8, r * 0.06));
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, cx + side * r * 0.1, top);
            cairo_line_to(cr, cx + side * r * 0.4, top - r * 0.55);
        }
        cairo_stroke(cr);
        cairo_arc(cr, cx - r * 0.4, top - r * 0.55, r * 0.1, 0, 2 * M_PI);
        cairo_arc(cr, cx + r * 0.4, top - r * 0.55, r * 0.1, 0, 2 * M_PI);
        cairo_fill(cr);
        break;
    case 3:
        cairo_move_to(cr, cx - r * 0.3, top + r * 0.05);
        for (int k = 0; k < 3; ++k) {
            cairo_line_to(cr, cx - r * 0.3 + (k + 0.5) * r * 0.2, top - r * 0.45);
            cairo_line_to(cr, cx - r * 0.3 + (k + 1) * r * 0.2, top);
        }
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    default: break;
    }

    // Eyes: their number and shape vary with the family.
    const int eyes = 1 + (family % 3);
    const double eyeY = cy - r * 0.15 + rng.Range(-1, 1) * r * 0.05;
    for (int e = 0; e < eyes; ++e) {
        const double ex = cx + (eyes == 1 ? 0 : (e - (eyes - 1) / 2.0) * r * 0.32);
        cairo_new_path(cr);
        Ellipse(cr, ex, eyeY, r * 0.13, r * 0.15);
        FillWith(canvas, palette::kCream);
        cairo_new_path(cr);
        Ellipse(cr, ex + r * 0.02, eyeY + r * 0.02, r * 0.06, r * 0.08);
        FillWith(canvas, level == 4 ? palette::kPink : Rgb(30, 20, 40));
    }

    // A crown for the level 4 cards, a star for level 3.
    if (level == 4) {
        canvas.SetSource(palette::kGold);
        cairo_new_path(cr);
        const double y0 = cy - r * 0.95, w = r * 0.5;
        cairo_move_to(cr, cx - w, y0 + r * 0.25);
        cairo_line_to(cr, cx - w, y0);
        cairo_line_to(cr, cx - w / 2, y0 + r * 0.12);
        cairo_line_to(cr, cx, y0 - r * 0.08);
        cairo_line_to(cr, cx + w / 2, y0 + r * 0.12);
        cairo_line_to(cr, cx + w, y0);
        cairo_line_to(cr, cx + w, y0 + r * 0.25);
        cairo_close_path(cr);
        cairo_fill(cr);
    } else if (level == 3) {
        canvas.SetSource(palette::kGold);
        cairo_new_path(cr);
        for (int k = 0; k < 10; ++k) {
            const double a = -M_PI / 2 + k * M_PI / 5;
            const double rr = (k % 2 == 0 ? 0.22 : 0.09) * r;
            const double px = cx + r * 0.75 + std::cos(a) * rr, py = cy - r * 0.75 + std::sin(a) * rr;
            if (k == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
        }
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

namespace {

// The card face shared by both sizes; s is 1 for small and 3 for big.
void DrawCardFace(Canvas& canvas, const CardSpec& card, bool big) {
    const int w = canvas.Width(), h = canvas.Height();
    const Colour frame = LevelFrame(card.level);
    const double hue = card.family * 0.61803398875;
    canvas.Clear(Mix(frame, Rgb(20, 16, 30), 0.35));
    // Inner art window: a night sky tinted by the family.
    const double inset = big ? 5 : 1;
    const double artBottom = big ? 103 : 34;
    canvas.VerticalGradient(inset, inset, w - 2 * inset, artBottom - inset,
                            Mix(HueColour(hue + 0.5, 0.5, 0.35), Rgb(16, 16, 40), 0.5),
                            Mix(HueColour(hue, 0.4, 0.45), Rgb(30, 20, 50), 0.3));
    Rng rng(static_cast<uint32_t>(card.id));
    for (int i = 0; i < (big ? 24 : 4); ++i) {
        const int v = rng.Range(150, 240);
        canvas.SetPixel(rng.Range(static_cast<int>(inset) + 1, w - static_cast<int>(inset) - 2),
                        rng.Range(static_cast<int>(inset) + 1, static_cast<int>(artBottom) - 4), v,
                        v, v);
    }
    // Floor of the little stage the creature stands on.
    const double stageTop = big ? artBottom - 14 : kSmallStageTop;
    canvas.FillRect(inset, stageTop, w - 2 * inset, artBottom - stageTop,
                    Mix(HueColour(hue, 0.3, 0.3), Rgb(24, 20, 36), 0.4));
    if (big) {
        DrawCreature(canvas, w / 2.0, 58, 30, card.family, card.level);
    } else {
        DrawCreature(canvas, w / 2.0, 17, 9, card.family, card.level);
    }
    // Frame.
    cairo_t* cr = canvas.Cr();
    canvas.SetSource(frame);
    cairo_set_line_width(cr, big ? 3 : 1);
    cairo_rectangle(cr, big ? 1.5 : 0.5, big ? 1.5 : 0.5, w - (big ? 3 : 1), h - (big ? 3 : 1));
    cairo_stroke(cr);
    // The owner band: light and plain so the side tint reads on it.
    if (big) {
        canvas.FillRect(6, 105, 84, 37, Rgb(112, 108, 124));
        canvas.FillRect(6, 105, 84, 2, Mix(frame, Rgb(255, 255, 255), 0.3));
        const std::string& name = card.name;
        const int wordBreak = static_cast<int>(name.find(' '));
        if (PixelTextWidth(name) <= 80 || wordBreak < 0) {
            DrawPixelTextCentred(canvas, name, 49, 115, 1, 20, 18, 30);
            DrawPixelTextCentred(canvas, name, 48, 114, 1, 250, 246, 236);
        } else {
            const std::string first = name.substr(0, wordBreak), second = name.substr(wordBreak + 1);
            DrawPixelTextCentred(canvas, first, 48, 110, 1, 250, 246, 236);
            DrawPixelTextCentred(canvas, second, 48, 120, 1, 250, 246, 236);
        }
        // Level pips under the name.
        for (int i = 0; i < card.level; ++i) {
            canvas.FillCircle(48 - (card.level - 1) * 5 + i * 10, 135, 2.5, frame);
        }
        canvas.FillRect(6, 142, 84, 5, Mix(frame, Rgb(20, 16, 30), 0.3));
    } else {
        canvas.FillRect(1, 35, 30, 13, Rgb(112, 108, 124));
        // The family's first letters help tell cards apart in the hand; the
        // frame colour gives the level.
        const std::string mark = FamilyMark(card.family);
        DrawPixelTextCentred(canvas, mark, 17, kSmallMarkTop + 1, 1, 20, 18, 30);
        DrawPixelTextCentred(canvas, mark, 16, kSmallMarkTop, 1, 250, 246, 236);
    }
}

void DrawPowerIcon(Canvas& canvas, int power) {
    static const Colour kIconColours[6] = {Rgb(0, 0, 0),       Rgb(250, 226, 60),
                                           Rgb(248, 150, 40),  Rgb(96, 214, 88),
                                           Rgb(64, 204, 240),  Rgb(56, 84, 248)};
    canvas.Clear(Rgb(28, 22, 40));
    cairo_t* cr = canvas.Cr();
    const Colour c = kIconColours[power];
    cairo_arc(cr, 4, 4, 3.6, 0, 2 * M_PI);
    canvas.SetSource(c);
    cairo_fill(cr);
    // Stronger powers get a brighter, wider core so they read apart at a glance.
    const double core = 0.6 + power * 0.3;
    cairo_arc(cr, 4, 4, core, 0, 2 * M_PI);
    canvas.SetSource(Mix(c, Rgb(255, 255, 255), 0.6));
    cairo_fill(cr);
}

void DrawBlockedCell(Canvas& canvas) {
    canvas.Clear(Rgb(70, 66, 78));
    // Stone blocks.
    for (int row = 0; row < 5; ++row) {
        const int offset = (row % 2) * 8;
        for (int col = -1; col < 3; ++col) {
            const int bx = col * 16 + offset, by = row * 10;
            canvas.FillRect(bx + 1, by + 1, 14, 8, Rgb(104 + row * 4, 98, 112));
        }
    }
    cairo_t* cr = canvas.Cr();
    canvas.SetSource(Rgb(200, 60, 80));
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 5, 9);
    cairo_line_to(cr, 27, 41);
    cairo_move_to(cr, 27, 9);
    cairo_line_to(cr, 5, 41);
    cairo_stroke(cr);
}

}  // namespace

void DrawCardBack(Canvas& canvas) {
    canvas.Clear(Rgb(40, 22, 70));
    cairo_t* cr = canvas.Cr();
    canvas.SetSource(palette::kViolet);
    cairo_set_line_width(cr, 1);
    for (int k = -50; k < 50; k += 6) {
        cairo_move_to(cr, k, 0);
        cairo_line_to(cr, k + 50, 50);
        cairo_move_to(cr, k + 50, 0);
        cairo_line_to(cr, k, 50);
    }
    cairo_stroke(cr);
    canvas.FillCircle(16, 25, 9, Rgb(30, 16, 50));
    canvas.FillCircle(16, 25, 7, palette::kPink);
    DrawPixelTextCentred(canvas, "Q", 16, 21, 1, 255, 246, 220);
    canvas.SetSource(palette::kGold);
    cairo_rectangle(cr, 0.5, 0.5, 31, 49);
    cairo_stroke(cr);
}

bool WriteCardPictures(const std::string& root) {
    for (const CardSpec& card : CardSet()) {
        Canvas small(kSmallCardWidth, kSmallCardHeight);
        DrawCardFace(small, card, false);
        if (!SaveOpaque(small, root + kSmallDir + card.name + ".QVG")) return false;
        Canvas big(kBigCardWidth, kBigCardHeight);
        DrawCardFace(big, card, true);
        if (!SaveOpaque(big, root + kBigDir + "BIG_" + card.name + ".QVG")) return false;
    }
    for (int p = 1; p <= 5; ++p) {
        Canvas icon(kPowerIconSize, kPowerIconSize);
        DrawPowerIcon(icon, p);
        if (!SaveOpaque(icon, root + kSmallDir + "PowerIcon" + std::to_string(p) + ".QVG")) {
            return false;
        }
    }
    Canvas back(kSmallCardWidth, kSmallCardHeight);
    DrawCardBack(back);
    Canvas blocked(kSmallCardWidth, kSmallCardHeight);
    DrawBlockedCell(blocked);
    return SaveOpaque(back, root + kSmallDir + "BackCard.QVG") &&
           SaveOpaque(blocked, root + "/GFX/GENERAL/BlockCard.QVG");
}

}  // namespace qv::tools
