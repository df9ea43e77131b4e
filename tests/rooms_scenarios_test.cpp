// Runs every tests/scenarios/rooms/*.script (but the shared pieces, whose
// names start with '_') with the real program on the headless backend.
// Header comments set the run up and say what it must end with:
//   # character deck=strong|weak credits=N copies=N deck-cards=N
//               collection=whole beaten=N|all tourneys=N|all name=TEXT
//     (beaten / tourneys: the opponents or tournaments of the first N levels)
//   # card-powers P1 P2 P3 P4   (every card of level L: power P_L all round)
//   # env NAME=value
//   # next <script>   (run afterwards on the same installation)
//   # expect-exit <code>
//   # expect-trace <kind> <text> / # expect-no-trace <kind> <text>
//   # expect-trace-count =N|<N|>N <kind> <text>
//   # expect-file <path> / # expect-no-file <path>   (from the run's directory)
//   # expect-credits N
//   # expect-games won|lost|tied <level> <index> N
//   # expect-games-total won|lost|tied N
//   # expect-tourneys won|played <level> N
// A line "include <name>" is replaced by that file of the same folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/game_runner.h"
#include "tests/support/rooms_driver.h"

namespace qv::test {
namespace {

const std::filesystem::path kFolder = std::filesystem::path(QV_SOURCE_DIR) / "tests" / "scenarios" / "rooms";

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

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The script with its include lines replaced (one level deep).
std::string Expand(const std::string& script) {
    std::string out;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> w = Words(line);
        if (w.size() == 2 && w[0] == "include") {
            out += ReadText(kFolder / w[1]);
        } else {
            out += line + "\n";
        }
    }
    return out;
}

int CountTrace(const GameRun& run, const std::string& kind, const std::string& text) {
    int count = 0;
    for (const std::string& line : run.trace) {
        const std::vector<std::string> words = Words(line);
        if (words.size() >= 2 && words[1] == kind && After(line, 2).find(text) != std::string::npos) ++count;
    }
    return count;
}

// The header lines "# <directive> ..." of a script.
std::vector<std::string> Header(const std::string& script, const std::string& directive) {
    std::vector<std::string> found;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> w = Words(line);
        if (w.size() >= 2 && w[0] == "#" && w[1] == directive) found.push_back(line);
    }
    return found;
}

CharacterSpec ParseCharacter(const std::string& line) {
    CharacterSpec spec;
    for (const std::string& word : Words(After(line, 2))) {
        const size_t eq = word.find('=');
        const std::string key = word.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
        if (key == "deck") spec.strongDeck = value == "strong";
        if (key == "credits") spec.credits = std::stoi(value);
        if (key == "copies") spec.copies = std::stoi(value);
        if (key == "deck-cards") spec.deckCards = std::stoi(value);
        if (key == "collection") spec.wholeCollection = value == "whole";
        if (key == "beaten") spec.levelsBeaten = value == "all" ? kLevelCount : std::stoi(value);
        if (key == "tourneys") spec.tourneysWon = value == "all" ? kLevelCount : std::stoi(value);
        if (key == "name") spec.name = value;
    }
    return spec;
}

const int16_t* Counters(const SavedCharacter& saved, const std::string& which) {
    if (which == "won") return saved.won;
    if (which == "lost") return saved.lost;
    return saved.tied;
}

