// The club's block of the quick save: field offsets, the screen records, round
// trips, and truncated or edited blocks that must give a working club view.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cards/launchers.h"
#include "club/bet_screen.h"
#include "club/collection_screen.h"
#include "club/shop_screen.h"
#include "club/tournament_screen.h"
#include "infrared/trade_screen.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

using test::ClubBlock;
using test::ClubHeader;

class ClubStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        test::MakeLocalPlayer(test::DeckFrom(1));
        gClubActive = 1;
        gClub.Reset();
    }
    void TearDown() override { gClub.Reset(); }

    // The club stands idle at a room with its frame, takes input and has
    // every current and pending type backed by a screen.
    static void ExpectUsableClub() {
        EXPECT_TRUE(gClub.HasScreen(gClub.CurrentType()));
        EXPECT_TRUE(gClub.HasScreen(gClub.PendingType()));
        EXPECT_GE(gClub.Room(), 0);
        EXPECT_LE(gClub.Room(), 9);
        EXPECT_TRUE(test::SettleClub()) << "the club never settles";
        test::Turns(40);  // typing and any dispatch run on what was read
        EXPECT_EQ(gClub.Input(), 1);
        EXPECT_EQ(gClub.Frame(), Club::RoomFrame(gClub.Room()));
    }
};

// A fresh club has input on, the club view current and pending, room 1 at
// frame 7, and 0 in every other byte, the screens to return to included.
TEST_F(ClubStateTest, ClubViewAloneIsTheHeaderAndTenEmptyRecords) {
    const std::vector<uint8_t> b = test::WrittenBlock();
    ASSERT_EQ(b.size(), 45u);
    std::vector<uint8_t> expected(45, 0);
    expected[0] = 1;    // input
    expected[14] = 13;  // pending
    expected[15] = 13;  // current
    expected[16] = 1;   // room
    expected[18] = 7;   // frame
    for (size_t i = 0; i < b.size(); ++i) EXPECT_EQ(b[i], expected[i]) << "offset " << i;
}

// Every header field has its own value: reading places each where the club
// shows it, and writing gives the same bytes back.
TEST_F(ClubStateTest, FieldsSitAtTheirOffsetsBothWays) {
    ClubBlock block;
    ClubHeader& h = block.header;
    h.input = 0;
    h.transitionIn = 1;
    h.stepCounter = 5;
    h.openRoom = 1;
    h.descriptionActive = 1;
    h.descriptionIndex = 12;
    h.typingX = 47;
    h.typingY = 261;
    h.typingBuffer = 1;
    h.typingTick = 2;
    h.pending = 3;
    h.current = 13;
    h.room = 3;
    h.frame = 14;
    h.titlePosition = 58;
    h.titleSpeed = 7;
    h.descriptionTyped = 0;
    h.titleInPlace = 0;
    h.titleTick = 1;
    h.betReturn = 1;
    h.collectionReturn = 3;
    h.shopReturn = 10;
    h.tradeReturn = 0;
    h.tutorialStep = 6;
    block.Add(test::kRecordShop, {0, 0});
    block.Add(test::kRecordBet, {4, 1, 0, 0, 0});
    const std::vector<uint8_t> bytes = block.Bytes();
    ASSERT_EQ(bytes.size(), 35u + 10u + 2u + 5u);

    ASSERT_TRUE(test::ReadBlock(bytes));
    EXPECT_EQ(gClub.Input(), 0);
    EXPECT_TRUE(gClub.InTransition());
    EXPECT_EQ(gClub.PendingType(), kScreenShop);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    EXPECT_EQ(gClub.Room(), 3);
    EXPECT_EQ(gClub.Frame(), 14);
    EXPECT_TRUE(gClub.DescriptionActive());
    EXPECT_EQ(gClub.ShopReturn(), kScreenBet);
    EXPECT_EQ(gClub.TutorialStep(), 6);
    EXPECT_NE(gClub.GetShopScreen(), nullptr);
    EXPECT_NE(gClub.GetBetScreen(), nullptr);
    EXPECT_EQ(gClub.GetCollectionScreen(), nullptr);
    EXPECT_EQ(test::WrittenBlock(), bytes);

    // The transition goes on from its counter: 5 more dissolve steps, then
    // the shop is current.
    test::Turns(5);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
    test::Turns(1);
    EXPECT_EQ(gClub.CurrentType(), kScreenShop);
    EXPECT_EQ(gClub.Input(), 1);
}

