// The match's quick-save block: its byte layout, the round trip and resuming from unsafe states.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "cards/launchers.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

class MatchSave : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        SeedRandom(21);
        MakeLocalPlayer(DeckFrom(1));
        path_ = SavePath("block.bin");
    }

    Bytes Write() {
        platform::FileHandle file =
            platform::CreateFile(HandheldPath(path_), platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
        gMatch.WriteState(file);
        platform::CloseHandle(file);
        return ReadBytes(path_);
    }

    bool Read() {
        platform::FileHandle file =
            platform::CreateFile(HandheldPath(path_), platform::GENERIC_READ, platform::OPEN_EXISTING);
        bool restored = gMatch.ReadState(file);
        platform::CloseHandle(file);
        return restored;
    }

    // Plays the opening and a few turns, stopping in the first frame that
    // satisfies stop.
    void PlayUntil(const std::function<bool()>& stop) {
        StartOpponentMatch(2, 1);
        ASSERT_TRUE(RunMatch(stop)) << "state never reached";
        ASSERT_EQ(gClubActive, 0);
    }

    std::filesystem::path path_;
};

int16_t I16(const Bytes& b, size_t at) { return static_cast<int16_t>(b[at] | (b[at + 1] << 8)); }

// The scrambled text at `at`: count, then low bytes XOR 0xA7.
std::string Text(const Bytes& b, size_t at) {
    std::string s;
    int n = I16(b, at);
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(b[at + 2 + i] ^ 0xA7));
    return s;
}

TEST_F(MatchSave, BlockHasTheFieldsAtTheirOffsets) {
    PlayUntil([] {
        return gMatch.GetState() == kStateLocalActs && gMatch.GetBoard().CountFree() < 16;
    });
    const Board& board = gMatch.GetBoard();
    Bytes b = Write();
    EXPECT_EQ(b[0], gMatch.GetSideToMove());
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y) {
            size_t at = 3 + (x * 4 + y) * 5;
            const BoardCell& cell = board.CellAt(x, y);
            EXPECT_EQ(b[at], cell.free);
            EXPECT_EQ(b[at + 1], static_cast<uint8_t>(cell.owner));  // owner before placed-by
            EXPECT_EQ(b[at + 2], static_cast<uint8_t>(cell.placedBy));
            EXPECT_EQ(I16(b, at + 3), cell.card.GetId());
        }
    }
    EXPECT_EQ(I16(b, 123 + 1), gMatch.GetHand(RED).CardAt(0).GetId());
    EXPECT_EQ(b[153], gMatch.GetPile(RED).GetCount());
    EXPECT_EQ(b[201], 255);  // the selection is never stored
    EXPECT_EQ(b[212], kStateLocalActs);
    std::string a = Text(b, 215);
    EXPECT_EQ(a, Narrow(gMatch.GetMessageLine().textA));
    size_t v = 215 + 2 + a.size();
    v += 2 + I16(b, v);
    v += 2 + I16(b, v);
    EXPECT_EQ(I16(b, v + 1), 2);  // the reserved word
    EXPECT_EQ(b[v + 89], 0);      // not the boss
    std::string red = Text(b, v + 106);
    EXPECT_EQ(red, "TESTER");
    std::string blue = Text(b, v + 108 + red.size());
    EXPECT_EQ(blue, Narrow(gOpponents[2 * 3 + 1].GetName()));
    EXPECT_EQ(b.size(), v + 110 + red.size() + blue.size());
}

