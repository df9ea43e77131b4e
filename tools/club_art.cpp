// Club pictures: the 50 panorama frames, the description band, room titles, arrows and QuickMenu.
#include "tools/club_art.h"

#include <cmath>

#include "tools/art_style.h"
#include "tools/opponents.h"
#include "tools/pen.h"
#include "tools/pixel_font.h"
#include "tools/portraits.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

constexpr int kFrameStep = 48;
constexpr int kStripWidth = kPanoramaFrames * kFrameStep;  // one full turn of the club
constexpr int kFloorY = 150;

struct Room {
    int frame;
    const char* sign;
    Colour neon;
};

const Room kRooms[] = {
    {1, "MULTIPLAYER", palette::kCyan},    {7, "INSTANT PLAY", palette::kPink},
    {10, "HELL GATE", Rgb(236, 70, 50)},   {14, "CARD SHOP", palette::kGold},
    {23, "GUESTS", palette::kCyan},        {27, "MEMBERS", palette::kViolet},
    {31, "ELITE", palette::kGold},         {38, "OPTIONS", palette::kPink},
    {44, "PLAYERS", palette::kCyan},       {47, "EXIT", Rgb(96, 220, 110)},
};

int RoomCentre(int frame) { return (frame - 1) * kFrameStep + kPanoramaWidth / 2; }

// The people who work in the club.
const PortraitLook kShopkeeper = {
    Sex::kMan,    Age::kOld,           1,        Hair::kBaldSides,  HairShade::kGrey, Headwear::kNone,
    Mood::kSmile, Clothes::kWaistcoat, 0x5A3A6A, kGlasses | kBowTie};
const PortraitLook kHostess = {
    Sex::kWoman,  Age::kAdult,       2,        Hair::kBob, HairShade::kAuburn, Headwear::kNone,
    Mood::kSmile, Clothes::kUniform, 0x2A4A7A, kEarrings};

// A clubgoer standing with the feet at (x, feet), height pixels tall: the
// portrait's head and shoulders over a body, arms and legs drawn to match.
void DrawClubgoer(Canvas& c, const PortraitLook& look, double x, double feet, double height) {
    constexpr double kUnits = 166;  // from the crown to the soles, on the portrait's grid
    const double s = height / kUnits;
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, x - 31 * s, feet - kUnits * s);
    cairo_scale(cr, s, s);
    Pen pen(c);
    const Colour cloth = Mix(RgbHex(look.clothesColour), Rgb(0, 0, 0), 0.1);
    const bool skirt = look.clothes == Clothes::kDress || look.clothes == Clothes::kGown ||
                       look.clothes == Clothes::kLeotard || look.clothes == Clothes::kRobe;
    const Colour legs = skirt ? Rgb(200, 160, 130) : Mix(cloth, Rgb(20, 16, 24), 0.6);
    // Legs and shoes.
    pen.Move(17, 104).Line(30, 104).Line(29.5, 160).Line(18.5, 160).Fill(legs);
    pen.Move(32, 104).Line(45, 104).Line(43.5, 160).Line(32.5, 160).Fill(legs);
    pen.Oval(22, 162, 7, 3.5).Oval(39, 162, 7, 3.5).Fill(Rgb(26, 20, 26));
    // The body below the shoulders, a skirt for a dress, the arms at the sides.
    if (skirt) {
        pen.Move(8, 58).Line(54, 58).Line(60, 132).Line(2, 132).Fill(cloth);
    } else {
        pen.Move(4, 58).Line(58, 58).Line(52, 108).Line(10, 108).Fill(cloth);
        pen.Move(10, 104).Line(52, 104).Line(52, 108).Line(10, 108).Fill(Rgb(40, 30, 30));
    }
    for (int side = -1; side <= 1; side += 2) {
        const double ax = 31 + side * 28;
        pen.Move(ax - 6, 56)
            .Line(ax + 6, 56)
            .Line(ax + 5 - side * 1, 100)
            .Line(ax - 5 - side * 1, 100)
            .Fill(Mix(cloth, Rgb(0, 0, 0), 0.25));
        pen.Oval(ax - side * 1, 104, 4.5, 6).Fill(Rgb(220, 176, 140));
    }
    DrawPortraitBust(c, look);
    cairo_restore(cr);
}

