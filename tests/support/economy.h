// The card shop's economy on the open card database: what the cards of a
// level and a booster's eight cards sell back for.
#pragma once

#include "cards/card_database.h"

namespace qv::test {

// The mean sell value of the cards of a level (1..4).
inline double MeanCardValue(int level) {
    const int quarter = GetCardCount() / 4;
    double sum = 0;
    for (int i = 1; i <= quarter; ++i) sum += LoadCard(static_cast<int16_t>(quarter * (level - 1) + i)).GetValue();
    return quarter > 0 ? sum / quarter : 0;
}

// A booster holds four level-1 cards, three level-2 cards, and a level-4
// card one time in three or else a level-3 card, each drawn evenly from its
// level: the mean of what its eight cards sell for.
inline double AverageBoosterResale() {
    return 4 * MeanCardValue(1) + 3 * MeanCardValue(2) + MeanCardValue(3) * 2 / 3 + MeanCardValue(4) / 3;
}

}  // namespace qv::test
