// The club screen manager in this process: transitions tick by tick, the
// ways screens open, close and return, dropped taps, keys, walks, deferred
// deletion and the trace of a match's end.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cards/launchers.h"
#include "club/boss_screen.h"
#include "engine/input.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

class ClubManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        test::MakeLocalPlayer(test::DeckFrom(1));
        gClubActive = 1;
        ClearKeyStates();
        gClub.Reset();
    }
    void TearDown() override {
        ClearKeyStates();
        gClubActive = 1;
        gClub.Reset();
    }

    // Frames a walk passes through, until it stands again.
    static std::vector<int> WalkFrames() {
        std::vector<int> frames;
        for (int i = 0; i < 60 && gClub.Direction() != 0; ++i) {
            gClub.Update();
            frames.push_back(gClub.Frame());
        }
        return frames;
    }

    static std::string Trace() { return test::ReadText(test::PrepareInstallation() / "trace.txt"); }
};

// Eight darkening ticks, a ninth that turns to the dissolve, eight dissolving
// ticks and a ninth that enters the screen.
TEST_F(ClubManagerTest, TransitionTakesNineTicksEachWay) {
    gClub.BeginTransition(0);
    for (int tick = 1; tick <= 8; ++tick) {
        gClub.Update();
        EXPECT_EQ(gClub.Input(), 0) << "darkening tick " << tick;
    }
    gClub.Update();  // the ninth: back to the club view through a dissolve
    EXPECT_TRUE(gClub.InTransition());
    EXPECT_EQ(gClub.Input(), 0);
    test::Turns(8);
    EXPECT_TRUE(gClub.InTransition());
    gClub.Update();
    EXPECT_FALSE(gClub.InTransition());
    EXPECT_EQ(gClub.Input(), 1);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_TRUE(gClub.DescriptionActive()) << "the room show starts as the view is entered";
}

TEST_F(ClubManagerTest, CharacterScreenOpensAndClosesBackToTheView) {
    gClub.OpenCharacterScreen();
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView) << "current only once the dissolve ends";
    EXPECT_EQ(gClub.PendingType(), kScreenCharacter);
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenCharacter);

    test::ClubTap(20, 264);  // "A" typed as the name
    test::ClubTap(10, 243);  // OK creates the character and closes the screen
    EXPECT_EQ(gClub.GetCharacterScreen(), nullptr);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_TRUE(gClub.InTransition());
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_EQ(gClub.Input(), 1);
}

// A tap while the club takes no input does nothing, and neither does its
// release once input is back.
TEST_F(ClubManagerTest, TapDuringATransitionIsDroppedWithItsRelease) {
    gClub.OpenShopScreen(kScreenClubView);
    test::Turns(3);
    gClub.StylusDown(10, 10);
    ASSERT_TRUE(test::SettleClub());
    ASSERT_EQ(gClub.CurrentType(), kScreenShop);
    gClub.StylusUp(10, 10);
    EXPECT_NE(gClub.GetShopScreen(), nullptr) << "a dropped tap's release closed the screen";
    EXPECT_EQ(gClub.CurrentType(), kScreenShop);
}

// The shop opened by the bet screen gives the bet screen back at once; the
// one opened from the club view goes back through the transition.
TEST_F(ClubManagerTest, ShopReturnsToTheScreenThatOpenedIt) {
    gClub.OpenBetScreen(kScreenInstantPlay, 5);
    EXPECT_EQ(gClub.CurrentType(), kScreenBet);
    EXPECT_FALSE(gClub.InTransition());

    gClub.OpenShopScreen(kScreenBet);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView) << "the view's tick runs the shop's dissolve";
    ASSERT_TRUE(test::SettleClub());
    ASSERT_EQ(gClub.CurrentType(), kScreenShop);
    test::ClubTap(220, 310);  // the shop's Back
    EXPECT_EQ(gClub.CurrentType(), kScreenBet);
    EXPECT_FALSE(gClub.InTransition());
    EXPECT_NE(gClub.GetBetScreen(), nullptr);

    // The bet screen's Back closes it back to Instant Play, which no longer
    // exists: the club view takes its place.
    test::ClubTap(220, 311);
    EXPECT_EQ(gClub.GetBetScreen(), nullptr);
    EXPECT_TRUE(gClub.InTransition());
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);

    gClub.OpenShopScreen(kScreenClubView);
    ASSERT_TRUE(test::SettleClub());
    test::ClubTap(220, 310);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_TRUE(gClub.InTransition());
}

TEST_F(ClubManagerTest, TournamentNeedsSixteenCardsOrSendsToTheShop) {
    gProfile.Reset();
    for (int16_t id = 1; id <= 15; ++id) gProfile.AddCard(id);
    gClub.OpenTournamentScreen(1);
    ASSERT_TRUE(test::SettleClub());  // the note is answered at once without a font
    EXPECT_EQ(gClub.GetTournamentScreen(), nullptr);
    EXPECT_EQ(gClub.CurrentType(), kScreenShop);
    EXPECT_EQ(gClub.ShopReturn(), kScreenClubView);

    gClub.Reset();
    gProfile.AddCard(16);
    gClub.OpenTournamentScreen(2);
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenEliteTournament);
    EXPECT_NE(gClub.GetTournamentScreen(), nullptr);
}

