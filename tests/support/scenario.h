// Scenario scripts: a headless input script whose header comments set the
// run up and state what it must end with (see docs/headless.md); reading
// the header, and checking a run against it.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "club/club.h"
#include "tests/support/characters.h"
#include "tests/support/club_driver.h"
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

// Bytes written into a file of the run's directory after the rest of the
// set-up: at an offset (negative: from the end), or the file cut to a length.
struct FileEdit {
    std::string path;
    long offset = 0;
    Bytes bytes;
    long cutTo = -1;
};

// "# expect-character-as <slot> <script>": the other road from the same set-up.
struct CharacterComparison {
    int slot = 0;
    std::filesystem::path script;
    int line = 0;
};

struct Scenario {
    std::string install = "link";  // link, empty or none
    std::vector<std::string> registryLines;
    std::vector<std::pair<std::string, std::string>> env;
    std::vector<std::pair<std::string, std::filesystem::path>> saveFiles;  // name, source
    std::vector<CharacterPlan> characters;
    std::string quickSave;  // "", "club" or "match"
    Bytes clubQuickSave;    // the whole file, for "club"
    int matchOpponent = 0;  // for "match"
    int matchLevel = 0;
    std::vector<int> cardPowers;  // empty, or the powers of levels 1 to 4
    std::vector<FileEdit> edits;
    std::vector<std::string> folders;  // made after the rest of the set-up
    std::filesystem::path nextRun;  // run afterwards in the same directory
    int timeoutSeconds = 120;
    int expectedExit = 0;
    std::vector<Expectation> expectations;
    std::vector<CharacterComparison> sameCharacterAs;
    // The set-up and env lines as written, in order: two runs set up alike
    // have the same.
    std::vector<std::string> setUpLines;
    std::vector<std::string> errors;  // lines that could not be read

