// Tests of the pixel format choice, pitches, fills and both present paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/display.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

// The headless display on the fixed-frame-buffer model, opened once.
class HeadlessDisplay : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QUORVANE_BACKEND", "headless", 1);
        setenv("QUORVANE_OEM", "Compaq iPAQ H3800", 1);
        std::string registry = (test::ProcessTempDir("display") / "registry.txt").string();
        setenv("QUORVANE_REGISTRY", registry.c_str(), 1);
        unsetenv("QUORVANE_TRACE");
        ASSERT_TRUE(platform::Startup());
        platform::RegisterWindowClass(u"DisplayTest", platform::DefWindowProc);
        platform::WindowHandle window = platform::CreateWindow(u"DisplayTest", u"DisplayTest");
        ASSERT_NE(window, nullptr);
        ASSERT_NE(platform::GXOpenDisplay(window, platform::GX_FULLSCREEN), 0);
    }
};
[[maybe_unused]] const auto* const kDisplay =
    ::testing::AddGlobalTestEnvironment(new HeadlessDisplay);

uint16_t Pattern(int x, int y, int salt) {
    return static_cast<uint16_t>(x * 131 + y * 7 + salt * 4099);
}

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        gGamma = 0;
        gPixelFormat = platform::kfDirect565;
        AllocScreenBuffers(kScreenWidth, kScreenHeight);
    }
    void TearDown() override { gGamma = 0; }

    // Uses the display memory of the opened display (rows of 240 pixels).
    static void UseDisplayMemory() {
        gFixedFrameBuffer = 0;
        platform::GXDisplayProperties properties = platform::GXGetDisplayProperties();
        SetDisplayPitch(properties.cbxPitch, properties.cbyPitch);
    }
    static void FillPattern(int8_t buffer, int salt) {
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                gScreenBuffers[buffer][y * kScreenWidth + x] = Pattern(x, y, salt);
            }
        }
    }
    // The pixel (x, y) of the memory the present wrote.
    static uint16_t Shown(const uint16_t* memory, int x, int y) {
        return memory[x * gScreenXPitch + y * gScreenYPitch];
    }
    static const uint16_t* DisplayMemory() {
        auto* memory = static_cast<const uint16_t*>(platform::GXBeginDraw());
        platform::GXEndDraw();
        return memory;
    }
};

TEST_F(DisplayTest, PixelFormatFlagsInTheirOrder) {
    EXPECT_TRUE(SetPixelFormat(platform::kfDirect555 | platform::kfDirect565));
    EXPECT_EQ(GetPixelFormat(), platform::kfDirect555);
    EXPECT_TRUE(SetPixelFormat(platform::kfDirect565 | platform::kfDirect444));
    EXPECT_EQ(GetPixelFormat(), platform::kfDirect565);
    EXPECT_TRUE(SetPixelFormat(platform::kfDirect444 | platform::kfDirect));
    EXPECT_EQ(GetPixelFormat(), platform::kfDirect444);
    for (uint32_t refused : {uint32_t{platform::kfDirect888}, uint32_t{platform::kfPalette},
                             uint32_t{platform::kfDirect}, uint32_t{0}}) {
        EXPECT_FALSE(SetPixelFormat(refused)) << refused;
        EXPECT_EQ(GetPixelFormat(), platform::kfDirect444) << "left untouched";
    }
}

TEST_F(DisplayTest, PitchesInPixelsAndTheFixedModelsOverride) {
    gFixedFrameBuffer = 0;
    SetDisplayPitch(2, 480);
    EXPECT_EQ(gScreenXPitch, 1);
    EXPECT_EQ(gScreenYPitch, 240);
    SetDisplayPitch(-640, 2);
    EXPECT_EQ(gScreenXPitch, -320);
    EXPECT_EQ(gScreenYPitch, 1);
    DetectDeviceModel();
    EXPECT_EQ(gFixedFrameBuffer, 1);
    SetDisplayPitch(2, 480);
    EXPECT_EQ(gScreenXPitch, -320);
    EXPECT_EQ(gScreenYPitch, 1);
}

