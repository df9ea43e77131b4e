// What the link's stream and discovery files share: the discovery datagrams
// and the clock of the link's real-time waits.
#pragma once

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

// The host's side of discovery: a non-blocking datagram socket on the port
// (-1 when it cannot be had), and answering every probe waiting on it.
int OpenDiscoveryAnswerer(uint16_t port);
void AnswerDiscoveryProbes(int datagramSocket, uint16_t port);

}  // namespace qv::platform
