// The club rooms' message boxes: notes, questions and tutorial hints in their
// usual places, grown to hold a text that would run out of them.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace qv {

// A box's rectangle.
struct BoxRect {
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;
    int16_t height = 0;
};

// The rectangle that holds the text in gFont: the given one when the text
// fits above the label row (or above the bottom without labels); otherwise
// taller around the same middle, and as wide as the screen allows when
// even the whole height is too short. Always inside 240 x 320.
BoxRect FitBoxToText(const WString& message, bool hasLabels, BoxRect box);

// ShowMessageBox in the fitted rectangle with frame shade 20, pressed colour
// 3 and border 3; true for the left label.
bool ShowRoomBox(const WString& message, const WString& leftLabel, const WString& rightLabel,
                 uint8_t grey, BoxRect box);
// The one-line note: (40, 120), 160 x 80, grey, "Ok" on the right.
void ShowRoomNote(const WString& message);
// A question at the note's place: true for the left (refusing) label.
bool AskRoomQuestion(const WString& message, const WString& leftLabel, const WString& rightLabel);
// A tutorial hint: (20, 40), 200 x 200, "Ok" on the right.
void ShowTutorialHint(const WString& message, bool grey = true);
// The note of the member (1) or elite (2) level while its tables and its
// tournament are closed.
const char16_t* LevelClosedNote(int level);
// The note of a player without sixteen cards, before the shop opens.
inline constexpr char16_t kTooFewCardsNote[] =
    u"I don't have enough cards to play a game, I should buy some more.\nLet's go to the shop.";

}  // namespace qv
