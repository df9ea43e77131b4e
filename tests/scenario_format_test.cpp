// The scenario scripts' header: set-up lines read, mistakes reported, and
// every kind of expectation met or missed against a made-up run; characters
// saved and checked through the game's own saver and loader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/characters.h"
#include "tests/support/files.h"
#include "tests/support/scenario.h"
#include "tests/support/temp_dir.h"

namespace qv::test {
namespace {

TEST(ScenarioFormat, SetUpLinesAndTheirMistakes) {
    const Scenario s = ParseScenario("# A plain comment is no directive.\n"
                                     "# install empty\n"
                                     "# registry Volume = dword:0x00000000\n"
                                     "# env QUORVANE_PIXEL_FORMAT=555\n"
                                     "# env QUORVANE_OEM=\n"
                                     "# save-file Player1.QCP data/one.QCP\n"
                                     "# timeout 30\n"
                                     "# expect-exit 3\n"
                                     "# expect-trace gamebox Do you really want\n"
                                     "on state main loop\n"
                                     "tap 10 10\n",
                                     "/scripts");
    EXPECT_TRUE(s.errors.empty()) << s.errors.front();
    EXPECT_EQ(s.install, "empty");
    EXPECT_EQ(s.registryLines, std::vector<std::string>{"Volume = dword:0x00000000"});
    ASSERT_EQ(s.env.size(), 2u);
    EXPECT_EQ(s.env[0].second, "555");
    EXPECT_EQ(s.env[1].second, "");
    ASSERT_EQ(s.saveFiles.size(), 1u);
    EXPECT_EQ(s.saveFiles[0].second, std::filesystem::path("/scripts/data/one.QCP"));
    EXPECT_EQ(s.timeoutSeconds, 30);
    EXPECT_EQ(s.expectedExit, 3);
    ASSERT_EQ(s.expectations.size(), 1u);
    EXPECT_EQ(s.expectations[0].rest, "gamebox Do you really want");
    EXPECT_EQ(s.expectations[0].line, 9);

    // A misspelt or incomplete line is an error, not a silent pass.
    for (const char* wrong : {"# expect-trac state",
                              "# expect-trace",
                              "# install somewhere",
                              "# timeout soon",
                              "# expect-exit zero",
                              "# registry Volume",
                              "# env =1",
                              "# save-file Player1.QCP",
                              "# expect-file-bytes a.bin 0",
                              "# character",
                              "# character 4",
                              "# character 1 deck=mighty",
                              "# character 1 cards=0-3",
                              "# character 1 cards=5-2",
                              "# character 1 credits=-1",
                              "# character 1 beaten=4",
                              "# character 1 name",
                              "# character screen of the new user",
                              "# quick-save",
                              "# quick-save club colour=3",
                              "# quick-save club shop=0",
                              "# quick-save club shop=0G",
                              "# quick-save match 15 0",
                              "# quick-save match 1 3",
                              "# card-powers 1 2 3",
                              "# card-powers 1 2 3 10",
                              "# edit-file a.bin 0",
                              "# edit-file a.bin 0 100",
                              "# cut-file a.bin -1",
                              "# next-run",
                              "# make-dir",
                              "# expect-stderr",
                              "# expect-trace-within soon exit",
                              "# expect-trace-then",
                              "# expect-character 1",
                              "# expect-character 4 credits=0",
                              "# expect-character 1 credit=0",
                              "# expect-character 1 won:3:0=1",
                              "# expect-character 1 won:0:15=1",
                              "# expect-character 1 tourneys-won=1",
                              "# expect-character-as 1",
                              "# expect-character-as 4 other.script"}) {
        EXPECT_EQ(ParseScenario(wrong, "/").errors.size(), 1u) << wrong;
    }
    EXPECT_EQ(ParseScenario("# quick-save club\n# quick-save club\n", "/").errors.size(), 1u) << "only one";
}

TEST(ScenarioFormat, CharactersQuickSavesEditsAndTheNextRun) {
    const Scenario s = ParseScenario("# character 2 name=BOB credits=900 cards=1-3,7 deck=strong copies=2 "
                                     "deck-cards=12 beaten=all tourneys=1\n"
                                     "# character 1 deck=1-16\n"
                                     "# quick-save club room=3 current=3 shop-return=13 shop=0A00\n"
                                     "# card-powers 1 2 3 5\n"
                                     "# edit-file install/SAVE/Player1.QCP -324 01 ff\n"
                                     "# cut-file install/SAVE/QuickSave.QCP 17\n"
                                     "# make-dir install/SAVE/Player1.QCP.tmp\n"
                                     "# next-run later/second.script\n"
                                     "# expect-character-as 2 _other-road.script\n",
                                     "/scripts");
    ASSERT_TRUE(s.errors.empty()) << s.errors.front();
    ASSERT_EQ(s.sameCharacterAs.size(), 1u);
    EXPECT_EQ(s.sameCharacterAs[0].slot, 2);
    EXPECT_EQ(s.sameCharacterAs[0].script, std::filesystem::path("/scripts/_other-road.script"));
    // What a compared road must be set up with, line for line.
    ASSERT_EQ(s.setUpLines.size(), 7u);
    EXPECT_EQ(s.setUpLines[2], "quick-save club room=3 current=3 shop-return=13 shop=0A00");
    ASSERT_EQ(s.characters.size(), 2u);
    const CharacterPlan& bob = s.characters[0];
    EXPECT_EQ(bob.slot, 2);
    EXPECT_EQ(bob.name, "BOB");
    EXPECT_EQ(bob.credits, 900);
    EXPECT_EQ(bob.cards, (std::vector<int16_t>{1, 2, 3, 7}));
    EXPECT_TRUE(bob.pickDeck && bob.strongDeck);
    EXPECT_EQ(bob.copies, 2);
    EXPECT_EQ(bob.deckCards, 12);
    EXPECT_EQ(bob.levelsBeaten, kLevelCount);
    EXPECT_EQ(bob.tourneysWon, 1);
    EXPECT_EQ(s.characters[1].deck.size(), 16u);
    EXPECT_FALSE(s.characters[1].pickDeck);
    EXPECT_EQ(s.characters[1].copies, 1);
    EXPECT_EQ(s.characters[1].name, "TESTER");
    EXPECT_EQ(s.characters[1].credits, kStartingCredits);
    EXPECT_TRUE(s.PreparesFiles());

    // The slot byte, the club's block with the fields and the shop's record,
    // then gClubActive; the frame follows the room given alone.
    ClubBlock block;
    block.header.room = 3;
    block.header.frame = static_cast<int16_t>(Club::RoomFrame(3));
    block.header.current = 3;
    block.header.shopReturn = 13;
    block.Add(kRecordShop, {0x0A, 0x00});
    EXPECT_EQ(s.quickSave, "club");
    EXPECT_EQ(s.clubQuickSave, ClubQuickSave(block.Bytes()));
    EXPECT_EQ(ParseScenario("# quick-save club room=3 frame=20", "/").clubQuickSave[1 + 18], 20)
        << "a frame given stays";
    const Scenario match = ParseScenario("# quick-save match 4 2", "/");
    EXPECT_EQ(match.quickSave, "match");
    EXPECT_EQ(match.matchOpponent, 4);
    EXPECT_EQ(match.matchLevel, 2);

    EXPECT_EQ(s.cardPowers, (std::vector<int>{1, 2, 3, 5}));
    ASSERT_EQ(s.edits.size(), 2u);
    EXPECT_EQ(s.edits[0].offset, -324);
    EXPECT_EQ(s.edits[0].bytes, (Bytes{0x01, 0xFF}));
    EXPECT_EQ(s.edits[1].cutTo, 17);
    EXPECT_EQ(s.folders, std::vector<std::string>{"install/SAVE/Player1.QCP.tmp"});
    EXPECT_EQ(s.nextRun, std::filesystem::path("/scripts/later/second.script"));
    // A script run next prepares nothing itself.
    EXPECT_FALSE(ParseScenario("# env A=1\n# timeout 9\n# expect-trace exit\n", "/").PreparesFiles());
}

TEST(ScenarioFormat, IncludedPiecesReplaceTheirLines) {
    TempDir dir("scenario");
    WriteText(dir / "_piece.script", "# a piece\ntap 1 2");
    std::vector<std::string> errors;
    EXPECT_EQ(ExpandIncludes("wait 5\ninclude _piece.script\n  include _piece.script\nquit 0\n", dir.Root(), errors),
              "wait 5\n# a piece\ntap 1 2\n# a piece\ntap 1 2\nquit 0\n");
    EXPECT_TRUE(errors.empty());
    ExpandIncludes("include _missing.script\n", dir.Root(), errors);
    EXPECT_EQ(errors.size(), 1u);
}

class ScenarioCheck : public ::testing::Test {
protected:
    // The failures of a run against the header, with the run's files in dir_.
    std::vector<std::string> Check(const std::string& header) const {
        const Scenario scenario = ParseScenario(header, dir_.Root());
        EXPECT_TRUE(scenario.errors.empty()) << header;
        return CheckScenario(scenario, run_, dir_.Root());
    }
    bool Met(const std::string& header) const { return Check(header).empty(); }

