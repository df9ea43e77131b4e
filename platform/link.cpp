// The link's TCP stream: hosting, connecting, sending, receiving and the
// liveness test.
#include "platform/link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/config.h"
#include "platform/headless/headless.h"
#include "platform/internal.h"
#include "platform/link_internal.h"
#include "platform/system.h"

namespace qv::platform {
namespace {

// Connecting gives up after this long (a host that answered discovery is
// either there at once or gone).
constexpr int kConnectTimeoutMs = 3000;
// A peer that vanishes without closing: after 2 s of silence the system
// probes once a second, and 5 s without an answer (or without an
// acknowledgement of sent data) breaks the connection. A live peer answers
// the probes itself, so a player who thinks for minutes is waited for.
constexpr int kKeepIdleSeconds = 2;
constexpr int kKeepIntervalSeconds = 1;
constexpr int kKeepCount = 3;
constexpr unsigned kUserTimeoutMs = 5000;
// A long wait for the other machine looks at the window this often.
constexpr int kWindowSliceMs = 50;

void SetStreamOptions(int fd) {
    int on = 1;
    int idle = kKeepIdleSeconds;
    int interval = kKeepIntervalSeconds;
    int count = kKeepCount;
    unsigned userTimeout = kUserTimeoutMs;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
}

bool SetBlocking(int fd, bool blocking) {
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) {
        return false;
    }
    flags = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, flags) == 0;
}

std::string AddressText(uint32_t address, uint16_t port) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", address >> 24, (address >> 16) & 255, (address >> 8) & 255,
                  address & 255, port);
    return text;
}

// A wait for the other machine keeps the window answering: what the host
// sent is taken in (taps and keys stay queued, for the flush that ends every
// receive), and closing the window takes the game's way out at once, as in
// its modal waits, instead of when the other machine speaks. The headless
// backend takes nothing in here, so scripts run as before.
void ServiceWindow() {
    CurrentBackend().WaitForEvents(0);
    PollInstanceRequests();
    TakeCloseDuringWait();
}

// poll until a descriptor is ready or the deadline passes, looking at the
// window between slices: the count ready, 0 at the deadline, -1 on error.
int PollServingWindow(pollfd* fds, nfds_t count, const LinkDeadline& deadline) {
    for (;;) {
        const int left = deadline.Remaining();
        const bool last = left >= 0 && left <= kWindowSliceMs;
        const int ready = ::poll(fds, count, last ? left : kWindowSliceMs);
        if (ready != 0 || last) {
            return ready;
        }
        ServiceWindow();
    }
}

// The listening socket on the link port, or -1.
int Listen(uint16_t port) {
    int fd = BoundLinkSocket(SOCK_STREAM, port, true);
    if (fd < 0) {
        return -1;
    }
    if (::listen(fd, 5) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

uint32_t ScaledLinkMs(uint64_t ms) {
    if (ms == 0) {
        return 0;
    }
    double scaled = std::round(static_cast<double>(ms) * GetConfig().irTimeScale);
    return scaled < 1 ? 1u : static_cast<uint32_t>(std::fmin(scaled, 4.0e9));
}

LinkClockCatchUp::~LinkClockCatchUp() {
    auto spent = std::chrono::steady_clock::now() - start_;
    headless::AdvanceTime(static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count()));
}

LinkDeadline::LinkDeadline(uint32_t ms)
    : endless_(ms == 0), end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}

