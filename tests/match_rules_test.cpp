// Battles, captures and chains played through the match on hand-built boards.
#include <gtest/gtest.h>

#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

class MatchRules : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        gClubActive = 0;
        SeedRandom(7);
        red_.SetName(u"RED PLAYER");
        red_.SetKind(kLocalPlayer);
        blue_.SetName(u"BLUE COMPUTER");
        blue_.SetKind(kComputerPlayer);
        blue_.SetStrength(20);
        gMatch.SetParticipantsForTest(&red_, &blue_);
        gMatch.SetPileForTest(RED, DrawPile());
        gMatch.SetPileForTest(BLUE, DrawPile());
        gMatch.SetHandForTest(BLUE, HandOf({MakeCard(300, "00000000")}));
    }

    // RED (local) lays hand slot 0 on the cell and the frames run until the
    // turn has gone to BLUE (the computer's turn is not played).
    bool PlayRedCard(const Card& card, int column, int row, const Board& board) {
        gMatch.SetBoardForTest(board);
        gMatch.SetHandForTest(RED, HandOf({card}));
        gMatch.SetTurnForTest(RED, kStateLocalActs);
        DropOnCell(0, column, row);
        return RunUntilBlueMoves();
    }

    bool RunUntilBlueMoves(int maxFrames = 2000) {
        for (int i = 0; i < maxFrames; ++i) {
            if (gMatch.GetState() == kStateComputerTurn) return true;
            gMatch.Update();
            PlayLocalTurn();
        }
        return false;
    }

    Side Owner(int x, int y) const { return gMatch.GetBoard().GetOwner(x, y); }

    PlayerProfile red_;
    PlayerProfile blue_;
};

// The power string with p in direction d only.
std::string PowerIn(int d, int p) {
    std::string s = "00000000";
    s[d] = static_cast<char>('0' + p);
    return s;
}

TEST_F(MatchRules, BattleInEveryDirectionWinsLosesOrDraws) {
    for (int d = 0; d < 8; ++d) {
        int tx = 2 + kDirectionDx[d];
        int ty = 1 + kDirectionDy[d];
        int back = kOppositeDirection[d];
        struct Case { int defence; Side attackerAfter; Side targetAfter; };
        for (Case c : {Case{1, RED, RED}, Case{3, BLUE, BLUE}, Case{2, RED, BLUE}}) {
            SCOPED_TRACE("direction " + std::to_string(d) + " defence " + std::to_string(c.defence));
            Board board;
            board.PlaceCard(MakeCard(20, PowerIn(back, c.defence).c_str()), tx, ty, BLUE);
            ASSERT_TRUE(PlayRedCard(MakeCard(10, PowerIn(d, 2).c_str()), 2, 1, board));
            EXPECT_EQ(Owner(2, 1), c.attackerAfter);
            EXPECT_EQ(Owner(tx, ty), c.targetAfter);
            EXPECT_EQ(gMatch.GetBoard().CellAt(2, 1).placedBy, RED);
        }
    }
}

TEST_F(MatchRules, CardWithoutTargetEndsTheTurnAtOnce) {
    Board board;
    // An enemy beside it, but no power toward it; an own card it points at.
    board.PlaceCard(MakeCard(20, "00000000"), 1, 1, BLUE);
    board.PlaceCard(MakeCard(21, "00000000"), 3, 1, RED);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(10, "00500000")}));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 2, 1);
    // The placement and the change of mover happen inside the drop itself.
    EXPECT_EQ(gMatch.GetState(), kStateComputerTurn);
    EXPECT_EQ(gMatch.GetSideToMove(), BLUE);
    EXPECT_EQ(Owner(1, 1), BLUE);
    EXPECT_FALSE(gMatch.GetHand(RED).IsSlotFilled(0));
}

