// The player profile: collection rules, trade box, boosters and the checksum.
#include <gtest/gtest.h>

#include "cards/profile.h"
#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "platform/files.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

using test::TempInstall;

PlayerProfile NamedProfile(const WString& name) {
    PlayerProfile profile;
    profile.SetKind(kLocalPlayer);
    profile.SetName(name);
    profile.SetSlot(1);
    return profile;
}

TEST(PlayerProfile, NewProfileAndChecksumExamples) {
    PlayerProfile profile = NamedProfile(u"ANNA");
    EXPECT_EQ(profile.GetCredits(), 700);
    EXPECT_EQ(profile.GetTotalCards(), 0);
    EXPECT_EQ(profile.TradeBoxCount(), 0);
    EXPECT_EQ(profile.GetNewCards()[0], kEmptyCardId);
    EXPECT_EQ(profile.ComputeChecksum(), 'A' + 700);

    profile.AddCard(2);
    profile.AddCard(2);
    profile.AddCard(3);
    EXPECT_EQ(profile.ComputeChecksum(), 'A' + 700 - 4);
    profile.AddCard(1);  // weight 0
    EXPECT_EQ(profile.ComputeChecksum(), 'A' + 700 - 4);

    // Wraps in 32 bits and starts at 0 for an empty name.
    PlayerProfile rich = NamedProfile(u"");
    rich.AddCredits(INT32_MAX - 700);
    rich.AddCard(344);
    EXPECT_EQ(rich.ComputeChecksum(), INT32_MAX - 343);
    rich.SetName(u"A");
    rich.RemoveCard(344);
    EXPECT_EQ(rich.ComputeChecksum(), static_cast<int32_t>(0x7FFFFFFFu + 65u));
}

// However they are gained, credits stop at the largest amount (and a loss
// at the smallest) instead of wrapping round.
TEST(PlayerProfile, CreditsStopAtTheirLargestAmount) {
    PlayerProfile profile = NamedProfile(u"ANNA");
    profile.AddCredits(2147483600 - 700);
    profile.AddCredits(423);  // wrapped to -2147483273
    EXPECT_EQ(profile.GetCredits(), INT32_MAX);
    profile.AddCredits(INT32_MAX);
    EXPECT_EQ(profile.GetCredits(), INT32_MAX);
    profile.SubtractCredits(5);
    profile.AddCredits(5);
    EXPECT_EQ(profile.GetCredits(), INT32_MAX);
    profile.AddCredits(INT32_MIN);
    EXPECT_EQ(profile.GetCredits(), -1);
    profile.AddCredits(INT32_MIN);
    EXPECT_EQ(profile.GetCredits(), INT32_MIN);
}

TEST(PlayerProfile, CollectionCountsAndCascade) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    PlayerProfile profile = NamedProfile(u"BO");
    profile.AddCard(10);
    profile.AddCard(10);
    profile.AddCard(20);
    EXPECT_EQ(profile.GetCardCount(10), 2);
    EXPECT_EQ(profile.GetTotalCards(), 3);
    EXPECT_EQ(profile.CountDistinct(), 2);
    EXPECT_FALSE(profile.HasSixteenCards());

    ASSERT_TRUE(profile.AddToDeck(10, false));
    ASSERT_TRUE(profile.AddToDeck(20, false));
    ASSERT_TRUE(profile.AddToTradeBox(20));
    ASSERT_TRUE(profile.AddToTradeBox(10));
    profile.RemoveCard(10);  // one copy left: stays in deck and box
    EXPECT_TRUE(profile.DeckContains(10));
    EXPECT_TRUE(profile.TradeBoxContains(10));
    profile.RemoveCard(20);  // the last copy leaves both
    EXPECT_FALSE(profile.DeckContains(20));
    EXPECT_FALSE(profile.TradeBoxContains(20));
    EXPECT_EQ(profile.GetTradeBoxCard(0), 10);
    EXPECT_EQ(profile.GetTotalCards(), 1);
    profile.RemoveCard(20);  // not owned: nothing
    EXPECT_EQ(profile.GetTotalCards(), 1);

    // A count never reaches the 64 that the reader masks away.
    for (int i = 0; i < 100; ++i) profile.AddCard(30);
    EXPECT_EQ(profile.GetCardCount(30), kMaxCopies);
    EXPECT_EQ(profile.GetTotalCards(), 1 + kMaxCopies);
    profile.AddCard(0);
    profile.AddCard(345);
    EXPECT_EQ(profile.GetTotalCards(), 1 + kMaxCopies);

    for (int16_t id = 40; id < 60; ++id) {
        profile.AddCard(id);
        profile.AddToDeck(id, false);
    }
    EXPECT_EQ(profile.GetDeck().GetCount(), 16);
    EXPECT_FALSE(profile.AddToDeck(61, false));
    profile.ClearDeck();
    EXPECT_EQ(profile.GetDeck().GetCount(), 0);
}

