// Link messages byte for byte: the wire form of every message sent, and
// the reader on good, truncated, oversized and malformed bytes.
#include <functional>

#include "cards/card.h"
#include "cards/card_database.h"
#include "infrared/link_session.h"
#include "tests/support/link_peer.h"

namespace qv {
namespace {

using test::Bytes;

constexpr uint8_t F = 0xFF;

Bytes Pack(const LinkMessage& message) {
    uint8_t buffer[kLinkMessageMaxBytes];
    int length = PackLinkMessage(message, buffer);
    return Bytes(buffer, buffer + length);
}

TEST(LinkMessage, TextsAreCutToWhatTheWireCanCarry) {
    LinkMessage name;
    name.kind = LinkMessageKind::kName;
    name.text = WString(120, u'x');
    Bytes packed = Pack(name);
    ASSERT_EQ(packed.size(), 100u);
    EXPECT_EQ(packed[0], 100);
    EXPECT_EQ(packed[99], 0);
    // One byte a character: the low byte; a character whose low byte is 0
    // would end the text on the wire, so the text stops there.
    name.text = u"\u00E9t\u0141\u0100zz";
    EXPECT_EQ(Pack(name), (Bytes{0x0C, 0x05, F, F, F, F, F, F, 0xE9, 't', 0x41, 0x00}));
    EXPECT_EQ(LinkWireText(name.text), (WString{u'\u00E9', u't', u'A'}));
}

TEST(LinkMessage, ReaderTakesBackWhatWasPacked) {
    LinkMessage sent;
    sent.kind = LinkMessageKind::kCardPlayed;
    sent.p1 = 5;
    sent.p2 = 3;
    sent.value = -2;  // two's complement, low byte first
    sent.text = u"Zo\u00E9";
    Bytes bytes = Pack(sent);
    EXPECT_EQ(bytes, (Bytes{0x0C, 0x00, 5, 3, F, F, 0xFE, 0xFF, 'Z', 'o', 0xE9, 0x00}));
    LinkMessage read;
    int length = 0;
    ASSERT_EQ(ReadLinkMessage(bytes.data(), bytes.size(), &read, &length), LinkRead::kMessage);
    EXPECT_EQ(length, 12);
    EXPECT_TRUE(SameLinkMessage(read, sent));
    // Every shorter prefix is the start of that message, not a message.
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_EQ(ReadLinkMessage(bytes.data(), cut, &read, &length), LinkRead::kIncomplete) << cut;
    }
}

TEST(LinkMessage, ReaderRefusesBytesThatCannotBeAMessage) {
    LinkMessage untouched;
    untouched.text = u"kept";
    auto read = [&](const Bytes& bytes) {
        LinkMessage message = untouched;
        int length = -1;
        LinkRead result = ReadLinkMessage(bytes.data(), bytes.size(), &message, &length);
        EXPECT_TRUE(SameLinkMessage(message, untouched));
        EXPECT_EQ(length, -1);
        return result;
    };
    // Lengths that no message has: 0 would never move on, 101 and more
    // would not fit the receive buffer.
    EXPECT_EQ(read({0x00, 0x0A, F, F, F, F, F, F, 0x00}), LinkRead::kMalformed);
    EXPECT_EQ(read({0x08, 0x0A, F, F, F, F, F, F}), LinkRead::kMalformed);
    EXPECT_EQ(read({0x65}), LinkRead::kMalformed);
    EXPECT_EQ(read({0xFF, 0x05, 1, 2}), LinkRead::kMalformed);
    // No zero at the end, or a zero inside the text (seen before the end).
    EXPECT_EQ(read({0x09, 0x0A, F, F, F, F, F, F, 0x41}), LinkRead::kMalformed);
    EXPECT_EQ(read({0x0C, 0x05, F, F, F, F, F, F, 'A', 0x00, 'B'}), LinkRead::kMalformed);
    EXPECT_EQ(read({}), LinkRead::kIncomplete);
}

TEST(LinkMessage, ReceivedNumbersAreCheckedBeforeUse) {
    gCardCount = kCardSetSize;
    LinkMessage message;
    int16_t id = 99;
    for (int16_t bad : {int16_t{-1}, int16_t{0}, int16_t{345}, int16_t{-32768}}) {
        message.value = bad;
        EXPECT_FALSE(ReadLinkCardId(message, &id)) << bad;
        EXPECT_EQ(id, 99);
    }
    for (int16_t good : {int16_t{1}, int16_t{344}}) {
        message.value = good;
        EXPECT_TRUE(ReadLinkCardId(message, &id));
        EXPECT_EQ(id, good);
    }
    gCardCount = 0;  // no database: no id is a card
    message.value = 1;
    EXPECT_FALSE(ReadLinkCardId(message, &id));

    int32_t credits = 7;
    SetLinkCredits(message, -1);
    EXPECT_FALSE(ReadLinkCredits(message, &credits));
    message.p1 = 0x80;
    message.p2 = message.p3 = message.p4 = 0;
    EXPECT_FALSE(ReadLinkCredits(message, &credits));
    EXPECT_EQ(credits, 7);
    SetLinkCredits(message, 0x7FFFFFFF);
    EXPECT_TRUE(ReadLinkCredits(message, &credits));
    EXPECT_EQ(credits, 0x7FFFFFFF);

    int column = -9;
    int row = -9;
    EXPECT_TRUE(ReadLinkCell(5, 3, &column, &row));
    EXPECT_EQ(column * 10 + row, 53);
    for (auto [c, r] : {std::pair<uint8_t, uint8_t>{6, 0}, {0, 4}, {255, 255}, {200, 1}}) {
        column = row = -9;
        EXPECT_FALSE(ReadLinkCell(c, r, &column, &row));
        EXPECT_EQ(column, -9);
    }
}

// Our session as host, the test's raw socket as the other machine.
class LinkWire : public test::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(test::HostWithPeer(test::UseLinkSettings(1.0), peer_, [this] { return session_.HostLink(5); }));
        ASSERT_EQ(session_.GetLinkRole(), 1);
    }

    LinkSession session_;
    test::RawPeer peer_;
};

