// Full-screen menu pictures: a background with its buttons drawn unpressed, the
// pressed pictures from the same drawing code, and the entry picture.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/canvas.h"

namespace qv::tools {

struct ButtonSpec {
    std::string pressedFile;  // relative to the screen's folder, or to the root when
                              // it starts with '/'; "" when none
    std::string normalFile;   // a normal picture kept as a file; "" when cut from the background
    int x, y, w, h;
    std::string label;
    bool inBackground = true;  // drawn unpressed into the background
};

struct ScreenSpec {
    std::string folder;      // e.g. "GFX/MENU/UI SHOP/"
    std::string background;  // file name in the folder
    std::string entry;       // the entry picture, "" when none
    std::string title;       // shown big on the entry picture
    std::function<void(Canvas&)> decorate;  // panels and fixed labels
    std::vector<ButtonSpec> buttons;
};

// Writes the background, the entry picture and every button file. False on failure.
bool WriteScreen(const std::string& root, const ScreenSpec& screen);

// A labelled frame where the game draws its own text.
void DrawTextWell(Canvas& canvas, int x, int y, int w, int h);
// A small caption in the pixel font.
void DrawCaption(Canvas& canvas, const std::string& text, int x, int y);
// An empty 32x50 card place.
void DrawCardPlace(Canvas& canvas, int x, int y);
// The common screen backdrop.
void DrawScreenBackdrop(Canvas& canvas, unsigned seed);
// A neon badge with text, used by small titles.
void DrawBadge(Canvas& canvas, int x, int y, int w, int h, const std::string& text, Colour neon);

// The screens of the club and of the link.
bool WriteClubScreens(const std::string& root);
bool WriteShopAndTournamentScreens(const std::string& root);
bool WriteLinkScreens(const std::string& root);

}  // namespace qv::tools
