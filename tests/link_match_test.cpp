// Two real programs on this machine play a match over the link to its end,
// and one of them vanishes mid-match: the scripts are the pairs in
// tests/scenarios/link/.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "tests/support/link_pair.h"

namespace qv::test {
namespace {

using Role = LinkPair::Role;

TEST(LinkMatch, PlayedToItsEndTheCardTakenIsSavedOnBothMachines) {
    LinkPair pair;
    CharacterPlan server;
    server.name = "HOSTA";
    CharacterPlan client;
    client.name = "GUESTB";
    client.strongDeck = false;
    ASSERT_TRUE(pair.PrepareBoth(server, client));
    const std::map<int16_t, int> serverBefore = pair.Collection(LinkPair::kServer);
    const std::map<int16_t, int> clientBefore = pair.Collection(LinkPair::kClient);

    ASSERT_TRUE(pair.Start("match-played-to-its-end"));
    const auto [serverRun, clientRun, story] = pair.WaitBoth();
    ASSERT_EQ(serverRun.exitCode, 0) << story;
    ASSERT_EQ(clientRun.exitCode, 0) << story;
    ASSERT_TRUE(serverRun.Traced("match end")) << story;
    ASSERT_TRUE(clientRun.Traced("match end")) << story;
    EXPECT_FALSE(serverRun.Traced("gamebox Error of Synchronization")) << story;
    EXPECT_FALSE(clientRun.Traced("gamebox Error of Synchronization")) << story;

    // Each side is the first participant on its own machine: the results mirror.
    const bool serverWon = serverRun.Traced("match end 0");
    const bool clientWon = clientRun.Traced("match end 0");
    const bool tie = serverRun.Traced("match end 2");
    EXPECT_EQ(tie, clientRun.Traced("match end 2")) << story;
    if (!tie) {
        EXPECT_NE(serverWon, clientWon) << story;
    }

    const std::map<int16_t, int> serverAfter = pair.Collection(LinkPair::kServer);
    const std::map<int16_t, int> clientAfter = pair.Collection(LinkPair::kClient);
    EXPECT_EQ(CardTotal(serverBefore) + CardTotal(clientBefore), CardTotal(serverAfter) + CardTotal(clientAfter))
        << "no card is made or lost";
    if (tie) {
        EXPECT_EQ(serverAfter, serverBefore);
        EXPECT_EQ(clientAfter, clientBefore);
        return;
    }
    // Exactly one card went from the loser to the winner, the same card on both.
    const auto& [winnerBefore, winnerAfter, loserBefore, loserAfter] =
        serverWon ? std::tie(serverBefore, serverAfter, clientBefore, clientAfter)
                  : std::tie(clientBefore, clientAfter, serverBefore, serverAfter);
    EXPECT_EQ(CardTotal(winnerAfter), CardTotal(winnerBefore) + 1);
    EXPECT_EQ(CardTotal(loserAfter), CardTotal(loserBefore) - 1);
    int16_t gained = 0;
    for (const auto& [id, count] : winnerAfter) {
        if (count != (winnerBefore.count(id) ? winnerBefore.at(id) : 0)) gained = id;
    }
    ASSERT_NE(gained, 0);
    EXPECT_EQ(loserAfter.count(gained) ? loserAfter.at(gained) : 0, loserBefore.at(gained) - 1) << "card " << gained;
}

// Both machines in a match; the one whose turn it is (moves) or the one that
// waits for it is switched off. The other one asks its question within
// seconds, gives the match up and is back in the room, not connected, with
// its character file as it was.
void SwitchOffMidMatch(bool theMover) {
    LinkPair pair;
    CharacterPlan server;
    server.name = "HOSTA";
    CharacterPlan client;
    client.name = "GUESTB";
    ASSERT_TRUE(pair.PrepareBoth(server, client));
    ASSERT_TRUE(pair.Start("match-peer-vanishes"));

    // Whoever's turn comes first moves; the other waits for its move. The
    // first mover hears "your turn" when the match is set up, and again once
    // the start banner has gone.
    int mover = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (mover < 0 && std::chrono::steady_clock::now() < deadline) {
        for (Role role : {LinkPair::kServer, LinkPair::kClient}) {
            if (mover < 0 && pair.TraceCount(role, "match your turn") >= 2) mover = role;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GE(mover, 0) << "the match never started";
    const Role moving = static_cast<Role>(mover);
    const Role waiting = moving == LinkPair::kServer ? LinkPair::kClient : LinkPair::kServer;
    const Role victim = theMover ? moving : waiting;
    const Role survivor = theMover ? waiting : moving;
    const std::map<int16_t, int> before = pair.Collection(survivor);
    const auto off = std::chrono::steady_clock::now();
    pair.Kill(victim);
    // A waiting machine hears of it from its blocked receive, a moving one
    // from the link check of its next frame.
    const char* question = theMover ? "gamebox The connection is interrupted !" : "gamebox Error of Synchronization:";
    const bool asked = pair.WaitForTrace(survivor, question, 10);
    const auto took = std::chrono::steady_clock::now() - off;
    ASSERT_TRUE(asked) << LinkPair::Story(pair.Wait(survivor, 1));
    EXPECT_LT(took, std::chrono::seconds(5));

    const GameRun run = pair.Wait(survivor);
    ASSERT_EQ(run.exitCode, 0) << LinkPair::Story(run);
    EXPECT_TRUE(run.Traced("match cancelled")) << LinkPair::Story(run);
    EXPECT_TRUE(run.Traced("match end")) << LinkPair::Story(run);
    EXPECT_EQ(pair.Collection(survivor), before);
}

TEST(LinkMatch, AMachineSwitchedOffWhileItMovesIsNoticedByTheOneWaiting) { SwitchOffMidMatch(true); }

TEST(LinkMatch, AMachineSwitchedOffWhileItWaitsIsNoticedByTheOneMoving) { SwitchOffMidMatch(false); }

}  // namespace
}  // namespace qv::test
