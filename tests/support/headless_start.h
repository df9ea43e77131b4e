// The headless platform started inside a test process, and its trace (no
// GoogleTest here: the scenario runner uses it too).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/system.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace qv::test {

// A variable set before the platform starts; an empty value removes it.
using EnvSetting = std::pair<std::string, std::string>;

// Every variable that changes how the headless platform behaves, but for
// the backend, the registry and the trace.
inline std::vector<EnvSetting> WithoutPlatformOptions() {
    std::vector<EnvSetting> unset;
    for (const char* name : {"QUORVANE_SCRIPT", "QUORVANE_PIXEL_FORMAT", "QUORVANE_OEM", "QUORVANE_CAPTURE",
                             "QUORVANE_TIME", "QUORVANE_TIME_LIMIT", "QUORVANE_AUDIO"}) {
        unset.emplace_back(name, "");
    }
    return unset;
}

// Starts (or starts again) the headless platform with its registry file and
// trace in the directory, after the extra settings; false when it failed.
inline bool StartHeadlessIn(const std::filesystem::path& dir, const std::vector<EnvSetting>& extra = {}) {
    ::setenv("QUORVANE_BACKEND", "headless", 1);
    ::setenv("QUORVANE_REGISTRY", (dir / "registry.txt").c_str(), 1);
    ::setenv("QUORVANE_TRACE", (dir / "trace.txt").c_str(), 1);
    for (const auto& [name, value] : extra) {
        if (value.empty()) {
            ::unsetenv(name.c_str());
        } else {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    return platform::Startup();
}

// The same once per process; later calls do nothing.
inline void StartHeadless(const std::filesystem::path& dir, const std::vector<EnvSetting>& extra = {}) {
    static bool started = false;
    if (started) return;
    started = true;
    StartHeadlessIn(dir, extra);
}

// The text of every trace line of this kind ("<ms> <kind> <text>").
inline std::vector<std::string> TraceOf(const std::filesystem::path& trace, const std::string& kind) {
    std::vector<std::string> texts;
    for (const std::string& line : ReadLines(trace)) {
        size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        std::string rest = line.substr(space + 1);
        if (rest == kind) {
            texts.push_back("");
        } else if (rest.rfind(kind + " ", 0) == 0) {
            texts.push_back(rest.substr(kind.size() + 1));
        }
    }
    return texts;
}

// How many frames have been presented so far, counted in the trace.
inline int CountPresents(const std::filesystem::path& trace) {
    return static_cast<int>(TraceOf(trace, "present").size());
}

}  // namespace qv::test
