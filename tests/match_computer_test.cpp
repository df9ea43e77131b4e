// The computer opponent's choices on positions whose best move is known.
#include <gtest/gtest.h>

#include "match/computer_opponent.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

class ComputerOpponent : public ::testing::Test {
protected:
    void SetUp() override { SeedRandom(11); }
};

TEST_F(ComputerOpponent, DrawsOnlyWithRoomInHandAndFewCardsOnIt) {
    Board empty;
    CardHand five = HandOf({MakeCard(1, "1"), MakeCard(2, "1"), MakeCard(3, "1"), MakeCard(4, "1"),
                            MakeCard(5, "1")});
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(ShouldDrawCard(empty, five));
        EXPECT_TRUE(ShouldDrawCard(empty, CardHand()));
    }
    // Four cards and 7 free cells: 7 / 2 = 3 < 4, and no random number is drawn.
    Board crowded;
    for (int i = 0; i < 17; ++i) crowded.BlockCell(i / 4, i % 4);
    ASSERT_EQ(crowded.CountFree(), 7);
    CardHand four = HandOf({MakeCard(1, "1"), MakeCard(2, "1"), MakeCard(3, "1"), MakeCard(4, "1")});
    SeedRandom(5);
    EXPECT_FALSE(ShouldDrawCard(crowded, four));
    int next = Rand();
    SeedRandom(5);
    EXPECT_EQ(Rand(), next);
    // One card on an open board: drawn with chance 1/1, one number used.
    CardHand one = HandOf({MakeCard(1, "1")});
    EXPECT_TRUE(ShouldDrawCard(empty, one));
}

TEST_F(ComputerOpponent, PlacementCapturesWhenItCan) {
    // RED's blank card at (2,1); only BLUE's slot 2 card has a power (left)
    // and only from (3,1) does it face RED's card.
    Board board;
    board.PlaceCard(MakeCard(20, "00000000"), 2, 1, RED);
    CardHand hand = HandOf({MakeCard(30, "00000000"), MakeCard(31, "00000000"),
                            MakeCard(32, "00000040"), MakeCard(33, "00000000"),
                            MakeCard(34, "00000000")});
    for (uint8_t level : {1, 2}) {
        SetAiLevel(level);
        uint8_t slot = 0;
        int8_t column = -1, row = -1;
        ChooseAiPlacement(board, hand, BLUE, slot, column, row);
        EXPECT_EQ(slot, 2) << "level " << int(level);
        EXPECT_EQ(column, 3);
        EXPECT_EQ(row, 1);
    }
}

TEST_F(ComputerOpponent, AttackPrefersTheBattleItWins) {
    // BLUE's card at (2,1) attacks left or right: the left card would beat
    // it back (5 > 3), the right one falls.
    Board board;
    board.PlaceCard(MakeCard(10, "00300030"), 2, 1, BLUE);
    board.PlaceCard(MakeCard(11, "00500000"), 1, 1, RED);
    board.PlaceCard(MakeCard(12, "00000010"), 3, 1, RED);
    for (uint8_t level : {0, 1, 2}) {
        SetAiLevel(level);
        int8_t tc = -1, tr = -1;
        ChooseAiAttack(board, BLUE, 2, 1, tc, tr);
        EXPECT_EQ(tc, 3) << "level " << int(level);
        EXPECT_EQ(tr, 1);
    }
}

TEST_F(ComputerOpponent, ChainFollowsTheCaptureThatGoesOn) {
    // From (2,1) BLUE can take (2,0) or (2,2); only (2,2) has a power back
    // and a further RED card to take from there.
    Board board;
    board.PlaceCard(MakeCard(10, "30003000"), 2, 1, BLUE);
    board.PlaceCard(MakeCard(11, "00000000"), 2, 0, RED);
    board.PlaceCard(MakeCard(12, "10001000"), 2, 2, RED);
    board.PlaceCard(MakeCard(13, "00000000"), 2, 3, RED);
    SetAiLevel(2);
    int8_t tc = -1, tr = -1;
    ScoreAiAttackChain(board, BLUE, 2, 1, tc, tr);
    EXPECT_EQ(tc, 2);
    EXPECT_EQ(tr, 2);
}