    void SetUp() override {
        run_.exitCode = 0;
        run_.trace = {"10 state main loop", "26 present 00ff", "42 present 00fe",
                      "50 gamebox Exit the game ? | Cancel | Ok", "60 exit 0"};
        WriteBytes(dir_ / "install/SAVE/Player1.QCP", {0x01, 0x0F, 0xA7, 0xFF});
        WriteText(dir_ / "registry.txt", "[SOFTWARE\\Quorvane]\nGamma = dword:0x00000005\n[SOFTWARE\\Quorvane\\Gamma]\n"
                                         "Volume = dword:0x00000001\n");
        std::filesystem::create_directories(dir_ / "install/EMPTY");
    }

    TempDir dir_{"scenario"};
    GameRun run_;
};

TEST_F(ScenarioCheck, ExitCodeAndTraceLines) {
    EXPECT_TRUE(Met(""));
    EXPECT_FALSE(Met("# expect-exit 1"));
    run_.timedOut = true;
    EXPECT_FALSE(Met(""));
    run_.timedOut = false;

    EXPECT_TRUE(Met("# expect-trace state main loop"));
    EXPECT_TRUE(Met("# expect-trace gamebox Exit the game ? | Cancel"));
    EXPECT_TRUE(Met("# expect-trace present"));
    EXPECT_FALSE(Met("# expect-trace state club"));
    // The kind is the second word, not any word of the line.
    EXPECT_FALSE(Met("# expect-trace main loop"));
    EXPECT_TRUE(Met("# expect-trace * main loop"));
    EXPECT_TRUE(Met("# expect-no-trace tune"));
    EXPECT_FALSE(Met("# expect-no-trace present 00fe"));

    EXPECT_TRUE(Met("# expect-trace-count =2 present"));
    EXPECT_TRUE(Met("# expect-trace-count >1 present"));
    EXPECT_TRUE(Met("# expect-trace-count <3 present"));
    EXPECT_FALSE(Met("# expect-trace-count =1 present"));
    EXPECT_FALSE(Met("# expect-trace-count >2 present"));
    EXPECT_TRUE(Met("# expect-trace-count =1 present 00ff"));
    EXPECT_FALSE(Met("# expect-trace-count 2 present")) << "a count without its comparison";
}

TEST_F(ScenarioCheck, FilesAndRegistryValues) {
    EXPECT_TRUE(Met("# expect-file install/SAVE/Player1.QCP"));
    EXPECT_FALSE(Met("# expect-file install/SAVE/QuickSave.QCP"));
    EXPECT_TRUE(Met("# expect-no-file install/SAVE/QuickSave.QCP"));
    EXPECT_FALSE(Met("# expect-no-file install/SAVE/Player1.QCP"));
    EXPECT_TRUE(Met("# expect-empty-dir install/EMPTY"));
    EXPECT_FALSE(Met("# expect-empty-dir install/SAVE"));

    EXPECT_TRUE(Met("# expect-file-bytes install/SAVE/Player1.QCP 0 01 0F"));
    EXPECT_TRUE(Met("# expect-file-bytes install/SAVE/Player1.QCP 2 a7 FF"));
    EXPECT_FALSE(Met("# expect-file-bytes install/SAVE/Player1.QCP 1 01"));
    EXPECT_FALSE(Met("# expect-file-bytes install/SAVE/Player1.QCP 3 FF 00")) << "past the end";
    EXPECT_FALSE(Met("# expect-file-bytes install/SAVE/Player1.QCP 0 1G"));
    EXPECT_TRUE(Met("# expect-file-text registry.txt [SOFTWARE\\Quorvane\\Gamma]"));
    EXPECT_FALSE(Met("# expect-file-text registry.txt [SOFTWARE\\Quorvane\\Volume]"));
    run_.errors = "Quorvane: could not save /x/SAVE/Player1.QCP: Is a directory\n";
    EXPECT_TRUE(Met("# expect-stderr Player1.QCP: Is a directory"));
    EXPECT_FALSE(Met("# expect-stderr QuickSave.QCP"));

    EXPECT_TRUE(Met("# expect-registry Gamma = dword:0x00000005"));
    EXPECT_TRUE(Met("# expect-registry Gamma 5"));
    EXPECT_FALSE(Met("# expect-registry Gamma 6"));
    EXPECT_FALSE(Met("# expect-registry Volume 1")) << "a value of a subkey";
    EXPECT_FALSE(Met("# expect-registry Gamma = dword:0x00000006"));
    // Only values of the settings key itself count, not those of a subkey.
    EXPECT_FALSE(Met("# expect-registry Volume = dword:0x00000001"));

    // Each missed line is reported once, with its line number.
    const std::vector<std::string> failures =
        Check("# expect-file nothing\n# expect-trace state main loop\n# expect-no-trace exit\n");
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].rfind("line 1: expect-file nothing", 0), 0u) << failures[0];
    EXPECT_EQ(failures[1].rfind("line 3: expect-no-trace exit", 0), 0u) << failures[1];
}

