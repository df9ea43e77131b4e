// The receive queue and the exchanges: several messages in one read, a
// message split over two reads, hostile bytes, a peer that leaves, and two
// programs that host, join and exchange confirmed messages.
#include "infrared/link_session.h"
#include "platform/messages.h"
#include "tests/support/link_peer.h"

namespace qv {
namespace {

using test::Bytes;
using test::EchoOf;
using test::kFF;
using test::Message;

const Bytes kAck = Message(0x0A);
Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

class LinkQueue : public test::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(test::HostWithPeer(test::UseLinkSettings(1.0), peer_, [this] { return session_.HostLink(5); }));
    }

    LinkSession session_;
    test::RawPeer peer_;
};

TEST_F(LinkQueue, AnAcknowledgeAndTheNextRequestInOneReadDoNotStallTheExchange) {
    // The other side writes its acknowledge and its next request back to
    // back, as a sender does; both arrive in one read. The second request
    // must be answered from the queue: the other side sends nothing more
    // until it has the echo, so reading the link first would wait for ever.
    const Bytes first = {0x0D, 0x05, kFF, kFF, kFF, kFF, kFF, kFF, 'A', 'N', 'N', 'A', 0x00};
    const Bytes second = {0x09, 0x06, 0x01, kFF, kFF, kFF, kFF, kFF, 0x00};
    ASSERT_TRUE(peer_.Send(Join({first, kAck, second, kAck})));
    LinkMessage got;
    ASSERT_TRUE(session_.ReceiveLinkRequest(got));
    EXPECT_EQ(got.text, u"ANNA");
    EXPECT_EQ(session_.QueuedLinkMessages(), 2);
    EXPECT_TRUE(session_.IsLinkDataWaiting());
    ASSERT_TRUE(session_.ReceiveLinkRequest(got));
    EXPECT_EQ(got.kind, LinkMessageKind::kFirstSide);
    EXPECT_EQ(got.p1, 1);
    EXPECT_EQ(peer_.Read(22), Join({EchoOf(first), EchoOf(second)}));
    EXPECT_FALSE(session_.IsLinkDataWaiting());
}

TEST_F(LinkQueue, MessagesComeOutInTheOrderTheyArrivedAlsoBeyondFiveQueued) {
    // Seven messages in one read: five fill the queue, the others wait as
    // bytes and follow in order.
    Bytes burst;
    for (uint8_t i = 0; i < 7; ++i) {
        Bytes cell = Message(0x07, i, 3);
        burst.insert(burst.end(), cell.begin(), cell.end());
    }
    ASSERT_TRUE(peer_.Send(burst));
    for (uint8_t i = 0; i < 7; ++i) {
        LinkMessage got;
        ASSERT_TRUE(session_.ReceiveLinkMessage(got)) << int{i};
        EXPECT_EQ(got.kind, LinkMessageKind::kBlockedCell);
        EXPECT_EQ(got.p1, i);
        EXPECT_LE(session_.QueuedLinkMessages(), LinkSession::kQueueSlots);
    }
    EXPECT_FALSE(session_.IsLinkDataWaiting());
}

TEST_F(LinkQueue, AMessageSplitAcrossReadsIsPutBackTogether) {
    const Bytes name = {0x10, 0x05, kFF, kFF, kFF, kFF, kFF, kFF, 'S', 'p', 'l', 'i', 't', '!', '!', 0x00};
    std::thread slow([&] {
        peer_.Send(Bytes(name.begin(), name.begin() + 5));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        peer_.Send(Bytes(name.begin() + 5, name.end()));
    });
    LinkMessage got;
    bool received = session_.ReceiveLinkMessage(got);
    slow.join();
    ASSERT_TRUE(received);
    EXPECT_EQ(got.text, u"Split!!");
}

TEST_F(LinkQueue, HostileBytesFailTheReceiveAndTheLinkGoesOn) {
    const std::vector<Bytes> hostile = {
        {0x00, 0x00, 0x00, 0x00},                                          // length 0
        {0x03, 0x0A, kFF},                                                 // shorter than any message
        Join({{0xC8}, Bytes(120, 0x41)}),                                  // length 200, 121 bytes
        {0x09, 0x0A, kFF, kFF, kFF, kFF, kFF, kFF, 0x41, 0x41, 0x41},      // no zero where it ends
        {0x0C, 0x05, kFF, kFF, kFF, kFF, kFF, kFF, 'A', 0x00, 'B', 0x00},  // zero inside the text
    };
    for (const Bytes& bytes : hostile) {
        ASSERT_TRUE(peer_.Send(bytes));
        LinkMessage got;
        got.value = 1234;
        EXPECT_FALSE(session_.ReceiveLinkMessage(got));
        EXPECT_EQ(got.value, 1234);
        EXPECT_EQ(session_.QueuedLinkMessages(), 0);
        // A message that comes afterwards is read as usual.
        ASSERT_TRUE(peer_.Send(Message(0x07, 4, 2)));
        ASSERT_TRUE(session_.ReceiveLinkMessage(got));
        EXPECT_EQ(got.p1, 4);
        EXPECT_TRUE(session_.IsLinkAlive());
    }
}

