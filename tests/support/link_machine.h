// The other machine played by a test thread with plain TCP and raw message
// bytes, against the real multiplayer room of the test process: it answers
// our exchanges (echo, then the acknowledge read) and makes its own (the
// echo checked, then the acknowledge sent), with bounded waits.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "infrared/multiplayer_screen.h"
#include "tests/support/link_peer.h"
#include "tests/support/match_driver.h"

namespace qv::test {

class FakeMachine {
public:
    RawPeer& Raw() { return raw_; }

    // One whole message, or what came before the wait ran out.
    Bytes ReadMessage(int ms = 3000) {
        Bytes length = raw_.Read(1, ms);
        if (length.size() != 1 || length[0] < 9) return length;
        Bytes rest = raw_.Read(length[0] - 1u, ms);
        length.insert(length.end(), rest.begin(), rest.end());
        return length;
    }
    // Our request: sent, its echo checked, the acknowledge sent.
    bool Request(const Bytes& message) {
        if (!raw_.Send(message)) return false;
        if (ReadMessage() != EchoOf(message)) return false;
        return raw_.Send(Message(10));
    }
    // The other side's request: read, echoed, its acknowledge read. Empty
    // when nothing came or the exchange went wrong.
    Bytes Answer() {
        Bytes request = ReadMessage();
        if (request.size() < 9 || !raw_.Send(EchoOf(request))) return {};
        if (ReadMessage() != Message(10)) return {};
        return request;
    }
    // Answers with a wrong echo: the other side's exchange fails and it
    // sends its reject, which is read here. The request is given back.
    Bytes AnswerWrongly() {
        Bytes request = ReadMessage();
        if (request.size() < 9) return {};
        Bytes wrong = EchoOf(request);
        wrong[2] ^= 1;
        raw_.Send(wrong);
        if (ReadMessage() != Message(255)) return {};
        return request;
    }

private:
    RawPeer raw_;
};

// The match environment of this process, and a multiplayer room that has
// created the link with a fake machine joined to it.
class LinkRoomTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        StartMatchEnvironment();
        port_ = UseLinkSettings(1.0);
        room_ = new MultiplayerScreen();
        connected_ = HostWithPeer(port_, peer_.Raw(), [this] { return room_->HostIrConnection(); });
        ASSERT_TRUE(connected_);
    }
    void TearDown() override {
        delete room_;
        LinkTest::TearDown();
    }

    // Runs the machine's part in a thread while body runs here; the
    // machine's part returns whether everything came as it expected.
    template <typename Machine, typename Body>
    bool WithMachine(Machine machine, Body body) {
        bool ok = false;
        std::thread other([&] { ok = machine(peer_); });
        body();
        other.join();
        return ok;
    }

    MultiplayerScreen* room_ = nullptr;
    FakeMachine peer_;
    uint16_t port_ = 0;
    bool connected_ = false;
};

}  // namespace qv::test
