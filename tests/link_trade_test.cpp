// Two real programs on this machine trade over the link: credits and cards
// change hands exactly once, and a machine that vanishes mid-trade leaves
// the other one's character as it was. The scripts are the pairs in
// tests/scenarios/link/.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cards/profile.h"
#include "tests/support/link_pair.h"

namespace qv::test {
namespace {

struct Holding {
    bool loaded = false;
    int32_t credits = 0;
    std::map<int16_t, int> cards;
};

Holding Read(LinkPair& pair, LinkPair::Role role) {
    Holding holding;
    holding.cards = pair.Collection(role, &holding.loaded);
    holding.credits = gProfile.GetCredits();
    return holding;
}

// The number in the last trace line holding the text, followed by it.
int TracedNumber(const GameRun& run, const std::string& text) {
    int number = -1;
    for (const std::string& line : run.trace) {
        const size_t at = line.find(text);
        if (at != std::string::npos) number = std::stoi(line.substr(at + text.size()));
    }
    return number;
}

TEST(LinkTrade, CreditsOfferedOnBothSidesChangeHandsOnce) {
    LinkPair pair;
    CharacterPlan server;
    server.name = "HOSTA";
    server.credits = 900;
    CharacterPlan client;
    client.name = "GUESTB";
    client.credits = 400;
    ASSERT_TRUE(pair.PrepareBoth(server, client));
    const Holding serverBefore = Read(pair, LinkPair::kServer);
    const Holding clientBefore = Read(pair, LinkPair::kClient);

    ASSERT_TRUE(pair.Start("credits-traded"));
    const auto [serverRun, clientRun, story] = pair.WaitBoth();
    ASSERT_EQ(serverRun.exitCode, 0) << story;
    ASSERT_EQ(clientRun.exitCode, 0) << story;
    EXPECT_EQ(serverRun.TraceCount("room trade finished"), 1) << story;
    EXPECT_EQ(clientRun.TraceCount("room trade finished"), 1) << story;

    // Each side's offer as it went out, and as the other side took it.
    const int serverOffer = TracedNumber(serverRun, "room trade offer ");
    const int clientOffer = TracedNumber(clientRun, "room trade offer ");
    ASSERT_GT(serverOffer, 0) << story;
    ASSERT_GT(clientOffer, 0) << story;
    EXPECT_EQ(TracedNumber(clientRun, "room trade other offer "), serverOffer) << story;
    EXPECT_EQ(TracedNumber(serverRun, "room trade other offer "), clientOffer) << story;

    const Holding serverAfter = Read(pair, LinkPair::kServer);
    const Holding clientAfter = Read(pair, LinkPair::kClient);
    ASSERT_TRUE(serverAfter.loaded && clientAfter.loaded);
    EXPECT_EQ(serverAfter.credits, serverBefore.credits - serverOffer + clientOffer);
    EXPECT_EQ(clientAfter.credits, clientBefore.credits - clientOffer + serverOffer);
    EXPECT_EQ(serverAfter.cards, serverBefore.cards);
    EXPECT_EQ(clientAfter.cards, clientBefore.cards);
}

TEST(LinkTrade, CardsBoxedInTheCollectionManagerChangeHandsOnceAndNoCardIsMadeOrLost) {
    LinkPair pair;
    CharacterPlan server;
    server.name = "HOSTA";
    server.wholeCollection = true;
    CharacterPlan client;
    client.name = "GUESTB";
    client.wholeCollection = true;
    client.strongDeck = false;
    ASSERT_TRUE(pair.PrepareBoth(server, client));
    const Holding serverBefore = Read(pair, LinkPair::kServer);
    const Holding clientBefore = Read(pair, LinkPair::kClient);

    ASSERT_TRUE(pair.Start("cards-traded"));
    const auto [serverRun, clientRun, story] = pair.WaitBoth();
    ASSERT_EQ(serverRun.exitCode, 0) << story;
    ASSERT_EQ(clientRun.exitCode, 0) << story;
    EXPECT_EQ(serverRun.TraceCount("room trade finished"), 1) << story;
    EXPECT_EQ(clientRun.TraceCount("room trade finished"), 1) << story;

    const Holding serverAfter = Read(pair, LinkPair::kServer);
    const Holding clientAfter = Read(pair, LinkPair::kClient);
    ASSERT_TRUE(serverAfter.loaded && clientAfter.loaded);
    EXPECT_EQ(CardTotal(serverAfter.cards) + CardTotal(clientAfter.cards),
              CardTotal(serverBefore.cards) + CardTotal(clientBefore.cards));
    EXPECT_EQ(serverAfter.credits, serverBefore.credits);
    EXPECT_EQ(clientAfter.credits, clientBefore.credits);
    // Cards 1 and 3 went one way, card 6 the other; nothing else moved.
    std::map<int16_t, int> serverWanted = serverBefore.cards, clientWanted = clientBefore.cards;
    for (int16_t id : {1, 3}) {
        --serverWanted[id];
        ++clientWanted[id];
    }
    --clientWanted[6];
    ++serverWanted[6];
    std::erase_if(serverWanted, [](const auto& entry) { return entry.second == 0; });
    std::erase_if(clientWanted, [](const auto& entry) { return entry.second == 0; });
    EXPECT_EQ(serverAfter.cards, serverWanted);
    EXPECT_EQ(clientAfter.cards, clientWanted);
}

TEST(LinkTrade, AMachineSwitchedOffWhenReadyLeavesBothCharactersAsTheyWere) {
    LinkPair pair;
    CharacterPlan server;
    server.name = "HOSTA";
    CharacterPlan client;
    client.name = "GUESTB";
    ASSERT_TRUE(pair.PrepareBoth(server, client));
    const Holding serverBefore = Read(pair, LinkPair::kServer);
    const Holding clientBefore = Read(pair, LinkPair::kClient);

    ASSERT_TRUE(pair.Start("trade-peer-vanishes"));
    ASSERT_TRUE(pair.WaitForTrace(LinkPair::kServer, "room trade other ready 1", 60));
    pair.Kill(LinkPair::kClient);
    ASSERT_TRUE(pair.WaitForTrace(LinkPair::kServer, "gamebox Error of Synchronization:", 10));
    const GameRun run = pair.Wait(LinkPair::kServer);
    ASSERT_EQ(run.exitCode, 0) << LinkPair::Story(run);
    EXPECT_TRUE(run.Traced("room trade closed")) << LinkPair::Story(run);
    EXPECT_FALSE(run.Traced("room trade finished")) << LinkPair::Story(run);

    const Holding serverAfter = Read(pair, LinkPair::kServer);
    const Holding clientAfter = Read(pair, LinkPair::kClient);
    EXPECT_EQ(serverAfter.credits, serverBefore.credits);
    EXPECT_EQ(serverAfter.cards, serverBefore.cards);
    EXPECT_EQ(clientAfter.credits, clientBefore.credits);
    EXPECT_EQ(clientAfter.cards, clientBefore.cards);
}

}  // namespace
}  // namespace qv::test
