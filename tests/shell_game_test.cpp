// Headless runs of the real program that need more than a scenario script:
// frames compared across runs, the prompts' applications, a quick save made
// again between runs and a second instance.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>
#include <string>

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "engine/install_dir.h"
#include "engine/wstring.h"
#include "tests/support/characters.h"
#include "tests/support/game_runner.h"

namespace qv {
namespace {

using test::GameRun;
using test::GameRunner;
using test::ThroughStartup;


// A runner with its own installation (the built asset set) and registry.
class GameTest : public ::testing::Test {
protected:
    void UseInstallation(const std::string& extraValues = "") {
        runner_.WriteRegistry(runner_.LinkInstallation(QV_INSTALL_DIR), extraValues);
    }
    // Character 1 with this name and a quick save on the club, written in this
    // process by the game's own savers into the runner's installation; the card
    // database stays open.
    void SaveCharacterOnTheClub(const std::string& name) {
        UseInstallation();
        ASSERT_TRUE(test::UseRunInstallation(runner_.Path("install"), runner_.Path("registry.txt")));
        test::CharacterPlan plan = test::NewCharacter();
        plan.name = name;
        ASSERT_TRUE(test::SaveCharacter(plan));
        gClubActive = 1;
        ASSERT_TRUE(WriteQuickSave());
    }
    GameRunner runner_;
};

TEST_F(GameTest, WithoutCardDatabaseTheProgramStops) {
    std::filesystem::create_directories(runner_.Path("empty"));
    runner_.WriteRegistry(runner_.Path("empty"));
    runner_.CaptureStderr();
    GameRun run = runner_.Run();
    EXPECT_EQ(run.exitCode, 1) << run.TraceText();
    EXPECT_TRUE(run.Traced("msgbox \" Error :\\n Data files are missing !\" \"Quorvane\" 0x10"))
        << run.TraceText();
    // Standard error says where the files were looked for, and where that is set.
    EXPECT_NE(run.errors.find(runner_.Path("empty/")), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(runner_.Path("registry.txt")), std::string::npos) << run.errors;
    // The save folder is made before the database is looked for.
    EXPECT_TRUE(std::filesystem::is_directory(runner_.Path("empty/SAVE")));
    EXPECT_EQ(run.TraceCount(" present "), 0);
}

// The frame hashes of a run, in order.
std::vector<std::string> Presents(const GameRun& run) {
    std::vector<std::string> hashes;
    for (const std::string& line : run.trace) {
        size_t at = line.find(" present ");
        if (at != std::string::npos) {
            hashes.push_back(line.substr(at + 9));
        }
    }
    return hashes;
}

TEST_F(GameTest, EveryDisplayLayoutRuns) {
    UseInstallation();
    runner_.WriteScript(ThroughStartup() + "wait 200\nquit 3\n");
    std::map<std::string, std::vector<std::string>> frames;
    for (const auto& [format, oem] : {std::pair<const char*, const char*>{"565", ""},
                                      {"555", ""},
                                      {"444", ""},
                                      {"555+565", ""},
                                      {"565", "Compaq iPAQ H3800"}}) {
        runner_.Setenv("QUORVANE_PIXEL_FORMAT", format);
        runner_.Setenv("QUORVANE_OEM", oem);
        GameRun run = runner_.Run();
        EXPECT_EQ(run.exitCode, 3) << format << " " << oem << "\n" << run.TraceText();
        EXPECT_TRUE(run.Traced("state main loop")) << format << " " << oem;
        EXPECT_GT(run.TraceCount(" present "), 20) << format << " " << oem;
        frames[std::string(format) + oem] = Presents(run);
    }
    // The rotated frame buffer, written pixel by pixel, shows exactly the
    // frames that the row copies show.
    EXPECT_EQ(frames["565Compaq iPAQ H3800"], frames["565"]);
    // Both flags run as 5-5-5, whose pixels differ from 5-6-5 and 4-4-4.
    EXPECT_EQ(frames["555+565"], frames["555"]);
    EXPECT_NE(frames["555"], frames["565"]);
    EXPECT_NE(frames["444"], frames["565"]);
}

// The three hardware-button prompts: the key, the question and the
// application it starts.
struct PromptCase {
    const char* key;
    const char* question;
    const char* application;  // nullptr: none
};

void PrintTo(const PromptCase& prompt, std::ostream* out) { *out << "key " << prompt.key; }

class PromptTest : public GameTest, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(PromptTest, CancelGoesOnAndOkLeavesWithZero) {
    const PromptCase& prompt = GetParam();
    UseInstallation();
    runner_.Setenv("QUORVANE_CONTACTS_COMMAND", "touch '" + runner_.Path("contacts-ran") + "'");
    runner_.Setenv("QUORVANE_CALENDAR_COMMAND", "touch '" + runner_.Path("calendar-ran") + "'");
    const std::string ask = ThroughStartup() + "wait 100\nkey " + prompt.key + " press\n" +
                            "on gamebox " + prompt.question + "\nwait 100\n";

