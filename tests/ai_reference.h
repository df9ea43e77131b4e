// The computer opponent's search as first written (a plain recursion that
// lists every capture path): kept as the reference that the fast search must
// match choice for choice, score for score and random draw for random draw.
#pragma once

#include "cards/containers.h"
#include "engine/utilities.h"
#include "match/board.h"
#include "match/computer_opponent.h"

namespace qv::test::reference {
namespace detail {

inline constexpr int kFloor = -10000;

// The rule state the search needs: no names, pictures or ids.
struct AiBoard {
    uint8_t free[kBoardCells];
    Side owner[kBoardCells];
    uint8_t powers[kBoardCells][kDirectionCount];
};

inline int Index(int x, int y) { return x * kBoardRows + y; }
inline bool Inside(int x, int y) { return Board::IsInside(x, y); }
inline int16_t S16(int v) { return static_cast<int16_t>(v); }

inline int Power(const AiBoard& b, int cell, int d) {
    return (d < 0 || d >= kDirectionCount) ? 0 : b.powers[cell][d];
}

inline AiBoard Flatten(const Board& board) {
    AiBoard b{};
    for (int x = 0; x < kBoardColumns; ++x) {
        for (int y = 0; y < kBoardRows; ++y) {
            const BoardCell& cell = board.CellAt(x, y);
            int i = Index(x, y);
            b.free[i] = cell.free;
            b.owner[i] = cell.owner;
            for (int d = 0; d < kDirectionCount; ++d) {
                b.powers[i][d] = static_cast<uint8_t>(cell.card.GetPower(d));
            }
        }
    }
    return b;
}

inline bool CanAttack(const AiBoard& b, int ax, int ay, int tx, int ty) {
    int dx = tx - ax;
    int dy = ty - ay;
    if (dx < -1 || dx > 1 || dy < -1 || dy > 1 || !Inside(tx, ty)) return false;
    int t = Index(tx, ty);
    int a = Index(ax, ay);
    if (b.free[t]) return false;
    // An attacker without owner (2) gives 3, which matches no cell.
    if (b.owner[t] != (b.owner[a] ^ 1)) return false;
    return Power(b, a, DirectionBetween(ax, ay, tx, ty)) > 0;
}

inline int CountAttacks(const AiBoard& b, int x, int y) {
    int n = 0;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            if (CanAttack(b, x, y, x + i, y + j)) ++n;
        }
    }
    return n;
}

inline Side ResolveAttack(AiBoard& b, int ax, int ay, int tx, int ty) {
    int d = DirectionBetween(ax, ay, tx, ty);
    int a = Index(ax, ay);
    int t = Index(tx, ty);
    int attack = Power(b, a, d);
    int defence = (d < 0 || d >= kDirectionCount) ? 0 : Power(b, t, kOppositeDirection[d]);
    if (attack > defence) {
        b.owner[t] = b.owner[a];
        return b.owner[a];
    }
    if (attack == defence) return kNoSide;
    b.owner[a] = b.owner[t];
    return b.owner[t];
}

inline bool HaveMutualPowers(const AiBoard& b, int ax, int ay, int tx, int ty) {
    int d = DirectionBetween(ax, ay, tx, ty);
    if (d < 0 || d >= kDirectionCount) return false;
    return Power(b, Index(ax, ay), d) > 0 && Power(b, Index(tx, ty), kOppositeDirection[d]) > 0;
}

inline bool FacesEnemy(const AiBoard& b, int ax, int ay, int tx, int ty) {
    return HaveMutualPowers(b, ax, ay, tx, ty) &&
           b.owner[Index(tx, ty)] == (b.owner[Index(ax, ay)] ^ 1);
}

inline int CellStrength(const AiBoard& b, int x, int y) {
    int s = 0;
    int c = Index(x, y);
    for (int d = 0; d < kDirectionCount; ++d) {
        int p = Power(b, c, d);
        int nx = x + kDirectionDx[d];
        int ny = y + kDirectionDy[d];
        if (!Inside(nx, ny)) {
            s -= p;
        } else if (b.free[Index(nx, ny)]) {
            // A free cell still holds the card it last held; its power counts.
            int q = Power(b, Index(nx, ny), kOppositeDirection[d]);
            s += p == q ? 10 : (p > q ? 30 : -30);
        } else {
            s -= p;
        }
    }
    return s;
}

