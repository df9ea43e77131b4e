// The 45 computer opponents of the club: names, portraits and texts.
#pragma once

#include <string>
#include <vector>

#include "tools/portrait_look.h"

namespace qv::tools {

inline constexpr int kOpponentLevels = 3;
inline constexpr int kOpponentsPerLevel = 15;

struct OpponentSpec {
    int level = 0;       // 0 guests, 1 members, 2 elite
    int index = 0;       // 0..14 within the level
    std::string name;    // upper case, unique
    int portrait = 0;    // level * 15 + index + 1, the PLAYERS<n> picture
    std::string textA;   // shown under the number
    std::string description;
    std::string textB;
    PortraitLook look;  // drawn into the portrait; fits the texts above
};

// In file order: level 0 indices 0..14, then level 1, then level 2.
const std::vector<OpponentSpec>& Opponents();

// Writes "DATA/OPPONENTS.DAT" below root. False on failure.
bool WriteOpponentFile(const std::string& root);

}  // namespace qv::tools
