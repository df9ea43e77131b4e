// The character screen in this process: the keyboard's keys, the number
// field, slot heads of damaged files, and what creating, loading and
// deleting leave in memory and on disk. Without the font, every question is
// answered at once with its right-hand label ("Ok" to delete, "No" to the
// tutorial).
#include <gtest/gtest.h>

#include <string>

#include "cards/launchers.h"
#include "cards/statistics.h"
#include "club/character_screen.h"
#include "engine/registry_settings.h"
#include "shell/settings.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

class CharacterScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        CreateRegistryKeys();
        for (const char* name : {"Player1.QCP", "Player2.QCP", "Player3.QCP"}) std::filesystem::remove(SavePath(name));
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
        ClearStatistics();
        SaveCurrentSlot(1);
    }
    // A saved character in the slot; gProfile is left without a slot and
    // the registry selects slot 1.
    static void SaveInSlot(int slot, const char* name, int32_t credits) {
        MakeLocalPlayer(DeckFrom(1), name);
        SetCredits(credits);
        gProfile.SetSlot(static_cast<uint8_t>(slot));
        SavePlayer();
        SaveCurrentSlot(1);
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
    }
    static void TypeKeys(CharacterScreen& screen, const std::string& keys) {
        for (char c : keys) {
            int index = c == ' ' ? 36 : (c >= 'A' && c <= 'Z' ? c - 'A' : (c == '0' ? 35 : 26 + c - '1'));
            Tap(screen, 13 + 17 * (index % 13) + 7, 257 + 19 * (index / 13) + 7);
        }
    }
    static constexpr int kOk[2] = {10, 240};
    static constexpr int kDelete[2] = {215, 240};
    static constexpr int kSlotRowY[3] = {190, 205, 220};
};

TEST(CharacterKeyboard, KeysGapsAndTheWideBackspace) {
    struct Case {
        int x, y;
        KeyboardKey::Kind kind;
        char16_t c;
    };
    const Case cases[] = {
        {13, 257, KeyboardKey::kCharacter, u'A'},  {27, 271, KeyboardKey::kCharacter, u'A'},
        {28, 260, KeyboardKey::kNone, 0},          {20, 272, KeyboardKey::kNone, 0},  // the gaps around A
        {30, 260, KeyboardKey::kCharacter, u'B'},  {13 + 17 * 12, 257, KeyboardKey::kCharacter, u'M'},
        {13, 276, KeyboardKey::kCharacter, u'N'},  {13 + 17 * 12 + 14, 290, KeyboardKey::kCharacter, u'Z'},
        {13, 295, KeyboardKey::kCharacter, u'1'},  {13 + 17 * 8, 300, KeyboardKey::kCharacter, u'9'},
        {13 + 17 * 9, 300, KeyboardKey::kCharacter, u'0'}, {13 + 17 * 10, 300, KeyboardKey::kCharacter, u' '},
        {200, 295, KeyboardKey::kBackspace, 0},    {215, 309, KeyboardKey::kBackspace, 0},  // in a gap, still the key
        {216, 300, KeyboardKey::kBackspace, 0},    {229, 309, KeyboardKey::kBackspace, 0},
        {198, 300, KeyboardKey::kNone, 0},         {100, 313, KeyboardKey::kNone, 0},
        {12, 260, KeyboardKey::kNone, 0},          {232, 260, KeyboardKey::kNone, 0},
    };
    for (const Case& k : cases) {
        const KeyboardKey key = KeyAtPoint(k.x, k.y);
        EXPECT_EQ(key.kind, k.kind) << k.x << "," << k.y;
        if (k.kind == KeyboardKey::kCharacter) {
            EXPECT_EQ(key.character, k.c) << k.x << "," << k.y;
        }
    }
}

TEST(CharacterKeyboard, NumberFieldTakesFourDigitsAndEmptiesAtZero) {
    int16_t n = -1;
    for (int d : {1, 2, 3, 4}) n = AppendDigit(n, d);
    EXPECT_EQ(n, 1234);
    EXPECT_EQ(AppendDigit(n, 5), 1234);
    n = DropDigit(n);
    EXPECT_EQ(n, 123);
    EXPECT_EQ(DropDigit(7), -1);
    EXPECT_EQ(DropDigit(-1), -1);
    // 0 typed first is a number of its own, drawn as "0"; a digit after it replaces it.
    EXPECT_EQ(AppendDigit(-1, 0), 0);
    EXPECT_EQ(AppendDigit(0, 5), 5);
    EXPECT_EQ(AppendDigit(999, 9), 9999);
}

