// The opponents' portraits, drawn from the look that stands beside their texts.
// Everything is laid out on a 62-unit grid: the head is centred on x 31, its
// crown at y 13, the eyes on y 28 and the chin at y 43.
#include "tools/portraits.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/pen.h"

namespace qv::tools {
namespace {

constexpr double kCx = 31, kEyeY = 28, kMouthY = 37.5;

const Colour kSkins[5] = {Rgb(246, 214, 186), Rgb(228, 182, 144), Rgb(196, 142, 104), Rgb(150, 100, 70),
                          Rgb(106, 70, 50)};
const Colour kLevelBack[3] = {Rgb(40, 70, 110), Rgb(80, 40, 110), Rgb(120, 90, 30)};
const Colour kInk = Rgb(34, 26, 34);
const Colour kWhite = Rgb(246, 244, 240);
const Colour kGoldTrim = Rgb(236, 196, 84);

Colour Darker(Colour c, double t) { return Mix(c, Rgb(0, 0, 0), t); }
Colour Lighter(Colour c, double t) { return Mix(c, Rgb(255, 255, 255), t); }

Colour ShadeColour(HairShade shade) {
    switch (shade) {
    case HairShade::kBlack: return Rgb(38, 30, 34);
    case HairShade::kBrown: return Rgb(96, 60, 38);
    case HairShade::kChestnut: return Rgb(146, 84, 46);
    case HairShade::kAuburn: return Rgb(188, 78, 42);
    case HairShade::kBlond: return Rgb(228, 190, 108);
    case HairShade::kPlatinum: return Rgb(238, 230, 204);
    case HairShade::kGrey: return Rgb(156, 156, 164);
    case HairShade::kWhite: return Rgb(230, 230, 236);
    case HairShade::kViolet: return Rgb(146, 76, 178);
    }
    return Rgb(96, 60, 38);
}

bool Feminine(const PortraitLook& look) { return look.sex == Sex::kWoman; }

// Brown eyes with dark hair and skin, blue or green otherwise.
Colour Iris(const PortraitLook& look) {
    if (look.skin >= 2 || look.shade == HairShade::kBlack || look.shade == HairShade::kBrown) return Rgb(110, 70, 40);
    return look.shade == HairShade::kAuburn || look.shade == HairShade::kChestnut ? Rgb(70, 130, 80)
                                                                                  : Rgb(70, 120, 180);
}

// The face outline: a rounder jaw for women and the young, a squarer one for men.
void HeadPath(Pen& pen, const PortraitLook& look) {
    const double jaw = Feminine(look) || look.age == Age::kYoung ? 8.5 : 10.0;
    const double chinY = look.sex == Sex::kMan ? 43.5 : 43;
    pen.Move(kCx, 13)
        .Curve(kCx + 8, 13, kCx + 12.5, 18, kCx + 12.5, 26)
        .Curve(kCx + 12.5, 33, kCx + jaw + 1, 38, kCx + jaw - 2, 41)
        .Curve(kCx + 4, chinY, kCx + 2, chinY, kCx, chinY)
        .Curve(kCx - 2, chinY, kCx - 4, chinY, kCx - jaw + 2, 41)
        .Curve(kCx - jaw - 1, 38, kCx - 12.5, 33, kCx - 12.5, 26)
        .Curve(kCx - 12.5, 18, kCx - 8, 13, kCx, 13);
}

// Hair that falls behind the head and shoulders.
void DrawBackHair(Pen& pen, const PortraitLook& look, Colour hair) {
    switch (look.hair) {
    case Hair::kLong:
        pen.Move(kCx, 9)
            .Curve(kCx + 14, 9, kCx + 17, 20, kCx + 16, 34)
            .Curve(kCx + 16, 44, kCx + 18, 50, kCx + 17, 56)
            .Line(kCx - 17, 56)
            .Curve(kCx - 18, 50, kCx - 16, 44, kCx - 16, 34)
            .Curve(kCx - 17, 20, kCx - 14, 9, kCx, 9)
            .Fill(hair);
        break;
    case Hair::kWavy:
        pen.Move(kCx, 9)
            .Curve(kCx + 15, 9, kCx + 19, 20, kCx + 16, 30)
            .Curve(kCx + 21, 36, kCx + 15, 42, kCx + 19, 48)
            .Curve(kCx + 21, 52, kCx + 16, 55, kCx + 12, 54)
            .Line(kCx - 12, 54)
            .Curve(kCx - 16, 55, kCx - 21, 52, kCx - 19, 48)
            .Curve(kCx - 15, 42, kCx - 21, 36, kCx - 16, 30)
            .Curve(kCx - 19, 20, kCx - 15, 9, kCx, 9)
            .Fill(hair);
        break;
    case Hair::kBob:
        pen.Move(kCx, 9.5)
            .Curve(kCx + 14, 9.5, kCx + 16, 20, kCx + 15.5, 30)
            .Curve(kCx + 15.5, 36, kCx + 16, 40, kCx + 14, 42)
            .Line(kCx - 14, 42)
            .Curve(kCx - 16, 40, kCx - 15.5, 36, kCx - 15.5, 30)
            .Curve(kCx - 16, 20, kCx - 14, 9.5, kCx, 9.5)
            .Fill(hair);
        break;
    case Hair::kBun:
        pen.Oval(kCx, 9.5, 6.5, 5.5).Fill(hair);
        pen.Oval(kCx - 1.5, 8.5, 2.5, 1.6).FillAlpha(Rgb(255, 255, 255), 0.18);
        break;
    case Hair::kPonytail:
        pen.Move(kCx + 8, 14)
            .Curve(kCx + 19, 12, kCx + 21, 22, kCx + 19, 32)
            .Curve(kCx + 18, 40, kCx + 21, 46, kCx + 18, 50)
            .Curve(kCx + 14, 44, kCx + 15, 36, kCx + 14, 28)
            .Fill(hair);
        break;
    case Hair::kCurly:
        for (int k = 0; k < 11; ++k) {
            const double a = M_PI * (0.95 + k * 0.11);
            pen.Oval(kCx + std::cos(a) * 15, 24 + std::sin(a) * 14, 5.5, 5.5);
        }
        pen.Oval(kCx, 22, 16, 14).Fill(hair);
        break;
    case Hair::kWild:
        for (int side = -1; side <= 1; side += 2) {
            for (int k = 0; k < 4; ++k) pen.Oval(kCx + side * (14 + k % 2 * 3), 17 + k * 4.5, 4.5, 4);
        }
        pen.Fill(hair);
        break;
    default: break;
    }
}

void DrawNeckAndBody(Pen& pen, const PortraitLook& look, Colour skin) {
    const Colour cloth = RgbHex(look.clothesColour);
    const Colour shade = Darker(cloth, 0.3);
    // Neck, a little darker than the face.
    pen.Move(kCx - 5, 36).Line(kCx + 5, 36).Line(kCx + 5.5, 50).Line(kCx - 5.5, 50).Fill(Darker(skin, 0.12));
    pen.Move(kCx - 5, 40)
        .Curve(kCx - 2, 43.5, kCx + 2, 43.5, kCx + 5, 40)
        .Line(kCx + 5, 43)
        .Curve(kCx + 2, 46, kCx - 2, 46, kCx - 5, 43)
        .FillAlpha(Rgb(0, 0, 0), 0.12);
    auto shoulders = [&](double top) {
        pen.Move(0, 62)
            .Line(0, 56)
            .Curve(3, 51, 8, top + 1, 18, top)
            .Curve(22, top - 1, 25, top - 2, kCx - 5, top - 2)
            .Line(kCx + 5, top - 2)
            .Curve(kCx + 6, top - 2, 40, top - 1, 44, top)
            .Curve(54, top + 1, 59, 51, 62, 56)
            .Line(62, 62);
    };
    switch (look.clothes) {
    case Clothes::kDress:
        shoulders(48);
        pen.Fill(cloth);
        // A rounded neckline and two narrow straps.
        pen.Move(kCx - 10, 47).Curve(kCx - 8, 56, kCx + 8, 56, kCx + 10, 47).Fill(Darker(skin, 0.08));
        pen.Move(kCx - 10, 47).Curve(kCx - 8, 56, kCx + 8, 56, kCx + 10, 47).Stroke(shade, 0.8);
        break;
    case Clothes::kGown:
        shoulders(49);
        pen.Fill(Darker(skin, 0.08));
        pen.Move(0, 62)
            .Line(0, 58)
            .Curve(10, 55, 18, 58, kCx, 56)
            .Curve(44, 58, 52, 55, 62, 58)
            .Line(62, 62)
            .Fill(cloth);
        pen.Move(0, 58).Curve(10, 55, 18, 58, kCx, 56).Curve(44, 58, 52, 55, 62, 58).Stroke(Lighter(cloth, 0.35), 0.8);
        break;
    default:
        shoulders(48);
        pen.Fill(cloth);
        break;
    }
    switch (look.clothes) {
    case Clothes::kHoodie:
        // The hood lies round the neck; two drawstrings hang from it.
        pen.Move(kCx - 12, 47)
            .Curve(kCx - 8, 54, kCx + 8, 54, kCx + 12, 47)
            .Curve(kCx + 8, 50, kCx - 8, 50, kCx - 12, 47)
            .Fill(shade);
        pen.Move(kCx - 3, 51).Line(kCx - 3.5, 60).Move(kCx + 3, 51).Line(kCx + 3.5, 60).Stroke(kWhite, 0.8);
        break;
    case Clothes::kJacket:
        pen.Move(kCx - 7, 46).Line(kCx + 7, 46).Line(kCx + 6, 62).Line(kCx - 6, 62).Fill(Rgb(226, 222, 210));
        pen.Move(kCx - 7, 46).Line(kCx - 4, 62).Move(kCx + 7, 46).Line(kCx + 4, 62).Stroke(shade, 1.2);
        break;
    case Clothes::kSweater:
    case Clothes::kLeotard:
        pen.Move(kCx - 6.5, 46.5).Curve(kCx - 4, 51, kCx + 4, 51, kCx + 6.5, 46.5).Stroke(shade, 1.6);
        if (look.clothes == Clothes::kLeotard) {
            pen.Move(8, 56).Line(16, 62).Move(54, 56).Line(46, 62).Stroke(kGoldTrim, 1.0);
        }
        break;
    case Clothes::kSmock:
        pen.Move(kCx - 6, 46.5).Curve(kCx - 4, 50, kCx + 4, 50, kCx + 6, 46.5).Stroke(shade, 1.2);
        pen.Dot(16, 55, 1.3, Rgb(220, 60, 70));
        pen.Dot(44, 53, 1.1, Rgb(60, 130, 220));
        pen.Dot(39, 59, 1.4, Rgb(240, 200, 60));
        pen.Dot(22, 60, 1.0, Rgb(80, 180, 90));
        break;
    case Clothes::kSuit:
    case Clothes::kWaistcoat: {
        // A white shirt in a V, the lapels or the waistcoat edges either side.
        pen.Move(kCx - 6, 46).Line(kCx + 6, 46).Line(kCx, 62).Fill(kWhite);
        const Colour lapel = look.clothes == Clothes::kSuit ? Darker(cloth, 0.25) : Darker(cloth, 0.45);
        pen.Move(kCx - 6, 46).Line(kCx - 10, 49).Line(kCx - 2, 61).Line(kCx, 62).Fill(lapel);
        pen.Move(kCx + 6, 46).Line(kCx + 10, 49).Line(kCx + 2, 61).Line(kCx, 62).Fill(lapel);
        if (look.clothes == Clothes::kWaistcoat) {
            pen.Move(0, 62).Line(0, 56).Curve(3, 51, 8, 49, 14, 48.5).Line(16, 62).Fill(kWhite);
            pen.Move(62, 62).Line(62, 56).Curve(59, 51, 54, 49, 48, 48.5).Line(46, 62).Fill(kWhite);
            pen.Dot(kCx, 58, 0.8, kGoldTrim);
        }
        break;
    }
    case Clothes::kUniform:
        pen.Move(kCx - 7, 45)
            .Line(kCx + 7, 45)
            .Line(kCx + 7.5, 49)
            .Curve(kCx + 3, 50.5, kCx - 3, 50.5, kCx - 7.5, 49)
            .Fill(shade);
        for (int k = 0; k < 3; ++k) pen.Dot(kCx, 53 + k * 4, 0.9, kGoldTrim);
        pen.Move(6, 52).Line(15, 49).Stroke(kGoldTrim, 1.6);
        pen.Move(56, 52).Line(47, 49).Stroke(kGoldTrim, 1.6);
        break;
    case Clothes::kTunic:
        pen.Move(kCx - 6, 46).Line(kCx + 6, 46).Line(kCx, 53).Fill(Darker(skin, 0.1));
        pen.Move(kCx - 6, 46).Line(kCx, 53).Line(kCx + 6, 46).Stroke(shade, 0.9);
        pen.Dot(kCx + 6, 55, 0.7, shade);
        pen.Dot(kCx + 6, 59, 0.7, shade);
        break;
    case Clothes::kOveralls:
        pen.Move(kCx - 6.5, 46.5).Curve(kCx - 4, 50, kCx + 4, 50, kCx + 6.5, 46.5).Stroke(Darker(cloth, 0.5), 1.2);
        pen.Move(kCx - 11, 56).Line(kCx + 11, 56).Line(kCx + 11, 62).Line(kCx - 11, 62).Fill(Rgb(70, 90, 140));
        pen.Move(kCx - 9, 56).Line(kCx - 13, 48).Move(kCx + 9, 56).Line(kCx + 13, 48).Stroke(Rgb(70, 90, 140), 2.2);
        pen.Dot(kCx - 9, 57.5, 0.8, kGoldTrim);
        pen.Dot(kCx + 9, 57.5, 0.8, kGoldTrim);
        break;
    case Clothes::kRobe:
        pen.Move(kCx - 7, 46)
            .Line(kCx + 7, 46)
            .Line(kCx + 8, 50)
            .Curve(kCx + 3, 52, kCx - 3, 52, kCx - 8, 50)
            .Fill(kWhite);
        if (look.headwear != Headwear::kVeil) {
            pen.Move(kCx - 2, 50).Line(kCx - 2.5, 58).Line(kCx - 0.3, 58).Line(kCx, 51).Fill(kWhite);
            pen.Move(kCx + 2, 50).Line(kCx + 2.5, 58).Line(kCx + 0.3, 58).Line(kCx, 51).Fill(kWhite);
        }
        break;
    case Clothes::kCape:
        // A high collar rises behind the neck, lined in red.
        pen.Move(kCx - 7, 48).Line(kCx - 15, 33).Line(kCx - 11, 47).Fill(Rgb(150, 24, 40));
        pen.Move(kCx + 7, 48).Line(kCx + 15, 33).Line(kCx + 11, 47).Fill(Rgb(150, 24, 40));
        pen.Move(kCx - 7, 48).Line(kCx - 15, 33).Line(kCx - 16, 36).Line(kCx - 12, 50).Fill(shade);
        pen.Move(kCx + 7, 48).Line(kCx + 15, 33).Line(kCx + 16, 36).Line(kCx + 12, 50).Fill(shade);
        break;
    case Clothes::kTrenchCoat:
        pen.Move(kCx - 6, 46).Line(kCx + 6, 46).Line(kCx, 56).Fill(Rgb(60, 56, 60));
        pen.Move(kCx - 6, 46).Line(kCx - 13, 47).Line(kCx - 9, 56).Line(kCx, 57).Fill(Darker(cloth, 0.18));
        pen.Move(kCx + 6, 46).Line(kCx + 13, 47).Line(kCx + 9, 56).Line(kCx, 57).Fill(Darker(cloth, 0.18));
        break;
    case Clothes::kLeather:
        pen.Move(kCx - 6, 46).Line(kCx + 6, 46).Line(kCx + 3, 62).Line(kCx - 3, 62).Fill(Rgb(200, 196, 190));
        pen.Move(kCx - 6, 46).Line(kCx - 11, 48).Line(kCx - 4, 58).Fill(Lighter(cloth, 0.12));
        pen.Move(kCx + 6, 46).Line(kCx + 11, 48).Line(kCx + 4, 58).Fill(Lighter(cloth, 0.12));
        pen.Move(14, 50).Line(12, 62).Stroke(Lighter(cloth, 0.25), 0.7);
        break;
    default: break;
    }
}

void DrawEars(Pen& pen, Colour skin) {
    for (int side = -1; side <= 1; side += 2) {
        pen.Oval(kCx + side * 12.3, 29.5, 2.2, 3.6).Fill(skin);
        pen.Oval(kCx + side * 12.5, 29.5, 1.0, 2.0).FillAlpha(Rgb(120, 60, 50), 0.25);
    }
}

void DrawEyes(Pen& pen, const PortraitLook& look, Colour skin, Colour hair) {
    const bool closed = look.mood == Mood::kSinging;
    const double open = look.age == Age::kOld ? 1.3 : 1.6;
    for (int side = -1; side <= 1; side += 2) {
        const double ex = kCx + side * 5;
        if (closed) {
            pen.Move(ex - 2.5, kEyeY)
                .Curve(ex - 1, kEyeY + 1.5, ex + 1, kEyeY + 1.5, ex + 2.5, kEyeY)
                .Stroke(kInk, 0.9);
        } else {
            pen.Oval(ex, kEyeY, 2.7, open).Fill(kWhite);
            pen.Dot(ex + 0.2, kEyeY + 0.1, 1.45, Iris(look));
            pen.Dot(ex + 0.2, kEyeY + 0.1, 0.8, kInk);
            pen.Dot(ex + 0.7, kEyeY - 0.5, 0.35, Rgb(255, 255, 255));
            // The upper lid: heavier, with a flick of lashes, for women.
            const double lid = Feminine(look) ? 1.0 : 0.6;
            pen.Move(ex - 2.8, kEyeY + 0.2)
                .Curve(ex - 1.5, kEyeY - open - 0.6, ex + 1.5, kEyeY - open - 0.6, ex + 2.8, kEyeY + 0.2)
                .Stroke(kInk, lid);
            if (Feminine(look)) {
                pen.Move(ex + side * 2.6, kEyeY - 0.2).Line(ex + side * 3.8, kEyeY - 1.3).Stroke(kInk, 0.7);
            }
        }
        if (look.age == Age::kOld) {
            pen.Move(ex - 2, kEyeY + 2.4)
                .Curve(ex - 1, kEyeY + 3.2, ex + 1, kEyeY + 3.2, ex + 2, kEyeY + 2.4)
                .StrokeAlpha(Darker(skin, 0.5), 0.6, 0.6);
            pen.Move(ex + side * 3.4, kEyeY + 0.5)
                .Line(ex + side * 4.8, kEyeY + 1.2)
                .StrokeAlpha(Darker(skin, 0.5), 0.5, 0.6);
        }
        // Brows: lowered to the nose when cross, lifted when singing or smug.
        double inner = kEyeY - 4.2, outer = kEyeY - 4.4;
        if (look.mood == Mood::kFrown) inner += 1.6;
        if (look.mood == Mood::kSinging || look.mood == Mood::kSmile) {
            inner -= 0.6;
            outer -= 0.3;
        }
        if (look.mood == Mood::kSmirk && side > 0) {
            inner -= 1.0;
            outer -= 1.2;
        }
        const Colour brow =
            look.hair == Hair::kBald && look.shade == HairShade::kGrey ? Darker(hair, 0.2) : Darker(hair, 0.25);
        pen.Move(ex - side * 2.8, inner)
            .Curve(ex - side * 0.5, inner - 1.1, ex + side * 1.5, outer - 0.8, ex + side * 3.2, outer + 0.4)
            .Stroke(brow, Feminine(look) ? 0.9 : 1.5);
    }
}

void DrawMouth(Pen& pen, const PortraitLook& look, Colour skin) {
    const Colour lips =
        Feminine(look) ? (look.age == Age::kOld ? Rgb(190, 100, 110) : Rgb(200, 46, 70)) : Darker(skin, 0.35);
    const Colour line = Rgb(110, 40, 50);
    const double y = kMouthY;
    switch (look.mood) {
    case Mood::kSmile:
        pen.Move(kCx - 4, y - 0.5)
            .Curve(kCx - 2, y + 2.2, kCx + 2, y + 2.2, kCx + 4, y - 0.5)
            .Curve(kCx + 2, y + 1.0, kCx - 2, y + 1.0, kCx - 4, y - 0.5)
            .Fill(Feminine(look) ? lips : Rgb(150, 70, 70));
        pen.Move(kCx - 4, y - 0.5).Curve(kCx - 2, y + 2.2, kCx + 2, y + 2.2, kCx + 4, y - 0.5).Stroke(line, 0.6);
        break;
    case Mood::kGrin:
        pen.Move(kCx - 4.5, y - 1).Curve(kCx - 2, y + 3.5, kCx + 2, y + 3.5, kCx + 4.5, y - 1).Fill(Rgb(90, 30, 40));
        pen.Move(kCx - 4.2, y - 0.8)
            .Line(kCx + 4.2, y - 0.8)
            .Curve(kCx + 3, y + 0.8, kCx - 3, y + 0.8, kCx - 4.2, y - 0.8)
            .Fill(kWhite);
        if (Feminine(look)) {
            pen.Move(kCx - 4.5, y - 1).Curve(kCx - 2, y + 3.5, kCx + 2, y + 3.5, kCx + 4.5, y - 1).Stroke(lips, 0.8);
        }
        break;
    case Mood::kFrown:
        pen.Move(kCx - 3.5, y + 1)
            .Curve(kCx - 1.5, y - 0.6, kCx + 1.5, y - 0.6, kCx + 3.5, y + 1)
            .Stroke(Feminine(look) ? lips : line, 1.0);
        break;
    case Mood::kSmirk:
        pen.Move(kCx - 3.5, y + 0.2)
            .Curve(kCx - 1, y + 0.8, kCx + 2, y + 0.6, kCx + 4, y - 1.2)
            .Stroke(Feminine(look) ? lips : line, 1.1);
        break;
    case Mood::kSinging:
        pen.Oval(kCx, y + 0.5, 2.4, 2.2).Fill(Rgb(90, 30, 40));
        pen.Oval(kCx, y + 0.5, 2.4, 2.2).Stroke(Feminine(look) ? lips : line, 0.9);
        break;
    case Mood::kCalm:
        pen.Move(kCx - 3.2, y + 0.2)
            .Curve(kCx - 1, y + 0.8, kCx + 1, y + 0.8, kCx + 3.2, y + 0.2)
            .Stroke(Feminine(look) ? lips : line, 1.0);
        break;
    }
    if (Feminine(look) && (look.mood == Mood::kCalm || look.mood == Mood::kFrown || look.mood == Mood::kSmirk)) {
        // The upper lip's bow above the line.
        pen.Move(kCx - 2.6, y - 0.3)
            .Curve(kCx - 1.5, y - 1.4, kCx - 0.6, y - 1.2, kCx, y - 0.6)
            .Curve(kCx + 0.6, y - 1.2, kCx + 1.5, y - 1.4, kCx + 2.6, y - 0.3)
            .Stroke(lips, 0.9);
    }
}

void DrawFaceDetails(Pen& pen, const PortraitLook& look, Colour skin, Colour hair) {
    // A shadow down the right of the face, and the nose.
    pen.Move(kCx + 6, 14.5)
        .Curve(kCx + 12, 18, kCx + 12.5, 26, kCx + 12.5, 28)
        .Curve(kCx + 12.5, 34, kCx + 10, 39, kCx + 6, 42)
        .Curve(kCx + 9, 36, kCx + 10, 26, kCx + 6, 14.5)
        .FillAlpha(Rgb(60, 20, 20), 0.12);
    pen.Move(kCx + 0.4, 29).Curve(kCx + 1.6, 31, kCx + 2, 32.5, kCx + 1.2, 33.6).Stroke(Darker(skin, 0.3), 0.8);
    pen.Move(kCx - 1.6, 33.8)
        .Curve(kCx - 0.6, 34.6, kCx + 0.6, 34.6, kCx + 1.6, 33.8)
        .StrokeAlpha(Darker(skin, 0.4), 0.7, 0.7);
    if (Feminine(look) || look.age == Age::kYoung) {
        pen.Oval(kCx - 7.5, 33, 2.6, 1.6).FillAlpha(Rgb(230, 90, 100), Feminine(look) ? 0.3 : 0.15);
        pen.Oval(kCx + 7.5, 33, 2.6, 1.6).FillAlpha(Rgb(230, 90, 100), Feminine(look) ? 0.3 : 0.15);
    }
    if (look.age == Age::kOld) {
        const Colour crease = Darker(skin, 0.45);
        pen.Move(kCx - 5, 18.5).Curve(kCx - 2, 17.8, kCx + 2, 17.8, kCx + 5, 18.5).StrokeAlpha(crease, 0.5, 0.6);
        pen.Move(kCx - 4, 20.3).Curve(kCx - 1, 19.7, kCx + 1, 19.7, kCx + 4, 20.3).StrokeAlpha(crease, 0.5, 0.5);
        pen.Move(kCx - 3.5, 33).Curve(kCx - 5, 35, kCx - 5.5, 37, kCx - 5, 39).StrokeAlpha(crease, 0.6, 0.6);
        pen.Move(kCx + 3.5, 33).Curve(kCx + 5, 35, kCx + 5.5, 37, kCx + 5, 39).StrokeAlpha(crease, 0.6, 0.6);
    }
    if (look.Has(kStubble)) {
        pen.Move(kCx - 11, 32)
            .Curve(kCx - 10, 40, kCx - 5, 43.5, kCx, 43.5)
            .Curve(kCx + 5, 43.5, kCx + 10, 40, kCx + 11, 32)
            .Curve(kCx + 7, 36, kCx + 5, 34, kCx, 34.5)
            .Curve(kCx - 5, 34, kCx - 7, 36, kCx - 11, 32)
            .FillAlpha(Darker(hair, 0.3), 0.28);
    }
    if (look.Has(kBeard)) {
        pen.Move(kCx - 12, 28)
            .Curve(kCx - 12, 40, kCx - 7, 48, kCx, 49)
            .Curve(kCx + 7, 48, kCx + 12, 40, kCx + 12, 28)
            .Curve(kCx + 10, 33, kCx + 6, 36, kCx + 4, 35.5)
            .Curve(kCx + 2, 35, kCx - 2, 35, kCx - 4, 35.5)
            .Curve(kCx - 6, 36, kCx - 10, 33, kCx - 12, 28)
            .Fill(hair);
        pen.Move(kCx - 3.5, kMouthY - 0.5)
            .Curve(kCx - 2, kMouthY + 2.5, kCx + 2, kMouthY + 2.5, kCx + 3.5, kMouthY - 0.5)
            .Fill(Darker(skin, 0.1));
    }
    if (look.Has(kFreckles)) {
        const double spots[6][2] = {{-7, 31.5}, {-5.5, 32.8}, {-8.5, 33}, {7, 31.5}, {5.5, 32.8}, {8.5, 33}};
        for (const auto& s : spots) pen.Dot(kCx + s[0], s[1], 0.6, Darker(skin, 0.45));
    }
    if (look.Has(kScar)) {
        // Pale on dark skin, dark on fair skin.
        const Colour scar = look.skin >= 2 ? Rgb(236, 170, 160) : Rgb(170, 80, 80);
        pen.Move(kCx - 8.5, 22.5).Line(kCx - 4.5, 33).Stroke(scar, 0.8);
        for (int k = 0; k < 3; ++k) {
            const double t = 0.25 + k * 0.25, x = kCx - 8.5 + 4 * t, y = 22.5 + 10.5 * t;
            pen.Move(x - 1, y + 0.4).Line(x + 1, y - 0.4).Stroke(scar, 0.5);
        }
    }
    DrawMouth(pen, look, skin);
    if (look.Has(kMoustache)) {
        pen.Move(kCx, kMouthY - 2.6)
            .Curve(kCx - 2, kMouthY - 3.4, kCx - 4.5, kMouthY - 2.8, kCx - 5.5, kMouthY - 0.4)
            .Curve(kCx - 3.5, kMouthY - 1.4, kCx - 1.5, kMouthY - 1.2, kCx, kMouthY - 1.4)
            .Curve(kCx + 1.5, kMouthY - 1.2, kCx + 3.5, kMouthY - 1.4, kCx + 5.5, kMouthY - 0.4)
            .Curve(kCx + 4.5, kMouthY - 2.8, kCx + 2, kMouthY - 3.4, kCx, kMouthY - 2.6)
            .Fill(Darker(hair, 0.1));
    }
    if (look.Has(kBeautySpot)) pen.Dot(kCx + 5, kMouthY - 1.5, 0.6, kInk);
    DrawEyes(pen, look, skin, hair);
    if (look.Has(kTear)) {
        pen.Move(kCx - 5.5, kEyeY + 2.6)
            .Curve(kCx - 4.6, kEyeY + 4.2, kCx - 4.4, kEyeY + 5.6, kCx - 5.5, kEyeY + 5.6)
            .Curve(kCx - 6.6, kEyeY + 5.6, kCx - 6.4, kEyeY + 4.2, kCx - 5.5, kEyeY + 2.6)
            .Fill(Rgb(150, 210, 250));
    }
    if (look.Has(kGlasses)) {
        for (int side = -1; side <= 1; side += 2) pen.Oval(kCx + side * 5, kEyeY, 3.6, 3.0);
        pen.Move(kCx - 1.4, kEyeY - 0.4).Curve(kCx - 0.5, kEyeY - 1.2, kCx + 0.5, kEyeY - 1.2, kCx + 1.4, kEyeY - 0.4);
        pen.Move(kCx - 8.6, kEyeY - 0.5)
            .Line(kCx - 12.2, kEyeY - 1)
            .Move(kCx + 8.6, kEyeY - 0.5)
            .Line(kCx + 12.2, kEyeY - 1);
        pen.Stroke(Rgb(50, 40, 50), 0.8);
    }
    if (look.Has(kMonocle)) {
        pen.Oval(kCx + 5, kEyeY, 3.6, 3.4).Stroke(kGoldTrim, 0.9);
        pen.Move(kCx + 8.4, kEyeY + 1.2)
            .Curve(kCx + 10, kEyeY + 8, kCx + 8, kEyeY + 14, kCx + 10, kEyeY + 20)
            .Stroke(kGoldTrim, 0.5);
    }
    if (look.Has(kMask)) {
        pen.Move(kCx - 12.5, kEyeY - 1.5)
            .Curve(kCx - 10, kEyeY - 5.5, kCx - 3, kEyeY - 4.5, kCx, kEyeY - 2.5)
            .Curve(kCx + 3, kEyeY - 4.5, kCx + 10, kEyeY - 5.5, kCx + 12.5, kEyeY - 1.5)
            .Curve(kCx + 11, kEyeY + 4, kCx + 4, kEyeY + 4.5, kCx, kEyeY + 1.8)
            .Curve(kCx - 4, kEyeY + 4.5, kCx - 11, kEyeY + 4, kCx - 12.5, kEyeY - 1.5)
            .Fill(Rgb(24, 20, 30));
        for (int side = -1; side <= 1; side += 2) {
            pen.Oval(kCx + side * 5, kEyeY, 2.2, 1.2).Fill(kWhite);
            pen.Dot(kCx + side * 5 + 0.2, kEyeY, 0.8, kInk);
        }
        pen.Move(kCx - 12.5, kEyeY - 1.5)
            .Curve(kCx - 10, kEyeY - 5.5, kCx - 3, kEyeY - 4.5, kCx, kEyeY - 2.5)
            .Curve(kCx + 3, kEyeY - 4.5, kCx + 10, kEyeY - 5.5, kCx + 12.5, kEyeY - 1.5)
            .Stroke(Rgb(200, 190, 220), 0.5);
    }
}

// The hair over the forehead, drawn on the head.
void DrawFrontHair(Pen& pen, const PortraitLook& look, Colour hair) {
    const Colour shine = Lighter(hair, 0.3);
    auto cap = [&](double hairline, double temple) {
        pen.Move(kCx - 12.8, temple)
            .Curve(kCx - 13.5, 17, kCx - 8, 11.5, kCx, 11.5)
            .Curve(kCx + 8, 11.5, kCx + 13.5, 17, kCx + 12.8, temple)
            .Curve(kCx + 11.5, 20, kCx + 6, hairline - 1, kCx, hairline)
            .Curve(kCx - 6, hairline - 1, kCx - 11.5, 20, kCx - 12.8, temple);
    };
    switch (look.hair) {
    case Hair::kBald: pen.Oval(kCx - 4, 16, 3, 1.3).FillAlpha(Rgb(255, 255, 255), 0.35); break;
    case Hair::kBaldSides:
        pen.Oval(kCx - 4, 16, 3, 1.3).FillAlpha(Rgb(255, 255, 255), 0.35);
        for (int side = -1; side <= 1; side += 2) {
            pen.Move(kCx + side * 13.2, 31)
                .Curve(kCx + side * 14.5, 26, kCx + side * 14, 20, kCx + side * 10, 17)
                .Curve(kCx + side * 11.5, 22, kCx + side * 12, 26, kCx + side * 11.8, 31)
                .Fill(hair);
        }
        break;
    case Hair::kCropped:
        cap(17.5, 25);
        pen.FillAlpha(hair, 0.8);
        break;
    case Hair::kShort:
        cap(18.5, 27);
        pen.Fill(hair);
        // A side parting with a tuft over the brow.
        pen.Move(kCx - 4, 12.5).Curve(kCx - 6, 16, kCx - 9, 19, kCx - 11, 20).Stroke(Darker(hair, 0.3), 0.6);
        pen.Move(kCx - 4, 13)
            .Curve(kCx + 2, 14, kCx + 8, 17, kCx + 10, 21)
            .Curve(kCx + 6, 18.5, kCx, 18, kCx - 4, 16)
            .Fill(hair);
        break;
    case Hair::kSlick:
        // Combed straight back from a small peak, with one shine.
        cap(18, 26);
        pen.Fill(hair);
        pen.Move(kCx - 4, 17.6)
            .Curve(kCx - 1.5, 18.2, kCx - 0.6, 19.6, kCx, 20.5)
            .Curve(kCx + 0.6, 19.6, kCx + 1.5, 18.2, kCx + 4, 17.6)
            .Fill(hair);
        pen.Move(kCx - 9, 17).Curve(kCx - 7, 14, kCx - 3, 12.8, kCx + 2, 12.6).StrokeAlpha(shine, 0.9, 0.6);
        break;
    case Hair::kSpiky:
        pen.Move(kCx - 13, 24);
        for (int k = 0; k <= 6; ++k) {
            const double x = kCx - 12 + k * 4;
            pen.Line(x - 1, 7 + (k % 2) * 3).Line(x + 1.5, 15);
        }
        pen.Line(kCx + 13, 24)
            .Curve(kCx + 10, 19, kCx + 5, 18, kCx, 18)
            .Curve(kCx - 5, 18, kCx - 10, 19, kCx - 13, 24)
            .Fill(hair);
        break;
    case Hair::kMohawk:
        cap(17.5, 24);
        pen.FillAlpha(hair, 0.35);
        pen.Move(kCx - 3, 19);
        for (int k = 0; k < 4; ++k) pen.Line(kCx - 4 + k * 2.5, 2 + (k % 2) * 3).Line(kCx - 2 + k * 2.5, 10);
        pen.Line(kCx + 4, 12).Line(kCx + 3, 19).Fill(hair);
        break;
    case Hair::kWild:
        // A few wisps curling up from the thin top.
        for (int k = -1; k <= 1; ++k) {
            pen.Move(kCx + k * 4, 14)
                .Curve(kCx + k * 5 - 2, 10, kCx + k * 5 + 2, 9, kCx + k * 6, 7.5)
                .Stroke(hair, 1.0);
        }
        break;
    case Hair::kCurly:
        for (int k = 0; k < 6; ++k) pen.Oval(kCx - 11 + k * 4.4, 16 + (k % 2) * 1.5, 3.2, 3.2);
        pen.Fill(hair);
        for (int k = 0; k < 6; ++k) pen.Oval(kCx - 11 + k * 4.4, 15.5 + (k % 2) * 1.5, 1.4, 1.0);
        pen.FillAlpha(shine, 0.5);
        break;
    case Hair::kBob:
        // Straight panels to the jaw and a fringe cut across the brow.
        pen.Move(kCx - 15.5, 40)
            .Line(kCx - 15.5, 26)
            .Curve(kCx - 16, 15, kCx - 9, 10.5, kCx, 10.5)
            .Curve(kCx + 9, 10.5, kCx + 16, 15, kCx + 15.5, 26)
            .Line(kCx + 15.5, 40)
            .Line(kCx + 11, 40)
            .Curve(kCx + 11.5, 34, kCx + 12.2, 26, kCx + 11.5, 21.5)
            .Line(kCx - 11.5, 21.5)
            .Curve(kCx - 12.2, 26, kCx - 11.5, 34, kCx - 11, 40)
            .Fill(hair);
        pen.Move(kCx - 8, 13).Curve(kCx - 3, 12, kCx + 3, 12, kCx + 8, 13).StrokeAlpha(shine, 0.8, 0.7);
        break;
    case Hair::kLong:
    case Hair::kWavy:
        // Parted in the middle, falling down both sides of the face.
        pen.Move(kCx, 15)
            .Curve(kCx - 6, 16, kCx - 10, 21, kCx - 11.5, 30)
            .Curve(kCx - 12, 38, kCx - 14, 46, kCx - 16, 54)
            .Line(kCx - 17, 54)
            .Curve(kCx - 17, 40, kCx - 16, 22, kCx - 13, 16)
            .Curve(kCx - 10, 11, kCx - 4, 10, kCx, 10.5)
            .Curve(kCx + 4, 10, kCx + 10, 11, kCx + 13, 16)
            .Curve(kCx + 16, 22, kCx + 17, 40, kCx + 17, 54)
            .Line(kCx + 16, 54)
            .Curve(kCx + 14, 46, kCx + 12, 38, kCx + 11.5, 30)
            .Curve(kCx + 10, 21, kCx + 6, 16, kCx, 15)
            .Fill(hair);
        pen.Move(kCx - 2, 12).Curve(kCx - 7, 13, kCx - 11, 18, kCx - 13, 26).StrokeAlpha(shine, 0.7, 0.7);
        break;
    case Hair::kBun:
    case Hair::kPonytail:
        // Drawn back from the face, with a soft sweep across the brow.
        cap(18, 27);
        pen.Fill(hair);
        pen.Move(kCx - 9, 14).Curve(kCx - 4, 12.5, kCx + 2, 13, kCx + 7, 15.5).StrokeAlpha(shine, 0.8, 0.8);
        if (look.hair == Hair::kPonytail) {
            pen.Move(kCx - 12, 24)
                .Curve(kCx - 10, 17, kCx - 3, 15, kCx + 4, 16)
                .Curve(kCx - 2, 18, kCx - 7, 20, kCx - 12, 24)
                .Fill(hair);
        }
        break;
    }
}

void DrawHeadwear(Pen& pen, const PortraitLook& look, Colour hair) {
    const Colour cloth = RgbHex(look.clothesColour);
    switch (look.headwear) {
    case Headwear::kNone: break;
    case Headwear::kHeadphones:
        pen.Move(kCx - 13.5, 27).Curve(kCx - 15, 10, kCx + 15, 10, kCx + 13.5, 27).Stroke(Rgb(40, 40, 52), 2.0);
        for (int side = -1; side <= 1; side += 2) {
            pen.Oval(kCx + side * 13.8, 29, 2.8, 4.6).Fill(Rgb(230, 80, 110));
            pen.Oval(kCx + side * 14.2, 29, 1.2, 3.0).Fill(Rgb(150, 40, 70));
        }
        break;
    case Headwear::kFlatCap: {
        const Colour c = Rgb(110, 96, 76);
        pen.Move(kCx - 14, 21)
            .Curve(kCx - 15, 13, kCx - 6, 9, kCx + 2, 9.5)
            .Curve(kCx + 11, 10, kCx + 16, 14, kCx + 14, 19)
            .Curve(kCx + 6, 17, kCx - 6, 18, kCx - 14, 21)
            .Fill(c);
        pen.Move(kCx - 13, 21)
            .Curve(kCx - 6, 17.5, kCx + 6, 17, kCx + 14, 19)
            .Curve(kCx + 10, 22.5, kCx - 6, 23, kCx - 13, 21)
            .Fill(Darker(c, 0.35));
        pen.Move(kCx - 8, 12).Line(kCx + 8, 16).StrokeAlpha(Lighter(c, 0.3), 0.5, 0.8);
        break;
    }
    case Headwear::kHeadband:
        pen.Move(kCx - 12.8, 20)
            .Curve(kCx - 6, 16, kCx + 6, 16, kCx + 12.8, 20)
            .Line(kCx + 12.8, 23)
            .Curve(kCx + 6, 19, kCx - 6, 19, kCx - 12.8, 23)
            .Fill(Rgb(220, 50, 60));
        pen.Move(kCx - 12.8, 21).Line(kCx - 17, 25).Line(kCx - 16, 20).Fill(Rgb(220, 50, 60));
        break;
    case Headwear::kBeret: {
        const Colour c = Rgb(180, 40, 60);
        pen.Oval(kCx + 4, 12.5, 15, 5.5).Fill(c);
        pen.Move(kCx - 10, 15.5).Curve(kCx, 18, kCx + 10, 17.5, kCx + 16, 15).StrokeAlpha(Darker(c, 0.4), 1.0, 0.8);
        pen.Move(kCx + 5, 7.2).Line(kCx + 6, 5.5).Stroke(Darker(c, 0.3), 1.0);
        break;
    }
    case Headwear::kPeakedCap:
    case Headwear::kSurgeonCap: {
        const bool peaked = look.headwear == Headwear::kPeakedCap;
        const Colour c = peaked ? Darker(cloth, 0.1) : Rgb(90, 160, 140);
        if (peaked) {
            pen.Move(kCx - 14, 16)
                .Curve(kCx - 17, 8, kCx - 6, 4, kCx + 3, 4.5)
                .Curve(kCx + 14, 5, kCx + 18, 9, kCx + 14, 16)
                .Fill(c);
            pen.Move(kCx - 13, 14).Line(kCx + 13, 14).Line(kCx + 12.8, 18).Line(kCx - 12.8, 18).Fill(Darker(c, 0.45));
            pen.Move(kCx - 12, 18)
                .Curve(kCx - 5, 22.5, kCx + 5, 22.5, kCx + 12, 18)
                .Curve(kCx + 5, 19.5, kCx - 5, 19.5, kCx - 12, 18)
                .Fill(Rgb(20, 18, 24));
            pen.Oval(kCx, 10.5, 2.2, 2.0).Fill(kGoldTrim);
        } else {
            pen.Move(kCx - 13.2, 22)
                .Curve(kCx - 15, 10, kCx - 6, 7, kCx, 7)
                .Curve(kCx + 6, 7, kCx + 15, 10, kCx + 13.2, 22)
                .Curve(kCx + 6, 18.5, kCx - 6, 18.5, kCx - 13.2, 22)
                .Fill(c);
            pen.Move(kCx - 12, 20)
                .Curve(kCx - 6, 17.4, kCx + 6, 17.4, kCx + 12, 20)
                .StrokeAlpha(Darker(c, 0.35), 0.8, 0.8);
        }
        break;
    }
    case Headwear::kBeanie: {
        const Colour c = Rgb(50, 60, 96);
        pen.Move(kCx - 13.5, 21)
            .Curve(kCx - 15, 8, kCx - 6, 5, kCx, 5)
            .Curve(kCx + 6, 5, kCx + 15, 8, kCx + 13.5, 21)
            .Fill(c);
        pen.Move(kCx - 14, 17)
            .Curve(kCx - 6, 14.5, kCx + 6, 14.5, kCx + 14, 17)
            .Line(kCx + 14, 22)
            .Curve(kCx + 6, 19.5, kCx - 6, 19.5, kCx - 14, 22)
            .Fill(Lighter(c, 0.12));
        for (int k = -5; k <= 5; ++k) pen.Move(kCx + k * 2.4, 16.2).Line(kCx + k * 2.4, 20.6);
        pen.StrokeAlpha(Darker(c, 0.4), 0.5, 0.8);
        break;
    }
    case Headwear::kNurseCap:
        pen.Move(kCx - 9, 15)
            .Line(kCx - 7, 7)
            .Line(kCx + 7, 7)
            .Line(kCx + 9, 15)
            .Curve(kCx + 3, 13.5, kCx - 3, 13.5, kCx - 9, 15)
            .Fill(kWhite);
        pen.Move(kCx - 8, 13)
            .Curve(kCx - 3, 11.7, kCx + 3, 11.7, kCx + 8, 13)
            .StrokeAlpha(Rgb(160, 170, 190), 0.6, 0.8);
        pen.Move(kCx - 1, 7.8)
            .Line(kCx + 1, 7.8)
            .Line(kCx + 1, 9)
            .Line(kCx + 2.2, 9)
            .Line(kCx + 2.2, 11)
            .Line(kCx + 1, 11)
            .Line(kCx + 1, 12.2)
            .Line(kCx - 1, 12.2)
            .Line(kCx - 1, 11)
            .Line(kCx - 2.2, 11)
            .Line(kCx - 2.2, 9)
            .Line(kCx - 1, 9)
            .Fill(Rgb(220, 40, 50));
        break;
    case Headwear::kMinerHelmet: {
        const Colour c = Rgb(238, 190, 40);
        pen.Move(kCx - 14, 19)
            .Curve(kCx - 15, 6, kCx - 6, 4, kCx, 4)
            .Curve(kCx + 6, 4, kCx + 15, 6, kCx + 14, 19)
            .Fill(c);
        pen.Move(kCx - 16, 19).Line(kCx + 16, 19).Line(kCx + 15, 21.5).Line(kCx - 15, 21.5).Fill(Darker(c, 0.25));
        pen.Oval(kCx - 4, 9, 3, 1.5).FillAlpha(Rgb(255, 255, 255), 0.35);
        pen.Dot(kCx, 13.5, 3.2, Rgb(90, 80, 70));
        pen.Dot(kCx, 13.5, 2.2, Rgb(255, 250, 200));
        break;
    }
    case Headwear::kChefHat:
        pen.Oval(kCx - 6.5, 5.5, 6, 5).Oval(kCx + 6.5, 5.5, 6, 5).Oval(kCx, 3.5, 7, 5.5).Fill(kWhite);
        pen.Move(kCx - 12.5, 7)
            .Line(kCx + 12.5, 7)
            .Line(kCx + 13, 18)
            .Curve(kCx + 6, 16, kCx - 6, 16, kCx - 13, 18)
            .Fill(kWhite);
        pen.Move(kCx - 12.5, 13)
            .Curve(kCx - 6, 11.5, kCx + 6, 11.5, kCx + 12.5, 13)
            .StrokeAlpha(Rgb(170, 170, 190), 0.7, 0.9);
        pen.Move(kCx - 4, 8)
            .Line(kCx - 4, 12)
            .Move(kCx + 4, 8)
            .Line(kCx + 4, 12)
            .StrokeAlpha(Rgb(190, 190, 205), 0.6, 0.9);
        break;
    case Headwear::kHeadscarf: {
        const Colour c = Rgb(200, 60, 120);
        pen.Move(kCx - 14, 24)
            .Curve(kCx - 16, 8, kCx - 6, 5, kCx, 5)
            .Curve(kCx + 6, 5, kCx + 16, 8, kCx + 14, 24)
            .Curve(kCx + 8, 18, kCx - 8, 18, kCx - 14, 24)
            .Fill(c);
        pen.Move(kCx - 13, 22).Curve(kCx - 7, 17, kCx + 7, 17, kCx + 13, 22).Stroke(kGoldTrim, 1.0);
        pen.Move(kCx + 13, 20).Curve(kCx + 19, 24, kCx + 20, 32, kCx + 17, 38).Line(kCx + 15, 30).Fill(Darker(c, 0.2));
        for (int k = 0; k < 5; ++k) pen.Dot(kCx - 8 + k * 4, 11 + (k % 2) * 2, 0.7, kGoldTrim);
        break;
    }
    case Headwear::kTiara: {
        // Silver, outlined, so it shows on fair hair too.
        const Colour silver = Rgb(236, 240, 250), edge = Rgb(70, 70, 100);
        pen.Move(kCx - 9, 15)
            .Line(kCx - 6.5, 10)
            .Line(kCx - 4.5, 13)
            .Line(kCx, 6.5)
            .Line(kCx + 4.5, 13)
            .Line(kCx + 6.5, 10)
            .Line(kCx + 9, 15)
            .Curve(kCx + 5, 13, kCx - 5, 13, kCx - 9, 15)
            .FillOutlined(silver, edge, 0.5);
        pen.Dot(kCx, 10.5, 1.1, Rgb(80, 170, 240));
        pen.Dot(kCx - 6.3, 12.3, 0.6, Rgb(230, 80, 140));
        pen.Dot(kCx + 6.3, 12.3, 0.6, Rgb(230, 80, 140));
        break;
    }
    case Headwear::kAviator: {
        const Colour c = Rgb(120, 78, 44);
        pen.Move(kCx - 13.5, 36)
            .Curve(kCx - 16, 8, kCx - 6, 6, kCx, 6)
            .Curve(kCx + 6, 6, kCx + 16, 8, kCx + 13.5, 36)
            .Line(kCx + 11, 36)
            .Curve(kCx + 12, 28, kCx + 11, 21, kCx, 19.5)
            .Curve(kCx - 11, 21, kCx - 12, 28, kCx - 11, 36)
            .Fill(c);
        pen.Move(kCx - 13, 16).Curve(kCx - 6, 13, kCx + 6, 13, kCx + 13, 16).Stroke(Rgb(60, 50, 46), 1.6);
        for (int side = -1; side <= 1; side += 2) {
            pen.Dot(kCx + side * 5, 15, 4.0, Rgb(80, 70, 64));
            pen.Dot(kCx + side * 5, 15, 3.0, Rgb(120, 190, 220));
            pen.Oval(kCx + side * 5 - 1, 14, 1.2, 0.8).FillAlpha(Rgb(255, 255, 255), 0.7);
        }
        break;
    }
    case Headwear::kVisor: {
        const Colour c = Rgb(50, 170, 90);
        pen.Move(kCx - 13, 19)
            .Curve(kCx - 6, 15, kCx + 6, 15, kCx + 13, 19)
            .Line(kCx + 13, 21)
            .Curve(kCx + 6, 17.5, kCx - 6, 17.5, kCx - 13, 21)
            .Fill(Darker(c, 0.3));
        pen.Move(kCx - 14, 20)
            .Curve(kCx - 6, 16.5, kCx + 6, 16.5, kCx + 14, 20)
            .Curve(kCx + 12, 25.5, kCx - 12, 25.5, kCx - 14, 20)
            .FillAlpha(c, 0.85);
        break;
    }
    case Headwear::kVeil:
        // The white band framing the face; the black veil lies behind the head.
        pen.Move(kCx - 13.5, 34)
            .Curve(kCx - 14, 12, kCx - 6, 13, kCx, 13)
            .Curve(kCx + 6, 13, kCx + 14, 12, kCx + 13.5, 34)
            .Line(kCx + 11.5, 34)
            .Curve(kCx + 12, 22, kCx + 8, 18, kCx, 18)
            .Curve(kCx - 8, 18, kCx - 12, 22, kCx - 11.5, 34)
            .Fill(kWhite);
        break;
    case Headwear::kFedora: {
        const Colour c = Rgb(120, 100, 70);
        pen.Oval(kCx, 16.5, 19, 4.2).Fill(Darker(c, 0.15));
        pen.Move(kCx - 11, 16)
            .Curve(kCx - 12, 8, kCx - 8, 3.5, kCx - 2, 4.5)
            .Curve(kCx, 6, kCx + 1, 6, kCx + 3, 4.5)
            .Curve(kCx + 8, 3.5, kCx + 12, 8, kCx + 11, 16)
            .Fill(c);
        pen.Move(kCx - 11.2, 12.5)
            .Line(kCx + 11.2, 12.5)
            .Line(kCx + 11, 15.5)
            .Line(kCx - 11, 15.5)
            .Fill(Rgb(40, 30, 30));
        break;
    }
    case Headwear::kCrown:
        pen.Move(kCx - 11, 16)
            .Line(kCx - 12, 5)
            .Line(kCx - 7, 10)
            .Line(kCx - 3.5, 2.5)
            .Line(kCx, 9)
            .Line(kCx + 3.5, 2.5)
            .Line(kCx + 7, 10)
            .Line(kCx + 12, 5)
            .Line(kCx + 11, 16)
            .Curve(kCx + 5, 14, kCx - 5, 14, kCx - 11, 16)
            .Fill(kGoldTrim);
        pen.Move(kCx - 11, 13.5)
            .Curve(kCx - 5, 11.5, kCx + 5, 11.5, kCx + 11, 13.5)
            .Stroke(Darker(kGoldTrim, 0.3), 0.7);
        pen.Dot(kCx, 12.5, 1.3, Rgb(220, 40, 60));
        pen.Dot(kCx - 6.5, 13, 1.0, Rgb(60, 160, 230));
        pen.Dot(kCx + 6.5, 13, 1.0, Rgb(60, 200, 120));
        break;
    case Headwear::kHood: {
        const Colour c = RgbHex(look.clothesColour);
        pen.Move(kCx - 18, 50)
            .Curve(kCx - 20, 20, kCx - 10, 4, kCx, 4)
            .Curve(kCx + 10, 4, kCx + 20, 20, kCx + 18, 50)
            .Line(kCx + 12, 48)
            .Curve(kCx + 14, 32, kCx + 13, 20, kCx, 16)
            .Curve(kCx - 13, 20, kCx - 14, 32, kCx - 12, 48)
            .Fill(Lighter(c, 0.08));
        pen.Move(kCx - 12, 48)
            .Curve(kCx - 14, 32, kCx - 13, 20, kCx, 16)
            .Curve(kCx + 13, 20, kCx + 14, 32, kCx + 12, 48)
            .Stroke(Darker(c, 0.5), 1.4);
        break;
    }
    case Headwear::kTopHat: {
        const Colour c = Rgb(30, 28, 34);
        pen.Oval(kCx, 15.5, 17, 3.6).Fill(c);
        pen.Move(kCx - 10, 15).Line(kCx - 11, 0).Line(kCx + 11, 0).Line(kCx + 10, 15).Fill(c);
        pen.Move(kCx - 10.3, 10)
            .Line(kCx + 10.3, 10)
            .Line(kCx + 10.1, 13.5)
            .Line(kCx - 10.1, 13.5)
            .Fill(Rgb(120, 30, 50));
        pen.Move(kCx - 7, 1).Line(kCx - 6.5, 9).StrokeAlpha(Rgb(255, 255, 255), 0.8, 0.25);
        break;
    }
    case Headwear::kTurban: {
        const Colour c = Rgb(230, 220, 200);
        pen.Move(kCx - 14, 20)
            .Curve(kCx - 17, 4, kCx - 6, 2, kCx, 2)
            .Curve(kCx + 6, 2, kCx + 17, 4, kCx + 14, 20)
            .Curve(kCx + 6, 16.5, kCx - 6, 16.5, kCx - 14, 20)
            .Fill(c);
        pen.Move(kCx - 13, 16)
            .Curve(kCx - 4, 7, kCx + 6, 7, kCx + 13, 12)
            .Move(kCx - 14, 11)
            .Curve(kCx - 4, 4, kCx + 8, 4, kCx + 13, 7)
            .StrokeAlpha(Darker(c, 0.3), 0.7, 0.9);
        pen.Dot(kCx, 14, 2.0, kGoldTrim);
        pen.Dot(kCx, 14, 1.2, Rgb(90, 200, 230));
        pen.Move(kCx + 1, 12).Curve(kCx + 4, 6, kCx + 3, 2, kCx + 6, -1).Stroke(Rgb(120, 60, 160), 1.4);
        break;
    }
    }
    (void)hair;
}

void DrawJewels(Pen& pen, const PortraitLook& look) {
    const bool pearls = look.Has(kNecklace) && (look.skin <= 1 || look.age == Age::kOld);
    if (look.Has(kEarrings)) {
        for (int side = -1; side <= 1; side += 2) {
            if (look.sex == Sex::kWoman) {
                pen.Move(kCx + side * 12.3, 32.5).Line(kCx + side * 12.3, 34.5).Stroke(kGoldTrim, 0.5);
                pen.Dot(kCx + side * 12.3, 35.5, 1.2, pearls ? kWhite : kGoldTrim);
            } else if (side < 0) {
                pen.Dot(kCx - 12.3, 33, 0.9, kGoldTrim);
            }
        }
    }
    if (look.Has(kNecklace)) {
        for (int k = -4; k <= 4; ++k) {
            const double a = k * 0.16;
            pen.Dot(kCx + std::sin(a) * 9, 47 + std::cos(a) * 4 - 1, 0.9, pearls ? kWhite : kGoldTrim);
        }
    }
    if (look.Has(kBowTie)) {
        pen.Move(kCx, 47.5)
            .Line(kCx - 4.5, 45.5)
            .Line(kCx - 4.5, 49.5)
            .Move(kCx, 47.5)
            .Line(kCx + 4.5, 45.5)
            .Line(kCx + 4.5, 49.5)
            .Fill(look.clothes == Clothes::kWaistcoat ? Rgb(30, 28, 34) : Rgb(190, 30, 60));
        pen.Dot(kCx, 47.5, 1.1, Rgb(140, 20, 40));
    }
    if (look.Has(kTie)) {
        pen.Move(kCx - 1.6, 46.5)
            .Line(kCx + 1.6, 46.5)
            .Line(kCx + 0.9, 49)
            .Line(kCx + 2, 58)
            .Line(kCx, 60.5)
            .Line(kCx - 2, 58)
            .Line(kCx - 0.9, 49)
            .Fill(Rgb(170, 40, 60));
    }
    if (look.Has(kFlower)) {
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * M_PI / 5;
            pen.Dot(kCx - 12 + std::cos(a) * 2, 18 + std::sin(a) * 2, 1.6, Rgb(230, 50, 70));
        }
        pen.Dot(kCx - 12, 18, 1.0, Rgb(250, 210, 80));
    }
}

}  // namespace

