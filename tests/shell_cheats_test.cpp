// The cheat key sequences: timing of the keys, restarts, the cheat mode and
// where the effects apply. The headless clock advances by the sleeps.
#include <gtest/gtest.h>

#include <vector>

#include "cards/statistics.h"
#include "club/club.h"
#include "platform/clock.h"
#include "shell/cheats.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

constexpr int8_t U = kDirectionUp, D = kDirectionDown, L = kDirectionLeft, R = kDirectionRight;

KeySequence SequenceOf(const std::vector<int8_t>& keys) {
    KeySequence sequence;
    for (int8_t key : keys) sequence.Append(key);
    return sequence;
}

// Feeds the keys gapMs apart; true when the last one completed the sequence.
bool Type(KeySequence& sequence, const std::vector<int8_t>& keys, uint32_t gapMs = 100) {
    bool done = false;
    for (int8_t key : keys) {
        platform::Sleep(gapMs);
        done = sequence.Feed(key);
    }
    return done;
}

class Cheats : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        SetUpCheatSequences();
        MakeLocalPlayer(DeckFrom(1));
        ClearStatistics();
        gClubActive = 1;
    }
    void TearDown() override {
        ClearStatistics();
        gCheatMode = 0;
    }
    // Types the keys as the window procedure feeds them: every key to
    // all six, each completion applied at once.
    static void TypeCheat(const std::vector<int8_t>& keys) {
        for (int8_t key : keys) {
            platform::Sleep(100);
            for (int i = 0; i < kCheatSequenceCount; ++i) {
                if (gCheatSequences[i].Feed(key)) ApplyCheat(i);
            }
        }
    }
};

TEST_F(Cheats, FeedTimingWrongKeysAndRestarts) {
    KeySequence s = SequenceOf({U, D, L, R});
    // Reading the headless clock moves it 1 ms: keys 998 ms apart are read 999 ms apart.
    EXPECT_TRUE(Type(s, {U, D, L, R}, 998));
    EXPECT_FALSE(Type(s, {U, D, L, R}, 1000)) << "keys a second apart never complete";
    s = SequenceOf({U, D, L, R});
    EXPECT_FALSE(Type(s, {U, D, D, L, R}));
    // A wrong key that begins the sequence starts a new attempt at once.
    EXPECT_TRUE(Type(s, {U, D, U, D, L, R}));
    // A late right key restarts only when it is the first key.
    s = SequenceOf({U, D, L, R});
    Type(s, {U, D});
    EXPECT_FALSE(Type(s, {L}, 1500));
    EXPECT_FALSE(Type(s, {R}));
    EXPECT_TRUE(Type(s, {U, D, L, R}));
    // Completion starts over: the same keys complete again.
    EXPECT_TRUE(Type(s, {U, D, L, R}));
    // At most eight keys are held.
    KeySequence longest = SequenceOf({U, U, U, U, U, U, U, U, D});
    EXPECT_FALSE(Type(longest, {U, U, U, U, U, U, U}));
    EXPECT_TRUE(Type(longest, {U}));
}

TEST_F(Cheats, TheSixSequencesCompleteOnlyThemselves) {
    const std::vector<std::vector<int8_t>> typed = {
        {U, D, U, D, L, R, L}, {R, U, R, U}, {D, R, D, R}, {L, D, L, D}, {U, L, U, L}, {R, D, L, U}};
    for (size_t target = 0; target < typed.size(); ++target) {
        SetUpCheatSequences();
        std::vector<int> completed;
        for (int8_t key : typed[target]) {
            platform::Sleep(100);
            for (int i = 0; i < kCheatSequenceCount; ++i) {
                if (gCheatSequences[i].Feed(key)) completed.push_back(i);
            }
        }
        EXPECT_EQ(completed, std::vector<int>{static_cast<int>(target)}) << target;
    }
    // Walking the club with left and right completes nothing.
    SetUpCheatSequences();
    uint32_t walk = 12345;
    for (int n = 0; n < 5000; ++n) {
        walk = walk * 1103515245u + 12345u;
        const int8_t key = (walk >> 16) & 1 ? L : R;
        platform::Sleep(50);
        for (KeySequence& sequence : gCheatSequences) EXPECT_FALSE(sequence.Feed(key));
    }
}

TEST_F(Cheats, ModeGatesTheEffectsAndTheClubViewGatesEverything) {
    const int32_t credits = gProfile.GetCredits();
    TypeCheat({R, U, R, U});
    EXPECT_EQ(gProfile.GetCredits(), credits) << "mode off: nothing";
    // During a match nothing happens, not even the switch.
    gClubActive = 0;
    TypeCheat({U, D, U, D, L, R, L});
    EXPECT_EQ(gCheatMode, 0);
    gClubActive = 1;
    TypeCheat({U, D, U, D, L, R, L});
    EXPECT_EQ(gCheatMode, 1);
    TypeCheat({R, U, R, U});
    EXPECT_EQ(gProfile.GetCredits(), credits + 10000);
    TypeCheat({D, R, D, R});
    TypeCheat({L, D, L, D});
    for (int i = 0; i < 45; ++i) EXPECT_EQ(gGamesWon[i], 1) << i;
    EXPECT_EQ(gTourneysWon[2], 1);
    EXPECT_EQ(gTourneysPlayed[0], 1);
    TypeCheat({U, D, U, D, L, R, L});
    EXPECT_EQ(gCheatMode, 0);
    TypeCheat({D, R, D, R});
    EXPECT_EQ(gGamesWon[0], 1);
}

TEST_F(Cheats, TheBigOneGivesCreditsCardsTourneysAndWins) {
    TypeCheat({U, D, U, D, L, R, L});
    const int32_t credits = gProfile.GetCredits();
    TypeCheat({R, D, L, U});
    EXPECT_EQ(gProfile.GetCredits(), credits + 50000);
    EXPECT_EQ(gProfile.CountDistinct(), 344);
    EXPECT_EQ(gProfile.GetCardCount(1), 2) << "one more copy of what was owned";
    EXPECT_EQ(gTourneysWon[1], 1);
    EXPECT_EQ(gGamesWon[44], 1);
    EXPECT_EQ(gGamesWon[45], 0) << "only the 45 opponents' entries";
    // Credits stop at the largest amount instead of wrapping.
    SetCredits(2147483647 - 20000);
    TypeCheat({R, D, L, U});
    EXPECT_EQ(gProfile.GetCredits(), 2147483647);
    gCheatMode = 0;
}

}  // namespace
}  // namespace qv::test
