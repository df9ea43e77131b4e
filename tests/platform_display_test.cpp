// The display: properties per pixel format, the layout of display memory,
// presents in the trace, the rotated model's frame buffer shown upright,
// and closers that are safe in any order.
#include <xxhash.h>

#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/pixels.h"
#include "tests/support/headless.h"

namespace qv {
namespace {

using namespace platform;

class Display : public test::PlatformTest {};

TEST_F(Display, PropertiesFollowThePixelFormatSetting) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"565", 0x80}, {"555", 0x40}, {"444", 0x200}, {"555+565", 0xC0}, {"888", 0x100}, {"", 0x80}};
    for (const auto& [setting, flags] : cases) {
        Restart("QUORVANE_PIXEL_FORMAT", setting);
        EXPECT_EQ(GXGetDisplayProperties().cxWidth, 0u) << "zeroes before opening";
        ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
        GXDisplayProperties p = GXGetDisplayProperties();
        EXPECT_EQ(p.ffFormat, flags) << setting;
        EXPECT_EQ(p.cxWidth, 240u);
        EXPECT_EQ(p.cyHeight, 320u);
        EXPECT_EQ(p.cbxPitch, 2);
        EXPECT_EQ(p.cbyPitch, 480);
        EXPECT_EQ(p.cBPP, 16);
        GXCloseDisplay();
    }
}

TEST_F(Display, BeginDrawGivesRowsOf240AndEndDrawPresentsThem) {
    EXPECT_EQ(GXBeginDraw(), nullptr);
    EXPECT_EQ(GXEndDraw(), 0);
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    auto* memory = static_cast<uint16_t*>(GXBeginDraw());
    ASSERT_NE(memory, nullptr);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 240; ++x) {
            memory[y * 240 + x] = static_cast<uint16_t>(x + 1000 * (y % 60));
        }
    }
    GXEndDraw();
    const std::vector<uint16_t>& shown = headless::LastFrame();
    ASSERT_EQ(shown.size(), 240u * 320u);
    EXPECT_EQ(shown[0], 0);
    EXPECT_EQ(shown[239], 239);
    EXPECT_EQ(shown[241], 1001);
    EXPECT_EQ(shown[319 * 240 + 5], 5 + 1000 * 19);

    const std::vector<std::string> presents = TraceOf("present");
    ASSERT_EQ(presents.size(), 1u);
    char hash[24];
    snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(HashFrame(shown.data(), 240 * 320)));
    EXPECT_EQ(presents[0], hash);
    // A present is one frame period of virtual time.
    const uint64_t before = headless::VirtualNow();
    GXBeginDraw();
    memory[0] = 1;
    GXEndDraw();
    EXPECT_EQ(headless::VirtualNow() - before, 16u);
    EXPECT_NE(TraceOf("present")[1], presents[0]) << "the hash follows the content";
}

TEST_F(Display, FrameHashTakesEachPixelLowByteFirst) {
    const uint16_t pixels[2] = {0x0102, 0xA0B0};
    const uint8_t bytes[4] = {0x02, 0x01, 0xB0, 0xA0};
    EXPECT_EQ(HashFrame(pixels, 2), XXH3_64bits(bytes, 4));
    EXPECT_NE(HashFrame(pixels, 2), HashFrame(pixels, 1));
}

TEST_F(Display, ChangedRowsFindTheFirstAndLastRowThatDiffer) {
    std::vector<uint16_t> before(240 * 320, 7);
    std::vector<uint16_t> after = before;
    int first = -1, last = -1;
    EXPECT_FALSE(ChangedRows(before.data(), after.data(), 240, 320, &first, &last));
    EXPECT_EQ(first, -1) << "untouched when nothing changed";
    after[5 * 240 + 239] = 8;
    ASSERT_TRUE(ChangedRows(before.data(), after.data(), 240, 320, &first, &last));
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 5);
    after[0] = 8;
    after[319 * 240] = 8;
    ASSERT_TRUE(ChangedRows(before.data(), after.data(), 240, 320, &first, &last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 319);
}

