// The loading screen on the headless backend: rows revealed once each, the
// closing scroll to the picture's end or to a tap, and a missing picture.
#include <gtest/gtest.h>

#include "engine/blit.h"
#include "engine/display.h"
#include "engine/install_dir.h"
#include "engine/loading_screen.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/pixels.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

class LoadingScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("loading");
        // Every wait for a tap at the end of the loading gets one.
        std::ofstream script(dir_ / "script.txt");
        for (int i = 0; i < 3; ++i) script << "on loading waiting\ntap 10 10\n";
        script.close();
        ::setenv("QUORVANE_SCRIPT", (dir_ / "script.txt").c_str(), 1);
        test::StartHeadless(dir_);
        test::OpenScreen();
        gMusicOff = 1;
        // 480 x 320, every pixel telling its column and row apart.
        std::vector<uint8_t> rgb(480 * 320 * 3);
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 480; ++x) {
                uint8_t* p = rgb.data() + (y * 480 + x) * 3;
                p[0] = static_cast<uint8_t>(8 + (x & 0xF8) / 2);
                p[1] = static_cast<uint8_t>(4 + (y & 0xFC) / 2);
                p[2] = static_cast<uint8_t>(8 + ((x >> 5) * 16 + (y & 0x1F)) % 240);
            }
        }
        std::filesystem::create_directories(dir_ / "GFX" / "LOADING");
        ASSERT_TRUE(platform::WritePng((dir_ / "GFX" / "LOADING" / "EnterGAME.QVJ").string(), 480, 320,
                                       rgb.data()));
    }

    void SetUp() override {
        gPixelFormat = platform::kfDirect565;
        gGamma = 0;
        gTransparentKey = 0;
        gInstallDir = test::HandheldPath(dir_) + u"\\";
        test::FillPattern(0, 21);
    }

    static inline std::filesystem::path dir_;
};

TEST_F(LoadingScreenTest, RevealsEachRowOnceThenScrollsToThePicturesEnd) {
    Picture picture;
    ASSERT_TRUE(LoadPicture(gInstallDir + u"GFX\\LOADING\\EnterGAME.QVJ", picture, true));
    const auto background = test::BufferCopy(0);
    gLoadingScreen.Begin(64);
    for (int i = 0; i < 63; ++i) gLoadingScreen.Step();

    int revealed = 0;
    int wrong = 0;
    for (int row = 0; row < 320; ++row) {
        const uint16_t* shown = gScreenBuffers[0] + row * 240;
        const bool isPicture = std::equal(shown, shown + 240, picture.pixels + row * 480);
        const bool isBackground = std::equal(shown, shown + 240, background.data() + row * 240);
        if (isPicture) ++revealed;
        if (!isPicture && !isBackground) ++wrong;
    }
    EXPECT_EQ(revealed, 315);
    EXPECT_EQ(wrong, 0);

    const int presents = test::CountPresents(dir_ / "trace.txt");
    gLoadingScreen.Step();  // the 64th: the scroll, then the wait
    EXPECT_EQ(test::CountPresents(dir_ / "trace.txt") - presents, 241);
    for (int row = 0; row < 320; ++row) {
        EXPECT_TRUE(std::equal(gScreenBuffers[0] + row * 240, gScreenBuffers[0] + row * 240 + 240,
                               picture.pixels + row * 480 + 240))
            << "row " << row << " shows the picture's last 240 columns";
    }
    gLoadingScreen.FreePictures();

    // A tap during the scroll stops it at once; another one ends the wait.
    gLoadingScreen.Begin(2);
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(1, 1));
    gLoadingScreen.Step();
    const int tapped = test::CountPresents(dir_ / "trace.txt");
    gLoadingScreen.Step();
    EXPECT_EQ(test::CountPresents(dir_ / "trace.txt") - tapped, 2);
    EXPECT_TRUE(std::equal(gScreenBuffers[0], gScreenBuffers[0] + 240, picture.pixels + 1));
    gLoadingScreen.FreePictures();
    FreePicture(picture);
}

TEST_F(LoadingScreenTest, MissingPictureDrawsNothingAndStillWaitsForATap) {
    gInstallDir = test::HandheldPath(dir_) + u"\\nowhere\\";
    const auto background = test::BufferCopy(0);
    gLoadingScreen.Begin(4);
    for (int i = 0; i < 4; ++i) gLoadingScreen.Step();
    gLoadingScreen.FreePictures();
    EXPECT_EQ(test::BufferCopy(0), background);
    EXPECT_NE(test::ReadText(dir_ / "trace.txt").find("EnterGAME.QVJ Not found."), std::string::npos);
}

}  // namespace
}  // namespace qv
