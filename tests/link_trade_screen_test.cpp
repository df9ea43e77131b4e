// The trade screen against a fake other machine: what it takes of the other
// side's messages, what it sends of its own, and that both machines complete
// the same trade. The font is not loaded: every question is answered with
// its right label.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "club/club.h"
#include "infrared/trade_screen.h"
#include "platform/clock.h"
#include "tests/support/link_machine.h"

namespace qv::test {
namespace {

constexpr int kReadyX = 156, kReadyY = 290;
constexpr int kCancelX = 210, kCancelY = 288;
constexpr int kDelX = 100, kDelY = 290;
constexpr int kPlusX = 113, kPlusY = 266;
constexpr int kBackX = 220, kBackY = 310;
constexpr int kAddX = 48, kAddY = 288;

// The other machine's copy of our box, kept from kinds 15, 4 and 16.
struct BoxCopy {
    std::vector<int16_t> ids;
    bool Take(const Bytes& message) {
        if (message.size() < 9) return false;
        if (message[1] == 15) ids.clear();
        if (message[1] == 4) ids.push_back(static_cast<int16_t>(message[6] | message[7] << 8));
        if (message[1] == 16 && message[2] < ids.size()) ids.erase(ids.begin() + message[2]);
        return true;
    }
};

std::vector<int16_t> OwnBox() {
    std::vector<int16_t> ids;
    for (int i = 0; i < gProfile.TradeBoxCount(); ++i) ids.push_back(gProfile.GetTradeBoxCard(i));
    return ids;
}

class LinkTradeScreen : public LinkRoomTest {
protected:
    void SetUp() override {
        LinkRoomTest::SetUp();
        MakeLocalPlayer(DeckFrom(1), "HOST");
        SetCredits(500);
        SavePlayer();
        gOtherProfile.SetName(u"PEER");
        // The tick of a machine that has run a while: no offer was sent lately.
        platform::Sleep(2 * TradeScreen::kOfferHoldMs);
        trade_ = new TradeScreen(room_);
        trade_->Enter();
    }
    void TearDown() override {
        delete trade_;
        LinkRoomTest::TearDown();
    }

    // Runs the screen's frames while the machine does its part.
    template <typename Machine>
    bool FramesWhile(Machine machine, int limit = 2000) {
        std::atomic<bool> done{false};
        bool ok = false;
        std::thread other([&] {
            ok = machine(peer_);
            done = true;
        });
        for (int i = 0; i < limit && !done; ++i) {
            trade_->Update();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        other.join();
        trade_->Update();
        return ok;
    }

    // The own box as given, sent to the machine as after the collection manager.
    bool SendBox(std::initializer_list<int16_t> ids, BoxCopy& copy) {
        for (int16_t id : ids) gProfile.AddToTradeBox(id);
        return WithMachine(
            [&](FakeMachine& m) {
                for (size_t i = 0; i <= ids.size(); ++i) {
                    if (!copy.Take(m.Answer())) return false;
                }
                return true;
            },
            [&] { trade_->SendOwnOffer(); });
    }

    TradeScreen* trade_ = nullptr;
};

TEST_F(LinkTradeScreen, AnOfferOf1000IsShownAndTurnsOurReadyOff) {
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(14, 1); },
                            [&] { Tap(*trade_, kReadyX, kReadyY); }));
    ASSERT_TRUE(trade_->OwnReady());
    ASSERT_TRUE(FramesWhile([](FakeMachine& m) {
        return m.Request(Bytes{9, 12, 0, 0, 3, 232, kFF, kFF, 0}) && m.Answer() == Message(14, 0);
    }));
    EXPECT_EQ(trade_->OtherOffer(), 1000);
    EXPECT_FALSE(trade_->OwnReady());
}

TEST_F(LinkTradeScreen, NoMessageOfTheOtherSideGetsOutsideTheBoxesOrTheSet) {
    const int16_t beyond = static_cast<int16_t>(GetCardCount() + 1);
    ASSERT_TRUE(FramesWhile([&](FakeMachine& m) {
        bool ok = m.Request(Message(4, kFF, kFF, kFF, kFF, 0)) && m.Request(Message(4, kFF, kFF, kFF, kFF, beyond)) &&
                  m.Request(Message(16, 0)) &&                          // nothing to remove yet
                  m.Request(Bytes{9, 12, 0x80, 0, 0, 1, kFF, kFF, 0});  // a negative offer
        for (int16_t id = 1; id <= 10; ++id) ok = ok && m.Request(Message(4, kFF, kFF, kFF, kFF, id));
        return ok && m.Request(Message(16, 9));  // one past the nine held
    }));
    ASSERT_EQ(gOtherProfile.TradeBoxCount(), kTradeBoxSize);
    for (int i = 0; i < kTradeBoxSize; ++i) EXPECT_EQ(gOtherProfile.GetTradeBoxCard(i), i + 1);
    EXPECT_EQ(trade_->OtherOffer(), 0);
}