int LinkDeadline::Remaining() const {
    if (endless_) {
        return -1;
    }
    // Rounded up, so that a wait never ends before its time.
    auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

int BoundLinkSocket(int type, uint16_t port, bool reuseAddress) {
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return -1;
    }
    if (reuseAddress) {
        int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    sockaddr_in address = LinkAddress(INADDR_ANY, port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int PollUntil(pollfd* fds, nfds_t count, const LinkDeadline& deadline) {
    int ready = 0;
    do {
        ready = ::poll(fds, count, deadline.Remaining());
    } while (ready < 0 && errno == EINTR);
    return ready;
}

LinkSocket LinkHost(uint16_t seconds) {
    LinkClockCatchUp clock;
    uint16_t port = GetConfig().irPort;
    int listener = Listen(port);
    if (listener < 0) {
        Trace("link", "cannot listen on port " + std::to_string(port));
        return kNoLinkSocket;
    }
    int datagrams = OpenDiscoveryAnswerer(port);
    if (datagrams < 0) {
        ::close(listener);
        Trace("link", "cannot answer discovery on port " + std::to_string(port));
        return kNoLinkSocket;
    }
    Trace("link", "waiting on port " + std::to_string(port));
    LinkDeadline deadline(ScaledLinkMs(uint64_t{seconds} * 1000));
    LinkSocket result = kNoLinkSocket;
    for (;;) {
        int timeout = deadline.Remaining();
        if (timeout == 0) {
            break;
        }
        pollfd fds[2] = {{listener, POLLIN, 0}, {datagrams, POLLIN, 0}};
        int ready = PollServingWindow(fds, 2, deadline);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            AnswerDiscoveryProbes(datagrams, port);
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            break;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            continue;
        }
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
        if (fd >= 0) {
            SetStreamOptions(fd);
            result = fd;
            Trace("link", "accepted " + AddressText(ntohl(peer.sin_addr.s_addr), ntohs(peer.sin_port)));
            break;
        }
        // A peer that gave up between the poll and the accept: wait on.
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED && errno != EINTR && errno != EPROTO) {
            break;
        }
    }
    ::close(datagrams);
    ::close(listener);
    if (result == kNoLinkSocket) {
        Trace("link", "nobody came");
    }
    return result;
}

LinkSocket LinkConnect(const LinkDevice& device) {
    LinkClockCatchUp clock;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return kNoLinkSocket;
    }
    sockaddr_in address = LinkAddress(device.address, device.port);
    bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (!connected && (errno == EINPROGRESS || errno == EINTR)) {
        LinkDeadline deadline(kConnectTimeoutMs);
        pollfd one{fd, POLLOUT, 0};
        int ready = PollUntil(&one, 1, deadline);
        int error = 0;
        socklen_t size = sizeof error;
        connected = ready > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    std::string where = AddressText(device.address, device.port);
    if (!connected || !SetBlocking(fd, true)) {
        ::close(fd);
        Trace("link", "cannot connect to " + where);
        return kNoLinkSocket;
    }
    SetStreamOptions(fd);
    Trace("link", "connected to " + where);
    return fd;
}

void LinkClose(LinkSocket socket) {
    if (socket != kNoLinkSocket) {
        ::close(socket);
    }
}

int LinkSend(LinkSocket socket, const uint8_t* bytes, int length) {
    if (socket == kNoLinkSocket || length < 0) {
        return -1;
    }
    LinkClockCatchUp clock;
    for (;;) {
        ssize_t sent = ::send(socket, bytes, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        return static_cast<int>(sent);
    }
}

int LinkReceive(LinkSocket socket, uint8_t* buffer, int size) {
    if (socket == kNoLinkSocket || size <= 0) {
        return -1;
    }
    LinkClockCatchUp clock;
    const LinkDeadline endless(0);
    // Where the game waits for the other machine: a peer played inside the
    // same process sends its next message on this line.
    if (LinkBytesAvailable(socket) == 0) {
        Trace("link", "waiting for data");
    }
    for (;;) {
        // Readable also means closed, reset or broken: recv then says which.
        pollfd one{socket, POLLIN, 0};
        const int ready = PollServingWindow(&one, 1, endless);
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (ready <= 0) {
            continue;
        }
        ssize_t received = ::recv(socket, buffer, static_cast<size_t>(size), 0);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        return static_cast<int>(received);
    }
}

int32_t LinkBytesAvailable(LinkSocket socket) {
    int count = 0;
    if (socket == kNoLinkSocket || ::ioctl(socket, FIONREAD, &count) != 0 || count < 0) {
        return 0;
    }
    return count;
}

bool LinkWaitReady(LinkSocket socket, uint32_t ms) {
    if (socket == kNoLinkSocket) {
        return false;
    }
    LinkClockCatchUp clock;
    LinkDeadline deadline(ScaledLinkMs(ms));
    pollfd one{socket, POLLIN | POLLOUT | POLLRDHUP, 0};
    int ready = PollUntil(&one, 1, deadline);
    if (ready <= 0 || (one.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        return false;
    }
    const int32_t waiting = LinkBytesAvailable(socket);
    // End of stream shows as readable with nothing to read: the peer closed.
    if ((one.revents & (POLLIN | POLLRDHUP)) != 0 && waiting == 0) {
        return false;
    }
    return (one.revents & POLLOUT) != 0 || waiting > 0;
}

}  // namespace qv::platform