TEST_F(LinkWire, EverySendingHalfSendsItsRequestThenAcknowledgesTheEcho) {
    Card card;
    card.SetId(37);
    struct Case {
        const char* name;
        std::function<bool(LinkSession&)> send;
        Bytes request;
    };
    const std::vector<Case> cases = {
        {"card move",
         [&](LinkSession& s) { return s.SendCardMoveMessage(card, 2, 1); },
         {0x09, 0x00, 0x02, 0x01, F, F, 0x25, 0x00, 0x00}},
        {"attack",
         [](LinkSession& s) { return s.SendAttackMessage(1, 2, 3, 0); },
         {0x09, 0x01, 0x01, 0x02, 0x03, 0x00, F, F, 0x00}},
        {"multi-hit",
         [](LinkSession& s) { return s.SendMultiHitMessage(5, 3, 4, 3); },
         {0x09, 0x02, 0x05, 0x03, 0x04, 0x03, F, F, 0x00}},
        {"card taken", [](LinkSession& s) { return s.SendCardTakenMessage(); }, {0x09, 0x03, F, F, F, F, F, F, 0x00}},
        {"give card",
         [](LinkSession& s) { return s.SendGiveCardMessage(300); },
         {0x09, 0x04, F, F, F, F, 0x2C, 0x01, 0x00}},
        {"trade card",
         [](LinkSession& s) { return s.SendTradeCardMessage(86); },
         {0x09, 0x04, F, F, F, F, 0x56, 0x00, 0x00}},
        {"name",
         [](LinkSession& s) { return s.SendNameMessage(u"ANNA"); },
         {0x0D, 0x05, F, F, F, F, F, F, 'A', 'N', 'N', 'A', 0x00}},
        {"first side",
         [](LinkSession& s) { return s.SendFirstSideMessage(1); },
         {0x09, 0x06, 0x01, F, F, F, F, F, 0x00}},
        {"blocked cell",
         [](LinkSession& s) { return s.SendBlockedCellMessage(3, 2); },
         {0x09, 0x07, 0x03, 0x02, F, F, F, F, 0x00}},
        {"end of cells",
         [](LinkSession& s) { return s.SendBlockedCellMessage(255, 255); },
         {0x09, 0x07, F, F, F, F, F, F, 0x00}},
        {"start game", [](LinkSession& s) { return s.SendStartGameMessage(); }, {0x09, 0x08, F, F, F, F, F, F, 0x00}},
        {"start trade", [](LinkSession& s) { return s.SendStartTradeMessage(); }, {0x09, 0x0B, F, F, F, F, F, F, 0x00}},
        {"credits",
         [](LinkSession& s) { return s.SendCreditsOfferMessage(1000); },
         {0x09, 0x0C, 0x00, 0x00, 0x03, 0xE8, F, F, 0x00}},
        {"leave trade", [](LinkSession& s) { return s.SendTradeLeaveMessage(); }, {0x09, 0x0D, F, F, F, F, F, F, 0x00}},
        {"ready", [](LinkSession& s) { return s.SendReadyMessage(1); }, {0x09, 0x0E, 0x01, F, F, F, F, F, 0x00}},
        {"not ready", [](LinkSession& s) { return s.SendReadyMessage(0); }, {0x09, 0x0E, 0x00, F, F, F, F, F, 0x00}},
        {"clear offer", [](LinkSession& s) { return s.SendTradeClearMessage(); }, {0x09, 0x0F, F, F, F, F, F, F, 0x00}},
        {"remove card",
         [](LinkSession& s) { return s.SendTradeRemoveMessage(2); },
         {0x09, 0x10, 0x02, F, F, F, F, F, 0x00}},
        {"start signal",
         [](LinkSession& s) { return s.SendStartSignalMessage(); },
         {0x09, 0x14, F, F, F, F, F, F, 0x00}},
        {"reject", [](LinkSession& s) { return s.SendRejectMessage(); }, {0x09, 0xFF, F, F, F, F, F, F, 0x00}},
    };
    const Bytes ack = {0x09, 0x0A, F, F, F, F, F, F, 0x00};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes echo = c.request;
        echo[1] = 0x09;
        ASSERT_TRUE(peer_.Send(echo));  // waits in the socket for the echo's turn
        EXPECT_TRUE(c.send(session_));
        Bytes expected = c.request;
        expected.insert(expected.end(), ack.begin(), ack.end());
        EXPECT_EQ(peer_.Read(expected.size()), expected);
    }
    EXPECT_TRUE(peer_.ReadQuiet(50).empty());
}

