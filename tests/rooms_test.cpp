// The match rooms in this process: what the scripted runs cannot reach, the
// tournament's bracket and its quick-save block, results counted once
// whatever happens between a match's end and the room, restored bytes that
// are refused, and the boss's scenes' drawing rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "cards/statistics.h"
#include "club/bet_screen.h"
#include "club/boss_screen.h"
#include "club/instant_play_screen.h"
#include "club/tournament_screen.h"
#include "engine/display.h"
#include "engine/font.h"
#include "platform/clock.h"
#include "platform/pixels.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

using Fields = TournamentScreen::StoredFields;
using test::Tap;

class RoomsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        test::MakeLocalPlayer(test::DeckFrom(1));
        test::SetCredits(5000);
        ClearStatistics();
        gClubActive = 1;
        gMatchResult = kNoMatchResult;
        gClub.Reset();
    }
    void TearDown() override {
        gClubActive = 1;
        gClub.Reset();
    }

    // The match a room started ends with this result, as Match::Leave leaves it.
    static void EndMatch(uint8_t result) {
        gClubActive = 1;
        gMatchResult = result;
    }
    static int Total(const int16_t* counters) {
        int sum = 0;
        for (int i = 0; i < kOpponentCount; ++i) sum += counters[i];
        return sum;
    }
    // Joins and plays rounds up to the player's first match.
    static void JoinAndStartMatch(TournamentScreen& screen) {
        Tap(screen, 50, 312);  // Start: 5000 credits pay the fee without a question
        screen.Update();
        ASSERT_EQ(screen.GetState(), TournamentScreen::kStateBracketShown);
        Tap(screen, 50, 312);  // Next
        ASSERT_EQ(screen.GetState(), TournamentScreen::kStatePlayerMatch);
        ASSERT_EQ(gClubActive, 0) << "the player's match runs";
    }
    // Plays a joined tournament until its winner is shown, the player winning
    // its first `wins` matches and losing the next; beforeEachStep gets the
    // matches played so far. The matches played.
    static int PlayOut(TournamentScreen& screen, int wins, const std::function<void(int)>& beforeEachStep = {}) {
        int matches = 0;
        for (int turn = 0; turn < 40 && screen.GetState() != TournamentScreen::kStateWinnerShown; ++turn) {
            if (beforeEachStep) beforeEachStep(matches);
            switch (screen.GetState()) {
                case TournamentScreen::kStatePlayerMatch:
                    EndMatch(matches++ < wins ? 0 : 1);
                    screen.Update();
                    break;
                case TournamentScreen::kStateBracketShown:
                case TournamentScreen::kStateResultsShown: Tap(screen, 50, 312); break;
                default: screen.Update(); break;
            }
        }
        return matches;
    }
    // The screen's block; it must write one (two empty ones would compare equal).
    static std::vector<uint8_t> WriteBlock(TournamentScreen& screen) {
        const std::vector<uint8_t> bytes = test::WrittenBlock(screen);
        EXPECT_FALSE(bytes.empty());
        return bytes;
    }
};

TEST_F(RoomsTest, EveryDrawSeatsEachParticipantOnceAndEveryRoundKeepsTheBracketSound) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SeedRandom(seed);
        TournamentScreen screen(0);
        std::set<int> seated;
        for (int i = 0; i < TournamentScreen::kSlotCount; ++i) {
            EXPECT_EQ(screen.SlotAt(i).out, 0);
            seated.insert(screen.SlotAt(i).participant);
        }
        EXPECT_EQ(seated.size(), 16u);
        EXPECT_EQ(seated.count(TournamentScreen::kPlayer), 1u);
        ASSERT_TRUE(screen.IsSound());
    }

    // A whole tournament won: every step sound, the prize paid once.
    TournamentScreen screen(0);
    JoinAndStartMatch(screen);
    for (int round = 0; round < 4; ++round) {
        ASSERT_TRUE(screen.IsSound()) << round;
        EndMatch(0);
        screen.Update();
        EXPECT_EQ(screen.Place(), round + 1);
        screen.Update();
        ASSERT_EQ(screen.GetState(), TournamentScreen::kStateResultsShown);
        ASSERT_TRUE(screen.IsSound());
        Tap(screen, 50, 312);
        screen.Update();
        if (round < 3) Tap(screen, 50, 312);
    }
    ASSERT_EQ(screen.GetState(), TournamentScreen::kStateWinnerShown);
    EXPECT_TRUE(screen.IsSound());
    Tap(screen, 50, 312);
    EXPECT_EQ(screen.GetState(), TournamentScreen::kStateIdle);
    EXPECT_EQ(gProfile.GetCredits(), 5000 - 300 + 2000);
    EXPECT_EQ(gTourneysWon[0], 1);
    EXPECT_EQ(gTourneysPlayed[0], 1);
    EXPECT_EQ(Total(gGamesWon), 4);
    EXPECT_TRUE(screen.IsSound());
}

