// Scenario scripts: a headless input script whose header comments set the
// run up and state what it must end with (see docs/headless.md).
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/game_runner.h"

namespace qv::test {

// One "# expect-..." line: its directive, its words and the text after the
// directive as written (for texts with spaces).
struct Expectation {
    std::string directive;
    std::vector<std::string> words;
    std::string rest;
    int line = 0;
};

struct Scenario {
    std::string install = "link";  // link, empty or none
    std::vector<std::string> registryLines;
    std::vector<std::pair<std::string, std::string>> env;
    std::vector<std::pair<std::string, std::filesystem::path>> saveFiles;  // name, source
    int timeoutSeconds = 120;
    int expectedExit = 0;
    std::vector<Expectation> expectations;
    std::vector<std::string> errors;  // lines that could not be read
};

namespace scenario_detail {

inline std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The text after the first n words.
inline std::string After(const std::string& text, size_t n) {
    size_t at = 0;
    for (size_t i = 0; i < n; ++i) {
        at = text.find_first_not_of(" \t", at);
        at = at == std::string::npos ? at : text.find_first_of(" \t", at);
        if (at == std::string::npos) return "";
    }
    at = text.find_first_not_of(" \t", at);
    return at == std::string::npos ? "" : text.substr(at);
}

inline bool ParseInt(const std::string& text, int& value, int base = 10) {
    try {
        size_t used = 0;
        value = std::stoi(text, &used, base);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

// "<ms> <kind> <text>" has that kind ("*": any) and a text containing the given one.
inline bool TraceLineMatches(const std::string& line, const std::string& kind, const std::string& text) {
    const std::vector<std::string> words = Words(line);
    if (words.size() < 2 || (kind != "*" && words[1] != kind)) return false;
    return After(line, 2).find(text) != std::string::npos;
}

inline int CountTrace(const std::vector<std::string>& trace, const std::string& kind, const std::string& text) {
    int count = 0;
    for (const std::string& line : trace) count += TraceLineMatches(line, kind, text) ? 1 : 0;
    return count;
}

// The lines of the settings key "[SOFTWARE\Quorvane]" in a registry file.
inline std::vector<std::string> SettingsKeyLines(const std::filesystem::path& registry) {
    std::vector<std::string> lines;
    bool inKey = false;
    for (const std::string& line : ReadLines(registry)) {
        if (!line.empty() && line[0] == '[') {
            inKey = line == "[SOFTWARE\\Quorvane]";
        } else if (inKey) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace scenario_detail

// Reads the header comments of a script; source files of "save-file" are
// found relative to scriptDir.
inline Scenario ParseScenario(const std::string& text, const std::filesystem::path& scriptDir) {
    using namespace scenario_detail;
    Scenario scenario;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.size() < 2 || words[0] != "#") continue;
        const std::string& directive = words[1];
        const std::string rest = After(line, 2);
        const size_t count = words.size() - 2;
        auto fail = [&](const std::string& why) {
            scenario.errors.push_back("line " + std::to_string(number) + ": " + why + ": " + line);
        };
        if (directive == "install") {
            if (count != 1 || (words[2] != "link" && words[2] != "empty" && words[2] != "none")) {
                fail("install takes link, empty or none");
            } else {
                scenario.install = words[2];
            }
        } else if (directive == "registry") {
            if (rest.find(" = ") == std::string::npos) {
                fail("registry takes <name> = <value>");
            } else {
                scenario.registryLines.push_back(rest);
            }
        } else if (directive == "env") {
            const size_t equals = rest.find('=');
            if (equals == std::string::npos || equals == 0) {
                fail("env takes NAME=value");
            } else {
                scenario.env.emplace_back(rest.substr(0, equals), rest.substr(equals + 1));
            }
        } else if (directive == "save-file") {
            if (count != 2) {
                fail("save-file takes <name> <source>");
            } else {
                scenario.saveFiles.emplace_back(words[2], scriptDir / words[3]);
            }
        } else if (directive == "timeout") {
            if (count != 1 || !ParseInt(words[2], scenario.timeoutSeconds) || scenario.timeoutSeconds <= 0) {
                fail("timeout takes seconds");
            }
        } else if (directive == "expect-exit") {
            if (count != 1 || !ParseInt(words[2], scenario.expectedExit)) fail("expect-exit takes a code");
        } else if (directive.rfind("expect-", 0) == 0) {
            static const std::vector<std::pair<std::string, size_t>> kLeast = {
                {"expect-trace", 1},      {"expect-no-trace", 1},  {"expect-trace-count", 2},
                {"expect-file", 1},       {"expect-no-file", 1},   {"expect-file-text", 2},
                {"expect-file-bytes", 3}, {"expect-empty-dir", 1}, {"expect-registry", 2},
            };
            size_t least = 0;
            for (const auto& [name, n] : kLeast) least = name == directive ? n : least;
            if (least == 0) {
                fail("unknown directive");
            } else if (count < least) {
                fail(directive + " takes at least " + std::to_string(least) + " words");
            } else {
                scenario.expectations.push_back({directive, {words.begin() + 2, words.end()}, rest, number});
            }
        }
    }
    return scenario;
}

// Every expectation the run missed, one message each; the exit code first.
inline std::vector<std::string> CheckScenario(const Scenario& scenario, const GameRun& run,
                                              const std::filesystem::path& runDir) {
    using namespace scenario_detail;
    std::vector<std::string> failures;
    if (run.timedOut) {
        failures.push_back("the program did not end within " + std::to_string(scenario.timeoutSeconds) + " s");
    } else if (run.exitCode != scenario.expectedExit) {
        failures.push_back("exit code " + std::to_string(run.exitCode) + ", expected " +
                           std::to_string(scenario.expectedExit));
    }
    for (const Expectation& e : scenario.expectations) {
        const std::string& d = e.directive;
        const std::vector<std::string>& w = e.words;
        const std::filesystem::path file = runDir / w[0];
        bool met = true;
        std::string detail;
        if (d == "expect-trace" || d == "expect-no-trace") {
            const int count = CountTrace(run.trace, w[0], After(e.rest, 1));
            met = d == "expect-trace" ? count > 0 : count == 0;
            detail = std::to_string(count) + " such lines";
        } else if (d == "expect-trace-count") {
            const char op = w[0][0];
            int wanted = 0;
            if ((op != '=' && op != '<' && op != '>') || !ParseInt(w[0].substr(1), wanted)) {
                failures.push_back("line " + std::to_string(e.line) + ": the count must be =N, <N or >N");
                continue;
            }
            const int count = CountTrace(run.trace, w[1], After(e.rest, 2));
            met = op == '=' ? count == wanted : op == '<' ? count < wanted : count > wanted;
            detail = std::to_string(count) + " such lines";
        } else if (d == "expect-file") {
            met = std::filesystem::exists(file);
        } else if (d == "expect-no-file") {
            met = !std::filesystem::exists(file);
        } else if (d == "expect-empty-dir") {
            std::error_code error;
            met = std::filesystem::is_directory(file) && std::filesystem::is_empty(file, error);
        } else if (d == "expect-file-text") {
            met = ReadText(file).find(After(e.rest, 1)) != std::string::npos;
        } else if (d == "expect-file-bytes") {
            const Bytes bytes = ReadBytes(file);
            int offset = 0;
            met = ParseInt(w[1], offset) && offset >= 0;
            for (size_t i = 2; met && i < w.size(); ++i) {
                int value = 0;
                const size_t at = static_cast<size_t>(offset) + i - 2;
                met = ParseInt(w[i], value, 16) && at < bytes.size() && bytes[at] == value;
            }
            detail = std::to_string(bytes.size()) + " bytes in the file";
        } else if (d == "expect-registry") {
            // "<name> = <value>" as the file has it, or "<name> <low byte>" of a 4-byte value.
            int low = 0;
            const bool byLowByte = w.size() == 2 && ParseInt(w[1], low);
            met = false;
            for (const std::string& line : SettingsKeyLines(runDir / "registry.txt")) {
                const std::string prefix = w[0] + " = dword:0x";
                int value = 0;
                met = met || (byLowByte ? line.rfind(prefix, 0) == 0 && line.size() == prefix.size() + 8 &&
                                              ParseInt(line.substr(line.size() - 2), value, 16) && value == low
                                        : line == e.rest);
            }
        }
        if (!met) {
            failures.push_back("line " + std::to_string(e.line) + ": " + d + " " + e.rest +
                               (detail.empty() ? "" : " (" + detail + ")"));
        }
    }
    return failures;
}

}  // namespace qv::test