TEST_F(CharacterScreenTest, SlotHeadsOfMissingShortAndDamagedFiles) {
    SaveInSlot(1, "ALICE", 1234);
    const CharacterSummary alice = CharacterScreen::ReadSlotHeader(0);
    EXPECT_EQ(alice.name, u"ALICE");
    EXPECT_EQ(alice.credits, 1234);
    EXPECT_EQ(alice.slot, 1);

    const CharacterSummary empty = CharacterScreen::ReadSlotHeader(2);
    EXPECT_TRUE(empty.name.empty());
    EXPECT_EQ(empty.number, -1);
    EXPECT_EQ(empty.credits, 700);
    EXPECT_EQ(empty.slot, 3);

    // A name count of 30000 in a short file: nothing is read past the file,
    // and the slot shows empty.
    Bytes damaged = {0x0F, 0x01, 0x30, 0x75, 'x', 'y'};
    WriteBytes(SavePath("Player2.QCP"), damaged);
    const CharacterSummary bad = CharacterScreen::ReadSlotHeader(1);
    EXPECT_TRUE(bad.name.empty());
    EXPECT_EQ(bad.credits, 700);
    EXPECT_TRUE(CharacterScreen::SlotFileExists(1));

    // Cut after the name: the name stays, the rest is the empty slot's.
    Bytes cut = ReadBytes(SavePath("Player1.QCP"));
    cut.resize(2 + 2 + 5);
    WriteBytes(SavePath("Player2.QCP"), cut);
    EXPECT_EQ(CharacterScreen::ReadSlotHeader(1).name, u"ALICE");
    EXPECT_EQ(CharacterScreen::ReadSlotHeader(1).credits, 700);
}

TEST_F(CharacterScreenTest, RegistrySlotOutsideOneToThreeSelectsTheFirst) {
    SaveInSlot(3, "CAROL", 700);
    SaveCurrentSlot(3);
    EXPECT_EQ(CharacterScreen().SelectedSlot(), 2);
    for (int8_t value : {int8_t{0}, int8_t{4}, int8_t{-1}}) {
        SaveCurrentSlot(value);
        CharacterScreen screen;
        EXPECT_EQ(screen.SelectedSlot(), 0) << int{value};
        EXPECT_TRUE(screen.IsNewSlot());
    }
}

TEST_F(CharacterScreenTest, CreatingZeroesEveryCounterAndWritesALoadableFile) {
    gGamesWon[44] = 3;
    gTourneysWon[2] = 1;
    gPerfectsReceived = 9;
    CharacterScreen screen;
    ASSERT_TRUE(screen.IsNewSlot());
    // OK on an empty name creates nothing.
    EXPECT_FALSE(Tap(screen, kOk[0], kOk[1]));
    EXPECT_FALSE(std::filesystem::exists(SavePath("Player1.QCP")));

    TypeKeys(screen, "BOB");
    Tap(screen, 100, 80);  // the number field
    TypeKeys(screen, "42X");
    EXPECT_EQ(screen.Slot(0).number, 42) << "letters are ignored on the number";
    EXPECT_TRUE(Tap(screen, kOk[0], kOk[1]));

    EXPECT_EQ(gProfile.GetSlot(), 1);
    EXPECT_EQ(gGamesWon[44], 0);
    EXPECT_EQ(gTourneysWon[2], 0);
    EXPECT_EQ(gPerfectsReceived, 0);
    gGamesWon[44] = 5;
    gProfile = PlayerProfile();
    ASSERT_TRUE(LoadPlayerSave(1));
    EXPECT_EQ(gProfile.GetName(), u"BOB");
    EXPECT_EQ(gProfile.GetNumber(), 42);
    EXPECT_EQ(gProfile.GetCredits(), 700);
    EXPECT_EQ(gGamesWon[44], 0);
}

TEST_F(CharacterScreenTest, RefusedFileGoesAndLeavesProfileAndCountersAlone) {
    SaveInSlot(2, "MALLORY", 900);
    Bytes bytes = ReadBytes(SavePath("Player2.QCP"));
    bytes[bytes.size() - 287] ^= 0x55;  // inside the checksum
    WriteBytes(SavePath("Player2.QCP"), bytes);

    MakeLocalPlayer(DeckFrom(20), "TRENT");
    gProfile.SetSlot(kNoCharacterSlot);
    gGamesLost[7] = 4;
    CharacterScreen screen;
    Tap(screen, 100, kSlotRowY[1]);
    ASSERT_EQ(screen.SelectedSlot(), 1);
    ASSERT_FALSE(screen.IsNewSlot());
    EXPECT_FALSE(Tap(screen, kOk[0], kOk[1]));

    EXPECT_FALSE(std::filesystem::exists(SavePath("Player2.QCP")));
    EXPECT_TRUE(screen.IsNewSlot());
    EXPECT_TRUE(screen.Slot(1).name.empty());
    EXPECT_EQ(gProfile.GetName(), u"TRENT");
    EXPECT_EQ(gProfile.GetSlot(), kNoCharacterSlot);
    EXPECT_EQ(gProfile.GetTotalCards(), 16);
    EXPECT_EQ(gGamesLost[7], 4);

    // The current character's own file, damaged after the screen saved it:
    // the file goes, the character in memory stays.
    MakeLocalPlayer(DeckFrom(40), "KEPT");
    gProfile.SetSlot(3);
    CharacterScreen again;
    bytes = ReadBytes(SavePath("Player3.QCP"));
    bytes[bytes.size() - 287] ^= 0x55;
    WriteBytes(SavePath("Player3.QCP"), bytes);
    Tap(again, 100, kSlotRowY[2]);
    EXPECT_FALSE(Tap(again, kOk[0], kOk[1]));
    EXPECT_FALSE(std::filesystem::exists(SavePath("Player3.QCP")));
    EXPECT_EQ(gProfile.GetName(), u"KEPT");
    EXPECT_EQ(gProfile.GetSlot(), 3);
    EXPECT_EQ(gGamesLost[7], 4);
}

