// The real program resumes a match from the quick save, leaves it again, and plays it to its end.
#include <gtest/gtest.h>

#include <map>

#include "cards/launchers.h"
#include "tests/support/game_runner.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {


// A player without a plan: every hand slot dragged onto every cell in turn,
// every cell tapped (a target to choose), the pile tapped, and the places of the end-of-match
// boxes' "Ok" tapped. Wrong moves are simply refused by the match.
std::string PlayRounds(int rounds, int cells = 24) {
    std::string script;
    for (int round = 0; round < rounds; ++round) {
        for (int cell = 0; cell < cells; ++cell) {
            int c = cell / 4, r = cell % 4;
            for (int slot = 0; slot < 5; ++slot) {
                script += "drag " + std::to_string(67 + 35 * slot) + " 270 " + std::to_string(40 * c + 9) +
                          " " + std::to_string(58 * r + 10) + " 4\nwait 120\n";
            }
            script += "tap " + std::to_string(40 * c + 20) + " " + std::to_string(58 * r + 25) + "\nwait 60\n";
            script += "tap 25 280\nwait 60\ntap 222 70\nwait 60\ntap 190 190\nwait 60\n";
        }
    }
    return script;
}

std::map<int16_t, int> CountsInFile() {
    std::map<int16_t, int> counts;
    EXPECT_TRUE(LoadPlayerSave(1));
    for (int16_t id = 1; id <= kCardSetSize; ++id) counts[id] = gProfile.GetCardCount(id);
    return counts;
}

TEST(MatchResume, MatchSurvivesLeavingAndRestartingAndPlaysToItsEnd) {
    GameRunner runner;
    std::string install = runner.LinkInstallation(QV_INSTALL_DIR);
    runner.WriteRegistry(install);
    runner.Setenv("QUORVANE_TIME_LIMIT", "3000000");
    StartMatchEnvironment();
    UseInstallDir(install);

    // A match in progress, left with a quick save as the prompts leave.
    SeedRandom(41);
    MakeLocalPlayer(DeckFrom(1));
    SavePlayer();
    std::map<int16_t, int> before = CountsInFile();
    MakeLocalPlayer(DeckFrom(1));
    ASSERT_TRUE(SaveMatchInProgress(4, 0, 14));
    const std::string quickSave = install + "/SAVE/QuickSave.QCP";
    ASSERT_TRUE(std::filesystem::exists(quickSave));

    // First run: the match comes back, a few moves, then "quit" through the A prompt.
    runner.WriteScript(ThroughStartup() + PlayRounds(1, 10) + "key a press\n" +
                       "on gamebox Do you really want to quit the game now ?\nwait 100\n" +
                       "tap 190 190\nat 2900000 quit 9\n");
    GameRun first = runner.Run(300);
    ASSERT_EQ(first.exitCode, 0) << first.TraceText().substr(0, 4000);
    EXPECT_TRUE(first.Traced("sound") && first.Traced("carte.QVW")) << "no card was laid";
    ASSERT_TRUE(std::filesystem::exists(quickSave)) << "leaving wrote no quick save";
    ASSERT_FALSE(first.Traced("gagne.QVW") || first.Traced("perdu.QVW")) << "ended too early";

    // Second run: it comes back again and is played to its end.
    runner.WriteScript(ThroughStartup() + PlayRounds(6) + "quit 0\n");
    GameRun second = runner.Run(600);
    ASSERT_EQ(second.exitCode, 0) << (second.timedOut ? "timed out" : "");
    EXPECT_FALSE(std::filesystem::exists(quickSave));
    bool won = second.Traced("gagne.QVW");
    bool lost = second.Traced("perdu.QVW");
    ASSERT_TRUE(won || lost) << "the match did not reach its result";

    std::map<int16_t, int> after = CountsInFile();
    int gained = 0, lostCards = 0;
    for (const auto& [id, n] : after) {
        if (n > before[id]) gained += n - before[id];
        if (n < before[id]) lostCards += before[id] - n;
    }
    int added = second.TraceCount("gamebox This card is added to your Collection.");
    int removed = second.TraceCount("gamebox This card is Removed to your Collection.");
    EXPECT_EQ(gained, added);
    EXPECT_EQ(lostCards, removed);
    if (lost) {
        EXPECT_EQ(removed + second.TraceCount("You lost all the cards"), 1);
    }
}

}  // namespace
}  // namespace qv::test
