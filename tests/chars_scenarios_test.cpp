// Runs every tests/scenarios/character-*, options-* and cheat-*.script with
// the real program on the headless backend, one test each. Header comments
// set the stage and state what the run must leave:
//   "# given-character <slot> <name> <credits>"  a character file saved first
//   "# given-damaged-character <slot>"          that file with a bad checksum
//   "# expect-exit <code>"
//   "# expect-trace <kind> <text>", "# expect-no-trace <kind> <text>"
//   "# expect-trace-count =N|<N|>N <kind> <text>"
//   "# expect-file <path>", "# expect-no-file <path>" (from the run's directory)
//   "# expect-registry <name> <value>"           a setting's low byte
//   "# expect-character <slot> <name> <credits> <distinct cards> <wins> <tourneys won>"
//       the file loads with a matching checksum; wins: opponent 0 at the
//       guest level; tourneys won: guest level
//   "# next-run <file>"                          then that script, in the same
//       installation and registry, with its own header
// Stands in for the shared runner of tests/scenarios/*.script until it lands;
// the scripts are written in its format, with the stage-setting lines above.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "engine/install_dir.h"
#include "engine/wstring.h"
#include "tests/support/game_runner.h"

namespace qv::test {
namespace {

const std::filesystem::path kScenarioDir = std::filesystem::path(QV_SOURCE_DIR) / "tests" / "scenarios";

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The text after the first n words.
std::string After(const std::string& text, size_t n) {
    size_t at = 0;
    for (size_t i = 0; i < n && at != std::string::npos; ++i) {
        at = text.find_first_not_of(" \t", at);
        if (at != std::string::npos) at = text.find_first_of(" \t", at);
    }
    if (at == std::string::npos) return "";
    at = text.find_first_not_of(" \t", at);
    return at == std::string::npos ? "" : text.substr(at);
}

int CountTrace(const GameRun& run, const std::string& kind, const std::string& text) {
    int count = 0;
    for (const std::string& line : run.trace) {
        const std::vector<std::string> words = Words(line);
        if (words.size() >= 2 && words[1] == kind && After(line, 2).find(text) != std::string::npos) ++count;
    }
    return count;
}

std::string ReadScript(const std::string& name) {
    std::ifstream in(kScenarioDir / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value's low byte in the registry file ("Name = dword:0x000000VV"); -1 when missing.
int RegistryByte(const GameRunner& runner, const std::string& name) {
    std::istringstream in(runner.ReadFile("registry.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name + " = dword:0x", 0) == 0) return std::stoi(line.substr(line.size() - 2), nullptr, 16);
    }
    return -1;
}

class CharsScenario : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        runner_.WriteRegistry(runner_.LinkInstallation(QV_INSTALL_DIR));
        runner_.Setenv("QUORVANE_AUDIO", "none");
    }
    void TearDown() override { CloseCardDatabase(); }

    // The game's own saver and loader in this process, on the run's installation.
    void UseRunnerInstallation() {
        setenv("QUORVANE_BACKEND", "headless", 1);
        setenv("QUORVANE_REGISTRY", runner_.Path("registry.txt").c_str(), 1);
        std::string install = runner_.Path("install/");
        std::replace(install.begin(), install.end(), '/', '\\');
        gInstallDir = Widen(install);
        if (gCardCount == 0) {
            ASSERT_TRUE(OpenCardDatabase());
        }
    }
    void GivenCharacter(int slot, const std::string& name, int credits) {
        UseRunnerInstallation();
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
        gProfile.SetName(Widen(name));
        gProfile.AddCredits(credits - gProfile.GetCredits());
        gProfile.SetSlot(static_cast<uint8_t>(slot));
        ClearStatistics();
        SavePlayer();
    }
    void ExpectCharacter(const std::vector<std::string>& w, const std::string& line) {
        UseRunnerInstallation();
        gProfile = PlayerProfile();
        ClearStatistics();
        ASSERT_TRUE(LoadPlayerSave(std::stoi(w[2]))) << line << ": missing or refused";
        EXPECT_EQ(Narrow(gProfile.GetName()), w[3]) << line;
        EXPECT_EQ(gProfile.GetCredits(), std::stoi(w[4])) << line;
        EXPECT_EQ(gProfile.CountDistinct(), std::stoi(w[5])) << line;
        EXPECT_EQ(gGamesWon[0], std::stoi(w[6])) << line;
        EXPECT_EQ(gTourneysWon[0], std::stoi(w[7])) << line;
    }

    // Sets the stage, runs the script and checks its expectations; the next
    // script to run, or "".
    std::string RunScript(const std::string& name) {
        const std::string script = ReadScript(name);
        EXPECT_FALSE(script.empty()) << name;
        std::istringstream header(script);
        for (std::string line; std::getline(header, line);) {
            const std::vector<std::string> w = Words(line);
            if (w.size() >= 5 && w[0] == "#" && w[1] == "given-character") {
                GivenCharacter(std::stoi(w[2]), w[3], std::stoi(w[4]));
            } else if (w.size() >= 3 && w[0] == "#" && w[1] == "given-damaged-character") {
                GivenCharacter(std::stoi(w[2]), "DAMAGED", 700);
                const std::string file = "install/SAVE/Player" + w[2] + ".QCP";
                std::string bytes = runner_.ReadFile(file);
                bytes[bytes.size() - 287] = static_cast<char>(bytes[bytes.size() - 287] ^ 0x55);
                runner_.WriteFile(file, bytes);
            }
        }
        runner_.WriteScript(script);
        const GameRun run = runner_.Run();
        const std::string all = run.TraceText();
        const std::string tail = all.substr(all.size() > 6000 ? all.size() - 6000 : 0);

        std::string next;
        bool exitChecked = false;
        std::istringstream lines(script);
        for (std::string line; std::getline(lines, line);) {
            const std::vector<std::string> w = Words(line);
            if (w.size() < 3 || w[0] != "#") continue;
            const std::string& d = w[1];
            if (d.rfind("given-", 0) == 0) continue;
            if (d == "next-run") {
                next = w[2];
            } else if (d == "expect-exit") {
                exitChecked = true;
                EXPECT_EQ(run.exitCode, std::stoi(w[2])) << name << (run.timedOut ? " timed out\n" : "\n") << tail;
            } else if (d == "expect-trace" || d == "expect-no-trace") {
                EXPECT_EQ(CountTrace(run, w[2], After(line, 3)) > 0, d == "expect-trace") << name << ": " << line << "\n"
                                                                                          << tail;
            } else if (d == "expect-trace-count" && w.size() >= 4) {
                const int wanted = std::stoi(w[2].substr(1));
                const int count = CountTrace(run, w[3], After(line, 4));
                const char op = w[2][0];
                EXPECT_TRUE(op == '=' ? count == wanted : op == '<' ? count < wanted : count > wanted)
                    << name << ": " << line << " (" << count << " such lines)\n" << tail;
            } else if (d == "expect-file" || d == "expect-no-file") {
                EXPECT_EQ(std::filesystem::exists(runner_.Path(w[2])), d == "expect-file") << name << ": " << line;
            } else if (d == "expect-registry" && w.size() >= 4) {
                EXPECT_EQ(RegistryByte(runner_, w[2]), std::stoi(w[3])) << name << ": " << line;
            } else if (d == "expect-character" && w.size() >= 8) {
                ExpectCharacter(w, line);
            } else if (d.rfind("expect-", 0) == 0) {
                ADD_FAILURE() << "unknown expectation: " << line;
            }
        }
        EXPECT_TRUE(exitChecked) << name << " states no exit code";
        return next;
    }

    GameRunner runner_;
};

std::vector<std::string> Scripts() {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(kScenarioDir, ignored)) {
        const std::string name = entry.path().filename().string();
        const bool ours = name.rfind("character-", 0) == 0 || name.rfind("options-", 0) == 0 ||
                          name.rfind("cheat-", 0) == 0;
        if (ours && entry.path().extension() == ".script") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_P(CharsScenario, EndsAsItsHeaderExpects) {
    std::string name = GetParam();
    for (int run = 0; !name.empty() && run < 4; ++run) name = RunScript(name);
}

INSTANTIATE_TEST_SUITE_P(Scripts, CharsScenario, ::testing::ValuesIn(Scripts()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param.substr(0, param.param.size() - 7);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace qv::test