void DrawPortraitBust(Canvas& canvas, const PortraitLook& look) {
    Pen pen(canvas);
    const Colour skin = kSkins[look.skin % 5];
    const Colour hair = ShadeColour(look.shade);
    if (look.headwear == Headwear::kVeil) {
        pen.Move(kCx - 19, 62)
            .Curve(kCx - 20, 30, kCx - 16, 8, kCx, 8)
            .Curve(kCx + 16, 8, kCx + 20, 30, kCx + 19, 62)
            .Fill(Rgb(26, 24, 32));
    }
    if (look.headwear == Headwear::kHood) {
        pen.Move(kCx - 20, 62)
            .Curve(kCx - 21, 30, kCx - 14, 4, kCx, 4)
            .Curve(kCx + 14, 4, kCx + 21, 30, kCx + 20, 62)
            .Fill(Darker(RgbHex(look.clothesColour), 0.3));
    }
    const bool hairShows = look.headwear != Headwear::kVeil && look.headwear != Headwear::kHood;
    if (hairShows) DrawBackHair(pen, look, hair);
    DrawNeckAndBody(pen, look, skin);
    if (look.headwear != Headwear::kAviator) DrawEars(pen, skin);
    HeadPath(pen, look);
    pen.Fill(skin);
    DrawFaceDetails(pen, look, skin, hair);
    if (hairShows) {
        const bool hatOnTop = look.headwear == Headwear::kMinerHelmet || look.headwear == Headwear::kChefHat ||
                              look.headwear == Headwear::kBeanie || look.headwear == Headwear::kSurgeonCap ||
                              look.headwear == Headwear::kAviator || look.headwear == Headwear::kTurban;
        if (!hatOnTop || look.hair == Hair::kLong || look.hair == Hair::kWavy || look.hair == Hair::kBob) {
            DrawFrontHair(pen, look, hair);
        } else {
            // Only the sideburns show under a hat that covers the crown.
            for (int side = -1; side <= 1; side += 2) {
                pen.Move(kCx + side * 12.8, 26)
                    .Line(kCx + side * 12.6, 19)
                    .Line(kCx + side * 10.5, 19)
                    .Line(kCx + side * 11.6, 26)
                    .Fill(hair);
            }
        }
    }
    DrawHeadwear(pen, look, hair);
    DrawJewels(pen, look);
}

