// Deck, hand and pile rules and file forms; the boosters' level mix.
#include <gtest/gtest.h>

#include "cards/card_database.h"
#include "cards/containers.h"
#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "platform/files.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

using test::TempInstall;

Card CardWithId(int16_t id) {
    Card card;
    card.SetId(id);
    return card;
}

int LevelOf(int16_t id) { return (id - 1) / 86 + 1; }

platform::FileHandle OpenForWrite(const WString& path) {
    return platform::CreateFile(path, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
}
platform::FileHandle OpenForRead(const WString& path) {
    return platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
}

TEST(CardDeck, PositionsCountsAndRefills) {
    CardDeck deck;
    EXPECT_EQ(deck.GetCount(), 0);
    EXPECT_TRUE(deck.Contains(kEmptyCardId));
    for (int16_t id = 1; id <= 16; ++id) deck.AddCard(CardWithId(id));
    EXPECT_EQ(deck.GetCount(), 16);
    EXPECT_FALSE(deck.Contains(kEmptyCardId));
    deck.AddCard(CardWithId(99));  // full: nothing happens
    EXPECT_FALSE(deck.Contains(99));

    deck.RemoveCardAt(3);
    EXPECT_EQ(deck.GetCount(), 15);
    deck.RemoveCardAt(3);  // already empty
    EXPECT_EQ(deck.GetCount(), 15);
    deck.AddCard(CardWithId(50));
    EXPECT_EQ(deck.GetCard(3).GetId(), 50);

    EXPECT_TRUE(deck.RemoveCardById(50));
    EXPECT_FALSE(deck.RemoveCardById(50));
    deck.PutCardInSlot(CardWithId(60), 2);  // filled: refused
    EXPECT_EQ(deck.GetCard(2).GetId(), 3);
    deck.PutCardInSlot(CardWithId(60), 3);
    EXPECT_EQ(deck.GetCard(3).GetId(), 60);
    EXPECT_EQ(deck.GetCount(), 16);
}

TEST(CardHand, SlotsAndFlags) {
    CardHand hand;
    EXPECT_EQ(hand.FirstEmptySlot(), 0);
    EXPECT_TRUE(hand.PutCardInSlot(CardWithId(1), 0));
    EXPECT_TRUE(hand.PutCardInSlot(CardWithId(2), 1));
    EXPECT_TRUE(hand.PutCardInSlot(CardWithId(4), 3));
    EXPECT_FALSE(hand.PutCardInSlot(CardWithId(5), 3));
    EXPECT_EQ(hand.FirstEmptySlot(), 2);
    EXPECT_EQ(hand.CountCards(), 3);
    EXPECT_TRUE(hand.AddCard(CardWithId(3)));
    EXPECT_TRUE(hand.AddCard(CardWithId(5)));
    EXPECT_FALSE(hand.AddCard(CardWithId(6)));
    EXPECT_EQ(hand.FirstEmptySlot(), 5);
    EXPECT_TRUE(hand.RemoveCardAt(1));
    EXPECT_FALSE(hand.RemoveCardAt(1));
    EXPECT_FALSE(hand.IsSlotFilled(1));
    EXPECT_EQ(hand.GetCard(1).GetId(), 2);  // an emptied slot keeps its card
}

TEST(DrawPile, StackNeverOverruns) {
    DrawPile pile;
    for (int16_t id = 1; id <= 12; ++id) pile.Push(CardWithId(id));
    EXPECT_EQ(pile.GetCount(), 11);
    EXPECT_EQ(pile.Pop().GetId(), 11);
    for (int i = 0; i < 10; ++i) pile.Pop();
    EXPECT_EQ(pile.GetCount(), 0);
    EXPECT_EQ(pile.Pop().GetId(), 0);
    EXPECT_EQ(pile.GetCount(), 0);
}

TEST(ContainerForms, RoundTripsWithExactSizes) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    const WString path = gInstallDir + u"forms.bin";

    CardDeck deck;
    for (int16_t id : {5, 90, 200, 300}) deck.AddCard(LoadCard(id));
    deck.RemoveCardAt(1);
    CardHand hand;
    hand.PutCardInSlot(LoadCard(7), 0);
    hand.PutCardInSlot(LoadCard(8), 1);
    hand.PutCardInSlot(LoadCard(9), 3);
    hand.RemoveCardAt(1);  // written with its old id 8
    DrawPile pile;
    for (int16_t id : {20, 21, 22, 23, 24, 25}) pile.Push(LoadCard(id));
    pile.Pop();
    pile.Pop();  // count 4, positions 4 and 5 still hold 24 and 25

    platform::FileHandle out = OpenForWrite(path);
    deck.Write(out);
    hand.Write(out);
    pile.Write(out);
    platform::CloseHandle(out);

    const test::Bytes bytes = test::ReadBytes(install.Root() / "forms.bin");
    ASSERT_EQ(bytes.size(), static_cast<size_t>(kDeckFormBytes + kHandFormBytes + kPileFormBytes));
    EXPECT_EQ(bytes[0], 3);                       // deck count
    EXPECT_EQ(bytes[3], 0xFF);                    // position 1 empty: -1
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[33 + 3], 1);                  // hand slot 1 flag
    EXPECT_EQ(bytes[33 + 4], 8);                  // ... and its old id
    EXPECT_EQ(bytes[48], 4);                      // pile count
    EXPECT_EQ(bytes[48 + 1 + 2 * 5], 25);         // ids above the count are written too

    CardDeck deckBack;
    CardHand handBack;
    DrawPile pileBack;
    platform::FileHandle in = OpenForRead(path);
    EXPECT_TRUE(deckBack.Read(in));
    EXPECT_TRUE(handBack.Read(in));
    EXPECT_TRUE(pileBack.Read(in));
    platform::CloseHandle(in);

    EXPECT_EQ(deckBack.GetCount(), 3);
    EXPECT_EQ(deckBack.GetCard(2).GetId(), 200);
    EXPECT_EQ(deckBack.GetCard(2).GetName(), LoadCard(200).GetName());
    EXPECT_EQ(deckBack.GetCard(1).GetId(), kEmptyCardId);
    EXPECT_EQ(handBack.CountCards(), 2);
    EXPECT_FALSE(handBack.IsSlotFilled(1));
    EXPECT_EQ(handBack.GetCard(1).GetId(), 8);
    EXPECT_EQ(handBack.GetCard(3).GetPowers(), LoadCard(9).GetPowers());
    EXPECT_EQ(pileBack.GetCount(), 4);
    EXPECT_EQ(pileBack.Pop().GetId(), 23);
}

