// Board positions for the computer opponent kept as text files: 24 cells,
// then the five hand slots of the side to move, one a line.
#pragma once

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cards/containers.h"
#include "match/board.h"

namespace qv::test {

struct AiPosition {
    Board board;
    CardHand hand;
};

// A card with the id and the eight powers written as digits, direction 0 first.
inline bool CardFromText(int id, const std::string& powers, Card* card) {
    if (powers.size() != 8 || id < 0 || id > 32767) return false;
    *card = Card();
    card->SetId(static_cast<int16_t>(id));
    card->SetLevel(1);
    for (int d = 0; d < 8; ++d) {
        if (powers[d] < '0' || powers[d] > '7') return false;
        card->SetPower(powers[d] - '0', d);
    }
    return true;
}

// Lines "free owner placedBy id powers": lines 1-24 the cells (cell i at
// column i / 4, row i % 4; free 1 an empty cell, whose other fields are
// ignored; owner 2 a blocked cell), lines 25-29 the hand slots ("id powers"
// in the last two fields). False, with out untouched, for anything else.
inline bool ParseAiPosition(const std::string& text, AiPosition* out) {
    std::istringstream in(text);
    std::string line;
    AiPosition position;
    for (int i = 0; i < kBoardCells + kHandSize; ++i) {
        if (!std::getline(in, line)) return false;
        std::istringstream fields(line);
        int free = 0, owner = 0, placedBy = 0, id = 0;
        std::string powers;
        if (!(fields >> free >> owner >> placedBy >> id >> powers)) return false;
        Card card;
        if (!CardFromText(id, powers, &card)) return false;
        if (i >= kBoardCells) {
            position.hand.AddCard(card);
            continue;
        }
        int x = i / kBoardRows, y = i % kBoardRows;
        if (free == 1) continue;
        if (free != 0 || owner < 0 || owner > 2) return false;
        if (owner == 2) {
            position.board.BlockCell(x, y);
            continue;
        }
        if (placedBy < 0 || placedBy > 1) return false;
        position.board.PlaceCard(card, x, y, static_cast<Side>(placedBy));
        if (owner != placedBy) position.board.FlipOwner(x, y);
    }
    *out = position;
    return true;
}

inline bool ReadAiPosition(const std::string& path, AiPosition* out) {
    std::ifstream file(path);
    if (!file) return false;
    std::stringstream text;
    text << file.rdbuf();
    return ParseAiPosition(text.str(), out);
}

// A random card: mostly the powers of play (0..5), now and then the rest of
// the 3 bits.
inline Card RandomAiCard(std::mt19937& rng, int id) {
    Card c;
    c.SetId(static_cast<int16_t>(id));
    int top = rng() % 20 == 0 ? 8 : 6;
    for (int d = 0; d < kDirectionCount; ++d) c.SetPower(static_cast<int>(rng() % static_cast<uint32_t>(top)), d);
    return c;
}

// A random position as a match can leave it: every cell first holds a card
// (free and blocked cells keep the card they last held), then `occupied`
// placements are tried on random cells, some of them blocked cells, owners
// and captures mixed; then a hand of `cards` cards.
inline AiPosition RandomAiPosition(std::mt19937& rng, int occupied, int cards) {
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    AiPosition p;
    for (int i = 0; i < kBoardCells; ++i) {
        p.board.PlaceCard(RandomAiCard(rng, i + 1), i / kBoardRows, i % kBoardRows, static_cast<Side>(below(2)));
    }
    p.board.Reset(0);  // every cell free again, the cards kept
    int blocked = below(7);
    for (int n = 0; n < occupied; ++n) {
        int i = below(kBoardCells);
        int x = i / kBoardRows, y = i % kBoardRows;
        if (!p.board.CellAt(x, y).free) continue;
        if (blocked > 0 && below(3) == 0) {
            p.board.BlockCell(x, y);
            --blocked;
        } else {
            p.board.PlaceCard(RandomAiCard(rng, 100 + n), x, y, static_cast<Side>(below(2)));
            if (below(3) == 0) p.board.FlipOwner(x, y);
        }
    }
    for (int i = 0; i < cards; ++i) p.hand.AddCard(RandomAiCard(rng, 200 + i));
    return p;
}

// An endgame: `free` cells left open (1..24), the rest blocked (up to six)
// or holding cards of either side; a full hand.
inline AiPosition RandomAiEndgame(std::mt19937& rng, int free) {
    AiPosition p = RandomAiPosition(rng, 0, 5);
    std::vector<int> cells;
    for (int i = 0; i < kBoardCells; ++i) cells.push_back(i);
    std::shuffle(cells.begin(), cells.end(), rng);
    int blocked = static_cast<int>(rng() % 7);
    for (int k = std::clamp(free, 1, kBoardCells); k < kBoardCells; ++k) {
        int x = cells[k] / kBoardRows, y = cells[k] % kBoardRows;
        if (blocked > 0 && rng() % 4 == 0) {
            p.board.BlockCell(x, y);
            --blocked;
        } else {
            p.board.PlaceCard(RandomAiCard(rng, 300 + k), x, y, static_cast<Side>(rng() % 2));
        }
    }
    return p;
}

// The stored slow positions (tests/data/ai-positions), BLUE to move at level 2.
inline std::vector<std::string> StoredAiPositionNames() {
    return {"db_l2_f1", "db_l2_f2", "db_l2_f4", "synthetic_l2_f4"};
}

}  // namespace qv::test
