// Pictures of people: the 45 opponent portraits, the boss and the end credits.
#pragma once

#include <string>

#include "tools/canvas.h"

namespace qv::tools {

// Portraits "GFX/PLAYERS/PLAYERS<n>.QVG", the lair's boss and the credits. False on failure.
bool WritePeoplePictures(const std::string& root);

}  // namespace qv::tools
