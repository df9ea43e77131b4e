// The opponents file, generated decks by level, the boss's deck and best decks.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "cards/opponents.h"
#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

using test::TempInstall;

int LevelOf(int16_t id) { return (id - 1) / 86 + 1; }

void WriteOpponents(const TempInstall& install, int records) {
    test::Bytes plain;
    for (int r = 0; r < records; ++r) {
        test::AppendField(plain, "name " + std::to_string(r));
        test::AppendField(plain, std::to_string(r + 1));
        test::AppendField(plain, "a" + std::to_string(r));
        test::AppendField(plain, "about " + std::to_string(r));
        test::AppendField(plain, "b" + std::to_string(r));
        plain.push_back('\r');
        plain.push_back('\n');
    }
    test::WriteBytes(install.Root() / "DATA" / "OPPONENTS.DAT", test::Scrambled(plain));
}

TEST(Opponents, FileOrderMapsToInterleavedEntries) {
    TempInstall install;
    WriteOpponents(install, 45);
    LoadOpponents();
    // Record 15 is level 1, index 0: entry 1.
    EXPECT_EQ(Narrow(gOpponents[1].GetName()), "NAME 15");
    EXPECT_EQ(gOpponents[1].GetNumber(), 16);
    EXPECT_EQ(Narrow(gOpponents[1].GetCharacter().textA), "a15");
    EXPECT_EQ(Narrow(gOpponents[1].GetCharacter().textB), "b15");
    EXPECT_EQ(gOpponents[1].GetStrength(), 10);
    // Index 13 of level 2 is entry 41 with strength 23.
    EXPECT_EQ(Narrow(gOpponents[41].GetName()), "NAME 43");
    EXPECT_EQ(gOpponents[41].GetStrength(), 23);
    for (int i = 0; i < kOpponentCount; ++i) {
        EXPECT_EQ(gOpponents[i].GetKind(), kComputerPlayer);
        EXPECT_EQ(gOpponents[i].GetSlot(), kOpponentSlot);
    }
    EXPECT_EQ(Narrow(ReadOpponentText(13, 2)), "about 43");
    EXPECT_EQ(Narrow(ReadOpponentText(0, 0)), "about 0");
    EXPECT_TRUE(ReadOpponentText(15, 0).empty());
}

TEST(Opponents, MissingOrShortFileStillGivesPlayableOpponents) {
    for (int records : {0, 10}) {
        TempInstall install;
        if (records > 0) WriteOpponents(install, records);
        for (PlayerProfile& opponent : gOpponents) {
            opponent.SetKind(0);
            opponent.SetStrength(0);
        }
        LoadOpponents();
        for (int index = 0; index < 15; ++index) {
            for (int level = 0; level < 3; ++level) {
                const PlayerProfile& opponent = gOpponents[index * 3 + level];
                EXPECT_EQ(opponent.GetKind(), kComputerPlayer);
                EXPECT_EQ(opponent.GetStrength(), level * 10 + index / 4);
            }
        }
        EXPECT_EQ(gOpponents[0].GetName().empty(), records == 0);
        EXPECT_TRUE(gOpponents[2].GetName().empty());  // level 2 lies beyond 10 records
        EXPECT_TRUE(ReadOpponentText(3, 2).empty());
    }
}

TEST(Opponents, GeneratedDecksFollowTheTable) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    SeedRandom(2024);
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(OpponentDeckTable[row][0] + OpponentDeckTable[row][1] + OpponentDeckTable[row][2] +
                      OpponentDeckTable[row][3],
                  16);
        for (int round = 0; round < 5; ++round) {
            CardDeck deck;
            GenerateOpponentDeck(deck, row / 4, row % 4);
            ASSERT_EQ(deck.GetCount(), 16);
            std::set<int16_t> ids;
            int perLevel[5] = {};
            for (int p = 0; p < 16; ++p) {
                const int16_t id = deck.GetCard(p).GetId();
                ids.insert(id);
                ++perLevel[LevelOf(id)];
            }
            EXPECT_EQ(ids.size(), 16u) << row;
            for (int c = 1; c <= 4; ++c) EXPECT_EQ(perLevel[c], OpponentDeckTable[row][c - 1]) << row;
        }
    }
}

TEST(Opponents, MoreDrawsGiveMoreValuableCards) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    SeedRandom(5);
    // Average value of the level-2 cards in the weakest and strongest rows
    // that hold them (1 and 6 draws a card).
    auto averageLevel2Value = [](int level, int tier) {
        long sum = 0;
        int n = 0;
        for (int round = 0; round < 40; ++round) {
            CardDeck deck;
            GenerateOpponentDeck(deck, level, tier);
            for (int p = 0; p < 16; ++p) {
                const Card card = deck.GetCard(p);
                if (LevelOf(card.GetId()) == 2) {
                    sum += card.GetValue();
                    ++n;
                }
            }
        }
        return static_cast<double>(sum) / n;
    };
    EXPECT_GT(averageLevel2Value(2, 3), averageLevel2Value(0, 0) + 20);
}

TEST(Opponents, BossDeckHoldsOneToThreeSpecials) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    SeedRandom(77);
    std::set<int> specialCounts;
    for (int round = 0; round < 200; ++round) {
        PlayerProfile boss;
        boss.MakeSpecialDeck();
        ASSERT_EQ(boss.GetDeck().GetCount(), 16);
        int specials = 0;
        for (int p = 0; p < 16; ++p) {
            const Card card = boss.GetDeck().GetCard(p);
            if (card.GetId() > 344) {
                ++specials;
                EXPECT_LE(card.GetId(), 354);
                EXPECT_EQ(card.GetLevel(), kSpecialCardLevel);
                EXPECT_FALSE(card.GetName().empty());
                const int power = card.GetPower(0);
                EXPECT_TRUE(power >= 3 && power <= 5);
                for (int d = 1; d < 8; ++d) EXPECT_EQ(card.GetPower(d), power);
            }
        }
        ASSERT_GE(specials, 1);
        ASSERT_LE(specials, 3);
        specialCounts.insert(specials);
    }
    // A later special may land on an earlier one's position.
    EXPECT_EQ(specialCounts.count(2), 1u);
    EXPECT_EQ(specialCounts.count(3), 1u);
}