TEST_F(MatchRules, DropOnOccupiedOrBlockedCellPutsTheCardBack) {
    Board board;
    board.PlaceCard(MakeCard(20, "00000000"), 1, 1, BLUE);
    board.BlockCell(4, 2);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(10, "22222222")}));
    for (auto [c, r] : {std::pair{1, 1}, std::pair{4, 2}}) {
        gMatch.SetTurnForTest(RED, kStateLocalActs);
        DropOnCell(0, c, r);
        EXPECT_EQ(gMatch.GetState(), kStateLocalActs);
        EXPECT_TRUE(gMatch.GetHand(RED).IsSlotFilled(0));
        EXPECT_EQ(gMatch.GetSelectedSlot(), 0);
    }
    EXPECT_EQ(gMatch.GetBoard().CellAt(4, 2).owner, kNoSide);
    EXPECT_EQ(gMatch.GetBoard().CellAt(1, 1).card.GetId(), 20);
}

TEST_F(MatchRules, WonBattleChainsOnlyWithMutualPowers) {
    // A (RED, laid at (1,1)) beats B; B can attack C. With a power back
    // toward A the captured B chains on and takes C, without it C stays.
    for (bool mutual : {true, false}) {
        SCOPED_TRACE(mutual ? "mutual" : "not mutual");
        Board board;
        board.PlaceCard(MakeCard(21, mutual ? "00200010" : "00200000"), 2, 1, BLUE);
        board.PlaceCard(MakeCard(22, "00000010"), 3, 1, BLUE);
        ASSERT_TRUE(PlayRedCard(MakeCard(10, "00300000"), 1, 1, board));
        EXPECT_EQ(Owner(2, 1), RED);
        EXPECT_EQ(Owner(3, 1), mutual ? RED : BLUE);
    }
}

TEST_F(MatchRules, LostBattleGivesTheDefenderACounterChain) {
    // A laid by RED loses against B; now BLUE's, A attacks RED's D.
    Board board;
    board.PlaceCard(MakeCard(21, "00300000"), 1, 1, BLUE);
    board.PlaceCard(MakeCard(22, "00000000"), 3, 1, RED);
    ASSERT_TRUE(PlayRedCard(MakeCard(10, "00100010"), 2, 1, board));
    EXPECT_EQ(Owner(2, 1), BLUE);
    EXPECT_EQ(Owner(3, 1), BLUE);
    EXPECT_EQ(Owner(1, 1), BLUE);
}

TEST_F(MatchRules, ChainThatWouldRepeatABattleEndsTheTurn) {
    // A weak card between two strong ones of either side: it loses to B,
    // turns BLUE, loses to C, turns RED and would attack B again for ever.
    Board board;
    board.PlaceCard(MakeCard(21, "00300000"), 1, 1, BLUE);
    board.PlaceCard(MakeCard(22, "00000030"), 3, 1, RED);
    ASSERT_TRUE(PlayRedCard(MakeCard(10, "00100010"), 2, 1, board));
    EXPECT_EQ(Owner(2, 1), RED);
    EXPECT_EQ(Owner(1, 1), BLUE);
    EXPECT_EQ(Owner(3, 1), RED);
    EXPECT_EQ(gMatch.GetSideToMove(), BLUE);
}

TEST_F(MatchRules, SeveralTargetsWaitForTheLocalChoice) {
    Board board;
    board.PlaceCard(MakeCard(21, "00000000"), 1, 1, BLUE);
    board.PlaceCard(MakeCard(22, "00000000"), 3, 1, BLUE);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(10, "00200020")}));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 2, 1);
    ASSERT_EQ(gMatch.GetState(), kStateLocalChoosesTarget);
    EXPECT_EQ(gMatch.GetMessageLine().textA, u"Choose a card to attack");
    TapCell(2, 2);  // not a target: ignored
    TapCell(0, 0);
    EXPECT_EQ(gMatch.GetState(), kStateLocalChoosesTarget);
    TapCell(3, 1);
    EXPECT_EQ(gMatch.GetState(), kStateAttackAnimation);
    ASSERT_TRUE(RunUntilBlueMoves());
    EXPECT_EQ(Owner(3, 1), RED);
    EXPECT_EQ(Owner(1, 1), BLUE);
}

