// Runs one scenario script with the real program on the headless backend
// and checks what its header expects; exit 0 when every expectation held.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/game_runner.h"
#include "tests/support/scenario.h"

int main(int argc, char** argv) {
    using namespace qv::test;
    if (argc != 2) {
        std::fprintf(stderr, "usage: scenario_runner <file.script>\n");
        return 2;
    }
    const std::filesystem::path script = argv[1];
    const std::string text = ReadText(script);
    if (text.empty()) {
        std::fprintf(stderr, "%s: no such script, or an empty one\n", script.c_str());
        return 2;
    }
    const Scenario scenario = ParseScenario(text, script.parent_path());
    for (const std::string& error : scenario.errors) std::fprintf(stderr, "%s: %s\n", script.c_str(), error.c_str());
    if (!scenario.errors.empty()) return 2;

    GameRunner runner;
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
    for (const auto& [name, source] : scenario.saveFiles) {
        std::error_code error;
        if (!install.empty()) std::filesystem::create_directories(install + "/SAVE", error);
        if (install.empty() || !std::filesystem::copy_file(source, install + "/SAVE/" + name, error)) {
            std::fprintf(stderr, "%s: save-file %s from %s could not be copied\n", script.c_str(), name.c_str(),
                         source.c_str());
            return 2;
        }
    }
    for (const auto& [name, value] : scenario.env) runner.Setenv(name, value);
    runner.WriteScript(text);

    const GameRun run = runner.Run(scenario.timeoutSeconds);
    const std::vector<std::string> failures = CheckScenario(scenario, run, runner.Dir());
    if (failures.empty()) {
        std::printf("%s: as expected (%zu trace lines)\n", script.filename().c_str(), run.trace.size());
        return 0;
    }
    // The end of the trace first, then what went wrong.
    const size_t shown = run.trace.size() < 60 ? run.trace.size() : 60;
    std::printf("last %zu trace lines:\n", shown);
    for (size_t i = run.trace.size() - shown; i < run.trace.size(); ++i) std::printf("  %s\n", run.trace[i].c_str());
    for (const std::string& failure : failures) std::printf("%s: %s\n", script.filename().c_str(), failure.c_str());
    return 1;
}
