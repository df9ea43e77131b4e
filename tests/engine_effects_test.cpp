// Screen effects on the headless backend in the three pixel formats: the
// dissolve's steps and exact end, the zoom's frames and final picture, the
// slide's frames and final place, and nothing drawn off the picture's place.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/colour.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/music.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

class EffectsTest : public ::testing::TestWithParam<int32_t> {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("effects");
        test::StartHeadless(dir_);
        test::OpenScreen();
        gMusicOff = 1;
    }

    void SetUp() override {
        gPixelFormat = GetParam();
        gGamma = 0;
        gTransparentKey = 0;
        gEffectsOn = 1;
        platform::Msg msg;
        while (platform::PeekMessage(&msg, 0, 0, true)) {}
    }

    void TearDown() override {
        for (Picture& p : owned_) FreePicture(p);
    }

    int Presents() const { return test::CountPresents(dir_ / "trace.txt"); }

    // A picture of one opaque colour with a keyed (transparent) first column.
    Picture MakePicture(int width, int height, uint16_t colour) {
        Picture picture;
        picture.width = static_cast<uint16_t>(width);
        picture.height = static_cast<uint16_t>(height);
        picture.pixels = new uint16_t[static_cast<size_t>(width * height)];
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) picture.pixels[y * width + x] = x == 0 ? 0 : colour;
        }
        owned_.push_back(picture);
        return picture;
    }

    // Buffer 0 must equal the background with the picture drawn keyed at
    // (x, y) (clipped to the screen), and nothing else changed.
    static void ExpectPictureOver(const std::vector<uint16_t>& background, const Picture& picture,
                                  int x, int y) {
        int wrong = 0;
        for (int row = 0; row < 320; ++row) {
            for (int col = 0; col < 240; ++col) {
                uint16_t expected = background[row * 240 + col];
                const int px = col - x;
                const int py = row - y;
                if (px >= 0 && px < picture.width && py >= 0 && py < picture.height) {
                    const uint16_t p = picture.pixels[py * picture.width + px];
                    if (p != gTransparentKey) expected = p;
                }
                if (gScreenBuffers[0][row * 240 + col] != expected) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels differing from background + picture at " << x << ", " << y;
    }

    uint16_t SomeColour() const { return gPixelFormat == platform::kfDirect444 ? 0x0ABC : 0x5ABC; }

    static inline std::filesystem::path dir_;
    std::vector<Picture> owned_;
};

TEST_P(EffectsTest, DissolveReachesItsTargetExactlyAfterThirtyTwoPacedSteps) {
    test::FillPattern(0, 1);
    test::FillPattern(1, 2);
    // The extremes: every channel from its maximum to 0 and back.
    gScreenBuffers[0][0] = 0;
    gScreenBuffers[1][0] =
        gPixelFormat == platform::kfDirect565 ? 0xFFFF : (gPixelFormat == platform::kfDirect555 ? 0x7FFF : 0x0FFF);
    gScreenBuffers[0][1] = gScreenBuffers[1][0];
    gScreenBuffers[1][1] = 0;
    const auto target = test::BufferCopy(1);
    const int presents = Presents();
    const uint32_t start = platform::GetTickCount();
    CrossDissolve(0, 0, 240, 320, 0, 1);
    EXPECT_EQ(test::BufferCopy(0), target);
    EXPECT_EQ(test::BufferCopy(1), target);
    EXPECT_EQ(Presents() - presents, 32);
    EXPECT_GE(platform::GetTickCount() - start, 640u);
}

TEST_P(EffectsTest, DissolveStepsNeverPassTheTargetAndAReleaseEndsIt) {
    test::FillPattern(0, 3);
    test::FillPattern(1, 4);
    const auto before = test::BufferCopy(0);
    const auto target = test::BufferCopy(1);
    // One stylus message is taken a step: two downs, then the release ends
    // the dissolve before its third step.
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(5, 5));
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(6, 6));
    platform::PostMessage(nullptr, platform::WM_LBUTTONUP, 0, platform::MakeLParam(6, 6));
    const int presents = Presents();
    CrossDissolve(0, 0, 240, 320, 0, 1);
    EXPECT_EQ(Presents() - presents, 2);
    EXPECT_EQ(test::BufferCopy(0), target) << "the rest is one copy";

    const auto shown = test::Displayed();
    const Channels max = ChannelMaxima();
    auto limit = [&](int channelMax) { return 2 * (channelMax == 15 ? 2 : (channelMax == 63 ? 6 : 3)); };
    int wrong = 0;
    for (int i = 0; i < 240 * 320; ++i) {
        const Channels s = SplitPixel(before[i]);
        const Channels t = SplitPixel(target[i]);
        const Channels d = SplitPixel(shown[i]);
        auto expect = [&](int from, int to, int channelMax) {
            const int step = limit(channelMax);
            return from < to ? std::min(from + step, to) : std::max(from - step, to);
        };
        if (d.red != expect(s.red, t.red, max.red) || d.green != expect(s.green, t.green, max.green) ||
            d.blue != expect(s.blue, t.blue, max.blue)) {
            ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_P(EffectsTest, DissolveWithEffectsOffIsOneCopyWithoutPresents) {
    gEffectsOn = 0;
    test::FillPattern(0, 5);
    test::FillPattern(1, 6);
    const int presents = Presents();
    CrossDissolve(0, 0, 240, 320, 0, 1);
    EXPECT_EQ(test::BufferCopy(0), test::BufferCopy(1));
    EXPECT_EQ(Presents(), presents);
}

TEST_P(EffectsTest, ZoomInEndsOnThePictureAtItsPlaceAndZoomOutOnTheBackground) {
    test::FillPattern(0, 7);
    const auto background = test::BufferCopy(0);
    const Picture banner = MakePicture(200, 60, SomeColour());
    int presents = Presents();
    const uint32_t start = platform::GetTickCount();
    ZoomPicture(20, 87, 0, 1, 15, banner);
    EXPECT_EQ(Presents() - presents, 14) << "widths 15, 30, ..., 195, 200";
    EXPECT_GE(platform::GetTickCount() - start, 14u * 45u);
    ExpectPictureOver(background, banner, 20, 87);
    EXPECT_EQ(test::BufferCopy(2), background);

    // From its own size to nothing: the background saved at the start of
    // this zoom (buffer 0 with the banner) would be wrong; callers clean
    // buffer 0 first, so do that here too.
    std::copy(background.begin(), background.end(), gScreenBuffers[0]);
    presents = Presents();
    ZoomPicture(20, 87, 1, 0, 15, banner);
    EXPECT_EQ(Presents() - presents, 14);
    EXPECT_EQ(test::BufferCopy(0), background);
}

TEST_P(EffectsTest, ZoomWithEqualScalesDrawsNothingAndOversizedFramesStayOnScreen) {
    test::FillPattern(0, 8);
    const auto background = test::BufferCopy(0);
    const Picture versus = MakePicture(100, 90, SomeColour());
    int presents = Presents();
    ZoomPicture(70, 72, 1, 1, 15, versus);
    EXPECT_EQ(Presents(), presents);
    EXPECT_EQ(test::BufferCopy(0), background);

    // Three times its size is far wider than the screen at first.
    ZoomPicture(70, 72, 3, 1, 15, versus);
    ExpectPictureOver(background, versus, 70, 72);

    // A step of 0 must not hang: one frame at the final size.
    std::copy(background.begin(), background.end(), gScreenBuffers[0]);
    presents = Presents();
    ZoomPicture(70, 72, 0, 1, 0, versus);
    EXPECT_EQ(Presents() - presents, 1);
    ExpectPictureOver(background, versus, 70, 72);

    // A thin picture's height rounds to 0 on the first frames.
    std::copy(background.begin(), background.end(), gScreenBuffers[0]);
    const Picture thin = MakePicture(240, 3, SomeColour());
    ZoomPicture(0, 10, 0, 1, 15, thin);
    ExpectPictureOver(background, thin, 0, 10);
}

TEST_P(EffectsTest, SlideFromTheLeftAcceleratesAndStopsAtItsPlace) {
    test::FillPattern(0, 9);
    const auto background = test::BufferCopy(0);
    const Picture name = MakePicture(95, 13, SomeColour());
    const int presents = Presents();
    SlidePictureIn(165, 100, 10, name);
    // Period 13: -94 .. -91, then two, three, ... pixels a frame.
    EXPECT_EQ(Presents() - presents, 69);
    ExpectPictureOver(background, name, 165, 100);
    EXPECT_EQ(test::BufferCopy(1), background);
}

TEST_P(EffectsTest, SlideFromTheRightOfAPictureWiderThanTheScreenStaysOnIt) {
    test::FillPattern(0, 10);
    const auto background = test::BufferCopy(0);
    const Picture wide = MakePicture(300, 13, SomeColour());
    SlidePictureIn(2, 200, -10, wide);
    ExpectPictureOver(background, wide, 2, 200);

    // A speed that makes the period 0 still arrives.
    std::copy(background.begin(), background.end(), gScreenBuffers[0]);
    const Picture small = MakePicture(10, 5, SomeColour());
    SlidePictureIn(235, 300, 0, small);
    ExpectPictureOver(background, small, 235, 300);
}

INSTANTIATE_TEST_SUITE_P(Formats, EffectsTest, ::testing::Values(128, 64, 512),
                         [](const ::testing::TestParamInfo<int32_t>& format) {
                             return format.param == 128 ? "Rgb565"
                                                        : (format.param == 64 ? "Rgb555" : "Rgb444");
                         });

}  // namespace
}  // namespace qv