TEST_F(LinkQueue, AMessageBeforeGarbageInTheSameReadIsKept) {
    ASSERT_TRUE(peer_.Send(Join({Message(0x07, 1, 1), {0x00, 0x13, 0x37}})));
    LinkMessage got;
    ASSERT_TRUE(session_.ReceiveLinkMessage(got));
    EXPECT_EQ(got.p1, 1);
    EXPECT_FALSE(session_.IsLinkDataWaiting());
}

TEST_F(LinkQueue, APeerThatClosesEndsEveryWaitWithFailure) {
    // Queued messages are still handed out; then the end shows at once.
    ASSERT_TRUE(peer_.Send(Join({Message(0x08), {0x0D, 0x05, kFF}})));  // the second cut short
    peer_.Close();
    LinkMessage got;
    ASSERT_TRUE(session_.ReceiveLinkMessage(got));
    EXPECT_EQ(got.kind, LinkMessageKind::kStartGame);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(session_.ReceiveLinkMessage(got));
    EXPECT_FALSE(session_.ReceiveLinkRequest(got));
    EXPECT_FALSE(session_.SendStartGameMessage());
    EXPECT_FALSE(session_.IsLinkAlive());
    EXPECT_LT(test::MsSince(start), 2000);
}

TEST_F(LinkQueue, AReceiveDiscardsTheTapsMadeWhileItWaited) {
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, (160 << 16) | 120);
    ASSERT_TRUE(peer_.Send(Message(0x03)));
    LinkMessage got;
    ASSERT_TRUE(session_.ReceiveLinkMessage(got));
    platform::Msg message{};
    EXPECT_FALSE(platform::PeekMessage(&message, 0, 0, false));
}

TEST_F(LinkQueue, CreatingAConnectionAgainEmptiesTheQueue) {
    ASSERT_TRUE(peer_.Send(Join({Message(0x03), Message(0x08), {0x0D}})));
    LinkMessage got;
    ASSERT_TRUE(session_.ReceiveLinkMessage(got));
    ASSERT_EQ(session_.QueuedLinkMessages(), 1);
    test::RawPeer second;
    ASSERT_TRUE(test::HostWithPeer(test::UseLinkSettings(1.0), second, [this] { return session_.HostLink(5); }));
    EXPECT_EQ(session_.QueuedLinkMessages(), 0);
    EXPECT_FALSE(session_.IsLinkDataWaiting());
    // The old connection was closed, so its peer sees the end.
    EXPECT_TRUE(peer_.Read(1, 1000).empty());
    ASSERT_TRUE(second.Send(Message(0x0B)));
    ASSERT_TRUE(session_.ReceiveLinkMessage(got));
    EXPECT_EQ(got.kind, LinkMessageKind::kStartTrade);
}

// Exit codes of the client's side of TwoProgramsHandshakeAndExchange.
int ClientSide() {
    LinkSession client;
    if (!client.JoinLink() || client.GetLinkRole() != 0) return 10;
    LinkMessage got;
    // The game handshake: the server's start first, then ours.
    if (!client.ReceiveLinkRequest(got) || got.kind != LinkMessageKind::kStartGame) return 11;
    if (!client.SendStartGameMessage()) return 12;
    // Names: a letter above 127 survives; a long one arrives cut.
    if (!client.ReceiveLinkRequest(got) || got.text != u"Zo\u00E9") return 13;
    if (!client.SendNameMessage(WString(120, u'k'))) return 14;
    // A burst of exchanges the server sends back to back.
    for (int i = 0; i < 4; ++i) {
        if (!client.ReceiveLinkRequest(got) || got.kind != LinkMessageKind::kBlockedCell || got.p1 != i) {
            return 20 + i;
        }
    }
    if (!client.ReceiveLinkRequest(got) || LinkCredits(got) != 123456789) return 15;
    // The server leaves: the next wait ends with failure, not for ever.
    if (client.ReceiveLinkRequest(got)) return 16;
    return client.IsLinkAlive() ? 17 : 0;
}

using LinkPrograms = test::LinkTest;

TEST_F(LinkPrograms, HostJoinAndExchangeConfirmedMessages) {
    test::UseLinkSettings(0.1);
    pid_t client = test::StartChild(ClientSide);
    LinkSession server;
    ASSERT_TRUE(server.HostLink(20));
    EXPECT_EQ(server.GetLinkRole(), 1);
    EXPECT_TRUE(server.SendStartGameMessage());
    LinkMessage got;
    EXPECT_TRUE(server.ReceiveLinkRequest(got));
    EXPECT_EQ(got.kind, LinkMessageKind::kStartGame);
    EXPECT_TRUE(server.SendNameMessage(u"Zo\u00E9"));
    EXPECT_TRUE(server.ReceiveLinkRequest(got));
    EXPECT_EQ(got.text, WString(91, u'k'));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(server.SendBlockedCellMessage(i, 3 - i));
    }
    EXPECT_TRUE(server.SendCreditsOfferMessage(123456789));
    server.CloseLink();
    EXPECT_EQ(test::WaitForChild(client, 18000), 0);
}

}  // namespace
}  // namespace qv