// Joining: a closed level, too few credits or a short deck refuse with
// nothing paid; up to three times the fee the player is asked first.
TEST_F(RoomsTest, JoiningPaysTheFeeOnceAndOnlyWhenEverythingHolds) {
    auto questions = [] { return test::NoteCount("It will cost me 300 Credits to play this game."); };
    struct Case {
        int level;
        int credits;
        bool fullDeck;
        bool joins;
        bool asked;
    } cases[] = {{1, 5000, true, false, false}, {0, 299, true, false, false}, {0, 5000, false, false, false},
                 {0, 300, true, true, true},    {0, 900, true, true, true},   {0, 901, true, true, false}};
    for (const Case& c : cases) {
        test::MakeLocalPlayer(test::DeckFrom(1));
        if (!c.fullDeck) gProfile.RemoveFromDeckAt(0);
        test::SetCredits(c.credits);
        ClearStatistics();
        TournamentScreen screen(c.level);
        const int askedBefore = questions();
        Tap(screen, 50, 312);
        EXPECT_EQ(screen.Joined(), c.joins ? 1 : 0) << c.credits;
        EXPECT_EQ(gProfile.GetCredits(), c.credits - (c.joins ? 300 : 0)) << c.credits;
        EXPECT_EQ(gTourneysPlayed[c.level], c.joins ? 1 : 0);
        EXPECT_EQ(questions() - askedBefore, c.asked ? 1 : 0) << c.credits;
        EXPECT_EQ(screen.GetState(), c.joins ? TournamentScreen::kStateDrawBracket : TournamentScreen::kStateIdle);
        if (c.joins) {
            // Surrender's "Ok" leaves; the fee stays paid.
            screen.StylusDown(200, 312);
            EXPECT_TRUE(screen.StylusUp(200, 312));
            EXPECT_EQ(gTourneysPlayed[0], 1);
        }
    }
}

// The place reached decides the closing note; only the final pays, and only
// a won final counts as a tournament won. A player knocked out steps
// through the remaining rounds all the same.
TEST_F(RoomsTest, FinalPlaceDecidesTheNoteAndThePrize) {
    const std::string notes[5] = {
        "Well, it seems that I REALLY need some training.",
        "Looks like I need some more practice.",
        "Not that bad, maybe next time I'll reach the final. ",
        "Yeahhh! I finished 2nd, little bit work and I'll be the champion. I won 4000 Credits!",
        "Woohooo! I won the tournament, and 8000 Credits!",
    };
    const int prizes[5] = {0, 0, 0, 4000, 8000};
    gTourneysWon[0] = 1;
    for (int i = 0; i < 15; ++i) gGamesWon[i * 3] = 1;
    const std::filesystem::path trace = test::PrepareInstallation() / "trace.txt";
    for (int place = 0; place <= 4; ++place) {
        SCOPED_TRACE(place);
        test::SetCredits(5000);
        gTourneysWon[1] = 0;
        TournamentScreen screen(1);
        JoinAndStartMatch(screen);
        const int matches = PlayOut(screen, place);
        ASSERT_EQ(screen.GetState(), TournamentScreen::kStateWinnerShown);
        EXPECT_EQ(matches, std::min(place + 1, 4));
        EXPECT_EQ(screen.Place(), place);
        const size_t notesBefore = test::TraceOf(trace, "gamebox").size();
        Tap(screen, 50, 312);
        const std::vector<std::string> boxes = test::TraceOf(trace, "gamebox");
        ASSERT_EQ(boxes.size(), notesBefore + 1);
        EXPECT_EQ(boxes.back().substr(0, boxes.back().find(" | ")), notes[place]);
        EXPECT_EQ(gProfile.GetCredits(), 5000 - 1000 + prizes[place]);
        EXPECT_EQ(gTourneysWon[1], place == 4 ? 1 : 0);
        EXPECT_EQ(screen.GetState(), TournamentScreen::kStateIdle);
        EXPECT_EQ(screen.Round(), 0);
        EXPECT_EQ(screen.Place(), 0);
    }
}

