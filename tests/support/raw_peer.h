// The other machine of the link tests and fuzz targets at the socket level:
// a free port, the link's settings, raw message bytes and a peer that
// speaks plain TCP with bounded waits (no GoogleTest here).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/config.h"
#include "tests/support/files.h"

namespace qv::test {

// A port that is free for TCP and for datagrams right now.
inline uint16_t FreeLinkPort() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        int stream = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(stream, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(stream, reinterpret_cast<sockaddr*>(&address), &size);
        int datagram = ::socket(AF_INET, SOCK_DGRAM, 0);
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        bool free = ::bind(datagram, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        uint16_t port = ntohs(address.sin_port);
        ::close(datagram);
        ::close(stream);
        if (free && port != 0) {
            return port;
        }
    }
    return 0;
}

// Points the link at a fresh port, with its waits scaled and its discovery
// asking only the given peers (none: loopback and broadcast).
inline uint16_t UseLinkSettings(double timeScale, const char* peers = "127.0.0.1") {
    uint16_t port = FreeLinkPort();
    ::setenv("QUORVANE_IR_PORT", std::to_string(port).c_str(), 1);
    ::setenv("QUORVANE_IR_TIME_SCALE", std::to_string(timeScale).c_str(), 1);
    if (peers != nullptr) {
        ::setenv("QUORVANE_IR_PEER", peers, 1);
    } else {
        ::unsetenv("QUORVANE_IR_PEER");
    }
    platform::LoadConfig();
    return port;
}

inline constexpr uint8_t kFF = 0xFF;

// A message with 255 in every field it does not set, as a sender builds it.
inline Bytes Message(uint8_t kind, uint8_t p1 = kFF, uint8_t p2 = kFF, uint8_t p3 = kFF, uint8_t p4 = kFF,
                     int16_t value = -1, const std::string& text = "") {
    Bytes bytes = {static_cast<uint8_t>(9 + text.size()),    kind, p1, p2, p3, p4, static_cast<uint8_t>(value & 0xFF),
                   static_cast<uint8_t>((value >> 8) & 0xFF)};
    for (char c : text) bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(0);
    return bytes;
}

inline Bytes EchoOf(Bytes request) {
    if (request.size() > 1) request[1] = 9;
    return request;
}

inline int64_t MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// The other machine, played by the test with plain TCP calls.
class RawPeer {
public:
    RawPeer() = default;
    ~RawPeer() { Close(); }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    // Connects to 127.0.0.1:port, trying again for up to ms while the host
    // is not listening yet.
    bool Connect(uint16_t port, int ms = 5000) {
        auto start = std::chrono::steady_clock::now();
        while (MsSince(start) < ms) {
            fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(port);
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                return true;
            }
            Close();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    void Adopt(int fd) { fd_ = fd; }
    int Fd() const { return fd_; }

    bool Send(const Bytes& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }
    // Exactly count bytes, or what came before ms passed.
    Bytes Read(size_t count, int ms = 3000) {
        Bytes got;
        auto start = std::chrono::steady_clock::now();
        while (got.size() < count) {
            int left = ms - static_cast<int>(MsSince(start));
            pollfd one{fd_, POLLIN, 0};
            if (left <= 0 || ::poll(&one, 1, left) <= 0) {
                break;
            }
            uint8_t buffer[256];
            size_t want = std::min(sizeof buffer, count - got.size());
            ssize_t n = ::recv(fd_, buffer, want, 0);
            if (n <= 0) {
                break;
            }
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }
    // Whatever arrives within ms (nothing when the link stays quiet).
    Bytes ReadQuiet(int ms) { return Read(4096, ms); }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    // Closes with a reset instead of an orderly end, as a machine that
    // restarted would answer.
    void Reset() {
        linger hard{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        Close();
    }

private:
    int fd_ = -1;
};

// Hosts the link on the port with host() while a thread connects the raw
// peer to it; whether host() succeeded.
template <typename Host>
bool HostWithPeer(uint16_t port, RawPeer& peer, Host host) {
    std::thread joining([&] { peer.Connect(port); });
    const bool hosted = host();
    joining.join();
    return hosted;
}

// Starts body in a child process, which ends with body's result, or dies
// of its own watchdog after 15 s. Fork before starting threads: only the
// calling thread goes with it.
template <typename Body>
pid_t StartChild(Body body) {
    pid_t child = ::fork();
    if (child == 0) {
        ::alarm(15);
        ::_exit(body());
    }
    return child;
}

// The child's exit code, or -1 when it had to be killed after ms.
inline int WaitForChild(pid_t child, int ms) {
    auto start = std::chrono::steady_clock::now();
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (MsSince(start) > ms) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qv::test
