// The computer opponent's search: battles and chains played out on owner
// masks over one worked-out arrangement of cards, so copies cost nothing.
#include "match/computer_opponent.h"

#include <bit>

#include "engine/utilities.h"
#include "match/ai_board.h"

namespace qv {

uint8_t gAiLevel = 0;
const int16_t kAiNoise[3] = {250, 50, 10};

namespace {

constexpr int kFloor = -10000;

using ai::Arrangement;
using ai::Bit;
using ai::Mask;
using ai::Owners;

int16_t S16(int v) { return static_cast<int16_t>(v); }
int Column(int cell) { return cell / kBoardRows; }
int Row(int cell) { return cell % kBoardRows; }

int Noise() {
    int n = kAiNoise[gAiLevel < 3 ? gAiLevel : 0];
    return RandomBelow(n) - n / 2;
}

// A level-2 score for RED as far as it is known: detail -1 nothing yet, 0
// bounds, 1 walked a little, 2 exact.
struct Memo {
    ai::ScoreRange range;
    int detail = -1;
};

// Level-2 evaluations of one arrangement remembered by owners: the chain
// search meets the same board again through captures taken in another order.
// A score is kept as a range until a comparison needs it exactly.
class EvaluationMemo {
public:
    // Forgets everything: the arrangement changed.
    void Reset() {
        if (++stamp_ == 0) {
            for (Entry& e : table_) e.stamp = 0;
            stamp_ = 1;
        }
    }
    // The entry of the key, made (fresh) when there was none; nullptr when
    // the table has no room near its place.
    Memo* Lookup(uint64_t key, bool* fresh) {
        for (uint32_t i = Slot(key), n = 0; n < kProbes; ++n, i = (i + 1) & (kSize - 1)) {
            Entry& e = table_[i];
            if (e.stamp != stamp_) {
                e = Entry{key, stamp_, {}};
                *fresh = true;
                return &e.memo;
            }
            if (e.key == key) {
                *fresh = false;
                return &e.memo;
            }
        }
        return nullptr;
    }

private:
    static constexpr uint32_t kSize = 1 << 14;
    static constexpr uint32_t kProbes = 16;
    struct Entry {
        uint64_t key = 0;
        uint32_t stamp = 0;
        Memo memo;
    };
    static uint32_t Slot(uint64_t key) {
        return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> 50) & (kSize - 1);
    }
    Entry table_[kSize];
    uint32_t stamp_ = 1;
};

EvaluationMemo gMemo;

// Scores are compared as signed 16-bit values, the greater one chosen. Every
// call below gets a window (low, high) of those values and must give the
// exact score when it lies strictly inside; otherwise any value on the same
// side of the window will do, since no comparison above can tell them apart.
// An empty window (low >= high) asks for nothing but the random draws, which
// always happen in the same order. Ranges are used instead of exact scores
// only well inside the 16-bit values, so the comparisons never wrap there.
constexpr int kNoLow = -1000000;
constexpr int kNoHigh = 1000000;
constexpr int kRangeLimit = 32000;

int Above(int low, int best) { return low > S16(best) ? low : S16(best); }

// The search on one arrangement: battles change only the owners.
class Search {
public:
    explicit Search(const Arrangement& arrangement) : a_(arrangement) { gMemo.Reset(); }

    int Evaluate(const Owners& o, Side side, int low = kNoLow, int high = kNoHigh) const {
        int level = gAiLevel;
        if (level != 2 || (side != RED && side != BLUE)) {
            int s = a_.StaticScore(o, side, level);
            return s + Noise();
        }
        // Kept for RED; BLUE's score is its negation. The range is narrowed
        // step by step until it tells which side of the window the score is.
        uint64_t key = o.side[0] | (uint64_t{o.side[1]} << 24);
        bool fresh = false;
        Memo* kept = gMemo.Lookup(key, &fresh);
        Memo red;
        if (kept != nullptr && !fresh) red = *kept;
        int noise = Noise();
        for (;;) {
            if (red.detail < 0) {
                red.detail = 0;
                red.range = a_.StaticRange(o, RED, level, Arrangement::Detail::kBounds);
            }
            int lo = side == RED ? red.range.lo : -red.range.hi;
            int hi = side == RED ? red.range.hi : -red.range.lo;
            if (lo == hi || lo < -kRangeLimit || hi > kRangeLimit) break;
            int answer = 0;
            bool known = true;
            if (low >= high && high >= -kRangeLimit && high <= kRangeLimit) {
                answer = high;
            } else if (hi + noise <= low) {
                answer = hi + noise;
            } else if (lo + noise >= high) {
                answer = lo + noise;
            } else {
                known = false;
            }
            if (known) {
                if (kept != nullptr) *kept = red;
                return answer;
            }
            if (red.detail == 2) break;
            ++red.detail;
            red.range = a_.StaticRange(o, RED, level,
                                       red.detail == 1 ? Arrangement::Detail::kWalked : Arrangement::Detail::kExact);
        }
        if (red.range.lo != red.range.hi) {
            red.range.lo = red.range.hi = a_.StaticScore(o, RED, level);
            red.detail = 2;
        }
        if (kept != nullptr) *kept = red;
        return (side == RED ? red.range.lo : -red.range.lo) + noise;
    }

