// The message box answered by scripted taps, word wrapping and the tap waits,
// on the headless backend with a generated font.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/font_sheet.h"

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/picture_loader.h"
#include "engine/wstring.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

// The standard box is at (40, 120), 160 x 80, border 3: labels on row 184,
// "Cancel" (25 pixels) answering for 43 < x < 73, "Ok" (9 pixels) for
// 183 < x < 197, both for 172 < y < 197.
constexpr const char* kScript = R"(
on gamebox Box A
down 194 185
up 120 150
wait 100
down 194 185
up 50 185
wait 100
down 50 185
up 70 190
on gamebox Box B
tap 50 185
wait 100
tap 194 185
on gamebox Box C
tap 194 185
on gamebox Box D
tap 43 185
wait 100
tap 73 185
wait 100
tap 50 172
wait 100
tap 50 197
wait 100
tap 184 185
on gamebox Box E
tap 197 185
wait 100
tap 183 185
wait 100
tap 194 172
wait 100
tap 194 197
wait 100
tap 44 173
on gamebox Not found.
tap 50 185
wait 100
tap 194 185
)";

class MessageBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("msgbox");
        const std::string script = kScript;
        test::WriteBytes(dir_ / "script.txt", {script.begin(), script.end()});
        ::setenv("QUORVANE_SCRIPT", (dir_ / "script.txt").c_str(), 1);
        test::StartHeadless(dir_);
        test::OpenScreen();
        gGamma = 0;
        gTransparentKey = BrightenColour(0, 0);
        gInstallDir = test::HandheldPath(dir_) + u"\\";
        ASSERT_TRUE(
            test::WriteFontSheet(dir_ / "GFX" / "GENERAL" / "NEW FONT.QVB", Font::kCutCount));
    }
    void SetUp() override {
        if (!gFont.IsLoaded()) gFont.Load(gInstallDir + u"GFX\\GENERAL\\NEW FONT.QVB", true, true);
        ASSERT_TRUE(gFont.IsLoaded());
    }

    static bool StandardBox(const WString& text, const WString& left, const WString& right) {
        return ShowNote(text, left, right);
    }

    // Where the glyph of the character was drawn in buffer 0 (its marked corner).
    static std::vector<std::pair<int, int>> Drawn(char16_t c, int buffer = 0) {
        int n = static_cast<int>(std::find(Font::kCutOrder, Font::kCutOrder + Font::kCutCount, c) -
                                 Font::kCutOrder);
        uint8_t r, g, b;
        test::GlyphMark(n, r, g, b);
        uint16_t mark = ConvertRgbPixel(r, g, b);
        std::vector<std::pair<int, int>> at;
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 240; ++x) {
                if (gScreenBuffers[buffer][y * 240 + x] == mark) at.emplace_back(x, y);
            }
        }
        return at;
    }

    static void Clear(int buffer) { FillRect(0, 0, 240, 320, 0x0841, static_cast<int8_t>(buffer)); }

    static inline std::filesystem::path dir_;
};

using Points = std::vector<std::pair<int, int>>;

TEST_F(MessageBoxTest, WrappedTextBreaksBeforeWordsThatDoNotFit) {
    Clear(0);
    DrawWrappedText(u"AAA BBB CCC", 10, 20, 50, 0);
    EXPECT_EQ(Drawn(u'B'), (Points{{28, 20}, {33, 20}, {38, 20}}));
    EXPECT_EQ(Drawn(u'C'), (Points{{10, 29}, {15, 29}, {20, 29}}));  // line height 9

    Clear(0);
    DrawWrappedTextColoured(u"AAA BBB CCC", 10, 20, 40, 11, 0);
    EXPECT_EQ(Drawn(u'C'), (Points{{10, 30}, {15, 30}, {20, 30}}));  // one pixel further

    Clear(0);
    DrawWrappedText(u"AB\nCD", 10, 20, 200, 0);
    EXPECT_EQ(Drawn(u'C'), (Points{{10, 29}}));
    Clear(0);
    DrawWrappedTextColoured(u"AB\nCD", 10, 20, 200, 11, 0);
    EXPECT_EQ(Drawn(u'C'), (Points{{20, 20}}));  // no line break there
}