// Only the head and shoulders, as behind a counter whose top is at y.
void DrawBehindCounter(Canvas& c, const PortraitLook& look, double x, double counterTop, double height) {
    const double s = height / 62;
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, x - 31 * s, counterTop - 62 * s);
    cairo_scale(cr, s, s);
    DrawPortraitBust(c, look);
    cairo_restore(cr);
}

// The opponent of that level and index, as the portraits show them.
const PortraitLook& OpponentLook(int level, int index) {
    return Opponents()[static_cast<size_t>(level * kOpponentsPerLevel + index)].look;
}

void DrawTable(Canvas& c, double cx, double y, double w, Colour top) {
    cairo_t* cr = c.Cr();
    c.FillRect(cx - 4, y, 8, kFloorY + 40 - y, Rgb(60, 40, 36));
    cairo_save(cr);
    cairo_translate(cr, cx, y);
    cairo_scale(cr, w / 2, 9);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    c.SetSource(top);
    cairo_fill(cr);
    // Cards on the table.
    for (int k = -1; k <= 1; ++k) c.FillRect(cx + k * 12 - 3, y - 3, 6, 5, palette::kCream);
}

void DrawRoom(Canvas& c, const Room& room) {
    const int cx = RoomCentre(room.frame);
    cairo_t* cr = c.Cr();
    // A lit alcove behind every room.
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, 80, 10, cx, 80, 90);
    cairo_pattern_add_color_stop_rgba(glow, 0, room.neon.r, room.neon.g, room.neon.b, 0.35);
    cairo_pattern_add_color_stop_rgba(glow, 1, room.neon.r, room.neon.g, room.neon.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_rectangle(cr, cx - 90, 0, 180, kPanoramaHeight);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    // Below the band (screen rows 50 to 60) that the credits counter clears.
    DrawPanel(c, cx - 56, 32, 112, 16, Rgb(20, 12, 32), room.neon);
    DrawNeonText(c, room.sign, cx, 36, 1, palette::kCream, room.neon);
    Rng rng(static_cast<uint32_t>(room.frame));
    switch (room.frame) {
    case 1:  // a crowd trading over the link
        // Players of every floor come to trade, the back row first.
        for (int row = 0; row < 2; ++row) {
            for (int k = row; k < 7; k += 2) {
                const PortraitLook& look = OpponentLook(k % 3, (k * 4 + 1) % kOpponentsPerLevel);
                DrawClubgoer(c, look, cx - 54 + k * 18, kFloorY + 30 + (1 - row) * 8, 58 + rng.Below(12));
            }
        }
        // Over their heads, two handhelds linked by an infra-red beam.
        for (int side = -1; side <= 1; side += 2) {
            const double x = cx + side * 26;
            c.RoundedRect(x - 8, 66, 16, 26, 3);
            c.SetSource(Rgb(70, 72, 86));
            cairo_fill(cr);
            c.FillRect(x - 6, 69, 12, 12, Rgb(120, 220, 236));
            c.FillRect(x - 3, 71, 6, 8, Rgb(60, 30, 90));
            c.FillCircle(x, 86, 2, Rgb(200, 60, 120));
            // The infra-red windows face each other.
            c.FillRect(side > 0 ? x - 10 : x + 8, 72, 2, 4, Rgb(160, 30, 40));
        }
        // The beam waves out of each window toward the other.
        for (int side = -1; side <= 1; side += 2) {
            const double window = cx + side * 26 - side * 9, a = side > 0 ? M_PI : 0;
            for (int k = 0; k < 3; ++k) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, window, 74, 4 + k * 4, a - 0.55, a + 0.55);
            }
        }
        c.SetSource(Rgb(250, 90, 90));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        break;
    case 10: {  // the gate of the lair
        c.RoundedRect(cx - 36, 50, 72, kFloorY - 50 + 10, 30);
        c.SetSource(Rgb(70, 20, 20));
        cairo_fill(cr);
        c.SetSource(Rgb(236, 90, 40));
        cairo_set_line_width(cr, 3);
        for (int k = -2; k <= 2; ++k) {
            cairo_move_to(cr, cx + k * 12, 60);
            cairo_line_to(cr, cx + k * 12, kFloorY + 10);
        }
        cairo_stroke(cr);
        // The owner's gold star over his gate.
        Pen pen(c);
        pen.Star(cx, 79, 10, 4.2).FillOutlined(Rgb(240, 200, 86), Rgb(120, 60, 20), 1.0);
        break;
    }
    case 14:  // the shop counter with boosters
        c.FillRect(cx - 60, 110, 120, 50, Rgb(90, 56, 40));
        c.FillRect(cx - 60, 106, 120, 6, palette::kGold);
        for (int k = 0; k < 6; ++k) {
            c.FillRect(cx - 54 + k * 19, 60, 14, 22, k % 2 ? palette::kPink : palette::kViolet);
            c.FillRect(cx - 52 + k * 19, 66, 10, 4, palette::kCream);
        }
        DrawBehindCounter(c, kShopkeeper, cx, 106, 34);
        break;
    case 38:  // the jukebox
        c.RoundedRect(cx - 26, 56, 52, 100, 22);
        c.SetSource(Rgb(150, 60, 40));
        cairo_fill(cr);
        c.RoundedRect(cx - 18, 64, 36, 40, 16);
        c.SetSource(palette::kGold);
        cairo_fill(cr);
        for (int k = 0; k < 4; ++k) c.FillRect(cx - 16, 112 + k * 8, 32, 4, palette::kCyan);
        break;
    case 44:  // the registration desk
        c.FillRect(cx - 50, 112, 100, 46, Rgb(70, 50, 44));
        c.FillRect(cx - 20, 104, 40, 10, palette::kCream);
        DrawBehindCounter(c, kHostess, cx + 30, 112, 30);
        break;
    case 47:  // the way out
        c.FillRect(cx - 24, 60, 48, kFloorY - 60 + 10, Rgb(40, 60, 50));
        c.FillRect(cx - 20, 64, 40, kFloorY - 64 + 6, Rgb(230, 220, 170));
        c.FillRect(cx + 10, 110, 4, 4, Rgb(60, 50, 40));
        break;
    default: {  // the card tables
        const Colour top = room.frame == 31   ? palette::kGold
                           : room.frame == 27 ? palette::kViolet
                                              : Rgb(40, 120, 90);
        // Two players of that floor; at the guests' table the two young girls
        // the room's description speaks of, Lila and Zoe.
        struct Players {
            int frame, level, first, second;
        };
        static const Players kPlayers[4] = {{7, 0, 14, 13}, {23, 0, 0, 12}, {27, 1, 8, 5}, {31, 2, 3, 6}};
        for (const Players& p : kPlayers) {
            if (p.frame != room.frame) continue;
            const double tall = room.frame == 23 ? 52 : 62;
            DrawClubgoer(c, OpponentLook(p.level, p.first), cx - 46, kFloorY + 16, tall);
            DrawClubgoer(c, OpponentLook(p.level, p.second), cx + 46, kFloorY + 16, tall + 2);
        }
        DrawTable(c, cx, 124, 80, top);
        break;
    }
    }
}

