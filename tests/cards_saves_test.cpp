// Character files byte for byte, rejected files, the quick save's frame and level access.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "engine/install_dir.h"
#include "engine/registry_settings.h"
#include "engine/utilities.h"
#include "shell/settings.h"
#include "tests/support/card_data.h"

namespace qv {
namespace {

using test::Bytes;
using test::TempInstall;

uint32_t U32At(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int16_t I16At(const Bytes& b, size_t at) { return static_cast<int16_t>(b[at] | (b[at + 1] << 8)); }

class CharacterFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(install_.OpenTestDatabase());
        CreateRegistryKeys();
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
        CharacterSummary summary;
        summary.name = u"ANNA";
        summary.number = 7;
        summary.textA = u"HI";
        summary.textB = u"YO!";
        summary.slot = 2;
        summary.kind = kLocalPlayer;
        summary.credits = 1234;
        gProfile.SetCharacter(summary);
        gProfile.AddCard(2);
        gProfile.AddCard(2);
        gProfile.AddCard(3);
        gProfile.AddToDeck(3, false);
        ClearStatistics();
        gGamesTied[StatisticsIndex(1, 2)] = 5;
        gGamesLost[StatisticsIndex(1, 2)] = 6;
        gGamesWon[StatisticsIndex(1, 2)] = 7;
        gTourneysWon[1] = 8;
        gTourneysPlayed[2] = 9;
        gPerfectsRealised = 10;
        gPerfectsReceived = 11;
    }

    std::filesystem::path SaveFile(int slot) const {
        return install_.Root() / "SAVE" / ("Player" + std::to_string(slot) + ".QCP");
    }

    // The state a rejected load must leave alone.
    void ExpectOtherCharacterKept() const {
        EXPECT_EQ(gProfile.GetName(), u"OTHER");
        EXPECT_EQ(gProfile.GetSlot(), 1);
        EXPECT_EQ(gProfile.GetTotalCards(), 0);
        EXPECT_EQ(gGamesWon[StatisticsIndex(1, 2)], 0);
        EXPECT_EQ(gPerfectsReceived, 42);
    }
    void BecomeOtherCharacter() {
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
        gProfile.SetName(u"OTHER");
        gProfile.SetSlot(1);
        ClearStatistics();
        gPerfectsReceived = 42;
    }

    TempInstall install_;
};

TEST_F(CharacterFiles, BytesFollowTheFormat) {
    SavePlayer();
    const Bytes b = test::ReadBytes(SaveFile(2));
    const size_t shift = 4 + 2 + 3;
    ASSERT_EQ(b.size(), 683 + shift);
    EXPECT_EQ(b[0], 0x0F);
    EXPECT_EQ(b[1], 0x01);
    EXPECT_EQ(I16At(b, 2), 4);
    EXPECT_EQ(b[4], 'A' ^ 0xA7);
    EXPECT_EQ(b[5], 'N' ^ 0xA7);
    EXPECT_EQ(I16At(b, 8), 7);
    EXPECT_EQ(I16At(b, 10), 2);
    EXPECT_EQ(b[12], 'H' ^ 0xA7);
    EXPECT_EQ(I16At(b, 14), 3);
    EXPECT_EQ(b[18], '!' ^ 0xA7);
    EXPECT_EQ(U32At(b, 10 + shift) ^ 0x2F6B91D4u, 1234u);
    EXPECT_EQ(b[14 + shift], kLocalPlayer);
    EXPECT_EQ(b[15 + shift], 2);
    EXPECT_EQ(b[16 + shift + 1], 2);  // card 2
    EXPECT_EQ(b[16 + shift + 2], 1);  // card 3
    EXPECT_EQ(b[360 + shift], 1);     // deck count
    EXPECT_EQ(I16At(b, 361 + shift), 3);
    EXPECT_EQ(I16At(b, 363 + shift), -1);
    EXPECT_EQ(U32At(b, 393 + shift) ^ 0x2F6B91D4u, static_cast<uint32_t>('A' + 1234 - 4));
    const size_t stats = 397 + shift;
    EXPECT_EQ(I16At(b, stats + 94 * 2 + 6 * 1 + 0), 5);  // tied, lost, won
    EXPECT_EQ(I16At(b, stats + 94 * 2 + 6 * 1 + 2), 6);
    EXPECT_EQ(I16At(b, stats + 94 * 2 + 6 * 1 + 4), 7);
    EXPECT_EQ(I16At(b, stats + 94 * 1 + 90), 8);
    EXPECT_EQ(I16At(b, stats + 94 * 2 + 92), 9);
    EXPECT_EQ(I16At(b, stats + 282), 10);
    EXPECT_EQ(I16At(b, stats + 284), 11);
    // Written beside and renamed: nothing is left over.
    EXPECT_FALSE(std::filesystem::exists(SaveFile(2).string() + ".tmp"));
    EXPECT_EQ(LoadCurrentSlot(), 2);
}

TEST_F(CharacterFiles, WrittenAndReadBackEqual) {
    SavePlayer();
    const PlayerProfile saved = gProfile;
    BecomeOtherCharacter();
    ASSERT_TRUE(LoadPlayerSave(2));
    EXPECT_EQ(gProfile.GetName(), u"ANNA");
    EXPECT_EQ(gProfile.GetNumber(), 7);
    EXPECT_EQ(gProfile.GetCharacter().textA, u"HI");
    EXPECT_EQ(gProfile.GetCharacter().textB, u"YO!");
    EXPECT_EQ(gProfile.GetCredits(), 1234);
    EXPECT_EQ(gProfile.GetSlot(), 2);
    EXPECT_EQ(gProfile.GetKind(), kLocalPlayer);
    for (int16_t id = 1; id <= 344; ++id) ASSERT_EQ(gProfile.GetCardCount(id), saved.GetCardCount(id));
    EXPECT_EQ(gProfile.GetTotalCards(), 3);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 1);
    EXPECT_EQ(gProfile.GetDeck().GetCard(0).GetName(), LoadCard(3).GetName());
    EXPECT_EQ(gGamesWon[5], 7);
    EXPECT_EQ(gGamesLost[5], 6);
    EXPECT_EQ(gGamesTied[5], 5);
    EXPECT_EQ(gTourneysWon[1], 8);
    EXPECT_EQ(gTourneysPlayed[2], 9);
    EXPECT_EQ(gPerfectsRealised, 10);
    EXPECT_EQ(gPerfectsReceived, 11);