    // Whether anything but env, timeout and expectations prepares the run.
    bool PreparesFiles() const {
        return install != "link" || !registryLines.empty() || !saveFiles.empty() || !characters.empty() ||
               !quickSave.empty() || !cardPowers.empty() || !edits.empty() || !folders.empty();
    }
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

// "<ms> <kind> <text>" has that kind ("*": any) and a text containing the given one.
inline bool TraceLineMatches(const std::string& line, const std::string& kind, const std::string& text) {
    const std::vector<std::string> words = Words(line);
    if (words.size() < 2 || (kind != "*" && words[1] != kind)) return false;
    return After(line, 2).find(text) != std::string::npos;
}

// The first line from `from` on that matches, or -1.
inline long FindTrace(const std::vector<std::string>& trace, const std::string& kind, const std::string& text,
                      long from) {
    for (size_t i = static_cast<size_t>(from < 0 ? 0 : from); i < trace.size(); ++i) {
        if (TraceLineMatches(trace[i], kind, text)) return static_cast<long>(i);
    }
    return -1;
}

// The virtual time a trace line was written at.
inline long TraceTime(const std::string& line) { return std::strtol(line.c_str(), nullptr, 10); }

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

// Two-digit hex bytes from the word at `from` on.
inline bool ParseHex(const std::vector<std::string>& words, size_t from, Bytes& bytes) {
    for (size_t i = from; i < words.size(); ++i) {
        int value = 0;
        if (words[i].size() > 2 || !ParseInt(words[i], value, 16) || value < 0) return false;
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return true;
}

// "club [<field>=<n> | <record>=<hex>] ...": the quick-save file; "" when it
// is fine, else the word it cannot use.
inline std::string ParseClubQuickSave(const std::vector<std::string>& words, Bytes& file) {
    ClubBlock block;
    std::vector<std::pair<std::string, int>> fields;
    bool frameGiven = false;
    for (size_t i = 3; i < words.size(); ++i) {
        const size_t eq = words[i].find('=');
        const std::string name = words[i].substr(0, eq == std::string::npos ? 0 : eq);
        const std::string value = eq == std::string::npos ? "" : words[i].substr(eq + 1);
        int record = 0;
        while (record < kRecordCount && name != kClubRecordNames[record]) ++record;
        int number = 0;
        Bytes bytes;
        if (record < kRecordCount && value.size() % 2 == 0) {
            std::vector<std::string> pairs;
            for (size_t c = 0; c < value.size(); c += 2) pairs.push_back(value.substr(c, 2));
            if (!ParseHex(pairs, 0, bytes)) return words[i];
            block.Add(static_cast<ClubRecord>(record), bytes);
        } else if (!name.empty() && ParseInt(value, number)) {
            fields.emplace_back(name, number);
            frameGiven = frameGiven || name == "frame";
        } else {
            return words[i];
        }
    }
    Bytes bytes = block.Bytes();
    for (const auto& [name, number] : fields) {
        if (!SetClubField(bytes, name, number)) return name + "=" + std::to_string(number);
        // A room given alone stands the view at it.
        if (name == "room" && !frameGiven && number >= 0 && number <= 9)
            SetClubField(bytes, "frame", Club::RoomFrame(number));
    }
    file = ClubQuickSave(bytes);
    return "";
}

}  // namespace scenario_detail

// Reads the header comments of a script; source files of "save-file" and
// "next-run" are found relative to scriptDir.
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
        static const std::vector<std::string> kSetUp = {"install",     "registry",  "env",
                                                        "save-file",   "character", "quick-save",
                                                        "card-powers", "edit-file", "cut-file",
                                                        "make-dir"};
        if (std::find(kSetUp.begin(), kSetUp.end(), directive) != kSetUp.end()) {
            scenario.setUpLines.push_back(After(line, 1));
        }
        int value = 0;
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
        } else if (directive == "character") {
            CharacterPlan plan = NewCharacter();
            const std::string wrong = count < 1 ? "" : ParseCharacterPlan({words.begin() + 3, words.end()}, plan);
            if (count < 1 || !ParseInt(words[2], plan.slot) || plan.slot < 1 || plan.slot > 3 || !wrong.empty()) {
                fail("character takes a slot 1 to 3 and key=value words" + (wrong.empty() ? "" : ", not " + wrong));
            } else {
                scenario.characters.push_back(plan);
            }
        } else if (directive == "quick-save") {
            const bool match = count == 3 && words[2] == "match" && ParseInt(words[3], scenario.matchOpponent) &&
                               ParseInt(words[4], scenario.matchLevel) && scenario.matchOpponent >= 0 &&
                               scenario.matchOpponent < kOpponentCount / kLevelCount && scenario.matchLevel >= 0 &&
                               scenario.matchLevel < kLevelCount;
            const std::string wrong =
                count >= 1 && words[2] == "club" ? ParseClubQuickSave(words, scenario.clubQuickSave) : "?";
            if (!scenario.quickSave.empty() || (!match && !wrong.empty())) {
                fail("quick-save takes club [<field>=<n> <record>=<hex>...] or match <opponent> <level>, once" +
                     (wrong.empty() || wrong == "?" ? "" : ", not " + wrong));
            } else {
                scenario.quickSave = words[2];
            }
        } else if (directive == "card-powers") {
            for (size_t i = 2; i < words.size(); ++i) {
                if (ParseInt(words[i], value) && value >= 0 && value <= 9) scenario.cardPowers.push_back(value);
            }
            if (count != 4 || scenario.cardPowers.size() != 4) fail("card-powers takes four powers 0 to 9");
        } else if (directive == "edit-file" || directive == "cut-file") {
            FileEdit edit;
            edit.path = count >= 1 ? words[2] : "";
            const bool cut = directive == "cut-file";
            const bool ok = cut ? count == 2 && ParseInt(words[3], value) && value >= 0
                                : count >= 3 && ParseInt(words[3], value) && ParseHex(words, 4, edit.bytes);
            (cut ? edit.cutTo : edit.offset) = value;
            if (!ok) {
                fail(cut ? "cut-file takes <path> <length>" : "edit-file takes <path> <offset> <hex>...");
            } else {
                scenario.edits.push_back(edit);
            }
        } else if (directive == "make-dir") {
            if (count != 1) {
                fail("make-dir takes a path");
            } else {
                scenario.folders.push_back(words[2]);
            }
        } else if (directive == "next-run") {
            if (count != 1) {
                fail("next-run takes a script");
            } else {
                scenario.nextRun = scriptDir / words[2];
            }
        } else if (directive == "timeout") {
            if (count != 1 || !ParseInt(words[2], scenario.timeoutSeconds) || scenario.timeoutSeconds <= 0) {
                fail("timeout takes seconds");
            }
        } else if (directive == "expect-character-as") {
            CharacterComparison comparison;
            comparison.line = number;
            if (count != 2 || !ParseInt(words[2], comparison.slot) || comparison.slot < 1 || comparison.slot > 3) {
                fail("expect-character-as takes a slot 1 to 3 and a script");
            } else {
                comparison.script = scriptDir / words[3];
                scenario.sameCharacterAs.push_back(comparison);
            }
        } else if (directive == "expect-exit") {
            if (count != 1 || !ParseInt(words[2], scenario.expectedExit)) fail("expect-exit takes a code");
        } else if (directive.rfind("expect-", 0) == 0) {
            static const std::vector<std::pair<std::string, size_t>> kLeast = {
                {"expect-trace", 1},      {"expect-no-trace", 1},      {"expect-trace-count", 2},
                {"expect-trace-then", 1}, {"expect-no-trace-then", 1}, {"expect-trace-within", 2},
                {"expect-file", 1},       {"expect-no-file", 1},       {"expect-file-text", 2},
                {"expect-file-bytes", 3}, {"expect-file-size", 2},     {"expect-file-unchanged", 1},
                {"expect-empty-dir", 1},  {"expect-registry", 2},      {"expect-character", 2},
                {"expect-stderr", 1},     {"expect-peak-memory", 1},
            };
            size_t least = 0;
            for (const auto& [name, n] : kLeast) least = name == directive ? n : least;
            std::string unused;
            if (least == 0) {
                fail("unknown directive");
            } else if (count < least) {
                fail(directive + " takes at least " + std::to_string(least) + " words");
            } else if (directive == "expect-trace-within" && (!ParseInt(words[2], value) || value < 0)) {
                fail("expect-trace-within takes milliseconds first");
            } else if (directive == "expect-character" && (!ParseInt(words[2], value) || value < 1 || value > 3)) {
                fail("expect-character takes a slot 1 to 3 first");
            } else {
                for (size_t i = 3; directive == "expect-character" && i < words.size(); ++i) {
                    const size_t eq = words[i].find('=');
                    if (eq == std::string::npos || !CharacterValue(words[i].substr(0, eq), unused)) {
                        fail("expect-character knows no " + words[i]);
                    }
                }
                scenario.expectations.push_back({directive, {words.begin() + 2, words.end()}, rest, number});
            }
        }
    }
    return scenario;
}