TEST_F(MessageBoxTest, WordWiderThanALineBreaksWhereItStopsFitting) {
    Clear(0);
    DrawWrappedText(u"XY AAAAAAAAAAAA", 10, 20, 40, 0);
    Points expected;
    for (int line = 1; line <= 2; ++line) {
        for (int i = 0; i < 6; ++i) expected.emplace_back(10 + 5 * i, 20 + 9 * line);
    }
    EXPECT_EQ(Drawn(u'A'), expected);

    Clear(0);
    DrawWrappedText(u"AAAAAAAAAAAA", 10, 20, 40, 0);
    Points first = Drawn(u'A');
    ASSERT_EQ(first.size(), 12u);
    EXPECT_EQ(first.front(), std::make_pair(10, 20));  // no empty line first
    EXPECT_EQ(first.back(), std::make_pair(35, 29));

    // A path-like word in the standard box stays on the screen.
    Clear(0);
    DrawWrappedText(WString(200, u'W'), 48, 128, 193, 0);
    for (auto [x, y] : Drawn(u'W')) {
        EXPECT_LE(x + 5, 193);
        EXPECT_LT(y, 320);
    }
}

// The wrapping walk as first written: every character measures the rest of
// its word. It is what DrawWrappedText must reproduce whenever words fit.
void ReferenceWrap(const WString& text, int left, int top, int limit, int8_t buffer) {
    int x = left, y = top;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            x = left;
            y += gFont.GetHeight();
            continue;
        }
        int run = 0;
        for (size_t j = i; j < text.size() && !IsWordSeparator(text[j]); ++j) {
            run += gFont.GetGlyph(text[j] & 0xFF).width;
        }
        if (x + run > limit) {
            x = left;
            y += gFont.GetHeight();
        }
        DrawText(WString(1, text[i]), x, y, gFont, buffer);
        x += gFont.GetGlyph(text[i] & 0xFF).width;
    }
}

TEST_F(MessageBoxTest, WrappingIsUnchangedForTextsWhoseWordsFit) {
    std::mt19937 random(1234);
    const WString separators = u" ,;.!?\n";
    int checked = 0;
    for (int round = 0; round < 300; ++round) {
        int width = 30 + static_cast<int>(random() % 150);
        WString text;
        int words = 1 + static_cast<int>(random() % 15);
        for (int w = 0; w < words; ++w) {
            WString word;
            while (true) {
                char16_t first = random() % 2 ? u'A' : u'a';
                char16_t c = static_cast<char16_t>(first + random() % 26);
                if (gFont.TextWidth(word + c) > width) break;
                word += c;
                if (random() % 4 == 0) break;
            }
            text += word;
            text += separators[random() % separators.size()];
        }
        // A run between separators goes on across a line break.
        int run = 0;
        bool fits = true;
        for (char16_t c : text) {
            run = IsWordSeparator(c) ? 0 : run + gFont.GetGlyph(c & 0xFF).width;
            fits = fits && run <= width;
        }
        if (!fits) continue;
        ++checked;
        Clear(0);
        Clear(2);
        DrawWrappedText(text, 10, 5, static_cast<int16_t>(10 + width), 0);
        ReferenceWrap(text, 10, 5, 10 + width, 2);
        ASSERT_TRUE(std::equal(gScreenBuffers[0], gScreenBuffers[0] + 240 * 320, gScreenBuffers[2]))
            << "round " << round << " width " << width << " text " << Narrow(text);
    }
    EXPECT_GT(checked, 150);
}

TEST_F(MessageBoxTest, TapWaitsTakeOnlyTheStylusAndEndOnTheirMessage) {
    uint32_t start = platform::GetTickCount();
    EXPECT_FALSE(WaitForTapOrTimeout(2000));
    uint32_t waited = platform::GetTickCount() - start;
    EXPECT_GE(waited, 2000u);
    EXPECT_LT(waited, 2100u);

    platform::PostMessage(nullptr, platform::WM_KEYDOWN, 0x26, 0);
    platform::PostMessage(nullptr, platform::WM_LBUTTONUP, 0, platform::MakeLParam(1, 1));
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(2, 2));
    start = platform::GetTickCount();
    EXPECT_TRUE(WaitForTapOrTimeout(2000));
    EXPECT_LT(platform::GetTickCount() - start, 100u);
    platform::Msg msg;
    ASSERT_TRUE(platform::PeekMessage(&msg, 0, 0, true));  // the key is still queued
    EXPECT_EQ(msg.message, platform::WM_KEYDOWN);

    uint16_t x = 0, y = 0;
    platform::PostMessage(nullptr, platform::WM_MOUSEMOVE, 0, platform::MakeLParam(1, 2));
    platform::PostMessage(nullptr, platform::WM_LBUTTONUP, 0, platform::MakeLParam(3, 4));
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(5, 6));
    WaitForTapDown(x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(7, 8));
    platform::PostMessage(nullptr, platform::WM_LBUTTONUP, 0, platform::MakeLParam(239, 319));
    WaitForTapUp(x, y);
    EXPECT_EQ(x, 239);
    EXPECT_EQ(y, 319);
}

