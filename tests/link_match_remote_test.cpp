// The match's side of two-machine play against a fake other machine: the
// start handshake in both roles, the waits refusing what no honest machine
// sends, a send that fails and goes again, the card that changes hands and
// a Perfect over the link. The font is not loaded: every question is answered
// with its right label ("Retry", "Ok").
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "match/match.h"
#include "tests/support/club_driver.h"
#include "tests/support/link_machine.h"

namespace qv::test {
namespace {

// The cells of the board that are not free, columns first.
std::vector<std::pair<int, int>> TakenCells(const Board& board) {
    std::vector<std::pair<int, int>> cells;
    for (int c = 0; c < kBoardColumns; ++c) {
        for (int r = 0; r < kBoardRows; ++r) {
            if (!board.CellAt(c, r).free) cells.emplace_back(c, r);
        }
    }
    return cells;
}

// A database card with powers up and to the right.
int16_t CardAttackingUpAndRight() {
    for (int16_t id = 1; id <= GetCardCount(); ++id) {
        const Card card = LoadCard(id);
        if (card.GetPower(0) > 0 && card.GetPower(2) > 0) return id;
    }
    return 0;
}

class LinkMatchRemote : public LinkRoomTest {
protected:
    void SetUp() override {
        LinkRoomTest::SetUp();
        MakeLocalPlayer(DeckFrom(1), "HOST");
        gOtherProfile.SetName(u"");
        gClubActive = 0;
    }
    void TearDown() override {
        gMatch.SetParticipantsForTest(nullptr, nullptr);
        gClubActive = 1;
        LinkRoomTest::TearDown();
    }

    // The match set up as the server with n blocked cells, the machine
    // answering as the client called "PEER".
    void SetUpAsServer(int blockedCells) {
        gOtherProfile.SetKind(kRemoteServer);
        const bool ok = WithMachine(
            [](FakeMachine& m) {
                for (Bytes b = m.Answer(); !b.empty(); b = m.Answer()) {
                    if (b[1] == 7 && b[2] == kFF) return m.Request(Message(5, kFF, kFF, kFF, kFF, -1, "PEER"));
                }
                return false;
            },
            [&] { ASSERT_TRUE(gMatch.SetUpInfraRedMatch(&gProfile, &gOtherProfile, blockedCells, room_)); });
        ASSERT_TRUE(ok);
    }

    // Frames until the state is no longer the given one (at most limit).
    void RunWhile(MatchState state, int limit = 400) {
        for (int i = 0; i < limit && gMatch.GetState() == state && !gClubActive; ++i) gMatch.Update();
    }
};

TEST_F(LinkMatchRemote, ServerSendsNameSideAndBlockedCellsColumnsFirstThenTakesTheClientsName) {
    gOtherProfile.SetKind(kRemoteServer);
    std::vector<Bytes> got;
    const bool ok = WithMachine(
        [&](FakeMachine& m) {
            for (Bytes b = m.Answer(); !b.empty(); b = m.Answer()) {
                got.push_back(b);
                if (b[1] == 7 && b[2] == kFF) return m.Request(Message(5, kFF, kFF, kFF, kFF, -1, "PEER"));
            }
            return false;
        },
        [&] { ASSERT_TRUE(gMatch.SetUpInfraRedMatch(&gProfile, &gOtherProfile, 3, room_)); });
    ASSERT_TRUE(ok);
    const std::vector<std::pair<int, int>> blocked = TakenCells(gMatch.GetBoard());
    ASSERT_EQ(blocked.size(), 3u);
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0], Message(5, kFF, kFF, kFF, kFF, -1, "HOST"));
    // The side is sent as the client numbers it; after the first turn
    // change both machines agree on who moves.
    EXPECT_EQ(got[1], Message(6, static_cast<uint8_t>(gMatch.GetSideToMove())));
    for (size_t i = 0; i < blocked.size(); ++i) {
        EXPECT_EQ(got[2 + i],
                  Message(7, static_cast<uint8_t>(blocked[i].first), static_cast<uint8_t>(blocked[i].second)));
    }
    EXPECT_EQ(got[5], Message(7));
    EXPECT_EQ(gOtherProfile.GetName(), u"PEER");
    EXPECT_EQ(gMatch.GetState(), kStateVersusIntro);
}

