// The computer opponent's compact board: owners as bit masks, the rule facts
// that stay fixed while the search plays battles, and the static evaluation.
#pragma once

#include <cstdint>

#include "match/board.h"

namespace qv::ai {

// One bit per cell, bit x * 4 + y.
using Mask = uint32_t;

inline Mask Bit(int cell) { return Mask{1} << cell; }

// Who owns each cell: [0] RED, [1] BLUE, [2] nobody (free and blocked cells).
struct Owners {
    Mask side[3] = {0, 0, 0};

    Side OwnerOf(int cell) const {
        return (side[0] & Bit(cell)) ? RED : (side[1] & Bit(cell)) ? BLUE : kNoSide;
    }
    // The cells owned by a side value; a value no cell can hold gives none.
    Mask OwnedBy(int s) const { return s >= 0 && s <= 2 ? side[s] : 0; }
    // A side value outside 0..2 counts as nobody.
    void Give(int cell, Side s) {
        for (Mask& m : side) m &= ~Bit(cell);
        side[s == RED || s == BLUE ? s : kNoSide] |= Bit(cell);
    }
};

// Bounds of a score; exact when they meet.
struct ScoreRange {
    int lo = 0;
    int hi = 0;
};

// The cards and free cells of a position: everything the search reads that
// a battle cannot change, worked out once. Battles change only owners.
class Arrangement {
public:
    // From a board: its free cells and the powers of the card in every cell
    // (free and blocked cells keep the card they last held).
    void Build(const Board& board);
    // The same position with a card laid on a free cell: only that cell
    // and its neighbours are worked out again.
    void Place(const Arrangement& from, int cell, const uint8_t powers[kDirectionCount]);

    int Power(int cell, int d) const { return power_[cell][d]; }
    bool IsFree(int cell) const { return (free_ & Bit(cell)) != 0; }
    // The neighbour in direction d, or -1 outside the board.
    int Neighbour(int cell, int d) const { return neighbour_[cell][d]; }
    // Both cards have a power towards each other.
    bool Mutual(int a, int t) const { return (mutual_[a] & Bit(t)) != 0; }
    // The occupied neighbours the card has a power towards.
    Mask AttackMask(int cell) const { return attack_[cell]; }

    int CellStrength(int cell) const { return strength_[cell]; }
    const uint8_t* SafeMap1() const { return safe1_; }
    // Map 2 worked out against any map 1.
    void ComputeSafeMap2(const uint8_t safe1[kBoardCells], uint8_t safe2[kBoardCells]) const;

    // How far captures would run if the card in the cell were captured, for
    // the owners given; -1 none.
    int CaptureChainDepth(const Owners& owners, int cell) const;
    int CountThreats(const Owners& owners, int cell) const;
    int ThreatScore(const Owners& owners, int cell) const;
    // The evaluation for side at the level, without noise.
    int StaticScore(const Owners& owners, Side side, int level) const;
    // How much of the capture chains a score range walks: none (cheap
    // bounds, exact unless some cell can start a chain), a few steps from
    // each cell (exact unless a chain branches a lot), or all of them.
    enum class Detail { kBounds, kWalked, kExact };
    ScoreRange StaticRange(const Owners& owners, Side side, int level, Detail detail) const;
    static constexpr int kWalkSteps = 24;

private:
    void Derive(int cell);
    void DeriveMaps();
    int Local(int cell, Mask unvisited) const;
    bool Extend(int cell, Mask unvisited, int length, int goal, int* best, int* steps) const;
    void DepthRange(const Owners& owners, int cell, Detail detail, int* lo, int* hi) const;
    // The threat term for a depth and a count of threats.
    int ThreatFor(int cell, int depth, int threats) const;

    uint8_t power_[kBoardCells][kDirectionCount] = {};
    int8_t neighbour_[kBoardCells][kDirectionCount] = {};
    Mask free_ = 0;
    Mask around_[kBoardCells] = {};      // neighbours inside the board
    Mask mutual_[kBoardCells] = {};      // powers both ways
    Mask chain_[kBoardCells] = {};       // powers both ways, stronger this way
    Mask bonus_[kBoardCells] = {};       // occupied, no power back, a power this way
    Mask zeroIfOwned_[kBoardCells] = {}; // free, not powers both ways
    Mask attack_[kBoardCells] = {};      // occupied, a power this way
    Mask threatened_[kBoardCells] = {};  // a power 1..4 this way, a stronger one back
    int8_t threatFree_[kBoardCells] = {};  // free neighbours faced with a power 1..4
    int strength_[kBoardCells] = {};
    uint8_t safe1_[kBoardCells] = {};
    uint8_t safe2_[kBoardCells] = {};
};

// The owners of a board.
Owners OwnersOf(const Board& board);

}  // namespace qv::ai
