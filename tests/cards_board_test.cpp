// The board's rules on hand-built positions: battles, targets, counts and its form.
#include <gtest/gtest.h>

#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "match/board.h"
#include "platform/files.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

// A card with one power towards one direction (id for telling cards apart).
Card CardWith(int16_t id, std::initializer_list<std::pair<int, int>> powers) {
    Card card;
    card.SetId(id);
    card.SetPowers(0);
    for (auto [direction, power] : powers) card.SetPower(power, direction);
    return card;
}

TEST(Board, DirectionsAndOpposites) {
    for (int d = 0; d < 8; ++d) {
        const int tx = 2 + kDirectionDx[d];
        const int ty = 1 + kDirectionDy[d];
        EXPECT_EQ(DirectionBetween(2, 1, tx, ty), d);
        EXPECT_EQ(DirectionBetween(tx, ty, 2, 1), kOppositeDirection[d]);
        EXPECT_EQ(kOppositeDirection[d], (d + 4) % 8);
    }
    EXPECT_EQ(DirectionBetween(3, 3, 3, 3), -1);
    // Only the signs count.
    EXPECT_EQ(DirectionBetween(0, 3, 5, 0), 1);
    EXPECT_EQ(DirectionBetween(5, 0, 0, 3), 5);
}

TEST(Board, BattlesInEveryDirection) {
    for (int d = 0; d < 8; ++d) {
        const int tx = 2 + kDirectionDx[d];
        const int ty = 1 + kDirectionDy[d];
        const int back = kOppositeDirection[d];
        for (int attack = 1; attack <= 5; ++attack) {
            for (int defence = 0; defence <= 5; ++defence) {
                Board board;
                board.PlaceCard(CardWith(2, {{back, defence}, {d, 5}}), tx, ty, BLUE);
                board.PlaceCard(CardWith(1, {{d, attack}, {back, 5}}), 2, 1, RED);
                ASSERT_TRUE(board.CanAttack(2, 1, tx, ty));
                const Side winner = board.ResolveAttack(2, 1, tx, ty);
                if (attack > defence) {
                    EXPECT_EQ(winner, RED);
                    EXPECT_EQ(board.GetOwner(tx, ty), RED);
                    EXPECT_EQ(board.GetOwner(2, 1), RED);
                } else if (attack == defence) {
                    EXPECT_EQ(winner, kNoSide);
                    EXPECT_EQ(board.GetOwner(tx, ty), BLUE);
                    EXPECT_EQ(board.GetOwner(2, 1), RED);
                } else {
                    EXPECT_EQ(winner, BLUE);
                    EXPECT_EQ(board.GetOwner(2, 1), BLUE);
                    EXPECT_EQ(board.GetOwner(tx, ty), BLUE);
                }
                // Only owners change.
                EXPECT_EQ(board.CellAt(tx, ty).placedBy, BLUE);
                EXPECT_EQ(board.CellAt(2, 1).card.GetId(), 1);
                EXPECT_EQ(board.HaveMutualPowers(2, 1, tx, ty), defence > 0) << d;
            }
        }
    }
}

TEST(Board, TargetsAndAttacks) {
    Board board;
    // RED card in the corner with powers only up and left: nothing to attack.
    const Card corner = CardWith(1, {{0, 5}, {6, 5}});
    board.PlaceCard(CardWith(9, {}), 1, 0, BLUE);
    board.PlaceCard(CardWith(9, {}), 0, 1, BLUE);
    EXPECT_EQ(board.CountTargets(corner, 0, 0, RED), 0);
    board.PlaceCard(corner, 0, 0, RED);
    EXPECT_EQ(board.CountAttacks(0, 0), 0);

    // A strong enemy still counts as a target; own cards and blocked cells do not.
    const Card star = CardWith(2, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}});
    board.PlaceCard(CardWith(3, {{6, 5}, {7, 5}, {5, 5}}), 4, 2, BLUE);  // right of (3, 2)
    board.PlaceCard(CardWith(4, {}), 3, 1, RED);                         // above, own
    board.BlockCell(2, 2);                                               // left, blocked
    board.PlaceCard(CardWith(5, {}), 2, 3, BLUE);                        // down-left
    EXPECT_EQ(board.CountTargets(star, 3, 2, RED), 2);
    board.PlaceCard(star, 3, 2, RED);
    EXPECT_EQ(board.CountAttacks(3, 2), 2);
    int tx = -1;
    int ty = -1;
    ASSERT_TRUE(board.FindFirstAttack(3, 2, tx, ty));
    // Column offset outer: (2, 3) comes before (4, 2).
    EXPECT_EQ(tx, 2);
    EXPECT_EQ(ty, 3);
    EXPECT_TRUE(board.FacesEnemy(3, 2, 4, 2));
    EXPECT_FALSE(board.FacesEnemy(3, 2, 2, 3));  // no power back
    EXPECT_FALSE(board.CanAttack(3, 2, 5, 2));   // two columns away
    EXPECT_FALSE(board.CanAttack(3, 2, 3, 1));   // own card
    EXPECT_FALSE(board.CanAttack(3, 2, 2, 2));   // blocked
    EXPECT_FALSE(board.CanAttack(0, 0, -1, 0));  // outside

    // A blocked cell's owner is 2: it attacks nothing.
    EXPECT_EQ(board.CountAttacks(2, 2), 0);
}