TEST_F(LinkMatchRemote, ClientRefusesCellsOffTheBoardTooManyCellsAndAStrangeSideThenTakesAGoodStart) {
    gOtherProfile.SetKind(kRemoteClient);
    const int failedBefore = NoteCount("Game Initialisation via Infra-Red failed !");
    const Bytes name = Message(5, kFF, kFF, kFF, kFF, -1, "FAR");
    const bool ok = WithMachine(
        [&](FakeMachine& m) {
            // A cell off the board.
            bool sent = m.Request(name) && m.Request(Message(6, 0)) && m.Request(Message(7, 6, 1));
            // Seven cells: more than any start blocks.
            sent = sent && m.Request(name) && m.Request(Message(6, 0));
            for (uint8_t i = 0; i < 7; ++i) sent = sent && m.Request(Message(7, i / 4, i % 4));
            // A side that is neither.
            sent = sent && m.Request(name) && m.Request(Message(6, 7));
            // A good start.
            sent = sent && m.Request(name) && m.Request(Message(6, 1)) && m.Request(Message(7, 2, 3)) &&
                   m.Request(Message(7, 4, 0)) && m.Request(Message(7));
            return sent && m.Answer() == Message(5, kFF, kFF, kFF, kFF, -1, "HOST");
        },
        [&] { ASSERT_TRUE(gMatch.SetUpInfraRedMatch(&gProfile, &gOtherProfile, 5, room_)); });
    ASSERT_TRUE(ok);
    EXPECT_EQ(NoteCount("Game Initialisation via Infra-Red failed !") - failedBefore, 3);
    EXPECT_EQ(TakenCells(gMatch.GetBoard()), (std::vector<std::pair<int, int>>{{2, 3}, {4, 0}}));
    EXPECT_EQ(gOtherProfile.GetName(), u"FAR");
    // Side 1 came; the first turn change gives the move to side 0.
    EXPECT_EQ(gMatch.GetSideToMove(), RED);
}

TEST_F(LinkMatchRemote, AWaitingMatchRefusesMovesNoBoardAllowsAndTakesAGoodOne) {
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(0));
    Board board;
    board.Reset(0);
    board.BlockCell(0, 0);
    board.PlaceCard(MakeCard(20, "11111111"), 1, 0, RED);
    gMatch.SetBoardForTest(board);
    gMatch.SetTurnForTest(BLUE, kStateWaitRemoteMove);
    const int unknownBefore = NoteCount("A move is expected when\\nAn unknow message is received.");
    const int multiBefore = NoteCount("A move is expected when\\nAn Multi-hit message is received.");
    const int giftBefore = NoteCount("A move is expected when\\nA Card gift message is received.");
    const int16_t tooHigh = static_cast<int16_t>(GetCardCount() + 1);
    const std::vector<Bytes> refused = {
        Message(0, 2, 2, kFF, kFF, 0),        // no card
        Message(0, 2, 2, kFF, kFF, tooHigh),  // beyond the set
        Message(0, 6, 0, kFF, kFF, 5),        // off the board
        Message(0, 0, 0, kFF, kFF, 5),        // a blocked cell
        Message(0, 1, 0, kFF, kFF, 5),        // a cell with a card
        Message(2, 1, 0, 2, 0),               // a multi-hit
        Message(4, kFF, kFF, kFF, kFF, 5),    // a card gift
    };
    const bool ok = WithMachine(
        [&](FakeMachine& m) {
            for (const Bytes& message : refused) {
                if (!m.Request(message)) return false;
            }
            return m.Request(Message(0, 2, 2, kFF, kFF, 5));
        },
        [&] {
            for (size_t i = 0; i < refused.size(); ++i) {
                gMatch.Update();
                ASSERT_EQ(gMatch.GetState(), kStateWaitRemoteMove) << i;
            }
            gMatch.Update();
        });
    ASSERT_TRUE(ok);
    EXPECT_EQ(NoteCount("A move is expected when\\nAn unknow message is received.") - unknownBefore, 5);
    EXPECT_EQ(NoteCount("A move is expected when\\nAn Multi-hit message is received.") - multiBefore, 1);
    EXPECT_EQ(NoteCount("A move is expected when\\nA Card gift message is received.") - giftBefore, 1);
    EXPECT_EQ(TakenCells(gMatch.GetBoard()).size(), 2u) << "nothing was laid by the refused moves";
    // The good move flies in and lands for the other side.
    ASSERT_EQ(gMatch.GetState(), kStateCardFlight);
    RunWhile(kStateCardFlight);
    RunWhile(kStateRemoteCardLands);
    const BoardCell& cell = gMatch.GetBoard().CellAt(2, 2);
    EXPECT_EQ(cell.card.GetId(), 5);
    EXPECT_EQ(cell.placedBy, BLUE);
}

