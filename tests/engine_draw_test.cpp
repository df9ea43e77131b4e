// The picture loader's conversions, the colour operations and the blitters,
// in the three pixel formats and with the Gamma offset.
#include <gtest/gtest.h>

#include "platform/pixels.h"
#include "tests/support/font_sheet.h"

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/picture_loader.h"
#include "platform/display.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

constexpr int kFormats[3] = {128, 64, 512};

class DrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("draw");
        test::StartHeadless(dir_);
        gPixelFormat = platform::kfDirect565;
        AllocScreenBuffers(240, 320);
    }
    void SetUp() override { Use(128, 0); }
    void TearDown() override { Use(128, 0); }

    // Switches format and Gamma the way start-up sets them.
    static void Use(int format, int gamma) {
        gPixelFormat = format;
        gGamma = static_cast<int8_t>(gamma);
        gTransparentKey = BrightenColour(0, gGamma);
    }

    static Picture Solid(int width, int height, uint16_t colour) {
        Picture p{static_cast<uint16_t>(height), static_cast<uint16_t>(width),
                  new uint16_t[static_cast<size_t>(width) * height + 1]};
        for (int i = 0; i < width * height; ++i) p.pixels[i] = colour;
        return p;
    }

    static uint16_t& At(int buffer, int x, int y) { return gScreenBuffers[buffer][y * 240 + x]; }

    static WString Path(const std::string& name) {
        return test::HandheldPath(dir_ / name);
    }

    static inline std::filesystem::path dir_;
};

TEST_F(DrawTest, LoaderPacksTopBitsAfterGammaAndClampsBothWays) {
    struct Case {
        int format, gamma;
        uint16_t expected;
    };
    // Blue 0x10, green 0x20, red 0xF8.
    const Case cases[] = {
        {128, 0, 0xF902},  {128, 10, 0xF943}, {128, -56, 0xC000},
        {64, 0, 0x7C82},   {64, 10, 0x7CA3},  {64, -56, 0x6000},
        {512, 0, 0x0F21},  {512, 10, 0x0F21}, {512, -56, 0x0C00},
    };
    for (const Case& c : cases) {
        Use(c.format, c.gamma);
        EXPECT_EQ(ConvertRgbPixel(0xF8, 0x20, 0x10), c.expected)
            << "format " << c.format << " gamma " << c.gamma;
    }
    Use(128, 10);
    EXPECT_EQ(ConvertRgbPixel(250, 250, 250), 0xFFFF);  // 260 is capped at 255
}

TEST_F(DrawTest, TransparentKeyIsWhatTheLoaderMakesOfBlackAtEveryGamma) {
    for (int format : kFormats) {
        for (int gamma = -128; gamma <= 127; ++gamma) {
            Use(format, gamma);
            ASSERT_EQ(gTransparentKey, ConvertRgbPixel(0, 0, 0))
                << "format " << format << " gamma " << gamma;
        }
    }
    // The documented start-up key: Gamma 40 gives 5, 10, 5 in 5-6-5.
    Use(128, 40);
    EXPECT_EQ(gTransparentKey, ComposeRgb565({5, 10, 5}));
    Use(512, 40);
    EXPECT_EQ(gTransparentKey, ComposeRgb444({2, 2, 2}));
    // A negative amount never borrows from the neighbouring channel.
    Use(64, 0);
    EXPECT_EQ(BrightenColour(ComposeRgb555({10, 0, 3}), -56), ComposeRgb555({3, 0, 0}));
}

TEST_F(DrawTest, LoadedPictureComesOutTopDownInEveryFormat) {
    test::Rgb8Image image(3, 2);
    image.Set(0, 0, 0xF8, 0x20, 0x10);
    image.Set(1, 0, 250, 0, 7);
    image.Set(2, 0, 1, 2, 3);
    image.Set(0, 1, 0, 0, 0);
    image.Set(1, 1, 255, 255, 255);
    image.Set(2, 1, 0x80, 0x40, 0xC0);
    ASSERT_TRUE(test::WritePng(dir_ / "three.png", image));
    for (int format : kFormats) {
        for (int gamma : {0, 10, -56}) {
            Use(format, gamma);
            Picture picture;
            ASSERT_TRUE(LoadPicture(Path("three.png"), picture, false));
            ASSERT_EQ(picture.width, 3);
            ASSERT_EQ(picture.height, 2);
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < 3; ++x) {
                    const uint8_t* p = image.rgb.data() + (y * 3 + x) * 3;
                    EXPECT_EQ(picture.pixels[y * 3 + x], ConvertRgbPixel(p[0], p[1], p[2]))
                        << "format " << format << " gamma " << gamma << " at " << x << "," << y;
                }
            }
            FreePicture(picture);
        }
    }
}

