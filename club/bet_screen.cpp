// The bet screen: checks the player can play, takes the stake, starts the
// match, and pays and counts the result on the first frame after it.
#include "club/bet_screen.h"

#include <string>

#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "club/room_notes.h"
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/message_box.h"
#include "engine/utilities.h"
#include "match/match.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI INSTANT\\";

constexpr int kStakes[3] = {10, 50, 100};
constexpr int kWinPayments[3] = {40, 100, 200};
// A tie gives the stake back.

constexpr int kTextX = 73;
constexpr int kDescriptionColour = 11;

const char16_t kDeckShort[] = u"I don't have enough cards in my deck to join this game.";
const char16_t kTutorialHint[] =
    u"Select Ok, to start the match with this opponent, and then we'll see the rules of the "
    u"game.\n\nHINT: You can battle an opponent as often as you want.";

int ClampedNumber(int number) { return number >= 1 && number <= kOpponentCount ? number : 1; }

}  // namespace

int BetScreen::StakeOf(int level) { return level >= 0 && level < kLevelCount ? kStakes[level] : 0; }

int BetScreen::WinPaymentOf(int level) {
    return level >= 0 && level < kLevelCount ? kWinPayments[level] : 0;
}

BetScreen::BetScreen(int opponentNumber) {
    const WString folder = kFolder;
    background_ = LoadRoomPicture(folder + u"InstantPlay2Empty.QVG");
    instantBackground_ = LoadRoomPicture(folder + u"InstantPlayEmpty.QVG");
    const int number = ClampedNumber(opponentNumber);
    level_ = static_cast<int8_t>((number - 1) / kOpponentsPerLevel);
    index_ = static_cast<int8_t>(number - kOpponentsPerLevel * level_ - 1);
    LoadPortrait();
    SetUpCutButton(buttons_[kOkButton], 0, 301, folder + u"InstantPlay2Ok.QVJ", background_);
    SetUpCutButton(buttons_[kBackButton], 202, 302, folder + u"InstantPlayBack.QVJ", background_);
    SetUpCutButton(buttons_[kDeckButton], 207, 0, u"GFX\\MENU\\AllPartyDeck.QVJ", background_);
    Enter();
    matchStarted_ = 0;
    tutorial_ = 0;
}

BetScreen::~BetScreen() {
    FreePicture(background_);
    FreePicture(portrait_);
    FreePicture(instantBackground_);
}

void BetScreen::LoadPortrait() {
    FreePicture(portrait_);
    const int number = Number();
    portrait_ = LoadRoomPicture(u"GFX\\PLAYERS\\PLAYERS" + FormatInt(number) + u".QVG");
}

int BetScreen::Number() const { return level_ * kOpponentsPerLevel + index_ + 1; }

void BetScreen::Enter() {
    BlitFullScreen(background_, 1);
    BlitFullScreen(instantBackground_, 0);
    Draw(1);
    DissolveToBuffer1();
    TraceRoom("bet shown " + std::to_string(Number()));
}

void BetScreen::Draw(int8_t buffer) {
    const CharacterSummary& opponent = gOpponents[StatisticsIndex(index_, level_)].GetCharacter();
    BlitFullScreen(background_, buffer);
    BlitPicture(89, 178, portrait_, buffer);
    DrawText(opponent.name, kTextX, 43, gFont, buffer);
    DrawText(FormatShort(opponent.number), kTextX, 78, gFont, buffer);
    DrawText(opponent.textA, kTextX, 112, gFont, buffer);
    DrawText(opponent.textB, kTextX, 146, gFont, buffer);
    DrawCredits(buffer);
    DrawDescription(buffer);
}

void BetScreen::DrawCredits(int8_t buffer) { DrawCreditsRight(238, 22, buffer); }

void BetScreen::DrawDescription(int8_t buffer) {
    DrawWrappedTextColoured(ReadOpponentText(index_, level_), 14, 246, 214, kDescriptionColour,
                            buffer);
}

bool BetScreen::StylusDown(uint16_t x, uint16_t y) {
    if (matchStarted_) return false;
    for (Button& button : buttons_) button.Press(x, y);
    return false;
}