TEST_F(DisplayTest, BlackFillIsBrightenedByGammaInEveryFormat) {
    struct Case {
        int32_t format;
        uint16_t atGamma40;
    };
    for (Case c : {Case{128, 0x2945}, Case{64, 0x14A5}, Case{512, 0x0222}}) {
        gPixelFormat = c.format;
        gGamma = 40;
        ClearAllBuffers(0);
        for (int8_t buffer = 0; buffer < 3; ++buffer) {
            EXPECT_EQ(std::count(gScreenBuffers[buffer], gScreenBuffers[buffer] + gScreenPixelCount,
                                 c.atGamma40),
                      static_cast<long>(gScreenPixelCount))
                << c.format << " buffer " << int{buffer};
        }
        gGamma = 0;
        FillBuffer(0, 1);
        EXPECT_EQ(std::count(gScreenBuffers[1], gScreenBuffers[1] + gScreenPixelCount, 0),
                  static_cast<long>(gScreenPixelCount))
            << c.format;
    }
    // Another index fills nothing.
    FillBuffer(0x1111, 3);
    FillBuffer(0x1111, -1);
    EXPECT_EQ(std::count(gScreenBuffers[0], gScreenBuffers[0] + gScreenPixelCount, 0x1111), 0);
}

TEST_F(DisplayTest, RowPathCopiesTheWholeScreen) {
    UseDisplayMemory();
    ASSERT_EQ(gScreenXPitch, 1);
    FillPattern(0, 1);
    PresentScreen();
    const uint16_t* memory = DisplayMemory();
    ASSERT_NE(memory, nullptr);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            ASSERT_EQ(Shown(memory, x, y), Pattern(x, y, 1)) << x << "," << y;
        }
    }
}

TEST_F(DisplayTest, RectPresentClipsToTheScreenAndSkipsEmptyRects) {
    UseDisplayMemory();
    FillBuffer(0, 0);
    PresentScreen();
    FillPattern(2, 2);
    // Overhangs the left and bottom edges: only x 0..19, y 300..319 are copied.
    PresentRect(-10, 300, 30, 40, 2);
    for (int16_t empty : {0, -5}) {
        PresentRect(5, 5, empty, 10, 2);
        PresentRect(5, 5, 10, empty, 2);
    }
    PresentRect(240, 0, 10, 10, 2);
    PresentRect(0, 320, 10, 10, 2);
    PresentRect(0, 0, 10, 10, 5);
    const uint16_t* memory = DisplayMemory();
    ASSERT_NE(memory, nullptr);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            bool inside = x < 20 && y >= 300;
            ASSERT_EQ(Shown(memory, x, y), inside ? Pattern(x, y, 2) : 0) << x << "," << y;
        }
    }
}

TEST_F(DisplayTest, FixedFrameBufferModelIsWrittenPixelByPixel) {
    DetectDeviceModel();
    ASSERT_EQ(gFixedFrameBuffer, 1);
    SetDisplayPitch(2, 480);
    const uint16_t* memory = platform::FixedFrameBuffer();
    ASSERT_NE(memory, nullptr);
    FillPattern(0, 3);
    PresentScreen();
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            ASSERT_EQ(Shown(memory, x, y), Pattern(x, y, 3)) << x << "," << y;
        }
    }
    // A rectangle lands at the same place of the rotated memory.
    FillPattern(1, 4);
    PresentRect(200, 10, 100, 5, 1);
    EXPECT_EQ(Shown(memory, 200, 10), Pattern(200, 10, 4));
    EXPECT_EQ(Shown(memory, 239, 14), Pattern(239, 14, 4));
    EXPECT_EQ(Shown(memory, 199, 10), Pattern(199, 10, 3));
    EXPECT_EQ(Shown(memory, 200, 15), Pattern(200, 15, 3));
}

}  // namespace
}  // namespace qv
