// Single instance across processes: a lock file beside the registry file
// marks the running instance, and a FIFO beside it carries raise requests.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/backend.h"
#include "platform/config.h"
#include "platform/internal.h"
#include "platform/system.h"

namespace qv::platform {

namespace {

int gLockFd = -1;
int gFifoFd = -1;
std::string gFifoPath;
uint64_t gLastPoll = 0;

std::string LockPath() { return RegistryFilePath() + ".lock"; }
std::string FifoPath() { return RegistryFilePath() + ".fifo"; }

int OpenFifoForReading(const std::string& path) {
    if (::mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST) {
        return -1;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

}  // namespace

void ClaimInstance() {
    if (gLockFd >= 0) {
        return;
    }
    std::string lockPath = LockPath();
    MakeParentDirectories(lockPath);
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);  // another instance won the race; run without the lock
        return;
    }
    gLockFd = fd;
    gFifoPath = FifoPath();
    gFifoFd = OpenFifoForReading(gFifoPath);
}

bool OtherInstanceRunning() {
    if (gLockFd >= 0) {
        return false;
    }
    int fd = ::open(LockPath().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool running = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return running;
}

void RequestOtherInstanceForeground() {
    int fd = ::open(FifoPath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        static const char kRequest[] = "raise\n";
        ssize_t written = ::write(fd, kRequest, sizeof kRequest - 1);
        (void)written;
        ::close(fd);
    }
    Trace("foreground", "sent");
}

void PollInstanceRequests() {
    if (gFifoFd < 0) {
        return;
    }
    uint64_t now = CurrentBackend().Now();
    if (now - gLastPoll < 50 && now >= gLastPoll) {
        return;
    }
    gLastPoll = now;
    char buffer[64];
    bool requested = false;
    while (::read(gFifoFd, buffer, sizeof buffer) > 0) {
        requested = true;
    }
    if (requested) {
        Trace("foreground", "request");
        CurrentBackend().Raise();
    }
}

void ReleaseInstance() {
    if (gFifoFd >= 0) {
        ::close(gFifoFd);
        ::unlink(gFifoPath.c_str());
        gFifoFd = -1;
    }
    if (gLockFd >= 0) {
        ::close(gLockFd);
        gLockFd = -1;
    }
}

}  // namespace qv::platform