TEST(PlayerProfile, TradeBoxOrderAndLimits) {
    PlayerProfile profile = NamedProfile(u"CY");
    for (int16_t id = 1; id <= 9; ++id) EXPECT_TRUE(profile.AddToTradeBox(id));
    EXPECT_EQ(profile.TradeBoxCount(), 9);  // the ninth leaves no -1
    EXPECT_FALSE(profile.AddToTradeBox(10));
    EXPECT_TRUE(profile.RemoveFromTradeBox(4));
    EXPECT_EQ(profile.TradeBoxCount(), 8);
    EXPECT_EQ(profile.GetTradeBoxCard(3), 5);
    EXPECT_EQ(profile.GetTradeBoxCard(8), kEmptyCardId);
    profile.RemoveTradeBoxAt(0);
    EXPECT_EQ(profile.GetTradeBoxCard(0), 2);
    EXPECT_FALSE(profile.RemoveFromTradeBox(1));
    EXPECT_FALSE(profile.TradeBoxContains(kEmptyCardId));
    profile.ClearTradeBox();
    EXPECT_EQ(profile.TradeBoxCount(), 0);
}

TEST(PlayerProfile, GiveAwayTradeBoxWalksACopy) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    PlayerProfile profile = NamedProfile(u"DI");
    profile.AddCard(5);
    profile.AddCard(5);
    profile.AddCard(7);
    profile.AddCard(9);
    profile.AddCard(9);
    profile.AddToDeck(7, false);
    profile.AddToTradeBox(5);
    profile.AddToTradeBox(7);
    profile.AddToTradeBox(9);
    profile.GiveAwayTradeBox();
    EXPECT_EQ(profile.GetCardCount(5), 1);
    EXPECT_EQ(profile.GetCardCount(7), 0);
    EXPECT_EQ(profile.GetCardCount(9), 1);
    EXPECT_FALSE(profile.DeckContains(7));
    EXPECT_EQ(profile.TradeBoxCount(), 2);
    EXPECT_EQ(profile.GetTradeBoxCard(0), 5);
    EXPECT_EQ(profile.GetTradeBoxCard(1), 9);
}

TEST(PlayerProfile, OpenBoostersListsTheirCards) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    SeedRandom(99);
    PlayerProfile profile = NamedProfile(u"EV");
    profile.OpenBoosters(3);
    EXPECT_EQ(profile.GetTotalCards(), 24);
    int listed = 0;
    for (int i = 0; i < kNewCardsSize; ++i) {
        const int16_t id = profile.GetNewCards()[i];
        if (i < 24) {
            ASSERT_GE(id, 1);
            EXPECT_GT(profile.GetCardCount(id), 0);
            ++listed;
        } else {
            EXPECT_EQ(id, kEmptyCardId) << i;
        }
    }
    EXPECT_EQ(listed, 24);
    // More than the list holds is held to ten boosters.
    profile.OpenBoosters(12);
    EXPECT_EQ(profile.GetTotalCards(), 24 + 80);
    profile.OpenBoosters(0);
    EXPECT_EQ(profile.GetNewCards()[0], kEmptyCardId);
    EXPECT_EQ(profile.GetTotalCards(), 104);
}

TEST(PlayerProfile, BodyKeepsAChangedCountButReportsIt) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    PlayerProfile profile = NamedProfile(u"FAY");
    profile.AddCard(3);
    profile.AddToDeck(3, false);
    const WString path = gInstallDir + u"body.bin";
    platform::FileHandle out = platform::CreateFile(path, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    ASSERT_TRUE(profile.Write(out));
    platform::CloseHandle(out);

    test::Bytes bytes = test::ReadBytes(install.Root() / "body.bin");
    // name 2+3, number 2, two empty texts 2+2, credits 4, kind, slot, counts, deck, checksum.
    ASSERT_EQ(bytes.size(), 395u + 3u);
    const size_t counts = 2 + 3 + 2 + 2 + 2 + 4 + 1 + 1;
    EXPECT_EQ(bytes[counts + 2], 1);  // card 3
    bytes[counts + 50] = 2;           // two copies of card 51 appear
    test::WriteBytes(install.Root() / "body.bin", bytes);

    PlayerProfile back;
    back.SetKind(kLocalPlayer);
    platform::FileHandle in = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
    EXPECT_FALSE(back.Read(in));
    platform::CloseHandle(in);
    EXPECT_EQ(back.GetCardCount(51), 2);
    EXPECT_EQ(back.GetTotalCards(), 3);
    EXPECT_EQ(back.GetName(), u"FAY");
    EXPECT_TRUE(back.DeckContains(3));
}

}  // namespace
}  // namespace qv
