// The multiplayer room and the trade screen of the link between two machines.
#include "tools/art_style.h"
#include "tools/pixel_font.h"
#include "tools/screen_kit.h"

namespace qv::tools {
namespace {

const char* const kLinkBack = "MultiplayerBack.QVJ";

ScreenSpec MultiplayerRoom() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI MULTI/";
    s.background = "MultiplayerEmpty.QVG";
    s.entry = "MultiplayerPIX.QVG";
    s.title = "LINK";
    s.decorate = [](Canvas& c) {
        DrawNeonText(c, "MULTIPLAYER", 100, 24, 2, palette::kCream, palette::kCyan);
        DrawCaption(c, "Link:", 120, 63);
        c.FillRect(150, 60, 88, 12, Rgb(18, 14, 30));
        DrawPanel(c, 10, 75, 220, 160, Rgb(18, 14, 32), Rgb(18, 14, 32));
        c.FillRect(10, 75, 220, 160, Rgb(18, 14, 32));
        c.FillRect(10, 236, 220, 1, palette::kCyan);
    };
    // Create, Join, Game and Trade are files drawn by the room, never part of the background.
    s.buttons = {
        {"MultiplayerCreateON.QVJ", "MultiplayerCreate.QVJ", 188, 241, 50, 26, "CREATE", false},
        {"MultiplayerJoinON.QVJ", "MultiplayerJoin.QVJ", 22, 241, 50, 26, "JOIN", false},
        {"MultiplayerGameON.QVJ", "MultiplayerGame.QVJ", 134, 241, 50, 26, "GAME", false},
        {"MultiplayerTradeON.QVJ", "MultiplayerTrade.QVJ", 75, 241, 50, 26, "TRADE", false},
        {kLinkBack, "", 202, 301, 38, 19, "BACK"},
        {"/GFX/MENU/AllPartyDeck.QVJ", "", 207, 0, 33, 21, "DECK"},
    };
    return s;
}

void DrawLight(Canvas& c, int x, int y, bool on) {
    DrawPanel(c, x, y, 90, 12, on ? Rgb(40, 200, 90) : Rgb(40, 50, 44),
              on ? Rgb(180, 250, 190) : Rgb(80, 90, 84));
    DrawPixelTextCentred(c, "READY", x + 45, y + 2, 1, on ? 20 : 110, on ? 60 : 120, on ? 30 : 110);
}

ScreenSpec TradeScreen() {
    ScreenSpec s;
    s.folder = "GFX/MENU/UI MULTI/";
    s.background = "TradeUI.QVG";
    s.decorate = [](Canvas& c) {
        DrawCaption(c, "TRADE", 6, 4);
        c.FillRect(40, 24, 200, 12, Rgb(18, 14, 30));
        for (int half = 0; half < 2; ++half) {
            const int x0 = half == 0 ? 19 : 129;
            DrawPanel(c, x0 - 6, 64, 108, 178, Rgb(24, 18, 42), half == 0 ? palette::kPink
                                                                          : palette::kCyan);
            c.FillRect(x0 - 4, 67, 104, 12, Rgb(16, 12, 28));
            for (int i = 0; i < 9; ++i) DrawCardPlace(c, x0 + 34 * (i % 3), 83 + 52 * (i / 3));
            c.FillRect(half == 0 ? 38 : 147, 257, 62, 12, Rgb(16, 12, 28));
        }
        DrawLight(c, 20, 241, false);
        DrawLight(c, 129, 240, false);
    };
    s.buttons = {
        {"TradeUIADD.QVJ", "", 21, 278, 54, 20, "ADD"},
        {"TradeUIDEL.QVJ", "", 79, 280, 48, 20, "DEL"},
        {"TradeUIREADY.QVJ", "", 130, 281, 52, 20, "READY"},
        {"TradeUICANCEL.QVJ", "", 185, 278, 52, 20, "CANCEL"},
        {kLinkBack, "", 202, 301, 38, 19, "BACK"},
        {"TradeUIZOOM.QVJ", "", 201, 0, 36, 22, "ZOOM"},
        {"TradeUIMoins.QVJ", "", 19, 256, 17, 20, "-"},
        {"TradeUIPlus.QVJ", "", 102, 256, 22, 20, "+"},
    };
    return s;
}

bool WriteLights(const std::string& root) {
    Canvas left(90, 12), right(90, 12);
    DrawLight(left, 0, 0, true);
    DrawLight(right, 0, 0, true);
    return SaveOpaque(left, root + "/GFX/MENU/UI MULTI/TradeUILightLeftGreen.QVJ") &&
           SaveOpaque(right, root + "/GFX/MENU/UI MULTI/TradeUILightRightGreen.QVJ");
}

}  // namespace

bool WriteLinkScreens(const std::string& root) {
    return WriteScreen(root, MultiplayerRoom()) && WriteScreen(root, TradeScreen()) &&
           WriteLights(root);
}

}  // namespace qv::tools