TEST_F(LinkWire, ANameTooLongForTheWireIsSentCutAndItsEchoAccepted) {
    WString name(95, u'n');
    Bytes request = {100, 0x05, F, F, F, F, F, F};
    request.insert(request.end(), 91, 'n');
    request.push_back(0);
    Bytes echo = request;
    echo[1] = 0x09;
    ASSERT_TRUE(peer_.Send(echo));
    EXPECT_TRUE(session_.SendNameMessage(name));
    EXPECT_EQ(peer_.Read(100), request);
}

TEST_F(LinkWire, TheReceivingHalfEchoesEveryFieldAndWantsAnAcknowledge) {
    const Bytes request = {0x0E, 0x05, 1, 2, 3, 4, 0x10, 0x20, 'Z', 'o', 0xE9, 0xFF, 'x', 0x00};
    Bytes echo = request;
    echo[1] = 0x09;
    ASSERT_TRUE(peer_.Send(request));
    ASSERT_TRUE(peer_.Send({0x09, 0x0A, F, F, F, F, F, F, 0x00}));
    LinkMessage got;
    EXPECT_TRUE(session_.ReceiveLinkRequest(got));
    EXPECT_EQ(got.text, (WString{u'Z', u'o', u'\u00E9', u'\u00FF', u'x'}));
    EXPECT_EQ(got.value, 0x2010);
    EXPECT_EQ(peer_.Read(echo.size()), echo);

    // Any answer but an acknowledge fails the exchange; the request stays out.
    ASSERT_TRUE(peer_.Send({0x09, 0x08, F, F, F, F, F, F, 0x00}));
    ASSERT_TRUE(peer_.Send({0x09, 0xFF, F, F, F, F, F, F, 0x00}));
    EXPECT_FALSE(session_.ReceiveLinkRequest(got));
    EXPECT_EQ(got.kind, LinkMessageKind::kStartGame);
}

TEST_F(LinkWire, AnEchoThatDiffersInAnyFieldIsRejected) {
    const Bytes request = {0x0C, 0x05, F, F, F, F, F, F, 'B', 'o', 'b', 0x00};
    const Bytes reject = {0x09, 0xFF, F, F, F, F, F, F, 0x00};
    const std::vector<Bytes> wrongEchoes = {
        {0x0C, 0x09, F, F, F, F, F, F, 'B', 'o', 'B', 0x00},    {0x0C, 0x09, F, F, F, 0x00, F, F, 'B', 'o', 'b', 0x00},
        {0x0C, 0x09, F, F, F, F, 0x01, F, 'B', 'o', 'b', 0x00}, {0x0B, 0x09, F, F, F, F, F, F, 'B', 'o', 0x00},
        {0x0C, 0x05, F, F, F, F, F, F, 'B', 'o', 'b', 0x00},    {0x09, 0x0A, F, F, F, F, F, F, 0x00},
    };
    for (const Bytes& wrong : wrongEchoes) {
        ASSERT_TRUE(peer_.Send(wrong));
        EXPECT_FALSE(session_.SendNameMessage(u"Bob"));
        Bytes expected = request;
        expected.insert(expected.end(), reject.begin(), reject.end());
        EXPECT_EQ(peer_.Read(expected.size()), expected);
    }
}

}  // namespace
}  // namespace qv
