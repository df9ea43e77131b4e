// Whole matches for the balance benchmark: the game's launchers and match,
// with the player's side played by the game's own computer opponent.
#pragma once

#include <cstdint>

namespace qv::bench {

// Won, tied and lost matches, and those that never ended.
struct Tally {
    int won = 0;
    int tied = 0;
    int lost = 0;
    int stuck = 0;

    int Matches() const { return won + tied + lost; }
    void Add(const Tally& other) {
        won += other.won;
        tied += other.tied;
        lost += other.lost;
        stuck += other.stuck;
    }
};

// The computer level (0..2) that plays the player's side.
void SetPlayerLevel(uint8_t level);

// Runs the match a launcher has just started until it is left, the
// player's side played by the computer at the player's level; false when
// it did not end (it is then given up without a result).
bool PlayStartedMatch();

// gProfile as a new character (700 credits, nothing owned, no character
// file) that buys three single boosters in the card shop and takes its
// Quick Deck.
void MakeStarterCharacter();

// `matches` matches of a fresh starter character against the opponent,
// counted as the player sees them.
Tally StarterAgainst(int index, int level, int matches);

// `matches` matches of an opponent of `redLevel` (index drawn at random
// each time, its deck generated and played at its own level in the
// player's seat) against the opponent of `blueLevel`; counted for red.
Tally OpponentsAgainst(int redLevel, int blueIndex, int blueLevel, int matches);

}  // namespace qv::bench