TEST_F(Display, RotatedModelBufferIsShownUpright) {
    Restart("QUORVANE_OEM", "Compaq iPAQ H3800");
    EXPECT_EQ(FixedFrameBuffer(), nullptr) << "not before the display is open";
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    uint16_t* origin = FixedFrameBuffer();
    ASSERT_NE(origin, nullptr);
    // The game's pixel-by-pixel path: x pitch -320, y pitch 1.
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 240; ++x) {
            origin[x * -320 + y] = static_cast<uint16_t>(y * 240 + x);
        }
    }
    PresentFixedFrameBuffer();
    const std::vector<uint16_t>& shown = headless::LastFrame();
    ASSERT_EQ(shown.size(), 240u * 320u);
    for (int i = 0; i < 240 * 320; i += 997) {
        EXPECT_EQ(shown[i], static_cast<uint16_t>(i)) << "pixel " << i;
    }
    EXPECT_EQ(shown[240 * 320 - 1], static_cast<uint16_t>(240 * 320 - 1));

    char16_t oem[8];
    ASSERT_TRUE(GetOemInfo(oem, 8));
    EXPECT_EQ(WString(oem), u"Compaq ") << "bounded and terminated";

    Restart("QUORVANE_OEM", "Compaq iPAQ H3800 ");
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    EXPECT_EQ(FixedFrameBuffer(), nullptr) << "any other model writes through GXBeginDraw";
}

TEST_F(Display, ClosersAreSafeTwiceAndBeforeOpening) {
    EXPECT_EQ(GXCloseDisplay(), 1);
    EXPECT_EQ(GXCloseInput(), 1);
    EXPECT_EQ(GXResume(), 1);
    EXPECT_EQ(GXSuspend(), 1);
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    GXSuspend();
    EXPECT_NE(GXBeginDraw(), nullptr) << "still drawable while suspended";
    GXEndDraw();
    GXCloseDisplay();
    GXCloseDisplay();
    EXPECT_EQ(GXBeginDraw(), nullptr);
    GXCloseInput();
    GXCloseInput();

    GXKeyList keys = GXGetDefaultKeys(GX_NORMALKEYS);
    const int16_t all[] = {keys.vkUp, keys.vkDown, keys.vkLeft, keys.vkRight,
                           keys.vkA, keys.vkB, keys.vkC, keys.vkStart};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_NE(all[i], 0);
        for (size_t j = i + 1; j < 8; ++j) EXPECT_NE(all[i], all[j]);
    }
}

TEST_F(Display, PixelConversionUsesTheGamesFormatOrder) {
    uint8_t r = 0, g = 0, b = 0;
    PixelToRgb(0xF800, LayoutForFormat(0x80), &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    // With both flags the game draws 5-5-5.
    PixelToRgb(0x7C00, LayoutForFormat(0xC0), &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(b, 0);
    PixelToRgb(0x0F0F, LayoutForFormat(0x200), &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 255);
    PixelToRgb(0x0421, LayoutForFormat(0x40), &r, &g, &b);
    EXPECT_EQ(r, 8);
    EXPECT_EQ(g, 8);
    EXPECT_EQ(b, 8);
}

// The capture directory need not exist yet: it is made with the first frame.
TEST_F(Display, ChosenFramesAreWrittenAsPng) {
    const std::string frames = dir_.Path("new/frames");
    setenv("QUORVANE_CAPTURE_DIR", frames.c_str(), 1);
    Restart("QUORVANE_CAPTURE", "2,4-5");
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    for (int i = 0; i < 6; ++i) {
        GXBeginDraw();
        GXEndDraw();
    }
    unsetenv("QUORVANE_CAPTURE_DIR");
    EXPECT_FALSE(std::filesystem::exists(frames + "/frame-00001.png"));
    EXPECT_TRUE(std::filesystem::exists(frames + "/frame-00002.png"));
    EXPECT_FALSE(std::filesystem::exists(frames + "/frame-00003.png"));
    EXPECT_TRUE(std::filesystem::exists(frames + "/frame-00004.png"));
    EXPECT_TRUE(std::filesystem::exists(frames + "/frame-00005.png"));
    EXPECT_FALSE(std::filesystem::exists(frames + "/frame-00006.png"));
    EXPECT_EQ(TraceOf("capture").size(), 3u);
}

}  // namespace
}  // namespace qv