inline void SafeMap1(const AiBoard& b, uint8_t safe[kBoardCells]) {
    for (int i = 0; i < kBoardCells; ++i) safe[i] = 0;
    bool marked = true;
    while (marked) {
        marked = false;
        for (int x = 0; x < kBoardColumns; ++x) {
            for (int y = 0; y < kBoardRows; ++y) {
                int c = Index(x, y);
                if (safe[c] || b.free[c]) continue;
                bool vulnerable = false;
                for (int d = 0; d < kDirectionCount && !vulnerable; ++d) {
                    int nx = x + kDirectionDx[d];
                    int ny = y + kDirectionDy[d];
                    int p = Power(b, c, d);
                    if (!Inside(nx, ny) || p <= 0 || p >= 5) continue;
                    int n = Index(nx, ny);
                    if (safe[n]) continue;
                    vulnerable = b.free[n] || Power(b, n, kOppositeDirection[d]) > p;
                }
                if (!vulnerable) {
                    safe[c] = 1;  // later cells of this pass see it at once
                    marked = true;
                }
            }
        }
    }
}

inline void SafeMap2(const AiBoard& b, const uint8_t safe1[kBoardCells], uint8_t safe[kBoardCells]) {
    for (int i = 0; i < kBoardCells; ++i) safe[i] = 0;
    for (int x = 0; x < kBoardColumns; ++x) {
        for (int y = 0; y < kBoardRows; ++y) {
            int c = Index(x, y);
            if (b.free[c]) continue;
            bool vulnerable = false;
            for (int d = 0; d < kDirectionCount && !vulnerable; ++d) {
                int nx = x + kDirectionDx[d];
                int ny = y + kDirectionDy[d];
                int p = Power(b, c, d);
                if (!Inside(nx, ny) || p >= 5) continue;
                int n = Index(nx, ny);
                if (safe[n]) continue;
                vulnerable = b.free[n] || (Power(b, n, kOppositeDirection[d]) > p && !safe1[n]);
            }
            if (!vulnerable) safe[c] = 1;
        }
    }
}

inline int8_t CaptureChainDepth(const AiBoard& board, int x, int y) {
    int c = Index(x, y);
    Side s = board.owner[c];
    AiBoard copy = board;
    copy.owner[c] = static_cast<Side>(copy.owner[c] ^ 1);
    int best = -1;
    for (int d = 0; d < kDirectionCount; ++d) {
        int nx = x + kDirectionDx[d];
        int ny = y + kDirectionDy[d];
        if (!Inside(nx, ny)) continue;
        int n = Index(nx, ny);
        int e = Power(copy, c, d);
        int l = Power(copy, n, kOppositeDirection[d]);
        int v;
        if (FacesEnemy(copy, x, y, nx, ny)) {
            v = e > l ? CaptureChainDepth(copy, nx, ny) + 1 : -1;
        } else if (copy.free[n] || copy.owner[n] != s) {
            v = 0;
        } else {
            v = e > l ? 1 : -1;
        }
        if (v > best) best = v;
    }
    return static_cast<int8_t>(best);
}

inline int CountThreats(const AiBoard& b, int x, int y) {
    int t = 0;
    int c = Index(x, y);
    for (int d = 0; d < kDirectionCount; ++d) {
        int nx = x + kDirectionDx[d];
        int ny = y + kDirectionDy[d];
        int p = Power(b, c, d);
        if (!Inside(nx, ny) || p == 0 || p == 5) continue;
        int n = Index(nx, ny);
        if (b.free[n]) ++t;
        if (b.owner[n] == b.owner[c] && Power(b, n, kOppositeDirection[d]) > p) ++t;
    }
    return t;
}

inline int ThreatScore(const AiBoard& b, const uint8_t safe1[kBoardCells], int x, int y) {
    int c = CaptureChainDepth(b, x, y);
    if (c == 0) return 0;
    int t = CountThreats(b, x, y);
    if (safe1[Index(x, y)]) return c * 50;
    // The handheld shifts by t - 1; a shift by -1 gives the sign bits.
    if (t == 0) return c > 0 ? -1 : 0;
    return S16((c * -50) >> (t - 1));
}

inline int Noise() {
    int n = kAiNoise[gAiLevel < 3 ? gAiLevel : 0];
    return RandomBelow(n) - n / 2;
}

inline int Evaluate(const AiBoard& b, Side side) {
    int level = gAiLevel;
    uint8_t safe1[kBoardCells] = {};
    uint8_t safe2[kBoardCells] = {};
    bool refined = level == 1 || level == 2;
    if (refined) {
        SafeMap1(b, safe1);
        SafeMap2(b, safe1, safe2);
    }
    int s = 0;
    for (int x = 0; x < kBoardColumns; ++x) {
        for (int y = 0; y < kBoardRows; ++y) {
            Side o = b.owner[Index(x, y)];
            if (o != side && o != (side ^ 1)) continue;
            int v = CellStrength(b, x, y);
            if (level == 2) v += ThreatScore(b, safe1, x, y);
            v += refined && safe2[Index(x, y)] ? 400 : 100;
            s += o == side ? v : -v;
        }
    }
    return s + Noise();
}

