// Whole matches played headless to their end, and the result and exchanged cards in the character file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "cards/launchers.h"
#include "cards/statistics.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

using Counts = std::map<int16_t, int>;

Counts CollectionCounts() {
    Counts counts;
    for (int16_t id = 1; id <= kCardSetSize; ++id) counts[id] = gProfile.GetCardCount(id);
    return counts;
}

// id -> change from before to after, only the ids that changed.
std::map<int16_t, int> Changes(const Counts& before, const Counts& after) {
    std::map<int16_t, int> changes;
    for (const auto& [id, n] : after) {
        if (n != before.at(id)) changes[id] = n - before.at(id);
    }
    return changes;
}

// The character file as it is now on disk, read back into gProfile.
Counts FileCounts() {
    EXPECT_TRUE(LoadPlayerSave(1));
    return CollectionCounts();
}

class MatchPlay : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        std::filesystem::remove(SavePath("Player1.QCP"));
    }
};

// The 16 database cards with the most power in all: the level matches then
// see wins as well as losses.
std::vector<int16_t> StrongestDeck() {
    std::vector<std::pair<int, int16_t>> scored;
    for (int16_t id = 1; id <= gCardCount; ++id) {
        Card card = LoadCard(id);
        int sum = 0;
        for (int d = 0; d < 8; ++d) sum += card.GetPower(d);
        scored.push_back({-sum, id});
    }
    std::sort(scored.begin(), scored.end());
    std::vector<int16_t> ids;
    for (int i = 0; i < 16 && i < static_cast<int>(scored.size()); ++i) ids.push_back(scored[i].second);
    return ids;
}

class MatchAgainstLevel : public MatchPlay, public ::testing::WithParamInterface<int> {};

TEST_P(MatchAgainstLevel, PlaysToTheEndAndSavesTheCardsThatChangeHands) {
    int level = GetParam();
    SeedRandom(static_cast<uint32_t>(100 + level));
    std::vector<int16_t> deck = level == 1 ? DeckFrom(1) : StrongestDeck();
    MakeLocalPlayer(deck);
    SavePlayer();
    Counts before = FileCounts();
    MakeLocalPlayer(deck);
    StartOpponentMatch(3, level);
    ASSERT_EQ(gMatch.GetParticipant(BLUE), &gOpponents[3 * 3 + level]);
    ASSERT_TRUE(RunMatch([] { return false; }, 40000)) << "the match did not end";
    ASSERT_EQ(gClubActive, 1);
    const Board& board = gMatch.GetBoard();
    ASSERT_TRUE(board.IsFull());
    int red = 0, blue = 0;
    board.CountBySide(red, blue);
    EXPECT_EQ(gMatchResult, red > blue ? 0 : (red == blue ? 2 : 1));

    Counts memory = CollectionCounts();
    std::map<int16_t, int> changes = Changes(before, FileCounts());
    Side loser = red > blue ? BLUE : RED;
    int total = 0;
    for (const auto& [id, change] : changes) {
        total += change;
        bool laidByLoser = false;
        for (int x = 0; x < 6; ++x) {
            for (int y = 0; y < 4; ++y) {
                const BoardCell& cell = board.CellAt(x, y);
                laidByLoser = laidByLoser || (cell.placedBy == loser && cell.card.GetId() == id);
            }
        }
        EXPECT_TRUE(laidByLoser) << "card " << id << " was not laid by the loser";
    }
    bool perfect = board.HasSideWithoutCards();
    if (red == blue || perfect) {
        // Nothing for a tie; a Perfect reaches the file with the next save.
        EXPECT_TRUE(changes.empty());
    } else if (red > blue) {
        int n = std::min((red + 3) / (blue + 1), 4);
        EXPECT_GE(total, 1);
        EXPECT_LE(total, n);
        for (const auto& [id, change] : changes) EXPECT_EQ(change, 1);
    } else {
        EXPECT_EQ(total, -1);
    }
    // Every single card is saved as soon as it changes hands.
    if (!perfect) {
        EXPECT_EQ(Changes(before, memory), changes);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, MatchAgainstLevel, ::testing::Values(0, 1, 2));

// A board with RED's cards first (column by column), then BLUE's, two
// blocked cells and (5,3) free for RED's last card. RED lays ids from
// redFirst, BLUE from 200; capturedBlue of BLUE's cards are owned by RED.
Board EndgameBoard(int redCells, int blueCells, int capturedBlue, int16_t redFirst = 1) {
    Board board;
    int cell = 0;
    for (int i = 0; i < redCells - 1; ++i, ++cell) {
        board.PlaceCard(MakeCard(static_cast<int16_t>(redFirst + i), "00000000"), cell / 4, cell % 4, RED);
    }
    for (int i = 0; i < blueCells; ++i, ++cell) {
        board.PlaceCard(MakeCard(static_cast<int16_t>(200 + i), "00000000"), cell / 4, cell % 4, BLUE);
        if (i < capturedBlue) board.FlipOwner(cell / 4, cell % 4);
    }
    for (; cell < 23; ++cell) board.BlockCell(cell / 4, cell % 4);
    return board;
}

// Sets up a career match, replaces its position by the endgame, lets RED
// lay its last card on (5,3) and plays on until the match is left.
void PlayEndgame(const Board& board, const CardHand& blueHand = CardHand()) {
    StartOpponentMatch(0, 0);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(16, "00000000")}));
    gMatch.SetHandForTest(BLUE, blueHand);
    gMatch.SetPileForTest(BLUE, DrawPile());
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 5, 3);
    ASSERT_EQ(gMatch.GetState(), kStateResult);
    ASSERT_TRUE(RunMatch([] { return false; }));
}