TEST_F(DrawTest, DitherSpreadsDroppedBitsOnlyIn444AndKeepsBlackTransparent) {
    test::Rgb8Image grey(2, 2, 28, 28, 28);
    ASSERT_TRUE(test::WritePng(dir_ / "grey.png", grey));
    Use(512, 0);
    Picture dithered;
    ASSERT_TRUE(LoadPicture(Path("grey.png"), dithered, true));
    // Error runs along the bottom row first, then up into the row above.
    EXPECT_EQ(dithered.pixels[0], 0x111);
    EXPECT_EQ(dithered.pixels[1], 0x222);
    EXPECT_EQ(dithered.pixels[2], 0x111);
    EXPECT_EQ(dithered.pixels[3], 0x222);
    FreePicture(dithered);

    for (int format : {128, 64}) {
        Use(format, 10);
        Picture plain, flagged;
        ASSERT_TRUE(LoadPicture(Path("grey.png"), plain, false));
        ASSERT_TRUE(LoadPicture(Path("grey.png"), flagged, true));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(plain.pixels[i], flagged.pixels[i]);
        FreePicture(plain);
        FreePicture(flagged);
    }

    // A black area beside colours whose low bits diffuse stays exactly the key.
    test::Rgb8Image banner(8, 6, 0, 0, 0);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            if ((x + y) % 3 == 0) banner.Set(x, y, 77, 141, 203);
        }
    }
    ASSERT_TRUE(test::WritePng(dir_ / "banner.png", banner));
    for (int gamma : {0, 40, 100, -56}) {
        Use(512, gamma);
        Picture picture;
        ASSERT_TRUE(LoadPicture(Path("banner.png"), picture, true));
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) {
                if ((x + y) % 3 != 0) {
                    EXPECT_EQ(picture.pixels[y * 8 + x], gTransparentKey)
                        << "gamma " << gamma << " at " << x << "," << y;
                }
            }
        }
        FreePicture(picture);
    }
}

TEST_F(DrawTest, MissingOrUndecodableFileLeavesAnEmptyPicture) {
    test::WriteBytes(dir_ / "garbage.QVG", {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5});
    // The file that once made the JPEG reader write past its table, in place
    // of a picture.
    test::WriteBytes(dir_ / "huffman.QVJ", test::ReadBytes(std::string(QV_SOURCE_DIR) +
                                                           "/tests/data/repro/picture-stb-jpeg-dht-over-256.QVJ"));
    for (const char* name : {"absent.QVG", "garbage.QVG", "huffman.QVJ"}) {
        Picture picture;
        EXPECT_FALSE(LoadPicture(Path(name), picture, true));
        EXPECT_EQ(picture.width, 0);
        EXPECT_EQ(picture.height, 0);
        EXPECT_NE(picture.pixels, nullptr);  // freed like any other
        // Drawing it touches nothing.
        test::FillPattern(0, 7);
        const std::vector<uint16_t> before = test::BufferCopy(0);
        BlitFullScreen(picture, 0);
        RestoreRect(0, 0, 240, 320, picture, 0);
        BlitRows(30, picture, 0);
        CopyPictureRow(5, picture, 0);
        BlitPictureKeyed(10, 10, picture, 0);
        EXPECT_EQ(test::BufferCopy(0), before);
        FreePicture(picture);
    }
    const std::string trace = test::ReadText(dir_ / "trace.txt");
    EXPECT_NE(trace.find("absent.QVG Not found."), std::string::npos);
    EXPECT_NE(trace.find("garbage.QVG Not found."), std::string::npos);
    EXPECT_NE(trace.find("huffman.QVJ Not found."), std::string::npos);
}

