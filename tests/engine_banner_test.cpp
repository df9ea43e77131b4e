// Match banners on the headless backend: each drawn at its place and nowhere
// else, the buffers left as the match expects them, narrow and missing
// pictures handled without reading or writing outside them.
#include <gtest/gtest.h>

#include "cards/card.h"
#include "engine/banners.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/pixels.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

// Writes a PNG whose pixels are opaque colours, with black (the key) on
// every fourth column so that keyed drawing shows.
void WriteBanner(const std::filesystem::path& path, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width * height * 3));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = rgb.data() + (y * width + x) * 3;
            if (x % 4 == 3) continue;  // black
            p[0] = static_cast<uint8_t>(64 + (x * 3) % 192);
            p[1] = static_cast<uint8_t>(64 + (y * 5) % 192);
            p[2] = 200;
        }
    }
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(platform::WritePng(path, width, height, rgb.data()));
}

class BannerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("banner");
        test::StartHeadless(dir_);
        test::OpenScreen();
        gMusicOff = 1;
        const auto text = dir_ / "GFX" / "TEXT";
        WriteBanner(text / "start.QVG", 240, 64);
        WriteBanner(text / "youwin.QVG", 240, 63);
        WriteBanner(text / "multihit.QVG", 200, 60);
        WriteBanner(text / "Versus.QVG", 64, 48);
        WriteBanner(text / "narrow.QVG", 100, 40);
        WriteBanner(dir_ / "GFX" / "CARDS" / "SET 1" / "CARDS BIG" / "BIG_TESTCARD.QVG", 96, 150);
    }

    void SetUp() override {
        gPixelFormat = platform::kfDirect565;
        gGamma = 0;
        gTransparentKey = 0;
        gInstallDir = test::HandheldPath(dir_) + u"\\";
        test::FillPattern(0, 11);
        background_ = test::BufferCopy(0);
    }

    Picture Load(const char16_t* name) {
        Picture picture;
        EXPECT_TRUE(LoadPicture(gInstallDir + u"GFX\\TEXT\\" + name, picture, true));
        return picture;
    }

    // `shown` must be the background with the picture drawn keyed at (x, y).
    void ExpectPictureOver(const std::vector<uint16_t>& shown, const Picture& picture, int x, int y) {
        int outside = 0;
        int inside = 0;
        for (int row = 0; row < 320; ++row) {
            for (int col = 0; col < 240; ++col) {
                const int px = col - x;
                const int py = row - y;
                uint16_t expected = background_[row * 240 + col];
                const bool in = px >= 0 && px < picture.width && py >= 0 && py < picture.height;
                if (in && picture.pixels[py * picture.width + px] != gTransparentKey) {
                    expected = picture.pixels[py * picture.width + px];
                }
                if (shown[row * 240 + col] != expected) ++(in ? inside : outside);
            }
        }
        EXPECT_EQ(outside, 0) << "pixels touched outside the banner's rectangle";
        EXPECT_EQ(inside, 0) << "banner pixels wrong inside its rectangle";
    }

    static inline std::filesystem::path dir_;
    std::vector<uint16_t> background_;
};

TEST_F(BannerTest, WipeShowsTheWholeBannerCentredAndLeavesBufferZeroClean) {
    Picture start = Load(u"start.QVG");
    const int presents = test::CountPresents(dir_ / "trace.txt");
    WipeInBanner(start, 128);
    EXPECT_EQ(test::CountPresents(dir_ / "trace.txt") - presents, 61);
    ExpectPictureOver(test::Displayed(), start, 0, 128);
    EXPECT_EQ(test::BufferCopy(0), background_);
    FreePicture(start);
}

