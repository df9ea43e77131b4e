// The card set: 344 cards in four levels, their powers, worth and information texts.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace qv::tools {

inline constexpr int kCardTotal = 344;
inline constexpr int kQuarter = kCardTotal / 4;

struct CardSpec {
    int id = 0;                // 1..344
    int level = 0;             // 1..4, (id - 1) / 86 + 1
    int family = 0;            // 0..85, the information entry the card shares
    std::string name;          // upper case, unique; also the picture names
    std::array<int, 8> powers{};  // up, then clockwise; 0..5
    int worth = 0;             // the raw worth field as stored
};

struct InfoEntry {
    std::string heading;
    std::array<std::string, 4> lines;
};

// The whole set in id order (index 0 is id 1).
const std::vector<CardSpec>& CardSet();
// The 86 information entries in file order.
const std::vector<InfoEntry>& CardInfo();
// The value the game derives from a raw worth field.
int ValueFromWorth(int worth);
// "0".."5" digits of the powers in direction order.
std::string PowerDigits(const CardSpec& card);

// Writes the index, data and information files below root. False on failure.
bool WriteCardDatabase(const std::string& root);

}  // namespace qv::tools