TEST_F(DrawTest, ChannelArithmeticOfTheColourOperations) {
    auto pixel565 = [](int r, int g, int b) { return ComposeRgb565({r, g, b}); };
    At(0, 0, 0) = pixel565(3, 20, 31);
    DarkenRect(0, 0, 1, 1, 4, 0);
    EXPECT_EQ(At(0, 0, 0), pixel565(0, 12, 27));

    At(0, 1, 0) = pixel565(10, 10, 25);
    At(1, 1, 0) = pixel565(20, 20, 20);
    BlendRectToward(1, 0, 1, 1, 2, 0, 1);
    EXPECT_EQ(At(0, 1, 0), pixel565(12, 14, 20));

    At(0, 2, 0) = pixel565(31, 63, 31);
    At(0, 3, 0) = pixel565(6, 0, 0);
    GreyBuffer(0);
    EXPECT_EQ(At(0, 2, 0), pixel565(31, 62, 31));
    EXPECT_EQ(At(0, 3, 0), pixel565(2, 4, 2));

    At(0, 4, 0) = pixel565(5, 1, 0);
    TintRect(4, 0, 1, 1, -20, -8, 100, 0);  // -2, -2, +12 channel units
    EXPECT_EQ(At(0, 4, 0), pixel565(3, 0, 12));

    Use(512, 0);
    At(0, 5, 0) = ComposeRgb444({15, 15, 15});
    TintRect(5, 0, 1, 1, -20, -40, -127, 0);  // -1, -2, -7
    EXPECT_EQ(At(0, 5, 0), ComposeRgb444({14, 13, 8}));
    Use(64, 0);
    At(0, 6, 0) = ComposeRgb555({31, 31, 31});
    GreyBuffer(0);
    EXPECT_EQ(At(0, 6, 0), ComposeRgb555({31, 31, 31}));
}

TEST_F(DrawTest, GlowFrameBrightensRingsFromTheSavedScreenAndDarkensTheInside) {
    const uint16_t base = ComposeRgb565({25, 50, 25});
    FillRect(0, 0, 240, 320, base, 0);
    FillRect(0, 0, 240, 320, base, 1);
    DrawGlowFrame(10, 10, 20, 12, 4, 2, 0);
    EXPECT_EQ(At(0, 15, 10), ComposeRgb565({27, 54, 27}));  // ring 0 top
    EXPECT_EQ(At(0, 15, 21), ComposeRgb565({27, 54, 27}));  // ring 0 bottom
    EXPECT_EQ(At(0, 10, 15), ComposeRgb565({27, 54, 27}));  // ring 0 left
    EXPECT_EQ(At(0, 10, 10), ComposeRgb565({29, 58, 29}));  // a corner, twice
    EXPECT_EQ(At(0, 15, 11), ComposeRgb565({29, 58, 29}));  // ring 1 top
    EXPECT_EQ(At(0, 15, 15), ComposeRgb565({21, 42, 21}));  // inside
    EXPECT_EQ(At(0, 9, 15), base);
    EXPECT_EQ(At(0, 30, 15), base);

    // No rings: only the inside, and no division by zero.
    FillRect(0, 0, 240, 320, base, 0);
    DrawGlowFrame(0, 0, 4, 4, 4, 0, 0);
    EXPECT_EQ(At(0, 0, 0), ComposeRgb565({21, 42, 21}));
    EXPECT_EQ(At(0, 4, 0), base);
}

TEST_F(DrawTest, KeyedAndMaskedBlitsSkipExactlyTheTransparentKey) {
    for (int format : kFormats) {
        Use(format, 40);
        const uint16_t nearKey = static_cast<uint16_t>(gTransparentKey + 1);
        Picture picture = Solid(3, 1, ConvertRgbPixel(255, 255, 255));
        picture.pixels[1] = gTransparentKey;
        picture.pixels[2] = nearKey;
        FillRect(0, 0, 240, 320, 0x0123, 0);
        BlitPictureKeyed(5, 5, picture, 0);
        EXPECT_EQ(At(0, 5, 5), picture.pixels[0]);
        EXPECT_EQ(At(0, 6, 5), 0x0123) << "format " << format;
        EXPECT_EQ(At(0, 7, 5), nearKey);

        const uint16_t red = TextColour(0);
        BlitPictureKeyedMasked(5, 6, picture, red, 0);
        EXPECT_EQ(At(0, 5, 6), picture.pixels[0] & red);
        EXPECT_EQ(At(0, 6, 6), 0x0123);
        BlitPictureMasked(5, 7, picture, red, 0);
        EXPECT_EQ(At(0, 6, 7), gTransparentKey & red);
        FreePicture(picture);
    }
}