TEST_F(BannerTest, NarrowBannerUsesItsOwnRowsAndStaysInItsStrip) {
    Picture narrow = Load(u"narrow.QVG");
    WipeInBanner(narrow, 300);  // the strip runs past the bottom row
    const auto shown = test::Displayed();
    int outside = 0;
    for (int row = 0; row < 300; ++row) {
        for (int col = 0; col < 240; ++col) {
            if (shown[row * 240 + col] != background_[row * 240 + col]) ++outside;
        }
    }
    EXPECT_EQ(outside, 0);
    // Rows 0..10 came in from the left and end at the right edge, rows
    // 10..20 from the right and end at the left edge, each read with the
    // picture's own row length; rows below 320 are not drawn.
    int wrong = 0;
    for (int r = 0; r < 20; ++r) {
        for (int col = 0; col < 240; ++col) {
            uint16_t expected = background_[(300 + r) * 240 + col];
            uint16_t p = 0;
            if (r <= 10 && col >= 140) p = narrow.pixels[r * 100 + col - 140];
            if (r >= 10 && col < 100) p = narrow.pixels[r * 100 + col];
            if (p != 0) expected = p;
            if (shown[(300 + r) * 240 + col] != expected) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(test::BufferCopy(0), background_);
    FreePicture(narrow);
}

TEST_F(BannerTest, WipedAndZoomedAnnouncementsLeaveTheBoardAsItWas) {
    ShowStartBanner();
    EXPECT_EQ(test::BufferCopy(0), background_);
    ShowYouWinBanner();  // an odd height
    EXPECT_EQ(test::BufferCopy(0), background_);
    ShowMultiHitBanner();
    EXPECT_EQ(test::BufferCopy(0), background_);
}

TEST_F(BannerTest, TapShortensThePauseButTheZoomOutStillRuns) {
    const uint32_t start = platform::GetTickCount();
    ShowStartBanner();
    const uint32_t untouched = platform::GetTickCount() - start;
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(10, 10));
    platform::PostMessage(nullptr, platform::WM_KEYDOWN, 0x26, 0);
    const uint32_t tapped = platform::GetTickCount();
    ShowStartBanner();
    EXPECT_LT(platform::GetTickCount() - tapped + 400, untouched);
    EXPECT_EQ(test::BufferCopy(0), background_);
    platform::Msg msg;
    EXPECT_FALSE(platform::PeekMessage(&msg, 0x100, 0x209, false)) << "queued input is discarded";
}

TEST_F(BannerTest, VersusPictureEndsAtItsPlaceAboveTheHands) {
    Picture versus = Load(u"Versus.QVG");
    // Without a font the names are empty pictures; the Versus picture lands
    // centred above the hands, at ((240 - 64) / 2, (235 - 48) / 2).
    ASSERT_EQ(gFont.GetHeight(), 0);
    PlayVersusIntro(u"RED", u"BLUE");
    ExpectPictureOver(test::BufferCopy(0), versus, 88, 93);
    FreePicture(versus);
}

TEST_F(BannerTest, CardAnnounceLandsOnTheGreyedBoardBelowItsStrip) {
    GreyBuffer(0);
    const auto grey = test::BufferCopy(0);
    std::copy(background_.begin(), background_.end(), gScreenBuffers[0]);
    background_ = grey;
    Card card;
    card.SetId(7);
    card.SetName(u"TESTCARD");
    ShowCardAnnounce(card, 2);
    Picture big;
    ASSERT_TRUE(LoadPicture(gInstallDir + u"GFX\\CARDS\\SET 1\\CARDS BIG\\BIG_TESTCARD.QVG", big, true));
    ExpectPictureOver(test::BufferCopy(0), big, 72, 60 + gFont.GetHeight() + 3);
    FreePicture(big);
}

TEST_F(BannerTest, MissingBannerShowsTheLoadersMessageAndDrawsNothing) {
    ShowPerfectBanner();
    ShowCardTakenBanner();
    EXPECT_EQ(test::BufferCopy(0), background_);
    const std::string trace = test::ReadText(dir_ / "trace.txt");
    EXPECT_NE(trace.find("Perfect.QVG Not found."), std::string::npos);
    EXPECT_NE(trace.find("cardtaken.QVG Not found."), std::string::npos);
}

}  // namespace
}  // namespace qv