// Each target of (x, y) fought on a copy of the board and scored by
// score(board after the battle, target column, row, winner); the best, its
// target in tc/tr (the first target when none beats the floor).
template <class Score>
int BestTarget(const AiBoard& board, int x, int y, int8_t& tc, int8_t& tr, Score score) {
    int best = kFloor;
    bool chosen = false;
    for (int d = 0; d < kDirectionCount; ++d) {
        int nx = x + kDirectionDx[d];
        int ny = y + kDirectionDy[d];
        AiBoard b = board;
        if (!CanAttack(b, x, y, nx, ny)) continue;
        if (!chosen) {
            tc = static_cast<int8_t>(nx);
            tr = static_cast<int8_t>(ny);
            chosen = true;
        }
        Side w = ResolveAttack(b, x, y, nx, ny);
        int value = score(b, nx, ny, w);
        if (S16(value) > S16(best)) {
            best = value;
            tc = static_cast<int8_t>(nx);
            tr = static_cast<int8_t>(ny);
        }
    }
    return best;
}

inline int ScoreChain(const AiBoard& board, Side side, int x, int y, int8_t& tc, int8_t& tr) {
    return BestTarget(board, x, y, tc, tr, [&](const AiBoard& b, int nx, int ny, Side w) {
        int8_t ignoredC = 0, ignoredR = 0;
        if (w == side && CountAttacks(b, nx, ny) >= 1 && HaveMutualPowers(b, x, y, nx, ny)) {
            return ScoreChain(b, side, nx, ny, ignoredC, ignoredR);
        }
        return Evaluate(b, side);
    });
}

inline int ChooseAttack(const AiBoard& board, Side side, int x, int y, int8_t& tc, int8_t& tr) {
    return BestTarget(board, x, y, tc, tr, [&](const AiBoard& b, int nx, int ny, Side w) {
        int8_t ignoredC = 0, ignoredR = 0;
        if (w == side && CountAttacks(b, nx, ny) >= 1 && HaveMutualPowers(b, x, y, nx, ny) && gAiLevel != 0) {
            return ScoreChain(b, side, nx, ny, ignoredC, ignoredR);
        }
        // The captured attacker goes on for the other side.
        if (w != side && w != kNoSide && CountAttacks(b, x, y) > 0) {
            return -ScoreChain(b, static_cast<Side>(side ^ 1), x, y, ignoredC, ignoredR);
        }
        return Evaluate(b, side);
    });
}

}  // namespace detail

using namespace detail;

inline int ChooseAiPlacement(const Board& board, const CardHand& hand, Side side, uint8_t& slot,
                      int8_t& column, int8_t& row, bool mayDraw = true) {
    slot = 0;
    column = 0;
    row = 0;
    if (mayDraw && ShouldAiDrawCard(board, hand)) {
        slot = 255;
        return -1;
    }
    AiBoard flat = Flatten(board);
    int best = kFloor;
    bool chosen = false;
    for (int s = 0; s < kHandSize; ++s) {
        if (!hand.IsSlotFilled(s)) continue;
        const Card& card = hand.CardAt(s);
        uint8_t powers[kDirectionCount];
        for (int d = 0; d < kDirectionCount; ++d) powers[d] = static_cast<uint8_t>(card.GetPower(d));
        for (int x = 0; x < kBoardColumns; ++x) {
            for (int y = 0; y < kBoardRows; ++y) {
                int c = Index(x, y);
                if (!flat.free[c]) continue;
                AiBoard b = flat;
                b.free[c] = 0;
                b.owner[c] = side;
                for (int d = 0; d < kDirectionCount; ++d) b.powers[c][d] = powers[d];
                if (!chosen) {
                    slot = static_cast<uint8_t>(s);
                    column = static_cast<int8_t>(x);
                    row = static_cast<int8_t>(y);
                    chosen = true;
                }
                int8_t tc = 0, tr = 0;
                int score = CountAttacks(b, x, y) < 1 ? Evaluate(b, side)
                                                      : ChooseAttack(b, side, x, y, tc, tr);
                if (S16(score) > S16(best)) {
                    best = score;
                    slot = static_cast<uint8_t>(s);
                    column = static_cast<int8_t>(x);
                    row = static_cast<int8_t>(y);
                }
            }
        }
    }
    return best;
}

inline int ChooseAiAttack(const Board& board, Side side, int x, int y, int8_t& targetColumn,
                   int8_t& targetRow) {
    return ChooseAttack(Flatten(board), side, x, y, targetColumn, targetRow);
}

inline int ScoreAiAttackChain(const Board& board, Side side, int x, int y, int8_t& targetColumn,
                       int8_t& targetRow) {
    return ScoreChain(Flatten(board), side, x, y, targetColumn, targetRow);
}

inline int EvaluateBoard(const Board& board, Side side) { return Evaluate(Flatten(board), side); }

inline int8_t CaptureChainDepth(const Board& board, int x, int y) {
    return CaptureChainDepth(Flatten(board), x, y);
}

}  // namespace qv::test::reference