TEST_F(RoomsTest, ComputerMatchesFavourTheStrongerAndNeverDecideThePlayers) {
    TournamentScreen screen(2);
    int strongerWins = 0;
    for (int i = 0; i < 400; ++i) {
        const uint8_t winner = screen.SimulateMatch(0, 14);  // strength codes 20 and 23
        ASSERT_TRUE(winner == 0 || winner == 14);
        strongerWins += winner == 14 ? 1 : 0;
    }
    EXPECT_GT(strongerWins, 300);
    EXPECT_EQ(screen.SimulateMatch(5, TournamentScreen::kPlayer), TournamentScreen::kPlayer);
}

// Ties are played again at once; a round whose match did not come back with
// a restored game is played again uncounted; a short deck plays nothing.
TEST_F(RoomsTest, PlayerMatchesEndCountedOnceOrAreReplayed) {
    TournamentScreen screen(0);
    JoinAndStartMatch(screen);
    EndMatch(2);
    screen.Update();
    EXPECT_EQ(gGamesTied[screen.Opponent() * 3], 1);
    EXPECT_EQ(screen.GetState(), TournamentScreen::kStatePlayerMatch);
    EXPECT_EQ(gClubActive, 0) << "the tie is replayed";

    gClubActive = 1;  // no result: a restored game without its match
    screen.Update();
    EXPECT_EQ(Total(gGamesTied) + Total(gGamesWon) + Total(gGamesLost), 1);
    EXPECT_EQ(gClubActive, 0) << "replayed";

    // The deck lost a card meanwhile: back to the bracket, whose Next waits
    // for a full deck without deciding anything.
    gClubActive = 1;
    gProfile.RemoveFromDeckAt(0);
    screen.ReplayMatch();
    EXPECT_EQ(screen.GetState(), TournamentScreen::kStateBracketShown);
    const Fields before = screen.Stored();
    Tap(screen, 50, 312);
    EXPECT_EQ(gClubActive, 1);
    EXPECT_EQ(screen.GetState(), TournamentScreen::kStateBracketShown);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(screen.SlotAt(i).out, before.slots[i].out);
    gProfile.AddToDeck(1, false);
    Tap(screen, 50, 312);
    EXPECT_EQ(screen.GetState(), TournamentScreen::kStatePlayerMatch);
    EXPECT_EQ(screen.Opponent(), before.opponent) << "the same pair plays";
    EXPECT_TRUE(screen.IsSound());
}

