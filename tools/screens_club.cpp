// The club's own screens: character creation, collection, Instant Play, bet and options.
#include "tools/art_style.h"
#include "tools/pixel_font.h"
#include "tools/screen_kit.h"

namespace qv::tools {
namespace {

const char* const kDeckButton = "/GFX/MENU/AllPartyDeck.QVJ";
const char* const kInstantBack = "InstantPlayBack.QVJ";

ScreenSpec CharacterScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI CHARACTER/";
    s.background = "CreateCharacterEmpty.QVG";
    s.entry = "CreateCharacterPIX.QVG";
    s.title = "PLAYERS";
    s.decorate = [](Canvas& c) {
        DrawNeonText(c, "NEW PLAYER", 120, 10, 2, palette::kCream, palette::kCyan);
        static const char* const kLabels[4] = {"Name", "Number", "Job", "Motto"};
        static const int kTextY[4] = {46, 79, 112, 146};
        for (int i = 0; i < 4; ++i) {
            DrawPanel(c, 8, kTextY[i] - 12, 224, 26, Rgb(28, 20, 48), Rgb(60, 44, 96));
            DrawCaption(c, kLabels[i], 14, kTextY[i]);
            c.FillRect(66, kTextY[i] - 2, 162, 12, Rgb(16, 12, 28));
        }
        DrawTextWell(c, 24, 181, 198, 48);
        DrawCaption(c, "Slots", 26, 171);
        // The on-screen keyboard.
        static const char* const kRows[3] = {"ABCDEFGHIJKLM", "NOPQRSTUVWXYZ", "1234567890 "};
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 13; ++col) {
                const int x = 13 + 17 * col, y = 257 + 19 * r;
                if (r == 2 && col >= 11) continue;
                const std::string key(1, kRows[r][col]);
                DrawButton(c, x, y, 15, 15, key, false);
            }
        }
        DrawButton(c, 200, 295, 30, 15, "DEL", false);
    };
    s.buttons = {
        {"CreateCharacterOK.QVJ", "", 0, 234, 23, 19, "OK"},
        {"CreateCharacterQUICKGAME.QVJ", "", 63, 234, 80, 19, "QUICK GAME"},
        {"CreateCharacterDELETE.QVJ", "", 197, 234, 43, 20, "DELETE"},
    };
    return s;
}

ScreenSpec CollectionScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI SHOP/";
    s.background = "CollectionEmpty.QVG";
    s.decorate = [](Canvas& c) {
        DrawCaption(c, "Collection", 6, 8);
        for (int r = 0; r < 4; ++r) {
            for (int col = 0; col < 6; ++col) DrawCardPlace(c, 18 + 34 * col, 25 + 52 * r);
        }
        c.FillRect(0, 245, 240, 55, Rgb(30, 20, 50));
        for (int i = 0; i < 7; ++i) DrawCardPlace(c, 4 + 33 * i, 247);
        DrawCaption(c, "Deck", 100, 300);
    };
    s.buttons = {
        {"CollectionFlecheGaucheON.QVJ", "", 0, 99, 16, 40, "<"},
        {"CollectionFlecheDroiteON.QVJ", "", 221, 99, 19, 40, ">"},
        {"CollectionZoom.QVJ", "", 0, 232, 44, 14, "ZOOM"},
        {"CollectionSell.QVJ", "", 0, 303, 40, 16, "SELL"},
        {"CollectionBack.QVJ", "", 202, 304, 38, 15, "BACK"},
        {"CollectionAdd.QVJ", "", 150, 0, 70, 22, "ADD"},
        {"CollectionLeft.QVJ", "", 60, 305, 30, 14, "<"},
        {"CollectionRight.QVJ", "", 159, 305, 30, 14, ">"},
    };
    return s;
}

void DrawLevelTitle(Canvas& c, int x, int y, int w, int h, const std::string& text) {
    DrawBadge(c, x, y, w, h, text, palette::kCyan);
}

// The level titles end a few pixels before the stake line, which starts at
// x 79: the guest title (9, 30) and the member title (8, 29) share a size,
// the elite title stands at (5, 25).
constexpr int kTitleWidth = 66, kTitleHeight = 14;
constexpr int kEliteTitleWidth = 70, kEliteTitleHeight = 18;

ScreenSpec InstantScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI INSTANT/";
    s.background = "InstantPlayEmpty.QVG";
    s.entry = "InstantPlayPIX.QVG";
    s.title = "INSTANT";
    s.decorate = [](Canvas& c) {
        DrawTextWell(c, 10, 40, 222, 172);
        for (int i = 0; i < 15; i += 2) c.FillRect(13, 55 + 10 * i, 216, 10, Rgb(26, 20, 44));
        DrawLevelTitle(c, 9, 30, kTitleWidth, kTitleHeight, "GUESTS");
    };
    s.buttons = {
        {"InstantPlayLeft.QVJ", "", 21, 221, 30, 20, "<"},
        {"InstantPlayRight.QVJ", "", 189, 221, 30, 20, ">"},
        {kInstantBack, "", 202, 302, 38, 18, "BACK"},
    };
    return s;
}

