// Start-up of the platform, the system message box, other applications and
// leaving the process.
#include "platform/system.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/backend.h"
#include "platform/display.h"
#include "platform/sound.h"
#include "platform/config.h"
#include "platform/internal.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace qv::platform {
namespace {

std::unique_ptr<Backend> gBackend;
bool gStarting = false;
bool gExitTraced = false;
bool gAtExitRegistered = false;

void FinishProcess(int code) {
    if (gExitTraced) {
        return;
    }
    gExitTraced = true;
    if (gBackend) {
        gBackend->Shutdown();
    }
    ReleaseInstance();
    Trace("exit", std::to_string(code));
}

// The process ends without ExitProcess only when main returns; the game's
// main then returns the code of the quit message (or 0 without one).
void AtExit() { FinishProcess(LastQuitCode()); }

// Runs the command detached: the grandchild is adopted by init, the child
// is reaped at once, so nothing is waited for and no zombie stays.
bool SpawnDetached(const std::string& command) {
    pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace

bool Startup() {
    gStarting = true;
    // A write past the file-size limit fails like one on a full disk, which
    // the saves report, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (gBackend) {
        GXCloseDisplay();
        CloseAudioOutput();
        gBackend->Shutdown();
        gBackend.reset();
    }
    ResetMessages();
    ReleaseInstance();
    LoadConfig();
    const Config& config = GetConfig();
    OpenTrace(config.trace);
    Backend* backend = nullptr;
    if (config.backend == "headless") {
        backend = CreateHeadlessBackend();
    } else if (config.backend == "sdl") {
        backend = CreateSdlBackend();
    } else {
        std::fprintf(stderr, "Quorvane: unknown QUORVANE_BACKEND \"%s\" (use sdl or headless)\n",
                     config.backend.c_str());
    }
    gStarting = false;
    if (backend == nullptr) {
        return false;
    }
    gBackend.reset(backend);
    gExitTraced = false;
    if (!gAtExitRegistered) {
        gAtExitRegistered = true;
        std::atexit(AtExit);
    }
    return true;
}

bool HasBackend() { return gBackend != nullptr; }

Backend& CurrentBackend() {
    if (!gBackend && !gStarting && !Startup()) {
        // No usable backend: carry on without devices rather than fail later.
        gBackend.reset(CreateHeadlessBackend());
    }
    if (!gBackend) {
        gBackend.reset(CreateHeadlessBackend());
    }
    return *gBackend;
}

int MessageBox(WindowHandle, const WString& text, const WString& caption, uint32_t flags) {
    std::string textUtf8 = ToUtf8(text);
    std::string captionUtf8 = ToUtf8(caption);
    int answer = CurrentBackend().MessageBox(textUtf8, captionUtf8, flags);
    char flagText[16];
    std::snprintf(flagText, sizeof flagText, "0x%X", flags);
    Trace("msgbox", "\"" + textUtf8 + "\" \"" + captionUtf8 + "\" " + flagText + " " + std::to_string(answer));
    return answer;
}

void ReportProblem(const std::string& text) {
    std::fprintf(stderr, "Quorvane: %s\n", text.c_str());
    std::fflush(stderr);
}

bool ShellExecute(const WString& file, int) {
    std::string name = ToUtf8(file);
    Trace("exec", name);
    const Config& config = GetConfig();
    std::string command;
    std::string lower = LowerAscii(name);
    if (lower == "\\windows\\addrbook.exe") {
        command = config.contactsCommand;
    } else if (lower == "\\windows\\calendar.exe") {
        command = config.calendarCommand;
    }
    return !command.empty() && SpawnDetached(command);
}

void ExitProcess(int code) {
    FinishProcess(code);
    std::exit(code);
}

}  // namespace qv::platform