// Between the rooms: pillars, lamps and the bar.
void DrawHallway(Canvas& c) {
    Rng rng(50);
    for (int x = 24; x < kStripWidth; x += 96) {
        c.FillRect(x, 0, 10, kFloorY + 4, Rgb(48, 32, 70));
        c.FillRect(x + 2, 0, 2, kFloorY + 4, Rgb(70, 50, 100));
        c.FillCircle(x + 5, 12, 4, Rgb(250, 220, 150));
    }
    // The bar runs along the walk between the shop and the guest table.
    const int barStart = RoomCentre(16), barEnd = RoomCentre(21);
    c.FillRect(barStart, 116, barEnd - barStart, 44, Rgb(80, 44, 40));
    c.FillRect(barStart, 112, barEnd - barStart, 6, Rgb(160, 110, 70));
    for (int x = barStart + 10; x < barEnd - 10; x += 22) {
        c.FillRect(x, 86 + rng.Below(8), 6, 26, Mix(palette::kCyan, palette::kPink, rng.Unit()));
        c.FillCircle(x + 11, kFloorY + 20, 6, Rgb(120, 60, 60));
    }
    c.FillRect(barStart, 40, barEnd - barStart, 4, palette::kPink);
}

void DrawFrameNumber(Canvas& frame, int number) {
    for (int bit = 0; bit < 6; ++bit) {
        const bool on = (number >> (5 - bit)) & 1;
        const int v = on ? 255 : 128;
        frame.FillRect(bit * 2, 0, 2, 2, Rgb(v, v, v));
    }
}

