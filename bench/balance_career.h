// A simulated career for the balance benchmark: from a new character to the
// boss's defeat, through the game's own shop, bet screen, tournaments and
// boss's lair.
#pragma once

namespace qv::bench {

struct CareerResult {
    bool reached = false;  // the boss was beaten: the end credits
    int matches = 0;       // every match played, ties and boss matches included
    int betMatches = 0;
    int tournamentMatches = 0;
    int bossMatches = 0;
    int tournaments = 0;
    int boosters = 0;
    int lastCopiesLost = 0;  // cards gone from the collection with a lost match
    int stuckMatches = 0;    // matches that never ended (a fault of the benchmark or the game)
    // Matches played when the member and elite levels opened and when the
    // collection was complete (-1: never).
    int membersAt = -1;
    int eliteAt = -1;
    int collectionAt = -1;
};

// One career from a new character, at most maxMatches matches long. Before
// every room the player sells its duplicates with the shop's "Sell Cards"
// (never a last copy) and takes the shop's Quick Deck; while cards are
// missing it buys boosters with what the fee of its next tournament and the
// guests' fee leave over (once only cards are missing, also the lair's
// price). It challenges opponents it never beat and enters the highest open
// tournament until it is won, where it wins half its recent matches or can
// afford to lose; otherwise it plays the room it expects the most credits a
// match from by its recent results (a bet against a level's first tier, or
// a tournament), and every twentieth time the highest tournament again.
CareerResult RunCareer(int maxMatches);

}  // namespace qv::bench
