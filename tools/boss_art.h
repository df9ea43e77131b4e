// The boss of the club in his lair: before the talk and after it.
#pragma once

#include <string>

namespace qv::tools {

// "GFX/MENU/HELL/Starman1.QVJ" and "Starman2.QVJ" below root. False on failure.
bool WriteBossPictures(const std::string& root);

}  // namespace qv::tools