TEST_F(MatchRules, PileTapTakesTheTopCardOncePerTurn) {
    Board board;
    gMatch.SetBoardForTest(board);
    DrawPile pile;
    pile.Push(MakeCard(31, "11111111"));
    pile.Push(MakeCard(32, "22222222"));
    gMatch.SetPileForTest(RED, pile);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(10, "00000000")}));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    TapDown(20, 280);
    EXPECT_EQ(gMatch.GetState(), kStatePileDraw);
    ASSERT_TRUE(gMatch.GetHand(RED).IsSlotFilled(1));
    EXPECT_EQ(gMatch.GetHand(RED).CardAt(1).GetId(), 32);
    EXPECT_EQ(gMatch.GetPile(RED).GetCount(), 1);
    ASSERT_TRUE(RunUntilBlueMoves());

    // A full hand and an empty pile only consume the tap.
    gMatch.SetHandForTest(RED, HandOf({MakeCard(1, "0"), MakeCard(2, "0"), MakeCard(3, "0"),
                                       MakeCard(4, "0"), MakeCard(5, "0")}));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    TapDown(20, 280);
    EXPECT_EQ(gMatch.GetState(), kStateLocalActs);
    EXPECT_EQ(gMatch.GetPile(RED).GetCount(), 1);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(1, "0")}));
    gMatch.SetPileForTest(RED, DrawPile());
    TapDown(20, 280);
    EXPECT_EQ(gMatch.GetState(), kStateLocalActs);
    EXPECT_EQ(gMatch.GetHand(RED).CountCards(), 1);
}

TEST_F(MatchRules, TurnChangeShowsTheScoreAndResetsTheTurn) {
    Board board;
    board.PlaceCard(MakeCard(21, "00000000"), 0, 0, BLUE);
    board.PlaceCard(MakeCard(22, "00000000"), 5, 3, RED);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(10, "00000000")}));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 2, 2);
    EXPECT_EQ(gMatch.GetMessageLine().textA, u"RED : 2  BLUE : 1");
    EXPECT_EQ(gMatch.GetMessageLine().mode, 2);
    EXPECT_EQ(gMatch.GetSelectedSlot(), kNoSlot);
}

TEST_F(MatchRules, ComputerTurnLaysACardOrTakesOne) {
    Board board;
    board.PlaceCard(MakeCard(21, "00000000"), 2, 1, RED);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(10, "00000000")}));
    gMatch.SetHandForTest(BLUE, HandOf({MakeCard(40, "00000000"), MakeCard(41, "00000040"),
                                        MakeCard(42, "00000000"), MakeCard(43, "00000000"),
                                        MakeCard(44, "00000000")}));
    gMatch.SetTurnForTest(BLUE, kStateComputerTurn);
    for (int i = 0; i < 2000 && !(gMatch.GetState() == kStateLocalActs); ++i) gMatch.Update();
    ASSERT_EQ(gMatch.GetState(), kStateLocalActs);
    // A full hand never takes: the card with the left power took RED's card.
    EXPECT_EQ(Owner(2, 1), BLUE);
    EXPECT_EQ(gMatch.GetBoard().CellAt(3, 1).card.GetId(), 41);

    // An empty hand always takes the pile's top card.
    DrawPile pile;
    pile.Push(MakeCard(50, "11111111"));
    gMatch.SetPileForTest(BLUE, pile);
    gMatch.SetHandForTest(BLUE, CardHand());
    gMatch.SetTurnForTest(BLUE, kStateComputerTurn);
    gMatch.Update();
    EXPECT_EQ(gMatch.GetHand(BLUE).CountCards(), 1);
    EXPECT_EQ(gMatch.GetMessageLine().textA, u"BLUE COMPUTER have taken a card.");
    gMatch.Update();
    EXPECT_EQ(gMatch.GetState(), kStateLocalActs);
}

}  // namespace
}  // namespace qv::test
