// The board's rule primitives and its form in the quick save.
#include "match/board.h"

#include "cards/card_database.h"
#include "cards/save_io.h"
#include "engine/utilities.h"

namespace qv {

const int8_t kDirectionDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int8_t kDirectionDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
const int8_t kOppositeDirection[8] = {4, 5, 6, 7, 0, 1, 2, 3};

int DirectionBetween(int ax, int ay, int tx, int ty) {
    if (tx == ax) {
        if (ty == ay) return -1;
        return ty < ay ? 0 : 4;
    }
    if (ty == ay) return tx > ax ? 2 : 6;
    if (tx < ax) return ty < ay ? 7 : 5;
    return ty < ay ? 1 : 3;
}

void Board::Reset(int n) {
    // The cards stay: the computer opponent and the quick save read them.
    for (BoardCell& cell : cells_) {
        cell.free = 1;
        cell.owner = kNoSide;
        cell.placedBy = kNoSide;
    }
    if (n > kBoardCells) n = kBoardCells;
    while (n > 0) {
        const int x = RandomBelow(kBoardColumns);
        const int y = RandomBelow(kBoardRows);
        if (Cell(x, y).free != 0) {
            Cell(x, y).free = 0;
            --n;
        }
    }
}

bool Board::CanPlace(const Card& /*card*/, int x, int y) const {
    return IsInside(x, y) && CellAt(x, y).free != 0;
}

void Board::PlaceCard(const Card& card, int x, int y, Side side) {
    BoardCell& cell = Cell(x, y);
    cell.free = 0;
    cell.card = card;
    cell.owner = side;
    cell.placedBy = side;
}

int Board::CountTargets(const Card& card, int x, int y, Side side) const {
    int targets = 0;
    for (int d = 0; d < kDirectionCount; ++d) {
        const int nx = x + kDirectionDx[d];
        const int ny = y + kDirectionDy[d];
        if (card.GetPower(d) > 0 && IsInside(nx, ny) && CellAt(nx, ny).free == 0 &&
            CellAt(nx, ny).owner == OtherSide(side)) {
            ++targets;
        }
    }
    return targets;
}

bool Board::CanAttack(int ax, int ay, int tx, int ty) const {
    if (tx - ax < -1 || tx - ax > 1 || ty - ay < -1 || ty - ay > 1) return false;
    if (!IsInside(ax, ay) || !IsInside(tx, ty)) return false;
    const BoardCell& target = CellAt(tx, ty);
    const BoardCell& attacker = CellAt(ax, ay);
    // An attacker without an owner (2) gives 3, which matches no cell.
    return target.free == 0 && target.owner == OtherSide(attacker.owner) &&
           attacker.card.GetPower(DirectionBetween(ax, ay, tx, ty)) > 0;
}

int Board::CountAttacks(int x, int y) const {
    int attacks = 0;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) attacks += CanAttack(x, y, x + i, y + j) ? 1 : 0;
    }
    return attacks;
}

bool Board::FindFirstAttack(int x, int y, int& tx, int& ty) const {
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            if (CanAttack(x, y, x + i, y + j)) {
                tx = x + i;
                ty = y + j;
                return true;
            }
        }
    }
    return false;
}

Side Board::ResolveAttack(int ax, int ay, int tx, int ty) {
    const int d = DirectionBetween(ax, ay, tx, ty);
    BoardCell& attacker = Cell(ax, ay);
    BoardCell& target = Cell(tx, ty);
    const int attack = attacker.card.GetPower(d);
    const int defence = d < 0 ? 0 : target.card.GetPower(kOppositeDirection[d]);
    if (attack > defence) {
        target.owner = attacker.owner;
        return attacker.owner;
    }
    if (attack == defence) return kNoSide;
    attacker.owner = target.owner;
    return target.owner;
}

