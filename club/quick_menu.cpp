// The club view's QuickMenu: the panel that slides down from its tab, jumps
// straight into a room or leaves the program.
#include <string>

#include "cards/card_database.h"
#include "cards/saves.h"
#include "club/club.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/system.h"

namespace qv {

namespace {

constexpr int kPanelHeight = 110;  // rows above are the panel, rows below the tab
constexpr int kRowTop = 2;         // the first of the nine rows
constexpr int kRowHeight = 12;
constexpr int kQuitRow = 8;
constexpr uint32_t kPassMs = 5;

// The room of rows 0 to 7, entered at its own frame; row 8 leaves the
// program and rows 9 and below (the tab) enter the room the view stands at.
constexpr int16_t kJumpRooms[kQuitRow] = {8, 7, 4, 5, 6, 3, 1, 0};

// Presents the pass, then waits its pace on the tick without the music,
// giving the processor away for up to 1 ms a turn.
void EndPass() {
    PresentScreen();
    UpdateMusic();
    const uint32_t start = platform::GetTickCount();
    while (platform::GetTickCount() - start < kPassMs) platform::WaitForMessages(1);
}

// The row under the point, truncated toward zero as the original divided.
int RowAt(int y) { return (y - kRowTop) / kRowHeight; }

}  // namespace

// The panel unrolls from the tab: each pass shows more of its rows.
void Club::SlideQuickMenuOpen() {
    platform::Trace("club", "quickmenu open");
    const int left = kScreenWidth - quickMenuOn_.width;
    int step = 18;
    for (int s = kPanelHeight; s > 0; s -= step, step = step > 2 ? step - 2 : 2) {
        BlitRect240(0, s, quickMenu_.width, quickMenu_.height - s, left, 0, quickMenu_, 0);
        EndPass();
    }
    BlitPicture(left, 0, quickMenu_, 0);
    PresentScreen();
}

// The row lights up while the stylus is down on it; a release on the same
// row acts, anything else only closes the panel. Each band is held to each
// picture's own height.
void Club::RunQuickMenu() {
    uint16_t x = 0, y = 0;
    WaitForTapDown(x, y);
    const int left = kScreenWidth - quickMenuOn_.width;
    const int height = quickMenuOn_.height;
    if (x > left && y < height) {
        const int row = RowAt(y);
        const int top = row * kRowHeight + kRowTop;
        BlitRect240(0, top, quickMenuOn_.width, kRowHeight, left, top, quickMenuOn_, 0);
        PresentScreen();
        uint16_t upX = 0, upY = 0;
        WaitForTapUp(upX, upY);
        BlitRect240(0, top, quickMenu_.width, kRowHeight, left, top, quickMenu_, 0);
        if (upX > left && upY < height && RowAt(upY) == row) {
            ActOnQuickMenuRow(row);
            return;
        }
    }
    SlideQuickMenuClosed();
}

void Club::ActOnQuickMenuRow(int row) {
    platform::Trace("club", "quickmenu row " + std::to_string(row));
    if (tutorialFlag_) {
        ShowNote(u"The QuickMenu is not accessible in the tutorial.");
        SlideQuickMenuClosed();
        return;
    }
    SlideQuickMenuClosed();
    currentType_ = kScreenClubView;
    if (row == kQuitRow) {
        // No question: the game is kept in the quick save and the character saved.
        SaveGameAndCharacter();
        CloseCardDatabase();
        platform::GXCloseInput();
        platform::GXCloseDisplay();
        platform::ExitProcess(0);
    }
    if (row < kQuitRow) {
        room_ = kJumpRooms[row];
        frame_ = static_cast<int16_t>(RoomFrame(room_));
    }
    FillRect(0, 0, kScreenWidth, title_.height, gTransparentKey, 0);
    BeginRoomShow(0);
    DrawQuickMenuTab(0);
    EnterRoom();
}

// The panel rolls back up into its tab over the panorama.
void Club::SlideQuickMenuClosed() {
    const int left = kScreenWidth - quickMenuOn_.width;
    auto clearPanel = [&] {
        FillRect(left, 0, quickMenuOn_.width, quickMenuOn_.height, gTransparentKey, 0);
        DrawCurrentFrame(0);
        DrawCreditsCounter(0);
    };
    int step = 18;
    for (int s = 0; s < kPanelHeight; s += step, step = step > 2 ? step - 2 : 2) {
        clearPanel();
        BlitRect240(0, s, quickMenu_.width, quickMenu_.height - s, left, 0, quickMenu_, 0);
        DrawArrows(0);
        EndPass();
    }
    clearPanel();
    DrawQuickMenuTab(0);
    DrawArrows(0);
    PresentScreen();
    platform::Trace("club", "quickmenu closed");
}

}  // namespace qv
