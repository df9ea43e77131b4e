// Pictures of people: the 45 opponent portraits, the boss and the end credits.
#include "tools/people_art.h"

#include <algorithm>

#include "tools/art_style.h"
#include "tools/boss_art.h"
#include "tools/opponents.h"
#include "tools/pixel_font.h"
#include "tools/portraits.h"

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
    return WritePortraits(root) && WriteBossPictures(root) && WriteCredits(root);
}

}  // namespace qv::tools
