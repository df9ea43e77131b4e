// Card pictures: the 344 small and big faces, the back, the blocked cell and the power icons.
#pragma once

#include <string>

#include "tools/canvas.h"

namespace qv::tools {

inline constexpr int kSmallCardWidth = 32, kSmallCardHeight = 50;
inline constexpr int kBigCardWidth = 96, kBigCardHeight = 150;
inline constexpr int kPowerIconSize = 8;

// The card's creature, centred at (cx, cy) with the given radius.
void DrawCreature(Canvas& canvas, double cx, double cy, double radius, int family, int level);

// The back of every card, on a small-card canvas.
void DrawCardBack(Canvas& canvas);

// Every card face, the back, the blocked cell and the five icons. False on failure.
bool WriteCardPictures(const std::string& root);

}  // namespace qv::tools
