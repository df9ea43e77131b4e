// Runs one scenario script with the real program on the headless backend:
// prepares the run as its header says, runs it (and the scripts it names
// with next-run, in the same directory) and checks what each header
// expects, also against the other road that an expect-character-as line runs
// in a directory of its own; exit 0 when every expectation held. With
// QV_SCENARIO_TRACES set to a directory, each script's trace is also kept
// there as <script name>.trace (scripts/compare-frames.sh compares two builds
// so).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/utilities.h"
#include "tests/support/characters.h"
#include "tests/support/game_runner.h"
#include "tests/support/match_driver.h"
#include "tests/support/scenario.h"

namespace qv::test {
namespace {

// How many scripts one test may chain with next-run.
constexpr int kMostRuns = 4;

// Applies one edit-file or cut-file line to a file of the run's directory.
bool EditFile(const std::filesystem::path& file, const FileEdit& edit) {
    Bytes bytes = ReadBytes(file);
    if (!std::filesystem::is_regular_file(file)) return false;
    if (edit.cutTo >= 0) {
        if (static_cast<size_t>(edit.cutTo) > bytes.size()) return false;
        bytes.resize(static_cast<size_t>(edit.cutTo));
    } else {
        const long at = edit.offset < 0 ? static_cast<long>(bytes.size()) + edit.offset : edit.offset;
        if (at < 0 || static_cast<size_t>(at) + edit.bytes.size() > bytes.size()) return false;
        std::copy(edit.bytes.begin(), edit.bytes.end(), bytes.begin() + at);
    }
    WriteBytes(file, bytes);
    return true;
}

// Prepares the run's directory as the first script's header says; what went
// wrong, or "".
std::string SetUp(const Scenario& scenario, GameRunner& runner) {
    std::string extraValues;
    for (const std::string& line : scenario.registryLines) extraValues += line + "\n";
    std::string install;
    if (scenario.install == "link") {
        install = runner.LinkInstallation();
    } else if (scenario.install == "empty") {
        install = runner.Path("install");
        std::filesystem::create_directories(install);
    }
    runner.WriteRegistry(install, extraValues);
    const bool usesInstall = !scenario.saveFiles.empty() || !scenario.characters.empty() ||
                             !scenario.quickSave.empty() || !scenario.cardPowers.empty();
    if (install.empty() && usesInstall) return "the set-up needs an installation";
    for (const auto& [name, source] : scenario.saveFiles) {
        std::error_code error;
        std::filesystem::create_directories(install + "/SAVE", error);
        if (!std::filesystem::copy_file(source, install + "/SAVE/" + name, error)) {
            return "save-file " + name + " from " + source.string() + " could not be copied";
        }
    }
    if (!scenario.cardPowers.empty() && !UseCardPowers(install, scenario.cardPowers.data())) {
        return "the card database could not be given its powers";
    }
    if (!scenario.characters.empty() || !scenario.quickSave.empty()) {
        if (scenario.quickSave == "match") StartMatchEnvironment();
        if (!UseRunInstallation(install, runner.Path("registry.txt"))) return "the card database does not open";
        SeedRandom(41);
        for (const CharacterPlan& plan : scenario.characters) {
            if (!SaveCharacter(plan)) return "character " + std::to_string(plan.slot) + " could not be saved";
        }
        if (scenario.quickSave == "club") WriteBytes(install + "/SAVE/QuickSave.QCP", scenario.clubQuickSave);
        // The player's turn with 8 cards on the board.
        if (scenario.quickSave == "match" && !SaveMatchInProgress(scenario.matchOpponent, scenario.matchLevel, 16)) {
            return "the match did not reach the player's turn";
        }
    }
    for (const FileEdit& edit : scenario.edits) {
        if (!EditFile(runner.Path(edit.path), edit)) return "cannot edit " + edit.path + " there";
    }
    for (const std::string& folder : scenario.folders) {
        std::error_code error;
        if (!std::filesystem::create_directories(runner.Path(folder), error)) return "cannot make the folder " + folder;
    }
    return "";
}

bool RunChain(std::filesystem::path script, GameRunner& runner, bool mayCompare);

// Runs the other road that an expect-character-as line names, in a directory
// of its own, and compares the two characters of the slot; what differs.
std::vector<std::string> CompareWithOtherRoad(const CharacterComparison& comparison,
                                              const std::vector<std::string>& setUp, const GameRunner& runner) {
    const std::string other = comparison.script.filename().string();
    const std::string line = "line " + std::to_string(comparison.line) + ": ";
    const Scenario road = ParseScenario(ReadText(comparison.script), comparison.script.parent_path());
    if (road.setUpLines != setUp) return {line + other + " is not set up as this test"};
    GameRunner otherRunner;
    if (!RunChain(comparison.script, otherRunner, false)) return {line + other + " did not run as expected"};
    if (!UseRunInstallation(runner.Path("install"), runner.Path("registry.txt"))) return {line + "no card database"};
    const auto here = CharacterContents(comparison.slot);
    UseRunInstallation(otherRunner.Path("install"), otherRunner.Path("registry.txt"));
    std::vector<std::string> differences = CompareCharacters(here, CharacterContents(comparison.slot), other);
    for (std::string& difference : differences) difference = line + difference;
    return differences;
}

// Runs one script of the chain and checks it; its next script, or "" (also
// after a failure, which *ok records). setUp holds the first script's set-up
// lines (the first sets them).
std::filesystem::path RunOne(const std::filesystem::path& script, bool first, std::vector<std::string>& setUp,
                             GameRunner& runner, bool mayCompare, bool& ok) {
    const std::string name = script.filename().string();
    auto fail = [&](const std::string& why) {
        std::printf("%s: %s\n", name.c_str(), why.c_str());
        ok = false;
        return std::filesystem::path();
    };
    const std::string text = ReadText(script);
    if (text.empty()) return fail("no such script, or an empty one");
    Scenario scenario = ParseScenario(text, script.parent_path());
    const std::string body = ExpandIncludes(text, script.parent_path(), scenario.errors);
    if (!first && scenario.PreparesFiles()) scenario.errors.push_back("a script run next takes only env and timeout");
    if (!mayCompare && !scenario.sameCharacterAs.empty()) {
        scenario.errors.push_back("a road run for a comparison compares nothing itself");
    }
    for (const std::string& error : scenario.errors) fail(error);
    if (!scenario.errors.empty()) return {};
    if (first) {
        setUp = scenario.setUpLines;
        const std::string error = SetUp(scenario, runner);
        if (!error.empty()) return fail(error);
    }
    for (const auto& [variable, value] : scenario.env) runner.Setenv(variable, value);
    for (const Expectation& e : scenario.expectations) {
        if (e.directive == "expect-stderr") runner.CaptureStderr();
    }
    runner.WriteScript(body);

    std::map<std::string, Bytes> setUpFiles;
    for (const Expectation& e : scenario.expectations) {
        if (e.directive == "expect-file-unchanged" && runner.Exists(e.words[0])) {
            setUpFiles[e.words[0]] = ReadBytes(runner.Path(e.words[0]));
        }
    }
    const GameRun run = runner.Run(scenario.timeoutSeconds);
    if (const char* keep = std::getenv("QV_SCENARIO_TRACES"); keep != nullptr && *keep != '\0') {
        std::error_code ignored;
        std::filesystem::create_directories(keep, ignored);
        std::filesystem::copy_file(runner.TracePath(), std::filesystem::path(keep) / (name + ".trace"),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
    for (const Expectation& e : scenario.expectations) {
        if (e.directive == "expect-character" &&
            !UseRunInstallation(runner.Path("install"), runner.Path("registry.txt"))) {
            return fail("the card database does not open to read the character");
        }
    }
    std::vector<std::string> failures = CheckScenario(scenario, run, runner.Dir(), setUpFiles);
    for (const CharacterComparison& comparison :
         failures.empty() ? scenario.sameCharacterAs : std::vector<CharacterComparison>{}) {
        for (const std::string& difference : CompareWithOtherRoad(comparison, setUp, runner)) {
            failures.push_back(difference);
        }
    }
    if (failures.empty()) {
        std::printf("%s: as expected (%zu trace lines, peak memory %ld kB)\n", name.c_str(), run.trace.size(),
                    run.peakKb);
        return scenario.nextRun;
    }
    // The end of the trace without its frames first, then what went wrong.
    std::vector<std::string> shown;
    for (const std::string& line : run.trace) {
        if (!scenario_detail::TraceLineMatches(line, "present", "")) shown.push_back(line);
    }
    const size_t from = shown.size() > 80 ? shown.size() - 80 : 0;
    std::printf("%s: last %zu trace lines but frames:\n", name.c_str(), shown.size() - from);
    for (size_t i = from; i < shown.size(); ++i) std::printf("  %s\n", shown[i].c_str());
    for (const std::string& failure : failures) fail(failure);
    return {};
}

// Runs the script, and the scripts it names with next-run, in the runner's
// directory; true when every run went as expected.
bool RunChain(std::filesystem::path script, GameRunner& runner, bool mayCompare) {
    bool ok = true;
    std::vector<std::string> setUp;
    for (int run = 0; ok && !script.empty(); ++run) {
        if (run == kMostRuns) {
            std::printf("more than %d scripts in a chain of next-run\n", kMostRuns);
            return false;
        }
        script = RunOne(script, run == 0, setUp, runner, mayCompare, ok);
    }
    return ok;
}

}  // namespace
}  // namespace qv::test

int main(int argc, char** argv) {
    using namespace qv::test;
    if (argc != 2) {
        std::fprintf(stderr, "usage: scenario_runner <file.script>\n");
        return 2;
    }
    GameRunner runner;
    const bool ok = RunChain(argv[1], runner, true);
    qv::CloseCardDatabase();
    return ok ? 0 : 1;
}