bool Board::HaveMutualPowers(int ax, int ay, int tx, int ty) const {
    const int d = DirectionBetween(ax, ay, tx, ty);
    return d >= 0 && CellAt(ax, ay).card.GetPower(d) > 0 &&
           CellAt(tx, ty).card.GetPower(kOppositeDirection[d]) > 0;
}

bool Board::FacesEnemy(int ax, int ay, int tx, int ty) const {
    return HaveMutualPowers(ax, ay, tx, ty) && CellAt(tx, ty).owner == OtherSide(CellAt(ax, ay).owner);
}

void Board::FlipOwner(int x, int y) { Cell(x, y).owner = OtherSide(Cell(x, y).owner); }

void Board::BlockCell(int x, int y) {
    BoardCell& cell = Cell(x, y);
    cell.free = 0;
    cell.owner = kNoSide;
    cell.placedBy = kNoSide;
}

bool Board::IsFull() const { return CountFree() == 0; }

int Board::CountFree() const {
    int count = 0;
    for (const BoardCell& cell : cells_) count += cell.free != 0 ? 1 : 0;
    return count;
}

void Board::CountBySide(int& red, int& blue) const {
    red = 0;
    blue = 0;
    for (const BoardCell& cell : cells_) {
        red += cell.owner == RED ? 1 : 0;
        blue += cell.owner == BLUE ? 1 : 0;
    }
}

bool Board::HasSideWithoutCards() const {
    int red = 0;
    int blue = 0;
    CountBySide(red, blue);
    return red == 0 || blue == 0;
}

void Board::SetUpTutorialBoard1() {
    Reset(0);
    PlaceCard(LoadCard(38), 3, 3, RED);
}

void Board::SetUpTutorialBoard2() {
    Reset(0);
    PlaceCard(LoadCard(17), 3, 2, RED);
}

void Board::SetUpTutorialBoard3() {
    Reset(0);
    PlaceCard(LoadCard(13), 2, 2, RED);
    PlaceCard(LoadCard(18), 3, 2, RED);
    PlaceCard(LoadCard(33), 4, 2, RED);
}

void Board::SetUpTutorialBoard4() {
    Reset(0);
    PlaceCard(LoadCard(149), 1, 0, RED);
    PlaceCard(LoadCard(177), 2, 0, RED);
    PlaceCard(LoadCard(254), 3, 0, RED);
    PlaceCard(LoadCard(73), 4, 0, RED);
    PlaceCard(LoadCard(242), 3, 1, RED);
    PlaceCard(LoadCard(247), 4, 2, RED);
}

bool Board::Write(platform::FileHandle file) const {
    bool ok = true;
    for (const BoardCell& cell : cells_) {
        ok = WriteU8(file, cell.free) && ok;
        ok = WriteU8(file, static_cast<uint8_t>(cell.owner)) && ok;
        ok = WriteU8(file, static_cast<uint8_t>(cell.placedBy)) && ok;
        ok = WriteI16(file, cell.card.GetId()) && ok;
    }
    return ok;
}

bool Board::Read(platform::FileHandle file) {
    bool whole = true;
    for (BoardCell& cell : cells_) {
        uint8_t free = cell.free;
        uint8_t owner = static_cast<uint8_t>(cell.owner);
        uint8_t placedBy = static_cast<uint8_t>(cell.placedBy);
        int16_t id = cell.card.GetId();
        whole = ReadU8(file, free) && whole;
        whole = ReadU8(file, owner) && whole;
        whole = ReadU8(file, placedBy) && whole;
        whole = ReadI16(file, id) && whole;
        // Only the three side values mean anything; anything else is no side.
        cell.free = free != 0 ? 1 : 0;
        cell.owner = owner <= kNoSide && !cell.free ? static_cast<Side>(owner) : kNoSide;
        cell.placedBy = placedBy <= kNoSide && !cell.free ? static_cast<Side>(placedBy) : kNoSide;
        cell.card = LoadCard(id);
    }
    return whole;
}

}  // namespace qv
