// The rooms' message boxes with the real font: a text that fits keeps its
// box, a longer one gets a box that holds it, always on the screen.
#include <gtest/gtest.h>

#include "club/room_notes.h"
#include "engine/font.h"
#include "engine/message_box.h"
#include "tests/support/match_driver.h"

namespace qv {
namespace {

class RoomNotesTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        if (!gFont.IsLoaded()) test::LoadGameFont();
        ASSERT_TRUE(gFont.IsLoaded());
    }

    // The text's last row stays above the label row (or the bottom border)
    // and the box on the screen.
    static void ExpectHolds(const WString& text, bool labels, BoxRect box) {
        const BoxRect fitted = FitBoxToText(text, labels, box);
        EXPECT_GE(fitted.x, 0);
        EXPECT_GE(fitted.y, 0);
        EXPECT_LE(fitted.x + fitted.width, 240);
        EXPECT_LE(fitted.y + fitted.height, 320);
        const int top = fitted.y + 8;
        const int rows = WrappedTextHeight(text, static_cast<int16_t>(fitted.x + 8),
                                           static_cast<int16_t>(fitted.x + fitted.width - 7));
        const int limit = fitted.y + fitted.height - 3 - (labels ? 25 : 0);
        if (fitted.height < 320) {
            EXPECT_LE(top + rows, limit) << Narrow(text);
        }
    }
};

TEST_F(RoomNotesTest, ShortTextKeepsItsBox) {
    const BoxRect note{40, 120, 160, 80};
    const BoxRect fitted = FitBoxToText(u"Deck Cleared.", true, note);
    EXPECT_EQ(fitted.x, note.x);
    EXPECT_EQ(fitted.y, note.y);
    EXPECT_EQ(fitted.width, note.width);
    EXPECT_EQ(fitted.height, note.height);
}

TEST_F(RoomNotesTest, LongTextsGetABoxThatHoldsThem) {
    const WString deckDone =
        u"Now that you have finished your first deck, you have to go to the Instant Play menu, "
        u"and choose a partner to play a game, and then we'll see the rules.\n\n HINT: The "
        u"instant play and tounaments are the places to go to earn cash and reputation.";
    const BoxRect note{40, 120, 160, 80};
    const BoxRect fitted = FitBoxToText(deckDone, true, note);
    EXPECT_GT(fitted.height, note.height);
    EXPECT_EQ(fitted.y + fitted.height / 2, note.y + note.height / 2) << "around the same middle";
    ExpectHolds(deckDone, true, note);

    WString long1500;
    for (int i = 0; i < 150; ++i) long1500 += u"card shop ";
    ExpectHolds(long1500, true, note);
    ExpectHolds(long1500, false, BoxRect{5, 180, 230, 115});
    const BoxRect huge = FitBoxToText(long1500 + long1500 + long1500, true, note);
    EXPECT_EQ(huge.height, 320) << "never beyond the screen";
    EXPECT_EQ(huge.y, 0);
}

}  // namespace
}  // namespace qv
