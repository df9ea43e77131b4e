// The one connection between two machines: host or join, then send and
// receive bytes. Every call blocks the program until the link answers.
#pragma once

#include <cstdint>

#include "platform/link.h"

namespace qv {

class IrLink {
public:
    IrLink() = default;
    // Destroying the object leaves the socket alone: its owner closes it.
    virtual ~IrLink() = default;
    IrLink(const IrLink&) = delete;
    IrLink& operator=(const IrLink&) = delete;

    // Waits up to seconds (0: no end) for another machine to join; true with
    // the connection kept. Closes any connection held before.
    bool Host(uint16_t seconds);
    // Searches six times, a second apart, for a waiting host and connects to
    // the first one found within the first five searches.
    bool Join();
    // Closes the connection; nothing when there is none.
    void Close();
    // One send; true when all length bytes went.
    bool Send(const uint8_t* bytes, int length);
    // One blocking read of at most size bytes; count := what came (0 when the
    // other side closed). False on a broken connection or without one.
    bool Receive(uint8_t* buffer, int size, int& count);
    // Bytes waiting to be read.
    int32_t BytesAvailable() const;
    // The liveness test, waiting at most ms for the connection to be usable.
    bool WaitReady(uint32_t ms) const;
    bool IsOpen() const { return socket_ != platform::kNoLinkSocket; }

private:
    platform::LinkSocket socket_ = platform::kNoLinkSocket;
};

}  // namespace qv
