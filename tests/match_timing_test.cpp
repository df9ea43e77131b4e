// The message line and the opening sequence reaching their ends on the virtual clock.
#include <gtest/gtest.h>

#include "cards/launchers.h"
#include "engine/display.h"
#include "engine/font.h"
#include "platform/clock.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

class MatchTiming : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        SeedRandom(31);
        MakeLocalPlayer(DeckFrom(1));
    }
    // With the font loaded every question box would wait for a tap.
    void TearDown() override { gFont.Free(); }
    // One frame of the message line as Update runs it.
    void Step() {
        switch (gMatch.GetMessageLine().mode) {
            case 0: gMatch.UpdateBlinkingMessage(false); break;
            case 2: gMatch.UpdateScrollingMessage(false); break;
            default: break;
        }
    }
};

TEST_F(MatchTiming, BlinkAlternatesTextsAndHandsOverToTheScroll) {
    gMatch.SetMessageLine(0, u"first", u"second", u"third", 4, 1, 0);
    const MessageLine& line = gMatch.GetMessageLine();
    std::vector<std::pair<uint8_t, uint8_t>> seen;  // (visible, showingA) after each toggle
    for (int toggle = 0; toggle < 4; ++toggle) {
        platform::Sleep(150);
        Step();
        ASSERT_EQ(line.toggleCount, toggle) << "no toggle within 300 ms";
        platform::Sleep(160);
        Step();
        seen.push_back({line.visible, line.showingA});
    }
    // Hidden, shown as B, hidden, shown as A.
    std::vector<std::pair<uint8_t, uint8_t>> expected = {{0, 1}, {1, 0}, {0, 0}, {1, 1}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(line.mode, 0);
    platform::Sleep(310);
    Step();
    // The fifth toggle passes the limit of 4: text C scrolls now.
    EXPECT_EQ(line.mode, 2);
    EXPECT_EQ(line.textA, u"third");

    // Without the blink flag the text stays and C never comes.
    gMatch.SetMessageLine(0, u"steady", u"other", u"never", 1, 0, 0);
    for (int i = 0; i < 10; ++i) {
        platform::Sleep(310);
        Step();
    }
    EXPECT_EQ(line.mode, 0);
    EXPECT_EQ(line.visible, 1);
    EXPECT_EQ(line.showingA, 1);
}

// The message line's strip of back buffer 0.
std::vector<uint16_t> LinePixels() {
    std::vector<uint16_t> pixels;
    for (int y = 235; y < 248; ++y) {
        for (int x = 35; x < 233; ++x) pixels.push_back(gScreenBuffers[0][y * 240 + x]);
    }
    return pixels;
}

TEST_F(MatchTiming, HandoverStepStillDrawsTheQueuedText) {
    LoadGameFont();
    ASSERT_TRUE(gFont.IsLoaded());
    gMatch.SetMessageLine(0, u"first", WString(), u"third", 1, 1, 0);
    platform::Sleep(310);
    Step();  // hidden, one toggle
    platform::Sleep(310);
    Step();  // shown again: the limit is passed and the queued text takes over
    ASSERT_EQ(gMatch.GetMessageLine().mode, 2);
    std::vector<uint16_t> drawn = LinePixels();
    gMatch.ClearMessageLine(0);
    EXPECT_NE(drawn, LinePixels()) << "the step that hands over drew nothing";
}

TEST_F(MatchTiming, TickerScrollsOutAndBouncesBack) {
    LoadGameFont();
    ASSERT_TRUE(gFont.IsLoaded());
    gMatch.SetMessageLine(2, u"RED : 3  BLUE : 2", WString(), WString(), 0, 1, 0);
    const MessageLine& line = gMatch.GetMessageLine();
    EXPECT_EQ(line.scrollCount, 0);
    Step();
    EXPECT_EQ(line.scrollCount, 0) << "the first step waits 100 ms";
    int steps = 0;
    int previous = 0;
    while (line.scrollDirection == 1 && steps < 1000) {
        platform::Sleep(101);
        Step();
        if (line.scrollCount != 0) {
            EXPECT_EQ(line.scrollCount, previous + 1);
            previous = line.scrollCount;
        }
        ++steps;
    }
    ASSERT_EQ(line.scrollDirection, -1) << "the ticker never reached its end";
    EXPECT_EQ(line.scrollCount, 0);
    // It comes back from the left, counting down.
    platform::Sleep(101);
    Step();
    EXPECT_EQ(line.scrollCount, -1);
    // 100 ms or less later nothing moves.
    platform::Sleep(50);
    Step();
    EXPECT_EQ(line.scrollCount, -1);
}

TEST_F(MatchTiming, OpeningRunsIntroPauseWheelAndBannerIntoTheFirstTurn) {
    StartOpponentMatch(1, 0);
    ASSERT_EQ(gMatch.GetState(), kStateVersusIntro);
    MatchState firstTurn = gMatch.GetSideToMove() == RED ? kStateLocalActs : kStateComputerTurn;
    gMatch.Update();
    ASSERT_EQ(gMatch.GetState(), kStatePause);
    uint32_t deadline = gMatch.GetPauseDeadline();
    int frames = 0;
    while (gMatch.GetState() == kStatePause && frames < 10000) {
        gMatch.Update();
        ++frames;
    }
    ASSERT_EQ(gMatch.GetState(), kStateWheel);
    EXPECT_GT(static_cast<int32_t>(platform::GetTickCount() - deadline), 0);
    // The wheel spins until a tap really taken from the queue.
    platform::PostMessage(nullptr, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(10, 10));
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
    uint32_t before = platform::GetTickCount();
    gMatch.Update();
    EXPECT_GT(platform::GetTickCount() - before, 200u) << "slow-down and the 200 ms rest";
    ASSERT_EQ(gMatch.GetState(), kStateStartBanner);
    platform::Msg msg;
    EXPECT_FALSE(platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, false));
    gMatch.Update();
    EXPECT_EQ(gMatch.GetState(), firstTurn);
}

}  // namespace
}  // namespace qv::test