TEST_F(CharacterScreenTest, DeletingTheCharacterInUseSticks) {
    SaveInSlot(1, "ALICE", 700);
    ASSERT_TRUE(LoadPlayerSave(1));
    {
        CharacterScreen screen;  // saves ALICE on the way in
        ASSERT_FALSE(screen.IsNewSlot());
        EXPECT_FALSE(Tap(screen, kDelete[0], kDelete[1]));
        EXPECT_TRUE(screen.IsNewSlot());
        EXPECT_TRUE(screen.Slot(0).name.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(SavePath("Player1.QCP")));
    EXPECT_EQ(gProfile.GetSlot(), kNoCharacterSlot);
    // Leaving the game saves the current character: nothing comes back.
    SavePlayer();
    EXPECT_FALSE(std::filesystem::exists(SavePath("Player1.QCP")));
}

TEST_F(CharacterScreenTest, DeleteOnAnEmptyNameAndOnTypedDetails) {
    SaveInSlot(2, "DAVE", 700);
    CharacterScreen screen;
    Tap(screen, kDelete[0], kDelete[1]);  // slot 1 has no name: nothing asked
    EXPECT_TRUE(std::filesystem::exists(SavePath("Player2.QCP")));
    TypeKeys(screen, "EVE");
    Tap(screen, kDelete[0], kDelete[1]);  // typed details only: cleared
    EXPECT_TRUE(screen.Slot(0).name.empty());
    EXPECT_TRUE(std::filesystem::exists(SavePath("Player2.QCP")));
    // The selected slot's row does nothing; another row selects it.
    Tap(screen, 100, kSlotRowY[0]);
    EXPECT_EQ(screen.SelectedSlot(), 0);
    Tap(screen, 100, kSlotRowY[1]);
    EXPECT_EQ(screen.SelectedSlot(), 1);
    EXPECT_FALSE(screen.IsNewSlot());
}

TEST_F(CharacterScreenTest, LoadingTakesTheDetailsAsEditedOnScreen) {
    SaveInSlot(1, "ALICE", 2500);
    CharacterScreen screen;
    TypeKeys(screen, "Z");
    Tap(screen, 100, 110);  // text A
    TypeKeys(screen, "CHEF");
    EXPECT_TRUE(Tap(screen, kOk[0], kOk[1]));
    EXPECT_EQ(gProfile.GetName(), u"ALICEZ");
    EXPECT_EQ(gProfile.GetCharacter().textA, u"CHEF");
    EXPECT_EQ(gProfile.GetCredits(), 2500);
    EXPECT_EQ(gProfile.GetSlot(), 1);
    EXPECT_EQ(gProfile.GetTotalCards(), 16);
}

// The quick game runs without a character slot: the character was saved on
// the way in, and nothing of the game reaches its file; the screen is there
// to be drawn again when the match hands back.
TEST_F(CharacterScreenTest, QuickGameSavesNothingAndHandsBack) {
    SaveInSlot(1, "ALICE", 800);
    ASSERT_TRUE(LoadPlayerSave(1));
    CharacterScreen screen;
    const Bytes before = ReadBytes(SavePath("Player1.QCP"));
    gClubActive = 1;
    EXPECT_FALSE(Tap(screen, 100, 243));
    EXPECT_EQ(gClubActive, 0);
    EXPECT_EQ(gProfile.GetSlot(), kNoCharacterSlot);
    EXPECT_EQ(gProfile.GetName(), u"Player 1");
    ASSERT_TRUE(RunMatch([] { return false; }, 40000)) << "the quick game did not end";
    EXPECT_EQ(gClubActive, 1);
    platform::Msg msg;
    bool handedBack = false;
    while (platform::PeekMessage(&msg, platform::WM_USER, platform::WM_USER, true)) handedBack = msg.wParam == 1;
    EXPECT_TRUE(handedBack) << "the club is asked to redraw its current screen";
    SavePlayer();
    EXPECT_EQ(ReadBytes(SavePath("Player1.QCP")), before);
    screen.Draw(0);
}

}  // namespace
}  // namespace qv::test