TEST_F(LinkMatchRemote, ACardTakenFromThePileEndsTheOtherSidesTurnWithoutACard) {
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(2));
    gMatch.SetTurnForTest(BLUE, kStateWaitRemoteMove);
    const size_t taken = TakenCells(gMatch.GetBoard()).size();
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Request(Message(3)); }, [] { gMatch.Update(); }));
    EXPECT_EQ(gMatch.GetState(), kStateEndOfTurn);
    EXPECT_EQ(TakenCells(gMatch.GetBoard()).size(), taken);
    gMatch.Update();
    EXPECT_EQ(gMatch.GetSideToMove(), RED);
    EXPECT_EQ(gMatch.GetState(), kStateLocalActs);
}

TEST_F(LinkMatchRemote, AnAttackIsTakenOnlyFromTheCardJustLaidOntoAnEnemy) {
    const int16_t attacker = CardAttackingUpAndRight();
    ASSERT_NE(attacker, 0);
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(0));
    Board board;
    board.Reset(0);
    board.PlaceCard(MakeCard(30, "00000000"), 2, 1, RED);  // above (2, 2)
    board.PlaceCard(MakeCard(31, "00000000"), 3, 2, RED);  // right of it
    gMatch.SetBoardForTest(board);
    gMatch.SetTurnForTest(BLUE, kStateWaitRemoteMove);
    const int multiBefore = NoteCount("An attack is expected when\\nAn Multi-hit message is received.");
    const int unknownBefore = NoteCount("An attack is expected when\\nAn unknow message is received.");
    const bool ok = WithMachine(
        [&](FakeMachine& m) {
            return m.Request(Message(0, 2, 2, kFF, kFF, attacker)) && m.Request(Message(2, 2, 2, 3, 2)) &&
                   m.Request(Message(1, 1, 1, 2, 1)) &&  // not the card just laid
                   m.Request(Message(1, 2, 2, 1, 1)) &&  // an empty cell
                   m.Request(Message(1, 2, 2, 3, 2));
        },
        [&] {
            gMatch.Update();
            RunWhile(kStateCardFlight);
            RunWhile(kStateRemoteCardLands);
            ASSERT_EQ(gMatch.GetState(), kStateWaitRemoteAttack);
            for (int i = 0; i < 3; ++i) {
                gMatch.Update();
                ASSERT_EQ(gMatch.GetState(), kStateWaitRemoteAttack);
            }
            gMatch.Update();
        });
    ASSERT_TRUE(ok);
    EXPECT_EQ(NoteCount("An attack is expected when\\nAn Multi-hit message is received.") - multiBefore, 1);
    EXPECT_EQ(NoteCount("An attack is expected when\\nAn unknow message is received.") - unknownBefore, 2);
    EXPECT_EQ(gMatch.GetState(), kStateAttackAnimation);
}

TEST_F(LinkMatchRemote, TheClientWaitsForTheServersCardOfTheLoserBeforeTheMatchGoesOn) {
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(0));
    gOtherProfile.SetKind(kRemoteClient);
    Board board;
    board.Reset(0);
    board.PlaceCard(MakeCard(201, "0"), 0, 0, BLUE);
    board.PlaceCard(MakeCard(202, "0"), 0, 1, BLUE);
    board.PlaceCard(MakeCard(17, "0"), 0, 2, RED);
    gMatch.SetBoardForTest(board);
    gMatchResult = 0;  // we won: BLUE gives a card it laid
    gMatch.SetTurnForTest(RED, kStateCardWon);
    const int syncBefore = NoteCount("Error of Synchronization:\\n | Cancel Game | Retry");
    const bool ok = WithMachine(
        [](FakeMachine& m) {
            return m.Request(Message(0, 1, 1, kFF, kFF, 201)) &&     // not a card
                   m.Request(Message(4, kFF, kFF, kFF, kFF, 17)) &&  // one the winner laid
                   m.Request(Message(4, kFF, kFF, kFF, kFF, 202));
        },
        [&] {
            for (int i = 0; i < 2; ++i) {
                gMatch.Update();
                ASSERT_EQ(gMatch.GetState(), kStateCardWon) << "the match waits on for the card";
            }
            gMatch.Update();
        });
    ASSERT_TRUE(ok);
    EXPECT_EQ(NoteCount("Error of Synchronization:\\n | Cancel Game | Retry") - syncBefore, 2);
    EXPECT_EQ(gMatch.GetState(), kStateShowExchangedCard);
    EXPECT_EQ(gMatch.GetExchangeId(0), 202);
}