TEST(ContainerForms, DamagedFormsStayInBounds) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    const std::filesystem::path file = install.Root() / "damaged.bin";
    const WString path = gInstallDir + u"damaged.bin";

    // A deck whose count byte disagrees with its ids: the ids decide, so a
    // later AddCard still finds its free position.
    test::Bytes deckForm = {2};
    for (int i = 0; i < 16; ++i) {
        deckForm.push_back(i == 0 ? 10 : 0xFF);
        deckForm.push_back(i == 0 ? 0 : 0xFF);
    }
    test::WriteBytes(file, deckForm);
    CardDeck deck;
    platform::FileHandle in = OpenForRead(path);
    EXPECT_TRUE(deck.Read(in));
    platform::CloseHandle(in);
    EXPECT_EQ(deck.GetCount(), 1);

    // The checked reader of character files refuses the same form, and
    // ids outside the database, and leaves the deck empty.
    in = OpenForRead(path);
    EXPECT_FALSE(deck.ReadChecked(in));
    platform::CloseHandle(in);
    EXPECT_EQ(deck.GetCount(), 0);
    deckForm[0] = 1;
    deckForm[1] = 0x59;  // id 345
    deckForm[2] = 0x01;
    test::WriteBytes(file, deckForm);
    in = OpenForRead(path);
    EXPECT_FALSE(deck.ReadChecked(in));
    platform::CloseHandle(in);
    deckForm[0] = 200;
    deckForm[1] = 10;
    deckForm[2] = 0;
    test::WriteBytes(file, deckForm);
    in = OpenForRead(path);
    EXPECT_FALSE(deck.ReadChecked(in));
    platform::CloseHandle(in);
    EXPECT_EQ(deck.GetCount(), 0);

    // A pile count above 11 is held to 11; popping everything stays inside.
    test::Bytes pileForm = {200};
    for (int i = 0; i < 11; ++i) {
        pileForm.push_back(static_cast<uint8_t>(i + 1));
        pileForm.push_back(0);
    }
    test::WriteBytes(file, pileForm);
    DrawPile pile;
    in = OpenForRead(path);
    EXPECT_TRUE(pile.Read(in));
    platform::CloseHandle(in);
    EXPECT_EQ(pile.GetCount(), 11);
    EXPECT_EQ(pile.Pop().GetId(), 11);

    // A short form reports itself.
    test::WriteBytes(file, {3, 1});
    in = OpenForRead(path);
    EXPECT_FALSE(pile.Read(in));
    platform::CloseHandle(in);
}

TEST(Booster, LevelMixOverManyDraws) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    SeedRandom(12345);
    int level4 = 0;
    const int boosters = 3000;
    for (int b = 0; b < boosters; ++b) {
        Booster booster;
        booster.Fill();
        for (int i = 0; i < 4; ++i) ASSERT_EQ(LevelOf(booster.GetCard(i).GetId()), 1);
        for (int i = 4; i < 7; ++i) ASSERT_EQ(LevelOf(booster.GetCard(i).GetId()), 2);
        const int last = LevelOf(booster.GetCard(7).GetId());
        ASSERT_TRUE(last == 3 || last == 4);
        level4 += last == 4 ? 1 : 0;
    }
    // One time in three, give or take the sampling noise.
    EXPECT_GT(level4, boosters / 3 - 150);
    EXPECT_LT(level4, boosters / 3 + 150);
}

// Seeded games must replay: slots 0..6 draw first, then the one-in-three
// draw, then the last card.
TEST(Booster, DrawsInSlotOrder) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    for (uint32_t seed : {1u, 8u, 4242u}) {
        SeedRandom(seed);
        int expected[8];
        for (int i = 0; i < 7; ++i) expected[i] = RandomBelow(86) + 86 * (i < 4 ? 0 : 1) + 1;
        const int lastLevel = RandomBelow(3) == 0 ? 4 : 3;
        expected[7] = RandomBelow(86) + 86 * (lastLevel - 1) + 1;
        SeedRandom(seed);
        Booster booster;
        booster.Fill();
        for (int i = 0; i < 8; ++i) EXPECT_EQ(booster.GetCard(i).GetId(), expected[i]) << seed << " " << i;
    }
}

}  // namespace
}  // namespace qv
