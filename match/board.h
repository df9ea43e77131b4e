// The 6 x 4 playing field and its rule primitives: placing, neighbours, battles, counting.
#pragma once

#include <cstdint>

#include "cards/card.h"
#include "platform/files.h"

namespace qv {

// Sides: 0 RED (participant 0), 1 BLUE (participant 1), 2 none.
using Side = int8_t;
inline constexpr Side RED = 0;
inline constexpr Side BLUE = 1;
inline constexpr Side kNoSide = 2;
inline Side OtherSide(Side side) { return static_cast<Side>(side ^ 1); }

inline constexpr int kBoardColumns = 6;
inline constexpr int kBoardRows = 4;
inline constexpr int kBoardCells = 24;
inline constexpr int kBoardFormBytes = 120;

// Per direction 0 up .. 7 up-left (clockwise): column step, row step
// (rows grow downwards) and the opposite direction.
extern const int8_t kDirectionDx[8];
extern const int8_t kDirectionDy[8];
extern const int8_t kOppositeDirection[8];

// The direction from a to t by the signs of the differences; -1 for the same cell.
int DirectionBetween(int ax, int ay, int tx, int ty);

struct BoardCell {
    uint8_t free = 1;       // 1 no card; 0 a card or blocked
    Side placedBy = kNoSide;
    Side owner = kNoSide;
    Card card;              // kept when the cell is freed or blocked
};

// Cell (x, y) is cells[x * 4 + y]. A plain value: copying copies every cell.
// Coordinates passed to PlaceCard, GetCell, GetOwner, FlipOwner and
// BlockCell are inside; the walks test every neighbour themselves.
class Board {
public:
    Board() { Reset(0); }
    // Every cell free with no owner (cards stay), then n distinct random cells blocked.
    void Reset(int n);
    static bool IsInside(int x, int y) { return x >= 0 && x < kBoardColumns && y >= 0 && y < kBoardRows; }
    bool CanPlace(const Card& card, int x, int y) const;
    void PlaceCard(const Card& card, int x, int y, Side side);
    // Directions with a power whose neighbour is inside, occupied and owned by the other side.
    int CountTargets(const Card& card, int x, int y, Side side) const;
    bool CanAttack(int ax, int ay, int tx, int ty) const;
    int CountAttacks(int x, int y) const;
    // Columns -1..1 outer, rows -1..1 inner.
    bool FindFirstAttack(int x, int y, int& tx, int& ty) const;
    // The battle: the loser's cell takes the winner's owner; returns the
    // winning side, or 2 (nothing changes) for equal powers.
    Side ResolveAttack(int ax, int ay, int tx, int ty);
    bool FacesEnemy(int ax, int ay, int tx, int ty) const;
    bool HaveMutualPowers(int ax, int ay, int tx, int ty) const;
    BoardCell GetCell(int x, int y) const { return cells_[x * kBoardRows + y]; }
    const BoardCell& CellAt(int x, int y) const { return cells_[x * kBoardRows + y]; }
    Side GetOwner(int x, int y) const { return cells_[x * kBoardRows + y].owner; }
    void FlipOwner(int x, int y);
    void BlockCell(int x, int y);
    bool IsFull() const;
    int CountFree() const;
    void CountBySide(int& red, int& blue) const;
    // A Perfect: one side owns no cell.
    bool HasSideWithoutCards() const;
    void SetUpTutorialBoard1();
    void SetUpTutorialBoard2();
    void SetUpTutorialBoard3();
    void SetUpTutorialBoard4();
    // Per cell, columns outer: uint8 free, uint8 owner, uint8 placed-by, int16
    // card id. True when every byte reached the file.
    bool Write(platform::FileHandle file) const;
    // Every cell's card is replaced by the card of its stored id; a free cell
    // has no owner and no placer, whatever was stored. False when short.
    bool Read(platform::FileHandle file);

private:
    BoardCell& Cell(int x, int y) { return cells_[x * kBoardRows + y]; }
    BoardCell cells_[kBoardCells];
};

}  // namespace qv