TEST_F(LinkMatchRemote, ADroppedCardIsSentAgainAfterAFailedExchangeBeforeItIsLaid) {
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(0));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    const int16_t id = gMatch.GetHand(RED).CardAt(0).GetId();
    const int failedBefore = NoteCount("The connection is interrupted !While sending message Card move.");
    Bytes first, second;
    const bool ok = WithMachine(
        [&](FakeMachine& m) {
            first = m.AnswerWrongly();
            second = m.Answer();
            return !first.empty() && !second.empty();
        },
        [] { DropOnCell(0, 3, 1); });
    ASSERT_TRUE(ok);
    EXPECT_EQ(first, Message(0, 3, 1, kFF, kFF, id));
    EXPECT_EQ(second, first);
    EXPECT_EQ(NoteCount("The connection is interrupted !While sending message Card move.") - failedBefore, 1);
    EXPECT_EQ(gMatch.GetBoard().CellAt(3, 1).card.GetId(), id);
    EXPECT_EQ(gMatch.GetBoard().CellAt(3, 1).placedBy, RED);
}

TEST_F(LinkMatchRemote, APerfectOverTheLinkTakesFromTheLoserOnlyTheCardsItLaidAndSaves) {
    // The loser's hand and pile never reach the winner's machine: the loser
    // gives exactly the cards on the board that the winner gains.
    SavePlayer();
    PlayerProfile remote;
    remote.SetName(u"FAR AWAY");
    remote.SetKind(kRemoteServer);
    gMatch.SetParticipantsForTest(&gProfile, &remote);
    Board board;
    board.Reset(0);
    int cell = 0;
    for (int16_t id = 1; id <= 5; ++id, ++cell) {
        board.PlaceCard(MakeCard(id, "0"), cell / 4, cell % 4, RED);
        board.FlipOwner(cell / 4, cell % 4);
    }
    for (; cell < kBoardCells; ++cell) board.PlaceCard(MakeCard(250, "0"), cell / 4, cell % 4, BLUE);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(6, "0"), MakeCard(7, "0")}));
    DrawPile pile;
    pile.Push(MakeCard(8, "0"));
    gMatch.SetPileForTest(RED, pile);
    gMatchResult = 1;
    gMatch.SetTurnForTest(RED, kStatePerfect);
    gMatch.Update();
    for (int16_t id = 1; id <= 16; ++id) EXPECT_EQ(gProfile.GetCardCount(id), id <= 5 ? 0 : 1) << id;
    gProfile = PlayerProfile();
    ASSERT_TRUE(LoadPlayerSave(1));
    EXPECT_EQ(gProfile.GetTotalCards(), 11) << "saved at once";
}

// A board that the local player (RED) wins, whose loser laid the given ids.
Board WonBoard(const std::vector<int16_t>& loserLaid) {
    Board board;
    board.Reset(0);
    int cell = 0;
    for (int16_t id : loserLaid) {
        board.PlaceCard(MakeCard(id, "0"), cell / 4, cell % 4, BLUE);
        ++cell;
    }
    for (; cell < kBoardCells; ++cell) board.PlaceCard(MakeCard(17, "0"), cell / 4, cell % 4, RED);
    return board;
}

// The cards that rounds ends of a full board pick, the other machine being
// the given kind.
std::vector<int16_t> PickedOver(PlayerKind otherKind, const std::vector<int16_t>& loserLaid, int rounds) {
    PlayerProfile other;
    other.SetName(u"FAR AWAY");
    other.SetKind(otherKind);
    gMatch.SetParticipantsForTest(&gProfile, &other);
    std::vector<int16_t> picked;
    for (int i = 0; i < rounds; ++i) {
        gMatch.SetBoardForTest(WonBoard(loserLaid));
        gMatch.SetTurnForTest(RED, kStateEndOfTurn);
        gMatch.Update();
        for (int k = 0; k < gMatch.GetExchangeCount(); ++k) picked.push_back(gMatch.GetExchangeId(k));
    }
    gMatch.SetParticipantsForTest(nullptr, nullptr);
    return picked;
}

