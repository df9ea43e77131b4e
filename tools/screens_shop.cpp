// The card shop with its booster animation, and the three tournaments.
#include <cmath>

#include "tools/art_style.h"
#include "tools/card_art.h"
#include "tools/pixel_font.h"
#include "tools/screen_kit.h"

namespace qv::tools {
namespace {

ScreenSpec ShopScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI SHOP/";
    s.background = "ShopEmpty.QVG";
    s.entry = "ShopPIX.QVG";
    s.title = "SHOP";
    s.decorate = [](Canvas& c) {
        DrawNeonText(c, "CARD SHOP", 120, 20, 2, palette::kCream, palette::kGold);
        DrawPanel(c, 54, 68, 132, 86, Rgb(28, 20, 48), palette::kGold);
        DrawCaption(c, "Boosters", 18, 58);
        DrawPanel(c, 22, 183, 196, 100, Rgb(28, 20, 48), palette::kViolet);
        DrawCaption(c, "Services", 18, 173);
    };
    s.buttons = {
        {"Shop1Booster.QVJ", "", 61, 74, 118, 14, "1 booster"},
        {"Shop2Booster.QVJ", "", 61, 89, 118, 14, "2 boosters"},
        {"Shop3Booster.QVJ", "", 61, 104, 118, 14, "3 boosters"},
        {"Shop5Booster.QVJ", "", 61, 120, 118, 14, "5 boosters"},
        {"Shop10Booster.QVJ", "", 62, 135, 118, 14, "10 boosters"},
        {"ShopEnterManager.QVJ", "", 31, 189, 178, 20, "Card manager"},
        {"ShopClearDeck.QVJ", "", 31, 211, 178, 20, "Clear deck"},
        {"ShopSellCards.QVJ", "", 31, 234, 178, 20, "Sell cards"},
        {"ShopQuickDeck.QVJ", "", 29, 256, 182, 20, "Quick deck"},
        {"ShopBack.QVJ", "", 204, 302, 36, 18, "BACK"},
    };
    return s;
}

// Frame 0 is the sealed booster; frames 1-10 tear it open and fan out the cards.
bool WriteBoosterFrame(const std::string& root, int frame) {
    Canvas c(120, 113);
    cairo_t* cr = c.Cr();
    const double open = frame / 10.0;
    // Cards rising out of the pack.
    const int cards = frame == 0 ? 0 : std::min(8, frame);
    for (int k = 0; k < cards; ++k) {
        const double a = (-0.7 + 1.4 * k / 7.0) * open;
        cairo_save(cr);
        cairo_translate(cr, 60, 92);
        cairo_rotate(cr, a);
        c.FillRect(-12, -80 * (0.4 + 0.6 * open), 24, 36, palette::kCream);
        c.FillRect(-10, -80 * (0.4 + 0.6 * open) + 2, 20, 32,
                   k % 2 == 0 ? palette::kViolet : palette::kPink);
        cairo_restore(cr);
    }
    // The pack, its top flap torn away bit by bit.
    c.RoundedRect(30, 40, 60, 70, 6);
    c.SetSource(Rgb(150, 40, 120));
    cairo_fill(cr);
    c.FillRect(34, 60, 52, 20, palette::kGold);
    DrawPixelTextCentred(c, "QUORVANE", 60, 66, 1, 60, 20, 60);
    if (frame < 10) {
        const double flap = 1 - open;
        c.FillRect(30, 40 - 12 * flap, 60 * flap + 1, 12 * flap + 1, Rgb(200, 70, 160));
    }
    if (frame > 0) {
        for (int k = 0; k < frame; ++k) {
            const double a = k * 0.63, r = 20 + open * 36;
            c.FillCircle(60 + std::cos(a) * r, 60 + std::sin(a) * r * 0.8, 2, palette::kGold);
        }
    }
    return SaveKeyed(c, root + "/GFX/MENU/UI SHOP/Booster" + std::to_string(frame) + ".QVG");
}

ScreenSpec TournamentScreen(const std::string& level, const std::string& title, Colour neon) {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI TOURNAMENT/";
    s.background = "Tournament" + level + "Empty.QVG";
    s.entry = "Tournament" + level + "PIX.QVG";
    s.title = title;
    s.decorate = [title, neon](Canvas& c) {
        DrawNeonText(c, title, 100, 6, 2, palette::kCream, neon);
        // The bracket's names are drawn by the game in several layouts: keep the panel plain.
        // It reaches past the versus marker of the right column (x 217 to 236).
        DrawPanel(c, 4, 48, 235, 214, Rgb(22, 16, 38), neon);
        // The game writes the fee ending at x 108 and the first prize ending at x 225.
        DrawTextWell(c, 4, 268, 235, 30);
        DrawCaption(c, "Entry fee", 12, 274);
        DrawCaption(c, "First prize", 124, 274);
    };
    s.buttons = {
        {"/GFX/MENU/AllPartyDeck.QVJ", "", 207, 0, 33, 21, "DECK"},
        {"TournamentStartON.QVG", "TournamentStartOFF.QVG", 0, 304, 100, 16, "START", false},
        {"TournamentNEXTon.QVG", "TournamentNEXToff.QVG", 0, 304, 100, 16, "NEXT", false},
        {"TournamentSurrenderON.QVG", "TournamentSurrenderOFF.QVG", 174, 304, 66, 16, "SURRENDER",
         false},
        {"TournamentBackON.QVG", "TournamentBackOFF.QVG", 174, 304, 66, 16, "BACK", false},
    };
    return s;
}

bool WriteVersusMarker(const std::string& root) {
    // Drawn 12 rows above the second name of a pair: the letters sit in the
    // picture's lower rows, between the pair's two names.
    Canvas vs(20, 12);
    DrawPixelTextCentred(vs, "VS", 10, 4, 1, 238, 196, 84);
    return SaveKeyed(vs, root + "/GFX/MENU/UI TOURNAMENT/VStournoi.QVG");
}

}  // namespace

bool WriteShopAndTournamentScreens(const std::string& root) {
    if (!WriteScreen(root, ShopScreen())) return false;
    for (int frame = 0; frame <= 10; ++frame) {
        if (!WriteBoosterFrame(root, frame)) return false;
    }
    return WriteScreen(root, TournamentScreen("Guest", "GUEST CUP", palette::kCyan)) &&
           WriteScreen(root, TournamentScreen("Member", "MEMBER CUP", palette::kViolet)) &&
           WriteScreen(root, TournamentScreen("Elite", "ELITE CUP", palette::kGold)) &&
           WriteVersusMarker(root);
}

}  // namespace qv::tools