TEST_F(LinkTradeScreen, DelSendsTheIndexSoTheOtherSideKeepsTheSameCardsAndNothingWithoutASelection) {
    BoxCopy copy;
    ASSERT_TRUE(SendBox({3, 5, 7, 9, 11}, copy));
    ASSERT_EQ(copy.ids, OwnBox());
    // Entry 2 selected, then DEL.
    Tap(*trade_, TradeScreen::OwnCellX(2) + 10, TradeScreen::CellY(2) + 10);
    ASSERT_EQ(trade_->OwnSelection(), 2);
    Bytes removal;
    ASSERT_TRUE(WithMachine(
        [&](FakeMachine& m) {
            removal = m.Answer();
            return copy.Take(removal);
        },
        [&] { Tap(*trade_, kDelX, kDelY); }));
    EXPECT_EQ(removal, Message(16, 2));
    EXPECT_EQ(OwnBox(), (std::vector<int16_t>{3, 5, 9, 11}));
    EXPECT_EQ(copy.ids, OwnBox());
    EXPECT_EQ(trade_->OwnSelection(), -1);
    Tap(*trade_, kDelX, kDelY);
    EXPECT_TRUE(peer_.Raw().ReadQuiet(200).empty());
    EXPECT_EQ(OwnBox().size(), 4u);
}

TEST_F(LinkTradeScreen, ReadyWithAnOfferHeldBackSendsTheOfferFirstAndStaysNotReady) {
    // The first offer goes at once; a second one within 1500 ms waits.
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(12, 0, 0, 0, 1); },
                            [&] {
                                trade_->StylusDown(kPlusX, kPlusY);
                                trade_->Update();
                                trade_->StylusUp(kPlusX, kPlusY);
                            }));
    trade_->StylusDown(kPlusX, kPlusY);
    trade_->Update();
    trade_->StylusUp(kPlusX, kPlusY);
    ASSERT_EQ(trade_->OwnOffer(), 2);
    ASSERT_TRUE(trade_->OfferPending());
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(12, 0, 0, 0, 2); },
                            [&] { Tap(*trade_, kReadyX, kReadyY); }));
    EXPECT_FALSE(trade_->OwnReady());
    EXPECT_FALSE(trade_->OfferPending());
}

TEST_F(LinkTradeScreen, AHeldOfferStopsAtTheCreditsAndAtZeroAndThenGoesOut) {
    SetCredits(3);
    constexpr int kMinusX = 27, kMinusY = 266;
    auto hold = [&](int x, int y, int steps) {
        trade_->StylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
        for (int step = 0; step < steps; ++step) {
            trade_->Update();
            platform::Sleep(TradeScreen::kRepeatMs + 10);
        }
        trade_->StylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    };
    std::vector<int32_t> offers;
    // Each bound stops the steps and holds the offer back; it goes out at
    // the first frame more than 1500 ms after the last one.
    ASSERT_TRUE(WithMachine(
        [](FakeMachine& m) { return m.Answer() == Message(12, 0, 0, 0, 3) && m.Answer() == Message(12, 0, 0, 0, 0); },
        [&] {
            hold(kPlusX, kPlusY, 6);
            offers.push_back(trade_->OwnOffer());
            hold(kMinusX, kMinusY, 10);
            offers.push_back(trade_->OwnOffer());
        }));
    EXPECT_EQ(offers, (std::vector<int32_t>{3, 0}));
}