TEST(Board, CountsAndReset) {
    SeedRandom(11);
    for (int blocked = 0; blocked <= 6; ++blocked) {
        Board board;
        board.Reset(blocked);
        EXPECT_EQ(board.CountFree(), 24 - blocked);
        int red = -1;
        int blue = -1;
        board.CountBySide(red, blue);
        EXPECT_EQ(red + blue, 0);
    }
    Board board;
    board.Reset(0);
    board.BlockCell(0, 0);
    board.PlaceCard(CardWith(1, {}), 1, 0, RED);
    board.PlaceCard(CardWith(2, {}), 2, 0, BLUE);
    board.PlaceCard(CardWith(3, {}), 3, 0, BLUE);
    EXPECT_EQ(board.CountFree(), 20);
    int red = 0;
    int blue = 0;
    board.CountBySide(red, blue);
    EXPECT_EQ(red, 1);
    EXPECT_EQ(blue, 2);
    EXPECT_FALSE(board.HasSideWithoutCards());
    board.FlipOwner(1, 0);
    EXPECT_TRUE(board.HasSideWithoutCards());
    EXPECT_FALSE(board.IsFull());
    EXPECT_FALSE(board.CanPlace(CardWith(4, {}), 0, 0));
    EXPECT_FALSE(board.CanPlace(CardWith(4, {}), 6, 0));
    EXPECT_TRUE(board.CanPlace(CardWith(4, {}), 5, 3));
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y) {
            if (board.CanPlace(CardWith(4, {}), x, y)) board.BlockCell(x, y);
        }
    }
    EXPECT_TRUE(board.IsFull());

    // A reset keeps the cards that the cells held.
    board.Reset(0);
    EXPECT_EQ(board.CellAt(2, 0).card.GetId(), 2);
    EXPECT_EQ(board.CellAt(2, 0).owner, kNoSide);
    EXPECT_EQ(board.CountFree(), 24);
}

// Blocked cells replay from the seed: column first, then row, a blocked
// cell drawn again.
TEST(Board, ResetDrawsColumnThenRow) {
    SeedRandom(314);
    bool blocked[6][4] = {};
    for (int n = 6; n > 0;) {
        const int x = RandomBelow(6);
        const int y = RandomBelow(4);
        if (!blocked[x][y]) {
            blocked[x][y] = true;
            --n;
        }
    }
    SeedRandom(314);
    Board board;
    board.Reset(6);
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y) EXPECT_EQ(board.CellAt(x, y).free, blocked[x][y] ? 0 : 1) << x << y;
    }
}

TEST(Board, FormRoundTripKeepsEveryCell) {
    test::TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    Board board;
    board.PlaceCard(LoadCard(100), 0, 0, RED);
    board.PlaceCard(LoadCard(200), 5, 3, BLUE);
    board.FlipOwner(5, 3);
    board.PlaceCard(LoadCard(300), 2, 1, BLUE);
    board.Reset(0);  // (2, 1) free again but still holds card 300
    board.PlaceCard(LoadCard(100), 0, 0, RED);
    board.PlaceCard(LoadCard(200), 5, 3, BLUE);
    board.FlipOwner(5, 3);
    board.BlockCell(4, 0);

    const WString path = gInstallDir + u"board.bin";
    platform::FileHandle out = platform::CreateFile(path, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    board.Write(out);
    platform::CloseHandle(out);
    const test::Bytes bytes = test::ReadBytes(install.Root() / "board.bin");
    ASSERT_EQ(bytes.size(), static_cast<size_t>(kBoardFormBytes));
    // Cell (5, 3) is index 23: free, owner, placed-by, id.
    EXPECT_EQ(bytes[5 * 23 + 0], 0);
    EXPECT_EQ(bytes[5 * 23 + 1], RED);
    EXPECT_EQ(bytes[5 * 23 + 2], BLUE);
    EXPECT_EQ(bytes[5 * 23 + 3], 200);
    // Cell (2, 1) is index 9, free with its old card.
    EXPECT_EQ(bytes[5 * 9 + 0], 1);
    EXPECT_EQ(bytes[5 * 9 + 3] | (bytes[5 * 9 + 4] << 8), 300);

    Board back;
    platform::FileHandle in = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
    EXPECT_TRUE(back.Read(in));
    platform::CloseHandle(in);
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y) {
            const BoardCell a = board.GetCell(x, y);
            const BoardCell b = back.GetCell(x, y);
            EXPECT_EQ(a.free, b.free);
            EXPECT_EQ(a.owner, b.owner);
            EXPECT_EQ(a.placedBy, b.placedBy);
            EXPECT_EQ(a.card.GetId(), b.card.GetId());
            EXPECT_EQ(a.card.GetPowers(), b.card.GetPowers());
        }
    }
}

}  // namespace
}  // namespace qv
