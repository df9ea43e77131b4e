// The shared look of every picture: night-club palette, panels, buttons and titles.
#pragma once

#include <string>

#include "tools/canvas.h"

namespace qv::tools {

namespace palette {
inline const Colour kNight = Rgb(18, 14, 38);
inline const Colour kDusk = Rgb(44, 22, 70);
inline const Colour kPanel = Rgb(30, 24, 58);
inline const Colour kPanelLight = Rgb(52, 40, 92);
inline const Colour kPink = Rgb(238, 72, 164);
inline const Colour kCyan = Rgb(64, 214, 236);
inline const Colour kGold = Rgb(238, 196, 84);
inline const Colour kViolet = Rgb(150, 96, 230);
inline const Colour kCream = Rgb(244, 236, 214);
inline const Colour kRedSide = Rgb(214, 60, 70);
inline const Colour kBlueSide = Rgb(60, 96, 220);
}  // namespace palette

// A button face; the background of a screen and the pressed picture file are
// both drawn with this, so the cut-out normal picture matches the pressed one.
void DrawButton(Canvas& canvas, int x, int y, int w, int h, const std::string& label, bool pressed);
// Writes the pressed picture of a button as its own file.
bool WriteButtonPicture(const std::string& path, int w, int h, const std::string& label,
                        bool pressed);

// A framed, flat panel where the game draws text.
void DrawPanel(Canvas& canvas, int x, int y, int w, int h, Colour fill, Colour border);
// The club's night background: gradient, a few stars and a floor glow.
void DrawNightBackdrop(Canvas& canvas, int x, int y, int w, int h, unsigned seed);
// Neon text: a soft glow behind the pixel-font letters.
void DrawNeonText(Canvas& canvas, const std::string& text, int cx, int y, int scale, Colour ink,
                  Colour glow);
// Saves an opaque picture: lifts near-black pixels so keyed copies never punch holes.
bool SaveOpaque(Canvas& canvas, const std::string& path);
// Saves a keyed picture: near-black becomes exact black (transparent).
bool SaveKeyed(Canvas& canvas, const std::string& path);

}  // namespace qv::tools