TEST_F(ScenarioCheck, TraceLinesInTheirOrderAndTime) {
    run_.trace = {"10 input close", "20 move a Player1.QCP", "30 sound carte.QVW",
                  "600 exit 0",     "700 input close",       "800 sound carte.QVW"};
    EXPECT_TRUE(Met("# expect-trace input close\n# expect-trace-then move Player1\n# expect-trace-then exit"));
    EXPECT_FALSE(Met("# expect-trace exit\n# expect-trace-then move Player1")) << "before it, not after";
    EXPECT_FALSE(Met("# expect-trace-then exit")) << "a chain starts with expect-trace";
    // -within measures from the line before: the first close, 590 ms.
    EXPECT_TRUE(Met("# expect-trace input close\n# expect-trace-within 590 exit"));
    EXPECT_FALSE(Met("# expect-trace input close\n# expect-trace-within 589 exit"));
    EXPECT_TRUE(Met("# expect-trace input close\n# expect-trace-then exit\n# expect-trace-within 200 sound"));
    // A missed link breaks the rest of the chain, once each.
    EXPECT_EQ(Check("# expect-trace input close\n# expect-trace-then tune\n# expect-trace-then exit").size(), 2u);

    // no-trace-then forbids the stretch up to the chain's next line, or the end.
    EXPECT_TRUE(Met("# expect-trace move\n# expect-no-trace-then * Player1\n# expect-trace-then exit"));
    EXPECT_FALSE(Met("# expect-trace input close\n# expect-no-trace-then * Player1\n# expect-trace-then exit"));
    EXPECT_TRUE(Met("# expect-trace exit\n# expect-no-trace-then move"));
    EXPECT_FALSE(Met("# expect-trace exit\n# expect-no-trace-then sound"));
    EXPECT_FALSE(Met("# expect-trace tune\n# expect-no-trace-then sound")) << "after a missed line";
    // A new expect-trace closes the stretch at the trace's end.
    EXPECT_FALSE(Met("# expect-trace exit\n# expect-no-trace-then sound\n# expect-trace input close"));
}

