// The match's modal announcements: wiped banners, zoomed notices and the
// Versus intro.
#include "engine/banners.h"

#include <algorithm>

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/picture_loader.h"

namespace qv {

namespace {

constexpr int kBoardHeight = 235;  // rows above the hands
constexpr int kRedNameColour = 6;
constexpr int kBlueNameColour = 7;

Picture LoadBanner(const char16_t* relativePath) {
    Picture picture;
    LoadPicture(gInstallDir + relativePath, picture, true);
    return picture;
}

// Draws count pixels of the picture's row, from source column first, at
// screen column x of screen row y in buffer 0, skipping the key.
void DrawRowPart(const Picture& picture, int row, int first, int count, int x, int y) {
    uint16_t* buffer = gScreenBuffers[0];
    if (buffer == nullptr || picture.pixels == nullptr || row < 0 || row >= picture.height || y < 0 || y >= kScreenHeight) {
        return;
    }
    const uint16_t key = gTransparentKey;
    const uint16_t* source = picture.pixels + row * picture.width;
    for (int i = 0; i < count; ++i) {
        const int column = first + i;
        const int screenX = x + i;
        if (column < 0 || column >= picture.width || screenX < 0 || screenX >= kScreenWidth) {
            continue;
        }
        if (source[column] != key) buffer[y * kScreenWidth + screenX] = source[column];
    }
}

// The row enters from the left: its last `position` pixels end at column
// position - 1. Rows are read with the picture's own length.
void DrawFromLeft(const Picture& picture, int row, int y, int position) {
    const int count = std::min<int>(position, picture.width);
    DrawRowPart(picture, row, picture.width - count, count, position - count, y);
}

// The row enters from the right: its first `position` pixels start at
// column 240 - position.
void DrawFromRight(const Picture& picture, int row, int y, int position) {
    const int count = std::min<int>(position, picture.width);
    DrawRowPart(picture, row, 0, count, kScreenWidth - position, y);
}

void ShowWipedBanner(const char16_t* relativePath, int pauseMs) {
    Picture picture = LoadBanner(relativePath);
    const int16_t y = static_cast<int16_t>((kScreenHeight - picture.height) / 2);
    WipeInBanner(picture, y);
    WaitForTapOrTimeout(pauseMs);
    ZoomPicture(static_cast<int16_t>((kScreenWidth - picture.width) / 2), y, 1, 0, kBannerZoomStep, picture);
    FreePicture(picture);
    FlushInputQueue();
}

void ShowZoomedNotice(const char16_t* relativePath) {
    Picture picture = LoadBanner(relativePath);
    CopyBuffer(0, 2);
    const int16_t x = static_cast<int16_t>((kScreenWidth - picture.width) / 2);
    const int16_t y = static_cast<int16_t>((kBoardHeight - picture.height) / 2);
    ZoomPicture(x, y, 0, 1, kBannerZoomStep, picture);
    // Buffer 0 goes back to the clean board before the zoom-out saves it.
    CopyBuffer(2, 0);
    WaitForTapOrTimeout(350);
    ZoomPicture(x, y, 1, 0, kBannerZoomStep, picture);
    FreePicture(picture);
    FlushInputQueue();
}

// The name in the colour on a keyed background, as a picture of the text's
// width + 15 (at most the screen's width) by the line height.
Picture NamePicture(const WString& name, int colour) {
    FillBuffer(0, 2);
    DrawColouredText(name, 5, 2, gFont, colour, 2);
    Picture picture;
    const int width = std::min<int>(gFont.TextWidth(name) + 15, kScreenWidth);
    GrabRect(picture, 0, 0, width, gFont.GetHeight(), 2);
    return picture;
}

}  // namespace

void ShowStartBanner() { ShowWipedBanner(u"GFX\\TEXT\\start.QVG", 500); }
void ShowYouWinBanner() { ShowWipedBanner(u"GFX\\TEXT\\youwin.QVG", 1500); }
void ShowYouLoseBanner() { ShowWipedBanner(u"GFX\\TEXT\\youloose.QVG", 1500); }
void ShowDrawBanner() { ShowWipedBanner(u"GFX\\TEXT\\draw.QVG", 1500); }
void ShowPerfectBanner() { ShowWipedBanner(u"GFX\\TEXT\\Perfect.QVG", 1500); }
void ShowMultiHitBanner() { ShowZoomedNotice(u"GFX\\TEXT\\multihit.QVG"); }
void ShowCardTakenBanner() { ShowZoomedNotice(u"GFX\\TEXT\\cardtaken.QVG"); }

void PlayVersusIntro(const WString& firstName, const WString& secondName) {
    Picture versus = LoadBanner(u"GFX\\TEXT\\Versus.QVG");
    const int vx = (kScreenWidth - versus.width) / 2;
    const int vy = (kBoardHeight - versus.height) / 2;
    const int lineHeight = gFont.GetHeight();

    Picture first = NamePicture(firstName, kRedNameColour);
    SlidePictureIn(static_cast<int16_t>(vx + versus.width), static_cast<int16_t>(vy), 10, first);

    Picture second = NamePicture(secondName, kBlueNameColour);
    const int secondWidth = gFont.TextWidth(secondName);
    const int secondX = vx - secondWidth > 2 ? vx - secondWidth : 2;
    SlidePictureIn(static_cast<int16_t>(secondX),
                   static_cast<int16_t>(vy + versus.height - lineHeight), -10, second);

    ZoomPicture(static_cast<int16_t>(vx), static_cast<int16_t>(vy), 3, 1, kBannerZoomStep, versus);
    FreePicture(first);
    FreePicture(second);
    FreePicture(versus);
    FlushInputQueue();
}

void WipeInBanner(const Picture& picture, int16_t y) {
    const int height = picture.height;
    CopyRect240(0, y, kScreenWidth, height, 2, 0);
    const int quarter = height / 4;
    const int half = height / 2;
    int step = 16;
    for (int position = 0; position <= kScreenWidth; position += step) {
        if (position % 60 == 0) step /= 2;
        CopyRect240(0, y, kScreenWidth, height, 0, 2);
        for (int i = 0; i <= quarter; ++i) {
            DrawFromLeft(picture, i, y + i, position);
            DrawFromLeft(picture, i + half, y + i + half, position);
            DrawFromRight(picture, quarter + i, y + quarter + i, position);
            DrawFromRight(picture, quarter + i + half, y + quarter + i + half, position);
        }
        PresentScreen();
        UpdateMusic();
    }
    // Buffer 0 is clean again; the display still shows the whole banner.
    CopyRect240(0, y, kScreenWidth, height, 0, 2);
}

}  // namespace qv