TEST_F(LinkTradeScreen, ATapOnTheSelectedCellZoomsAndTheNextTapOnlyClosesTheZoom) {
    BoxCopy copy;
    ASSERT_TRUE(SendBox({12}, copy));
    const int x = TradeScreen::OwnCellX(0) + 10, y = TradeScreen::CellY(0) + 10;
    Tap(*trade_, x, y);
    ASSERT_EQ(trade_->OwnSelection(), 0);
    Tap(*trade_, x, y);
    EXPECT_TRUE(trade_->Zoomed());
    // The next tap, on DEL itself, closes the zoom and does nothing else.
    Tap(*trade_, kDelX, kDelY);
    EXPECT_FALSE(trade_->Zoomed());
    EXPECT_EQ(OwnBox(), (std::vector<int16_t>{12}));
    EXPECT_TRUE(peer_.Raw().ReadQuiet(100).empty());
}

TEST_F(LinkTradeScreen, BothReadyPayTheOffersAndCardsBothSidesHold) {
    BoxCopy copy;
    ASSERT_TRUE(SendBox({1, 2}, copy));
    // Plus held for six steps: 1, 2, 3, 4, 5, then 7.
    trade_->StylusDown(kPlusX, kPlusY);
    for (int step = 0; step < 6; ++step) {
        trade_->Update();
        platform::Sleep(TradeScreen::kRepeatMs + 10);
    }
    ASSERT_EQ(trade_->OwnOffer(), 7);
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(12, 0, 0, 0, 7); },
                            [&] { trade_->StylusUp(kPlusX, kPlusY); }));
    // The other side's box of one card and its offer of 25, then its ready.
    ASSERT_TRUE(FramesWhile([](FakeMachine& m) {
        return m.Request(Message(15)) && m.Request(Message(4, kFF, kFF, kFF, kFF, 40)) &&
               m.Request(Message(12, 0, 0, 0, 25)) && m.Answer() == Message(14, 0) && m.Request(Message(14, 1));
    }));
    ASSERT_TRUE(trade_->OtherReady());
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(14, 1); },
                            [&] { Tap(*trade_, kReadyX, kReadyY); }));
    EXPECT_EQ(gProfile.GetCredits(), 500 - 7 + 25);
    EXPECT_EQ(gProfile.GetCardCount(1), 0);
    EXPECT_EQ(gProfile.GetCardCount(2), 0);
    EXPECT_EQ(gProfile.GetCardCount(40), 1);
    EXPECT_EQ(gProfile.TradeBoxCount(), 0);
    EXPECT_EQ(gOtherProfile.TradeBoxCount(), 0);
    EXPECT_FALSE(trade_->OwnReady());
    EXPECT_FALSE(trade_->OtherReady());
    gProfile = PlayerProfile();
    ASSERT_TRUE(LoadPlayerSave(1));
    EXPECT_EQ(gProfile.GetCredits(), 518) << "the trade is saved";
    EXPECT_EQ(gProfile.GetCardCount(40), 1);
}

TEST_F(LinkTradeScreen, ANotReadyTheOtherSideNeverHeardOfStillCompletesWhenItIsReady) {
    // The other side still counts us ready: when it presses READY it
    // completes, and so must we, or a card would be given and never taken.
    BoxCopy copy;
    ASSERT_TRUE(SendBox({3}, copy));
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(14, 1); },
                            [&] { Tap(*trade_, kReadyX, kReadyY); }));
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.AnswerWrongly() == Message(14, 0); },
                            [&] { Tap(*trade_, kCancelX, kCancelY); }));
    ASSERT_TRUE(FramesWhile([](FakeMachine& m) { return m.Request(Message(14, 1)); }));
    EXPECT_EQ(gProfile.GetCardCount(3), 0) << "the trade was completed";
    EXPECT_FALSE(trade_->OwnReady());
}

TEST_F(LinkTradeScreen, ARetryAfterTheLinkBrokeConnectsAgainAndBothSidesSendTheirTradeAgain) {
    BoxCopy copy;
    ASSERT_TRUE(SendBox({4}, copy));
    ASSERT_TRUE(WithMachine([](FakeMachine& m) { return m.Answer() == Message(14, 1); },
                            [&] { Tap(*trade_, kReadyX, kReadyY); }));
    peer_.Raw().Close();
    // The question is answered "Retry": this machine waits as the server again
    // and, once joined, sends its box and offer first; then the other side's come.
    BoxCopy again;
    ASSERT_TRUE(FramesWhile([&](FakeMachine& m) {
        if (!m.Raw().Connect(port_)) return false;
        for (int i = 0; i < 2; ++i) {
            if (!again.Take(m.Answer())) return false;
        }
        return m.Answer() == Message(12, 0, 0, 0, 0) && m.Request(Message(15)) &&
               m.Request(Message(4, kFF, kFF, kFF, kFF, 9)) && m.Request(Message(12, 0, 0, 0, 5)) &&
               m.Answer() == Message(14, 0);
    }));
    EXPECT_EQ(again.ids, (std::vector<int16_t>{4}));
    EXPECT_TRUE(room_->IsConnected());
    EXPECT_FALSE(trade_->OwnReady()) << "a new connection starts with neither side ready";
    EXPECT_FALSE(trade_->OtherReady());
    ASSERT_EQ(gOtherProfile.TradeBoxCount(), 1);
    EXPECT_EQ(gOtherProfile.GetTradeBoxCard(0), 9);
    EXPECT_EQ(trade_->OtherOffer(), 5);
    EXPECT_FALSE(trade_->Closed());
}