TEST_F(ComputerOpponent, ChoiceIsAlwaysAFilledSlotOnAFreeCell) {
    // Random positions, some nearly full, at every level.
    SeedRandom(99);
    for (int round = 0; round < 150; ++round) {
        Board board;
        int fill = RandomBelow(23);
        for (int i = 0; i < fill; ++i) {
            int x = RandomBelow(6), y = RandomBelow(4);
            if (!board.CellAt(x, y).free) continue;
            std::string powers;
            for (int d = 0; d < 8; ++d) powers.push_back(static_cast<char>('0' + RandomBelow(6)));
            if (RandomBelow(5) == 0) {
                board.BlockCell(x, y);
            } else {
                board.PlaceCard(MakeCard(static_cast<int16_t>(i + 1), powers.c_str()), x, y,
                                static_cast<Side>(RandomBelow(2)));
            }
        }
        if (board.CountFree() == 0) continue;
        CardHand hand;
        int cards = 1 + RandomBelow(5);
        for (int i = 0; i < cards; ++i) hand.AddCard(MakeCard(static_cast<int16_t>(100 + i), "54321054"));
        if (RandomBelow(2) == 0) hand.RemoveCardAt(0);
        if (hand.CountCards() == 0) continue;
        SetAiLevel(static_cast<uint8_t>(round % 3));
        uint8_t slot = 0;
        int8_t column = 0, row = 0;
        ChooseAiPlacement(board, hand, BLUE, slot, column, row, false);
        ASSERT_LT(slot, 5);
        EXPECT_TRUE(hand.IsSlotFilled(slot)) << "round " << round;
        EXPECT_TRUE(board.CellAt(column, row).free) << "round " << round;
    }
}

TEST_F(ComputerOpponent, SafeMapsAndThreats) {
    Board board;
    board.PlaceCard(MakeCard(10, "55555555"), 0, 0, BLUE);
    board.PlaceCard(MakeCard(11, "01000000"), 3, 2, RED);  // power 1 toward a free cell
    uint8_t safe1[kBoardCells];
    uint8_t safe2[kBoardCells];
    ComputeSafeMap1(board, safe1);
    ComputeSafeMap2(board, safe1, safe2);
    EXPECT_EQ(safe1[0], 1);
    EXPECT_EQ(safe2[0], 1);
    EXPECT_EQ(safe1[3 * 4 + 2], 0);
    EXPECT_EQ(safe1[1 * 4 + 1], 0);  // free cells are never safe
    // Map 2 counts power 0 toward a free cell as a weakness too.
    Board zero;
    zero.PlaceCard(MakeCard(12, "00000000"), 2, 2, RED);
    ComputeSafeMap1(zero, safe1);
    ComputeSafeMap2(zero, safe1, safe2);
    EXPECT_EQ(safe1[2 * 4 + 2], 1);
    EXPECT_EQ(safe2[2 * 4 + 2], 0);

    // A capture that would go on: B captured turns RED and can beat C.
    Board chain;
    chain.PlaceCard(MakeCard(13, "00300000"), 1, 1, BLUE);
    chain.PlaceCard(MakeCard(14, "00000010"), 2, 1, BLUE);
    EXPECT_EQ(CaptureChainDepth(chain, 1, 1), 1);
    EXPECT_EQ(CaptureChainDepth(board, 0, 0), 0);
    EXPECT_EQ(CountThreats(board, 3, 2), 1);
    // +30 for the 1 against the free cell's stale 0, +10 for each equal 0.
    EXPECT_EQ(CellStrength(board, 3, 2), 100);
}

}  // namespace
}  // namespace qv::test