    // The neighbour in direction d when the card in the cell can attack it.
    int Target(const Owners& o, int cell, int d) const {
        int t = a_.Neighbour(cell, d);
        if (t < 0 || !(a_.AttackMask(cell) & Bit(t))) return -1;
        return o.OwnerOf(t) == (o.OwnerOf(cell) ^ 1) ? t : -1;
    }

    int CountAttacks(const Owners& o, int cell) const {
        return std::popcount(a_.AttackMask(cell) & o.OwnedBy(o.OwnerOf(cell) ^ 1));
    }

    // The battle: the loser's cell takes the winner's owner; 2 when equal.
    Side Resolve(Owners& o, int a, int t, int d) const {
        int attack = a_.Power(a, d);
        int defence = a_.Power(t, kOppositeDirection[d]);
        if (attack > defence) {
            o.Give(t, o.OwnerOf(a));
            return o.OwnerOf(a);
        }
        if (attack == defence) return kNoSide;
        o.Give(a, o.OwnerOf(t));
        return o.OwnerOf(t);
    }

    // Fights each target of the cell in turn on a copy of the board and
    // scores the outcome with score(board after the battle, target, winner,
    // the window's floor so far); the best score, its target in tc/tr (the
    // first target when none beats the floor, so no stale target is left).
    template <class Score>
    int BestTarget(const Owners& board, int cell, int8_t& tc, int8_t& tr, int low, Score score) const {
        int best = kFloor;
        bool chosen = false;
        for (int d = 0; d < kDirectionCount; ++d) {
            int t = Target(board, cell, d);
            if (t < 0) continue;
            if (!chosen) {
                tc = static_cast<int8_t>(Column(t));
                tr = static_cast<int8_t>(Row(t));
                chosen = true;
            }
            Owners b = board;
            Side w = Resolve(b, cell, t, d);
            int value = score(b, t, w, Above(low, best));
            if (S16(value) > S16(best)) {
                best = value;
                tc = static_cast<int8_t>(Column(t));
                tr = static_cast<int8_t>(Row(t));
            }
        }
        return best;
    }

    int ScoreChain(const Owners& board, Side side, int cell, int8_t& tc, int8_t& tr, int low = kNoLow,
                   int high = kNoHigh) const {
        return BestTarget(board, cell, tc, tr, low, [&](const Owners& b, int t, Side w, int above) {
            int8_t ignoredC = 0, ignoredR = 0;
            if (w == side && CountAttacks(b, t) >= 1 && a_.Mutual(cell, t)) {
                return ScoreChain(b, side, t, ignoredC, ignoredR, above, high);
            }
            return Evaluate(b, side, above, high);
        });
    }

    int ChooseAttack(const Owners& board, Side side, int cell, int8_t& tc, int8_t& tr, int low = kNoLow,
                     int high = kNoHigh) const {
        return BestTarget(board, cell, tc, tr, low, [&](const Owners& b, int t, Side w, int above) {
            int8_t ignoredC = 0, ignoredR = 0;
            if (w == side && CountAttacks(b, t) >= 1 && a_.Mutual(cell, t) && gAiLevel != 0) {
                return ScoreChain(b, side, t, ignoredC, ignoredR, above, high);
            }
            // The captured attacker goes on for the other side; its best is
            // this side's worst, so the window turns round.
            if (w != side && w != kNoSide && CountAttacks(b, cell) > 0) {
                return -ScoreChain(b, static_cast<Side>(side ^ 1), cell, ignoredC, ignoredR, -high, -above);
            }
            return Evaluate(b, side, above, high);
        });
    }

private:
    const Arrangement& a_;
};

int Cell(int x, int y) { return x * kBoardRows + y; }

Arrangement ArrangementOf(const Board& board) {
    Arrangement a;
    a.Build(board);
    return a;
}

}  // namespace