    // Any version word loads.
    Bytes b = test::ReadBytes(SaveFile(2));
    b[0] = 0x34;
    b[1] = 0x12;
    test::WriteBytes(SaveFile(2), b);
    BecomeOtherCharacter();
    EXPECT_TRUE(LoadPlayerSave(2));
    EXPECT_EQ(gProfile.GetName(), u"ANNA");
}

TEST_F(CharacterFiles, DamagedFilesAreRejectedWithoutHarm) {
    SavePlayer();
    const Bytes good = test::ReadBytes(SaveFile(2));
    const size_t shift = 9;
    struct Damage {
        const char* what;
        std::function<void(Bytes&)> apply;
    };
    const Damage damages[] = {
        {"checksum", [](Bytes& b) { b[393 + shift] ^= 1; }},
        {"count byte", [](Bytes& b) { b[16 + shift + 10] = 1; }},
        {"truncated in the body", [](Bytes& b) { b.resize(200); }},
        {"truncated in the statistics", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"truncated header", [](Bytes& b) { b.resize(3); }},
        {"absurd deck count", [](Bytes& b) { b[360 + shift] = 200; }},
        {"deck count off by one", [](Bytes& b) { b[360 + shift] = 2; }},
        {"deck id outside the set",
         [](Bytes& b) {
             b[361 + shift] = 0x59;
             b[362 + shift] = 0x01;
         }},
        {"deck card not owned", [](Bytes& b) { b[361 + shift] = 9; }},
        {"absurd name length",
         [](Bytes& b) {
             b[2] = 0xFF;
             b[3] = 0x7F;
         }},
        {"negative text length",
         [](Bytes& b) {
             b[10] = 0xFF;
             b[11] = 0xFF;
         }},
        {"negative count", [](Bytes& b) { b[16 + shift + 1] = 0x90; }},
    };
    for (const Damage& damage : damages) {
        Bytes bad = good;
        damage.apply(bad);
        test::WriteBytes(SaveFile(2), bad);
        BecomeOtherCharacter();
        EXPECT_FALSE(LoadPlayerSave(2)) << damage.what;
        ExpectOtherCharacterKept();
        // Leaving now saves the other character, not the rejected file's slot.
        SavePlayer();
        EXPECT_EQ(test::ReadBytes(SaveFile(2)), bad) << damage.what;
    }
    BecomeOtherCharacter();
    EXPECT_FALSE(LoadPlayerSave(3));  // no such file
    ExpectOtherCharacterKept();
    EXPECT_FALSE(LoadPlayerSave(0));
    EXPECT_FALSE(LoadPlayerSave(255));
}

