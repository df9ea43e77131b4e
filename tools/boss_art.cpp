// The boss of the club in his lair: the owner of the night club, in a purple
// dinner jacket with a gold star on the lapel, under the neon star of his
// club, with brimstone smoke rising from the floor. Before the talk he sits in
// his armchair behind the card table; after it he leans in with a fan of cards.
#include "tools/boss_art.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/card_art.h"
#include "tools/pen.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

const Colour kSkin = Rgb(226, 184, 150), kSkinShadow = Rgb(176, 122, 98), kSkinLight = Rgb(244, 212, 184);
const Colour kHairBlack = Rgb(28, 22, 28), kSilver = Rgb(196, 196, 208);
const Colour kVelvet = Rgb(82, 30, 110), kVelvetLight = Rgb(134, 66, 166), kVelvetDark = Rgb(38, 12, 54);
const Colour kSatin = Rgb(22, 18, 26), kSatinShine = Rgb(92, 80, 104);
const Colour kShirt = Rgb(242, 238, 232), kShirtShade = Rgb(186, 180, 190);
const Colour kGold = Rgb(240, 200, 86), kGoldDark = Rgb(160, 110, 30);
const Colour kNeonPink = Rgb(255, 86, 176), kNeonCore = Rgb(255, 220, 244);
const Colour kWallTop = Rgb(34, 8, 18), kWallBottom = Rgb(72, 14, 26);
const Colour kCurtain = Rgb(128, 18, 40), kCurtainDark = Rgb(52, 6, 18);

// The club's sign: a neon star, its tube glowing pink round a white core.
void DrawNeonStar(Pen& pen, double cx, double cy, double outer) {
    pen.Glow(cx, cy, outer * 1.5, kNeonPink, 0.35);
    const double inner = outer * 0.45;
    const double widths[4] = {9, 6, 3.5, 1.6};
    const double alphas[4] = {0.12, 0.25, 0.8, 1.0};
    for (int k = 0; k < 4; ++k) {
        pen.Star(cx, cy, outer, inner);
        pen.StrokeAlpha(k == 3 ? kNeonCore : kNeonPink, widths[k], alphas[k]);
    }
}

// Heavy velvet curtains falling in folds between x0 and x1.
void DrawCurtain(Canvas& canvas, double x0, double x1, double bottom) {
    Pen pen(canvas);
    const int folds = 4;
    const double w = (x1 - x0) / folds;
    for (int k = 0; k < folds; ++k) {
        const double a = x0 + k * w;
        pen.Move(a, 0).Line(a + w, 0).Line(a + w, bottom).Line(a, bottom);
        pen.FillLinear(a, 0, kCurtainDark, a + w, 0, kCurtain);
        pen.Move(a + w * 0.55, 0).Line(a + w * 0.65, bottom).StrokeAlpha(Rgb(220, 60, 90), 1.0, 0.35);
    }
}

// Brimstone smoke rising from the floor, lit orange from below.
void DrawSmoke(Canvas& canvas, double floor, unsigned seed, double strength) {
    Pen pen(canvas);
    Rng rng(seed);
    for (int k = 0; k < 46; ++k) {
        const double x = rng.Range(-10, 250), y = floor - rng.Range(0, 90);
        const double r = rng.Range(10, 26);
        const Colour c = Mix(Rgb(120, 60, 60), Rgb(220, 110, 60), rng.Unit() * 0.6);
        pen.Glow(x, y, r, c, strength * (0.10 + rng.Unit() * 0.14));
    }
}

// Darkens the rows y0..y1 so text typed there reads; the darkness fades out
// over the fade rows on the picture's side (below a top band, above a bottom one).
void QuietBand(Canvas& canvas, double y0, double y1, double fade) {
    cairo_t* cr = canvas.Cr();
    const bool top = y0 <= 0;
    const double f = fade / (y1 - y0);
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(pattern, 0, 0.07, 0.02, 0.04, top ? 0.88 : 0.0);
    cairo_pattern_add_color_stop_rgba(pattern, top ? 1 - f : f, 0.07, 0.02, 0.04, 0.88);
    cairo_pattern_add_color_stop_rgba(pattern, 1, 0.07, 0.02, 0.04, top ? 0.0 : 0.88);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, 0, y0, 240, y1 - y0);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