    // "Cancel" (left label): nothing happens and the game goes on.
    runner_.WriteScript(ask + "tap 50 185\non gamebox-answer left\nwait 300\nquit 5\n");
    GameRun cancelled = runner_.Run();
    EXPECT_EQ(cancelled.exitCode, 5) << cancelled.TraceText();
    EXPECT_TRUE(cancelled.Traced(std::string("gamebox ") + prompt.question + " | Cancel | Ok"))
        << cancelled.TraceText();
    EXPECT_FALSE(cancelled.Traced(" exec "));
    EXPECT_FALSE(runner_.Exists("contacts-ran") || runner_.Exists("calendar-ran"));

    // "Ok" (right label): the program ends with 0, after starting the application.
    runner_.WriteScript(ask + "tap 195 185\nat 590000 quit 9\n");
    GameRun accepted = runner_.Run();
    EXPECT_EQ(accepted.exitCode, 0) << accepted.TraceText();
    EXPECT_TRUE(accepted.Traced("gamebox-answer right"));
    // No character was chosen: neither a quick save nor a character file.
    EXPECT_TRUE(std::filesystem::is_empty(runner_.Path("install/SAVE")));
    if (prompt.application != nullptr) {
        EXPECT_TRUE(accepted.Traced(std::string("exec ") + prompt.application))
            << accepted.TraceText();
        std::string ran = runner_.Path(std::string(prompt.key) == "b" ? "contacts-ran"
                                                                      : "calendar-ran");
        for (int i = 0; i < 200 && !std::filesystem::exists(ran); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(std::filesystem::exists(ran));
    } else {
        EXPECT_FALSE(accepted.Traced(" exec "));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PromptTest,
    ::testing::Values(PromptCase{"b", "Exit the game and go to your contact ?",
                                 "\\windows\\addrbook.exe"},
                      PromptCase{"c", "Exit the game and see the calendar ?",
                                 "\\windows\\calendar.exe"},
                      PromptCase{"a", "Do you really want to quit the game now ?", nullptr}),
    [](const ::testing::TestParamInfo<PromptCase>& param) { return std::string(param.param.key); });

TEST_F(GameTest, QuickSaveIsTakenAtStartAndWrittenOnlyByAPrompt) {
    // Character 1 and a quick save on the club, written by the game's own savers.
    ASSERT_NO_FATAL_FAILURE(SaveCharacterOnTheClub("Tester"));
    ASSERT_TRUE(runner_.Exists("install/SAVE/QuickSave.QCP"));
    ASSERT_TRUE(runner_.Exists("install/SAVE/Player1.QCP"));
    ASSERT_TRUE(LoadPlayerSave(1));
    CloseCardDatabase();

    // Leaving through WM_QUIT saves the character but writes no quick save.
    runner_.WriteScript(ThroughStartup() + "wait 200\nquit 2\n");
    GameRun quit = runner_.Run();
    EXPECT_EQ(quit.exitCode, 2) << quit.TraceText();
    EXPECT_TRUE(quit.Traced("QuickSave.QCP")) << quit.TraceText();
    EXPECT_FALSE(runner_.Exists("install/SAVE/QuickSave.QCP")) << "read and deleted at start";
    EXPECT_TRUE(runner_.Exists("install/SAVE/Player1.QCP"));

    // Resumed from a quick save, the quit prompt's "Ok" writes one again.
    WriteQuickSave();
    runner_.WriteScript(ThroughStartup() +
                        "wait 100\nkey a press\non gamebox Do you really\nwait 100\n"
                        "tap 195 185\nat 590000 quit 9\n");
    GameRun accepted = runner_.Run();
    EXPECT_EQ(accepted.exitCode, 0) << accepted.TraceText();
    EXPECT_TRUE(runner_.Exists("install/SAVE/QuickSave.QCP")) << accepted.TraceText();

    // Without a quick save there is no character until one is chosen: "Ok" writes nothing.
    std::filesystem::remove(runner_.Path("install/SAVE/QuickSave.QCP"));
    GameRun fresh = runner_.Run();
    EXPECT_EQ(fresh.exitCode, 0) << fresh.TraceText();
    EXPECT_FALSE(runner_.Exists("install/SAVE/QuickSave.QCP"));
}

TEST_F(GameTest, SecondInstanceEndsWithZeroAndBringsTheFirstForward) {
    UseInstallation();
    runner_.Setenv("QUORVANE_TIME_LIMIT", "100000000");
    runner_.WriteScript(ThroughStartup());
    pid_t first = runner_.Start();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(runner_.WaitForTrace("state main loop", 30));

    GameRunner second;
    second.Setenv("QUORVANE_REGISTRY", runner_.Path("registry.txt"));
    GameRun run = second.Run(60);
    EXPECT_EQ(run.exitCode, 0) << run.TraceText();
    EXPECT_TRUE(run.Traced("foreground sent")) << run.TraceText();
    EXPECT_EQ(run.TraceCount(" present "), 0);
    EXPECT_TRUE(runner_.WaitForTrace("foreground request", 5));

    kill(first, SIGTERM);
    runner_.Wait(first, 30);
}


}  // namespace
}  // namespace qv