TEST_F(LinkMatchRemote, AWinningServerPicksNoCardItsCollectionCannotTakeWhileAnotherWasLaid) {
    // The server's pick is the card both collections change by: one that the
    // winner holds 63 of would leave the loser without it and nobody with it.
    for (int i = 0; i < kMaxCopies; ++i) gProfile.AddCard(30);
    ASSERT_EQ(gProfile.GetCardCount(30), kMaxCopies);
    const std::vector<int16_t> laid = {30, 31, 30, 30};
    for (int16_t id : PickedOver(kRemoteServer, laid, 40)) EXPECT_EQ(id, 31);
    EXPECT_EQ(PickedOver(kRemoteServer, laid, 40).size(), 40u);
    // With nothing else laid that card is still the one that changes hands,
    // so both machines agree that one card does.
    for (int16_t id : PickedOver(kRemoteServer, {30, 30}, 10)) EXPECT_EQ(id, 30);
    EXPECT_EQ(PickedOver(kRemoteServer, {30, 30}, 10).size(), 10u);
    // The client's own pick, and a match against the computer, draw as before.
    const std::vector<int16_t> client = PickedOver(kRemoteClient, laid, 40);
    EXPECT_NE(std::count(client.begin(), client.end(), 30), 0);
    const std::vector<int16_t> computer = PickedOver(kComputerPlayer, laid, 40);
    EXPECT_NE(std::count(computer.begin(), computer.end(), 30), 0);
}

TEST_F(LinkMatchRemote, LeavingAfterTheResultHandsOverOnlyWhatBothMachinesAgreeOn) {
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(0));
    SavePlayer();
    gMatch.SetBoardForTest(WonBoard({201}));
    gMatch.SetTurnForTest(RED, kStateEndOfTurn);
    gMatch.Update();
    ASSERT_EQ(gMatch.GetState(), kStateResult);
    gMatch.Update();
    ASSERT_EQ(gMatch.GetState(), kStateCardWon);
    // Before the server's pick has travelled the other machine knows no card:
    // leaving hands nothing over, and the other machine gives nothing either.
    ASSERT_TRUE(WriteQuickSave());
    EXPECT_EQ(gProfile.GetCardCount(201), 0);
    EXPECT_EQ(gMatch.GetState(), kStateCardWon);
    Bytes gift;
    ASSERT_TRUE(WithMachine(
        [&](FakeMachine& m) {
            gift = m.Answer();
            return !gift.empty();
        },
        [] { gMatch.Update(); }));
    EXPECT_EQ(gift, Message(4, kFF, kFF, kFF, kFF, 201));
    ASSERT_EQ(gMatch.GetState(), kStateShowExchangedCard);
    // Once it has, the other machine hands it over in its next frames: so
    // does leaving here, and the file has it.
    ASSERT_TRUE(WriteQuickSave());
    EXPECT_EQ(gProfile.GetCardCount(201), 1);
    gProfile = PlayerProfile();
    ASSERT_TRUE(LoadPlayerSave(1));
    EXPECT_EQ(gProfile.GetCardCount(201), 1);
    // A Perfect needs no message: the board decides it on both machines.
    gClubActive = 0;
    Board perfect = WonBoard({202});
    perfect.FlipOwner(0, 0);
    gMatch.SetBoardForTest(perfect);
    gMatchResult = 0;
    gMatch.SetTurnForTest(RED, kStatePerfect);
    const int16_t perfectsBefore = gPerfectsRealised;
    ASSERT_TRUE(WriteQuickSave());
    EXPECT_EQ(gPerfectsRealised, perfectsBefore + 1);
    EXPECT_EQ(gProfile.GetCardCount(202), 1);
    // The room comes back at the next start, not the match.
    EXPECT_TRUE(LoadQuickSave());
    EXPECT_EQ(gClubActive, 1);
}

TEST_F(LinkMatchRemote, AQuickSaveDuringAMatchOverTheLinkKeepsNoMatch) {
    // Without the other machine the match could not go on: the club comes
    // back (and with it the room, not connected), never a match against nobody.
    ASSERT_NO_FATAL_FAILURE(SetUpAsServer(2));
    ASSERT_EQ(gClubActive, 0);
    gClub.Reset();
    WriteQuickSave();
    const Bytes bytes = ReadBytes(SavePath("QuickSave.QCP"));
    // The slot, the club's block with no screen, then "the club runs": nothing after it.
    ASSERT_EQ(bytes.size(), 1u + kClubStateHeaderSize + 10u + 1u);
    EXPECT_EQ(bytes.back(), 1);
}

}  // namespace
}  // namespace qv::test