// The head, centred on (0, 0): about 50 wide, crown at -40, chin at 36.
void DrawOwnerHead(Pen& pen) {
    // Ears, then the neck's shadow under the jaw comes with the torso.
    for (int side = -1; side <= 1; side += 2) {
        pen.Oval(side * 24.5, 2, 4.5, 8.5).Fill(kSkin);
        pen.Oval(side * 25, 2, 2, 5).FillAlpha(kSkinShadow, 0.6);
    }
    // The face: high cheekbones and a narrow, strong jaw.
    pen.Move(0, -36)
        .Curve(14, -36, 23, -28, 24, -14)
        .Curve(25, -4, 24, 6, 21, 14)
        .Curve(18, 23, 11, 31, 4, 35)
        .Curve(2, 36, -2, 36, -4, 35)
        .Curve(-11, 31, -18, 23, -21, 14)
        .Curve(-24, 6, -25, -4, -24, -14)
        .Curve(-23, -28, -14, -36, 0, -36);
    pen.FillRadial(-6, -8, 44, kSkinLight, kSkin);
    // Shade down the right side, under the cheekbones and the jaw.
    pen.Move(10, -34)
        .Curve(20, -30, 24, -18, 24, -10)
        .Curve(25, 2, 23, 10, 20, 15)
        .Curve(16, 24, 10, 31, 4, 35)
        .Curve(12, 22, 18, 4, 10, -34);
    pen.FillAlpha(kSkinShadow, 0.45);
    for (int side = -1; side <= 1; side += 2) {
        pen.Move(side * 21, 3).Curve(side * 17, 9, side * 14, 14, side * 11, 18).StrokeAlpha(kSkinShadow, 3.0, 0.22);
    }
    // Slicked-back hair, black with silver at the temples, a sharp peak.
    pen.Move(-25, -6)
        .Curve(-28, -30, -16, -46, 0, -46)
        .Curve(16, -46, 28, -30, 25, -6)
        .Line(23, -8)
        .Curve(22, -16, 19, -22, 12, -25)
        .Curve(7, -26, 3, -25, 0, -19)
        .Curve(-3, -25, -7, -26, -12, -25)
        .Curve(-19, -22, -22, -16, -23, -8);
    pen.FillLinear(0, -46, Rgb(60, 50, 66), 0, -10, kHairBlack);
    for (int side = -1; side <= 1; side += 2) {
        pen.Move(side * 24, -8).Curve(side * 24, -16, side * 22, -24, side * 17, -31).StrokeAlpha(kSilver, 3.0, 0.85);
        pen.Move(side * 20.5, -13).Curve(side * 20, -19, side * 18, -24, side * 14, -28).StrokeAlpha(kSilver, 1.2, 0.6);
        pen.Move(side * 10, -24)
            .Curve(side * 12, -32, side * 10, -38, side * 4, -43)
            .StrokeAlpha(Rgb(90, 80, 100), 1.0, 0.7);
    }
    // Brows arched high at their outer ends.
    for (int side = -1; side <= 1; side += 2) {
        pen.Move(side * 4, -10)
            .Curve(side * 9, -15, side * 14, -17, side * 20, -14)
            .Curve(side * 14, -14.5, side * 9, -12.5, side * 4, -8.5)
            .Fill(kHairBlack);
    }
    // Eyes narrowed under heavy lids, with a gold glint.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = side * 11, ey = -3;
        pen.Move(ex - side * 6.5, ey + 0.5)
            .Curve(ex - side * 3, ey - 4, ex + side * 3, ey - 4.5, ex + side * 7, ey - 1)
            .Curve(ex + side * 3, ey + 2.5, ex - side * 3, ey + 3, ex - side * 6.5, ey + 0.5);
        pen.Fill(Rgb(236, 228, 220));
        pen.Dot(ex + side * 0.5, ey - 0.3, 3.0, Rgb(200, 140, 40));
        pen.Dot(ex + side * 0.5, ey - 0.3, 1.5, Rgb(20, 14, 18));
        pen.Dot(ex + side * 1.5, ey - 1.4, 0.7, Rgb(255, 250, 230));
        // The upper lid cuts across the iris: a calm, knowing look.
        pen.Move(ex - side * 7, ey - 0.5)
            .Curve(ex - side * 3, ey - 5.5, ex + side * 3, ey - 6, ex + side * 7.5, ey - 1.5)
            .Curve(ex + side * 3, ey - 2.8, ex - side * 3, ey - 2.6, ex - side * 7, ey - 0.5);
        pen.Fill(kSkin);
        pen.Move(ex - side * 6.8, ey - 0.4)
            .Curve(ex - side * 3, ey - 2.8, ex + side * 3, ey - 3, ex + side * 7.4, ey - 1.4)
            .Stroke(Rgb(40, 24, 30), 1.3);
        pen.Move(ex - side * 4, ey + 3.8)
            .Curve(ex, ey + 4.8, ex + side * 4, ey + 4.4, ex + side * 6, ey + 2.4)
            .StrokeAlpha(kSkinShadow, 0.8, 0.7);
    }
    // The nose: a long bridge, a sharp tip.
    pen.Move(2, -4).Curve(3, 3, 5, 9, 5, 13).StrokeAlpha(kSkinShadow, 1.6, 0.8);
    pen.Move(-5, 14).Curve(-2, 17, 2, 17, 6, 13.5).StrokeAlpha(kSkinShadow, 1.4, 0.9);
    pen.Dot(-3, 14.5, 1.0, Rgb(120, 70, 60));
    pen.Dot(3.5, 14.5, 1.0, Rgb(120, 70, 60));
    // A pencil moustache, a pointed beard on the chin and a one-sided smile.
    pen.Move(-1, 19)
        .Curve(-5, 18, -10, 19, -13, 22)
        .Curve(-9, 21, -5, 21, 0, 21)
        .Curve(5, 20.5, 9, 20, 13, 19)
        .Curve(10, 17.5, 5, 17.5, 1, 19);
    pen.Fill(kHairBlack);
    pen.Move(-8, 24.5).Curve(-3, 26, 4, 25.5, 10, 21.5).Stroke(Rgb(110, 40, 44), 1.6);
    pen.Move(-5, 27.5).Curve(-2, 28.5, 2, 28.5, 5, 27.3).StrokeAlpha(kSkinShadow, 1.2, 0.7);
    pen.Move(-5, 30).Curve(-3, 31, 3, 31, 5, 30).Line(1.5, 41).Line(-1.5, 41);
    pen.Fill(kHairBlack);
    pen.Move(-1, 31).Line(0, 39).StrokeAlpha(kSilver, 0.8, 0.5);
}

