// The club screen manager: placeholder until the club screens are built. It
// shows a plain screen that starts a quick game on a tap, and takes its share
// of the loading steps.
#include "club/club.h"

#include "cards/launchers.h"

#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/loading_screen.h"

namespace qv {

Club gClub;

namespace {

constexpr int kPanoramaFrameCount = 50;

void DrawCentred(const WString& text, int y, int8_t buffer) {
    DrawText(text, (kScreenWidth - gFont.TextWidth(text)) / 2, y, gFont, buffer);
}

// The placeholder's screen: black with the program's name and how to play.
void DrawBackground(int8_t buffer) {
    FillBuffer(0, buffer);
    if (gFont.IsLoaded()) {
        DrawCentred(u"Quorvane", kScreenHeight / 2 - 20, buffer);
        DrawCentred(u"Tap the screen to play a quick game", kScreenHeight / 2, buffer);
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

// Placeholder until the club is built: a tap starts a quick game, as the
// character screen will.
void Club::StylusDown(uint16_t /*x*/, uint16_t /*y*/) { pressed_ = 1; }
// Placeholder until the club is built: does nothing.
void Club::StylusMove(uint16_t /*x*/, uint16_t /*y*/) {}
void Club::StylusUp(uint16_t /*x*/, uint16_t /*y*/) {
    if (!pressed_) return;
    pressed_ = 0;
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
