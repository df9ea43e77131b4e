// The trace file: "<ms> <kind> <text>" lines, each written with one write(2).
#include "platform/trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/backend.h"
#include "platform/system.h"
#include "platform/text.h"

namespace qv::platform {
namespace {

int gTraceFd = -1;
TraceListener gListener = nullptr;
TraceFilter gWants = nullptr;

void WriteAll(int fd, const std::string& line) {
    size_t done = 0;
    while (done < line.size()) {
        ssize_t n = ::write(fd, line.data() + done, line.size() - done);
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

}  // namespace

void OpenTrace(const std::string& hostPath) {
    if (gTraceFd >= 0) {
        ::close(gTraceFd);
        gTraceFd = -1;
    }
    if (hostPath.empty()) {
        return;
    }
    gTraceFd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (gTraceFd < 0) {
        std::fprintf(stderr, "Quorvane: cannot write the trace file %s\n", hostPath.c_str());
    }
}

bool TraceEnabled() { return gTraceFd >= 0; }

void SetTraceListener(TraceListener listener, TraceFilter wants) {
    gListener = listener;
    gWants = wants;
}

void Trace(const char* kind, const std::string& text) {
    if (kind == nullptr) {
        kind = "";
    }
    const bool listened = gListener != nullptr && (gWants == nullptr || gWants(kind));
    if (gTraceFd < 0 && !listened) {
        return;
    }
    std::string kindText = kind;
    std::string escaped = EscapeLine(text);
    if (gTraceFd >= 0) {
        std::string line = std::to_string(HasBackend() ? CurrentBackend().Now() : 0) + " " + kindText;
        if (!escaped.empty()) {
            line += " " + escaped;
        }
        line += "\n";
        WriteAll(gTraceFd, line);
    }
    if (listened) {
        gListener(kindText, escaped);
    }
}

}  // namespace qv::platform