// A card (its back, as the club prints it) standing on its lower edge at (x, y),
// or lying flat on a table seen from the front.
void DrawHeldCard(Canvas& canvas, Canvas& back, double x, double y, double angle, double scale, bool flat = false) {
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (flat) cairo_scale(cr, 1, 0.42);
    cairo_rotate(cr, angle);
    cairo_scale(cr, scale, scale);
    Pen pen(canvas);
    pen.Move(-17, -51).Line(17, -51).Line(17, 1).Line(-17, 1).FillAlpha(Rgb(0, 0, 0), 0.35);
    cairo_set_source_surface(cr, back.Surface(), -16, -50);
    cairo_rectangle(cr, -16, -50, 32, 50);
    cairo_fill(cr);
    cairo_restore(cr);
}

enum class Pose { kSeated, kShowingCards };

// A hand seen from the back, fingers up, the palm centred on (0, 0); the
// thumb on the left, a gold ring on the third finger.
void DrawHand(Pen& pen, bool ring) {
    const Colour edge = Rgb(150, 96, 78);
    const double fingerX[4] = {-5.4, -1.8, 1.8, 5.4}, fingerTop[4] = {-13, -16, -15, -12};
    for (int k = 0; k < 4; ++k) {
        const double x = fingerX[k], top = fingerTop[k];
        pen.Move(x - 1.9, -2)
            .Line(x - 1.9, top + 1.9)
            .Curve(x - 1.9, top - 0.6, x + 1.9, top - 0.6, x + 1.9, top + 1.9)
            .Line(x + 1.9, -2);
        pen.FillOutlined(kSkin, edge, 0.5);
    }
    pen.Move(-7.5, -3)
        .Curve(-4, -5, 4, -5, 7.5, -3)
        .Curve(8.5, 3, 7.5, 9, 6, 12)
        .Line(-6, 12)
        .Curve(-8, 8, -8.5, 3, -7.5, -3);
    pen.FillOutlined(kSkin, edge, 0.5);
    pen.Move(-7, 6).Curve(-11, 2, -13, -3, -12.5, -7).Curve(-12, -9, -10, -9, -9, -7).Curve(-8, -4, -6, -1, -5, 1);
    pen.FillOutlined(kSkinLight, edge, 0.5);
    pen.Move(-6, -3).Curve(-2, 0, 2, 0, 6, -3).StrokeAlpha(edge, 0.7, 0.6);
    if (ring) {
        pen.Move(fingerX[2] - 2.1, -5)
            .Line(fingerX[2] + 2.1, -5)
            .Line(fingerX[2] + 2.1, -3)
            .Line(fingerX[2] - 2.1, -3)
            .Fill(kGold);
        pen.Dot(fingerX[2], -4, 1.1, Rgb(220, 40, 60));
    }
}

