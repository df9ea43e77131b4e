// The card database: refusing bad files, decoding records, levels and info texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cards/card_database.h"
#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

using test::TempInstall;
using test::TestCard;

TEST(CardDatabase, RefusesMissingOrMisSizedDatabases) {
    TempInstall install;
    EXPECT_FALSE(OpenCardDatabase());
    EXPECT_EQ(GetCardCount(), 0);

    // Any count but the fixed tables' size is refused like a missing file.
    for (int count : {4, 343, 345, 400}) {
        install.WriteCardDatabase(count);
        EXPECT_FALSE(OpenCardDatabase()) << count;
        EXPECT_EQ(GetCardCount(), 0) << count;
    }
    // A count whose low 16 bits say 344 is still 344.
    install.WriteCardDatabase(344, test::DefaultTestCard, 0x10000 + 344);
    EXPECT_TRUE(OpenCardDatabase());
    EXPECT_EQ(GetCardCount(), 344);
    CloseCardDatabase();
    CloseCardDatabase();  // twice is harmless
    EXPECT_EQ(GetCardCount(), 0);

    install.WriteCardDatabase(344);
    std::filesystem::remove(install.CardsDir() / "CARDS.DAT");
    EXPECT_FALSE(OpenCardDatabase());
}

TEST(CardDatabase, RefusesAnIndexPointingOutsideTheData) {
    TempInstall install;
    install.WriteCardDatabase(344);
    // Cut the data file short: the last records now end beyond it.
    test::Bytes data = test::ReadBytes(install.CardsDir() / "CARDS.DAT");
    data.resize(data.size() - 10);
    test::WriteBytes(install.CardsDir() / "CARDS.DAT", data);
    EXPECT_FALSE(OpenCardDatabase());

    // Offsets that go backwards.
    install.WriteCardDatabase(344);
    test::Bytes index = test::ReadBytes(install.CardsDir() / "CARDS.IND");
    index[4 * 10] = 0xFF;
    index[4 * 10 + 1] = 0xFF;
    index[4 * 10 + 2] = 0xFF;
    index[4 * 10 + 3] = 0x7F;
    test::WriteBytes(install.CardsDir() / "CARDS.IND", index);
    EXPECT_FALSE(OpenCardDatabase());
    // A short index.
    index.resize(100);
    test::WriteBytes(install.CardsDir() / "CARDS.IND", index);
    EXPECT_FALSE(OpenCardDatabase());
}

TEST(CardDatabase, DecodesRecords) {
    TempInstall install;
    install.WriteCardDatabase(344, [](int id) {
        TestCard card = test::DefaultTestCard(id);
        if (id == 1) card = {"ember ling", "10203040", 101, 1};
        if (id == 2) card = {"Ash", "55555555", 3, 1};
        // Digits outside the powers in play leave no arrow; a short field
        // leaves the missing directions empty.
        if (id == 3) card = {"odd", "7x9", 65537 * 2, 1};
        if (id == 4) card = {"neg", "00000001", 0xFFFF, 1};
        return card;
    });
    ASSERT_TRUE(OpenCardDatabase());

    const Card first = LoadCard(1);
    EXPECT_EQ(first.GetId(), 1);
    EXPECT_EQ(Narrow(first.GetName()), "EMBER LING");
    EXPECT_EQ(first.GetPowers(), 0x103081u);
    EXPECT_EQ(first.GetPower(0), 1);
    EXPECT_EQ(first.GetPower(2), 2);
    EXPECT_EQ(first.GetPower(4), 3);
    EXPECT_EQ(first.GetPower(6), 4);
    EXPECT_EQ(first.GetPower(-1), 0);
    EXPECT_EQ(first.GetValue(), 37);  // 101 >> 1 = 50, x 0.74
    EXPECT_EQ(first.GetLevel(), 1);

    const Card second = LoadCard(2);
    EXPECT_EQ(second.GetValue(), 0);  // 1 x 0.74 truncated
    for (int d = 0; d < 8; ++d) EXPECT_EQ(second.GetPower(d), 5);

    const Card third = LoadCard(3);
    EXPECT_EQ(third.GetPowers(), 0u);
    EXPECT_EQ(third.GetValue(), 0);  // low 16 bits of 131074 are 2; 1 x 0.74

    // 0xFFFF is -1 as a signed 16-bit number; halved towards minus infinity -1.
    EXPECT_EQ(LoadCard(4).GetValue(), 0);  // -0.74 truncates towards zero
    EXPECT_EQ(LoadCard(4).GetPower(7), 1);

    const Card last = LoadCard(344);
    EXPECT_EQ(last.GetId(), 344);
    EXPECT_EQ(Narrow(last.GetName()), "CARD 344");
    EXPECT_EQ(last.GetLevel(), 4);

    for (int16_t id : {0, -1, 345, 32767}) {
        const Card none = LoadCard(id);
        EXPECT_EQ(none.GetId(), 0) << id;
        EXPECT_TRUE(none.GetName().empty()) << id;
    }
}