TEST_F(MatchPlay, WinTakesCardsTheLoserLaid) {
    SeedRandom(3);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    Counts before = FileCounts();
    PlayEndgame(EndgameBoard(15, 7, 0));
    EXPECT_EQ(gMatchResult, 0);
    std::map<int16_t, int> changes = Changes(before, FileCounts());
    ASSERT_EQ(changes.size(), 2u);  // (15 + 3) div (7 + 1)
    for (const auto& [id, change] : changes) {
        EXPECT_GE(id, 200);
        EXPECT_LT(id, 207);
        EXPECT_EQ(change, 1);
    }
}

TEST_F(MatchPlay, LossGivesAwayOneOfTheCardsThePlayerLaid) {
    SeedRandom(4);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    Counts before = FileCounts();
    PlayEndgame(EndgameBoard(8, 14, 0));
    EXPECT_EQ(gMatchResult, 1);
    std::map<int16_t, int> changes = Changes(before, FileCounts());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_LE(changes.begin()->first, 7);
    EXPECT_EQ(changes.begin()->second, -1);
}

TEST_F(MatchPlay, TieChangesNothingAndWaitsForATap) {
    SeedRandom(5);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    Counts before = FileCounts();
    PlayEndgame(EndgameBoard(11, 11, 0));
    EXPECT_EQ(gMatchResult, 2);
    EXPECT_EQ(gMatch.GetState(), kStateMatchEnds);
    EXPECT_TRUE(Changes(before, FileCounts()).empty());
}

TEST_F(MatchPlay, PerfectAddsTheLosersSixteenCardsInMemoryOnly) {
    SeedRandom(6);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    Counts before = FileCounts();
    int16_t perfectsBefore = gPerfectsRealised;
    // BLUE laid 5 cards, all captured; two more in its hand, one in its pile
    // (which the opponent's profile deck knows nothing of).
    Board board = EndgameBoard(18, 5, 5);
    StartOpponentMatch(0, 0);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(RED, HandOf({MakeCard(16, "00000000")}));
    gMatch.SetHandForTest(BLUE, HandOf({MakeCard(230, "0"), MakeCard(231, "0"), MakeCard(-1, "0")}));
    DrawPile pile;
    pile.Push(MakeCard(240, "0"));
    gMatch.SetPileForTest(BLUE, pile);
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 5, 3);
    ASSERT_TRUE(RunMatch([] { return false; }));
    EXPECT_EQ(gMatchResult, 0);
    EXPECT_EQ(gPerfectsRealised, perfectsBefore + 1);
    std::map<int16_t, int> memory = Changes(before, CollectionCounts());
    std::set<int16_t> expected = {200, 201, 202, 203, 204, 230, 231, 240};
    std::set<int16_t> got;
    for (const auto& [id, change] : memory) {
        got.insert(id);
        EXPECT_EQ(change, 1);
    }
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(Changes(before, FileCounts()).empty());
}

