// The headless input script: parsing and playing its steps.
#include "platform/headless/script.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/backend.h"
#include "platform/internal.h"
#include "platform/keys.h"
#include "platform/system.h"
#include "platform/trace.h"

namespace qv::platform::headless {
namespace {

constexpr uint64_t kPressMs = 50;   // between down and up of a tap or key press
constexpr uint64_t kDragStepMs = 16;
constexpr int kDefaultDragSteps = 8;

bool ParseInteger(const std::string& text, int64_t* out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 0);
    if (end == nullptr || *end != '\0') {
        return false;
    }
    *out = value;
    return true;
}

int Clamp(int64_t value, int high) {
    return value < 0 ? 0 : value > high ? high : static_cast<int>(value);
}

struct Parser {
    std::vector<ScriptStep>* steps;
    uint64_t pendingDelay = 0;
    int line = 0;
    // Open repeat blocks: the repeat count, where its kRepeat step stands
    // and its line.
    struct Block {
        int64_t count;
        size_t first;
        int line;
    };
    std::vector<Block> blocks = {};

    // Closes the innermost block with its kEnd step; its own until steps
    // jump past it. A block that runs 0 times is left out.
    bool EndBlock(std::string* error) {
        if (blocks.empty()) {
            *error = "end without repeat";
            return false;
        }
        if (pendingDelay > 0) {
            // A wait that ends the body belongs to every round.
            ScriptStep pause;
            pause.kind = ScriptStep::Kind::kPause;
            Add(pause, -1);
        }
        const Block block = blocks.back();
        blocks.pop_back();
        if (block.count == 0) {
            steps->resize(block.first);
            return true;
        }
        ScriptStep end;
        end.kind = ScriptStep::Kind::kEnd;
        end.jumpTo = block.first + 1;
        Add(end, -1);
        const size_t after = steps->size();
        (*steps)[block.first].jumpTo = after;
        for (size_t i = block.first + 1; i + 1 < after; ++i) {
            ScriptStep& step = (*steps)[i];
            // Those of inner blocks already jump past their own block.
            if (step.kind == ScriptStep::Kind::kUntil && step.jumpTo == 0) step.jumpTo = after;
        }
        return true;
    }

    void Add(ScriptStep step, int64_t at) {
        step.line = line;
        step.at = at;
        step.delay = pendingDelay;
        pendingDelay = 0;
        steps->push_back(step);
    }

    // A step that follows the previous one of the same command after ms.
    void Then(ScriptStep step, uint64_t ms) {
        step.line = line;
        step.delay = ms;
        steps->push_back(step);
    }

    bool Point(const std::vector<std::string>& words, size_t index, int* x, int* y) {
        int64_t px = 0;
        int64_t py = 0;
        if (index + 1 >= words.size() || !ParseInteger(words[index], &px) || !ParseInteger(words[index + 1], &py)) {
            return false;
        }
        *x = Clamp(px, kScreenWidth - 1);
        *y = Clamp(py, kScreenHeight - 1);
        return true;
    }

