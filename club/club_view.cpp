// The club view: the walk through the night-club's 50-frame panorama, the
// rooms' sliding titles and typed descriptions, the arrows, keys and taps.
#include <string>

#include "cards/profile.h"
#include "club/boss_screen.h"
#include "club/club.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/install_dir.h"
#include "engine/loading_screen.h"
#include "engine/message_box.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/system.h"

namespace qv {

namespace {

struct RoomInfo {
    int16_t frame;              // the panorama frame the room stands at
    const char16_t* title;      // picture below gInstallDir
    const char16_t* description;
};

const RoomInfo kRooms[kRoomCount] = {
    {1, u"GFX\\MENU\\TITLES\\MultiplayerTitle.QVG",
     u"I might found another challenger in this crowd to play with."},
    {7, u"GFX\\MENU\\TITLES\\InstantPlayTitle.QVG",
     u"Too bad it's a quick play. I would love to spend more time with this beauty. In another "
     u"hand, if I'm really on a rush. Still, I can train myself here, or just have fun."},
    {10, u"GFX\\MENU\\TITLES\\HellGateTitle.QVG",
     u"Wow, the Ultimate card player's lair. I've never been able to meet him, as I need all the "
     u"cards to enter this competition."},
    {14, u"GFX\\MENU\\TITLES\\CardShopTitle.QVG",
     u"A little rest place where I can organize my cards. I can even buy some but it's quite "
     u"expensive."},
    {23, u"GFX\\MENU\\TITLES\\GuestTournament.QVG",
     u"Well these two girls are too young and friendly to be really experienced. It must be the "
     u"guest table. I need 300 credits to enter this tournament."},
    {27, u"GFX\\MENU\\TITLES\\MemberTournament.QVG",
     u"I've seen them many times in this clubs, they're not as harmless as they look. It'll be "
     u"tricky, but I think with some effort I can earn a reputation here. I need 1000 credits to "
     u"enter the Member tournament."},
    {31, u"GFX\\MENU\\TITLES\\EliteTournament.QVG",
     u"These people handle the cards like no one. They're pros, isolating from the other players "
     u"and looking at me as the weakest man of the place. I'd like to show them what I'm made "
     u"of, but I need 2500 credits to enter the Elite tournament."},
    {38, u"GFX\\MENU\\TITLES\\OptionsTitle.QVG",
     u"The music is too loud? The spotlights blind me? I can always come here and take some time "
     u"to tweak it all."},
    {44, u"GFX\\MENU\\TITLES\\CharacterCreationTitle.QVG",
     u"In the rude business of card collecting, you need to register in order to join games. The "
     u"good thing is that you can assume several identities."},
    {47, u"GFX\\MENU\\TITLES\\Quit.QVG", u"I have enough, I realy need to leave now..."},
};

constexpr int kPanoramaTop = 30;      // first screen row of the panorama
constexpr int kDescriptionTop = 240;  // the description background's row
constexpr int kTypingLeft = 10;
constexpr int kTypingTop = 250;
constexpr int kTypingRight = 230;
constexpr uint32_t kWalkStepMs = 50;
constexpr int kLeftKey = 2, kRightKey = 3, kStartKey = 4, kActionKey = 5;

// The room that stands at the frame, or -1.
int RoomAtFrame(int frame) {
    for (int room = 0; room < kRoomCount; ++room) {
        if (kRooms[room].frame == frame) return room;
    }
    return -1;
}

void DrawLetter(char16_t c, int x, int y, int8_t buffer) {
    DrawText(WString(1, c), x, y, gFont, buffer);
}

// The pace of a walk step: a wait on the tick without the music, giving the
// processor away for up to 1 ms a turn.
void SpinFor(uint32_t ms) {
    const uint32_t start = platform::GetTickCount();
    while (platform::GetTickCount() - start < ms) platform::WaitForMessages(1);
}

}  // namespace

int Club::RoomFrame(int room) { return room >= 0 && room < kRoomCount ? kRooms[room].frame : 0; }

int Club::RoomDescriptionLength(int room) {
    if (room < 0 || room >= kRoomCount) return 0;
    return static_cast<int>(std::char_traits<char16_t>::length(kRooms[room].description));
}

// --- Start-up ---

void Club::LoadPanorama() {
    for (int n = 1; n <= kPanoramaFrameCount; ++n) {
        FreePicture(panorama_[n - 1]);
        LoadPicture(gInstallDir + u"GFX\\MENU\\MENU\\MENU00" + FormatIntPadded(n, 2) + u".QVG", panorama_[n - 1], true);
        gLoadingScreen.Step();
    }
    FreePicture(descriptionBackground_);
    LoadPicture(gInstallDir + u"GFX\\GENERAL\\BackgroundMenu.QVJ", descriptionBackground_, true);
}

void Club::LoadButtons() {
    const WString menu = gInstallDir + u"GFX\\MENU\\";
    Picture pressed, normal;
    LoadPicture(menu + u"MENU\\LEFTON.QVG", pressed, true);
    LoadPicture(menu + u"MENU\\LEFTOFF.QVG", normal, true);
    leftArrow_.SetUp(0, 129, pressed, normal, true);
    pressed = Picture();
    normal = Picture();
    LoadPicture(menu + u"MENU\\RIGHTON.QVG", pressed, true);
    LoadPicture(menu + u"MENU\\RIGHTOFF.QVG", normal, true);
    rightArrow_.SetUp(217, 129, pressed, normal, true);
    FreePicture(quickMenu_);
    FreePicture(quickMenuOn_);
    LoadPicture(menu + u"QuickMenu.QVG", quickMenu_, true);
    LoadPicture(menu + u"QuickMenuON.QVG", quickMenuOn_, true);
}

// --- Drawing ---

void Club::Redraw(int8_t buffer) {
    FillBuffer(0, buffer);
    BeginRoomShow(buffer);
    DrawArrows(buffer);
    DrawQuickMenuTab(buffer);
    DrawCreditsCounter(buffer);
}

void Club::DrawCurrentFrame(int8_t buffer) {
    if (frame_ >= 1 && frame_ <= kPanoramaFrameCount) {
        BlitRows(kPanoramaTop, panorama_[frame_ - 1], buffer);
    }
}

void Club::DrawArrows(int8_t buffer) {
    leftArrow_.Draw(buffer);
    rightArrow_.Draw(buffer);
}

void Club::DrawCreditsCounter(int8_t buffer) {
    FillRect(100, 50, 140, gFont.GetHeight(), gTransparentKey, buffer);
    const WString text = FormatInt(gProfile.GetCredits()) + u" Credits";
    DrawColouredText(text, 235 - gFont.TextWidth(text), 50, gFont, 3, buffer);
}

// The tab is the normal picture's rows from 110 down, at the top right.
void Club::DrawQuickMenuTab(int8_t buffer) {
    constexpr int kTabTop = 110;
    if (quickMenu_.height <= kTabTop) return;
    BlitRect240(0, kTabTop, quickMenu_.width, quickMenu_.height - kTabTop,
                kScreenWidth - quickMenuOn_.width, 0, quickMenu_, buffer);
}

// A title held from an earlier show is freed first.
void Club::LoadTitle() {
    FreePicture(title_);
    if (room_ >= 0 && room_ < kRoomCount) LoadPicture(gInstallDir + kRooms[room_].title, title_, true);
}

// The room starts over: the title slides in again and the description is
// typed from its start into the buffer.
void Club::BeginRoomShow(int8_t buffer) {
    typingY_ = kTypingTop;
    typingX_ = kTypingLeft;
    titleInPlace_ = 0;
    descriptionTyped_ = 0;
    descriptionIndex_ = 0;
    typingTick_ = 0;
    titleTick_ = 0;
    roomShown_ = 1;
    descriptionActive_ = 1;
    titlePosition_ = 0;
    titleSpeed_ = 10;
    typingBuffer_ = static_cast<uint8_t>(buffer);
    LoadTitle();
    BlitPicture(0, kDescriptionTop, descriptionBackground_, buffer);
    DrawCurrentFrame(buffer);
    DrawArrows(0);
    if (buffer == 0) platform::Trace("club", "room " + std::to_string(room_));
}

// --- Per frame ---

void Club::Tick() {
    if (direction_ != 0) {
        StepRotation();
    } else if (transitionOut_) {
        StepTransitionOut();
    } else if (transitionIn_) {
        StepTransitionIn();
    } else if (descriptionActive_) {
        TypeDescription();
    }
}

// One key a turn: right, else left, else the action key (Start as well as
// A, which the main loop's quit question usually takes first).
void Club::ClubViewKeys() {
    if (gKeyState[kRightKey]) {
        gKeyState[kRightKey] = 0;
        RotateRight();
    } else if (gKeyState[kLeftKey]) {
        gKeyState[kLeftKey] = 0;
        RotateLeft();
    } else if (gKeyState[kActionKey] || gKeyState[kStartKey]) {
        gKeyState[kActionKey] = 0;
        gKeyState[kStartKey] = 0;
        EnterRoom();
    }
}

// The lair asks its own questions first.
void Club::EnterRoom() {
    if (room_ == 2 && !TryEnterBossLair()) return;
    BeginTransition(1);
}

void Club::ClubViewStylusDown(uint16_t x, uint16_t y) {
    if (descriptionActive_) FinishDescription(0);
    if (y <= 20 && x > kScreenWidth - quickMenuOn_.width) {
        SlideQuickMenuOpen();
        RunQuickMenu();
        return;
    }
    if (leftArrow_.Press(x, y) || rightArrow_.Press(x, y)) return;
    if (y >= kPanoramaTop && y < kPanoramaTop + panorama_[0].height) EnterRoom();
}

void Club::ClubViewStylusUp(uint16_t x, uint16_t y) {
    const bool left = leftArrow_.Release(x, y);
    const bool right = rightArrow_.Release(x, y);
    if (left) {
        RotateLeft();
    } else if (right) {
        RotateRight();
    }
}

// --- Walking ---

void Club::RotateRight() { StartWalk(1); }
void Club::RotateLeft() { StartWalk(-1); }

// The title of the room being left slides out to the left, as fast as the
// screen presents, before the walk begins.
void Club::StartWalk(int8_t direction) {
    input_ = 0;
    direction_ = direction;
    titleSpeed_ = -10;
    titleTick_ = 0;
    LoadTitle();
    titlePosition_ = static_cast<int16_t>(title_.width);
    while (titlePosition_ != 0) {
        StepTitleSlide();
        if (titlePosition_ < 0) titlePosition_ = 0;
        if (titlePosition_ > 0) {
            BlitSubRect240(0, 0, title_.width - titlePosition_, titlePosition_, 0, title_);
        }
        FillRect(titlePosition_, 0, title_.width - titlePosition_, title_.height, gTransparentKey,
                 0);
        PresentScreen();
    }
    FreePicture(title_);
}

void Club::StepTitleSlide() {
    titlePosition_ = static_cast<int16_t>(titlePosition_ + titleSpeed_);
    if (++titleTick_ > 2) {
        titleTick_ = 0;
        if (titleSpeed_ > 2) {
            --titleSpeed_;
        } else if (titleSpeed_ < -2) {
            ++titleSpeed_;
        }
    }
}

// One frame of a walk; the walk stops at the next room's frame. The room is
// the one standing at that frame, so the view and the room always agree.
void Club::StepRotation() {
    frame_ = static_cast<int16_t>(frame_ + direction_);
    if (frame_ > kPanoramaFrameCount) frame_ = 1;
    if (frame_ < 1) frame_ = kPanoramaFrameCount;
    const int arrived = RoomAtFrame(frame_);
    if (arrived < 0) {
        SpinFor(kWalkStepMs);
        DrawCurrentFrame(0);
        DrawArrows(0);
        return;
    }
    room_ = static_cast<int16_t>(arrived);
    direction_ = 0;
    input_ = 1;
    BeginRoomShow(0);
    DrawArrows(0);
    TutorialAfterArrival();
}

// --- Typing ---

void Club::TypeDescription() {
    // The arrows are lit until the title is half in.
    const int arrowState = titlePosition_ > title_.width / 2 ? 0 : 1;
    leftArrow_.DrawFrame(arrowState, 0);
    rightArrow_.DrawFrame(arrowState, 0);

    if (titlePosition_ < title_.width) {
        StepTitleSlide();
        if (titlePosition_ > title_.width) titlePosition_ = static_cast<int16_t>(title_.width);
        if (titlePosition_ > 0) {
            BlitSubRect240(0, 0, title_.width - titlePosition_, titlePosition_, 0, title_);
        }
    } else {
        titleInPlace_ = 1;
    }

    if (++typingTick_ > 3) {
        typingTick_ = 0;
        if (!descriptionTyped_) {
            const char16_t* text = kRooms[room_].description;
            const int length = RoomDescriptionLength(room_);
            // The text ends where it is typed out, or where its next line
            // would start past the bottom of the screen.
            if (descriptionIndex_ < length && typingY_ < kScreenHeight) {
                const int reach = typingX_ + RunWidth(text, static_cast<size_t>(descriptionIndex_));
                if (reach > kTypingRight) {
                    typingX_ = kTypingLeft;
                    typingY_ = static_cast<int16_t>(typingY_ + gFont.GetHeight());
                }
                const char16_t c = text[descriptionIndex_];
                if (typingY_ < kScreenHeight) DrawLetter(c, typingX_, typingY_, typingBuffer_);
                typingX_ = static_cast<int16_t>(typingX_ + gFont.GlyphWidth(c));
                ++descriptionIndex_;
            } else {
                descriptionTyped_ = 1;
            }
        }
    }
    if (descriptionTyped_ && titleInPlace_) descriptionActive_ = 0;
}

// Here a line breaks before the first letter that would reach x 230, within
// a word too.
void Club::FinishDescription(int8_t buffer) {
    if (!descriptionActive_) return;
    BlitPicture(0, 0, title_, 0);
    const char16_t* text = kRooms[room_].description;
    const int length = RoomDescriptionLength(room_);
    while (descriptionIndex_ < length && typingY_ < kScreenHeight) {
        const char16_t c = text[descriptionIndex_];
        if (typingX_ + gFont.GlyphWidth(c) >= kTypingRight) {
            typingX_ = kTypingLeft;
            typingY_ = static_cast<int16_t>(typingY_ + gFont.GetHeight());
            if (typingY_ >= kScreenHeight) break;
        }
        DrawLetter(c, typingX_, typingY_, buffer);
        typingX_ = static_cast<int16_t>(typingX_ + gFont.GlyphWidth(c));
        ++descriptionIndex_;
    }
    descriptionActive_ = 0;
}

}  // namespace qv