// A hand closed round something (a stem, the edge of the cards), seen from
// the fingers' side, centred on (0, 0); a gold ring on the second finger.
void DrawFist(Pen& pen) {
    const Colour edge = Rgb(150, 96, 78);
    pen.Move(-6, -11).Curve(4, -13, 10, -10, 10, 0).Curve(10, 10, 6, 14, -2, 14).Curve(-8, 14, -10, 6, -9, -4);
    pen.FillOutlined(kSkinShadow, edge, 0.5);
    const double lengths[4] = {16, 17, 16, 13};
    for (int k = 0; k < 4; ++k) {
        const double y = -9 + k * 5.2, x0 = 7 - lengths[k];
        pen.Move(7, y - 2.4)
            .Line(x0 + 2.4, y - 2.4)
            .Curve(x0 - 0.8, y - 2.4, x0 - 0.8, y + 2.4, x0 + 2.4, y + 2.4)
            .Line(7, y + 2.4);
        pen.FillOutlined(k % 2 == 0 ? kSkin : Mix(kSkin, kSkinLight, 0.4), edge, 0.5);
    }
    pen.Move(-4.5, -6.4).Line(-2.5, -6.4).Line(-2.5, -1.4).Line(-4.5, -1.4).Fill(kGold);
    pen.Dot(-3.5, -3.9, 0.9, Rgb(220, 40, 60));
    pen.Move(5, -10).Curve(7, -16, 6, -21, 2, -23).Curve(0, -24, -2, -22, -1, -20).Curve(1, -17, 1, -14, 0, -10);
    pen.FillOutlined(kSkinLight, edge, 0.5);
}

