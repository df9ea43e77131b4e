// Buttons: hit areas, the press-and-release rule and disabled buttons.
#include <gtest/gtest.h>

#include "engine/blit.h"
#include "engine/button.h"
#include "engine/display.h"
#include "platform/display.h"

namespace qv {
namespace {

Picture Solid(int width, int height, uint16_t colour) {
    Picture p{static_cast<uint16_t>(height), static_cast<uint16_t>(width),
              new uint16_t[static_cast<size_t>(width) * height]};
    for (int i = 0; i < width * height; ++i) p.pixels[i] = colour;
    return p;
}

constexpr uint16_t kNormal = 0x1111;
constexpr uint16_t kPressed = 0x2222;
constexpr uint16_t kScreen = 0x3333;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (gScreenBuffers[0] == nullptr) {
            gPixelFormat = platform::kfDirect565;
            AllocScreenBuffers(240, 320);
        }
        gTransparentKey = 0;
        FillRect(0, 0, 240, 320, kScreen, 0);
        first_.SetUp(100, 50, Solid(20, 10, kPressed), Solid(20, 10, kNormal), false);
        second_.SetUp(100, 80, Solid(20, 10, kPressed), Solid(20, 10, kNormal), false);
    }
    static uint16_t At(int x, int y) { return gScreenBuffers[0][y * 240 + x]; }

    Button first_, second_;
};

TEST_F(ButtonTest, HitAreaIncludesTheRightAndBottomEdges) {
    EXPECT_TRUE(first_.HitTest(100, 50));
    EXPECT_TRUE(first_.HitTest(120, 60));
    EXPECT_FALSE(first_.HitTest(121, 60));
    EXPECT_FALSE(first_.HitTest(120, 61));
    EXPECT_FALSE(first_.HitTest(99, 55));
    EXPECT_FALSE(first_.HitTest(110, 49));
}

TEST_F(ButtonTest, ActsOnlyWhenPressedAndReleasedOverItself) {
    EXPECT_FALSE(first_.Release(110, 55));  // never pressed: no answer, no drawing
    EXPECT_EQ(At(110, 55), kScreen);

    ASSERT_TRUE(first_.Press(110, 55));
    EXPECT_EQ(first_.State(), 1);
    EXPECT_EQ(At(110, 55), kPressed);
    // Released over the other button: neither acts, the pressed one looks normal again.
    EXPECT_FALSE(second_.Release(110, 85));
    EXPECT_FALSE(first_.Release(110, 85));
    EXPECT_EQ(first_.State(), 0);
    EXPECT_EQ(At(110, 55), kNormal);
    EXPECT_EQ(At(110, 85), kScreen);

    ASSERT_TRUE(first_.Press(100, 50));
    EXPECT_TRUE(first_.Release(120, 60));
    EXPECT_FALSE(first_.Release(120, 60));  // a second release is not an answer
}

TEST_F(ButtonTest, DisabledButtonIgnoresEverythingAndKeepsItsState) {
    ASSERT_TRUE(first_.Press(110, 55));
    first_.SetDisabled(true);
    FillRect(0, 0, 240, 320, kScreen, 0);
    EXPECT_FALSE(first_.HitTest(110, 55));
    EXPECT_FALSE(first_.Press(110, 55));
    EXPECT_FALSE(first_.Release(110, 55));
    first_.Draw(0);
    first_.DrawFrame(0, 0);
    EXPECT_EQ(At(110, 55), kScreen);
    EXPECT_EQ(first_.State(), 1);
    first_.SetDisabled(false);
    EXPECT_TRUE(first_.Release(110, 55));
}

TEST_F(ButtonTest, TransparentButtonDrawsKeyed) {
    Picture pressed = Solid(4, 1, kPressed);
    pressed.pixels[1] = gTransparentKey;
    Button button;
    button.SetUp(0, 0, pressed, Solid(4, 1, kNormal), true);
    button.DrawFrame(1, 0);
    EXPECT_EQ(At(0, 0), kPressed);
    EXPECT_EQ(At(1, 0), kScreen);
    button.Draw(0);
    EXPECT_EQ(At(1, 0), kNormal);
}

}  // namespace
}  // namespace qv
