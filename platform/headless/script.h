// The headless input script: its parsed steps and the runner that plays
// them as virtual time passes and traced events happen.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"

namespace qv::platform::headless {

struct ScriptStep {
    enum class Kind {
        kWaitTrace,  // on <kind> <text>
        kDown,
        kMove,
        kUp,
        kKeyDown,
        kKeyUp,
        kFocusLost,
        kFocusGained,
        kClose,
        kQuit,
        kPost,
        kCapture,
        kUntil,   // until <kind> <text>: leaves its repeat block once such an event came
        kPause,   // carries the delay of a wait before or at the end of a repeat block
        kRepeat,  // repeat <count>: starts a block whose steps follow, up to its kEnd
        kEnd,     // end: back to the block's first step until it has run count times
    };
    Kind kind = Kind::kClose;
    int64_t at = -1;     // absolute virtual time, or -1
    uint64_t delay = 0;  // ms after the previous step ran
    int x = 0;
    int y = 0;
    int key = 0;         // virtual key
    uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    int code = 0;
    int64_t count = 0;  // kRepeat: how many times its block runs
    std::string traceKind;
    std::string text;    // trace text to wait for, or capture file
    int line = 0;        // script line it came from
    size_t jumpTo = 0;   // kUntil, kRepeat: the step after the block; kEnd: the block's first step
};

// No script has more steps than this (repeat blocks run in place: their
// rounds take no room).
inline constexpr size_t kMaxScriptSteps = 200000;

// Parses a whole script; lines that cannot be read are left out and
// described in errors ("<line>: <reason>").
std::vector<ScriptStep> ParseScript(const std::string& source, std::vector<std::string>* errors);

// The virtual key of a script key name (up down left right start a b c
// other), 0 for an unknown name.
int KeyForName(const std::string& name);

class ScriptRunner {
public:
    void Load(std::vector<ScriptStep> steps);
    // Runs every step whose time and condition have come.
    void Run(uint64_t now);
    // Records a traced event for the steps that wait on one.
    void NoteTrace(const std::string& kind, const std::string& text);
    // Whether some step still to run may wait for an event of the kind.
    bool WantsTrace(const char* kind) const;
    // Whether a step still to run (on or until) looks for a present;
    // withText tells whether one of them looks at the present's text.
    bool WaitsForPresent(bool* withText) const;
    bool Finished() const { return next_ >= steps_.size(); }

private:
    void Execute(const ScriptStep& step);
    // Whether an event the step looks for has come since the last one
    // matched; a match is used up.
    bool Matches(const ScriptStep& step);
    bool WaitsRemain() const;
    // The lowest step that may still run: the first of the outermost block
    // under way, else the next.
    size_t LowestToRun() const { return loops_.empty() ? next_ : loops_.front().first; }

    // A repeat block under way: its first step and the rounds still to run.
    struct Loop {
        size_t first;
        int64_t left;
    };

    std::vector<ScriptStep> steps_;
    size_t next_ = 0;
    uint64_t lastRun_ = 0;
    std::vector<Loop> loops_;
    // Only events that some on or until of the script looks for are kept,
    // and only those after the last one matched: the kinds and texts looked for.
    std::vector<std::pair<std::string, std::string>> wanted_;
    std::vector<std::string> wantedKinds_;  // the kinds of wanted_, once each
    std::vector<std::pair<std::string, std::string>> events_;
    size_t cursor_ = 0;
    bool running_ = false;
    // One past the last step that waits for any event, for a present, and
    // for a present with text (0 for none); set when the script is loaded.
    size_t waitsEnd_ = 0;
    size_t presentWaitsEnd_ = 0;
    size_t presentTextWaitsEnd_ = 0;
};

}  // namespace qv::platform::headless