TEST_F(RoomsTest, TournamentBlockRoundTripsAndRefusesWhatCannotGoOn) {
    TournamentScreen screen(1);
    gTourneysWon[0] = 1;
    for (int i = 0; i < 15; ++i) gGamesWon[i * 3] = 1;
    JoinAndStartMatch(screen);
    const std::vector<uint8_t> bytes = WriteBlock(screen);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[34], TournamentScreen::kStatePlayerMatch);
    EXPECT_EQ(bytes[37], 1);
    EXPECT_EQ(bytes[38], 1);
    EXPECT_EQ(bytes[40] | bytes[41] << 8, 8000);
    EXPECT_EQ(bytes[42] | bytes[43] << 8, 4000);

    TournamentScreen restored(0);
    ASSERT_TRUE(test::ReadBlock(bytes, restored));
    EXPECT_EQ(restored.Level(), 1);
    EXPECT_EQ(restored.GetState(), TournamentScreen::kStatePlayerMatch);
    EXPECT_EQ(restored.Opponent(), screen.Opponent());

    std::vector<std::vector<uint8_t>> damaged;
    auto edit = [&](int at, uint8_t value) {
        damaged.push_back(bytes);
        damaged.back()[at] = value;
    };
    edit(0, 3);                                   // level
    edit(1, 5);                                   // round
    edit(2, 15);                                  // a participant that does not exist
    for (int slot = 0; slot < 16; ++slot) {
        if (slot / 2 != screen.PairIndex() / 2 && screen.SlotAt(slot).out == 0) {
            edit(2 + 2 * slot, static_cast<uint8_t>(screen.Opponent()));  // seated twice
            break;
        }
    }
    edit(34, 0);                                  // state
    edit(34, 8);
    edit(35, static_cast<uint8_t>(screen.PairIndex() + 1));  // not a pair
    edit(36, static_cast<uint8_t>((screen.Opponent() + 1) % 15));  // not the pair's opponent
    edit(38, 0);                                  // the joined flag's copy differs
    edit(40, 0xFF);                               // a prize of no level
    damaged.push_back(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30));
    for (size_t i = 0; i < damaged.size(); ++i) {
        TournamentScreen fresh(0);
        EXPECT_FALSE(test::ReadBlock(damaged[i], fresh)) << i;
        EXPECT_EQ(fresh.GetState(), TournamentScreen::kStateIdle) << i;
        EXPECT_EQ(fresh.Joined(), 0) << i;
        EXPECT_TRUE(fresh.IsSound()) << i;
    }

    // A match that ended before the save is counted as the save is written,
    // once, and the bytes say so.
    EndMatch(1);
    const std::vector<uint8_t> settled = WriteBlock(screen);
    EXPECT_EQ(settled[34], TournamentScreen::kStateDrawResults);
    EXPECT_EQ(WriteBlock(screen), settled);
    EXPECT_EQ(Total(gGamesLost), 1);
}

// The place restores only as the wins so far allow, so that a damaged one
// pays no prize never won: at every step of tournaments ending at each
// place, while the player is still in every other place is refused, and
// once out every place from the current round's number up.
TEST_F(RoomsTest, RestoredPlaceIsHeldToTheWinsSoFar) {
    auto expectPlaces = [](TournamentScreen& screen, bool stillIn) {
        const std::vector<uint8_t> bytes = WriteBlock(screen);
        const std::string where =
            "state " + std::to_string(screen.GetState()) + " round " + std::to_string(screen.Round());
        TournamentScreen restored(0);
        ASSERT_TRUE(test::ReadBlock(bytes, restored)) << where;
        for (int place = 0; place <= 4; ++place) {
            if (place == screen.Place() || (!stillIn && place < screen.Round())) continue;
            std::vector<uint8_t> damaged = bytes;
            damaged[39] = static_cast<uint8_t>(place);
            TournamentScreen refused(0);
            EXPECT_FALSE(test::ReadBlock(damaged, refused)) << "place " << place << " in " << where;
            EXPECT_EQ(refused.Place(), 0);
        }
    };
    TournamentScreen idle(0);
    expectPlaces(idle, true);
    for (int place = 0; place <= 4; ++place) {
        SCOPED_TRACE(place);
        test::SetCredits(5000);
        TournamentScreen screen(0);
        JoinAndStartMatch(screen);
        PlayOut(screen, place, [&](int matches) { expectPlaces(screen, matches <= place); });
        ASSERT_EQ(screen.Place(), place);
        expectPlaces(screen, place == 4);
    }
}

