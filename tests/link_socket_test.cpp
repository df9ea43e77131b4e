// The link over real sockets on loopback: hosting, joining, discovery and
// the liveness test on healthy, closed, reset and vanished peers.
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "infrared/ir_link.h"
#include "platform/link.h"
#include "platform/trace.h"
#include "tests/support/link_peer.h"

namespace qv {
namespace {

using test::Bytes;
using test::LinkTest;
using test::MsSince;
using test::RawPeer;

// Runs a host in a thread while the body joins; gives the host's result.
class HostThread {
public:
    HostThread(IrLink& link, uint16_t seconds) : thread_([&link, seconds, this] { result_ = link.Host(seconds); }) {}
    bool Wait() {
        thread_.join();
        return result_;
    }

private:
    std::atomic<bool> result_{false};
    std::thread thread_;
};

TEST_F(LinkTest, HostAndJoinConnectAndCarryBytesBothWays) {
    // No peer named: the joiner asks loopback and the broadcast addresses.
    test::UseLinkSettings(0.1, nullptr);
    IrLink host;
    IrLink joiner;
    HostThread hosting(host, 20);
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(joiner.Join());
    ASSERT_TRUE(hosting.Wait());
    // Found by the first or second search, each 100 ms at this scale.
    EXPECT_LT(MsSince(start), 1000);

    const uint8_t hello[] = {9, 10, 255, 255, 255, 255, 255, 255, 0};
    ASSERT_TRUE(joiner.Send(hello, sizeof hello));
    ASSERT_TRUE(joiner.WaitReady(500));
    // Give loopback a moment to deliver before looking at what waits.
    for (int i = 0; i < 100 && host.BytesAvailable() < 9; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(host.BytesAvailable(), 9);
    uint8_t buffer[100];
    int count = -1;
    ASSERT_TRUE(host.Receive(buffer, 100, count));
    EXPECT_EQ(Bytes(buffer, buffer + count), Bytes(hello, hello + 9));
    ASSERT_TRUE(host.Send(buffer, 3));
    ASSERT_TRUE(joiner.Receive(buffer, 100, count));
    EXPECT_EQ(count, 3);

    host.Close();
    joiner.Close();
    EXPECT_FALSE(host.IsOpen());
    EXPECT_FALSE(host.WaitReady(500));
}

TEST_F(LinkTest, JoinWithNobodySearchesSixTimesThenFails) {
    test::UseLinkSettings(0.05);
    IrLink joiner;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(joiner.Join());
    int64_t spent = MsSince(start);
    // Six searches of 50 ms each, every one waited out.
    EXPECT_GE(spent, 300);
    EXPECT_LT(spent, 2000);
    EXPECT_FALSE(joiner.IsOpen());
}

TEST_F(LinkTest, HostWithNobodyGivesUpAndLeavesNothingListening) {
    uint16_t port = test::UseLinkSettings(0.01);
    IrLink host;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(host.Host(20));  // 200 ms at this scale
    EXPECT_GE(MsSince(start), 190);
    EXPECT_FALSE(host.IsOpen());
    RawPeer late;
    EXPECT_FALSE(late.Connect(port, 100));
}

TEST_F(LinkTest, HostFailsAtOnceWhenAnotherHostHasThePort) {
    uint16_t port = test::UseLinkSettings(1.0);
    int taken = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(taken, 1), 0);
    IrLink host;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(host.Host(20));
    EXPECT_LT(MsSince(start), 1000);
    ::close(taken);
}

TEST_F(LinkTest, DiscoveryAnswersOnlyItsOwnProbe) {
    uint16_t port = test::UseLinkSettings(0.2);
    IrLink host;
    HostThread hosting(host, 20);
    int probe = ::socket(AF_INET, SOCK_DGRAM, 0);
    timeval wait{0, 150000};
    ::setsockopt(probe, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto ask = [&](const Bytes& datagram) {
        ::sendto(probe, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        uint8_t answer[64];
        ssize_t n = ::recv(probe, answer, sizeof answer, 0);
        return n < 0 ? Bytes() : Bytes(answer, answer + n);
    };
    const Bytes good = {'Q', 'V', 'I', 'R', 1, 'I', 'R', 'S', 'e', 'r', 'v', 'e', 'r', 0};
    Bytes answer;
    for (int i = 0; i < 20 && answer.empty(); ++i) {
        answer = ask(good);  // the host may not be listening yet
    }
    Bytes expected = {'Q',
                      'V',
                      'I',
                      'R',
                      2,
                      'I',
                      'R',
                      'S',
                      'e',
                      'r',
                      'v',
                      'e',
                      'r',
                      0,
                      static_cast<uint8_t>(port & 255),
                      static_cast<uint8_t>(port >> 8)};
    EXPECT_EQ(answer, expected);
    Bytes wrongKind = good;
    wrongKind[4] = 2;
    EXPECT_TRUE(ask(wrongKind).empty());
    EXPECT_TRUE(ask(Bytes(good.begin(), good.end() - 1)).empty());
    Bytes otherService = good;
    otherService[7] = 'X';
    EXPECT_TRUE(ask(otherService).empty());
    ::close(probe);

    RawPeer peer;
    ASSERT_TRUE(peer.Connect(port));
    EXPECT_TRUE(hosting.Wait());
    host.Close();
}

TEST_F(LinkTest, DiscoveryFindsNothingAtAnUnknownOrSilentPeer) {
    test::UseLinkSettings(0.05, "no-such-host.invalid, 127.0.0.1");
    platform::LinkDevice device;
    EXPECT_EQ(platform::LinkDiscover(1000, &device), platform::LinkDiscovery::kNothing);
}

// A connected pair: our link as host, the test's raw socket as the peer.
void Connect(IrLink& link, RawPeer& peer) {
    ASSERT_TRUE(test::HostWithPeer(test::UseLinkSettings(1.0), peer, [&link] { return link.Host(5); }));
    ASSERT_GE(peer.Fd(), 0);
}

// A peer played inside the same process and thread (the link-play fuzz
// target's) acts on the trace: it hears when a receive is about to wait with
// nothing come, and when a join's probes have gone out.
RawPeer* gAnsweringPeer = nullptr;
std::vector<std::string> gLinkLines;

void AnswerWhenTheLinkWaits(const std::string& kind, const std::string& text) {
    if (kind != "link") return;
    gLinkLines.push_back(text);
    if (text == "waiting for data" && gAnsweringPeer != nullptr) gAnsweringPeer->Send(test::Message(8));
}

int LinesSaying(const std::string& text) {
    return static_cast<int>(std::count(gLinkLines.begin(), gLinkLines.end(), text));
}

TEST_F(LinkTest, TheTraceSaysWhenAReceiveIsAboutToWaitAndWhenAJoinHasSentItsProbes) {
    IrLink link;
    RawPeer peer;
    ASSERT_NO_FATAL_FAILURE(Connect(link, peer));
    gAnsweringPeer = &peer;
    gLinkLines.clear();
    platform::SetTraceListener(AnswerWhenTheLinkWaits);
    // Nothing has come: the line comes first, and what the peer sends on it
    // ends the wait without a second thread.
    uint8_t buffer[100];
    int count = -1;
    ASSERT_TRUE(link.Receive(buffer, 100, count));
    EXPECT_EQ(Bytes(buffer, buffer + count), test::Message(8));
    EXPECT_EQ(LinesSaying("waiting for data"), 1);

    // Bytes that wait already are read without the line.
    gAnsweringPeer = nullptr;
    ASSERT_TRUE(peer.Send(test::Message(11)));
    for (int i = 0; i < 100 && link.BytesAvailable() < 9; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    gLinkLines.clear();
    ASSERT_TRUE(link.Receive(buffer, 100, count));
    EXPECT_EQ(count, 9);
    EXPECT_EQ(LinesSaying("waiting for data"), 0);

    // Each of a join's six searches says so once its probes are out.
    test::UseLinkSettings(0.01);
    IrLink joiner;
    EXPECT_FALSE(joiner.Join());
    EXPECT_EQ(LinesSaying("searching"), 6);
    platform::SetTraceListener(nullptr);
}

TEST_F(LinkTest, LivenessHoldsForASilentPeerAndFailsForAClosedOne) {
    IrLink link;
    RawPeer peer;
    ASSERT_NO_FATAL_FAILURE(Connect(link, peer));
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(link.WaitReady(500));  // writable at once
    EXPECT_LT(MsSince(start), 400);
    // Data waiting does not make it less alive.
    ASSERT_TRUE(peer.Send({1, 2, 3}));
    EXPECT_TRUE(link.WaitReady(500));

    peer.Close();
    // The last bytes are still there to be read, then the end shows.
    uint8_t buffer[100];
    int count = -1;
    ASSERT_TRUE(link.Receive(buffer, 100, count));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(link.WaitReady(500));
    EXPECT_TRUE(link.Receive(buffer, 100, count));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(link.WaitReady(500));
    // Sending into a closed connection fails without killing the program.
    bool sent = true;
    for (int i = 0; i < 50 && sent; ++i) {
        sent = link.Send(buffer, 9);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_FALSE(sent);
    link.Close();
    link.Close();  // twice is harmless
}

TEST_F(LinkTest, ASilentLivePeerIsWaitedForLongerThanAVanishedOneWouldBe) {
    IrLink link;
    RawPeer peer;
    ASSERT_NO_FATAL_FAILURE(Connect(link, peer));
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(7000));
        peer.Send({42});
    });
    uint8_t buffer[100];
    int count = -1;
    EXPECT_TRUE(link.Receive(buffer, 100, count));
    late.join();
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(link.WaitReady(500));
}

TEST_F(LinkTest, APeerThatResetsIsDeadAndBreaksAWaitingReceive) {
    IrLink link;
    RawPeer peer;
    ASSERT_NO_FATAL_FAILURE(Connect(link, peer));
    std::thread resetting([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        peer.Reset();
    });
    uint8_t buffer[100];
    int count = -1;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.Receive(buffer, 100, count));  // blocks until the reset
    resetting.join();
    EXPECT_LT(MsSince(start), 3000);
    EXPECT_FALSE(link.WaitReady(500));
}

// Turns the loopback interface on or off inside the private network.
bool SetLoopback(bool up) {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::snprintf(request.ifr_name, IFNAMSIZ, "lo");
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(up ? (request.ifr_flags | IFF_UP) : (request.ifr_flags & ~IFF_UP));
    ok = ok && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    ::close(fd);
    return ok;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out.flush());
}

// A private user and network namespace, where the test may pull the
// network away from under a connection. False where the system forbids it.
bool EnterPrivateNetwork() {
    uid_t uid = ::getuid();
    gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
        return false;
    }
    WriteFile("/proc/self/setgroups", "deny");
    WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
    WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    return SetLoopback(true);
}

TEST_F(LinkTest, APeerThatVanishesWithoutClosingIsFoundDeadWithinSeconds) {
    constexpr int kNoNamespace = 77;
    pid_t child = test::StartChild([] {
        if (!EnterPrivateNetwork()) {
            return kNoNamespace;
        }
        int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 1);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        platform::LinkSocket link = platform::LinkConnect({INADDR_LOOPBACK, ntohs(address.sin_port)});
        int peer = ::accept(listener, nullptr, nullptr);
        if (link == platform::kNoLinkSocket || peer < 0 || !platform::LinkWaitReady(link, 500)) {
            return 1;
        }
        // The peer's machine drops off the network: no end, no reset.
        if (!SetLoopback(false)) {
            return 2;
        }
        auto start = std::chrono::steady_clock::now();
        uint8_t buffer[100];
        if (platform::LinkReceive(link, buffer, sizeof buffer) != -1) {
            return 3;
        }
        if (MsSince(start) > 12000) {
            return 4;
        }
        return platform::LinkWaitReady(link, 500) ? 5 : 0;
    });
    int code = test::WaitForChild(child, 18000);
    if (code == kNoNamespace) {
        GTEST_SKIP() << "no private network namespaces on this system";
    }
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace qv
