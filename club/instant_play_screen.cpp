// Instant Play: lists a level's opponents with the player's record and opens
// the bet screen for the opponent whose row the player taps.
#include "club/instant_play_screen.h"

#include <string>

#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "club/bet_screen.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "club/room_notes.h"
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/message_box.h"
#include "engine/utilities.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI INSTANT\\";

enum { kLeftButton = 0, kRightButton = 1, kBackButton = 2 };

constexpr int kFirstRowTop = 56;
constexpr int kRowStep = 10;
constexpr int kNameX = 17;
constexpr int kHeadY = 43;
constexpr int kWonEdge = 155;
constexpr int kTiesEdge = 190;
constexpr int kLostEdge = 225;
constexpr int kRowLeft = 18;
constexpr int kRowRight = 226;
constexpr int kHighlightColour = 3;
constexpr int kStakeColour = 3;

// The title of each level and where it goes.
constexpr int kTitleX[3] = {9, 8, 5};
constexpr int kTitleY[3] = {30, 29, 25};

const char16_t kTutorialBackHint[] =
    u"Choose an opponent by clicking on his name.\n\n HINT: All the statistics are recorded "
    u"into the Options room";

}  // namespace

InstantPlayScreen::InstantPlayScreen() {
    const WString folder = kFolder;
    background_ = LoadRoomPicture(folder + u"InstantPlayEmpty.QVG");
    transition_ = LoadRoomPicture(folder + u"InstantPlayPIX.QVG");
    memberTitle_ = LoadRoomPicture(folder + u"InstantPlayMember.QVJ");
    eliteTitle_ = LoadRoomPicture(folder + u"InstantPlayElite.QVJ");
    // The guest title is the background's own, at its place.
    CutPicture(guestTitle_, background_, kTitleX[0], kTitleY[0], memberTitle_.width,
               memberTitle_.height);
    SetUpCutButton(buttons_[kLeftButton], 21, 221, folder + u"InstantPlayLeft.QVJ", background_);
    SetUpCutButton(buttons_[kRightButton], 189, 221, folder + u"InstantPlayRight.QVJ", background_);
    SetUpCutButton(buttons_[kBackButton], 202, 302, folder + u"InstantPlayBack.QVJ", background_);
    for (int i = 0; i < kRowCount; ++i) rowTops_[i] = static_cast<int16_t>(kFirstRowTop + kRowStep * i);
    BlitFullScreen(transition_, 1);
}

InstantPlayScreen::~InstantPlayScreen() {
    FreePicture(background_);
    FreePicture(transition_);
    FreePicture(guestTitle_);
    FreePicture(memberTitle_);
    FreePicture(eliteTitle_);
}

void InstantPlayScreen::Enter() {
    EnterWithTapOrDissolve(*this);
    TraceRoom("instant shown " + std::to_string(level_));
}

void InstantPlayScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    DrawOpponentTable(buffer);
    DrawStake(buffer);
}

void InstantPlayScreen::DrawRow(int row, int colour, int8_t buffer) {
    const int entry = StatisticsIndex(row, level_);
    const int y = rowTops_[row];
    const WString name = gOpponents[entry].GetName();
    if (colour < 0) {
        DrawText(name, kNameX, y, gFont, buffer);
    } else {
        DrawColouredText(name, kNameX, y, gFont, colour, buffer);
    }
    DrawTextRight(FormatShort(gGamesWon[entry]) + u" V", kWonEdge, y, colour, buffer);
    DrawTextRight(FormatShort(gGamesTied[entry]) + u" T", kTiesEdge, y, colour, buffer);
    DrawTextRight(FormatShort(gGamesLost[entry]) + u" L", kLostEdge, y, colour, buffer);
}

void InstantPlayScreen::DrawOpponentTable(int8_t buffer) {
    DrawTextRight(u"Won", kWonEdge, kHeadY, -1, buffer);
    DrawTextRight(u"Ties", kTiesEdge, kHeadY, -1, buffer);
    DrawTextRight(u"Lost", kLostEdge, kHeadY, -1, buffer);
    for (int row = 0; row < kRowCount; ++row) DrawRow(row, -1, buffer);
    const Picture* titles[3] = {&guestTitle_, &memberTitle_, &eliteTitle_};
    BlitPicture(kTitleX[level_], kTitleY[level_], *titles[level_], buffer);
}