ScreenSpec BetScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI INSTANT/";
    s.background = "InstantPlay2Empty.QVG";
    s.decorate = [](Canvas& c) {
        static const char* const kLabels[4] = {"Name", "No", "Job", "Motto"};
        static const int kY[4] = {43, 78, 112, 146};
        for (int i = 0; i < 4; ++i) {
            DrawPanel(c, 8, kY[i] - 6, 228, 20, Rgb(28, 20, 48), Rgb(60, 44, 96));
            DrawCaption(c, kLabels[i], 14, kY[i]);
        }
        DrawPanel(c, 86, 175, 68, 68, Rgb(20, 14, 34), palette::kGold);
        DrawTextWell(c, 10, 243, 222, 56);
    };
    s.buttons = {
        {"InstantPlay2Ok.QVJ", "", 0, 301, 40, 19, "OK"},
        {kInstantBack, "", 202, 302, 38, 18, "BACK"},
        {kDeckButton, "", 207, 0, 33, 21, "DECK"},
    };
    return s;
}

ScreenSpec OptionsScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI OPTIONS/";
    s.background = "GameOptionsEmpty.QVJ";
    s.entry = "GameOptionsPIX.QVJ";
    s.title = "OPTIONS";
    s.decorate = [](Canvas& c) {
        DrawNeonText(c, "OPTIONS", 120, 8, 2, palette::kCream, palette::kPink);
        const auto track = [&](int y, const char* label) {
            DrawCaption(c, label, 92, y - 14);
            c.FillRect(90, y, 102, 16, Rgb(24, 18, 40));
            c.FillRect(92, y + 7, 98, 2, palette::kViolet);
            for (int k = 0; k <= 4; ++k) c.FillRect(92 + k * 24, y + 4, 1, 8, Rgb(120, 100, 170));
        };
        track(54, "Volume");
        track(115, "Brightness");
        DrawCaption(c, "Screen effects", 84, 158);
        DrawButton(c, 83, 172, 38, 25, "ON", false);
        DrawButton(c, 154, 172, 41, 24, "OFF", false);
    };
    s.buttons = {
        {"GameOptionsBACK.QVJ", "", 201, 303, 39, 17, "BACK"},
        {"GameOptionsStatsON.QVJ", "", 1, 305, 50, 15, "STATS"},
        // The lit switches are drawn over the same places.
        {"GameOptionsON.QVJ", "", 83, 172, 38, 25, "ON", false},
        {"GameOptionsOFF.QVJ", "", 154, 172, 41, 24, "OFF", false},
    };
    return s;
}

bool WriteKnob(const std::string& root) {
    Canvas knob(4, 14);
    knob.Clear(palette::kCream);
    knob.FillRect(1, 1, 2, 12, palette::kPink);
    return SaveOpaque(knob, root + "/GFX/MENU/UI OPTIONS/GameOptionsPICOT.QVJ");
}

bool WriteCollectionBorder(const std::string& root) {
    Canvas border(36, 54);
    cairo_t* cr = border.Cr();
    border.SetSource(palette::kGold);
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, 1, 1, 34, 52);
    cairo_stroke(cr);
    border.SetSource(palette::kPink);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, 35, 53);
    cairo_stroke(cr);
    return SaveKeyed(border, root + "/GFX/MENU/UI SHOP/CollectionBorder.QVG");
}

bool WriteLevelTitles(const std::string& root) {
    Canvas member(kTitleWidth, kTitleHeight), elite(kEliteTitleWidth, kEliteTitleHeight);
    DrawLevelTitle(member, 0, 0, kTitleWidth, kTitleHeight, "MEMBERS");
    DrawLevelTitle(elite, 0, 0, kEliteTitleWidth, kEliteTitleHeight, "ELITE");
    return SaveOpaque(member, root + "/GFX/MENU/UI INSTANT/InstantPlayMember.QVJ") &&
           SaveOpaque(elite, root + "/GFX/MENU/UI INSTANT/InstantPlayElite.QVJ");
}

}  // namespace

bool WriteClubScreens(const std::string& root) {
    return WriteScreen(root, CharacterScreen()) && WriteScreen(root, CollectionScreen()) &&
           WriteScreen(root, InstantScreen()) && WriteScreen(root, BetScreen()) &&
           WriteScreen(root, OptionsScreen()) && WriteKnob(root) && WriteCollectionBorder(root) &&
           WriteLevelTitles(root);
}

}  // namespace qv::tools
