// The club view's drawing in this process: the room title sliding in, the
// description typed letter by letter and finished at once, the credits
// counter, and the QuickMenu's passes, checked against the pixels they leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cards/profile.h"
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

// Room 6's description, the longest, whose words wrap on several lines.
const char16_t kEliteText[] =
    u"These people handle the cards like no one. They're pros, isolating from the other players "
    u"and looking at me as the weakest man of the place. I'd like to show them what I'm made "
    u"of, but I need 2500 credits to enter the Elite tournament.";
constexpr int kEliteRoom = 6;

class ClubViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        // The font, the panorama and the arrows, as start-up loads them.
        if (!gFont.IsLoaded()) test::LoadGameFont();
        test::LoadClubViewPictures();
        gClubActive = 1;
        gClub.Reset();
        test::MakeLocalPlayer({});
    }
    void TearDown() override { gClub.Reset(); }

    static Picture Load(const char16_t* path) {
        Picture picture;
        LoadPicture(gInstallDir + path, picture, true);
        return picture;
    }

    // The club view standing at the room and drawn whole into buffer 0.
    static void ShowRoom(int room) {
        ASSERT_TRUE(test::StandAtRoom(room));
        gClub.Redraw(0);
    }

    static uint16_t At(int buffer, int x, int y) { return gScreenBuffers[buffer][y * kScreenWidth + x]; }

    // Rows first..last-1 of buffers 0 and 2 agree.
    static bool RowsMatch(int first, int last) {
        for (int y = first; y < last; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                if (At(0, x, y) != At(2, x, y)) {
                    ADD_FAILURE() << "first difference at (" << x << ", " << y << ")";
                    return false;
                }
            }
        }
        return true;
    }

    static int Width(char16_t c) { return gFont.GetGlyph(c & 0xFF).width; }

    // Buffer 2 as the description band should look: the background and the
    // text laid out from (10, 250). Letters before `finishFrom` are typed:
    // a word that would pass x 230 moves whole to the next line. The rest
    // are finished at once: a line breaks before a letter that would reach
    // x 230.
    static void DrawExpectedDescription(const std::u16string& text, size_t finishFrom) {
        FillBuffer(0, 2);
        Picture background = Load(u"GFX\\GENERAL\\BackgroundMenu.QVJ");
        BlitPicture(0, 240, background, 2);
        FreePicture(background);
        int x = 10, y = 250;
        for (size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            bool newLine;
            if (i < finishFrom) {
                int reach = x;
                for (size_t j = i; j < text.size() && !IsWordSeparator(text[j]); ++j) reach += Width(text[j]);
                newLine = reach > 230;
            } else {
                newLine = x + Width(c) >= 230;
            }
            if (newLine) {
                x = 10;
                y += gFont.GetHeight();
            }
            ASSERT_LT(y + gFont.GetHeight(), kScreenHeight) << "the text no longer fits the band";
            DrawText(WString(1, c), x, y, gFont, 2);
            x += Width(c);
        }
    }
};

// The title comes in from the left edge, 10 pixels a turn slowing by one
// every third turn down to 2; the arrows stay lit until more than half of
// it shows.
TEST_F(ClubViewTest, TitleSlidesInWhileTheArrowsStayLit) {
    Picture title = Load(u"GFX\\MENU\\TITLES\\InstantPlayTitle.QVG");
    Picture lit = Load(u"GFX\\MENU\\MENU\\LEFTON.QVG");
    Picture unlit = Load(u"GFX\\MENU\\MENU\\LEFTOFF.QVG");
    ASSERT_GT(title.width, 60);
    ASSERT_EQ(lit.width * lit.height, unlit.width * unlit.height);
    ShowRoom(1);
    int shown = 0, speed = 10, tick = 0, turns = 0, litTurns = 0;
    while (shown < title.width) {
        // The arrows follow the title as it stood before this turn's step.
        const Picture& arrow = shown > title.width / 2 ? unlit : lit;
        litTurns += &arrow == &lit;
        shown += speed;
        if (++tick > 2) {
            tick = 0;
            if (speed > 2) --speed;
        }
        shown = std::min<int>(shown, title.width);
        gClub.Update();
        ++turns;
        for (int y = 0; y < title.height; ++y) {
            for (int x = 0; x < title.width; ++x) {
                const uint16_t expected = x < shown ? title.pixels[y * title.width + title.width - shown + x] : 0;
                ASSERT_EQ(At(0, x, y), expected) << "turn " << turns << " at (" << x << ", " << y << ")";
            }
        }
        for (int i = 0; i < arrow.width * arrow.height; ++i) {
            if (arrow.pixels[i] == gTransparentKey || lit.pixels[i] == unlit.pixels[i]) continue;
            ASSERT_EQ(At(0, i % arrow.width, 129 + i / arrow.width), arrow.pixels[i])
                << "turn " << turns << (&arrow == &lit ? ": the arrow is not lit" : ": the arrow is lit");
        }
    }
    EXPECT_GT(litTurns, 2);
    EXPECT_LT(litTurns, turns);
    FreePicture(title);
    FreePicture(lit);
    FreePicture(unlit);
}

