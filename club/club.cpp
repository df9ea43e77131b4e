// The club screen manager: placeholder until the club screens are built. It
// shows a plain screen that starts a quick game on a tap, and takes its share
// of the loading steps.
#include "club/club.h"

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/loading_screen.h"

namespace qv {

Club gClub;

namespace {

constexpr int kPanoramaFrameCount = 50;
// The quick-game button of the placeholder screen.
constexpr int kQuickX = 60, kQuickY = 150, kQuickWidth = 120, kQuickHeight = 26;

bool OnQuickGameButton(int x, int y) {
    return x >= kQuickX && x < kQuickX + kQuickWidth && y >= kQuickY && y < kQuickY + kQuickHeight;
}

void DrawCentred(const WString& text, int y, int8_t buffer) {
    DrawText(text, (kScreenWidth - gFont.TextWidth(text)) / 2, y, gFont, buffer);
}

// The placeholder's screen: black with the program's name and a button.
void DrawBackground(int8_t buffer) {
    FillBuffer(0, buffer);
    FillRect(kQuickX, kQuickY, kQuickWidth, kQuickHeight, TextColour(10), buffer);
    FillRect(kQuickX + 2, kQuickY + 2, kQuickWidth - 4, kQuickHeight - 4, 0, buffer);
    if (gFont.IsLoaded()) {
        DrawCentred(u"Quorvane", kQuickY - 40, buffer);
        DrawCentred(u"Quick game", kQuickY + (kQuickHeight - gFont.GetHeight()) / 2, buffer);
    }
}

}  // namespace

// Placeholder until the club is built: draws the background once.
int Club::Update() {
    if (!drawn_) {
        DrawBackground(0);
        drawn_ = 1;
    }
    return 1;
}

// Placeholder until the club is built: a press and release on the button
// starts a quick game as the character screen will: the current character is
// saved first and the quick game runs without a character slot, so nothing of
// it is saved.
void Club::StylusDown(uint16_t x, uint16_t y) { pressed_ = OnQuickGameButton(x, y) ? 1 : 0; }
// Placeholder until the club is built: does nothing.
void Club::StylusMove(uint16_t /*x*/, uint16_t /*y*/) {}
void Club::StylusUp(uint16_t x, uint16_t y) {
    const bool start = pressed_ && OnQuickGameButton(x, y);
    pressed_ = 0;
    if (!start) return;
    SavePlayer();
    gProfile.SetSlot(255);
    StartQuickGame();
}

// Placeholder until the club is built: draws the background.
void Club::RedrawCurrentScreen(int buffer) {
    DrawBackground(static_cast<int8_t>(buffer));
    if (buffer == 0) {
        drawn_ = 1;
    }
}

// Placeholder until the club is built: loads nothing.
void Club::LoadButtons() {}

// Placeholder until the club is built: loads no frame but takes the 50
// loading steps, so that start-up's steps add up.
void Club::LoadPanorama() {
    for (int frame = 1; frame <= kPanoramaFrameCount; ++frame) {
        gLoadingScreen.Step();
    }
}

// Placeholder until the club is built: the background is drawn on the next update.
void Club::OpenCharacterScreen() { drawn_ = 0; }

// Placeholder until the club is built: writes nothing.
void Club::WriteState(platform::FileHandle /*file*/) {}
// Placeholder until the club is built: reads nothing.
void Club::ReadState(platform::FileHandle /*file*/) {}

}  // namespace qv