TEST_F(MatchSave, RoundTripRestoresBoardHandsAndState) {
    PlayUntil([] {
        return gMatch.GetState() == kStateLocalActs && gMatch.GetBoard().CountFree() < 14;
    });
    Board board = gMatch.GetBoard();
    CardHand hands[2] = {gMatch.GetHand(RED), gMatch.GetHand(BLUE)};
    DrawPile piles[2] = {gMatch.GetPile(RED), gMatch.GetPile(BLUE)};
    Side side = gMatch.GetSideToMove();
    WString message = gMatch.GetMessageLine().textA;
    Write();

    // Something else entirely in between: a fresh match against another opponent.
    StartOpponentMatch(7, 2);
    gClubActive = 0;
    Read();
    EXPECT_EQ(gClubActive, 0);
    EXPECT_EQ(gMatch.GetState(), kStateLocalActs);
    EXPECT_EQ(gMatch.GetSideToMove(), side);
    EXPECT_EQ(gMatch.GetParticipant(RED), &gProfile);
    EXPECT_EQ(gMatch.GetParticipant(BLUE), &gOpponents[2 * 3 + 1]);
    EXPECT_EQ(gMatch.GetMessageLine().textA, message);
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y) {
            const BoardCell& a = board.CellAt(x, y);
            const BoardCell& b = gMatch.GetBoard().CellAt(x, y);
            EXPECT_EQ(a.free, b.free);
            EXPECT_EQ(a.owner, b.owner);
            EXPECT_EQ(a.placedBy, b.placedBy);
            EXPECT_EQ(a.card.GetId(), b.card.GetId());
            EXPECT_EQ(a.card.GetPowers(), b.card.GetPowers()) << "rebuilt from the database";
        }
    }
    for (Side s : {RED, BLUE}) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(hands[s].IsSlotFilled(i), gMatch.GetHand(s).IsSlotFilled(i));
            EXPECT_EQ(hands[s].CardAt(i).GetId(), gMatch.GetHand(s).CardAt(i).GetId());
        }
        ASSERT_EQ(piles[s].GetCount(), gMatch.GetPile(s).GetCount());
        for (int i = 0; i < piles[s].GetCount(); ++i) {
            EXPECT_EQ(piles[s].CardAt(i).GetId(), gMatch.GetPile(s).CardAt(i).GetId());
        }
    }
    // And the restored match plays on to its end.
    ASSERT_TRUE(RunMatch([] { return false; }, 40000));
    EXPECT_TRUE(gMatch.GetBoard().IsFull());
}

TEST_F(MatchSave, ComputerFlightResumesByLayingTheFlyingCard) {
    PlayUntil([] { return gMatch.GetState() == kStateCardFlight; });
    Side computer = gMatch.GetSideToMove();
    int8_t column = gMatch.GetAttackerColumn();
    int8_t row = gMatch.GetAttackerRow();
    int16_t id = gMatch.GetHand(computer).CardAt(gMatch.GetSelectedSlot()).GetId();
    Write();
    Read();
    // The slot was not stored: it is found again by the flying card.
    ASSERT_EQ(gMatch.GetState(), kStateComputerCardLands);
    ASSERT_LT(gMatch.GetSelectedSlot(), 5);
    EXPECT_EQ(gMatch.GetHand(computer).CardAt(gMatch.GetSelectedSlot()).GetId(), id);
    gMatch.Update();
    EXPECT_EQ(gMatch.GetBoard().CellAt(column, row).card.GetId(), id);
    EXPECT_EQ(gMatch.GetBoard().CellAt(column, row).placedBy, computer);
}

TEST_F(MatchSave, UnsafeStatesResumeFromTheNearestSafeOne) {
    struct Case { MatchState saved; MatchState resumed; };
    for (Case c : {Case{kStateDragging, kStateLocalActs}, Case{kStateCardZoom, kStateLocalActs},
                   Case{kStateCardWon, kStateMatchEnds}, Case{kStateShowExchangedCard, kStateMatchEnds},
                   Case{static_cast<MatchState>(50), kStateLocalActs}}) {
        SCOPED_TRACE("state " + std::to_string(c.saved));
        PlayUntil([] { return gMatch.GetState() == kStateLocalActs; });
        gMatch.SetTurnForTest(gMatch.GetSideToMove(), c.saved);
        Write();
        Read();
        EXPECT_EQ(gMatch.GetState(), c.resumed);
        EXPECT_EQ(gMatch.GetSelectedSlot(), kNoSlot);
    }
    // A pause from another run of the program lasts at most 300 ms.
    PlayUntil([] { return gMatch.GetState() == kStatePause; });
    Write();
    Read();
    uint32_t now = platform::GetTickCount();
    EXPECT_LE(static_cast<int32_t>(gMatch.GetPauseDeadline() - now), 300);
}

// A full board but (5,3) with redCells - 1 cards of RED's (ids from 1) and
// blueCells of BLUE's (ids from 200), the rest blocked; RED lays id 16 last.
void PlayLastCard(int redCells, int blueCells) {
    StartOpponentMatch(0, 0);
    Board board;
    int cell = 0;
    for (int i = 0; i < redCells - 1; ++i, ++cell) {
        board.PlaceCard(MakeCard(static_cast<int16_t>(1 + i), "00000000"), cell / 4, cell % 4, RED);
    }
    for (int i = 0; i < blueCells; ++i, ++cell) {
        board.PlaceCard(MakeCard(static_cast<int16_t>(200 + i), "00000000"), cell / 4, cell % 4, BLUE);
    }
    for (; cell < 23; ++cell) board.BlockCell(cell / 4, cell % 4);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(16, "00000000")}));
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 5, 3);
}

