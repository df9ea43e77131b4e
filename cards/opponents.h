// The 45 computer opponents, their generated decks, the boss's deck and card scoring.
#pragma once

#include <cstdint>

#include "cards/containers.h"
#include "cards/profile.h"
#include "cards/statistics.h"

namespace qv {

inline constexpr int kOpponentCount = 45;
// A card score of "no card" in the automatic-deck searches.
inline constexpr int8_t kNoCardScore = -99;

// Opponent index i (0..14) of level L (0..2) is entry StatisticsIndex(i, L).
extern PlayerProfile gOpponents[kOpponentCount];
// Row level * 4 + tier; column c: cards of card level c + 1. Rows sum to 16.
extern const uint8_t OpponentDeckTable[12][4];

// Fills gOpponents from "DATA\OPPONENTS.DAT". Every entry gets slot 0, kind 1
// and its strength code even when the file is missing or short; only the
// texts then stay empty.
void LoadOpponents();
// The description of an opponent; empty when the file cannot be read.
WString ReadOpponentText(int index, int level);
// 16 distinct cards by the table row of level and tier.
void GenerateOpponentDeck(CardDeck& deck, int level, int tier);
// Weights of the eight powers plus RandomBelow (3).
int8_t CardScore(const Card& card);

}  // namespace qv