// The owner from the waist up, the head centred on (0, 0).
void DrawOwner(Canvas& canvas, Canvas& back, Pose pose) {
    Pen pen(canvas);
    // The neck, with the jaw's shadow over it.
    pen.Move(-12, 24).Line(12, 24).Line(13, 50).Line(-13, 50).Fill(kSkin);
    pen.Move(-12, 26)
        .Curve(-4, 38, 4, 38, 12, 26)
        .Line(12, 36)
        .Curve(4, 42, -4, 42, -12, 36)
        .FillAlpha(kSkinShadow, 0.7);
    // The jacket: padded shoulders, purple velvet lit from the left.
    pen.Move(-112, 170)
        .Curve(-104, 110, -96, 72, -78, 58)
        .Curve(-60, 47, -36, 44, -15, 40)
        .Line(15, 40)
        .Curve(36, 44, 60, 47, 78, 58)
        .Curve(96, 72, 104, 110, 112, 170);
    pen.FillLinear(-90, 40, kVelvetLight, 80, 140, kVelvetDark);
    // The shirt front and its wing collar.
    pen.Move(-15, 40).Line(15, 40).Line(0, 132).Fill(kShirt);
    pen.Move(0, 60).Line(0, 130).StrokeAlpha(kShirtShade, 1.0, 0.8);
    for (int k = 0; k < 3; ++k) pen.Dot(0, 72 + k * 18, 1.6, kSatin);
    pen.Move(-14, 38).Line(-2, 46).Line(-10, 52).Fill(kShirt);
    pen.Move(14, 38).Line(2, 46).Line(10, 52).Fill(kShirt);
    // Black satin shawl lapels meeting low on the chest.
    for (int side = -1; side <= 1; side += 2) {
        pen.Move(side * 15, 40)
            .Curve(side * 34, 46, side * 40, 66, side * 34, 90)
            .Curve(side * 28, 110, side * 12, 126, side * 2, 134)
            .Line(side * 1, 132)
            .Curve(side * 10, 116, side * 18, 96, side * 18, 76)
            .Curve(side * 18, 60, side * 16, 48, side * 12, 42);
        pen.Fill(kSatin);
        pen.Move(side * 24, 50).Curve(side * 32, 62, side * 32, 80, side * 26, 96).StrokeAlpha(kSatinShine, 1.6, 0.8);
    }
    // A black bow tie.
    pen.Move(0, 47).Line(-13, 40).Line(-14, 54).Fill(kSatin);
    pen.Move(0, 47).Line(13, 40).Line(14, 54).Fill(kSatin);
    pen.Oval(0, 47, 3.5, 4).Fill(Rgb(50, 44, 56));
    // The gold star on the lapel and a red silk in the breast pocket.
    pen.Star(27, 70, 7.5, 3.2);
    pen.FillOutlined(kGold, kGoldDark, 0.8);
    pen.Glow(27, 70, 12, kGold, 0.35);
    pen.Move(-62, 92).Line(-44, 90).Line(-45, 95).Line(-60, 97).Fill(Rgb(30, 10, 40));
    pen.Move(-60, 93).Line(-57, 84).Line(-54, 91).Line(-51, 83).Line(-48, 91).Line(-45, 86).Line(-45, 92).Fill(
        Rgb(210, 30, 60));
    cairo_t* cr = canvas.Cr();
    auto hand = [&](double x, double y, double angle, double scale, bool ring) {
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, angle);
        cairo_scale(cr, scale, scale);
        DrawHand(pen, ring);
        cairo_restore(cr);
    };
    auto fist = [&](double x, double y, double angle, double scale) {
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, angle);
        cairo_scale(cr, scale, scale);
        DrawFist(pen);
        cairo_restore(cr);
    };
    if (pose == Pose::kShowingCards) {
        // The right arm comes up from the waist to show a fan of cards; the
        // left hand holds a glass of champagne.
        pen.Move(-112, 170).Curve(-104, 140, -86, 118, -62, 110).Line(-44, 124).Curve(-70, 136, -82, 150, -86, 170);
        pen.FillLinear(-110, 120, kVelvetLight, -50, 160, kVelvetDark);
        pen.Move(-64, 108).Line(-46, 100).Line(-38, 122).Line(-56, 130).Fill(kShirt);
        for (int k = 0; k < 5; ++k) DrawHeldCard(canvas, back, -50, 100, -0.95 + k * 0.3, 1.25);
        fist(-50, 96, -0.2, 1.5);
        pen.Move(112, 170).Curve(106, 140, 94, 124, 80, 118).Line(64, 130).Curve(80, 138, 86, 150, 88, 170);
        pen.FillLinear(110, 120, kVelvet, 50, 160, kVelvetDark);
        pen.Move(82, 116).Line(66, 110).Line(60, 130).Line(74, 136).Fill(kShirt);
        // The coupe: a wide bowl on a thin stem, held between the fingers.
        const double gx = 76;
        pen.Move(gx, 78).Line(gx, 126).Stroke(Rgb(230, 230, 240), 1.8);
        pen.Oval(gx, 126, 7, 1.8).Fill(Rgb(230, 230, 240));
        pen.Move(gx - 15, 66).Curve(gx - 13, 82, gx + 13, 82, gx + 15, 66).Fill(Rgb(236, 200, 110));
        pen.Oval(gx, 66, 15, 3.6).FillAlpha(Rgb(255, 240, 200), 0.9);
        pen.Move(gx - 15, 66).Curve(gx - 13, 82, gx + 13, 82, gx + 15, 66).Stroke(Rgb(250, 245, 235), 1.0);
        for (int k = 0; k < 4; ++k) pen.Dot(gx - 6 + k * 4, 70 + (k % 2) * 3, 0.8, Rgb(255, 255, 240));
        fist(gx, 104, 0, 1.5);
    } else {
        // Seated, elbows on the table, the fingertips pressed together.
        for (int side = -1; side <= 1; side += 2) {
            pen.Move(side * 108, 150)
                .Curve(side * 100, 130, side * 70, 124, side * 30, 120)
                .Line(side * 26, 140)
                .Curve(side * 60, 146, side * 84, 158, side * 90, 170);
            pen.FillLinear(side * 110, 120, kVelvetLight, side * 30, 160, kVelvetDark);
            pen.Move(side * 32, 118).Line(side * 22, 118).Line(side * 20, 142).Line(side * 30, 142).Fill(kShirt);
        }
        hand(-14, 112, 0.55, 1.5, false);
        hand(14, 112, -0.55, 1.5, true);
    }
    DrawOwnerHead(pen);
}