TEST(CardDatabase, RandomCardsStayInTheirQuarter) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    SeedRandom(7);
    for (int level = 1; level <= 4; ++level) {
        std::set<int> seen;
        for (int i = 0; i < 2000; ++i) {
            const int id = RandomCardOfLevel(level).GetId();
            ASSERT_GE(id, 86 * (level - 1) + 1);
            ASSERT_LE(id, 86 * level);
            seen.insert(id);
        }
        // Every card of the quarter can come up.
        EXPECT_EQ(seen.size(), 86u) << level;
    }
}

TEST(CardDatabase, InfoTextsPickEntryAndLevel) {
    TempInstall install;
    ASSERT_TRUE(install.OpenTestDatabase());
    EXPECT_EQ(Narrow(BuildCardInfoText(86)), "Family 85\nLevel 1\nNo 86\n\n  line 1");
    EXPECT_EQ(Narrow(BuildCardInfoText(87)), "Family 0\nLevel 2\nNo 87\n\n  line 1\n  line 2");
    EXPECT_EQ(Narrow(BuildCardInfoText(344)),
              "Family 85\nLevel 4\nNo 344\n\n  line 1\n  line 2\n  line 3\n  line 4");
    EXPECT_TRUE(BuildCardInfoText(0).empty());
    EXPECT_TRUE(BuildCardInfoText(345).empty());

    // Without the info file the text still says level and number.
    std::filesystem::remove(install.CardsDir() / "CARDS.INF");
    EXPECT_EQ(Narrow(BuildCardInfoText(87)), "\nLevel 2\nNo 87\n\n  \n  ");
}

TEST(CardDatabase, TheBuiltSetLoadsWhole) {
    const std::filesystem::path built = QV_INSTALL_DIR;
    if (!std::filesystem::exists(built / "DATA" / "CARDS" / "SET 1" / "CARDS.IND")) {
        GTEST_SKIP() << "no built asset set";
    }
    const WString previous = gInstallDir;
    gInstallDir = Widen(built.string()) + u"/";
    for (char16_t& c : gInstallDir) c = c == u'/' ? u'\\' : c;
    ASSERT_TRUE(OpenCardDatabase());
    std::set<std::string> names;
    for (int16_t id = 1; id <= 344; ++id) {
        const Card card = LoadCard(id);
        ASSERT_EQ(card.GetId(), id);
        EXPECT_FALSE(card.GetName().empty()) << id;
        // Boosters, decks and info texts all rely on the quarter rule.
        EXPECT_EQ(card.GetLevel(), (id - 1) / 86 + 1) << id;
        for (int d = 0; d < 8; ++d) EXPECT_LE(card.GetPower(d), 5) << id;
        names.insert(Narrow(card.GetName()));
        EXPECT_FALSE(BuildCardInfoText(id).empty()) << id;
    }
    EXPECT_EQ(names.size(), 344u);
    CloseCardDatabase();
    gInstallDir = previous;
}

}  // namespace
}  // namespace qv
