// Runs every tests/scenarios/club-*.script with the real program on the
// headless backend and checks the expectations in its header comments:
// "# expect-exit <code>", "# expect-trace <kind> <text>", "# expect-no-trace
// <kind> <text>", "# expect-trace-count =N|<N|>N <kind> <text>",
// "# expect-file <path>" and "# expect-no-file <path>" (paths from the run's
// directory). Placeholder until the shared runner of tests/scenarios/*.script
// lands; the scripts are written in its format.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/game_runner.h"

namespace qv::test {
namespace {

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

// Trace lines "<ms> <kind> <text>" of that kind whose text holds the given one.
int CountTrace(const GameRun& run, const std::string& kind, const std::string& text) {
    int count = 0;
    for (const std::string& line : run.trace) {
        const std::vector<std::string> words = Words(line);
        if (words.size() >= 2 && words[1] == kind && After(line, 2).find(text) != std::string::npos) ++count;
    }
    return count;
}

std::vector<std::string> ClubScripts() {
    std::vector<std::string> names;
    const std::filesystem::path dir = std::filesystem::path(QV_SOURCE_DIR) / "tests" / "scenarios";
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("club-", 0) == 0 && entry.path().extension() == ".script") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ClubScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(ClubScenario, EndsAsItsHeaderExpects) {
    const std::filesystem::path path =
        std::filesystem::path(QV_SOURCE_DIR) / "tests" / "scenarios" / GetParam();
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string script = text.str();
    ASSERT_FALSE(script.empty()) << path;

    GameRunner runner;
    runner.WriteRegistry(runner.LinkInstallation(QV_INSTALL_DIR));
    runner.Setenv("QUORVANE_AUDIO", "none");
    runner.WriteScript(script);
    const GameRun run = runner.Run();
    const std::string tail = run.TraceText().substr(run.TraceText().size() > 6000 ? run.TraceText().size() - 6000 : 0);

    bool exitChecked = false;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> w = Words(line);
        if (w.size() < 3 || w[0] != "#" || w[1].rfind("expect-", 0) != 0) continue;
        const std::string& d = w[1];
        if (d == "expect-exit") {
            exitChecked = true;
            EXPECT_EQ(run.exitCode, std::stoi(w[2])) << (run.timedOut ? "timed out\n" : "") << tail;
        } else if (d == "expect-trace" || d == "expect-no-trace") {
            const int count = CountTrace(run, w[2], After(line, 3));
            EXPECT_EQ(count > 0, d == "expect-trace") << line << "\n" << tail;
        } else if (d == "expect-trace-count" && w.size() >= 4) {
            const int wanted = std::stoi(w[2].substr(1));
            const int count = CountTrace(run, w[3], After(line, 4));
            const char op = w[2][0];
            EXPECT_TRUE(op == '=' ? count == wanted : op == '<' ? count < wanted : count > wanted)
                << line << " (" << count << " such lines)\n" << tail;
        } else if (d == "expect-file" || d == "expect-no-file") {
            EXPECT_EQ(std::filesystem::exists(runner.Path(w[2])), d == "expect-file") << line;
        } else {
            ADD_FAILURE() << "unknown expectation: " << line;
        }
    }
    EXPECT_TRUE(exitChecked) << "the script states no exit code";
}

INSTANTIATE_TEST_SUITE_P(Scripts, ClubScenario, ::testing::ValuesIn(ClubScripts()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param.substr(0, param.param.size() - 7);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace qv::test