bool WritePanorama(const std::string& root) {
    Canvas strip(kStripWidth, kPanoramaHeight);
    // Back wall with a repeating wallpaper whose period divides the strip.
    strip.VerticalGradient(0, 0, kStripWidth, kFloorY, Rgb(34, 20, 56), Rgb(58, 30, 72));
    for (int x = 0; x < kStripWidth; x += 16) {
        strip.FillRect(x + 7, 44, 2, kFloorY - 44, Rgb(66, 36, 84));
    }
    // Floor: a checker that runs the whole turn.
    strip.FillRect(0, kFloorY, kStripWidth, kPanoramaHeight - kFloorY, Rgb(36, 26, 44));
    for (int row = 0; row < 6; ++row) {
        const int y = kFloorY + row * 10;
        for (int x = (row % 2) * 16; x < kStripWidth; x += 32) {
            strip.FillRect(x, y, 16, 10, Rgb(56, 40, 66));
        }
    }
    strip.FillRect(0, kFloorY, kStripWidth, 2, palette::kViolet);
    DrawHallway(strip);
    for (const Room& room : kRooms) DrawRoom(strip, room);

    // The walk wraps from frame 50 back to frame 1.
    Canvas turn(kStripWidth + kPanoramaWidth, kPanoramaHeight);
    turn.Paste(strip, 0, 0);
    turn.Paste(strip, kStripWidth, 0);
    for (int n = 1; n <= kPanoramaFrames; ++n) {
        Canvas frame(kPanoramaWidth, kPanoramaHeight);
        frame.CopyFrom(turn, (n - 1) * kFrameStep, 0);
        DrawFrameNumber(frame, n);
        const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
        if (!SaveOpaque(frame, root + "/GFX/MENU/MENU/MENU00" + number + ".QVG")) return false;
    }
    return true;
}

bool WriteDescriptionBand(const std::string& root) {
    Canvas band(240, 80);
    band.VerticalGradient(0, 0, 240, 80, Rgb(26, 18, 44), Rgb(16, 12, 30));
    band.FillRect(0, 0, 240, 2, palette::kPink);
    band.FillRect(0, 2, 240, 1, Rgb(90, 40, 90));
    return SaveOpaque(band, root + "/GFX/GENERAL/BackgroundMenu.QVJ");
}

