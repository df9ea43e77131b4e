// The trace file: one line per event, written through at once.
#pragma once

#include <string>

namespace qv::platform {

// Starts a new trace in the file (truncated); an empty path turns tracing off.
void OpenTrace(const std::string& hostPath);
// Whether lines are being written.
bool TraceEnabled();

// Called for every traced event (the headless script waits on them) whose
// kind the filter, when there is one, wants; with no trace file, an event
// nobody wants costs nothing.
using TraceListener = void (*)(const std::string& kind, const std::string& text);
using TraceFilter = bool (*)(const char* kind);
void SetTraceListener(TraceListener listener, TraceFilter wants = nullptr);

}  // namespace qv::platform
