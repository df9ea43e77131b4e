// The boss's speech typewriter, the victory scene and the end credits.
#include <string>

#include "club/boss_screen.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/utilities.h"
#include "platform/clock.h"

namespace qv {

namespace {

constexpr uint32_t kLetterDelayMs = 50;
constexpr int kLineGap = 2;
constexpr int kShakeFrames = 255;
// The eight directions, up first, then clockwise.
constexpr int kShakeX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kShakeY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

struct CreditStrip {
    const char16_t* name;
    int y;
    bool fromLeft;
};

constexpr CreditStrip kStrips[12] = {
    {u"code", 20, true},       {u"pemba", 40, false},  {u"sivrane", 60, false},
    {u"graphics", 90, true},   {u"Tovan", 110, false}, {u"quelt", 130, false},
    {u"AI", 160, true},        {u"pemba", 180, false}, {u"ui", 210, true},
    {u"Tovan", 230, false},    {u"translation", 260, true}, {u"mirel", 280, false},
};
constexpr int kLeftStripX = 10;
constexpr int kLeftSpeed = 6;
constexpr int kRightSpeed = -12;

void SlideStrip(const Picture& strip, int y, bool fromLeft) {
    const int start = fromLeft ? -strip.width : kScreenWidth;
    const int target = fromLeft ? kLeftStripX : kScreenWidth - strip.width;
    for (int x : StripSlidePlaces(start, target, fromLeft ? kLeftSpeed : kRightSpeed)) {
        UpdateMusic();
        CopyRows(1, 0, y, strip.height);
        BlitPictureKeyed(x, y, strip, 0);
        PresentScreen();
    }
}

}  // namespace

void TypeSpeech(const WString& text, int x, int y, int width, int colour) {
    int penX = x;
    int penY = y;
    const int lineStep = gFont.GetHeight() + kLineGap;
    for (size_t i = 0; i < text.size(); ++i) {
        UpdateMusic();
        // A word that does not fit goes to the next line, unless the pen is
        // already at the line's start. Inside a word only the rest of a word
        // wider than a whole line can stop fitting: it breaks at the letter
        // that no longer fits, so such a word fills its lines.
        const bool wordStart = i == 0 || IsWordSeparator(text[i - 1]);
        const int needed = wordStart ? RunWidth(text, i) : gFont.GlyphWidth(text[i]);
        if (penX > x && needed > x + width - penX) {
            penX = x;
            penY += lineStep;
        }
        if (penY >= kScreenHeight) break;
        DrawColouredText(text.substr(i, 1), penX, penY, gFont, colour, 0);
        PresentScreen();
        platform::Sleep(kLetterDelayMs);
        penX += gFont.GlyphWidth(text[i]);
    }
    FlushInputQueue();
}

std::vector<int> StripSlidePlaces(int start, int target, int speed) {
    std::vector<int> places;
    if (speed == 0) return places;
    int k = (target - start) / speed / 2;
    if (k < 0) k = -k;
    int x = start;
    int s = speed;
    while (x != target) {
        x += s;
        if ((s > 0 && x > target) || (s < 0 && x < target)) x = target;
        if (k != 0 && x % k == 0) {
            if (s > 1) --s;
            if (s < -1) ++s;
        }
        places.push_back(x);
    }
    return places;
}

void BossScreen::PlayVictory() {
    TraceRoom("boss result victory");
    Draw(0);
    PresentScreen();
    for (int i = 0; i < 9; ++i) {
        TintRect(0, 0, kScreenWidth, kScreenHeight, 0, -8, -8, 0);
        PresentScreen();
    }
    // The reddened screen, whatever the size of the boss's picture.
    FreePicture(picture_);
    GrabRect(picture_, 0, 0, kScreenWidth, kScreenHeight, 0);
    for (int frame = 1; frame <= kShakeFrames; ++frame) {
        // The frame number taken as a signed byte: the shake grows, then
        // swings the other way and dies down.
        const int amplitude = static_cast<int8_t>(frame) >> 3;
        FillBuffer(0, 0);
        const int dx = kShakeX[RandomBelow(8)] * amplitude;
        const int dy = kShakeY[RandomBelow(8)] * amplitude;
        BlitPicture(dx, dy, picture_, 0);
        UpdateMusic();
        PresentScreen();
    }
    TypeSpeech(u"Whaaaat? It can't be! you can't modify MY universe, I am the cards, the rules and "
               u"the judgment! What are you doing to us all? AAAAARRRRRRRRRRHHHHHHH!!",
               50, 240, 150, 11);
    WaitForTapOrTimeout(10000);
    RunEndCredits();
}

void BossScreen::RunEndCredits() {
    TraceRoom("boss credits");
    if (!gMusicOff) {
        FreeMusic();
        LoadMusic(gInstallDir + u"SOUNDS\\End credits.QVX");
        PlayMusic(0);
    }
    FreePicture(picture_);
    picture_ = LoadRoomPicture(u"GFX\\CREDITS\\end credits.QVG");
    Draw(0);
    PresentScreen();
    WaitForTapOrTimeout(10000);
    for (int i = 0; i < 8; ++i) {
        TintRect(0, 0, kScreenWidth, kScreenHeight, -8, -8, -8, 0);
        PresentScreen();
    }
    for (const CreditStrip& strip : kStrips) {
        CopyBuffer(0, 1);
        Picture picture = LoadRoomPicture(u"GFX\\CREDITS\\" + WString(strip.name) + u".QVB");
        SlideStrip(picture, strip.y, strip.fromLeft);
        FreePicture(picture);
    }
    FlushInputQueue();
    WaitForTapOrTimeout(10000);
    TraceRoom("boss credits end");
    gClub.LeaveBossScreen(true);
}

}  // namespace qv
