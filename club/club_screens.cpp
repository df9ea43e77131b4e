// The club screen manager's openers, the darkening and dissolving transitions
// between screens, and the ways screens close and hand back to each other.
#include "club/club.h"

#include <string>

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "club/bet_screen.h"
#include "club/boss_screen.h"
#include "club/character_screen.h"
#include "club/collection_screen.h"
#include "club/instant_play_screen.h"
#include "club/options_screen.h"
#include "club/room_notes.h"
#include "club/shop_screen.h"
#include "club/tournament_screen.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "infrared/multiplayer_screen.h"
#include "infrared/trade_screen.h"
#include "platform/messages.h"

namespace qv {

namespace {

constexpr int8_t kTransitionSteps = 8;
constexpr int kTransitionAmount = 4;  // channel units a darkening or dissolve step moves

}  // namespace

// --- Openers ---

void Club::BeginTransitionIn(uint8_t type) {
    stepCounter_ = kTransitionSteps;
    input_ = 0;
    transitionIn_ = 1;
    pendingType_ = type;
}

void Club::OpenMultiplayerScreen() {
    Retire(multiplayerScreen_);
    multiplayerScreen_ = new MultiplayerScreen();
    BeginTransitionIn(kScreenMultiplayer);
}

void Club::OpenInstantPlayScreen() {
    Retire(instantPlayScreen_);
    instantPlayScreen_ = new InstantPlayScreen();
    BeginTransitionIn(kScreenInstantPlay);
}

void Club::OpenBossScreen() {
    Retire(bossScreen_);
    bossScreen_ = new BossScreen();
    bossScreen_->Draw(1);
    BeginTransitionIn(kScreenBoss);
}

// Other screens call this too: the club view's tick, which runs the
// transition, runs only while the club view is current.
void Club::OpenShopScreen(uint8_t returnTo) {
    Retire(shopScreen_);
    shopScreen_ = new ShopScreen();
    BeginTransitionIn(kScreenShop);
    currentType_ = kScreenClubView;
    shopReturn_ = returnTo;
}

void Club::OpenTournamentScreen(int level) {
    if (level < 0 || level > 2) level = 0;
    Retire(tournamentScreen_);
    tournamentScreen_ = new TournamentScreen(level);
    BeginTransitionIn(static_cast<uint8_t>(kScreenGuestTournament + level));
}

void Club::OpenOptionsScreen() {
    Retire(optionsScreen_);
    optionsScreen_ = new OptionsScreen();
    BeginTransitionIn(kScreenOptions);
}

void Club::OpenCharacterScreen() {
    Retire(characterScreen_);
    characterScreen_ = new CharacterScreen();
    BeginTransitionIn(kScreenCharacter);
}

void Club::OpenBetScreen(uint8_t returnTo, int opponentNumber) {
    Retire(betScreen_);
    betScreen_ = new BetScreen(opponentNumber);
    betScreen_->Draw(0);
    currentType_ = kScreenBet;
    betReturn_ = returnTo;
    if (tutorialFlag_) betScreen_->SetTutorial(1);
    TraceScreen("enter", kScreenBet);
}

void Club::OpenCollectionScreen(uint8_t returnTo, uint8_t highlightNew, uint8_t mode) {
    Retire(collectionScreen_);
    collectionScreen_ = new CollectionScreen(highlightNew, mode, tradeScreen_);
    currentType_ = kScreenCollection;
    collectionReturn_ = returnTo;
    TraceScreen("enter", kScreenCollection);
    collectionScreen_->Enter();
    if (collectionScreen_ != nullptr) collectionScreen_->Draw(0);
}

void Club::OpenTradeScreen(uint8_t returnTo) {
    Retire(tradeScreen_);
    tradeScreen_ = new TradeScreen(multiplayerScreen_);
    currentType_ = kScreenTrade;
    tradeReturn_ = returnTo;
    TraceScreen("enter", kScreenTrade);
    tradeScreen_->Enter();
    if (tradeScreen_ != nullptr) tradeScreen_->Draw(0);
}

// --- Transitions ---

void Club::BeginTransition(uint8_t openRoom) {
    openRoom_ = openRoom;
    input_ = 0;
    transitionOut_ = 1;
    stepCounter_ = kTransitionSteps;
}

// Eight ticks darken; the ninth opens the room's screen or goes back to the
// club view.
void Club::StepTransitionOut() {
    if (--stepCounter_ >= 0) {
        DarkenRect(0, 0, kScreenWidth, kScreenHeight, kTransitionAmount, 0);
        return;
    }
    input_ = 1;
    transitionOut_ = 0;
    if (openRoom_ == 1) {
        OpenRoomScreen();
    } else {
        pendingType_ = kScreenClubView;
        ReturnToClubView();
    }
}

void Club::OpenRoomScreen() {
    switch (room_) {
        case 0: OpenMultiplayerScreen(); break;
        case 1: OpenInstantPlayScreen(); break;
        case 2: OpenBossScreen(); break;
        case 3: OpenShopScreen(currentType_); break;
        case 4:
        case 5:
        case 6: OpenTournamentScreen(room_ - 4); break;
        case 7: OpenOptionsScreen(); break;
        case 8:
            SavePlayer();
            OpenCharacterScreen();
            break;
        case 9: platform::PostQuitMessage(0); break;
        default: break;
    }
}

void Club::ReturnToClubView() {
    FillBuffer(0, 0);
    Redraw(1);
    input_ = 0;
    stepCounter_ = kTransitionSteps;
    transitionIn_ = 1;
}

// Eight ticks dissolve toward buffer 1; the ninth makes the pending screen
// current and enters it.
void Club::StepTransitionIn() {
    if (--stepCounter_ >= 0) {
        BlendRectToward(0, 0, kScreenWidth, kScreenHeight, kTransitionAmount, 0, 1);
        return;
    }
    input_ = 1;
    transitionIn_ = 0;
    if (!HasScreen(pendingType_)) pendingType_ = kScreenClubView;
    currentType_ = pendingType_;
    EnterScreen(currentType_);
}

void Club::EnterScreen(uint8_t type) {
    if (!HasScreen(type)) {
        FallBackToClubView();
        return;
    }
    TraceScreen("enter", type);
    switch (type) {
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament:
            if (!gProfile.HasSixteenCards()) {
                ShowNote(kTooFewCardsNote);
                currentType_ = kScreenClubView;
                TraceScreen("close", type);
                Retire(tournamentScreen_);
                OpenShopScreen(kScreenClubView);
                return;
            }
            tournamentScreen_->Enter();
            break;
        case kScreenClubView:
            BeginRoomShow(0);
            DrawCreditsCounter(0);
            DrawQuickMenuTab(0);
            break;
        case kScreenBet:
        case kScreenCollection:
        case kScreenTrade:
        case kScreenBoss: break;  // the lair is drawn by its opener; the others open at once
        default: EnterRoomScreen(type); break;
    }
    TutorialAfterEntering(type);
}

void Club::EnterRoomScreen(uint8_t type) {
    switch (type) {
        case kScreenMultiplayer: multiplayerScreen_->Enter(); break;
        case kScreenInstantPlay: instantPlayScreen_->Enter(); break;
        case kScreenShop: shopScreen_->Enter(); break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament: tournamentScreen_->Enter(); break;
        case kScreenOptions: optionsScreen_->Enter(); break;
        case kScreenCharacter: characterScreen_->Enter(); break;
        case kScreenBet: betScreen_->Enter(); break;
        case kScreenCollection: collectionScreen_->Enter(); break;
        case kScreenTrade: tradeScreen_->Enter(); break;
        default: break;
    }
}

// --- Closing and returning ---

void Club::CloseScreen(uint8_t type) {
    TraceScreen("close", type);
    switch (type) {
        case kScreenMultiplayer:
            // Its destructor puts gMusicOff back before the menu tune starts;
            // its own call has returned, so it can go at once.
            delete multiplayerScreen_;
            multiplayerScreen_ = nullptr;
            currentType_ = kScreenClubView;
            StartMenuMusic();
            BeginTransition(0);
            break;
        case kScreenInstantPlay:
            Retire(instantPlayScreen_);
            currentType_ = kScreenClubView;
            BeginTransition(0);
            break;
        case kScreenShop:
            Retire(shopScreen_);
            ReenterScreen(shopReturn_);
            break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament:
            currentType_ = kScreenClubView;
            BeginTransition(0);
            Retire(tournamentScreen_);
            break;
        case kScreenOptions:
            currentType_ = kScreenClubView;
            BeginTransition(0);
            Retire(optionsScreen_);
            break;
        case kScreenCharacter:
            Retire(characterScreen_);
            currentType_ = kScreenClubView;
            StartMenuMusic();
            BeginTransition(0);
            break;
        case kScreenBet:
            Retire(betScreen_);
            ReenterScreen(betReturn_);
            break;
        case kScreenCollection:
            Retire(collectionScreen_);
            ReenterScreen(collectionReturn_);
            break;
        case kScreenTrade:
            Retire(tradeScreen_);
            ReenterScreen(tradeReturn_);
            break;
        default: break;
    }
}

// A screen to return to that no longer exists gives the club view.
void Club::ReenterScreen(uint8_t type) {
    if (!HasScreen(type)) type = kScreenClubView;
    currentType_ = type;
    if (type == kScreenClubView) {
        BeginTransition(0);
        return;
    }
    TraceScreen("enter", type);
    switch (type) {
        case kScreenMultiplayer:
            multiplayerScreen_->Enter();
            if (multiplayerScreen_ != nullptr) multiplayerScreen_->Draw(0);
            break;
        case kScreenInstantPlay:
            if (gClubActive == 1) {
                instantPlayScreen_->Enter();
                if (instantPlayScreen_ != nullptr) instantPlayScreen_->Draw(0);
            }
            break;
        case kScreenShop:
            shopScreen_->Enter();
            if (shopScreen_ != nullptr) shopScreen_->Draw(0);
            break;
        case kScreenGuestTournament:
        case kScreenMemberTournament:
        case kScreenEliteTournament:
            tournamentScreen_->Enter();
            if (tournamentScreen_ != nullptr) tournamentScreen_->Draw(0);
            break;
        case kScreenBet:
            betScreen_->Enter();
            if (betScreen_ != nullptr) betScreen_->Draw(0);
            break;
        case kScreenTrade:
            // Each call may end the trade (the link fails): look again before the next.
            tradeScreen_->Enter();
            if (tradeScreen_ != nullptr) tradeScreen_->SendOwnOffer();
            if (tradeScreen_ != nullptr) tradeScreen_->Draw(0);
            break;
        default: break;  // 2, 7, 8 and 12 are only made current
    }
}

void Club::CloseCollectionScreen() {
    if (collectionScreen_ != nullptr) TraceScreen("close", kScreenCollection);
    Retire(collectionScreen_);
    if (tradeScreen_ != nullptr) TraceScreen("close", kScreenTrade);
    Retire(tradeScreen_);
    ReenterScreen(tradeReturn_);
}

void Club::LeaveBossScreen(bool won) {
    TraceScreen("close", kScreenBoss);
    Retire(bossScreen_);
    currentType_ = kScreenClubView;
    if (won) {
        room_ = 8;
        frame_ = static_cast<int16_t>(RoomFrame(8));
        OpenCharacterScreen();
    } else {
        StartMenuMusic();
        Redraw(0);
        TraceScreen("enter", kScreenClubView);
    }
}

void StartMenuMusic() {
    if (gMusicOff) return;
    FreeMusic();
    LoadMusic(gInstallDir + u"SOUNDS\\menu.QVX");
    PlayMusic(0);
}


}  // namespace qv