bool BetScreen::StylusUp(uint16_t x, uint16_t y) {
    if (matchStarted_) return false;
    int released = -1;
    for (int i = 0; i < 3; ++i) {
        if (buttons_[i].Release(x, y) && released < 0) released = i;
    }
    switch (released) {
        case kOkButton:
            if (tutorial_) {
                // The club's tutorial plays this match as its rules lesson:
                // no stake, nothing counted.
                TraceRoom("bet tutorial match");
                StartOpponentMatch(index_, level_);
                return true;
            }
            TryStartMatch();
            return false;
        case kBackButton:
            if (tutorial_) {
                ShowRoomNote(kTutorialHint);
                return false;
            }
            BlitFullScreen(background_, 0);
            BlitPicture(89, 178, portrait_, 0);
            return true;
        case kDeckButton:
            if (tutorial_) {
                ShowRoomNote(kTutorialHint);
            } else {
                gClub.OpenShopScreen(kScreenBet);
            }
            return false;
        default:
            return false;
    }
}

// Every check comes before the stake is taken.
void BetScreen::TryStartMatch() {
    if (!gProfile.HasSixteenCards()) {
        ShowNote(kTooFewCardsNote);
        gClub.OpenShopScreen(kScreenBet);
        return;
    }
    if (gProfile.GetDeck().GetCount() < kDeckSize) {
        ShowNote(kDeckShort);
        gClub.OpenShopScreen(kScreenBet);
        return;
    }
    const int stake = StakeOf(level_);
    if (gProfile.GetCredits() < stake) {
        ShowNote(u"I can't join this game.\nI need " + FormatInt(stake) + u" Credits!");
        return;
    }
    gProfile.SubtractCredits(stake);
    matchStarted_ = 1;
    TraceRoom("bet stake " + std::to_string(stake));
    StartOpponentMatch(index_, level_);
}

bool BetScreen::SettleMatch() {
    if (!matchStarted_ || !MatchResultPending()) return false;
    matchStarted_ = 0;
    const int entry = StatisticsIndex(index_, level_);
    switch (TakeMatchResult()) {
        case 0:
            ++gGamesWon[entry];
            gProfile.AddCredits(WinPaymentOf(level_));
            TraceRoom("bet result won " + std::to_string(WinPaymentOf(level_)));
            break;
        case 1:
            ++gGamesLost[entry];
            TraceRoom("bet result lost");
            break;
        case 2:
            ++gGamesTied[entry];
            gProfile.AddCredits(StakeOf(level_));
            TraceRoom("bet result tied " + std::to_string(StakeOf(level_)));
            break;
        default:
            break;
    }
    return true;
}

void BetScreen::ShowOpponent(int index) {
    index_ = static_cast<int8_t>((index + kOpponentsPerLevel) % kOpponentsPerLevel);
    LoadPortrait();
    Draw(0);
    TraceRoom("bet opponent " + std::to_string(Number()));
}

void BetScreen::Update() {
    if (matchStarted_) {
        // The club runs again, so the match started here is over. Without a
        // result (no match came back with a restored game) nothing is counted.
        if (!SettleMatch()) {
            matchStarted_ = 0;
            TraceRoom("bet result none");
        }
        StartMenuMusic();
        Draw(0);
        return;
    }
    if (gKeyState[2]) {
        gKeyState[2] = 0;
        ShowOpponent(index_ - 1);
    } else if (gKeyState[3]) {
        gKeyState[3] = 0;
        ShowOpponent(index_ + 1);
    }
}

bool BetScreen::WriteState(platform::FileHandle file) {
    // With the club back (gClubActive 1) the match has ended; otherwise it
    // is saved with the game and counted when it ends after the restart.
    if (gClubActive == 1) SettleMatch();
    bool ok = WriteU8(file, static_cast<uint8_t>(index_));
    ok = WriteU8(file, static_cast<uint8_t>(level_)) && ok;
    ok = WriteU8(file, matchStarted_) && ok;
    ok = WriteU8(file, tutorial_) && ok;
    return WriteU8(file, 0) && ok;
}

bool BetScreen::ReadState(platform::FileHandle file) {
    int8_t index = 0;
    int8_t level = 0;
    uint8_t started = 0;
    uint8_t tutorial = 0;
    uint8_t spare = 0;
    if (!ReadI8(file, index) || !ReadI8(file, level) || !ReadU8(file, started) ||
        !ReadU8(file, tutorial) || !ReadU8(file, spare)) {
        return false;
    }
    if (index < 0 || index >= kOpponentsPerLevel || level < 0 || level >= kLevelCount ||
        started > 1 || tutorial > 1) {
        return false;
    }
    index_ = index;
    level_ = level;
    matchStarted_ = started;
    tutorial_ = tutorial;
    LoadPortrait();
    return true;
}

}  // namespace qv
