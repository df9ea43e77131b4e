// The platform tests' fixture: a fresh headless platform for every test,
// started with the helpers of headless_start.h.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system.h"
#include "tests/support/files.h"
#include "tests/support/headless_start.h"
#include "tests/support/temp_dir.h"

namespace qv::test {

// A fresh headless platform for every test, its registry and trace in a
// temporary directory and none of the optional variables set.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartHeadlessIn(dir_.Root(), WithoutPlatformOptions())); }

    // Starts the platform again with the variable set.
    void Restart(const char* name, const std::string& value) {
        ::setenv(name, value.c_str(), 1);
        ASSERT_TRUE(platform::Startup());
    }

    std::vector<std::string> Trace() const { return ReadLines(dir_ / "trace.txt"); }
    std::vector<std::string> TraceOf(const std::string& kind) const { return test::TraceOf(dir_ / "trace.txt", kind); }

    TempDir dir_{"platform"};
};

}  // namespace qv::test