TEST_F(RoomsTest, BetPaysByLevelAndResultOnceAndOnlyForAFinishedMatch) {
    gTourneysWon[0] = gTourneysWon[1] = 1;
    for (int i = 0; i < 30; ++i) gGamesWon[i] = 1;
    struct Case {
        int number;
        uint8_t result;
        int credits;  // after the stake and the payout
    } cases[] = {{1, 0, 5030}, {1, 1, 4990}, {1, 2, 5000}, {16, 0, 5050},
                 {31, 0, 5100}, {31, 2, 5000}, {31, kNoMatchResult, 4900}};
    for (const Case& c : cases) {
        test::SetCredits(5000);
        BetScreen screen(c.number);
        EXPECT_FALSE(Tap(screen, 20, 310));
        ASSERT_TRUE(screen.MatchStarted()) << c.number;
        EXPECT_FALSE(Tap(screen, 220, 311)) << "Back does nothing while the match is pending";
        EndMatch(c.result);
        const int before = Total(gGamesWon) + Total(gGamesLost) + Total(gGamesTied);
        screen.Update();
        EXPECT_FALSE(screen.MatchStarted());
        EXPECT_EQ(gProfile.GetCredits(), c.credits) << c.number << " " << int(c.result);
        const int after = Total(gGamesWon) + Total(gGamesLost) + Total(gGamesTied);
        EXPECT_EQ(after - before, c.result == kNoMatchResult ? 0 : 1);
        screen.Update();
        EXPECT_EQ(gProfile.GetCredits(), c.credits) << "counted once";
    }

    // Saved after the match's end: counted as the bytes are written, once.
    BetScreen screen(2);
    test::SetCredits(5000);
    Tap(screen, 20, 310);
    EXPECT_TRUE(screen.MatchStarted());
    gMatchResult = 0;  // the board filled; the match has not left yet
    platform::FileHandle file =
        platform::CreateFile(test::HandheldBlockPath(), platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    screen.WriteState(file);
    EXPECT_EQ(gProfile.GetCredits(), 4990) << "the match is saved with the game and counted after it";
    gClubActive = 1;
    screen.WriteState(file);
    screen.WriteState(file);
    platform::CloseHandle(file);
    EXPECT_EQ(gProfile.GetCredits(), 5030);
    EXPECT_FALSE(screen.MatchStarted());
}

TEST_F(RoomsTest, BetRefusesBeforeTakingTheStakeAndRestoresOnlySoundBytes) {
    gTourneysWon[0] = gTourneysWon[1] = 1;
    for (int i = 0; i < 30; ++i) gGamesWon[i] = 1;
    test::SetCredits(99);
    BetScreen elite(31);
    Tap(elite, 20, 310);
    EXPECT_FALSE(elite.MatchStarted());
    EXPECT_EQ(gProfile.GetCredits(), 99);
    EXPECT_EQ(gClub.CurrentType(), kScreenClubView) << "no shop for want of credits";
    EXPECT_FALSE(gClub.InTransition());

    gProfile.AddCredits(1000);
    gProfile.RemoveFromDeckAt(3);
    Tap(elite, 20, 310);
    EXPECT_FALSE(elite.MatchStarted());
    EXPECT_EQ(gProfile.GetCredits(), 1099);
    EXPECT_TRUE(gClub.InTransition()) << "off to the shop";
    EXPECT_EQ(gClub.ShopReturn(), kScreenBet);

    BetScreen screen(1);
    EXPECT_TRUE(test::ReadBlock({14, 2, 1, 0, 0}, screen));
    EXPECT_EQ(screen.Number(), 45);
    EXPECT_TRUE(screen.MatchStarted());
    for (const std::vector<uint8_t>& bad : std::vector<std::vector<uint8_t>>{
             {15, 0, 0, 0, 0}, {0, 3, 0, 0, 0}, {0xFF, 0, 0, 0, 0}, {0, 0, 2, 0, 0}, {0, 0, 0, 7, 0}, {1, 1}}) {
        BetScreen fresh(1);
        EXPECT_FALSE(test::ReadBlock(bad, fresh));
        EXPECT_EQ(fresh.Number(), 1);
        EXPECT_FALSE(fresh.MatchStarted());
    }
    InstantPlayScreen instant;
    EXPECT_TRUE(test::ReadBlock({2, 14, 1, 9}, instant));
    EXPECT_EQ(instant.Level(), 2);
    for (const std::vector<uint8_t>& bad :
         std::vector<std::vector<uint8_t>>{{3, 0xFF, 0, 0}, {0, 15, 0, 0}, {0, 0xFE, 0, 0}, {0, 0, 2, 0}}) {
        InstantPlayScreen fresh;
        EXPECT_FALSE(test::ReadBlock(bad, fresh));
        EXPECT_EQ(fresh.Level(), 0);
        EXPECT_EQ(fresh.SelectedRow(), -1);
    }
}

TEST_F(RoomsTest, CreditStripsSlowDownAsTheyArriveAndANarrowOneStillArrives) {
    EXPECT_EQ(StripSlidePlaces(-50, 10, 6),
              (std::vector<int>{-44, -38, -32, -26, -20, -15, -11, -7, -3, 1, 5, 8, 10}));
    EXPECT_EQ(StripSlidePlaces(240, 180, -12), (std::vector<int>{228, 217, 206, 196, 187, 180}));
    EXPECT_EQ(StripSlidePlaces(0, 10, 6), (std::vector<int>{6, 10})) << "k is 0: no slowing";
    EXPECT_EQ(StripSlidePlaces(240, 230, -12), (std::vector<int>{230}));
    EXPECT_TRUE(StripSlidePlaces(10, 10, 6).empty());
}

// A long name pushes the speech past the screen's bottom: the letters below
// it are not typed (each typed letter takes 50 ms). A word wider than the
// line fills each line up to its right edge.
TEST_F(RoomsTest, SpeechStopsAtTheBottomOfTheScreenAndFillsItsLines) {
    test::LoadGameFont(false);
    ASSERT_TRUE(gFont.IsLoaded());
    {
        constexpr int kLeft = 20, kTop = 20, kWidth = 100;
        const int letter = gFont.GetGlyph('W').width;
        const int lineStep = gFont.GetHeight() + 2;
        ASSERT_GT(letter, 0);
        const int perLine = kWidth / letter;
        const int letters = 3 * perLine + 2;  // four lines of W after the short word's line
        FillBuffer(0, 0);
        TypeSpeech(u"AB " + WString(static_cast<size_t>(letters), u'W'), kLeft, kTop, kWidth, 11);
        int lowest = -1, rightmost = -1;
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                if (gScreenBuffers[0][y * kScreenWidth + x] == 0) continue;
                lowest = std::max(lowest, y);
                rightmost = std::max(rightmost, x);
            }
        }
        EXPECT_LT(rightmost, kLeft + kWidth);
        EXPECT_GE(lowest, kTop + 4 * lineStep) << "the W start on the second line";
        EXPECT_LT(lowest, kTop + 5 * lineStep) << "and fill four lines";
    }
    const WString shortText = u"A few words.";
    uint32_t start = platform::GetTickCount();
    TypeSpeech(shortText, 20, 260, 200, 5);
    EXPECT_GE(platform::GetTickCount() - start, 50u * shortText.size());
    WString longText;
    for (int i = 0; i < 200; ++i) longText += u"NAME ";
    start = platform::GetTickCount();
    TypeSpeech(longText, 20, 260, 200, 5);
    EXPECT_LT(platform::GetTickCount() - start, 50u * longText.size() / 2);
    gFont.Free();
}

