// The club screen manager: dispatching frames, taps and redraws to the
// current screen by ScreenType, and deleting screens once their code has run.
#include "club/club.h"

#include <string>

#include "cards/launchers.h"
#include "club/bet_screen.h"
#include "club/boss_screen.h"
#include "club/character_screen.h"
#include "club/collection_screen.h"
#include "club/instant_play_screen.h"
#include "club/options_screen.h"
#include "club/shop_screen.h"
#include "club/tournament_screen.h"
#include "infrared/multiplayer_screen.h"
#include "infrared/trade_screen.h"
#include "match/match.h"
#include "platform/system.h"

namespace qv {

Club gClub;

bool IsScreenType(int value) { return value >= 0 && value <= 14 && value != 9 && value != 11; }

void Club::TraceScreen(const char* what, uint8_t type) {
    platform::Trace("screen", std::string(what) + " " + std::to_string(type));
}

Club::Club() = default;

// The open screens stay: the program ends without deleting them, and their
// destructors must not reach a display that is already closed.
Club::~Club() {
    FreePicture(descriptionBackground_);
    FreePicture(quickMenu_);
    FreePicture(quickMenuOn_);
    FreePicture(title_);
    for (Picture& frame : panorama_) FreePicture(frame);
}

void Club::FreeRetiredScreens() {
    // A destructor may retire a further screen: take the list first.
    while (!retired_.empty()) {
        std::vector<RetiredScreen> batch;
        batch.swap(retired_);
        for (const RetiredScreen& r : batch) r.destroy(r.screen);
    }
}

bool Club::HasScreen(uint8_t type) const {
    switch (type) {
        case kScreenMultiplayer: return multiplayerScreen_ != nullptr;
        case kScreenInstantPlay: return instantPlayScreen_ != nullptr;
        case kScreenBoss: return bossScreen_ != nullptr;
        case kScreenShop: return shopScreen_ != nullptr;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: return tournamentScreen_ != nullptr;
        case kScreenOptions: return optionsScreen_ != nullptr;
        case kScreenCharacter: return characterScreen_ != nullptr;
        case kScreenBet: return betScreen_ != nullptr;
        case kScreenCollection: return collectionScreen_ != nullptr;
        case kScreenClubView: return true;
        case kScreenTrade: return tradeScreen_ != nullptr;
        default: return false;
    }
}

void Club::DeleteScreenOfType(uint8_t type) {
    switch (type) {
        case kScreenMultiplayer: Retire(multiplayerScreen_); break;
        case kScreenInstantPlay: Retire(instantPlayScreen_); break;
        case kScreenBoss: Retire(bossScreen_); break;
        case kScreenShop: Retire(shopScreen_); break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: Retire(tournamentScreen_); break;
        case kScreenOptions: Retire(optionsScreen_); break;
        case kScreenCharacter: Retire(characterScreen_); break;
        case kScreenBet: Retire(betScreen_); break;
        case kScreenCollection: Retire(collectionScreen_); break;
        case kScreenTrade: Retire(tradeScreen_); break;
        default: break;
    }
}

// --- Dispatch ---

// A launcher has cleared gClubActive: a match started from the club runs
// until gClubActive is set again.
void Club::NoteMatchState() {
    if (gClubActive == 0) {
        matchRunning_ = 1;
    } else if (matchRunning_) {
        matchRunning_ = 0;
        platform::Trace("match", "end " + std::to_string(gMatchResult));
    }
}

int Club::Update() {
    DispatchScope scope(*this);
    NoteMatchState();
    if (tutorialFlag_) {
        TutorialUpdate();
    } else {
        DispatchUpdate();
    }
    NoteMatchState();
    return 1;
}

void Club::DispatchUpdate() {
    const uint8_t type = currentType_;
    if (type == kScreenClubView) {
        Tick();
        // A transition that has just ended may have made another screen current.
        if (input_ == 1 && currentType_ == kScreenClubView) ClubViewKeys();
    } else if (input_ == 1 || IsTournamentType(type)) {
        UpdateScreen(type);
    }
}

void Club::UpdateScreen(uint8_t type) {
    if (!HasScreen(type)) {
        FallBackToClubView();
        return;
    }
    switch (type) {
        case kScreenMultiplayer: multiplayerScreen_->Update(); break;
        case kScreenInstantPlay: instantPlayScreen_->Update(); break;
        case kScreenBoss: bossScreen_->Update(); break;
        case kScreenShop: shopScreen_->Update(); break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: tournamentScreen_->Update(); break;
        case kScreenOptions: optionsScreen_->Update(); break;
        case kScreenCharacter: characterScreen_->Update(); break;
        case kScreenBet: betScreen_->Update(); break;
        case kScreenCollection: collectionScreen_->Update(); break;
        case kScreenTrade: tradeScreen_->Update(); break;
        default: break;
    }
}

void Club::StylusDown(uint16_t x, uint16_t y) {
    DispatchScope scope(*this);
    // A tap while the club takes no input is dropped, and so is its release.
    stylusDown_ = input_ == 1 ? 1 : 0;
    if (!stylusDown_) return;
    if (tutorialFlag_) {
        TutorialStylusDown(x, y);
    } else {
        DispatchStylusDown(x, y);
    }
    NoteMatchState();
}

void Club::DispatchStylusDown(uint16_t x, uint16_t y) {
    const uint8_t type = currentType_;
    if (!HasScreen(type)) {
        FallBackToClubView();
        return;
    }
    switch (type) {
        case kScreenMultiplayer: multiplayerScreen_->StylusDown(x, y); break;
        case kScreenInstantPlay: instantPlayScreen_->StylusDown(x, y); break;
        case kScreenBoss: bossScreen_->StylusDown(x, y); break;
        case kScreenShop: shopScreen_->StylusDown(x, y); break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: tournamentScreen_->StylusDown(x, y); break;
        case kScreenOptions: optionsScreen_->StylusDown(x, y); break;
        case kScreenCharacter: characterScreen_->StylusDown(x, y); break;
        case kScreenBet: betScreen_->StylusDown(x, y); break;
        case kScreenCollection: collectionScreen_->StylusDown(x, y); break;
        case kScreenClubView: ClubViewStylusDown(x, y); break;
        case kScreenTrade: tradeScreen_->StylusDown(x, y); break;
        default: break;
    }
}

void Club::StylusMove(uint16_t x, uint16_t y) {
    DispatchScope scope(*this);
    if (input_ == 1 && currentType_ == kScreenCollection && collectionScreen_ != nullptr) {
        collectionScreen_->StylusMove(x, y);
    }
}

void Club::StylusUp(uint16_t x, uint16_t y) {
    DispatchScope scope(*this);
    const bool pressedHere = stylusDown_ != 0;
    stylusDown_ = 0;
    if (input_ != 1 || !pressedHere) return;
    if (tutorialFlag_) {
        TutorialStylusUp(x, y);
    } else {
        DispatchStylusUp(x, y);
    }
    NoteMatchState();
}

void Club::DispatchStylusUp(uint16_t x, uint16_t y) {
    const uint8_t type = currentType_;
    if (!HasScreen(type)) {
        FallBackToClubView();
        return;
    }
    bool close = false;
    switch (type) {
        case kScreenMultiplayer: close = multiplayerScreen_->StylusUp(x, y); break;
        case kScreenInstantPlay: close = instantPlayScreen_->StylusUp(x, y); break;
        case kScreenBoss: bossScreen_->StylusUp(x, y); break;  // the lair leaves by itself
        case kScreenShop: close = shopScreen_->StylusUp(x, y); break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: close = tournamentScreen_->StylusUp(x, y); break;
        case kScreenOptions: close = optionsScreen_->StylusUp(x, y); break;
        case kScreenCharacter: close = characterScreen_->StylusUp(x, y); break;
        case kScreenBet: close = betScreen_->StylusUp(x, y); break;
        case kScreenCollection: close = collectionScreen_->StylusUp(x, y); break;
        case kScreenClubView: ClubViewStylusUp(x, y); break;
        case kScreenTrade: close = tradeScreen_->StylusUp(x, y); break;
        default: break;
    }
    // A screen that was closed by other means while it answered stays closed.
    if (close && HasScreen(type)) CloseScreen(type);
}

void Club::RedrawCurrentScreen(int buffer) {
    DispatchScope scope(*this);
    NoteMatchState();
    if (buffer < 0 || buffer > 2) return;
    DrawScreen(currentType_, static_cast<int8_t>(buffer));
}

void Club::DrawScreen(uint8_t type, int8_t buffer) {
    if (!HasScreen(type)) {
        FallBackToClubView();
        return;
    }
    switch (type) {
        case kScreenMultiplayer: multiplayerScreen_->Draw(buffer); break;
        case kScreenInstantPlay: instantPlayScreen_->Draw(buffer); break;
        case kScreenBoss: bossScreen_->Draw(buffer); break;
        case kScreenShop: shopScreen_->Draw(buffer); break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: tournamentScreen_->Draw(buffer); break;
        case kScreenOptions: optionsScreen_->Draw(); break;  // always buffer 0
        case kScreenCharacter: characterScreen_->Draw(buffer); break;
        case kScreenBet: betScreen_->Draw(buffer); break;
        case kScreenCollection: collectionScreen_->Draw(buffer); break;
        case kScreenClubView: Redraw(buffer); break;
        case kScreenTrade: tradeScreen_->Draw(buffer); break;
        default: break;
    }
}

// The current type names no screen (a damaged restore): the club view takes
// over at once.
void Club::FallBackToClubView() {
    currentType_ = kScreenClubView;
    pendingType_ = kScreenClubView;
    input_ = 1;
    transitionOut_ = 0;
    transitionIn_ = 0;
    direction_ = 0;
    Redraw(0);
    TraceScreen("enter", kScreenClubView);
}

}  // namespace qv