TEST_F(ScenarioCheck, FileSizesAndFilesLeftAlone) {
    EXPECT_TRUE(Met("# expect-file-size install/SAVE/Player1.QCP 4"));
    EXPECT_FALSE(Met("# expect-file-size install/SAVE/Player1.QCP 5"));
    EXPECT_FALSE(Met("# expect-file-size install/SAVE/QuickSave.QCP 0")) << "a missing file has no size";

    const std::string header = "# expect-file-unchanged install/SAVE/Player1.QCP";
    const Scenario scenario = ParseScenario(header, dir_.Root());
    const Bytes before = {0x01, 0x0F, 0xA7, 0xFF};
    EXPECT_TRUE(CheckScenario(scenario, run_, dir_.Root(), {{"install/SAVE/Player1.QCP", before}}).empty());
    EXPECT_FALSE(CheckScenario(scenario, run_, dir_.Root(), {{"install/SAVE/Player1.QCP", {0x01}}}).empty());
    EXPECT_FALSE(CheckScenario(scenario, run_, dir_.Root()).empty()) << "nothing there before the run";
}

// A character saved by the game's saver as a header describes it, and the
// values expect-character reads back from its file.
TEST(ScenarioCharacters, SavedAsDescribedAndReadBack) {
    TempDir dir("scenario");
    ASSERT_TRUE(UseRunInstallation(LinkInstallation(dir.Root()), dir / "registry.txt"));
    const Scenario s = ParseScenario("# character 2 name=BOB credits=900 cards=1-3,3 deck=10-25 copies=2 "
                                     "deck-cards=4 beaten=1 tourneys=2\n",
                                     "/");
    ASSERT_TRUE(s.errors.empty()) << s.errors.front();
    ASSERT_TRUE(SaveCharacter(s.characters[0]));

    EXPECT_EQ(CheckCharacter(2, {"name=BOB", "credits=900", "cards=36", "distinct=19", "deck=4", "deck-ids=10-13",
                                 "won=15", "won:0:0=1", "won:0:14=1", "won:1:0=0", "lost=0", "tied=0",
                                 "tourneys-won:1=1", "tourneys-won:2=0", "tourneys-played:0=1"}),
              std::vector<std::string>{});
    for (const char* wrong : {"name=BO", "credits=901", "cards=35", "distinct=18", "deck=16", "deck-ids=10-14",
                              "won=16", "won:1:0=1", "tourneys-won:2=1"}) {
        EXPECT_EQ(CheckCharacter(2, {wrong}).size(), 1u) << wrong;
    }
    EXPECT_EQ(CheckCharacter(1, {"credits=900"}).size(), 1u) << "no file in slot 1";

    // Two runs' characters compared value by value: a card's copies, a counter.
    const auto bob = CharacterContents(2);
    EXPECT_EQ(bob.at("card:3"), "2");
    EXPECT_EQ(bob.at("won:0:14"), "1");
    EXPECT_EQ(CompareCharacters(bob, bob, "other"), std::vector<std::string>{});
    auto other = bob;
    other["card:3"] = "1";
    EXPECT_EQ(CompareCharacters(bob, other, "other"), std::vector<std::string>{"card:3 is 2, after other 1"});
    EXPECT_EQ(CompareCharacters(bob, CharacterContents(1), "other").size(), 1u) << "no file in slot 1";

    // The 16 strongest cards by power sum make the strong deck, the weakest the weak one.
    const std::vector<int16_t> strong = PickDeck(true), weak = PickDeck(false);
    ASSERT_EQ(strong.size(), 16u);
    EXPECT_GE(PowerSum(strong.back()), PowerSum(weak.back()));
    EXPECT_GT(PowerSum(strong.front()), PowerSum(weak.front()));
    CloseCardDatabase();
}

}  // namespace
}  // namespace qv::test
