// Cutting the bitmap font from a generated sheet, measuring and drawing text.
#include <gtest/gtest.h>

#include "tests/support/font_sheet.h"

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/picture_loader.h"
#include "platform/display.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

class FontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("font");
        test::StartHeadless(dir_);
        gPixelFormat = platform::kfDirect565;
        AllocScreenBuffers(240, 320);
        ASSERT_TRUE(test::WriteFontSheet(dir_ / "full.png", Font::kCutCount));
        ASSERT_TRUE(test::WriteFontSheet(dir_ / "partial.png", 30));
        // Two lines only: the second starts right after a single magenta row.
        ASSERT_TRUE(test::WriteFontSheet(dir_ / "wide.png", 30, {26, 1, 2, 180}));
    }
    void TearDown() override { Use(128, 0); }

    static void Use(int format, int gamma) {
        gPixelFormat = format;
        gGamma = static_cast<int8_t>(gamma);
        gTransparentKey = BrightenColour(0, gGamma);
    }

    static WString Path(const std::string& name) { return test::HandheldPath(dir_ / name); }
    static uint16_t& At(int x, int y) { return gScreenBuffers[0][y * 240 + x]; }

    static inline std::filesystem::path dir_;
};

int LineHeightOf(int n, int perLine) { return n / perLine == 1 ? 9 : 8; }

TEST_F(FontTest, CutsEveryGlyphInOrderInEveryFormatAndGamma) {
    for (int format : {platform::kfDirect565, platform::kfDirect555, platform::kfDirect444}) {
        for (int gamma : {0, 40, -56}) {
            SCOPED_TRACE(testing::Message() << "format " << format << " gamma " << gamma);
            Use(format, gamma);
            Font font;
            font.Load(Path("full.png"), true, true);
            ASSERT_TRUE(font.IsLoaded());
            EXPECT_EQ(font.GetHeight(), 9);
            for (int n = 0; n < Font::kCutCount; ++n) {
                const Picture glyph = font.GetGlyph(Font::kCutOrder[n]);
                ASSERT_EQ(glyph.width, test::SheetGlyphWidth(n)) << "glyph " << n;
                ASSERT_EQ(glyph.height, LineHeightOf(n, 20)) << "glyph " << n;
                uint8_t r, g, b;
                test::GlyphMark(n, r, g, b);
                EXPECT_EQ(glyph.pixels[0], ConvertRgbPixel(r, g, b)) << "glyph " << n;
                EXPECT_EQ(glyph.pixels[glyph.width * glyph.height - 1],
                          ConvertRgbPixel(255, 255, 255));
            }
        }
    }
}

TEST_F(FontTest, SecondLineStartsAtColumnZeroBelowASingleGapRow) {
    Font font;
    font.Load(Path("wide.png"), true, false);
    // 'A'..'Z' on the first line, 'a'..'d' on the second.
    const Picture first = font.GetGlyph('a');
    ASSERT_EQ(first.height, 9);
    uint8_t r, g, b;
    test::GlyphMark(26, r, g, b);
    EXPECT_EQ(first.pixels[0], ConvertRgbPixel(r, g, b));
    EXPECT_EQ(font.GetGlyph('Z').height, 8);
    EXPECT_EQ(font.TextWidth(u"Zabcd"), 5 + 4 * 4);
    EXPECT_EQ(font.GetGlyph('e').width, 0);
}

TEST_F(FontTest, RedCellsBecomeTransparentOnlyWithTheRedKey) {
    for (int format : {platform::kfDirect565, platform::kfDirect555, platform::kfDirect444}) {
        for (int gamma : {0, 40, -56}) {
            SCOPED_TRACE(testing::Message() << "format " << format << " gamma " << gamma);
            Use(format, gamma);
            Font keyed, plain;
            keyed.Load(Path("partial.png"), true, true);
            plain.Load(Path("partial.png"), true, false);
            EXPECT_EQ(keyed.GetGlyph('A').pixels[1 * 5 + 1], gTransparentKey);
            EXPECT_EQ(plain.GetGlyph('A').pixels[1 * 5 + 1], ConvertRgbPixel(255, 0, 0));

            // Drawn keyed, the background shows through the red and black cells.
            FillRect(0, 0, 240, 320, ConvertRgbPixel(10, 200, 30), 0);
            DrawText(u"A", 20, 20, keyed, 0);
            EXPECT_EQ(At(21, 21), ConvertRgbPixel(10, 200, 30));
            EXPECT_EQ(At(22, 22), ConvertRgbPixel(10, 200, 30));
            EXPECT_EQ(At(24, 27), ConvertRgbPixel(255, 255, 255));
        }
    }
}

TEST_F(FontTest, AbsentGlyphsMeasureNothingAndDrawNothing) {
    Font font;
    font.Load(Path("partial.png"), true, true);
    EXPECT_EQ(font.TextWidth(u"A%B"), 10);
    EXPECT_EQ(font.TextWidth(u"abe5"), 8);  // 'e' and '5' lie beyond the sheet
    EXPECT_EQ(font.GetGlyph(255).width, 0);
    EXPECT_EQ(font.GetGlyph(255).pixels, nullptr);
    EXPECT_EQ(font.TextWidth(WString(1, char16_t{0xFF})), 0);

    test::FillPattern(0, 5);
    const std::vector<uint16_t> before = test::BufferCopy(0);
    DrawText(u"%e5\u00FF", 30, 30, font, 0);
    DrawColouredText(u"%e5\u00FF", 30, 30, font, 3, 0);
    EXPECT_EQ(test::BufferCopy(0), before);

    Font missing;
    missing.Load(Path("no such font.png"), true, true);
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.GetHeight(), 0);
    EXPECT_EQ(missing.TextWidth(u"ABC"), 0);
}

TEST_F(FontTest, ColouredTextMasksGlyphPixelsAndFallsBackToPlain) {
    for (int format : {platform::kfDirect565, platform::kfDirect555, platform::kfDirect444}) {
        Use(format, 0);
        Font font;
        font.Load(Path("partial.png"), false, false);  // opaque: the whole cell draws
        FillRect(0, 0, 240, 320, 0, 0);
        DrawText(u"B", 0, 0, font, 0);
        const std::vector<uint16_t> plain = test::BufferCopy(0);
        for (int index : {-1, 11, 12}) {
            FillRect(0, 0, 240, 320, 0, 0);
            DrawColouredText(u"B", 0, 0, font, index, 0);
            EXPECT_EQ(test::BufferCopy(0), plain) << "index " << index;
        }
        DrawColouredText(u"B", 0, 0, font, 10, 0);
        EXPECT_EQ(At(4, 7), TextColour(10));  // white & gold
        EXPECT_EQ(At(0, 0), plain[0] & TextColour(10));
    }
    Use(64, 0);
    EXPECT_EQ(TextColour(9), 0x7CE0);  // the redder orange of 5-5-5
}

TEST_F(FontTest, TextIsClippedAtTheScreenEdges) {
    Font font;
    font.Load(Path("partial.png"), true, true);
    FillRect(0, 0, 240, 320, 0x1234, 0);
    DrawText(u"BBBB", 232, 314, font, 0);
    EXPECT_EQ(At(232, 314), font.GetGlyph('B').pixels[0]);
    EXPECT_EQ(At(237, 314), font.GetGlyph('B').pixels[0]);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(At(x, 315), 0x1234) << x;  // no wrap into the next row
}

}  // namespace
}  // namespace qv