// Every expectation the run missed, one message each; the exit code first.
// setUpFiles holds the bytes the files of expect-file-unchanged had before
// the run. expect-character loads with the game's loader from the
// installation in use.
inline std::vector<std::string> CheckScenario(const Scenario& scenario, const GameRun& run,
                                              const std::filesystem::path& runDir,
                                              const std::map<std::string, Bytes>& setUpFiles = {}) {
    using namespace scenario_detail;
    std::vector<std::string> failures;
    // The chain of expect-trace, -then and -within lines: the trace line it
    // stands at (-1 once missed), and the no-trace-then lines that wait for
    // its next line (or the trace's end) to close the stretch they forbid.
    long anchor = -1;
    std::vector<const Expectation*> forbidden;
    auto closeStretch = [&](size_t until) {
        for (const Expectation* e : forbidden) {
            const long found = FindTrace(run.trace, e->words[0], After(e->rest, 1), anchor + 1);
            if (found >= 0 && static_cast<size_t>(found) < until) {
                failures.push_back("line " + std::to_string(e->line) + ": " + e->directive + " " + e->rest +
                                   " (found: " + run.trace[static_cast<size_t>(found)] + ")");
            }
        }
        forbidden.clear();
    };
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
            if (d == "expect-trace") {
                closeStretch(run.trace.size());
                anchor = FindTrace(run.trace, w[0], After(e.rest, 1), 0);
            }
        } else if (d == "expect-no-trace-then") {
            met = anchor >= 0;
            detail = "the line it follows is missing";
            if (met) forbidden.push_back(&e);
        } else if (d == "expect-trace-then" || d == "expect-trace-within") {
            const bool within = d == "expect-trace-within";
            const long from = anchor;
            const long found =
                from < 0 ? -1 : FindTrace(run.trace, w[within ? 1 : 0], After(e.rest, within ? 2 : 1), from + 1);
            met = found >= 0;
            detail = from < 0 ? "the line it follows is missing" : "none after " + run.trace[static_cast<size_t>(from)];
            if (met) closeStretch(static_cast<size_t>(found));
            anchor = found;
            if (met) {
                const long late =
                    TraceTime(run.trace[static_cast<size_t>(anchor)]) - TraceTime(run.trace[static_cast<size_t>(from)]);
                int most = 0;
                met = !within || (ParseInt(w[0], most) && late <= most);
                detail = std::to_string(late) + " ms after " + run.trace[static_cast<size_t>(from)];
            }
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
        } else if (d == "expect-peak-memory") {
            // "<N": the program's peak resident memory stays below N MB. The
            // sanitizers' own bookkeeping and quarantine make it meaningless
            // there.
            int most = 0;
            if (w[0][0] != '<' || !ParseInt(w[0].substr(1), most)) {
                failures.push_back("line " + std::to_string(e.line) + ": the peak must be <N (MB)");
                continue;
            }
#if defined(__SANITIZE_ADDRESS__)
            continue;
#endif
            met = run.peakKb < static_cast<long>(most) * 1024;
            detail = std::to_string(run.peakKb / 1024) + " MB";
        } else if (d == "expect-file") {
            met = std::filesystem::exists(file);
        } else if (d == "expect-no-file") {
            met = !std::filesystem::exists(file);
        } else if (d == "expect-file-size") {
            int size = 0;
            const size_t have = ReadBytes(file).size();
            met = std::filesystem::is_regular_file(file) && ParseInt(w[1], size) && have == static_cast<size_t>(size);
            detail = std::to_string(have) + " bytes";
        } else if (d == "expect-file-unchanged") {
            const auto before = setUpFiles.find(w[0]);
            met = before != setUpFiles.end() && std::filesystem::exists(file) && ReadBytes(file) == before->second;
            detail = before == setUpFiles.end() ? "no such file before the run" : "";
        } else if (d == "expect-character") {
            int slot = 0;
            ParseInt(w[0], slot);
            const std::vector<std::string> differences = CheckCharacter(slot, {w.begin() + 1, w.end()});
            met = differences.empty();
            for (const std::string& difference : differences) detail += (detail.empty() ? "" : "; ") + difference;
        } else if (d == "expect-empty-dir") {
            std::error_code error;
            met = std::filesystem::is_directory(file) && std::filesystem::is_empty(file, error);
        } else if (d == "expect-file-text") {
            met = ReadText(file).find(After(e.rest, 1)) != std::string::npos;
        } else if (d == "expect-stderr") {
            met = run.errors.find(e.rest) != std::string::npos;
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
    closeStretch(run.trace.size());
    return failures;
}

// What differs between the contents of a character here and in another run
// (CharacterContents), one message each, at most ten.
inline std::vector<std::string> CompareCharacters(const std::map<std::string, std::string>& here,
                                                  const std::map<std::string, std::string>& there,
                                                  const std::string& otherRun) {
    if (here.empty()) return {"the character file does not load"};
    if (there.empty()) return {"the character file of " + otherRun + " does not load"};
    std::vector<std::string> differences;
    for (const auto& [key, value] : here) {
        const auto other = there.find(key);
        const std::string otherValue = other == there.end() ? "nothing" : other->second;
        if (value != otherValue && differences.size() < 10) {
            differences.push_back(key + " is " + value + ", after " + otherRun + " " + otherValue);
        }
    }
    return differences;
}

}  // namespace qv::test
