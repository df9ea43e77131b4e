// The scenario scripts' header: set-up lines read, mistakes reported, and
// every kind of expectation met or missed against a made-up run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    for (const char* wrong :
         {"# expect-trac state", "# expect-trace", "# install somewhere", "# timeout soon", "# expect-exit zero",
          "# registry Volume", "# env =1", "# save-file Player1.QCP", "# expect-file-bytes a.bin 0"}) {
        EXPECT_EQ(ParseScenario(wrong, "/").errors.size(), 1u) << wrong;
    }
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

}  // namespace
}  // namespace qv::test
