// Start-up of the platform, the system message box, other applications,
// leaving the process and the trace.
#pragma once

#include "platform/types.h"

namespace qv::platform {

// Chooses the backend from QUORVANE_BACKEND ("sdl", default, or "headless")
// and reads the other QUORVANE_* settings. Call once before anything else
// (calling again starts afresh, for tests). False (with a message on
// stderr) when the backend cannot start. From then on a write past the
// host's file-size limit fails (files.h) instead of ending the process.
bool Startup();

// System message box flags and results.
enum : uint32_t {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ICONHAND = 0x10,  // also MB_ICONERROR
    MB_ICONERROR = 0x10,
};
enum : int { IDOK = 1, IDCANCEL = 2 };

// Blocks until answered (headless: traced and answered with the first
// button at once). Usable before the display is open and after it closes.
int MessageBox(WindowHandle owner, const WString& text, const WString& caption, uint32_t flags);

// Writes "Quorvane: <text>" as one line to standard error, for whoever
// started the program, where a message box cannot say enough.
void ReportProblem(const std::string& text);

// Starts another application without waiting; the result says only whether
// it could be started. "\windows\addrbook.exe" and "\windows\calendar.exe"
// run QUORVANE_CONTACTS_COMMAND and QUORVANE_CALENDAR_COMMAND when set.
bool ShellExecute(const WString& file, int showCommand);

// Ends the process with the code through the C library's exit, after the
// platform has flushed its trace.
[[noreturn]] void ExitProcess(int code);

// One line "<ms> <kind> <text>" in the trace file (QUORVANE_TRACE; nothing
// when it is not set). Newlines in text are escaped. See docs/headless.md.
void Trace(const char* kind, const std::string& text);

}  // namespace qv::platform
