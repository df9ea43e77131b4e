// Message boxes of the club rooms, grown when their text would overflow.
#include "club/room_notes.h"

#include <algorithm>

#include "engine/display.h"
#include "engine/message_box.h"

namespace qv {

namespace {

constexpr int kBorder = 3;
constexpr int kTextInset = kBorder + 5;  // the box's text starts this far in
constexpr int kRightInset = 7;           // and wraps this far from its right
constexpr int kLabelBand = 25;           // the labels' row above the bottom border
constexpr int kMargin = 5;               // a widened box keeps this much screen around it

// Rows the box offers its text, and rows the text needs.
int RoomFor(const BoxRect& box, bool hasLabels) {
    return box.height - kTextInset - kBorder - (hasLabels ? kLabelBand : 0);
}
int RowsNeeded(const WString& message, const BoxRect& box) {
    return WrappedTextHeight(message, static_cast<int16_t>(box.x + kTextInset),
                             static_cast<int16_t>(box.x + box.width - kRightInset));
}

// The box made taller by the missing rows around its middle, kept on screen.
BoxRect Grow(const BoxRect& box, int missing) {
    BoxRect grown = box;
    const int height = std::min(kScreenHeight, box.height + missing);
    const int middle = box.y + box.height / 2;
    const int top = std::clamp(middle - height / 2, 0, kScreenHeight - height);
    grown.height = static_cast<int16_t>(height);
    grown.y = static_cast<int16_t>(top);
    return grown;
}

}  // namespace

BoxRect FitBoxToText(const WString& message, bool hasLabels, BoxRect box) {
    const int missing = RowsNeeded(message, box) - RoomFor(box, hasLabels);
    if (missing <= 0) return box;
    const BoxRect taller = Grow(box, missing);
    if (RowsNeeded(message, taller) <= RoomFor(taller, hasLabels)) return taller;
    // Even the whole height is too short: wider lines take fewer rows.
    const BoxRect wide{kMargin, box.y, static_cast<int16_t>(kScreenWidth - 2 * kMargin),
                       box.height};
    const int stillMissing = RowsNeeded(message, wide) - RoomFor(wide, hasLabels);
    return stillMissing <= 0 ? wide : Grow(wide, stillMissing);
}

bool ShowRoomBox(const WString& message, const WString& leftLabel, const WString& rightLabel,
                 uint8_t grey, BoxRect box) {
    const bool hasLabels = !leftLabel.empty() || !rightLabel.empty();
    const BoxRect fitted = FitBoxToText(message, hasLabels, box);
    return ShowMessageBox(message, leftLabel, rightLabel, grey, fitted.x, fitted.y, fitted.width,
                          fitted.height, 20, 3, kBorder);
}

void ShowRoomNote(const WString& message) {
    ShowRoomBox(message, u"", u"Ok", 1, BoxRect{40, 120, 160, 80});
}

bool AskRoomQuestion(const WString& message, const WString& leftLabel,
                     const WString& rightLabel) {
    return ShowRoomBox(message, leftLabel, rightLabel, 1, BoxRect{40, 120, 160, 80});
}

void ShowTutorialHint(const WString& message, bool grey) {
    ShowRoomBox(message, u"", u"Ok", grey ? 1 : 0, BoxRect{20, 40, 200, 200});
}

const char16_t* LevelClosedNote(int level) {
    return level == 1 ? u"I can't play on this table, I need to have beaten all guests players, and won the "
                        u"guest's tourney."
                      : u"I can't play on this table, I need to have beaten all members players, and won the "
                        u"member's tourney.";
}

}  // namespace qv