    // One command (without "at"); false with a reason when it cannot be read.
    bool Command(const std::vector<std::string>& words, const std::string& rest, int64_t at, std::string* error) {
        const std::string& name = words[0];
        ScriptStep step;
        if (name == "wait") {
            int64_t ms = 0;
            if (words.size() != 2 || !ParseInteger(words[1], &ms) || ms < 0 || at >= 0) {
                *error = "wait <ms>";
                return false;
            }
            pendingDelay += static_cast<uint64_t>(ms);
            return true;
        }
        if (name == "repeat") {
            int64_t count = 0;
            if (words.size() != 2 || !ParseInteger(words[1], &count) || count < 0 || count > 100000 || at >= 0) {
                *error = "repeat <count>";
                return false;
            }
            if (pendingDelay > 0) {
                // A wait before the block is not part of its first round only.
                ScriptStep pause;
                pause.kind = ScriptStep::Kind::kPause;
                Add(pause, -1);
            }
            blocks.push_back({count, steps->size(), line});
            step.kind = ScriptStep::Kind::kRepeat;
            step.count = count;
            Add(step, -1);
            return true;
        }
        if (name == "end") {
            if (words.size() != 1 || at >= 0) {
                *error = "end";
                return false;
            }
            return EndBlock(error);
        }
        if (name == "on" || name == "until") {
            if (name == "until" && (blocks.empty() || words.size() < 2)) {
                *error = "until <kind> [text] inside repeat";
                return false;
            }
            if (words.size() < 2) {
                *error = "on <kind> [text]";
                return false;
            }
            step.kind = name == "on" ? ScriptStep::Kind::kWaitTrace : ScriptStep::Kind::kUntil;
            step.traceKind = words[1];
            size_t kindAt = rest.find(words[1], name.size());
            std::string text = rest.substr(kindAt + words[1].size());
            size_t begin = text.find_first_not_of(" \t");
            step.text = begin == std::string::npos ? std::string() : text.substr(begin);
            Add(step, at);
            return true;
        }
        if (name == "up" && words.size() == 2 && words[1] == "outside") {
            // Let go outside the window, as the window backend reports it.
            step.kind = ScriptStep::Kind::kUp;
            step.x = kStylusOutside;
            step.y = kStylusOutside;
            Add(step, at);
            return true;
        }
        if (name == "down" || name == "move" || name == "up" || name == "tap") {
            if (words.size() != 3 || !Point(words, 1, &step.x, &step.y)) {
                *error = name == "up" ? "up <x> <y> | up outside" : name + " <x> <y>";
                return false;
            }
            step.kind = name == "move" ? ScriptStep::Kind::kMove
                      : name == "up"   ? ScriptStep::Kind::kUp
                                       : ScriptStep::Kind::kDown;
            Add(step, at);
            if (name == "tap") {
                step.kind = ScriptStep::Kind::kUp;
                Then(step, kPressMs);
            }
            return true;
        }
        if (name == "drag") {
            int x2 = 0;
            int y2 = 0;
            int64_t count = kDefaultDragSteps;
            if ((words.size() != 5 && words.size() != 6) || !Point(words, 1, &step.x, &step.y) ||
                !Point(words, 3, &x2, &y2) || (words.size() == 6 && (!ParseInteger(words[5], &count) || count < 1 || count > 1000))) {
                *error = "drag <x1> <y1> <x2> <y2> [steps]";
                return false;
            }
            int x1 = step.x;
            int y1 = step.y;
            step.kind = ScriptStep::Kind::kDown;
            Add(step, at);
            for (int64_t i = 1; i <= count; ++i) {
                step.kind = ScriptStep::Kind::kMove;
                step.x = static_cast<int>(x1 + (x2 - x1) * i / count);
                step.y = static_cast<int>(y1 + (y2 - y1) * i / count);
                Then(step, kDragStepMs);
            }
            step.kind = ScriptStep::Kind::kUp;
            Then(step, kDragStepMs);
            return true;
        }
        if (name == "key") {
            if (words.size() != 3 || KeyForName(words[1]) == 0 ||
                (words[2] != "down" && words[2] != "up" && words[2] != "press")) {
                *error = "key <up|down|left|right|start|a|b|c|other> <down|up|press>";
                return false;
            }
            step.key = KeyForName(words[1]);
            step.text = words[1];
            step.kind = words[2] == "up" ? ScriptStep::Kind::kKeyUp : ScriptStep::Kind::kKeyDown;
            Add(step, at);
            if (words[2] == "press") {
                step.kind = ScriptStep::Kind::kKeyUp;
                Then(step, kPressMs);
            }
            return true;
        }
        if (name == "focus") {
            if (words.size() != 2 || (words[1] != "lost" && words[1] != "gained")) {
                *error = "focus lost|gained";
                return false;
            }
            step.kind = words[1] == "lost" ? ScriptStep::Kind::kFocusLost : ScriptStep::Kind::kFocusGained;
            Add(step, at);
            return true;
        }
        if (name == "close") {
            if (words.size() != 1) {
                *error = "close";
                return false;
            }
            step.kind = ScriptStep::Kind::kClose;
            Add(step, at);
            return true;
        }
        if (name == "quit") {
            int64_t code = 0;
            if (words.size() > 2 || (words.size() == 2 && !ParseInteger(words[1], &code))) {
                *error = "quit [code]";
                return false;
            }
            step.kind = ScriptStep::Kind::kQuit;
            step.code = static_cast<int>(code);
            Add(step, at);
            return true;
        }
        if (name == "post") {
            int64_t message = 0;
            int64_t wParam = 0;
            int64_t lParam = 0;
            if (words.size() != 4 || !ParseInteger(words[1], &message) || !ParseInteger(words[2], &wParam) ||
                !ParseInteger(words[3], &lParam)) {
                *error = "post <message> <wParam> <lParam>";
                return false;
            }
            step.kind = ScriptStep::Kind::kPost;
            step.message = static_cast<uint32_t>(message);
            step.wParam = static_cast<WParam>(wParam);
            step.lParam = static_cast<LParam>(lParam);
            Add(step, at);
            return true;
        }
        if (name == "capture") {
            if (words.size() != 2) {
                *error = "capture <file.png>";
                return false;
            }
            step.kind = ScriptStep::Kind::kCapture;
            step.text = words[1];
            Add(step, at);
            return true;
        }
        *error = "unknown command \"" + name + "\"";
        return false;
    }
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

int KeyForName(const std::string& name) {
    if (name == "up") return kVkUp;
    if (name == "down") return kVkDown;
    if (name == "left") return kVkLeft;
    if (name == "right") return kVkRight;
    if (name == "start") return kVkStart;
    if (name == "a") return kVkA;
    if (name == "b") return kVkB;
    if (name == "c") return kVkC;
    if (name == "other") return kVkOther;
    return 0;
}

std::vector<ScriptStep> ParseScript(const std::string& source, std::vector<std::string>* errors) {
    std::vector<ScriptStep> steps;
    Parser parser{&steps};
    std::istringstream stream(source);
    std::string text;
    while (std::getline(stream, text)) {
        ++parser.line;
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        std::vector<std::string> words = Words(text);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        int64_t at = -1;
        std::string rest = text.substr(text.find(words[0]));
        std::string error;
        if (words[0] == "at") {
            if (words.size() < 3 || !ParseInteger(words[1], &at) || at < 0) {
                error = "at <ms> <command>";
            } else {
                rest = rest.substr(rest.find(words[1], 2) + words[1].size());
                rest = rest.substr(rest.find(words[2]));
                words.erase(words.begin(), words.begin() + 2);
            }
        }
        size_t before = steps.size();
        if (error.empty() && !parser.Command(words, rest, at, &error) && steps.size() > before) {
            steps.resize(before);
        }
        if (error.empty() && steps.size() > kMaxScriptSteps) {
            steps.resize(before);
            error = "script too long";
        }
        if (!error.empty() && errors != nullptr) {
            errors->push_back(std::to_string(parser.line) + ": " + error);
        }
    }
    // A block left open ends with the script; its line is reported as a
    // repeat without end.
    while (!parser.blocks.empty()) {
        std::string error;
        const int line = parser.blocks.back().line;
        parser.EndBlock(&error);
        if (errors != nullptr) errors->push_back(std::to_string(line) + ": repeat without end");
    }
    return steps;
}

void ScriptRunner::Load(std::vector<ScriptStep> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    lastRun_ = 0;
    loops_.clear();
    wanted_.clear();
    wantedKinds_.clear();
    events_.clear();
    cursor_ = 0;
    // A step still to run has an index of at least next_, so "some step from
    // next_ on waits" is "next_ is below the end of the last such step".
    waitsEnd_ = 0;
    presentWaitsEnd_ = 0;
    presentTextWaitsEnd_ = 0;
    for (size_t i = 0; i < steps_.size(); ++i) {
        const ScriptStep& step = steps_[i];
        if (step.kind == ScriptStep::Kind::kWaitTrace || step.kind == ScriptStep::Kind::kUntil) {
            waitsEnd_ = i + 1;
            std::pair<std::string, std::string> looked{step.traceKind, step.text};
            if (std::find(wanted_.begin(), wanted_.end(), looked) == wanted_.end()) wanted_.push_back(looked);
            if (std::find(wantedKinds_.begin(), wantedKinds_.end(), step.traceKind) == wantedKinds_.end()) {
                wantedKinds_.push_back(step.traceKind);
            }
        }
        if ((step.kind == ScriptStep::Kind::kWaitTrace || step.kind == ScriptStep::Kind::kUntil) &&
            step.traceKind == "present") {
            presentWaitsEnd_ = i + 1;
            if (!step.text.empty()) presentTextWaitsEnd_ = i + 1;
        }
    }
}

bool ScriptRunner::WaitsRemain() const { return LowestToRun() < waitsEnd_; }

bool ScriptRunner::WaitsForPresent(bool* withText) const {
    *withText = LowestToRun() < presentTextWaitsEnd_;
    return LowestToRun() < presentWaitsEnd_;
}

bool ScriptRunner::WantsTrace(const char* kind) const {
    if (!WaitsRemain()) {
        return false;
    }
    for (const std::string& wanted : wantedKinds_) {
        if (std::strcmp(wanted.c_str(), kind) == 0) {
            return true;
        }
    }
    return false;
}

void ScriptRunner::NoteTrace(const std::string& kind, const std::string& text) {
    if (!WaitsRemain()) {
        return;
    }
    for (const auto& [wantedKind, wantedText] : wanted_) {
        if (kind == wantedKind && text.find(wantedText) != std::string::npos) {
            events_.emplace_back(kind, text);
            return;
        }
    }
}

bool ScriptRunner::Matches(const ScriptStep& step) {
    for (size_t i = cursor_; i < events_.size(); ++i) {
        if (events_[i].first == step.traceKind && events_[i].second.find(step.text) != std::string::npos) {
            cursor_ = i + 1;
            return true;
        }
    }
    return false;
}

void ScriptRunner::Run(uint64_t now) {
    if (running_) {
        return;
    }
    running_ = true;
    while (next_ < steps_.size()) {
        const ScriptStep& step = steps_[next_];
        if ((step.at >= 0 && now < static_cast<uint64_t>(step.at)) || now < lastRun_ + step.delay) {
            break;
        }
        if (step.kind == ScriptStep::Kind::kWaitTrace && !Matches(step)) {
            break;
        }
        ScriptStep current = step;
        ++next_;
        // The block steps take no time of their own: the delays count from
        // the last step that ran.
        if (current.kind == ScriptStep::Kind::kRepeat) {
            loops_.push_back({next_, current.count});
            continue;
        }
        if (current.kind == ScriptStep::Kind::kEnd) {
            if (!loops_.empty() && --loops_.back().left > 0) {
                next_ = std::min(current.jumpTo, steps_.size());
            } else if (!loops_.empty()) {
                loops_.pop_back();
            }
            continue;
        }
        lastRun_ = now;
        if (current.kind == ScriptStep::Kind::kUntil && Matches(current)) {
            if (!loops_.empty()) loops_.pop_back();
            next_ = std::min(current.jumpTo, steps_.size());
            continue;
        }
        Execute(current);
    }
    // What is before the last match is never looked at again.
    if (cursor_ > 0 && cursor_ * 2 >= events_.size()) {
        events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(cursor_));
        cursor_ = 0;
    }
    running_ = false;
}

void ScriptRunner::Execute(const ScriptStep& step) {
    // The input lines are made only for a trace file or a step that waits
    // for them: a scripted turn sends hundreds of inputs in one frame.
    const bool traced = TraceEnabled() || WantsTrace("input");
    auto note = [&](const char* what, bool withPlace) {
        if (traced) {
            Trace("input", withPlace ? std::string(what) + " " + std::to_string(step.x) + " " + std::to_string(step.y)
                                     : std::string(what));
        }
    };
    switch (step.kind) {
    case ScriptStep::Kind::kWaitTrace:
    case ScriptStep::Kind::kUntil:
    case ScriptStep::Kind::kPause:
    case ScriptStep::Kind::kRepeat:
    case ScriptStep::Kind::kEnd: break;
    case ScriptStep::Kind::kDown:
        note("down", true);
        PostInput(WM_LBUTTONDOWN, 1, MakeLParam(step.x, step.y));
        break;
    case ScriptStep::Kind::kMove:
        note("move", true);
        PostInput(WM_MOUSEMOVE, 1, MakeLParam(step.x, step.y));
        break;
    case ScriptStep::Kind::kUp:
        note(step.x == kStylusOutside ? "up outside" : "up", step.x != kStylusOutside);
        PostInput(WM_LBUTTONUP, 0, MakeLParam(step.x, step.y));
        break;
    case ScriptStep::Kind::kKeyDown:
        if (traced) Trace("input", "key " + step.text + " down");
        PostInput(WM_KEYDOWN, static_cast<WParam>(step.key), 1);
        break;
    case ScriptStep::Kind::kKeyUp:
        if (traced) Trace("input", "key " + step.text + " up");
        PostInput(WM_KEYUP, static_cast<WParam>(step.key), 1);
        break;
    case ScriptStep::Kind::kFocusLost:
        note("focus lost", false);
        PostInput(WM_ACTIVATE, 0, 0);
        PostInput(WM_KILLFOCUS, 0, 0);
        break;
    case ScriptStep::Kind::kFocusGained:
        note("focus gained", false);
        PostInput(WM_ACTIVATE, 1, 0);
        PostInput(WM_SETFOCUS, 0, 0);
        break;
    case ScriptStep::Kind::kClose:
        note("close", false);
        PostInput(WM_CLOSE, 0, 0);
        break;
    case ScriptStep::Kind::kQuit:
        if (traced) Trace("input", "quit " + std::to_string(step.code));
        PostQuitMessage(step.code);
        break;
    case ScriptStep::Kind::kPost:
        if (traced) Trace("input", "post " + std::to_string(step.message));
        PostMessage(nullptr, step.message, step.wParam, step.lParam);
        break;
    case ScriptStep::Kind::kCapture:
        CurrentBackend().CaptureLastFrame(step.text);
        break;
    }
}

}  // namespace qv::platform::headless
