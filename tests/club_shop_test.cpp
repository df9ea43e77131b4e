// The card shop in this process, driven through the club: bundles bought or
// refused with the character file checked at once, the booster animation
// and its wait, the deck services, and the shop's part of the tutorial.
#include <gtest/gtest.h>

#include <string>

#include "club/collection_screen.h"
#include "club/shop_screen.h"
#include "engine/input.h"
#include "platform/clock.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

class ShopTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        gClubActive = 1;
        ClearKeyStates();
        gClub.Reset();
        test::MakeLocalPlayer({});
        SavePlayer();
    }
    void TearDown() override { gClub.Reset(); }

    // The shop opened from the club view and dissolved in.
    static ShopScreen& Open() {
        gClub.OpenShopScreen(kScreenClubView);
        EXPECT_TRUE(test::SettleClub());
        EXPECT_EQ(gClub.CurrentType(), kScreenShop);
        return *gClub.GetShopScreen();
    }
    // The character file of slot 1 as it is on disk (gProfile keeps its own).
    static PlayerProfile OnDisk() {
        const PlayerProfile inMemory = gProfile;
        EXPECT_TRUE(LoadPlayerSave(1));
        const PlayerProfile disk = gProfile;
        gProfile = inMemory;
        return disk;
    }
    // Button centres by index: the five bundles, Back, Enter Manager, Clear
    // Deck, Sell Cards, Quick Deck.
    static void TapButton(int index) {
        static const int kCentres[10][2] = {{120, 80}, {120, 95}, {120, 110}, {120, 126},
                                            {120, 141}, {222, 310}, {120, 198}, {120, 220},
                                            {120, 243}, {120, 265}};
        test::ClubTap(kCentres[index][0], kCentres[index][1]);
    }
};

TEST_F(ShopTest, BundleIsBoughtWholeOrNotAtAll) {
    ShopScreen& shop = Open();
    test::SetCredits(899);
    SavePlayer();
    TapButton(3);
    EXPECT_EQ(test::NoteCount("You need 900 Credits to buy this Booster, please come back later."), 1);
    EXPECT_FALSE(shop.Animating());
    EXPECT_EQ(gProfile.GetCredits(), 899);
    EXPECT_EQ(gProfile.GetTotalCards(), 0);

    test::SetCredits(900);
    TapButton(3);
    EXPECT_TRUE(shop.Animating());
    EXPECT_EQ(gProfile.GetCredits(), 0);
    EXPECT_EQ(gProfile.GetTotalCards(), 40);
    // On disk before a single frame of the animation has run.
    const PlayerProfile disk = OnDisk();
    EXPECT_EQ(disk.GetCredits(), 0);
    EXPECT_EQ(disk.GetTotalCards(), 40);
    for (int i = 0; i < 40; ++i) {
        const int16_t id = gProfile.GetNewCards()[i];
        ASSERT_GE(id, 1);
        EXPECT_GE(disk.GetCardCount(id), 1);
    }
    // Buttons wait while the booster opens.
    TapButton(0);
    EXPECT_EQ(gProfile.GetTotalCards(), 40);
}

TEST_F(ShopTest, AnimationThenTheManagerWithTheNewCards) {
    ShopScreen& shop = Open();
    TapButton(0);
    for (int step = 0; step < 11; ++step) {
        gClub.Update();
        ASSERT_TRUE(shop.Animating()) << step;
    }
    gClub.Update();
    EXPECT_FALSE(shop.Animating());
    EXPECT_TRUE(shop.Waiting());
    gClub.Update();
    EXPECT_EQ(gClub.CurrentType(), kScreenShop) << "a second's wait first";
    platform::Sleep(1001);
    gClub.Update();
    EXPECT_EQ(gClub.CurrentType(), kScreenCollection);
    EXPECT_FALSE(shop.Waiting());
    EXPECT_EQ(gClub.GetShopScreen(), &shop) << "the shop stays under the manager";

    // A tap in the wait opens the manager at once.
    test::ClubTap(220, 311);  // the manager's Back
    ASSERT_EQ(gClub.CurrentType(), kScreenShop);
    TapButton(0);
    for (int step = 0; step < 12; ++step) gClub.Update();
    ASSERT_TRUE(shop.Waiting());
    test::ClubTap(120, 30);
    EXPECT_EQ(gClub.CurrentType(), kScreenCollection);
}

TEST_F(ShopTest, SellCardsKeepsOneOfEachAndTheDeck) {
    Open();
    for (int i = 0; i < 3; ++i) gProfile.AddCard(5);
    gProfile.AddCard(9);
    gProfile.AddToDeck(5, false);
    const int32_t credits = gProfile.GetCredits();
    TapButton(8);
    EXPECT_EQ(gProfile.GetCardCount(5), 1);
    EXPECT_EQ(gProfile.GetCardCount(9), 1);
    EXPECT_TRUE(gProfile.DeckContains(5));
    const int16_t value = LoadCard(5).GetValue();
    EXPECT_EQ(gProfile.GetCredits(), credits + 2 * value);
    EXPECT_EQ(test::NoteCount("You sold 2 cards for " + std::to_string(2 * value) + " Credits"), 1);
    const PlayerProfile disk = OnDisk();
    EXPECT_EQ(disk.GetCredits(), gProfile.GetCredits());
    EXPECT_EQ(disk.GetCardCount(5), 1);
    // With one of each, nothing is sold.
    TapButton(8);
    EXPECT_EQ(test::NoteCount("You sold 0 cards for 0 Credits"), 1);
}

