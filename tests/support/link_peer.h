// The link tests' set-up: a watchdog over the socket-level peer of
// raw_peer.h.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/raw_peer.h"

namespace qv::test {

// Ends a test that hangs: the process dies of SIGALRM, which fails it.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override { ::alarm(20); }
    void TearDown() override { ::alarm(0); }
};

}  // namespace qv::test