// The lair leaves from inside its own update; the club frees it once that
// call has returned.
TEST_F(ClubManagerTest, LairLeavesFromItsOwnUpdate) {
    gClub.OpenBossScreen();
    ASSERT_TRUE(test::SettleClub());
    ASSERT_EQ(gClub.CurrentType(), kScreenBoss);
    test::ClubTap(120, 160);
    gClub.Update();
    EXPECT_EQ(gClub.GetBossScreen(), nullptr);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_FALSE(gClub.InTransition()) << "after a defeat the view comes back at once";
    EXPECT_EQ(gClub.Input(), 1);

    gClub.OpenBossScreen();
    ASSERT_TRUE(test::SettleClub());
    gClub.LeaveBossScreen(true);
    EXPECT_EQ(gClub.Room(), 8);
    EXPECT_EQ(gClub.Frame(), 44);
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenCharacter);
}

TEST_F(ClubManagerTest, TradeEndsWithItsCollectionManagerBackInTheRoom) {
    gClub.OpenMultiplayerScreen();
    ASSERT_TRUE(test::SettleClub());
    gClub.OpenTradeScreen(kScreenMultiplayer);
    gClub.OpenCollectionScreen(kScreenTrade, 0, 1);
    ASSERT_EQ(gClub.CurrentType(), kScreenCollection);
    gClub.CloseCollectionScreen();
    EXPECT_EQ(gClub.GetCollectionScreen(), nullptr);
    EXPECT_EQ(gClub.GetTradeScreen(), nullptr);
    EXPECT_EQ(gClub.CurrentType(), kScreenMultiplayer);
    EXPECT_FALSE(gClub.InTransition());
}

TEST_F(ClubManagerTest, WalksWrapAroundTheClub) {
    ASSERT_TRUE(test::StandAtRoom(9));
    gClub.RotateRight();
    EXPECT_EQ(gClub.Input(), 0);
    EXPECT_EQ(WalkFrames(), (std::vector<int>{48, 49, 50, 1}));
    EXPECT_EQ(gClub.Room(), 0);
    EXPECT_EQ(gClub.Input(), 1);

    gClub.RotateLeft();
    EXPECT_EQ(WalkFrames(), (std::vector<int>{50, 49, 48, 47}));
    EXPECT_EQ(gClub.Room(), 9);

    ASSERT_TRUE(test::StandAtRoom(1));
    for (int room = 2; room <= 10; ++room) {
        gClub.RotateRight();
        WalkFrames();
        EXPECT_EQ(gClub.Room(), room % 10);
        EXPECT_EQ(gClub.Frame(), Club::RoomFrame(room % 10));
    }
}

// One key a turn, right before left; none while input is off, and none on a
// screen that the same turn's tick has just made current.
TEST_F(ClubManagerTest, KeysWalkOnlyTheStandingView) {
    ASSERT_TRUE(test::StandAtRoom(3));
    gKeyState[2] = gKeyState[3] = 1;
    gClub.Update();
    EXPECT_EQ(gClub.Direction(), 1);
    EXPECT_EQ(gKeyState[3], 0);
    EXPECT_EQ(gKeyState[2], 1) << "the left key waits for its own turn";
    // The turn that arrives at room 4 takes the left key and walks back.
    for (int i = 0; i < 60 && gClub.Room() != 4; ++i) gClub.Update();
    EXPECT_EQ(gClub.Room(), 4);
    EXPECT_EQ(gClub.Direction(), -1);
    EXPECT_EQ(gKeyState[2], 0);
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.Room(), 3);

    gClub.OpenCharacterScreen();
    test::Turns(8);  // every tick of the dissolve but its last
    gKeyState[3] = 1;
    gClub.Update();
    EXPECT_EQ(gClub.CurrentType(), kScreenCharacter);
    EXPECT_EQ(gClub.Direction(), 0);
    EXPECT_EQ(gClub.Input(), 1);
}

TEST_F(ClubManagerTest, MatchEndIsTracedOnceWithItsResult) {
    gClubActive = 0;  // a launcher started a match from the club
    gClub.Update();
    gClubActive = 1;
    gMatchResult = 2;
    gClub.RedrawCurrentScreen(0);
    gClub.Update();
    const std::string trace = Trace();
    const size_t at = trace.rfind(" match end 2");
    ASSERT_NE(at, std::string::npos) << trace;
    gClub.Update();
    EXPECT_EQ(Trace().rfind(" match "), at) << "traced more than once";
}

// Screens deleted by a restore or by the manager never leave a dangling
// current type behind.
TEST_F(ClubManagerTest, ReenteringAMissingScreenGivesTheClubView) {
    gClub.ReenterScreen(kScreenShop);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_TRUE(gClub.InTransition());
    ASSERT_TRUE(test::SettleClub());
    gClub.ReenterScreen(11);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.Input(), 1);
}

}  // namespace
}  // namespace qv
