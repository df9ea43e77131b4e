// The multiplayer room: two real programs whose players press different
// buttons, and the room in this process against a fake other machine (its
// deck check, Back, the shop and a Create that nobody answers).
#include <gtest/gtest.h>

#include "cards/profile.h"
#include "club/club.h"
#include "engine/music.h"
#include "platform/link.h"
#include "tests/support/link_machine.h"
#include "tests/support/link_pair.h"

namespace qv::test {
namespace {

TEST(LinkRoom, GameAgainstTradeSaysNotReadyOnBothSidesAndTwoGamesStartTheMatch) {
    LinkPair pair;
    CharacterPlan server;
    server.name = "HOSTA";
    CharacterPlan client;
    client.name = "GUESTB";
    ASSERT_TRUE(pair.PrepareBoth(server, client));
    ASSERT_TRUE(pair.Start("game-against-trade-then-game"));
    const auto [serverRun, clientRun, story] = pair.WaitBoth();
    EXPECT_EQ(serverRun.exitCode, 0) << story;
    EXPECT_EQ(clientRun.exitCode, 0) << story;
    EXPECT_EQ(serverRun.TraceCount("multiplayer status Server is waiting to start Game."), 2) << story;
    EXPECT_EQ(serverRun.TraceCount("multiplayer status Client not ready."), 1) << story;
    EXPECT_EQ(clientRun.TraceCount("multiplayer status Client is waiting to start Trade."), 1) << story;
    EXPECT_EQ(clientRun.TraceCount("multiplayer status Server not ready."), 1) << story;
    EXPECT_EQ(clientRun.TraceCount("multiplayer status Client is waiting to start Game."), 1) << story;
    // The client's refusal is itself an exchange: a reject the server echoed.
    EXPECT_TRUE(clientRun.Traced("link send 09 FF FF FF FF FF FF FF 00")) << story;
    EXPECT_EQ(serverRun.TraceCount("multiplayer game starts"), 1) << story;
    EXPECT_EQ(clientRun.TraceCount("multiplayer game starts"), 1) << story;
    EXPECT_FALSE(clientRun.Traced("trade starts")) << story;
}

class LinkRoomInProcess : public LinkRoomTest {
protected:
    void SetUp() override {
        LinkRoomTest::SetUp();
        gClubActive = 1;
        gClub.Reset();
    }
    void TearDown() override {
        gClub.Reset();
        LinkRoomTest::TearDown();
    }
};

TEST_F(LinkRoomInProcess, AShortDeckGetsItsNoteAndTheShopWithoutAWordToTheOtherSide) {
    std::vector<int16_t> deck = DeckFrom(1);
    deck.pop_back();
    MakeLocalPlayer(deck);
    EXPECT_FALSE(room_->StartIrGame());
    EXPECT_EQ(gClubActive, 1);
    EXPECT_EQ(gClub.PendingType(), kScreenShop);
    EXPECT_EQ(gClub.ShopReturn(), kScreenMultiplayer);
    EXPECT_TRUE(peer_.Raw().ReadQuiet(200).empty());
}

TEST_F(LinkRoomInProcess, TheServerWhoseClientRefusesHearsClientNotReady) {
    MakeLocalPlayer(DeckFrom(1));
    bool started = true;
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(8) && m.Request(Message(255)); },
                            [&] { started = room_->StartIrGame(); }));
    EXPECT_FALSE(started);
    EXPECT_EQ(gClubActive, 1) << "no match";
    EXPECT_TRUE(room_->IsConnected());
}

// The trade's handshake in both roles, against a machine that follows the
// messages as given: the server speaks first, for the start and for the
// names alike, and each side takes the other's name.
TEST_F(LinkRoomInProcess, TheTradeHandshakeHasTheServerSpeakFirstAlsoWithTheNames) {
    MakeLocalPlayer(DeckFrom(1), "HOST");
    bool started = false;
    ASSERT_TRUE(WithMachine(
        [](FakeMachine& m) {
            return m.Answer() == Message(11) && m.Request(Message(11)) &&
                   m.Answer() == Message(5, kFF, kFF, kFF, kFF, -1, "HOST") &&
                   m.Request(Message(5, kFF, kFF, kFF, kFF, -1, "FAR"));
        },
        [&] { started = room_->StartIrTrade(); }));
    EXPECT_TRUE(started);
    EXPECT_EQ(gOtherProfile.GetName(), u"FAR");
    EXPECT_EQ(gClub.CurrentType(), kScreenTrade);

    // Now the other machine creates and this one joins.
    gClub.Reset();
    room_->CloseLink();
    peer_.Raw().Close();
    std::thread hosting([&] { peer_.Raw().Adopt(platform::LinkHost(5)); });
    const bool joined = room_->JoinIrConnection();
    hosting.join();
    ASSERT_TRUE(joined);
    gOtherProfile.SetName(u"");
    started = false;
    ASSERT_TRUE(WithMachine(
        [](FakeMachine& m) {
            return m.Request(Message(11)) && m.Answer() == Message(11) &&
                   m.Request(Message(5, kFF, kFF, kFF, kFF, -1, "SERVER")) &&
                   m.Answer() == Message(5, kFF, kFF, kFF, kFF, -1, "HOST");
        },
        [&] { started = room_->StartIrTrade(); }));
    EXPECT_TRUE(started);
    EXPECT_EQ(gOtherProfile.GetName(), u"SERVER");
    EXPECT_EQ(gClub.CurrentType(), kScreenTrade);
}

TEST_F(LinkRoomInProcess, BackClosesTheLinkSoTheOtherSideSeesItGone) {
    ASSERT_EQ(gMusicOff, 1) << "no music while the room exists";
    // Back's normal picture is cut from the background at (202, 301).
    room_->StylusDown(220, 310);
    EXPECT_TRUE(room_->StylusUp(220, 310));
    EXPECT_FALSE(room_->IsConnected());
    EXPECT_TRUE(peer_.Raw().Read(1, 1000).empty()) << "the connection has ended";
}

TEST_F(LinkRoomInProcess, ACreateThatNobodyAnswersFailsAndOffersCreateAndJoinAgain) {
    room_->CloseLink();
    UseLinkSettings(0.05);  // the host's 20 s become one
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(room_->HostIrConnection());
    EXPECT_GE(MsSince(start), 900);
    EXPECT_FALSE(room_->IsConnected());
}

}  // namespace
}  // namespace qv::test
