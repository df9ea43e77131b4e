// Discovery of a waiting host: datagram probes from the joining machine and
// the host's answers, standing in for the infra-red device search.
//
// Probe (14 bytes), joiner to the link port: "QVIR", 01, "IRServer", 00.
// Answer (16 bytes), host to the probe's sender: "QVIR", 02, "IRServer", 00,
// then the host's TCP port, low byte first.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/config.h"
#include "platform/link.h"
#include "platform/link_internal.h"
#include "platform/system.h"

namespace qv::platform {
namespace {

constexpr uint8_t kProbe = 1;
constexpr uint8_t kAnswer = 2;
constexpr size_t kProbeSize = 14;
constexpr size_t kAnswerSize = 16;

// "QVIR", the datagram's kind, then "IRServer" and its zero.
void WriteHeader(uint8_t* out, uint8_t kind) {
    std::memcpy(out, "QVIR", 4);
    out[4] = kind;
    std::memcpy(out + 5, "IRServer", 9);
}

bool HasHeader(const uint8_t* bytes, size_t size, uint8_t kind, size_t expected) {
    uint8_t header[kProbeSize];
    WriteHeader(header, kind);
    return size == expected && std::memcmp(bytes, header, kProbeSize) == 0;
}

void AddUnique(std::vector<uint32_t>* addresses, uint32_t address) {
    if (std::find(addresses->begin(), addresses->end(), address) == addresses->end()) {
        addresses->push_back(address);
    }
}

// The IPv4 address of a name or dotted address, host order; false when it
// has none.
bool Resolve(const std::string& name, uint32_t* address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    *address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return true;
}

// Where probes go: the named peers; without names, loopback (another
// instance on this machine), the limited broadcast and every interface's
// broadcast address.
std::vector<uint32_t> ProbeTargets() {
    std::vector<uint32_t> targets;
    const std::string& peers = GetConfig().irPeers;
    if (!peers.empty()) {
        size_t start = 0;
        while (start <= peers.size()) {
            size_t end = std::min(peers.find(',', start), peers.size());
            std::string name = peers.substr(start, end - start);
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t") + 1);
            uint32_t address = 0;
            if (!name.empty() && Resolve(name, &address)) {
                AddUnique(&targets, address);
            } else if (!name.empty()) {
                Trace("link", "unknown peer " + name);
            }
            start = end + 1;
        }
        return targets;
    }
    AddUnique(&targets, INADDR_LOOPBACK);
    AddUnique(&targets, INADDR_BROADCAST);
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) == 0) {
        for (ifaddrs* item = interfaces; item != nullptr; item = item->ifa_next) {
            if (item->ifa_addr == nullptr || item->ifa_addr->sa_family != AF_INET ||
                (item->ifa_flags & IFF_BROADCAST) == 0 || item->ifa_broadaddr == nullptr) {
                continue;
            }
            const auto* broadcast = reinterpret_cast<const sockaddr_in*>(item->ifa_broadaddr);
            AddUnique(&targets, ntohl(broadcast->sin_addr.s_addr));
        }
        ::freeifaddrs(interfaces);
    }
    return targets;
}

}  // namespace

int OpenDiscoveryAnswerer(uint16_t port) { return BoundLinkSocket(SOCK_DGRAM, port, false); }

void AnswerDiscoveryProbes(int datagramSocket, uint16_t port) {
    uint8_t answer[kAnswerSize];
    WriteHeader(answer, kAnswer);
    answer[14] = static_cast<uint8_t>(port & 0xFF);
    answer[15] = static_cast<uint8_t>(port >> 8);
    for (;;) {
        uint8_t probe[64];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        ssize_t got = ::recvfrom(datagramSocket, probe, sizeof probe, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return;
        }
        if (size == sizeof from && HasHeader(probe, static_cast<size_t>(got), kProbe, kProbeSize)) {
            ::sendto(datagramSocket, answer, sizeof answer, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&from),
                     sizeof from);
        }
    }
}

LinkDiscovery LinkDiscover(uint32_t ms, LinkDevice* device) {
    LinkClockCatchUp clock;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return LinkDiscovery::kFailed;
    }
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    uint8_t probe[kProbeSize];
    WriteHeader(probe, kProbe);
    uint16_t port = GetConfig().irPort;
    for (uint32_t target : ProbeTargets()) {
        const sockaddr_in to = LinkAddress(target, port);
        // A network that refuses a broadcast is no reason to stop.
        ::sendto(fd, probe, sizeof probe, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    Trace("link", "searching");
    // The round lasts its whole time whether or not someone answers: it is
    // also the pause between two searches. The first answer counts.
    bool found = false;
    LinkDeadline deadline(ScaledLinkMs(ms));
    for (;;) {
        int timeout = deadline.Remaining();
        if (timeout == 0) {
            break;
        }
        pollfd one{fd, POLLIN, 0};
        int ready = ::poll(&one, 1, timeout);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        uint8_t answer[64];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        ssize_t got = ::recvfrom(fd, answer, sizeof answer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (found || got < 0 || size != sizeof from ||
            !HasHeader(answer, static_cast<size_t>(got), kAnswer, kAnswerSize)) {
            continue;
        }
        uint16_t hostPort = static_cast<uint16_t>(answer[14] | (answer[15] << 8));
        if (hostPort == 0) {
            continue;
        }
        device->address = ntohl(from.sin_addr.s_addr);
        device->port = hostPort;
        found = true;
    }
    ::close(fd);
    return found ? LinkDiscovery::kFound : LinkDiscovery::kNothing;
}

}  // namespace qv::platform
