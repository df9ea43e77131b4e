// Fixed places of the match screen and small drawing helpers shared by the match's files.
#pragma once

#include <cstdint>

#include "cards/card.h"
#include "match/board.h"
#include "platform/types.h"

namespace qv {

inline constexpr int kCardWidth = 32;
inline constexpr int kCardHeight = 50;
inline constexpr int kHandSlotX = 62;
inline constexpr int kHandSlotStep = 35;
inline constexpr int kHandSlotY = 264;
inline constexpr int kMessageX = 35;
inline constexpr int kMessageY = 235;
inline constexpr int kMessageWidth = 198;
inline constexpr int kMessageHeight = 13;
inline constexpr int kMessageRight = 233;
inline constexpr int kZoomX = 2;
inline constexpr int kZoomY = 231;
inline constexpr int kComputerFlightX = 72;
inline constexpr int kComputerFlightY = 41;
inline constexpr int kBigCardWidth = 96;
inline constexpr int kBigCardHeight = 150;

inline int CellX(int column) { return column * 40 + 4; }
inline int CellY(int row) { return row * 58 + 4; }
inline int HandSlotX(int slot) { return kHandSlotX + kHandSlotStep * slot; }

// The card's small picture with the side's band, loaded and freed around
// the drawing; a card without a name shows the card back.
void DrawCardFace(const Card& card, int x, int y, int8_t buffer, Side side);

// gInstallDir + the relative path.
WString InstallPath(const char* relative);
// The sound below the installation directory, unless sound is off.
void PlayMatchSound(const char* relative);

}  // namespace qv