// The notes' example: the collection manager opened from the shop, both restored.
TEST_F(ClubStateTest, ShopUnderTheCollectionManagerComesBackWithIt) {
    ClubBlock block;
    block.header.current = 12;
    block.header.collectionReturn = 3;
    block.Add(test::kRecordShop, {0, 0});
    block.Add(test::kRecordCollection, {0, 0});
    const std::vector<uint8_t> bytes = block.Bytes();
    ASSERT_EQ(bytes.size(), 49u);
    ASSERT_TRUE(test::ReadBlock(bytes));
    EXPECT_EQ(gClub.CurrentType(), kScreenCollection);
    EXPECT_EQ(test::WrittenBlock(), bytes);

    // Closing the manager goes back to the shop at once; closing the shop
    // goes back to the club view through a transition.
    test::ClubTap(220, 311);  // the manager's Back
    EXPECT_EQ(gClub.CurrentType(), kScreenShop);
    EXPECT_EQ(gClub.GetCollectionScreen(), nullptr);
    EXPECT_FALSE(gClub.InTransition());
    test::ClubTap(220, 310);  // the shop's Back
    EXPECT_EQ(gClub.GetShopScreen(), nullptr);
    EXPECT_TRUE(gClub.InTransition());
    ASSERT_TRUE(test::SettleClub());
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
}

TEST_F(ClubStateTest, EveryTruncationGivesTheBareClubView) {
    ClubBlock block;
    block.header.current = 12;
    block.header.room = 5;
    block.header.frame = 27;
    block.Add(test::kRecordShop, {1, 4});
    block.Add(test::kRecordCollection, {0, 0});
    block.Add(test::kRecordBoss);
    const std::vector<uint8_t> whole = block.Bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE("block cut to " + std::to_string(length) + " bytes");
        ASSERT_FALSE(test::ReadBlock({whole.begin(), whole.begin() + static_cast<long>(length)}));
        EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
        EXPECT_EQ(gClub.Room(), 1);
        EXPECT_EQ(gClub.Frame(), 7);
        for (uint8_t type : {kScreenShop, kScreenCollection, kScreenBoss}) EXPECT_FALSE(gClub.HasScreen(type));
        ExpectUsableClub();
    }
    EXPECT_TRUE(test::ReadBlock(whole));
    EXPECT_EQ(gClub.Room(), 5);
}

// Edited values are brought back into range; each is read on its own into an
// otherwise valid block.
TEST_F(ClubStateTest, OutOfRangeValuesFallBackToAWorkingClub) {
    struct Edit {
        const char* what;
        std::function<void(ClubBlock&)> apply;
        std::function<void()> check;
    };
    const std::vector<Edit> edits = {
        {"current type 9", [](ClubBlock& b) { b.header.current = 9; },
         [] { EXPECT_EQ(gClub.CurrentType(), kScreenClubView); }},
        {"current type 200", [](ClubBlock& b) { b.header.current = 200; },
         [] { EXPECT_EQ(gClub.CurrentType(), kScreenClubView); }},
        {"current shop without a shop record", [](ClubBlock& b) { b.header.current = 3; },
         [] { EXPECT_EQ(gClub.CurrentType(), kScreenClubView); }},
        {"pending collection without its record",
         [](ClubBlock& b) {
             b.header.transitionIn = 1;
             b.header.stepCounter = 3;
             b.header.pending = 12;
         },
         [] { EXPECT_EQ(gClub.PendingType(), kScreenClubView); }},
        {"room 10", [](ClubBlock& b) { b.header.room = 10; },
         [] { EXPECT_EQ(gClub.Room(), 1); }},
        {"room -3", [](ClubBlock& b) { b.header.room = -3; },
         [] { EXPECT_EQ(gClub.Room(), 1); }},
        {"frame 0", [](ClubBlock& b) { b.header.frame = 0; },
         [] { EXPECT_EQ(gClub.Frame(), 7); }},
        {"frame 51", [](ClubBlock& b) { b.header.frame = 51; },
         [] { EXPECT_EQ(gClub.Frame(), 7); }},
        {"standing between rooms", [](ClubBlock& b) { b.header.frame = 20; },
         [] { EXPECT_EQ(gClub.Frame(), 7); }},
        {"direction 5", [](ClubBlock& b) { b.header.direction = 5; },
         [] { EXPECT_EQ(gClub.Direction(), 0); }},
        {"input off with nothing running", [](ClubBlock& b) { b.header.input = 0; },
         [] { EXPECT_EQ(gClub.Input(), 1); }},
        {"input byte 7", [](ClubBlock& b) { b.header.input = 7; },
         [] { EXPECT_EQ(gClub.Input(), 1); }},
        {"step counter 120",
         [](ClubBlock& b) {
             b.header.transitionOut = 1;
             b.header.input = 0;
             b.header.stepCounter = 120;
         },
         [] {
             // At most 8 steps out and 8 in, each with its closing tick.
             test::Turns(18);
             EXPECT_FALSE(gClub.InTransition());
         }},
        {"transition over another screen",
         [](ClubBlock& b) {
             b.header.current = 3;
             b.header.transitionOut = 1;
             b.header.input = 0;
             b.header.stepCounter = 4;
             b.Add(test::kRecordShop, {0, 0});
         },
         [] {
             EXPECT_FALSE(gClub.InTransition());
             EXPECT_EQ(gClub.Input(), 1);
         }},
        {"walk while another screen is current",
         [](ClubBlock& b) {
             b.header.current = 3;
             b.header.direction = 1;
             b.header.frame = 9;
             b.Add(test::kRecordShop, {0, 0});
         },
         [] {
             EXPECT_EQ(gClub.Direction(), 0);
             EXPECT_EQ(gClub.Frame(), 7);
         }},
        {"description index 30000 while typing",
         [](ClubBlock& b) {
             b.header.descriptionActive = 1;
             b.header.descriptionTyped = 0;
             b.header.descriptionIndex = 30000;
             b.header.typingBuffer = 9;
             b.header.typingY = 32000;
             b.header.titleSpeed = -40;
         },
         [] {}},
        {"returns to no screen kind",
         [](ClubBlock& b) {
             b.header.shopReturn = 99;
             b.header.betReturn = 11;
         },
         [] { EXPECT_EQ(gClub.ShopReturn(), kScreenClubView); }},
        {"tutorial step 200", [](ClubBlock& b) { b.header.tutorialStep = 200; },
         [] { EXPECT_LE(gClub.TutorialStep(), 11); }},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        ClubBlock block;
        edit.apply(block);
        ASSERT_TRUE(test::ReadBlock(block.Bytes()));
        edit.check();
        ExpectUsableClub();
        gClub.Reset();
    }
}

