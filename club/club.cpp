// The club screen manager: placeholder until the club screens are built. It
// shows a plain background and takes its share of the loading steps.
#include "club/club.h"

#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/loading_screen.h"

namespace qv {

Club gClub;

namespace {

constexpr int kPanoramaFrameCount = 50;

// The placeholder's screen: black with the program's name.
void DrawBackground(int8_t buffer) {
    FillBuffer(0, buffer);
    if (gFont.IsLoaded()) {
        const WString name = u"Quorvane";
        int x = (kScreenWidth - gFont.TextWidth(name)) / 2;
        DrawText(name, x, kScreenHeight / 2, gFont, buffer);
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

// Placeholder until the club is built: does nothing.
void Club::StylusDown(uint16_t /*x*/, uint16_t /*y*/) {}
// Placeholder until the club is built: does nothing.
void Club::StylusMove(uint16_t /*x*/, uint16_t /*y*/) {}
// Placeholder until the club is built: does nothing.
void Club::StylusUp(uint16_t /*x*/, uint16_t /*y*/) {}

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
