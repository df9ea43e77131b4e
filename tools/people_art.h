// Pictures of people: the 45 opponent portraits, the boss and the end credits.
#pragma once

#include <string>

#include "tools/canvas.h"

namespace qv::tools {

inline constexpr int kPortraitWidth = 62, kPortraitHeight = 62;

// A face filling a canvas; variant picks hair, skin, clothes and accessory.
void DrawFace(Canvas& canvas, int variant, int level);

// Portraits "GFX/PLAYERS/PLAYERS<n>.QVG", the lair's boss and the credits. False on failure.
bool WritePeoplePictures(const std::string& root);

}  // namespace qv::tools
