// The real program as a player at the window meets it: closing the window in
// every kind of wait, and letting go of a dragged card outside the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cards/launchers.h"
#include "tests/support/game_runner.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

std::string ScriptFile(const std::string& name) {
    return ReadText(std::string(QV_SOURCE_DIR) + "/tests/scripts/" + name);
}

// The index of the first trace line at or after `from` that contains the
// text, or the trace's size.
size_t LineOf(const GameRun& run, const std::string& text, size_t from = 0) {
    for (size_t i = from; i < run.trace.size(); ++i) {
        if (run.trace[i].find(text) != std::string::npos) return i;
    }
    return run.trace.size();
}

// The virtual time at the start of a trace line.
long TimeOf(const GameRun& run, size_t line) {
    return line < run.trace.size() ? std::strtol(run.trace[line].c_str(), nullptr, 10) : -1;
}

// Character 1 written by the game's own saver into a runner's installation,
// with a quick save on the club or, when inMatch, in a computer match that
// has reached the player's turn.
class WindowInput : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        const std::string install = runner_.LinkInstallation();
        runner_.WriteRegistry(install);
        UseInstallDir(install);
    }

    void SaveCharacter(bool inMatch) {
        SeedRandom(41);
        MakeLocalPlayer(DeckFrom(1));
        SavePlayer();
        if (inMatch) {
            StartOpponentMatch(4, 0);
            ASSERT_TRUE(RunMatch([] {
                return gMatch.GetState() == kStateLocalActs && gMatch.GetBoard().CountFree() <= 16;
            }));
            ASSERT_EQ(gClubActive, 0);
        } else {
            gClubActive = 1;
        }
        WriteQuickSave();
        ASSERT_TRUE(runner_.Exists("install/SAVE/QuickSave.QCP"));
    }

    // Runs the script file and checks the way out of a close: exit code 0
    // within a second of virtual time after the close, and no quick save
    // written afterwards.
    GameRun RunClose(const std::string& script) {
        runner_.WriteScript(ScriptFile(script));
        GameRun run = runner_.Run();
        EXPECT_EQ(run.exitCode, 0) << run.TraceText();
        const size_t close = LineOf(run, " input close");
        const size_t exit = LineOf(run, " exit ", close);
        EXPECT_LT(exit, run.trace.size()) << run.TraceText();
        EXPECT_LT(TimeOf(run, exit) - TimeOf(run, close), 1000) << run.TraceText();
        EXPECT_EQ(LineOf(run, "QuickSave.QCP", close), run.trace.size()) << run.TraceText();
        closeLine_ = close;
        return run;
    }

    // Whether the character file was rewritten after the close.
    bool CharacterSavedAfterClose(const GameRun& run) const {
        for (size_t i = closeLine_; i < run.trace.size(); ++i) {
            if (run.trace[i].find(" move ") != std::string::npos &&
                run.trace[i].find("Player1.QCP") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    GameRunner runner_;
    size_t closeLine_ = 0;
};

TEST_F(WindowInput, CloseDuringTheLoadingTapWaitKeepsTheQuickSave) {
    ASSERT_NO_FATAL_FAILURE(SaveCharacter(false));
    const std::string quickSave = runner_.ReadFile("install/SAVE/QuickSave.QCP");
    GameRun run = RunClose("close-during-the-loading-tap-wait.txt");
    EXPECT_FALSE(run.Traced("state main loop"));
    // Start-up had not read it yet: it is there for the next start.
    EXPECT_EQ(runner_.ReadFile("install/SAVE/QuickSave.QCP"), quickSave);
}

TEST_F(WindowInput, CloseWhileTheWheelSpins) {
    ASSERT_NO_FATAL_FAILURE(SaveCharacter(false));
    GameRun run = RunClose("close-while-the-wheel-spins.txt");
    EXPECT_TRUE(run.Traced("match wheel spinning")) << run.TraceText();
    EXPECT_FALSE(runner_.Exists("install/SAVE/QuickSave.QCP"));
    // The quick game has no character slot: the file saved before it stays.
    EXPECT_FALSE(CharacterSavedAfterClose(run)) << run.TraceText();
}

TEST_F(WindowInput, CloseDuringAMessageBoxSavesTheCharacter) {
    ASSERT_NO_FATAL_FAILURE(SaveCharacter(false));
    GameRun run = RunClose("close-during-a-message-box.txt");
    EXPECT_FALSE(run.Traced("gamebox-answer")) << run.TraceText();
    EXPECT_TRUE(CharacterSavedAfterClose(run)) << run.TraceText();
    EXPECT_FALSE(runner_.Exists("install/SAVE/QuickSave.QCP"));
}

TEST_F(WindowInput, CloseDuringAMatchFrameSavesTheCharacter) {
    ASSERT_NO_FATAL_FAILURE(SaveCharacter(true));
    GameRun run = RunClose("close-during-a-match-frame.txt");
    EXPECT_TRUE(CharacterSavedAfterClose(run)) << run.TraceText();
    EXPECT_FALSE(runner_.Exists("install/SAVE/QuickSave.QCP")) << "the match is not kept";
    ASSERT_TRUE(LoadPlayerSave(1));
    EXPECT_EQ(gProfile.GetName(), u"TESTER");
}

TEST_F(WindowInput, DragLetGoOutsideTheWindowGoesBackToTheHand) {
    runner_.WriteScript(ScriptFile("drag-released-outside-the-window.txt"));
    GameRun run = runner_.Run();
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    const size_t outside = LineOf(run, " input up outside");
    const size_t again = LineOf(run, " input down 67 270", outside);
    const size_t onCell = LineOf(run, " input up 2 127", again);
    ASSERT_LT(onCell, run.trace.size()) << run.TraceText();
    // No card laid between the release outside and the next drag, one at
    // once when the same drag ends on the edge cell.
    EXPECT_EQ(LineOf(run, "carte.QVW", outside), LineOf(run, "carte.QVW", onCell)) << run.TraceText();
    EXPECT_EQ(TimeOf(run, LineOf(run, "carte.QVW", onCell)), TimeOf(run, onCell)) << run.TraceText();
}

}  // namespace
}  // namespace qv::test