void SetAiLevel(uint8_t level) { gAiLevel = level < 3 ? level : 0; }

bool ShouldDrawCard(const Board& board, const CardHand& hand) {
    int h = hand.CountCards();
    if (h == 5) return false;
    if (h == 0) return true;
    return board.CountFree() / 2 >= h && RandomBelow(h) == 0;
}

bool ShouldAiDrawCard(const Board& board, const CardHand& hand) {
    if (gAiLevel > 2) return false;
    return ShouldDrawCard(board, hand);
}

int ChooseAiPlacement(const Board& board, const CardHand& hand, Side side, uint8_t& slot,
                      int8_t& column, int8_t& row, bool mayDraw) {
    slot = 0;
    column = 0;
    row = 0;
    if (mayDraw && ShouldAiDrawCard(board, hand)) {
        slot = 255;
        return -1;
    }
    Arrangement base;
    base.Build(board);
    const Owners owners = ai::OwnersOf(board);
    int best = kFloor;
    bool chosen = false;
    for (int s = 0; s < kHandSize; ++s) {
        if (!hand.IsSlotFilled(s)) continue;
        const Card& card = hand.CardAt(s);
        uint8_t powers[kDirectionCount];
        for (int d = 0; d < kDirectionCount; ++d) powers[d] = static_cast<uint8_t>(card.GetPower(d));
        for (int c = 0; c < kBoardCells; ++c) {
            if (!base.IsFree(c)) continue;
            Arrangement placed;
            placed.Place(base, c, powers);
            Owners b = owners;
            b.Give(c, side);
            if (!chosen) {
                slot = static_cast<uint8_t>(s);
                column = static_cast<int8_t>(Column(c));
                row = static_cast<int8_t>(Row(c));
                chosen = true;
            }
            Search search(placed);
            int8_t tc = 0, tr = 0;
            // Only a score above the best so far can change the choice.
            int low = S16(best);
            int score = search.CountAttacks(b, c) < 1 ? search.Evaluate(b, side, low)
                                                      : search.ChooseAttack(b, side, c, tc, tr, low);
            if (S16(score) > S16(best)) {
                best = score;
                slot = static_cast<uint8_t>(s);
                column = static_cast<int8_t>(Column(c));
                row = static_cast<int8_t>(Row(c));
            }
        }
    }
    return best;
}

int ChooseAiAttack(const Board& board, Side side, int x, int y, int8_t& targetColumn,
                   int8_t& targetRow) {
    Arrangement a = ArrangementOf(board);
    return Search(a).ChooseAttack(ai::OwnersOf(board), side, Cell(x, y), targetColumn, targetRow);
}

int ScoreAiAttackChain(const Board& board, Side side, int x, int y, int8_t& targetColumn,
                       int8_t& targetRow) {
    Arrangement a = ArrangementOf(board);
    return Search(a).ScoreChain(ai::OwnersOf(board), side, Cell(x, y), targetColumn, targetRow);
}

int EvaluateBoard(const Board& board, Side side) {
    Arrangement a = ArrangementOf(board);
    return Search(a).Evaluate(ai::OwnersOf(board), side);
}

int CellStrength(const Board& board, int x, int y) { return ArrangementOf(board).CellStrength(Cell(x, y)); }

void ComputeSafeMap1(const Board& board, uint8_t safe[kBoardCells]) {
    Arrangement a = ArrangementOf(board);
    for (int c = 0; c < kBoardCells; ++c) safe[c] = a.SafeMap1()[c];
}

void ComputeSafeMap2(const Board& board, const uint8_t safe1[kBoardCells], uint8_t safe[kBoardCells]) {
    ArrangementOf(board).ComputeSafeMap2(safe1, safe);
}

int8_t CaptureChainDepth(const Board& board, int x, int y) {
    return static_cast<int8_t>(ArrangementOf(board).CaptureChainDepth(ai::OwnersOf(board), Cell(x, y)));
}

int CountThreats(const Board& board, int x, int y) {
    return ArrangementOf(board).CountThreats(ai::OwnersOf(board), Cell(x, y));
}

int ThreatScore(const Board& board, int x, int y) {
    return ArrangementOf(board).ThreatScore(ai::OwnersOf(board), Cell(x, y));
}

}  // namespace qv