// A letter every fourth turn; the description counts as typed on the
// fourth turn after its last letter. Words that would pass x 230 start a
// new line at x 10.
TEST_F(ClubViewTest, DescriptionTypesEveryFourthTurnAndWrapsWholeWords) {
    const std::u16string text = kEliteText;
    ASSERT_EQ(static_cast<int>(text.size()), Club::RoomDescriptionLength(kEliteRoom));
    ShowRoom(kEliteRoom);
    const int turnsToType = 4 * static_cast<int>(text.size()) + 4;
    test::Turns(turnsToType - 1);
    EXPECT_TRUE(gClub.DescriptionActive());
    test::Turns(1);
    EXPECT_FALSE(gClub.DescriptionActive());
    DrawExpectedDescription(text, text.size());
    EXPECT_TRUE(RowsMatch(240, kScreenHeight));
}

// A tap that lands on nothing completes the title and the text at once;
// the letters still to come break before they would reach x 230, also in
// the middle of a word.
TEST_F(ClubViewTest, ATapFinishesTheDescriptionBreakingBeforeTheEdge) {
    const std::u16string text = kEliteText;
    ShowRoom(kEliteRoom);
    constexpr int kTyped = 60;
    test::Turns(4 * kTyped);
    ASSERT_TRUE(gClub.DescriptionActive());
    test::ClubTap(10, 25);
    EXPECT_FALSE(gClub.DescriptionActive());
    EXPECT_FALSE(gClub.InTransition()) << "the tap entered the room";
    DrawExpectedDescription(text, kTyped);
    EXPECT_TRUE(RowsMatch(240, kScreenHeight));

    Picture title = Load(u"GFX\\MENU\\TITLES\\EliteTournament.QVG");
    for (int i = 0; i < title.width * title.height; ++i) {
        ASSERT_EQ(At(0, i % title.width, i / title.width), title.pixels[i]) << "the title is not whole";
    }
    FreePicture(title);
}

// Key over (100, 50) to the right edge, then the whole number, a blank and
// "Credits" in yellow, ending at x 235.
TEST_F(ClubViewTest, CreditsCounterShowsEveryDigitEndingAt235) {
    test::SetCredits(1234567);
    ShowRoom(1);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) gScreenBuffers[2][y * kScreenWidth + x] = At(0, x, y);
    }
    const WString text = u"1234567 Credits";
    FillRect(100, 50, 140, gFont.GetHeight(), gTransparentKey, 2);
    DrawColouredText(text, 235 - gFont.TextWidth(text), 50, gFont, 3, 2);
    gClub.DrawCreditsCounter(0);
    EXPECT_TRUE(RowsMatch(50, 50 + gFont.GetHeight()));
}

// The panel unrolls in 19 passes and shows whole, and rolls back into its
// tab in 19 passes and a last one: each pass is one present.
TEST_F(ClubViewTest, QuickMenuSlidesInNineteenPassesEachWay) {
    ShowRoom(1);
    const int before = test::TraceCount(" present ");
    gClub.SlideQuickMenuOpen();
    EXPECT_EQ(test::TraceCount(" present ") - before, 20);
    Picture menu = Load(u"GFX\\MENU\\QuickMenu.QVG");
    const int left = kScreenWidth - menu.width;
    for (int i = 0; i < menu.width * menu.height; ++i) {
        ASSERT_EQ(At(0, left + i % menu.width, i / menu.width), menu.pixels[i]) << "the panel is not whole";
    }
    const int opened = test::TraceCount(" present ");
    gClub.SlideQuickMenuClosed();
    EXPECT_EQ(test::TraceCount(" present ") - opened, 20);
    // The tab is back at the top right, the panorama below it.
    for (int y = 0; y < menu.height - 110; ++y) {
        for (int x = 0; x < menu.width; ++x) {
            ASSERT_EQ(At(0, left + x, y), menu.pixels[(110 + y) * menu.width + x]) << "the tab is not back";
        }
    }
    FreePicture(menu);
}

}  // namespace
}  // namespace qv
