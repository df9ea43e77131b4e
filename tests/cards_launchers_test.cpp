// The launchers hand the right participants to the match, and a quick save taken
// during a match restores it.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

class Launchers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(install_.OpenTestDatabase());
        test::Bytes plain;
        for (int r = 0; r < 45; ++r) {
            const std::string fields[] = {"rival " + std::to_string(r), std::to_string(r + 1), "a", "about", "b"};
            for (const std::string& field : fields) {
                test::AppendField(plain, field);
            }
        }
        test::WriteBytes(install_.Root() / "DATA" / "OPPONENTS.DAT", test::Scrambled(plain));
        LoadOpponents();
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
        gProfile.SetName(u"ANNA");
        gProfile.SetSlot(1);
        for (int16_t id = 1; id <= 16; ++id) {
            gProfile.AddCard(id);
            gProfile.AddToDeck(id, false);
        }
        gClubActive = 1;
        SeedRandom(31);
    }
    void TearDown() override { gClubActive = 1; }

    static int BlockedCells() { return gMatch.GetBoard().CountFree(); }

    test::TempInstall install_;
};

TEST_F(Launchers, OpponentMatchHandsOverTheChosenOpponent) {
    StartOpponentMatch(13, 2);
    EXPECT_EQ(gClubActive, 0);
    EXPECT_EQ(gMatch.GetParticipant(RED), &gProfile);
    EXPECT_EQ(gMatch.GetParticipant(BLUE), &gOpponents[41]);
    EXPECT_GE(BlockedCells(), 24 - 6);
    EXPECT_LE(BlockedCells(), 24 - 2);
    EXPECT_EQ(gOpponents[41].GetDeck().GetCount(), 16);
}

TEST_F(Launchers, QuickGameAndBossMatch) {
    gProfile.SetSlot(kNoCharacterSlot);
    StartQuickGame();
    EXPECT_EQ(gClubActive, 0);
    EXPECT_EQ(gProfile.GetName(), u"Player 1");
    EXPECT_EQ(gMatch.GetParticipant(RED), &gProfile);
    const PlayerProfile* other = gMatch.GetParticipant(BLUE);
    EXPECT_GE(other, &gOpponents[0]);
    EXPECT_LE(other, &gOpponents[44]);
    EXPECT_EQ(gMatch.IsQuickGame(), 1);

    gClubActive = 1;
    StartBossMatch();
    EXPECT_EQ(gClubActive, 0);
    EXPECT_EQ(gMatch.GetParticipant(RED), &gOtherProfile);
    EXPECT_EQ(gMatch.GetParticipant(BLUE), &gProfile);
    EXPECT_EQ(gOtherProfile.GetName(), u"SAINT ARMAN");
    EXPECT_EQ(gOtherProfile.GetKind(), kComputerPlayer);
    EXPECT_EQ(gMatch.IsBossMatch(), 1);
}

TEST_F(Launchers, QuickSaveDuringAMatchCarriesTheMatchBlock) {
    SavePlayer();
    StartOpponentMatch(2, 0);
    const Board before = gMatch.GetBoard();
    WriteQuickSave();
    const test::Bytes bytes = test::ReadBytes(install_.Root() / "SAVE" / "QuickSave.QCP");
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 1);

    gClubActive = 1;
    gMatch.SetBoardForTest(Board());
    ASSERT_TRUE(LoadQuickSave());
    EXPECT_EQ(gClubActive, 0);
    EXPECT_EQ(gMatch.GetParticipant(BLUE), &gOpponents[6]);
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y) EXPECT_EQ(gMatch.GetBoard().CellAt(x, y).free, before.CellAt(x, y).free);
    }
}

}  // namespace
}  // namespace qv
