// The infra-red link over the platform's stream sockets.
#include "infrared/ir_link.h"

namespace qv {
namespace {

// Six searches; each lasts a second, which is also the pause after it.
constexpr int kLastSearch = 5;
constexpr uint32_t kSearchMs = 1000;

}  // namespace

bool IrLink::Host(uint16_t seconds) {
    Close();
    platform::LinkSocket accepted = platform::LinkHost(seconds);
    if (accepted == platform::kNoLinkSocket) {
        return false;
    }
    socket_ = accepted;
    return true;
}

bool IrLink::Join() {
    Close();
    int count = 0;
    while (count <= kLastSearch) {
        platform::LinkDevice device;
        platform::LinkDiscovery found = platform::LinkDiscover(kSearchMs, &device);
        if (found == platform::LinkDiscovery::kFailed) {
            return false;
        }
        ++count;
        // A machine first seen by the sixth search is not used.
        if (found == platform::LinkDiscovery::kFound && count <= kLastSearch) {
            socket_ = platform::LinkConnect(device);
            return socket_ != platform::kNoLinkSocket;
        }
    }
    return false;
}

void IrLink::Close() {
    platform::LinkClose(socket_);
    socket_ = platform::kNoLinkSocket;
}

bool IrLink::Send(const uint8_t* bytes, int length) { return platform::LinkSend(socket_, bytes, length) == length; }

bool IrLink::Receive(uint8_t* buffer, int size, int& count) {
    int received = platform::LinkReceive(socket_, buffer, size);
    if (received < 0) {
        count = 0;
        return false;
    }
    count = received;
    return true;
}

int32_t IrLink::BytesAvailable() const { return platform::LinkBytesAvailable(socket_); }

bool IrLink::WaitReady(uint32_t ms) const { return platform::LinkWaitReady(socket_, ms); }

}  // namespace qv