TEST_F(CharacterFiles, NothingIsWrittenWithoutASlotAndFailuresKeepTheOldFile) {
    SavePlayer();
    const Bytes before = test::ReadBytes(SaveFile(2));

    gProfile.SetSlot(kNoCharacterSlot);
    gProfile.SetName(u"Player 1");
    SavePlayer();
    WriteQuickSave();
    EXPECT_EQ(LoadCurrentSlot(), 2);
    EXPECT_FALSE(std::filesystem::exists(install_.Root() / "SAVE" / "QuickSave.QCP"));
    for (const auto& entry : std::filesystem::directory_iterator(install_.Root() / "SAVE")) {
        EXPECT_EQ(entry.path().filename(), "Player2.QCP");
    }

    // When the new file cannot be written the old one stays as it was.
    std::filesystem::create_directories(SaveFile(2).string() + ".tmp");
    gProfile.SetSlot(2);
    gProfile.AddCredits(1000);
    SavePlayer();
    EXPECT_EQ(test::ReadBytes(SaveFile(2)), before);
}

TEST_F(CharacterFiles, QuickSaveFrameRoundTrip) {
    SavePlayer();
    const std::filesystem::path quick = install_.Root() / "SAVE" / "QuickSave.QCP";

    // The club's block, whatever it holds, lies between the two frame bytes.
    const WString clubPath = gInstallDir + u"club.bin";
    platform::FileHandle club = platform::CreateFile(clubPath, platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    gClub.WriteState(club);
    platform::CloseHandle(club);
    const size_t clubBytes = test::ReadBytes(install_.Root() / "club.bin").size();

    gClubActive = 1;
    WriteQuickSave();
    const Bytes b = test::ReadBytes(quick);
    ASSERT_EQ(b.size(), clubBytes + 2);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1 + clubBytes], 1);
    EXPECT_FALSE(std::filesystem::exists(quick.string() + ".tmp"));

    BecomeOtherCharacter();
    gProfile.SetSlot(kNoCharacterSlot);
    ASSERT_TRUE(LoadQuickSave());
    EXPECT_FALSE(std::filesystem::exists(quick));
    EXPECT_EQ(gProfile.GetName(), u"ANNA");
    EXPECT_EQ(gProfile.GetSlot(), 2);
    EXPECT_EQ(gGamesWon[5], 7);
    EXPECT_EQ(gClubActive, 1);
    EXPECT_FALSE(LoadQuickSave());  // read once only

    // A quick save whose character file is gone restores nothing and goes.
    test::WriteBytes(quick, b);
    std::filesystem::remove(SaveFile(2));
    BecomeOtherCharacter();
    EXPECT_FALSE(LoadQuickSave());
    EXPECT_FALSE(std::filesystem::exists(quick));
    ExpectOtherCharacterKept();
    // So does an empty one.
    test::WriteBytes(quick, {});
    EXPECT_FALSE(LoadQuickSave());
    EXPECT_FALSE(std::filesystem::exists(quick));
}

TEST(LevelAccess, NeedsATournamentAndEveryOpponentBeaten) {
    ClearStatistics();
    EXPECT_TRUE(IsLevelOpen(0));
    EXPECT_FALSE(IsLevelOpen(1));
    EXPECT_FALSE(IsLevelOpen(3));
    EXPECT_FALSE(IsLevelOpen(-1));
    gTourneysWon[0] = 1;
    for (int i = 0; i < 14; ++i) gGamesWon[i * 3] = 1;
    EXPECT_FALSE(IsLevelOpen(1));  // guest 14 never beaten
    gGamesWon[14 * 3] = 2;
    EXPECT_TRUE(IsLevelOpen(1));
    gTourneysWon[0] = 0;
    EXPECT_FALSE(IsLevelOpen(1));  // every guest beaten, no tournament
    for (int i = 0; i < 15; ++i) gGamesWon[i * 3 + 1] = 1;
    gTourneysWon[1] = 1;
    EXPECT_TRUE(IsLevelOpen(2));
    gGamesWon[7 * 3 + 1] = 0;
    EXPECT_FALSE(IsLevelOpen(2));
    ClearStatistics();
}

}  // namespace
}  // namespace qv