// Runs one script of the folder on the runner's installation and checks
// its expectations; gives the name of the script to run next, if any.
std::string RunAndCheck(GameRunner& runner, const std::string& name) {
    const std::string script = ReadText(kFolder / name);
    EXPECT_FALSE(script.empty()) << name;
    for (const std::string& line : Header(script, "env")) {
        const std::string setting = After(line, 2);
        const size_t eq = setting.find('=');
        runner.Setenv(setting.substr(0, eq), setting.substr(eq + 1));
    }
    runner.WriteScript(Expand(script));
    const GameRun run = runner.Run(300);
    // The trace without frames and input, for failure messages.
    std::string text;
    for (const std::string& line : run.trace) {
        const std::vector<std::string> w = Words(line);
        if (w.size() >= 2 && w[1] != "present" && w[1] != "input") text += line + "\n";
    }
    const std::string tail = name + ":\n" + text.substr(text.size() > 8000 ? text.size() - 8000 : 0);

    std::istringstream lines(script);
    bool exitChecked = false;
    SavedCharacter saved;
    bool savedRead = false;
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> w = Words(line);
        if (w.size() < 3 || w[0] != "#" || w[1].rfind("expect-", 0) != 0) continue;
        const std::string& d = w[1];
        if (d.rfind("expect-credits", 0) == 0 || d.rfind("expect-games", 0) == 0 ||
            d.rfind("expect-tourneys", 0) == 0) {
            if (!savedRead) {
                saved = ReadCharacter();
                savedRead = true;
                EXPECT_TRUE(saved.loaded) << "the character file does not load";
            }
        }
        if (d == "expect-exit") {
            exitChecked = true;
            EXPECT_EQ(run.exitCode, std::stoi(w[2])) << (run.timedOut ? "timed out\n" : "") << tail;
        } else if (d == "expect-trace" || d == "expect-no-trace") {
            EXPECT_EQ(CountTrace(run, w[2], After(line, 3)) > 0, d == "expect-trace") << line << "\n" << tail;
        } else if (d == "expect-trace-count" && w.size() >= 4) {
            const int wanted = std::stoi(w[2].substr(1));
            const int count = CountTrace(run, w[3], After(line, 4));
            const char op = w[2][0];
            EXPECT_TRUE(op == '=' ? count == wanted : op == '<' ? count < wanted : count > wanted)
                << line << " (" << count << " such lines)\n" << tail;
        } else if (d == "expect-file" || d == "expect-no-file") {
            EXPECT_EQ(std::filesystem::exists(runner.Path(w[2])), d == "expect-file") << line;
        } else if (d == "expect-credits") {
            EXPECT_EQ(saved.credits, std::stoi(w[2])) << line << "\n" << tail;
        } else if (d == "expect-games" && w.size() == 6) {
            const int entry = std::stoi(w[4]) * kLevelCount + std::stoi(w[3]);
            EXPECT_EQ(Counters(saved, w[2])[entry], std::stoi(w[5])) << line << "\n" << tail;
        } else if (d == "expect-games-total" && w.size() == 4) {
            EXPECT_EQ(saved.Total(Counters(saved, w[2])), std::stoi(w[3])) << line << "\n" << tail;
        } else if (d == "expect-tourneys" && w.size() == 5) {
            const int16_t* counters = w[2] == "won" ? saved.tourneysWon : saved.tourneysPlayed;
            EXPECT_EQ(counters[std::stoi(w[3])], std::stoi(w[4])) << line << "\n" << tail;
        } else {
            ADD_FAILURE() << "unknown expectation: " << line;
        }
    }
    EXPECT_TRUE(exitChecked) << name << " states no exit code";
    const std::vector<std::string> next = Header(script, "next");
    return next.empty() ? std::string() : Words(next.front())[2];
}

std::vector<std::string> RoomScripts() {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '_' && entry.path().extension() == ".script") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    // Scripts that run after another are run by it.
    std::vector<std::string> firsts;
    for (const std::string& name : names) {
        bool follows = false;
        for (const std::string& other : names) {
            for (const std::string& line : Header(ReadText(kFolder / other), "next")) {
                follows = follows || Words(line)[2] == name;
            }
        }
        if (!follows) firsts.push_back(name);
    }
    return firsts;
}

class RoomScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(RoomScenario, EndsAsItsHeaderExpects) {
    GameRunner runner;
    const std::string install = runner.LinkInstallation(QV_INSTALL_DIR);
    runner.WriteRegistry(install);
    runner.Setenv("QUORVANE_AUDIO", "none");
    const std::string script = ReadText(kFolder / GetParam());
    const std::vector<std::string> character = Header(script, "character");
    for (const std::string& line : Header(script, "card-powers")) {
        const std::vector<std::string> w = Words(line);
        ASSERT_EQ(w.size(), 6u) << line;
        const int powers[4] = {std::stoi(w[2]), std::stoi(w[3]), std::stoi(w[4]), std::stoi(w[5])};
        ASSERT_TRUE(UseCardPowers(install, powers));
    }
    ASSERT_TRUE(UseRunInstallation(install, runner.Path("registry.txt")));
    if (!character.empty()) PrepareCharacter(ParseCharacter(character.front()));
    for (std::string name = GetParam(); !name.empty();) name = RunAndCheck(runner, name);
    CloseCardDatabase();
}

INSTANTIATE_TEST_SUITE_P(Scripts, RoomScenario, ::testing::ValuesIn(RoomScripts()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param.substr(0, param.param.size() - 7);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace qv::test
