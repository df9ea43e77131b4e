// What the link's stream and discovery files share: the discovery datagrams,
// the clock of the link's real-time waits and the socket helpers.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>

#include <chrono>
#include <cstdint>

namespace qv::platform {

// A wait given in the game's milliseconds, scaled by QUORVANE_IR_TIME_SCALE
// (at least 1 ms; 0 stays 0, "without end").
uint32_t ScaledLinkMs(uint64_t ms);

// Measures the real time a blocking call of the link takes and lets the
// headless clock move on by it when the call ends.
class LinkClockCatchUp {
public:
    LinkClockCatchUp() : start_(std::chrono::steady_clock::now()) {}
    ~LinkClockCatchUp();
    LinkClockCatchUp(const LinkClockCatchUp&) = delete;
    LinkClockCatchUp& operator=(const LinkClockCatchUp&) = delete;

private:
    std::chrono::steady_clock::time_point start_;
};

// A deadline in real time: Remaining() gives the ms left for poll, -1 for a
// wait without end, 0 once it has passed.
class LinkDeadline {
public:
    explicit LinkDeadline(uint32_t ms);
    int Remaining() const;

private:
    bool endless_;
    std::chrono::steady_clock::time_point end_;
};

// An IPv4 address and port, both given in host order.
inline sockaddr_in LinkAddress(uint32_t hostOrderAddress, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(hostOrderAddress);
    return address;
}

// A non-blocking socket of the type (SOCK_STREAM or SOCK_DGRAM), closed on
// exec, bound to the port on every interface, with SO_REUSEADDR when asked;
// -1 when it cannot be had.
int BoundLinkSocket(int type, uint16_t port, bool reuseAddress);

// poll until a descriptor is ready or the deadline passes, polling again
// after an interruption: the count ready, 0 at the deadline, -1 on error.
int PollUntil(pollfd* fds, nfds_t count, const LinkDeadline& deadline);

// The host's side of discovery: a non-blocking datagram socket on the port
// (-1 when it cannot be had), and answering every probe waiting on it.
int OpenDiscoveryAnswerer(uint16_t port);
void AnswerDiscoveryProbes(int datagramSocket, uint16_t port);

}  // namespace qv::platform
