// The loading screen shown while start-up loads: rows revealed at random,
// the loading line, the version label, a hint, and the closing scroll.
#include "engine/loading_screen.h"

#include <algorithm>

#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "platform/messages.h"
#include "platform/system.h"

namespace qv {

LoadingScreen gLoadingScreen;

namespace {

constexpr int kRows = 320;
constexpr int kTextX = 5;
constexpr int kTextY = 307;
constexpr int kSaveUnderWidth = 150;
constexpr int kSaveUnderHeight = 13;
constexpr int kVersionColour = 3;  // yellow

Picture NewSaveUnder() {
    Picture picture;
    picture.width = kSaveUnderWidth;
    picture.height = kSaveUnderHeight;
    picture.pixels = new uint16_t[kSaveUnderWidth * kSaveUnderHeight]();
    return picture;
}

}  // namespace

LoadingScreen::LoadingScreen() : saveUnder_(NewSaveUnder()) {}

LoadingScreen::~LoadingScreen() = default;

void LoadingScreen::Begin(int16_t steps) {
    step_ = 0;
    LoadPicture(gInstallDir + u"GFX\\LOADING\\EnterGAME.QVJ", picture_, true);
    std::fill(std::begin(revealed_), std::end(revealed_), 0);
    total_ = steps;
    linesPerStep_ = static_cast<int8_t>(steps > 0 ? kRows / steps : 0);
    hint_ = static_cast<int8_t>(RandomBelow(kLoadingHintCount));
    if (saveUnder_.pixels == nullptr) saveUnder_ = NewSaveUnder();
    GrabRectInto(kTextX, kTextY, 0, saveUnder_);
}

void LoadingScreen::Step() {
    BlitPicture(kTextX, kTextY, saveUnder_, 0);
    step_ = static_cast<int16_t>(step_ + 1);
    if (step_ >= total_) {
        Finish();
        return;
    }
    for (int n = 0; n < linesPerStep_; ++n) {
        if (std::all_of(std::begin(revealed_), std::end(revealed_), [](uint8_t r) { return r != 0; })) {
            break;
        }
        int row = RandomBelow(kRows);
        while (revealed_[row] != 0) row = (row + 1) % kRows;
        // The picture is wider than the screen: its rows are read with its
        // own length, and rows it does not have are not drawn.
        CopyPictureRow(row, picture_, 0);
        revealed_[row] = 1;
    }
    DrawVersionLabel();
    DrawLoadingText();
    DrawHint();
    PresentScreen();
}

void LoadingScreen::Finish() {
    int column = 0;
    bool tapped = false;
    auto draw = [this](int at) {
        BlitPictureColumns(0, 0, picture_, at, kScreenWidth, 0);
        DrawVersionLabel();
        DrawHint();
        PresentScreen();
    };
    do {
        UpdateMusic();
        draw(column);
        platform::Msg msg;
        tapped = platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, true) &&
                 msg.message == platform::WM_LBUTTONDOWN;
        ++column;
    } while (column + kScreenWidth < picture_.width && !tapped);
    // A picture no wider than the screen has no further column to show.
    column = std::min(column, std::max(0, picture_.width - kScreenWidth));
    draw(column);
    FlushInputQueue();
    platform::Trace("loading", "waiting for a tap");
    uint16_t x = 0;
    uint16_t y = 0;
    WaitForTapDown(x, y);
}

void LoadingScreen::FreePictures() {
    FreePicture(picture_);
    FreePicture(saveUnder_);
}

void LoadingScreen::DrawLoadingText() {
    WString text = u"Loading please wait";
    text += RepeatChar(u'.', step_ / 5);
    GrabRectInto(kTextX, kTextY, 0, saveUnder_);
    DrawText(text, kTextX, kTextY, gFont, 0);
}

void LoadingScreen::DrawHint() {
    DrawText(u"HINT :", 5, 3, gFont, 0);
    DrawWrappedText(Widen(gLoadingHints[hint_]), 40, 3, 220, 0);
}

void DrawVersionLabel() {
    const WString label = u"Quorvane " + WString(u"v") + FormatSChar(1) + u"." + FormatIntPadded(15, 2);
    DrawColouredText(label, 235 - gFont.TextWidth(label), kTextY, gFont, kVersionColour, 0);
}

}  // namespace qv
