// The computer opponent's compact board. The facts that depend only on the
// cards and the free cells (cell strengths, safe maps, which neighbours face
// which) are worked out once per arrangement; a battle flips an owner bit.
#include "match/ai_board.h"

#include <bit>

namespace qv::ai {
namespace {

int Index(int x, int y) { return x * kBoardRows + y; }
int16_t S16(int v) { return static_cast<int16_t>(v); }

}  // namespace

Owners OwnersOf(const Board& board) {
    Owners owners;
    for (int cell = 0; cell < kBoardCells; ++cell) {
        Side s = board.CellAt(cell / kBoardRows, cell % kBoardRows).owner;
        owners.side[s == RED || s == BLUE ? s : kNoSide] |= Bit(cell);
    }
    return owners;
}

void Arrangement::Build(const Board& board) {
    free_ = 0;
    for (int cell = 0; cell < kBoardCells; ++cell) {
        const BoardCell& c = board.CellAt(cell / kBoardRows, cell % kBoardRows);
        if (c.free) free_ |= Bit(cell);
        int x = cell / kBoardRows, y = cell % kBoardRows;
        for (int d = 0; d < kDirectionCount; ++d) {
            power_[cell][d] = static_cast<uint8_t>(c.card.GetPower(d));
            int nx = x + kDirectionDx[d], ny = y + kDirectionDy[d];
            neighbour_[cell][d] = static_cast<int8_t>(Board::IsInside(nx, ny) ? Index(nx, ny) : -1);
        }
    }
    for (int cell = 0; cell < kBoardCells; ++cell) Derive(cell);
    DeriveMaps();
}

void Arrangement::Place(const Arrangement& from, int cell, const uint8_t powers[kDirectionCount]) {
    *this = from;
    free_ &= ~Bit(cell);
    for (int d = 0; d < kDirectionCount; ++d) power_[cell][d] = powers[d];
    Derive(cell);
    for (int d = 0; d < kDirectionCount; ++d) {
        if (neighbour_[cell][d] >= 0) Derive(neighbour_[cell][d]);
    }
    DeriveMaps();
}

// What a cell's card and its neighbours' cards say about each other.
void Arrangement::Derive(int cell) {
    Mask around = 0, mutual = 0, chain = 0, bonus = 0, zero = 0, attack = 0, threatened = 0;
    int threatFree = 0;
    int strength = 0;
    for (int d = 0; d < kDirectionCount; ++d) {
        int p = power_[cell][d];
        int n = neighbour_[cell][d];
        if (n < 0) {
            strength -= p;
            continue;
        }
        Mask bit = Bit(n);
        int q = power_[n][kOppositeDirection[d]];
        bool free = IsFree(n);
        around |= bit;
        if (free) {
            // A free cell still holds the card it last held; its power counts.
            strength += p == q ? 10 : (p > q ? 30 : -30);
        } else {
            strength -= p;
        }
        bool both = p > 0 && q > 0;
        if (both) mutual |= bit;
        if (both && p > q) chain |= bit;
        if (!both && !free && p > q) bonus |= bit;
        if (!both && free) zero |= bit;
        if (!free && p > 0) attack |= bit;
        if (p != 0 && p != 5) {
            if (free) ++threatFree;
            if (q > p) threatened |= bit;
        }
    }
    around_[cell] = around;
    mutual_[cell] = mutual;
    chain_[cell] = chain;
    bonus_[cell] = bonus;
    zeroIfOwned_[cell] = zero;
    attack_[cell] = attack;
    threatened_[cell] = threatened;
    threatFree_[cell] = static_cast<int8_t>(threatFree);
    strength_[cell] = strength;
}

void Arrangement::DeriveMaps() {
    // Map 1: passes until one marks nothing; a cell marked in a pass is seen
    // as safe by the cells after it in the same pass.
    for (uint8_t& s : safe1_) s = 0;
    bool marked = true;
    while (marked) {
        marked = false;
        for (int c = 0; c < kBoardCells; ++c) {
            if (safe1_[c] || IsFree(c)) continue;
            bool vulnerable = false;
            for (int d = 0; d < kDirectionCount && !vulnerable; ++d) {
                int n = neighbour_[c][d];
                int p = power_[c][d];
                if (n < 0 || p <= 0 || p >= 5 || safe1_[n]) continue;
                vulnerable = IsFree(n) || power_[n][kOppositeDirection[d]] > p;
            }
            if (!vulnerable) {
                safe1_[c] = 1;
                marked = true;
            }
        }
    }
    ComputeSafeMap2(safe1_, safe2_);
}

// One pass; power 0 counts as a weakness too.
void Arrangement::ComputeSafeMap2(const uint8_t safe1[kBoardCells], uint8_t safe2[kBoardCells]) const {
    for (int c = 0; c < kBoardCells; ++c) safe2[c] = 0;
    for (int c = 0; c < kBoardCells; ++c) {
        if (IsFree(c)) continue;
        bool vulnerable = false;
        for (int d = 0; d < kDirectionCount && !vulnerable; ++d) {
            int n = neighbour_[c][d];
            int p = power_[c][d];
            if (n < 0 || p >= 5 || safe2[n]) continue;
            vulnerable = IsFree(n) || (power_[n][kOppositeDirection[d]] > p && !safe1[n]);
        }
        if (!vulnerable) safe2[c] = 1;
    }
}

// The capture chain from a cell whose card has just been captured, with
// `unvisited` the cells still held by its side (captured cells have left it).
// A neighbour still held with powers both ways continues the chain when this
// card is the stronger one (one more step) and stops it (-1) otherwise; a
// neighbour held without powers both ways gives 1 when this card has a power
// towards it and -1 when not (0 when its cell is free); any other neighbour
// gives 0. The greatest value wins: the depth is the longest chain of
// captures plus what its last card's neighbours give.
int Arrangement::Local(int cell, Mask unvisited) const {
    if (bonus_[cell] & unvisited) return 1;
    if ((around_[cell] & ~unvisited) | (zeroIfOwned_[cell] & unvisited)) return 0;
    return -1;
}

// The chains on from a card captured `length` steps in, over the cells
// still `unvisited`: raises best to the longest chain plus what its last
// card's neighbours give. Past the first card a captured neighbour is always
// there (it gives 0), so only a neighbour worth 1 adds anything. Each step
// spends one of `steps`; false when they ran out first. The walk ends as soon
// as best reaches `goal`, which no chain can pass.
bool Arrangement::Extend(int cell, Mask unvisited, int length, int goal, int* best, int* steps) const {
    for (Mask next = chain_[cell] & unvisited; next != 0; next &= next - 1) {
        if (*best >= goal) return true;
        if (--*steps < 0) return false;
        int n = std::countr_zero(next);
        Mask rest = unvisited & ~Bit(n);
        int here = length + 1 + ((bonus_[n] & rest) ? 1 : 0);
        if (here > *best) *best = here;
        if ((chain_[n] & rest) && !Extend(n, rest, length + 1, goal, best, steps)) return false;
    }
    return true;
}

int Arrangement::CaptureChainDepth(const Owners& owners, int cell) const {
    int lo = 0, hi = 0;
    DepthRange(owners, cell, Detail::kExact, &lo, &hi);
    return lo;
}

void Arrangement::DepthRange(const Owners& owners, int cell, Detail detail, int* lo, int* hi) const {
    Mask held = owners.OwnedBy(owners.OwnerOf(cell));
    Mask unvisited = held & ~Bit(cell);
    if ((chain_[cell] & unvisited) == 0) {
        *lo = *hi = Local(cell, unvisited);
        return;
    }
    // One capture is sure (worth at least 1). A chain visits each held cell
    // at most once, and when it takes them all no held neighbour is left to
    // add 1 at its end; when it stops short of one, the 1 does not pass that.
    *lo = 1;
    *hi = std::popcount(held) - 1;
    if (detail == Detail::kBounds) return;
    // The same over the cells a chain from here can reach.
    Mask reach = 0;
    Mask worth1 = 0;  // neighbours worth 1 to some card in reach
    for (Mask fresh = Bit(cell); fresh != 0;) {
        reach |= fresh;
        Mask next = 0;
        for (Mask m = fresh; m != 0; m &= m - 1) {
            int v = std::countr_zero(m);
            next |= chain_[v];
            worth1 |= bonus_[v];
        }
        fresh = next & held & ~reach;
    }
    bool beyond = (worth1 & held & ~reach) != 0;
    *hi = std::popcount(reach) - 1 + (beyond ? 1 : 0);
    int best = 1;
    int steps = detail == Detail::kExact ? 1 << 30 : kWalkSteps;
    if (Extend(cell, unvisited, 0, *hi, &best, &steps)) {
        *lo = *hi = best;
    } else {
        *lo = best;
    }
}

int Arrangement::CountThreats(const Owners& owners, int cell) const {
    Mask same = owners.OwnedBy(owners.OwnerOf(cell));
    return threatFree_[cell] + std::popcount(threatened_[cell] & same);
}

int Arrangement::ThreatFor(int cell, int depth, int threats) const {
    if (depth == 0) return 0;
    if (safe1_[cell]) return depth * 50;
    // The handheld shifts by t - 1; a shift by -1 gives the sign bits.
    if (threats == 0) return depth > 0 ? -1 : 0;
    return S16((depth * -50) >> (threats - 1));
}

int Arrangement::ThreatScore(const Owners& owners, int cell) const {
    int depth = CaptureChainDepth(owners, cell);
    return ThreatFor(cell, depth, depth == 0 ? 0 : CountThreats(owners, cell));
}

int Arrangement::StaticScore(const Owners& owners, Side side, int level) const {
    return StaticRange(owners, side, level, Detail::kExact).lo;
}

ScoreRange Arrangement::StaticRange(const Owners& owners, Side side, int level, Detail detail) const {
    bool refined = level == 1 || level == 2;
    Mask mine = owners.OwnedBy(side);
    Mask theirs = owners.OwnedBy(side ^ 1);
    ScoreRange range{0, 0};
    for (Mask m = mine | theirs; m != 0; m &= m - 1) {
        int cell = std::countr_zero(m);
        int base = strength_[cell] + (refined && safe2_[cell] ? 400 : 100);
        int lo = base, hi = base;
        if (level == 2) {
            int clo = 0, chi = 0;
            DepthRange(owners, cell, detail, &clo, &chi);
            // The threat grows with the depth on a safe cell and shrinks with
            // it elsewhere: its ends come from the depth's ends.
            int t = clo == 0 && chi == 0 ? 0 : CountThreats(owners, cell);
            int a = ThreatFor(cell, clo, t);
            int b = clo == chi ? a : ThreatFor(cell, chi, t);
            lo += a < b ? a : b;
            hi += a < b ? b : a;
        }
        if (mine & Bit(cell)) {
            range.lo += lo;
            range.hi += hi;
        } else {
            range.lo -= hi;
            range.hi -= lo;
        }
    }
    return range;
}

}  // namespace qv::ai