bool WriteTitles(const std::string& root) {
    struct Title {
        const char* file;
        const char* text;
        Colour neon;
    };
    const Title titles[] = {
        {"MultiplayerTitle", "MULTIPLAYER", palette::kCyan},
        {"InstantPlayTitle", "INSTANT PLAY", palette::kPink},
        {"HellGateTitle", "HELL GATE", Rgb(236, 70, 50)},
        {"CardShopTitle", "CARD SHOP", palette::kGold},
        {"GuestTournament", "GUEST CUP", palette::kCyan},
        {"MemberTournament", "MEMBER CUP", palette::kViolet},
        {"EliteTournament", "ELITE CUP", palette::kGold},
        {"OptionsTitle", "OPTIONS", palette::kPink},
        {"CharacterCreationTitle", "PLAYERS", palette::kCyan},
        {"Quit", "EXIT", Rgb(96, 220, 110)},
    };
    for (const Title& t : titles) {
        const int width = std::min(240 - kQuickMenuWidth, PixelTextWidth(t.text) * 2 + 14);
        Canvas title(width, 28);
        DrawNeonText(title, t.text, width / 2, 6, 2, palette::kCream, t.neon);
        if (!SaveKeyed(title, root + "/GFX/MENU/TITLES/" + t.file + ".QVG")) return false;
    }
    return true;
}

bool WriteArrow(const std::string& path, bool right, bool lit) {
    Canvas arrow(22, 44);
    cairo_t* cr = arrow.Cr();
    const double tip = right ? 20 : 2, back = right ? 4 : 18;
    cairo_move_to(cr, back, 4);
    cairo_line_to(cr, tip, 22);
    cairo_line_to(cr, back, 40);
    cairo_close_path(cr);
    arrow.SetSource(lit ? palette::kCream : Mix(palette::kPink, Rgb(40, 20, 50), 0.2));
    cairo_fill_preserve(cr);
    arrow.SetSource(lit ? palette::kPink : palette::kGold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    return SaveKeyed(arrow, path);
}

// The QuickMenu panel; lit highlights every band (the game copies one band at a time).
bool WriteQuickMenu(const std::string& path, bool lit) {
    static const char* const kRows[9] = {"Character", "Options", "Guest tourney",
                                         "Member tourney", "Elite tourney", "Card shop",
                                         "Instant Play", "Multiplayer", "Quit"};
    Canvas menu(kQuickMenuWidth, kQuickMenuHeight);
    menu.Clear(Rgb(28, 20, 48));
    menu.FillRect(0, 0, 1, 110, palette::kPink);
    for (int i = 0; i < 9; ++i) {
        const int y = 2 + 12 * i;
        if (lit) menu.FillRect(2, y, kQuickMenuWidth - 4, 12, Rgb(150, 50, 130));
        const int v = lit ? 255 : 210;
        DrawPixelText(menu, kRows[i], 6, y + 2, 1, v, v, lit ? 230 : 170);
        if (i < 8) menu.FillRect(4, y + 11, kQuickMenuWidth - 8, 1, Rgb(60, 44, 90));
    }
    // The tab, rows 110-133, shown alone when the menu is closed.
    menu.FillRect(0, 110, kQuickMenuWidth, 24, Rgb(24, 16, 40));
    DrawButton(menu, 6, 112, kQuickMenuWidth - 8, 19, "MENU", lit);
    return SaveOpaque(menu, path);
}

}  // namespace

bool WriteClubPictures(const std::string& root) {
    const std::string menu = root + "/GFX/MENU/";
    return WritePanorama(root) && WriteDescriptionBand(root) && WriteTitles(root) &&
           WriteArrow(menu + "MENU/LEFTOFF.QVG", false, false) &&
           WriteArrow(menu + "MENU/LEFTON.QVG", false, true) &&
           WriteArrow(menu + "MENU/RIGHTOFF.QVG", true, false) &&
           WriteArrow(menu + "MENU/RIGHTON.QVG", true, true) &&
           WriteQuickMenu(menu + "QuickMenu.QVG", false) &&
           WriteQuickMenu(menu + "QuickMenuON.QVG", true);
}

}  // namespace qv::tools
