// The computer opponent's fast search against the plain recursion it
// replaced: the same choices, scores and random draws on random positions of
// every level and on the stored slow positions.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "match/computer_opponent.h"
#include "tests/ai_positions.h"
#include "tests/ai_reference.h"

namespace qv::test {
namespace {

// Positions of every kind: any number of placements tried, up to five
// cards in hand, sometimes with a gap.
AiPosition RandomPosition(std::mt19937& rng) {
    int occupied = static_cast<int>(rng() % (kBoardCells + 1));
    int cards = static_cast<int>(rng() % 6);
    AiPosition p = RandomAiPosition(rng, occupied, cards);
    if (cards > 1 && rng() % 3 == 0) p.hand.RemoveCardAt(static_cast<int>(rng() % static_cast<uint32_t>(cards)));
    return p;
}

struct Outcome {
    int score = 0;
    int slot = 0;
    int column = 0;
    int row = 0;
    int nextDraw = 0;  // the generator's next number: the draws made agree
    bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& o) {
    return "score " + std::to_string(o.score) + " slot " + std::to_string(o.slot) + " cell " +
           std::to_string(o.column) + "," + std::to_string(o.row) + " next draw " + std::to_string(o.nextDraw);
}

template <typename Choose>
Outcome Placement(Choose choose, const AiPosition& p, Side side, bool mayDraw, uint32_t seed) {
    SeedRandom(seed);
    uint8_t slot = 0;
    int8_t column = 0, row = 0;
    Outcome o;
    o.score = choose(p.board, p.hand, side, slot, column, row, mayDraw);
    o.slot = slot;
    o.column = column;
    o.row = row;
    o.nextDraw = Rand();
    return o;
}

template <typename Attack>
Outcome Attacking(Attack attack, const AiPosition& p, Side side, int x, int y, uint32_t seed) {
    SeedRandom(seed);
    int8_t column = -1, row = -1;
    Outcome o;
    o.score = attack(p.board, side, x, y, column, row);
    o.column = column;
    o.row = row;
    o.nextDraw = Rand();
    return o;
}

class AiEquivalence : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { SetAiLevel(static_cast<uint8_t>(GetParam())); }
    void TearDown() override { SetAiLevel(0); }
};

TEST_P(AiEquivalence, RandomPositionsGiveTheSameChoicesScoresAndDraws) {
    std::mt19937 rng(20240 + GetParam());
    int compared = 0;
    for (int round = 0; compared < 10000; ++round) {
        AiPosition p = RandomPosition(rng);
        Side side = static_cast<Side>(round & 1);
        uint32_t seed = static_cast<uint32_t>(round);
        if (p.hand.CountCards() > 0 && p.board.CountFree() > 0) {
            bool mayDraw = (round & 2) != 0;
            Outcome fast = Placement(ChooseAiPlacement, p, side, mayDraw, seed);
            Outcome plain = Placement(reference::ChooseAiPlacement, p, side, mayDraw, seed);
            ASSERT_EQ(fast, plain) << "round " << round << ": " << Describe(fast) << " against "
                                   << Describe(plain);
            ++compared;
        }
        // The attack and chain choices the match asks for directly.
        for (int cell = 0; cell < kBoardCells; ++cell) {
            int x = cell / kBoardRows, y = cell % kBoardRows;
            const BoardCell& c = p.board.CellAt(x, y);
            if (c.free || c.owner == kNoSide || p.board.CountAttacks(x, y) == 0) continue;
            Outcome fast = Attacking(ChooseAiAttack, p, c.owner, x, y, seed);
            Outcome plain = Attacking(reference::ChooseAiAttack, p, c.owner, x, y, seed);
            ASSERT_EQ(fast, plain) << "attack, round " << round << " cell " << cell;
            fast = Attacking(ScoreAiAttackChain, p, c.owner, x, y, seed);
            plain = Attacking(reference::ScoreAiAttackChain, p, c.owner, x, y, seed);
            ASSERT_EQ(fast, plain) << "chain, round " << round << " cell " << cell;
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, AiEquivalence, ::testing::Values(0, 1, 2));

TEST(AiEquivalenceParts, DepthsThreatsAndEvaluationsAgreeOnEveryCell) {
    std::mt19937 rng(777);
    SetAiLevel(2);
    for (int round = 0; round < 3000; ++round) {
        AiPosition p = RandomPosition(rng);
        for (int cell = 0; cell < kBoardCells; ++cell) {
            int x = cell / kBoardRows, y = cell % kBoardRows;
            // Free and blocked cells too: their depth follows the cells of nobody.
            ASSERT_EQ(CaptureChainDepth(p.board, x, y), reference::CaptureChainDepth(p.board, x, y))
                << "round " << round << " cell " << cell;
            ASSERT_EQ(CountThreats(p.board, x, y), reference::CountThreats(reference::Flatten(p.board), x, y));
            uint8_t safe1[kBoardCells];
            reference::SafeMap1(reference::Flatten(p.board), safe1);
            ASSERT_EQ(ThreatScore(p.board, x, y), reference::ThreatScore(reference::Flatten(p.board), safe1, x, y));
        }
        for (Side side : {RED, BLUE, kNoSide}) {
            SeedRandom(static_cast<uint32_t>(round));
            int fast = EvaluateBoard(p.board, side);
            SeedRandom(static_cast<uint32_t>(round));
            ASSERT_EQ(fast, reference::EvaluateBoard(p.board, side)) << "round " << round;
        }
    }
    SetAiLevel(0);
}

// Endgames are where chains run long and the level-2 search is deepest.
TEST(AiEquivalenceParts, RandomEndgamesGiveTheSameChoicesAtLevelTwo) {
    std::mt19937 rng(4242);
    SetAiLevel(2);
    for (int round = 0; round < 1000; ++round) {
        AiPosition p = RandomAiEndgame(rng, 1 + round % 6);
        Side side = static_cast<Side>(round & 1);
        Outcome fast = Placement(ChooseAiPlacement, p, side, false, static_cast<uint32_t>(round));
        Outcome plain = Placement(reference::ChooseAiPlacement, p, side, false, static_cast<uint32_t>(round));
        ASSERT_EQ(fast, plain) << "round " << round << ": " << Describe(fast) << " against " << Describe(plain);
    }
    SetAiLevel(0);
}

TEST(AiEquivalenceParts, StoredSlowPositionsGiveTheSameChoices) {
    SetAiLevel(2);
    for (const std::string& name : StoredAiPositionNames()) {
        AiPosition p;
        ASSERT_TRUE(ReadAiPosition(std::string(QV_SOURCE_DIR) + "/tests/data/ai-positions/" + name + ".txt", &p))
            << name;
        ASSERT_EQ(p.hand.CountCards(), 5) << name;
        for (uint32_t seed : {1u, 2u}) {
            Outcome fast = Placement(ChooseAiPlacement, p, BLUE, false, seed);
            Outcome plain = Placement(reference::ChooseAiPlacement, p, BLUE, false, seed);
            EXPECT_EQ(fast, plain) << name << ": " << Describe(fast) << " against " << Describe(plain);
        }
    }
    SetAiLevel(0);
}

TEST(AiEquivalenceParts, PositionFilesThatCannotBeReadAreRefused) {
    AiPosition p;
    EXPECT_FALSE(ParseAiPosition("", &p));
    std::string line = "0 0 0 5 12345670\n";
    std::string whole;
    for (int i = 0; i < 29; ++i) whole += line;
    EXPECT_TRUE(ParseAiPosition(whole, &p));
    EXPECT_FALSE(ParseAiPosition(whole.substr(0, whole.size() - line.size()), &p)) << "a line short";
    std::string badPower = whole;
    badPower.replace(badPower.find("12345670"), 8, "12345678");
    EXPECT_FALSE(ParseAiPosition(badPower, &p)) << "a power of 8";
    std::string badOwner = whole;
    badOwner.replace(0, 5, "0 3 0");
    EXPECT_FALSE(ParseAiPosition(badOwner, &p)) << "owner 3";
}

}  // namespace
}  // namespace qv::test
