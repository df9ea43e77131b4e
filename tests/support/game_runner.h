// Runs the real game program headless in a temporary directory, for scenario
// tests, with the input script's include lines expanded.
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/installation.h"
#include "tests/support/temp_dir.h"

namespace qv::test {

// Script lines that take start-up past the loading screen's closing tap wait
// and then wait for the program's own signal that the main loop runs.
inline std::string ThroughStartup() { return "on loading waiting\ntap 120 160\non state main loop\n"; }

// The script with each line "include <file>" replaced by that file (found
// relative to scriptDir; one level deep); a file that cannot be read is an error.
inline std::string ExpandIncludes(const std::string& text, const std::filesystem::path& scriptDir,
                                  std::vector<std::string>& errors) {
    std::string out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first, name, more;
        words >> first >> name;
        if (first == "include" && !name.empty() && !(words >> more)) {
            const std::string piece = ReadText(scriptDir / name);
            if (piece.empty()) errors.push_back("no such piece to include: " + name);
            out += piece;
            if (!piece.empty() && piece.back() != '\n') out += "\n";
        } else {
            out += line + "\n";
        }
    }
    return out;
}

// The outcome of one run: the exit code (-1 when the program was killed or
// timed out) and the trace file's lines.
struct GameRun {
    int exitCode = -1;
    bool timedOut = false;
    long peakKb = 0;  // the program's peak resident memory (of the wrapper, when there is one)
    std::vector<std::string> trace;
    std::string errors;  // standard error, when the runner captures it

    // Whether some trace line contains the text.
    bool Traced(const std::string& text) const {
        for (const std::string& line : trace) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    // How many trace lines contain the text.
    int TraceCount(const std::string& text) const {
        int count = 0;
        for (const std::string& line : trace) {
            count += line.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
    // The trace, one line each, for failure messages.
    std::string TraceText() const {
        std::string text;
        for (const std::string& line : trace) {
            text += line + "\n";
        }
        return text;
    }
};

// A temporary directory holding the registry file, the trace and the script
// of a headless run; removed when the runner goes. Every run gets
// QUORVANE_BACKEND=headless and those three paths; Setenv adds or overrides
// variables (an empty value removes the variable). QV_GAME_WRAPPER, when
// set, is a command put in front of the program (a profiler, say), run by
// the shell.
class GameRunner {
public:
    GameRunner() {
        env_["QUORVANE_BACKEND"] = "headless";
        env_["QUORVANE_REGISTRY"] = Path("registry.txt");
        env_["QUORVANE_TRACE"] = Path("trace.txt");
    }
    std::string Dir() const { return dir_.Path(); }
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    void Setenv(const std::string& name, const std::string& value) { env_[name] = value; }
    // Later runs write standard error into the directory; GameRun::errors has it.
    void CaptureStderr() { captureStderr_ = true; }
    // Later runs lead a process group of their own (the process id is the
    // group's), so that what they start can be ended with them.
    void OwnProcessGroup() { ownGroup_ = true; }
    std::string TracePath() const {
        auto found = env_.find("QUORVANE_TRACE");
        return found == env_.end() ? std::string() : found->second;
    }
    // How many lines of the trace file written so far contain the text (for
    // a program still running).
    int TraceCount(const std::string& text) const {
        std::ifstream in(TracePath());
        int count = 0;
        for (std::string line; std::getline(in, line);) {
            count += line.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
    bool TraceHas(const std::string& text) const { return TraceCount(text) > 0; }
    // Waits up to seconds for a line of the trace to hold the text.
    bool WaitForTrace(const std::string& text, int seconds) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            if (TraceHas(text)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    // An installation directory of its own: the built asset set's folders
    // linked in, and an empty "SAVE" folder, so that runs do not share saves.
    std::string LinkInstallation(const std::filesystem::path& assets = kBuiltInstall) const {
        return test::LinkInstallation(dir_.Root(), assets).string();
    }

    // Writes a file in the directory.
    void WriteFile(const std::string& name, const std::string& content) const { WriteText(Path(name), content); }
    std::string ReadFile(const std::string& name) const { return ReadText(Path(name)); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    // The registry file with the game's key and, when directory is not
    // empty, "Install_Dir" pointing at it (a host path, written with '\\'
    // as the handheld writes paths). extraValues are further lines of the key.
    void WriteRegistry(const std::string& directory, const std::string& extraValues = "") const {
        std::string text = "[SOFTWARE\\Quorvane]\n";
        if (!directory.empty()) {
            std::string handheld = directory;
            for (char& c : handheld) {
                c = c == '/' ? '\\' : c;
            }
            text += "Install_Dir = sz:" + handheld + "\n";
        }
        text += extraValues;
        WriteFile("registry.txt", text);
    }
    // The input script (see docs/headless.md) and QUORVANE_SCRIPT set to it.
    void WriteScript(const std::string& script) {
        WriteFile("script.txt", script);
        env_["QUORVANE_SCRIPT"] = Path("script.txt");
    }

    // Starts the program and waits for it at most timeoutSeconds (then it is killed).
    GameRun Run(int timeoutSeconds = 120) const { return Wait(Start(), timeoutSeconds); }

    // Starts the program without waiting; the process id, or -1.
    pid_t Start() const {
        std::error_code ignored;
        std::filesystem::remove(TracePath(), ignored);
        pid_t pid = fork();
        if (pid == 0) {
            if (ownGroup_) setpgid(0, 0);
            for (const auto& [name, value] : env_) {
                if (value.empty()) {
                    unsetenv(name.c_str());
                } else {
                    setenv(name.c_str(), value.c_str(), 1);
                }
            }
            if (chdir(dir_.Path().c_str()) != 0) {
                _exit(126);
            }
            if (captureStderr_ && freopen(Path("stderr.txt").c_str(), "w", stderr) == nullptr) {
                _exit(126);
            }
            const char* wrapper = getenv("QV_GAME_WRAPPER");
            if (wrapper != nullptr && *wrapper != '\0') {
                const std::string command = std::string(wrapper) + " \"$0\"";
                execl("/bin/sh", "sh", "-c", command.c_str(), QV_GAME_EXE, static_cast<char*>(nullptr));
            } else {
                execl(QV_GAME_EXE, QV_GAME_EXE, static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        return pid;
    }

    // Waits for a started program as Run does.
    GameRun Wait(pid_t pid, int timeoutSeconds = 120) const {
        GameRun run;
        if (pid < 0) {
            return run;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
        int status = 0;
        rusage usage{};
        for (;;) {
            pid_t done = wait4(pid, &status, WNOHANG, &usage);
            if (done == pid) {
                break;
            }
            if (done < 0 || std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                wait4(pid, &status, 0, &usage);
                run.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!run.timedOut && WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
        }
        run.peakKb = usage.ru_maxrss;
        run.trace = ReadLines(TracePath());
        if (captureStderr_) {
            run.errors = ReadFile("stderr.txt");
        }
        return run;
    }

private:
    TempDir dir_{"run"};
    std::map<std::string, std::string> env_;
    bool captureStderr_ = false;
    bool ownGroup_ = false;
};

}  // namespace qv::test