TEST_F(RoomsTest, LairAsksForEverythingInOrderAndLeavesAfterItsMatch) {
    test::SetCredits(60000);
    EXPECT_FALSE(TryEnterBossLair()) << "not the whole collection";
    for (int16_t id = 1; id <= GetCardCount(); ++id) gProfile.AddCard(id);
    gProfile.RemoveFromDeckAt(0);
    EXPECT_FALSE(TryEnterBossLair()) << "deck short";
    gProfile.AddToDeck(1, false);
    EXPECT_FALSE(TryEnterBossLair()) << "opponents to beat";
    for (int i = 0; i < kOpponentCount; ++i) gGamesWon[i] = 1;
    EXPECT_FALSE(TryEnterBossLair()) << "tournaments to win";
    gTourneysWon[0] = gTourneysWon[1] = gTourneysWon[2] = 1;
    gProfile.SubtractCredits(10001);
    EXPECT_FALSE(TryEnterBossLair()) << "49999 credits";
    EXPECT_EQ(gProfile.GetCredits(), 49999);
    gProfile.AddCredits(1);
    EXPECT_TRUE(TryEnterBossLair());
    EXPECT_EQ(gProfile.GetCredits(), 0);

    // A tie is a defeat: the club view comes back at once and the lair is gone.
    for (uint8_t result : {uint8_t{2}, uint8_t{1}}) {
        gClub.Reset();
        gClub.OpenBossScreen();
        ASSERT_TRUE(test::SettleClub());
        test::ClubTap(120, 160);
        ASSERT_EQ(gClub.GetBossScreen()->State(), BossScreen::kStateMatch);
        EndMatch(result);
        gClub.Update();
        EXPECT_EQ(gClub.GetBossScreen(), nullptr);
        EXPECT_EQ(gClub.CurrentType(), kScreenClubView);
        EXPECT_EQ(gClub.InTransition(), result == 1) << "a victory ends in the character screen";
        EXPECT_EQ(gClub.Room(), result == 1 ? 8 : 1);
    }
}