TEST_F(MatchSave, ResultStateResumesWithItsExchangeRecounted) {
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    PlayLastCard(15, 7);
    ASSERT_EQ(gMatch.GetState(), kStateResult);
    ASSERT_EQ(gMatch.GetExchangeCount(), 2);
    Write();
    // A tie in between leaves the object with nothing to exchange, as a
    // fresh start would.
    PlayLastCard(11, 11);
    ASSERT_TRUE(RunMatch([] { return false; }));
    ASSERT_EQ(gMatch.GetExchangeCount(), 0);
    gClubActive = 0;
    Read();
    ASSERT_EQ(gMatch.GetState(), kStateResult);
    EXPECT_EQ(gMatch.GetExchangeCount(), 2);
    ASSERT_TRUE(RunMatch([] { return false; }));
    ASSERT_TRUE(LoadPlayerSave(1));
    int gained = 0;
    for (int16_t id = 200; id < 207; ++id) gained += gProfile.GetCardCount(id);
    EXPECT_EQ(gained, 2);
}

// The copies of each card the character file holds once the match of red
// against blue cells (PlayLastCard) has ended and the game is left: played
// through, or left after
// that many frames of its end as the prompts leave (a quick save, then the
// character saved) and resumed at the next start.
std::vector<int> CardsAfterTheEnd(int redCells, int blueCells, int leftAfterFrames = -1) {
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    SeedRandom(5);
    PlayLastCard(redCells, blueCells);
    for (int i = 0; i < leftAfterFrames && !gClubActive; ++i) gMatch.Update();
    if (leftAfterFrames >= 0 && !gClubActive) {
        EXPECT_TRUE(WriteQuickSave());
        SavePlayer();
        gProfile.Reset();
        EXPECT_TRUE(LoadQuickSave());
    }
    EXPECT_TRUE(RunMatch([] { return false; }));
    SavePlayer();  // as leaving the game at last does
    std::vector<int> counts;
    if (!LoadPlayerSave(1)) return counts;
    for (int16_t id = 1; id <= GetCardCount(); ++id) counts.push_back(gProfile.GetCardCount(id));
    return counts;
}

TEST_F(MatchSave, LeavingAtAnyFrameOfTheExchangeHandsOverWhatPlayingThroughDoes) {
    struct Case {
        int red, blue, change;
        const char* what;
    };
    for (Case c :
         {Case{15, 7, 2, "two cards won"}, Case{7, 15, -1, "the last copy lost"}, Case{23, 0, 16, "a Perfect won"}}) {
        const std::vector<int> playedThrough = CardsAfterTheEnd(c.red, c.blue);
        int total = 0;
        for (int copies : playedThrough) total += copies;
        ASSERT_EQ(total, 16 + c.change) << c.what;
        // Frame by frame: the result, each card's turn, announcement and
        // note (or the Perfect), up to the end.
        for (int frames = 0; frames <= 7; ++frames) {
            EXPECT_EQ(CardsAfterTheEnd(c.red, c.blue, frames), playedThrough) << c.what << ", left after " << frames;
        }
    }
}

TEST_F(MatchSave, PlayerNamedLikeAnOpponentStillBindsBothSides) {
    PlayUntil([] { return gMatch.GetState() == kStateLocalActs; });
    gProfile.SetName(gOpponents[2 * 3 + 1].GetName());
    Write();
    Read();
    EXPECT_EQ(gMatch.GetParticipant(RED), &gProfile);
    EXPECT_EQ(gMatch.GetParticipant(BLUE), &gOpponents[2 * 3 + 1]);
}

TEST_F(MatchSave, UnknownOpponentIsNotResumedAndCountsNothing) {
    SavePlayer();
    PlayUntil([] { return gMatch.GetState() == kStateLocalActs; });
    WString saved = gOpponents[2 * 3 + 1].GetName();
    gOpponents[2 * 3 + 1].SetName(u"NOBODY ANY MORE");
    Write();
    ASSERT_TRUE(WriteQuickSave());
    gOpponents[2 * 3 + 1].SetName(saved);

    // The block alone is refused and leaves the match as it stands.
    const Board before = gMatch.GetBoard();
    gMatch.SetTurnForTest(gMatch.GetSideToMove(), kStateComputerTurn);
    EXPECT_FALSE(Read());
    EXPECT_EQ(gMatch.GetState(), kStateComputerTurn);
    EXPECT_EQ(gMatch.GetBoard().CountFree(), before.CountFree());

    // Start-up gives the match up, counting nothing, and the club takes over.
    gMatchResult = 0;
    gClubActive = 1;
    EXPECT_TRUE(LoadQuickSave());
    EXPECT_EQ(gClubActive, 1);
    EXPECT_EQ(gMatchResult, kNoMatchResult);
}

}  // namespace
}  // namespace qv::test