// A rich character's sale stops at the largest amount of credits, in
// memory and in the file; it used to wrap round to a negative amount.
TEST_F(ShopTest, SaleStopsAtTheLargestCredits) {
    Open();
    test::SetCredits(2147483600);
    for (int i = 0; i < 10; ++i) gProfile.AddCard(300);
    ASSERT_GT(9 * LoadCard(300).GetValue(), INT32_MAX - 2147483600);
    TapButton(8);
    EXPECT_EQ(gProfile.GetCardCount(300), 1);
    EXPECT_EQ(gProfile.GetCredits(), INT32_MAX);
    EXPECT_EQ(OnDisk().GetCredits(), INT32_MAX);
}

TEST_F(ShopTest, QuickDeckIsSavedAndClearDeckIsNot) {
    Open();
    for (int16_t id = 1; id <= 10; ++id) gProfile.AddCard(id);
    TapButton(9);
    EXPECT_EQ(test::NoteCount("Cards are mising to make a full deck !"), 1);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 10);
    EXPECT_EQ(OnDisk().GetDeck().GetCount(), 10) << "saved also when short";
    for (int16_t id = 100; id <= 120; ++id) gProfile.AddCard(id);
    TapButton(9);
    EXPECT_EQ(test::NoteCount("Your deck is done !"), 1);
    EXPECT_EQ(OnDisk().GetDeck().GetCount(), kDeckSize);

    TapButton(7);
    EXPECT_EQ(test::NoteCount("Deck Cleared."), 1);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 0);
    EXPECT_EQ(OnDisk().GetDeck().GetCount(), kDeckSize) << "the file follows with the next save";
}

TEST_F(ShopTest, TutorialBoosterIsShownNotBoughtThenCardsAreLent) {
    ShopScreen& shop = Open();
    shop.SetTutorial(1);
    shop.SetTutorialStep(ShopScreen::kTutorialBuyStep);
    auto down = [](int x, int y) { gClub.GetShopScreen()->TutorialStylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y)); };
    auto up = [](int x, int y) { return gClub.GetShopScreen()->TutorialStylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y)); };

    down(120, 243);
    EXPECT_FALSE(up(120, 243));
    EXPECT_EQ(test::NoteCount("You have to buy a booster to continue the turorial !"), 1);
    down(120, 141);
    EXPECT_FALSE(up(120, 141));
    EXPECT_TRUE(shop.Animating());
    EXPECT_EQ(gProfile.GetCredits(), kStartingCredits) << "nothing is charged";
    EXPECT_EQ(gProfile.GetTotalCards(), 0);
    for (int step = 0; step < 12; ++step) shop.TutorialUpdate();
    ASSERT_TRUE(shop.Waiting());
    platform::Sleep(1001);
    shop.TutorialUpdate();
    EXPECT_EQ(shop.TutorialStep(), ShopScreen::kTutorialManagerStep);
    EXPECT_EQ(test::NoteCount("Click on the Enter Manager button"), 1);
    EXPECT_GT(gProfile.GetTotalCards(), 80);
    EXPECT_EQ(OnDisk().GetTotalCards(), 0) << "the lent cards are not written";

    down(120, 80);
    EXPECT_FALSE(up(120, 80));
    EXPECT_EQ(test::NoteCount("You have go to the Card Manager !"), 1);
    down(120, 198);
    EXPECT_TRUE(up(120, 198));
    EXPECT_EQ(gClub.CurrentType(), kScreenCollection);
}

TEST_F(ShopTest, TutorialGiftSpreadsOverTheSetWithoutCardOne) {
    ShopScreen& shop = Open();
    for (int round = 0; round < 50; ++round) {
        gProfile.Reset();
        shop.GiveTutorialCards();
        EXPECT_EQ(gProfile.GetCardCount(1), 0);
        const int total = gProfile.GetTotalCards();
        EXPECT_GE(total, GetCardCount() / 4);
        EXPECT_LE(total, GetCardCount() / 2);
        int16_t last = 0;
        for (int16_t id = 1; id <= GetCardCount(); ++id) {
            EXPECT_LE(gProfile.GetCardCount(id), 1);
            if (gProfile.GetCardCount(id) != 0) {
                if (last != 0) {
                    EXPECT_LE(id - last, 4);
                }
                last = id;
            }
        }
        EXPECT_GE(last, GetCardCount() - 4) << "the gift reaches the end of the set";
    }
}

TEST_F(ShopTest, QuickSaveBytesAreCheckedOnReading) {
    for (const auto& [state, good] : std::vector<std::pair<std::vector<uint8_t>, bool>>{
             {{0, 0}, true}, {{1, 4}, true}, {{1, 5}, true}, {{2, 4}, false}, {{1, 200}, false}}) {
        test::ClubBlock block;
        block.header.current = kScreenShop;
        block.Add(test::kRecordShop, state);
        EXPECT_EQ(test::ReadBlock(block.Bytes()), good) << int(state[0]) << " " << int(state[1]);
        EXPECT_EQ(gClub.GetShopScreen() != nullptr, good);
    }
}

}  // namespace
}  // namespace qv
