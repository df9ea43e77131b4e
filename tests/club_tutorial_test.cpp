// The club's tutorial in this process: a new character led from the club
// view through the card shop and the collection manager to Instant Play,
// keys during walks, its end, and a tutorial restored from a quick save.
#include <gtest/gtest.h>

#include <string>

#include "club/collection_screen.h"
#include "club/shop_screen.h"
#include "engine/input.h"
#include "engine/music.h"
#include "platform/clock.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

class TutorialTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        test::LoadClubViewPictures();
        gClubActive = 1;
        gMusicOff = 0;
        ClearKeyStates();
        gClub.Reset();
        test::MakeLocalPlayer({});
        SavePlayer();
    }
    void TearDown() override {
        ClearKeyStates();
        gClub.Reset();
        gMusicOff = 0;
    }

    // As the character screen leaves it when the player accepts the tutorial.
    static void StartFromTheCharacterScreen() {
        gClub.StartTutorial();
        gClub.BeginTransition(0);
        ASSERT_TRUE(test::SettleClub());
    }
    static void Key(int index) {
        gKeyState[index] = 1;
        gClub.Update();
        ASSERT_TRUE(test::SettleClub());
    }
    static constexpr int kLeft = 2, kRight = 3, kStart = 4;
};

TEST_F(TutorialTest, NewCharacterIsLedFromTheClubToInstantPlay) {
    ASSERT_NO_FATAL_FAILURE(StartFromTheCharacterScreen());
    EXPECT_EQ(gClub.TutorialStep(), 1);
    EXPECT_EQ(gMusicOff, 1) << "the tutorial is silent";
    EXPECT_EQ(test::NoteCount("To start with, you'll need a brand new deck of cards."), 1);

    // Step 1: the action key only hints; walks go on until the card shop.
    Key(kStart);
    EXPECT_EQ(test::NoteCount("You can't enter here, stop by to the Cardshop"), 1);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    Key(kRight);
    EXPECT_EQ(gClub.Room(), 2);
    EXPECT_EQ(gClub.TutorialStep(), 1);
    Key(kRight);
    EXPECT_EQ(gClub.Room(), 3);
    EXPECT_EQ(gClub.TutorialStep(), 2);
    EXPECT_EQ(test::NoteCount("This is the Cardshop, Where you will spend most of your money."), 1);

    // Step 2: no more walking; the action key enters.
    Key(kLeft);
    test::ClubTap(5, 150);  // the left arrow
    EXPECT_EQ(test::NoteCount("Click on the picture to enter into the shop"), 2);
    EXPECT_EQ(gClub.Room(), 3);
    Key(kStart);
    ASSERT_EQ(gClub.CurrentType(), kScreenShop);
    EXPECT_EQ(gClub.TutorialStep(), 4);
    ShopScreen* shop = gClub.GetShopScreen();
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->TutorialStep(), 4);

    // Step 4: the booster opens without being bought, then the gift.
    test::ClubTap(120, 80);
    for (int i = 0; i < 12; ++i) gClub.Update();
    platform::Sleep(1001);
    gClub.Update();
    EXPECT_EQ(gProfile.GetCredits(), kStartingCredits);
    const int lent = gProfile.GetTotalCards();
    EXPECT_GT(lent, 80);
    test::ClubTap(120, 198);  // Enter Manager
    EXPECT_EQ(gClub.TutorialStep(), 5);
    EXPECT_EQ(gClub.GetShopScreen(), nullptr);
    ASSERT_EQ(gClub.CurrentType(), kScreenCollection);
    CollectionScreen* manager = gClub.GetCollectionScreen();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->TutorialFlag(), 1);

    // Step 5: back is refused until the deck is full; then a page card's
    // release closes the manager.
    test::ClubTap(220, 311);
    EXPECT_EQ(gClub.CurrentType(), kScreenCollection);
    int added = 0;
    for (int page = 0; added < kDeckSize; ++page) {
        for (int p = 0; p < CollectionScreen::kPageSize && added < kDeckSize; ++p) {
            const int16_t id = static_cast<int16_t>(page * CollectionScreen::kPageSize + p + 1);
            if (gProfile.GetCardCount(id) == 0) continue;
            test::ClubTap(CollectionScreen::PageX(p) + 16, CollectionScreen::PageY(p) + 25);
            test::ClubTap(170, 10);  // add
            ++added;
        }
        if (added < kDeckSize) manager->NextPage();
    }
    ASSERT_EQ(gProfile.GetDeck().GetCount(), kDeckSize);
    EXPECT_EQ(gClub.TutorialStep(), 5);
    const int16_t first = gProfile.GetDeck().CardAt(0).GetId();
    const int firstPosition = (first - 1) % CollectionScreen::kPageSize;
    manager->PreviousPage();
    test::ClubTap(CollectionScreen::PageX(firstPosition) + 16, CollectionScreen::PageY(firstPosition) + 25);
    EXPECT_EQ(gClub.TutorialStep(), 6);
    EXPECT_EQ(gClub.GetCollectionScreen(), nullptr);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_EQ(gClub.Room(), 3);
    EXPECT_FALSE(gClub.InTransition()) << "straight back to the view";

    // Step 6: hints until Instant Play; step 7: a tap on the picture enters.
    ASSERT_TRUE(test::SettleClub());
    Key(kStart);
    EXPECT_EQ(test::NoteCount("No you can't enter here,you have to go to the Instant Play"), 1);
    Key(kLeft);
    EXPECT_EQ(gClub.TutorialStep(), 6);
    Key(kLeft);
    EXPECT_EQ(gClub.Room(), 1);
    EXPECT_EQ(gClub.TutorialStep(), 7);
    test::ClubTap(120, 100);
    EXPECT_EQ(gClub.TutorialStep(), 8);
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenInstantPlay);
    EXPECT_EQ(gClub.TutorialStep(), 9);
    EXPECT_EQ(test::NoteCount("You start the game in the Guest level"), 1);
    EXPECT_EQ(gMusicOff, 1);
    EXPECT_EQ(gProfile.GetTotalCards(), lent) << "nothing sold or bought on the way";
}