TEST_F(MatchPlay, PerfectOverTheLinkTakesTheLaidCardsWithoutAGift) {
    SeedRandom(7);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    Counts before = CollectionCounts();
    int16_t perfectsBefore = gPerfectsRealised;
    StartOpponentMatch(0, 0);
    // The other handheld (this one hosts): its hand here is left over from
    // an earlier match and is no card of its deck.
    PlayerProfile remote;
    remote.SetName(u"FAR AWAY");
    remote.SetKind(kRemoteServer);
    gMatch.SetParticipantsForTest(&gProfile, &remote);
    gMatch.SetBoardForTest(EndgameBoard(18, 5, 5));
    gMatch.SetHandForTest(RED, HandOf({MakeCard(16, "00000000")}));
    gMatch.SetHandForTest(BLUE, HandOf({MakeCard(230, "0")}));
    gMatch.SetPileForTest(BLUE, DrawPile());
    gMatch.SetTurnForTest(RED, kStateLocalActs);
    DropOnCell(0, 5, 3);
    ASSERT_EQ(gMatch.GetState(), kStateResult);
    gMatch.Update();
    EXPECT_EQ(gMatch.GetState(), kStatePerfect);
    ASSERT_TRUE(RunMatch([] { return false; }));
    EXPECT_EQ(gPerfectsRealised, perfectsBefore + 1);
    std::set<int16_t> got;
    for (const auto& [id, change] : Changes(before, CollectionCounts())) {
        got.insert(id);
        EXPECT_EQ(change, 1);
    }
    EXPECT_EQ(got, (std::set<int16_t>{200, 201, 202, 203, 204}));
    gMatch.SetParticipantsForTest(nullptr, nullptr);
}

TEST_F(MatchPlay, BossWinNeverTakesASpecialCard) {
    SeedRandom(8);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    Counts before = FileCounts();
    StartBossMatch();
    ASSERT_EQ(gMatch.GetParticipant(BLUE), &gProfile);
    // The boss (RED) laid special cards and one ordinary card, 20; the
    // player (BLUE) owns more cells.
    Board board;
    int cell = 0;
    for (int i = 0; i < 8; ++i, ++cell) {
        board.PlaceCard(MakeCard(i == 3 ? 20 : static_cast<int16_t>(345 + i % 3), "00000000"),
                        cell / 4, cell % 4, RED);
    }
    for (int i = 0; i < 13; ++i, ++cell) {
        board.PlaceCard(MakeCard(static_cast<int16_t>(1 + i % 16), "00000000"), cell / 4, cell % 4, BLUE);
    }
    for (; cell < 23; ++cell) board.BlockCell(cell / 4, cell % 4);
    gMatch.SetBoardForTest(board);
    gMatch.SetHandForTest(BLUE, HandOf({MakeCard(16, "00000000")}));
    gMatch.SetTurnForTest(BLUE, kStateLocalActs);
    DropOnCell(0, 5, 3);
    ASSERT_TRUE(RunMatch([] { return false; }));
    EXPECT_EQ(gMatchResult, 1);
    std::map<int16_t, int> changes = Changes(before, FileCounts());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.begin()->first, 20);
}

TEST_F(MatchPlay, QuickGameEndsWithoutTouchingAnyFile) {
    SeedRandom(9);
    MakeLocalPlayer(DeckFrom(1));
    gProfile.SetSlot(kNoCharacterSlot);
    StartQuickGame();
    EXPECT_EQ(gMatch.IsQuickGame(), 1);
    ASSERT_TRUE(RunMatch([] { return false; }, 40000));
    EXPECT_TRUE(gMatch.GetBoard().IsFull());
    EXPECT_FALSE(std::filesystem::exists(SavePath("Player1.QCP")));
}

}  // namespace
}  // namespace qv::test