// The draws of a generated deck replayed by hand: per card level, a first
// card, then level + tier challengers, each drawn again while already in the
// deck; a strictly more valuable challenger wins. The boss's deck then makes
// each special card (name draw, id draw) before choosing its position.
TEST(Opponents, DeckDrawOrderReplays) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    auto draw = [](const std::set<int16_t>& taken, int cardLevel) {
        int16_t id = 0;
        do {
            id = static_cast<int16_t>(RandomBelow(86) + 86 * (cardLevel - 1) + 1);
        } while (taken.count(id) != 0);
        return id;
    };
    auto replay = [&](int level, int tier) {
        std::vector<int16_t> ids;
        std::set<int16_t> taken;
        for (int c = 1; c <= 4; ++c) {
            for (int n = 0; n < OpponentDeckTable[level * 4 + tier][c - 1]; ++n) {
                int16_t best = draw(taken, c);
                for (int k = 0; k < level + tier; ++k) {
                    const int16_t other = draw(taken, c);
                    if (LoadCard(other).GetValue() > LoadCard(best).GetValue()) best = other;
                }
                ids.push_back(best);
                taken.insert(best);
            }
        }
        return ids;
    };
    for (const auto& [level, tier] : {std::pair{0, 0}, std::pair{1, 2}, std::pair{2, 3}}) {
        SeedRandom(600 + level);
        const std::vector<int16_t> expected = replay(level, tier);
        SeedRandom(600 + level);
        CardDeck deck;
        GenerateOpponentDeck(deck, level, tier);
        for (int p = 0; p < 16; ++p) EXPECT_EQ(deck.GetCard(p).GetId(), expected[p]) << level << tier << p;
    }

    SeedRandom(77);
    std::vector<int16_t> expected = replay(2, 3);
    for (int power = 5; power >= 3; --power) {
        RandomBelow(86);  // the special card's name
        const int16_t id = static_cast<int16_t>(345 + RandomBelow(10));
        expected[static_cast<size_t>(RandomBelow(16))] = id;
    }
    SeedRandom(77);
    PlayerProfile boss;
    boss.MakeSpecialDeck();
    for (int p = 0; p < 16; ++p) EXPECT_EQ(boss.GetDeck().GetCard(p).GetId(), expected[p]) << p;
}

TEST(Opponents, BestDecksFromTheCollection) {
    TempInstall install;
    // Cards 1..10 all powers 1 (score -16..-14), card 11 all 5 (32..34),
    // card 12 all 3 (8..10): the best deck takes every owned card once.
    install.WriteCardDatabase(344, [](int id) {
        test::TestCard card = test::DefaultTestCard(id);
        card.powers = id == 11 ? "55555555" : id == 12 ? "33333333" : "11111111";
        return card;
    });
    ASSERT_TRUE(OpenCardDatabase());
    SeedRandom(3);
    PlayerProfile profile;
    profile.SetKind(kLocalPlayer);
    for (int16_t id = 1; id <= 10; ++id) {
        profile.AddCard(id);
        profile.AddCard(id);
    }
    EXPECT_FALSE(profile.BuildBestDeck());
    EXPECT_EQ(profile.GetDeck().GetCount(), 10);

    profile.AddCard(11);
    profile.AddCard(12);
    EXPECT_FALSE(profile.BuildBestDeck());
    ASSERT_EQ(profile.GetDeck().GetCount(), 12);
    // Ascending by score: the strongest card lands last.
    EXPECT_EQ(profile.GetDeck().GetCard(11).GetId(), 11);
    EXPECT_EQ(profile.GetDeck().GetCard(10).GetId(), 12);

    // The automatic top-up takes the best card not yet in the deck.
    profile.ClearDeck();
    profile.AddToDeck(1, false);
    EXPECT_FALSE(profile.AddBestCardToDeck());
    EXPECT_TRUE(profile.DeckContains(11));
    EXPECT_FALSE(profile.AddBestCardToDeck());
    EXPECT_TRUE(profile.DeckContains(12));

    for (int16_t id = 13; id <= 30; ++id) profile.AddCard(id);
    EXPECT_TRUE(profile.BuildBestDeck());
    EXPECT_TRUE(profile.DeckContains(11));
    EXPECT_TRUE(profile.DeckContains(12));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(Opponents, TheBuiltSetHoldsFortyFiveDistinctOpponents) {
    const std::filesystem::path built = QV_INSTALL_DIR;
    if (!std::filesystem::exists(built / "DATA" / "OPPONENTS.DAT")) GTEST_SKIP() << "no built asset set";
    const WString previous = gInstallDir;
    gInstallDir = Widen(built.string()) + u"/";
    for (char16_t& c : gInstallDir) c = c == u'/' ? u'\\' : c;
    LoadOpponents();
    // A restored match finds its opponent by name, so names must differ.
    std::set<WString> names;
    for (const PlayerProfile& opponent : gOpponents) {
        EXPECT_FALSE(opponent.GetName().empty());
        EXPECT_NE(opponent.GetName(), u"SAINT ARMAN");
        names.insert(opponent.GetName());
    }
    EXPECT_EQ(names.size(), 45u);
    EXPECT_FALSE(ReadOpponentText(14, 2).empty());
    gInstallDir = previous;
}

}  // namespace
}  // namespace qv
