// Tests of the window procedure's key flags, its messages and the input-queue flush.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/display.h"
#include "engine/input.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "shell/game.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

class HeadlessPlatform : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QUORVANE_BACKEND", "headless", 1);
        std::string registry = (test::ProcessTempDir("wndproc") / "registry.txt").string();
        setenv("QUORVANE_REGISTRY", registry.c_str(), 1);
        unsetenv("QUORVANE_TRACE");
        unsetenv("QUORVANE_SCRIPT");
        ASSERT_TRUE(platform::Startup());
    }
};
[[maybe_unused]] const auto* const kPlatform = ::testing::AddGlobalTestEnvironment(new HeadlessPlatform);

// Every message waiting, oldest first.
std::vector<platform::Msg> DrainQueue() {
    std::vector<platform::Msg> messages;
    platform::Msg msg;
    while (platform::PeekMessage(&msg, 0, 0, true)) {
        if (msg.message != platform::WM_TIMER && msg.message != platform::WM_PAINT) {
            messages.push_back(msg);
        }
    }
    return messages;
}

class WindowProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        gKeyList = platform::GXKeyList{};
        gKeyList.vkUp = platform::kVkUp;
        gKeyList.vkDown = platform::kVkDown;
        gKeyList.vkLeft = platform::kVkLeft;
        gKeyList.vkRight = platform::kVkRight;
        gKeyList.vkA = platform::kVkA;
        gKeyList.vkB = platform::kVkB;
        gKeyList.vkC = platform::kVkC;
        gKeyList.vkStart = platform::kVkStart;
        ClearKeyStates();
        DrainQueue();
    }
    static platform::LResult Send(uint32_t message, platform::WParam wParam,
                                  platform::LParam lParam = 0) {
        return MainWindowProc(gMainWindow, message, wParam, lParam);
    }
    static std::vector<int> HeldKeys() {
        std::vector<int> held;
        for (int i = 0; i < 8; ++i) {
            if (gKeyState[i]) held.push_back(i);
        }
        return held;
    }
};

TEST_F(WindowProcTest, EachButtonHasItsOwnFlag) {
    // gKeyState order: up, down, left, right, Start, A, B, C.
    const int16_t keys[8] = {platform::kVkUp,    platform::kVkDown, platform::kVkLeft,
                             platform::kVkRight, platform::kVkStart, platform::kVkA,
                             platform::kVkB,     platform::kVkC};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Send(platform::WM_KEYDOWN, static_cast<uint16_t>(keys[i])), 0);
        EXPECT_EQ(HeldKeys(), std::vector<int>{i}) << "key " << i;
        Send(platform::WM_KEYUP, static_cast<uint16_t>(keys[i]));
        EXPECT_TRUE(HeldKeys().empty()) << "key " << i;
    }
}

TEST_F(WindowProcTest, FlagsFollowPressesRepeatsAndReleases) {
    // Only the low 16 bits of wParam name the key.
    Send(platform::WM_KEYDOWN, 0xABCD0000u | static_cast<uint16_t>(platform::kVkB));
    Send(platform::WM_KEYDOWN, static_cast<uint16_t>(platform::kVkLeft));
    Send(platform::WM_KEYDOWN, static_cast<uint16_t>(platform::kVkLeft));  // auto-repeat
    EXPECT_EQ(HeldKeys(), (std::vector<int>{2, 6}));
    Send(platform::WM_KEYUP, static_cast<uint16_t>(platform::kVkLeft));
    EXPECT_EQ(HeldKeys(), std::vector<int>{6});
    // A key that is not one of the eight changes nothing and is handled.
    EXPECT_EQ(Send(platform::WM_KEYDOWN, static_cast<uint16_t>(platform::kVkOther)), 0);
    EXPECT_EQ(Send(platform::WM_KEYUP, static_cast<uint16_t>(platform::kVkB) + 0x100), 0);
    EXPECT_EQ(HeldKeys(), std::vector<int>{6});
    ClearKeyStates();
    EXPECT_TRUE(HeldKeys().empty());
}

TEST_F(WindowProcTest, DestroyPostsQuitWithCodeZero) {
    EXPECT_EQ(Send(platform::WM_DESTROY, 0), 0);
    std::vector<platform::Msg> queued = DrainQueue();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].message, platform::WM_QUIT);
    EXPECT_EQ(queued[0].wParam, 0u);
    // The focus messages are harmless on a closed display.
    EXPECT_EQ(Send(platform::WM_KILLFOCUS, 0), 0);
    EXPECT_EQ(Send(platform::WM_ACTIVATE, 0), 0);
    EXPECT_EQ(Send(platform::WM_SUSPEND_PRIVATE, 0), 0);
    EXPECT_EQ(Send(platform::WM_SETFOCUS, 0), 0);
}

TEST_F(WindowProcTest, EndOfMatchMessageRedrawsTheClubOnlyForOne) {
    gPixelFormat = platform::kfDirect565;
    AllocScreenBuffers(kScreenWidth, kScreenHeight);
    std::fill_n(gScreenBuffers[0], gScreenPixelCount, uint16_t{0x1234});
    Send(platform::WM_USER, 2, 1);
    EXPECT_EQ(std::count(gScreenBuffers[0], gScreenBuffers[0] + gScreenPixelCount, 0x1234),
              static_cast<long>(gScreenPixelCount));
    Send(platform::WM_USER, 1, 1);
    EXPECT_LT(std::count(gScreenBuffers[0], gScreenBuffers[0] + gScreenPixelCount, 0x1234),
              static_cast<long>(gScreenPixelCount));
}

TEST_F(WindowProcTest, FlushDropsKeysAndStylusOnly) {
    gKeyState[5] = 1;
    platform::PostMessage(nullptr, platform::WM_USER, 5, 0);
    platform::PostMessage(nullptr, platform::WM_KEYDOWN, platform::kVkA, 0);
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(10, 20));
    platform::PostMessage(nullptr, platform::WM_SUSPEND_PRIVATE, 0, 0);
    platform::PostMessage(nullptr, platform::WM_KEYUP, platform::kVkA, 0);
    platform::PostMessage(nullptr, platform::WM_LBUTTONUP, 0, platform::MakeLParam(10, 20));
    platform::PostMessage(nullptr, platform::WM_USER, 6, 0);
    FlushInputQueue();
    std::vector<platform::Msg> left = DrainQueue();
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].message, platform::WM_USER);
    EXPECT_EQ(left[0].wParam, 5u);
    EXPECT_EQ(left[1].message, platform::WM_SUSPEND_PRIVATE);
    EXPECT_EQ(left[2].message, platform::WM_USER);
    EXPECT_EQ(left[2].wParam, 6u);
    // A release removed by the flush leaves its flag set.
    EXPECT_EQ(gKeyState[5], 1);
}

}  // namespace
}  // namespace qv
