// The career counters stored in the character file, and the level-access rule.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

inline constexpr int kOpponentsPerLevel = 15;
inline constexpr int kLevelCount = 3;
inline constexpr int kStatisticsBytes = 286;

// The entry of opponent index (0..14) at level (0..2) in the per-opponent
// counters and in gOpponents.
constexpr int StatisticsIndex(int index, int level) { return index * kLevelCount + level; }

// Indexed by StatisticsIndex.
extern int16_t gGamesWon[48];
extern int16_t gGamesLost[48];
extern int16_t gGamesTied[48];
// Indexed by level.
extern int16_t gTourneysWon[3];
extern int16_t gTourneysPlayed[3];
extern int16_t gPerfectsRealised;
extern int16_t gPerfectsReceived;

void ClearStatistics();
// Per level: tied, lost and won of each opponent, then the tournaments won
// and played; then the perfects realised and received (286 bytes).
bool WriteStatistics(platform::FileHandle file);
// All or nothing: the counters change only when all 286 bytes were read.
bool ReadStatistics(platform::FileHandle file);

// Guests always; members and elite after a tournament won at the level
// below and every opponent of that level beaten at least once.
bool IsLevelOpen(int level);

}  // namespace qv