// Drawn in colour over the plain row: the same glyphs, so only the colour changes.
void InstantPlayScreen::DrawRowHighlighted(int row, int8_t buffer) { DrawRow(row, kHighlightColour, buffer); }

void InstantPlayScreen::DrawRowPlain(int row, int8_t buffer) { DrawRow(row, -1, buffer); }

void InstantPlayScreen::DrawStake(int8_t buffer) {
    DrawCreditsRight(238, 4, buffer);
    DrawColouredText(u"Bet " + FormatInt(BetScreen::StakeOf(level_)) + u" Credits", 79, 27, gFont, kStakeColour,
                     buffer);
}

int InstantPlayScreen::RowAt(uint16_t x, uint16_t y) const {
    if (x < kRowLeft || x > kRowRight) return -1;
    for (int row = 0; row < kRowCount; ++row) {
        if (y > rowTops_[row] && y < rowTops_[row] + kRowStep) return row;
    }
    return -1;
}

void InstantPlayScreen::TurnLevel(int step) {
    level_ = static_cast<int8_t>((level_ + step + kLevelCount) % kLevelCount);
    TraceRoom("instant level " + std::to_string(level_));
    Draw(0);
}

void InstantPlayScreen::Update() {
    if (gKeyState[2]) {
        gKeyState[2] = 0;
        TurnLevel(-1);
    }
    if (gKeyState[3]) {
        gKeyState[3] = 0;
        TurnLevel(1);
    }
}

bool InstantPlayScreen::StylusDown(uint16_t x, uint16_t y) {
    for (Button& button : buttons_) button.Press(x, y);
    const int row = RowAt(x, y);
    if (row >= 0) {
        selectedRow_ = static_cast<int8_t>(row);
        DrawRowHighlighted(row, 0);
    }
    return false;
}

bool InstantPlayScreen::StylusUp(uint16_t x, uint16_t y) {
    int released = -1;
    for (int i = 0; i < 3; ++i) {
        if (buttons_[i].Release(x, y) && released < 0) released = i;
    }
    if (released == kLeftButton || released == kRightButton) {
        TurnLevel(released == kLeftButton ? -1 : 1);
        return false;
    }
    if (released == kBackButton) {
        if (!tutorial_) return true;
        ShowRoomNote(kTutorialBackHint);
        return false;
    }

    const int row = RowAt(x, y);
    if (row >= 0 && row == selectedRow_) {
        if (IsLevelOpen(level_)) {
            const int number = level_ * kOpponentsPerLevel + row + 1;
            selectedRow_ = -1;
            TraceRoom("instant bet " + std::to_string(number));
            // The bet screen becomes current at once; this screen stays under it.
            gClub.OpenBetScreen(kScreenInstantPlay, number);
            return tutorial_ != 0;
        }
        TraceRoom("instant refused " + std::to_string(level_));
        ShowNote(LevelClosedNote(level_));
    }
    if (selectedRow_ >= 0) DrawRowPlain(selectedRow_, 0);
    selectedRow_ = -1;
    return false;
}

bool InstantPlayScreen::WriteState(platform::FileHandle file) {
    bool ok = WriteU8(file, static_cast<uint8_t>(level_));
    ok = WriteU8(file, static_cast<uint8_t>(selectedRow_)) && ok;
    ok = WriteU8(file, tutorial_) && ok;
    return WriteU8(file, tutorialStep_) && ok;
}

bool InstantPlayScreen::ReadState(platform::FileHandle file) {
    int8_t level = 0;
    int8_t row = -1;
    uint8_t tutorial = 0;
    uint8_t step = 0;
    if (!ReadI8(file, level) || !ReadI8(file, row) || !ReadU8(file, tutorial) || !ReadU8(file, step)) {
        return false;
    }
    if (level < 0 || level >= kLevelCount || row < -1 || row >= kRowCount || tutorial > 1) return false;
    level_ = level;
    selectedRow_ = row;
    tutorial_ = tutorial;
    tutorialStep_ = step;
    return true;
}

}  // namespace qv