// A key pressed during a walk used to turn the walk round half-way, so that
// the room no longer matched the panorama.
TEST_F(TutorialTest, KeysDuringAWalkWaitForItsEnd) {
    ASSERT_NO_FATAL_FAILURE(StartFromTheCharacterScreen());
    gKeyState[kRight] = 1;
    gClub.Update();
    ASSERT_NE(gClub.Direction(), 0);
    gClub.Update();
    gKeyState[kLeft] = 1;
    const int arrivals = test::TraceCount("club room 2");
    gClub.Update();
    EXPECT_EQ(gKeyState[kLeft], 1) << "kept for after the walk";
    // The walk reaches the lair's gate, then the kept key walks back.
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(test::TraceCount("club room 2"), arrivals + 1);
    EXPECT_EQ(gClub.Room(), 1);
    EXPECT_EQ(gClub.Frame(), Club::RoomFrame(1));
    EXPECT_EQ(gKeyState[kLeft], 0);
}

TEST_F(TutorialTest, EndMakesTheCharacterNewAndGivesTheSoundBack) {
    gMusicOff = 0;
    gClub.StartTutorial();
    EXPECT_EQ(gMusicOff, 1);
    for (int16_t id = 1; id <= 40; ++id) gProfile.AddCard(id);
    gProfile.AddToDeck(3, false);
    gProfile.AddCredits(55);
    gClub.EndTutorial();
    EXPECT_EQ(gClub.TutorialFlag(), 0);
    EXPECT_EQ(gMusicOff, 0);
    EXPECT_EQ(gProfile.GetCredits(), kStartingCredits);
    EXPECT_EQ(gProfile.GetTotalCards(), 0);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 0);
    EXPECT_EQ(gProfile.GetSlot(), 1);

    // Left without a quick save, the tutorial takes back what it lent.
    gClub.StartTutorial();
    for (int16_t id = 1; id <= 40; ++id) gProfile.AddCard(id);
    gClub.DropTutorialOnLeaving();
    EXPECT_EQ(gProfile.GetTotalCards(), 0);
    EXPECT_EQ(gClub.TutorialFlag(), 0);
    gClub.DropTutorialOnLeaving();
    EXPECT_EQ(gProfile.GetSlot(), 1);
}

TEST_F(TutorialTest, RestoredTutorialGoesOnOnlyWithItsScreens) {
    // In the shop at its booster step: taken up again, silent.
    test::ClubBlock inShop;
    inShop.header.current = kScreenShop;
    inShop.header.room = 3;
    inShop.header.frame = 14;
    inShop.header.tutorialFlag = 1;
    inShop.header.tutorialStep = 4;
    inShop.Add(test::kRecordShop, {1, 4});
    ASSERT_TRUE(test::ReadBlock(inShop.Bytes()));
    EXPECT_EQ(gClub.TutorialFlag(), 1);
    EXPECT_EQ(gMusicOff, 1);
    test::ClubTap(120, 243);  // Sell Cards: a hint, not a sale
    EXPECT_EQ(test::NoteCount("You have to buy a booster to continue the turorial !"), 1);
    gClub.EndTutorial();

    // The same step with the club view current: nothing could answer it.
    test::ClubBlock mismatched = inShop;
    mismatched.header.current = kScreenClubView;
    ASSERT_TRUE(test::ReadBlock(mismatched.Bytes()));
    EXPECT_EQ(gClub.TutorialFlag(), 0);
    ASSERT_NE(gClub.GetShopScreen(), nullptr);
    EXPECT_EQ(gClub.GetShopScreen()->TutorialFlag(), 0) << "the shop leaves the tutorial too";

    // A shop whose own step is not the tutorial's.
    test::ClubBlock wrongStep = inShop;
    wrongStep.state[test::kRecordShop] = {1, 0};
    ASSERT_TRUE(test::ReadBlock(wrongStep.Bytes()));
    EXPECT_EQ(gClub.TutorialFlag(), 0);

    // At the card shop in the view, waiting to be entered.
    test::ClubBlock atShop;
    atShop.header.room = 3;
    atShop.header.frame = 14;
    atShop.header.tutorialFlag = 1;
    atShop.header.tutorialStep = 2;
    ASSERT_TRUE(test::ReadBlock(atShop.Bytes()));
    EXPECT_EQ(gClub.TutorialFlag(), 1);
    atShop.header.room = 1;
    atShop.header.frame = 7;
    ASSERT_TRUE(test::ReadBlock(atShop.Bytes()));
    EXPECT_EQ(gClub.TutorialFlag(), 0) << "step 2 stands at the card shop";
}

}  // namespace
}  // namespace qv