// The trade screen run by the club, whose room has the link.
class LinkTradeInClub : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        StartMatchEnvironment();
        MakeLocalPlayer(DeckFrom(1), "HOST");
        gClubActive = 1;
        gClub.Reset();
        gClub.OpenMultiplayerScreen();
        for (int i = 0; i < 40 && gClub.InTransition(); ++i) gClub.Update();
        ASSERT_EQ(gClub.CurrentType(), kScreenMultiplayer);
        const uint16_t port = UseLinkSettings(1.0);
        std::thread joining([&] { peer_.Raw().Connect(port); });
        const bool hosted = gClub.GetMultiplayerScreen()->HostIrConnection();
        joining.join();
        ASSERT_TRUE(hosted);
        gClub.OpenTradeScreen(kScreenMultiplayer);
        ASSERT_EQ(gClub.CurrentType(), kScreenTrade);
    }
    void TearDown() override {
        gClub.Reset();
        LinkTest::TearDown();
    }
    FakeMachine peer_;
};

TEST_F(LinkTradeInClub, TheOtherSideLeavingClosesTheTradeFromInsideItsOwnFrame) {
    bool ok = false;
    std::thread other([&] { ok = peer_.Request(Message(13)); });
    for (int i = 0; i < 2000 && gClub.CurrentType() == kScreenTrade; ++i) {
        gClub.Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    other.join();
    ASSERT_TRUE(ok);
    EXPECT_EQ(gClub.CurrentType(), kScreenMultiplayer);
    EXPECT_EQ(gClub.GetTradeScreen(), nullptr);
    ASSERT_NE(gClub.GetMultiplayerScreen(), nullptr);
    EXPECT_TRUE(gClub.GetMultiplayerScreen()->IsConnected());
}

TEST_F(LinkTradeInClub, AddWhileReadyTurnsReadyOffBeforeTheBoxCanChange) {
    auto tap = [](int x, int y) {
        gClub.StylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
        gClub.StylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    };
    bool ok = false;
    std::thread ready([&] { ok = peer_.Answer() == Message(14, 1); });
    tap(kReadyX, kReadyY);
    ready.join();
    ASSERT_TRUE(ok);
    ASSERT_TRUE(gClub.GetTradeScreen()->OwnReady());
    // The "not ready" does not go through: the box stays as it is.
    std::thread refused([&] { ok = peer_.AnswerWrongly() == Message(14, 0); });
    tap(kAddX, kAddY);
    refused.join();
    ASSERT_TRUE(ok);
    EXPECT_EQ(gClub.CurrentType(), kScreenTrade);
    // It goes through: only then does the collection manager open.
    std::thread accepted([&] { ok = peer_.Answer() == Message(14, 0); });
    tap(kAddX, kAddY);
    accepted.join();
    ASSERT_TRUE(ok);
    EXPECT_EQ(gClub.CurrentType(), kScreenCollection);
    ASSERT_NE(gClub.GetTradeScreen(), nullptr);
    EXPECT_FALSE(gClub.GetTradeScreen()->OwnReady());
}

TEST_F(LinkTradeInClub, BackTellsTheOtherSideAndReturnsToTheRoom) {
    Bytes left;
    std::thread other([&] { left = peer_.Answer(); });
    gClub.StylusDown(kBackX, kBackY);
    gClub.StylusUp(kBackX, kBackY);
    other.join();
    EXPECT_EQ(left, Message(13));
    EXPECT_EQ(gClub.CurrentType(), kScreenMultiplayer);
    EXPECT_EQ(gClub.GetTradeScreen(), nullptr);
}

}  // namespace
}  // namespace qv::test
