// Two real programs on this machine linked to each other, for two-machine
// scenario tests: each has its own registry file, script, trace and
// installation (the built data linked in, a "SAVE" folder of its own), and
// both use one free link port. The server starts first, the client once the
// server waits for it.
#pragma once

#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "club/club.h"
#include "tests/support/characters.h"
#include "tests/support/club_driver.h"
#include "tests/support/files.h"
#include "tests/support/game_runner.h"
#include "tests/support/link_peer.h"

namespace qv::test {

// How many cards a collection holds.
inline int CardTotal(const std::map<int16_t, int>& counts) {
    int total = 0;
    for (const auto& [id, count] : counts) total += count;
    return total;
}

class LinkPair {
public:
    enum Role { kServer = 0, kClient = 1 };

    // timeScale shortens the link's waits (the host's 20 s, the searches).
    explicit LinkPair(double timeScale = 0.5) {
        const std::string port = std::to_string(FreeLinkPort());
        for (int role = 0; role < 2; ++role) {
            GameRunner& runner = runners_[role];
            installs_[role] = runner.LinkInstallation();
            runner.WriteRegistry(installs_[role]);
            runner.Setenv("QUORVANE_AUDIO", "none");
            runner.Setenv("QUORVANE_IR_PORT", port);
            runner.Setenv("QUORVANE_IR_PEER", "127.0.0.1");
            runner.Setenv("QUORVANE_IR_TIME_SCALE", std::to_string(timeScale));
            // Each machine draws its own numbers.
            runner.Setenv("QUORVANE_TIME", role == kServer ? "1000000000" : "1000000777");
        }
    }
    ~LinkPair() {
        for (pid_t& pid : pids_) {
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
        CloseCardDatabase();
    }
    LinkPair(const LinkPair&) = delete;
    LinkPair& operator=(const LinkPair&) = delete;

    GameRunner& Runner(Role role) { return runners_[role]; }
    const std::string& Install(Role role) const { return installs_[role]; }

    // Points this process at that machine's installation (and opens the
    // card database) so that the game's own savers and loaders reach it.
    bool UseInstallation(Role role) { return UseRunInstallation(installs_[role], runners_[role].Path("registry.txt")); }

    // Character 1 of that machine, saved by the game's own saver, and a quick
    // save that starts on the club view standing at the multiplayer room.
    bool PrepareCharacter(Role role, const CharacterPlan& plan) {
        if (!UseInstallation(role) || !SaveCharacter(plan)) return false;
        gClub.Reset();
        gClubActive = 1;
        if (!WriteQuickSave()) return false;
        const std::string path = installs_[role] + "/SAVE/QuickSave.QCP";
        const Bytes file = ReadBytes(path);
        // The slot byte, then the club's block (and what follows it), standing at room 0.
        if (file.size() < 21) return false;
        Bytes block(file.begin() + 1, file.end());
        SetClubField(block, "room", 0);
        SetClubField(block, "frame", Club::RoomFrame(0));
        block.insert(block.begin(), file[0]);
        const bool written = WriteBytes(path, block);
        // The saver noted the character in this process's registry file:
        // the machine's own one is written afresh.
        runners_[role].WriteRegistry(installs_[role]);
        return written;
    }

    // Both machines' characters, as PrepareCharacter makes them.
    bool PrepareBoth(const CharacterPlan& server, const CharacterPlan& client) {
        return PrepareCharacter(kServer, server) && PrepareCharacter(kClient, client);
    }

    // Character 1 of that machine read back into gProfile; false when its
    // file does not load.
    bool LoadCharacter(Role role) {
        if (!UseInstallation(role)) return false;
        gProfile = PlayerProfile();
        return LoadPlayerSave(1);
    }

    // Copies of each card of character 1 of that machine, read back into
    // gProfile; none when its file does not load (loaded, when given, tells).
    std::map<int16_t, int> Collection(Role role, bool* loaded = nullptr) {
        std::map<int16_t, int> counts;
        const bool ok = LoadCharacter(role);
        if (loaded != nullptr) *loaded = ok;
        if (!ok) return counts;
        for (int16_t id = 1; id <= GetCardCount(); ++id) {
            if (gProfile.GetCardCount(id) > 0) counts[id] = gProfile.GetCardCount(id);
        }
        return counts;
    }

    // A script of tests/scenarios/link/ with its "include <file>" lines
    // replaced by that file (relative to the script's folder).
    static std::string Script(const std::string& name) {
        std::vector<std::string> errors;
        const std::filesystem::path path = Folder() / name;
        return ExpandIncludes(ReadText(path), path.parent_path(), errors);
    }

    // Starts both programs with the pair of scripts <name>.server.script
    // and <name>.client.script; the client once the server's trace holds
    // clientAfter. False when the server never got there.
    bool Start(const std::string& name, const std::string& clientAfter = "multiplayer status WAITING for client.",
               int seconds = 60) {
        runners_[kServer].WriteScript(Script(name + ".server.script"));
        runners_[kClient].WriteScript(Script(name + ".client.script"));
        pids_[kServer] = runners_[kServer].Start();
        if (!WaitForTrace(kServer, clientAfter, seconds)) return false;
        pids_[kClient] = runners_[kClient].Start();
        return pids_[kClient] > 0;
    }

    // Waits up to seconds for a line of that program's trace to hold the text.
    bool WaitForTrace(Role role, const std::string& text, int seconds) {
        return runners_[role].WaitForTrace(text, seconds);
    }

    // How many lines of that program's trace, as written so far, hold the text.
    int TraceCount(Role role, const std::string& text) { return runners_[role].TraceCount(text); }

    // Ends that program at once, as a machine that is switched off.
    void Kill(Role role) {
        if (pids_[role] <= 0) return;
        ::kill(pids_[role], SIGKILL);
        ::waitpid(pids_[role], nullptr, 0);
        pids_[role] = -1;
    }

    // Waits for that program to end (killed after seconds).
    GameRun Wait(Role role, int seconds = 240) {
        const GameRun run = runners_[role].Wait(pids_[role], seconds);
        pids_[role] = -1;
        return run;
    }

    // Both programs' ends, and their stories for failure messages.
    struct BothRuns {
        GameRun server;
        GameRun client;
        std::string story;
    };
    BothRuns WaitBoth() {
        BothRuns runs{Wait(kServer), Wait(kClient), ""};
        runs.story = "server:\n" + Story(runs.server) + "client:\n" + Story(runs.client);
        return runs;
    }

    // The trace lines that tell what happened, for failure messages.
    static std::string Story(const GameRun& run, size_t lastLines = 80) {
        std::vector<std::string> kept;
        for (const std::string& line : run.trace) {
            if (line.find(" present ") == std::string::npos && line.find(" input ") == std::string::npos) {
                kept.push_back(line);
            }
        }
        std::string text;
        for (size_t i = kept.size() > lastLines ? kept.size() - lastLines : 0; i < kept.size(); ++i) {
            text += kept[i] + "\n";
        }
        return (run.timedOut ? "timed out\n" : "") + text;
    }

private:
    static std::filesystem::path Folder() {
        return std::filesystem::path(QV_SOURCE_DIR) / "tests" / "scenarios" / "link";
    }

    GameRunner runners_[2];
    std::string installs_[2];
    pid_t pids_[2] = {-1, -1};
};

}  // namespace qv::test
