// The rules tutorial played through its pages and four demonstrations to its end.
#include <gtest/gtest.h>

#include <vector>

#include "cards/launchers.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

TEST(MatchTutorial, PagesAndDemonstrationsRunInOrderToTheEnd) {
    StartMatchEnvironment();
    SeedRandom(51);
    MakeLocalPlayer(DeckFrom(1));
    StartOpponentMatch(0, 0);
    gMatch.SetTutorialMode(1);
    gMatch.SetTutorialStep(13);
    std::vector<int> steps = {13};
    bool chose = false;
    for (int frame = 0; frame < 20000 && !gClubActive; ++frame) {
        gMatch.Update();
        int step = gMatch.GetTutorialStep();
        if (step != steps.back()) steps.push_back(step);
        if (step >= 20 && step <= 24) {
            TapDown(120, 160);
            gMatch.StylusUp(120, 160);  // a release does nothing
            steps.push_back(gMatch.GetTutorialStep());
        }
        if (step == 26) {
            // A tap beside every target changes nothing.
            TapDown(230, 300);
            EXPECT_EQ(gMatch.GetTutorialStep(), 26);
            TapFirstTarget();  // the open choice: the first cell the demonstration card can take
            chose = true;
        }
    }
    ASSERT_EQ(gClubActive, 1) << "the tutorial did not end";
    EXPECT_EQ(gMatch.GetTutorialMode(), 0);
    std::vector<int> expected = {13, 20, 14, 25, 21, 15, 25, 22, 16, 25, 26, 25, 23, 17, 25, 24, 18};
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(chose);
    // The last demonstration's chain took five cards one after the other;
    // the card it never reached stays RED.
    const Board& board = gMatch.GetBoard();
    for (auto [c, r] : {std::pair{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {4, 2}}) {
        EXPECT_EQ(board.GetOwner(c, r), BLUE) << c << "," << r;
    }
    EXPECT_EQ(board.GetOwner(4, 0), RED);
    // The player's own hand was never used.
    EXPECT_EQ(gMatch.GetHand(RED).CountCards(), 5);
}

}  // namespace
}  // namespace qv::test