TEST_F(MessageBoxTest, BoxWithoutLabelsOnlyDraws) {
    test::FillPattern(0, 21);
    test::FillPattern(1, 22);
    const std::vector<uint16_t> saved = test::BufferCopy(1);
    const int presents = test::CountPresents(dir_ / "trace.txt");
    EXPECT_FALSE(StandardBox(u"AAA", u"", u""));
    EXPECT_EQ(test::CountPresents(dir_ / "trace.txt"), presents);
    EXPECT_EQ(test::BufferCopy(1), saved);
    EXPECT_EQ(Drawn(u'A').size(), 3u);
}

// Every box of the script in turn; each answers only a press and a release
// on the same non-empty label, inside strict bounds.
TEST_F(MessageBoxTest, ScriptedTapsAnswerOnlyPressAndReleaseOnALabel) {
    struct Case {
        const char16_t* text;
        const char16_t* left;
        const char16_t* right;
        bool preTap;  // a tap queued before the box opens
        bool answer;
    };
    const Case cases[] = {
        {u"Box A: released off the label, then on the other one", u"Cancel", u"Ok", false, true},
        {u"Box B: no left label", u"", u"Ok", false, false},
        {u"Box C: an earlier tap does not count", u"Cancel", u"Ok", true, false},
        {u"Box D: left bounds are strict", u"Cancel", u"Ok", false, false},
        {u"Box E: right bounds are strict", u"Cancel", u"Ok", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.text));
        test::FillPattern(0, 99);
        const std::vector<uint16_t> screen = test::BufferCopy(0);
        if (c.preTap) {
            const platform::LParam onCancel = platform::MakeLParam(60, 185);
            platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, onCancel);
            platform::PostMessage(nullptr, platform::WM_LBUTTONUP, 0, onCancel);
        }
        EXPECT_EQ(StandardBox(c.text, c.left, c.right), c.answer);
        EXPECT_EQ(test::BufferCopy(0), screen);  // the screen under the box is back
    }

    // A missing picture's note waits for its "Ok" like any box.
    Picture picture;
    EXPECT_FALSE(LoadPicture(gInstallDir + u"GFX\\nothing.QVG", picture, true));
    EXPECT_EQ(picture.width, 0);
    FreePicture(picture);

    const std::string trace = test::ReadText(dir_ / "trace.txt");
    std::string answers;
    for (size_t at = trace.find("gamebox-answer "); at != std::string::npos;
         at = trace.find("gamebox-answer ", at + 1)) {
        answers += trace.substr(at + 15, trace.find('\n', at) - at - 15) + " ";
    }
    EXPECT_EQ(answers, "left right right right left right ");
    EXPECT_NE(trace.find("gamebox Quorvane/n/nError : "), std::string::npos);
    EXPECT_NE(trace.find("nothing.QVG Not found. |  | Ok"), std::string::npos);
}

TEST_F(MessageBoxTest, SystemBoxStandsInWhileTheFontIsNotLoaded) {
    gFont.Free();
    EXPECT_FALSE(StandardBox(u"Fallback question", u"No", u"Ok"));  // OK is the right label
    EXPECT_TRUE(StandardBox(u"Fallback left only", u"Cancel", u""));
    const std::string trace = test::ReadText(dir_ / "trace.txt");
    EXPECT_NE(trace.find("msgbox \"Fallback question\""), std::string::npos);
    EXPECT_NE(trace.find("msgbox \"Fallback left only\""), std::string::npos);
}

}  // namespace
}  // namespace qv
