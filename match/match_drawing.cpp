// Drawing the board: the background and each cell as an empty slot, a blocked cell or a card.
#include "cards/card.h"
#include "engine/blit.h"
#include "engine/picture_loader.h"
#include "match/match.h"
#include "match/match_layout.h"

namespace qv {

void Match::DrawBoard(const Board& board, int8_t buffer) {
    BlitPicture(0, 0, background_, buffer);
    for (int column = 0; column < kBoardColumns; ++column) {
        for (int row = 0; row < kBoardRows; ++row) {
            DrawBoardCell(board.CellAt(column, row), column, row, buffer);
        }
    }
}

void Match::DrawBoardCell(const BoardCell& cell, int column, int row, int8_t buffer) {
    int x = CellX(column);
    int y = CellY(row);
    // The free byte comes first: a free cell may still hold an old card.
    if (cell.free) {
        RestoreRect(x, y, kCardWidth, kCardHeight, background_, buffer);
        return;
    }
    if (cell.owner == kNoSide) {
        BlitPicture(x, y, gBlockedCellPicture, buffer);
        return;
    }
    DrawCardFace(cell.card, x, y, buffer, cell.owner);
}

void DrawCardFace(const Card& card, int x, int y, int8_t buffer, Side side) {
    // A card restored without a database entry has no picture to load: the
    // back stands in for it rather than a "Not found" box at every redraw.
    if (card.GetName().empty()) {
        BlitPicture(x, y, gCardIcons[0], buffer);
        return;
    }
    Card drawn = card;
    drawn.LoadPicture(kCardSmall);
    drawn.Draw(x, y, kCardSmall, buffer, side);
    drawn.FreePicture(kCardSmall);
}

}  // namespace qv