TEST_F(DrawTest, BlitsAndFillsClipAtTheScreenEdges) {
    Picture picture = Solid(10, 10, 0x7777);
    FillRect(0, 0, 240, 320, 0, 0);
    BlitPicture(235, 100, picture, 0);
    EXPECT_EQ(At(0, 239, 100), 0x7777);
    EXPECT_EQ(At(0, 0, 101), 0);  // nothing wraps into the next row
    BlitPicture(-5, -5, picture, 0);
    EXPECT_EQ(At(0, 0, 0), 0x7777);
    EXPECT_EQ(At(0, 4, 4), 0x7777);
    EXPECT_EQ(At(0, 5, 0), 0);
    EXPECT_EQ(At(0, 239, 319), 0);
    BlitPicture(230, 315, picture, 0);  // runs off the bottom right corner
    EXPECT_EQ(At(0, 239, 319), 0x7777);
    FillRect(-10, 318, 500, 100, 0x1111, 0);
    EXPECT_EQ(At(0, 0, 318), 0x1111);
    EXPECT_EQ(At(0, 239, 319), 0x1111);
    EXPECT_EQ(At(0, 0, 317), 0);

    // Reads stay inside the source: a rectangle past a small picture copies the overlap.
    FillRect(0, 0, 240, 320, 0, 0);
    BlitRect240(5, 5, 20, 20, 50, 50, picture, 0);
    EXPECT_EQ(At(0, 54, 54), 0x7777);
    EXPECT_EQ(At(0, 55, 50), 0);
    Picture cut;
    CutPicture(cut, picture, 8, 8, 4, 4);
    EXPECT_EQ(cut.pixels[0], 0x7777);
    EXPECT_EQ(cut.pixels[2], gTransparentKey);
    FreePicture(cut);

    // Empty sizes copy nothing.
    test::FillPattern(1, 3);
    const std::vector<uint16_t> before = test::BufferCopy(0);
    CopyRect240(0, 0, 240, 0, 0, 1);
    Picture empty{0, 0, new uint16_t[1]};
    CopyPictureRectInto(0, 0, picture, empty);
    BlitScaled(0, 0, 10, 10, picture, 20, 20, 0, 40, false);
    BlitScaled(0, 0, 10, 10, picture, 20, 20, 40, 0, true);
    EXPECT_EQ(test::BufferCopy(0), before);
    FreePicture(empty);
    FreePicture(picture);
}

TEST_F(DrawTest, ScaledBlitMapsTargetPixelsByTruncatedRatio) {
    Picture picture = Solid(4, 2, 0);
    for (int i = 0; i < 8; ++i) picture.pixels[i] = static_cast<uint16_t>(0x100 + i);
    picture.pixels[5] = gTransparentKey;
    FillRect(0, 0, 240, 320, 0x0F0F, 0);
    BlitScaled(0, 0, 4, 2, picture, 10, 10, 7, 5, true);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 7; ++j) {
            uint16_t source = picture.pixels[(i * 2 / 5) * 4 + j * 4 / 7];
            uint16_t expected = source == gTransparentKey ? 0x0F0F : source;
            EXPECT_EQ(At(0, 10 + j, 10 + i), expected) << j << "," << i;
        }
    }
    EXPECT_EQ(At(1, 0, 0), 0x100);  // the scratch copy in buffer 1
    // Three times as large, half off the screen: clipped, not wrapped.
    FillRect(0, 0, 240, 320, 0, 0);
    BlitScaled(0, 0, 4, 2, picture, 228, 315, 24, 12, false);
    EXPECT_EQ(At(0, 239, 319), picture.pixels[(4 * 2 / 12) * 4 + 11 * 4 / 24]);
    EXPECT_EQ(At(0, 0, 316), 0);
    FreePicture(picture);
}

TEST_F(DrawTest, GrabbedRectanglesRoundTripThroughPictures) {
    test::FillPattern(2, 11);
    Picture grabbed;
    GrabRect(grabbed, 230, 310, 20, 20, 2);
    EXPECT_EQ(grabbed.pixels[0], At(2, 230, 310));
    EXPECT_EQ(grabbed.pixels[9 * 20 + 9], At(2, 239, 319));
    EXPECT_EQ(grabbed.pixels[10], gTransparentKey);  // beyond the right edge
    FillRect(0, 0, 240, 320, 0, 0);
    BlitPicture(230, 310, grabbed, 0);
    CopyRect240(0, 0, 10, 10, 0, 2);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(At(0, 239, 310 + y), At(2, 239, 310 + y));
        EXPECT_EQ(At(0, 9, y), At(2, 9, y));
        EXPECT_EQ(At(0, 10, y), 0);
    }
    GrabRectInto(0, 0, 2, grabbed);
    EXPECT_EQ(grabbed.pixels[20 * 19 + 19], At(2, 19, 19));
    FreePicture(grabbed);
}

}  // namespace
}  // namespace qv