void DrawPortrait(Canvas& canvas, const PortraitLook& look, int level) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();
    const Colour back = kLevelBack[level % 3];
    canvas.VerticalGradient(0, 0, w, h, Mix(back, Rgb(20, 16, 30), 0.1), Mix(back, Rgb(20, 16, 30), 0.6));
    // A soft spotlight behind the head.
    cairo_pattern_t* light = cairo_pattern_create_radial(w / 2, h * 0.4, 0, w / 2, h * 0.4, w * 0.5);
    cairo_pattern_add_color_stop_rgba(light, 0, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(light, 1, 1, 1, 1, 0);
    cairo_set_source(cr, light);
    cairo_paint(cr);
    cairo_pattern_destroy(light);
    cairo_save(cr);
    cairo_scale(cr, w / 62.0, h / 62.0);
    if (look.Has(kTwins)) {
        // Two alike, one a step behind the other.
        for (int k = 0; k < 2; ++k) {
            cairo_save(cr);
            cairo_translate(cr, k == 0 ? -5 : 12, k == 0 ? 5 : 9);
            cairo_scale(cr, 0.86, 0.86);
            DrawPortraitBust(canvas, look);
            cairo_restore(cr);
        }
    } else {
        DrawPortraitBust(canvas, look);
    }
    cairo_restore(cr);
    canvas.SetSource(Mix(back, palette::kCream, 0.5));
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    cairo_stroke(cr);
}

}  // namespace qv::tools