// The asset folder as links, but with real folders on the way to the given
// files (relative, '/'-separated), which are left out for the test to write.
void LinkAllBut(const std::filesystem::path& from, const std::filesystem::path& to,
                const std::vector<std::string>& files) {
    std::filesystem::create_directories(to);
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        std::vector<std::string> below;
        bool leftOut = false;
        for (const std::string& file : files) {
            leftOut = leftOut || file == name;
            if (file.rfind(name + "/", 0) == 0) below.push_back(file.substr(name.size() + 1));
        }
        if (leftOut) continue;
        if (below.empty()) {
            std::filesystem::create_symlink(entry.path(), to / name);
        } else {
            LinkAllBut(entry.path(), to / name, below);
        }
    }
}

// A boss picture larger than the screen and a credit strip that is missing
// (0 x 0, too narrow to slow down) still give the whole victory and the
// end credits, and the character screen after them.
TEST_F(RoomsTest, VictoryRunsWithAnOversizedBossAndAMissingCreditStrip) {
    test::TempDir dir("lair");
    const std::filesystem::path install = dir / "install";
    // The saves go to a folder of the test's own, not the player's.
    LinkAllBut(test::kBuiltInstall, install, {"GFX/MENU/HELL/Starman2.QVJ", "GFX/CREDITS/AI.QVB", "SAVE"});
    std::filesystem::create_directory(install / "SAVE");
    std::vector<uint8_t> rgb(300 * 400 * 3, 0);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 200;
    ASSERT_TRUE(platform::WritePng((install / "GFX/MENU/HELL/Starman2.QVJ").string(), 300, 400, rgb.data()));
    const WString before = gInstallDir;
    test::UseInstallDir(install);

    gClub.OpenBossScreen();
    ASSERT_TRUE(test::SettleClub());
    test::ClubTap(120, 160);
    ASSERT_EQ(gClub.GetBossScreen()->State(), BossScreen::kStateMatch);
    EndMatch(1);
    gClub.Update();
    gInstallDir = before;
    EXPECT_EQ(gClub.GetBossScreen(), nullptr);
    EXPECT_TRUE(gClub.InTransition()) << "on to the character screen";
    EXPECT_EQ(gClub.PendingType(), kScreenCharacter);
    const std::vector<std::string> rooms = test::TraceOf(test::PrepareInstallation() / "trace.txt", "room");
    EXPECT_NE(std::find(rooms.begin(), rooms.end(), "boss credits end"), rooms.end());
}

}  // namespace
}  // namespace qv
