// The link to the other machine: TCP on loopback or the local network, in
// place of the handheld's infra-red stream sockets, with a small datagram
// discovery in place of the infra-red device search.
#pragma once

#include <cstdint>

namespace qv::platform {

// A connected stream, or kNoLinkSocket.
using LinkSocket = int;
inline constexpr LinkSocket kNoLinkSocket = -1;

// A machine that answered discovery: its IPv4 address (host order), which
// stands for the infra-red device id, and the port it listens on.
struct LinkDevice {
    uint32_t address = 0;
    uint16_t port = 0;
};

enum class LinkDiscovery { kFailed, kNothing, kFound };

// Every wait below runs in real time, scaled by QUORVANE_IR_TIME_SCALE; on
// the headless backend the virtual clock then moves on by the time spent.

// Listens on QUORVANE_IR_PORT (TCP) and answers discovery datagrams on the
// same UDP port until one peer connects or seconds pass (0: no end).
// Returns the connected socket, or kNoLinkSocket when the port is taken,
// nobody came in time or the wait failed. Nothing is left listening.
LinkSocket LinkHost(uint16_t seconds);

// One discovery round lasting ms: asks every address of QUORVANE_IR_PEER
// (a comma list), or else loopback and the broadcast addresses, whether a
// host waits, and keeps the first answer in *device. kFailed only when no
// datagram socket can be made (at once, without the wait).
LinkDiscovery LinkDiscover(uint32_t ms, LinkDevice* device);

// Connects to a device, giving up after a few seconds; kNoLinkSocket then.
LinkSocket LinkConnect(const LinkDevice& device);

// Closes the socket; nothing for kNoLinkSocket.
void LinkClose(LinkSocket socket);

// One send of length bytes, blocking until the system takes them: the count
// sent, or -1 on error. A closed peer never raises a signal.
int LinkSend(LinkSocket socket, const uint8_t* bytes, int length);

// Blocks until bytes arrive and reads at most size of them: the count, 0 when
// the peer closed, -1 on error. A peer that vanished without closing ends
// the wait with -1 within some seconds; a live but silent peer is waited
// for without end.
int LinkReceive(LinkSocket socket, uint8_t* buffer, int size);

// Bytes waiting to be read without blocking; 0 on error or without a socket.
int32_t LinkBytesAvailable(LinkSocket socket);

// The liveness test: true when the connection stands and can take data
// within ms (0: without end). False without a socket, when the peer closed
// and nothing is left to read, after a reset or a vanished peer, or when the
// connection cannot take data in time.
bool LinkWaitReady(LinkSocket socket, uint32_t ms);

}  // namespace qv::platform