// The wall of the lair: dark red panels between curtains.
void DrawWall(Canvas& canvas, double bottom) {
    canvas.VerticalGradient(0, 0, 240, bottom, kWallTop, kWallBottom);
    Pen pen(canvas);
    for (int k = 0; k < 7; ++k) pen.Move(36 + k * 28, 0).Line(36 + k * 28, bottom);
    pen.StrokeAlpha(Rgb(0, 0, 0), 1.0, 0.25);
}

void DrawBefore(Canvas& c, Canvas& back) {
    DrawWall(c, 320);
    Pen pen(c);
    DrawCurtain(c, 0, 40, 320);
    DrawCurtain(c, 200, 240, 320);
    // The club's star glows on the wall over his armchair.
    DrawNeonStar(pen, 120, 136, 34);
    // The armchair: a winged back in red leather, gold studs along its edge.
    const Colour leather = Rgb(150, 24, 38), leatherDark = Rgb(70, 8, 18);
    pen.Move(60, 250)
        .Line(58, 176)
        .Curve(56, 150, 70, 140, 88, 144)
        .Curve(104, 136, 136, 136, 152, 144)
        .Curve(170, 140, 184, 150, 182, 176)
        .Line(180, 250);
    pen.FillLinear(60, 140, leather, 180, 250, leatherDark);
    for (int k = 0; k < 13; ++k) {
        const double a = M_PI * (1.08 + k / 12.0 * 0.84);
        pen.Dot(120 + std::cos(a) * 58, 182 + std::sin(a) * 40, 1.2, kGold);
    }
    for (int side = -1; side <= 1; side += 2) {
        pen.Move(120 + side * 70, 250)
            .Line(120 + side * 70, 204)
            .Curve(120 + side * 70, 194, 120 + side * 64, 190, 120 + side * 56, 192)
            .Line(120 + side * 52, 250);
        pen.FillLinear(120 + side * 70, 196, leather, 120 + side * 52, 250, leatherDark);
    }
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, 120, 160);
    cairo_scale(cr, 0.56, 0.56);
    DrawOwner(c, back, Pose::kSeated);
    cairo_restore(cr);
    // The card table in front: green baize, a brass rail, cards laid out.
    pen.Move(0, 238).Curve(60, 228, 180, 228, 240, 238).Line(240, 320).Line(0, 320);
    pen.FillLinear(0, 230, Rgb(20, 90, 60), 0, 262, Rgb(8, 40, 26));
    pen.Move(0, 238).Curve(60, 228, 180, 228, 240, 238).Stroke(kGoldDark, 2.0);
    for (int k = 0; k < 5; ++k) DrawHeldCard(c, back, 66 + k * 27, 262, -0.25 + k * 0.12 + (k % 2) * 0.1, 0.62, true);
    DrawSmoke(c, 320, 4, 1.0);
    // Quiet bands: the narration at the top, the boss's words at the bottom.
    QuietBand(c, 0, 96, 14);
    QuietBand(c, 246, 320, 10);
}

void DrawAfter(Canvas& c, Canvas& back) {
    DrawWall(c, 320);
    Pen pen(c);
    DrawNeonStar(pen, 120, 88, 74);
    DrawCurtain(c, 0, 30, 320);
    DrawCurtain(c, 210, 240, 320);
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, 120, 96);
    DrawOwner(c, back, Pose::kShowingCards);
    cairo_restore(cr);
    DrawSmoke(c, 320, 5, 1.2);
    QuietBand(c, 232, 320, 14);
}

}  // namespace

bool WriteBossPictures(const std::string& root) {
    Canvas before(240, 320), after(240, 320), back(32, 50);
    DrawCardBack(back);
    DrawBefore(before, back);
    DrawAfter(after, back);
    return SaveOpaque(before, root + "/GFX/MENU/HELL/Starman1.QVJ") &&
           SaveOpaque(after, root + "/GFX/MENU/HELL/Starman2.QVJ");
}

}  // namespace qv::tools