TEST_F(ClubStateTest, DamagedRecordsAreRefusedWhole) {
    // A presence byte other than 0 or 1 leaves nothing after it readable.
    ClubBlock block;
    block.Add(test::kRecordShop, {0, 0});
    std::vector<uint8_t> bytes = block.Bytes();
    bytes[35 + test::kRecordCharacter] = 2;
    EXPECT_FALSE(test::ReadBlock(bytes));
    EXPECT_FALSE(gClub.HasScreen(kScreenShop));
    ExpectUsableClub();
}

// A trade screen cannot work without the room that owns the link: its record
// is skipped, the records after it are read in place, and the club view
// takes the trade's place.
TEST_F(ClubStateTest, TradeWithoutItsRoomIsSkipped) {
    ClubBlock block;
    block.header.current = 14;
    block.Add(test::kRecordTrade, std::vector<uint8_t>(TradeScreen::kStateSize, 0));
    block.Add(test::kRecordBoss);
    ASSERT_TRUE(test::ReadBlock(block.Bytes()));
    EXPECT_EQ(gClub.GetTradeScreen(), nullptr);
    EXPECT_NE(gClub.GetBossScreen(), nullptr);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView);

    block.Add(test::kRecordMultiplayer);
    ASSERT_TRUE(test::ReadBlock(block.Bytes()));
    ASSERT_NE(gClub.GetTradeScreen(), nullptr);
    EXPECT_EQ(gClub.GetTradeScreen()->GetRoom(), gClub.GetMultiplayerScreen());
    EXPECT_EQ(gClub.CurrentType(), kScreenTrade);
}

// The screens' own state sizes place every later record.
TEST_F(ClubStateTest, EveryScreenKindRoundTrips) {
    ClubBlock block;
    block.header.current = 10;
    block.Add(test::kRecordCharacter);
    block.Add(test::kRecordMultiplayer);
    block.Add(test::kRecordShop, {0, 0});
    block.Add(test::kRecordCollection, {0, 0});
    block.Add(test::kRecordInstantPlay, {1, 0xFF, 0, 0});
    block.Add(test::kRecordBet, {3, 1, 0, 0, 0});
    // A new draw: the 15 opponents and the player (16) each in one slot.
    std::vector<uint8_t> tournament(TournamentScreen::kStateSize, 0);
    for (int slot = 0; slot < 16; ++slot) tournament[2 + 2 * slot] = static_cast<uint8_t>(slot < 15 ? slot : 16);
    tournament[34] = TournamentScreen::kStateIdle;
    tournament[35] = TournamentScreen::kNoPair;
    block.Add(test::kRecordTournament, tournament);
    block.Add(test::kRecordOptions);
    block.Add(test::kRecordTrade, std::vector<uint8_t>(TradeScreen::kStateSize, 0));
    block.Add(test::kRecordBoss);
    const std::vector<uint8_t> bytes = block.Bytes();
    ASSERT_EQ(bytes.size(), 35u + 10u + 2 + 2 + 4 + 5 + 44);
    ASSERT_TRUE(test::ReadBlock(bytes));
    for (uint8_t type : {0, 1, 2, 3, 4, 7, 8, 10, 12, 14}) EXPECT_TRUE(gClub.HasScreen(type)) << int(type);
    EXPECT_EQ(test::WrittenBlock(), bytes);
}

}  // namespace
}  // namespace qv
