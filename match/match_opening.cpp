// The opening of every match: the Versus intro, the who-starts wheel, the start banner and its music.
#include "engine/banners.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "match/match_layout.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/system.h"

namespace qv {

namespace {

constexpr int kWheelX = 60;
constexpr int kWheelY = 84;

// The name cut to the characters that fit before the screen's right edge.
WString FitToRightEdge(const WString& name, int x) {
    WString shown = name;
    while (!shown.empty() && x + gFont.TextWidth(shown) > kScreenWidth) shown.pop_back();
    return shown;
}

}  // namespace

void Match::ShowVersusIntro() {
    WString redName = participants_[0] != nullptr ? participants_[0]->GetName() : WString();
    WString blueName = participants_[1] != nullptr ? participants_[1]->GetName() : WString();
    Redraw(0);
    PlayVersusIntro(redName, blueName);
    uint32_t previous = platform::GetTickCount();
    Picture versus;
    LoadPicture(InstallPath("GFX\\TEXT\\Versus.QVG"), versus, true);
    int w = versus.width;
    int h = versus.height;
    int x = (kScreenWidth - w) / 2;
    int y = (235 - h) / 2;
    int redX = x + w;
    // Blitters do not clip: a long name would run into the next rows.
    WString redShown = FitToRightEdge(redName, redX);
    int blueWidth = gFont.TextWidth(blueName);
    int blueX = x - blueWidth <= 2 ? 2 : x - blueWidth;
    int fontHeight = gFont.GetHeight();
    Redraw(0);
    CopyBuffer(0, 2);
    auto drawFrame = [&]() {
        BlitPictureKeyed(x, y, versus, 0);
        DrawColouredText(redShown, redX, y, gFont, 6, 0);
        DrawColouredText(blueName, blueX, y + h - fontHeight, gFont, 7, 0);
    };
    while (y > 20) {
        WaitSince(previous, 25);
        previous = platform::GetTickCount();
        drawFrame();
        PresentScreen();
        if (h > 0) CopyRect240(0, y < 0 ? 0 : y, kScreenWidth, h, 0, 2);
        UpdateMusic();
        y -= 3;
    }
    drawFrame();
    FreePicture(versus);
    returnState_ = kStateWheel;
    pauseDeadline_ = platform::GetTickCount() + 300;
    state_ = kStatePause;
}

void Match::SpinStartingWheel() {
    if (KindOf(BLUE) == kRemoteClient) {
        // The client shows no wheel: it waits here until the signal comes.
        if (!ReceiveStartSignal() || Cancelled()) return;
        state_ = kStateStartBanner;
        return;
    }
    // Nothing on screen says to tap: scripts wait for this line.
    platform::Trace("match", "wheel spinning");
    const Picture& first = gWheelPictures[0];
    Picture background;
    GrabRect(background, kWheelX, kWheelY, first.width, first.height, 0);
    int e = 0;
    uint32_t t = platform::GetTickCount();
    auto drawWheel = [&](int index) {
        BlitPicture(kWheelX, kWheelY, background, 0);
        BlitPictureKeyed(kWheelX, kWheelY, gWheelPictures[index], 0);
        PresentRect(kWheelX, kWheelY, static_cast<int16_t>(first.width),
                    static_cast<int16_t>(first.height), 0);
    };
    bool tapped = false;
    while (!tapped) {
        UpdateMusic();
        WaitSince(t, 30);  // the wheel's own pace: 33 pictures a second
        t = platform::GetTickCount();
        platform::Msg msg;
        // Only a message really taken from the queue can stop the spin.
        if (platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, true)) {
            tapped = msg.message == platform::WM_LBUTTONDOWN;
        }
        drawWheel(e);
        e = (e + 1) % kWheelPictureCount;
    }
    int target = sideToMove_ == RED ? 0 : 12;
    uint32_t d = 30;
    bool stopping = false;
    bool last = false;
    while (!last) {
        if (stopping) d += 5;
        WaitSince(t, d);
        t = platform::GetTickCount();
        UpdateMusic();
        last = stopping && e == target;
        drawWheel(e);
        e = (e + 1) % kWheelPictureCount;
        d += 3;
        stopping = d > 65 && e == target;
    }
    platform::Sleep(200);
    FlushInputQueue();
    if (KindOf(BLUE) == kRemoteServer) SendStartSignal();
    FreePicture(background);
    if (Cancelled()) return;
    state_ = kStateStartBanner;
}

void Match::StartMatchMusic() {
    Redraw(0);
    ShowStartBanner();
    state_ = firstTurnState_;
    if (state_ == kStateLocalActs) platform::Trace("match", "your turn");
    if (gMusicOff) return;
    FreeMusic();
    static const char* const kTunes[5] = {"SOUNDS\\Partie1.QVX", "SOUNDS\\Partie2.QVX",
                                          "SOUNDS\\Partie3.QVX", "SOUNDS\\Partie4.QVX",
                                          "SOUNDS\\Partie5.QVM"};
    const char* tune = boss_ ? "SOUNDS\\Boss.QVX" : kTunes[RandomBelow(5)];
    LoadMusic(InstallPath(tune));
    PlayMusic(0);
}

}  // namespace qv
