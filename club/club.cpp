// The club screen manager: opening, entering, dispatching and closing screens.
// Interface first: the bodies below are placeholders while the manager is built.
#include "club/club.h"

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "club/bet_screen.h"
#include "club/boss_screen.h"
#include "club/character_screen.h"
#include "club/collection_screen.h"
#include "club/instant_play_screen.h"
#include "club/options_screen.h"
#include "club/shop_screen.h"
#include "club/tournament_screen.h"
#include "engine/display.h"
#include "engine/loading_screen.h"
#include "infrared/multiplayer_screen.h"
#include "infrared/trade_screen.h"
#include "club/shell_links.h"

namespace qv {

Club gClub;

bool IsScreenType(int value) { return value >= 0 && value <= 14 && value != 9 && value != 11; }

Club::Club() = default;
Club::~Club() = default;

int Club::Update() {
    if (characterScreen_ != nullptr) characterScreen_->Update();
    return 1;
}
void Club::StylusDown(uint16_t x, uint16_t y) {
    if (characterScreen_ != nullptr) characterScreen_->StylusDown(x, y);
}
void Club::StylusMove(uint16_t, uint16_t) {}
void Club::StylusUp(uint16_t x, uint16_t y) {
    if (characterScreen_ != nullptr && characterScreen_->StylusUp(x, y)) {
        delete characterScreen_;
        characterScreen_ = nullptr;
        RedrawCurrentScreen(0);
    }
}
void Club::RedrawCurrentScreen(int buffer) {
    if (characterScreen_ != nullptr) {
        characterScreen_->Draw(static_cast<int8_t>(buffer));
    } else {
        FillBuffer(0, static_cast<int8_t>(buffer));
    }
}
void Club::OpenMultiplayerScreen() {}
void Club::OpenInstantPlayScreen() {}
void Club::OpenBossScreen() {}
void Club::OpenShopScreen(uint8_t) {}
void Club::OpenTournamentScreen(int) {}
void Club::OpenOptionsScreen() {}
void Club::OpenCharacterScreen() {
    if (characterScreen_ == nullptr) characterScreen_ = new CharacterScreen();
    characterScreen_->Enter();
}
void Club::OpenBetScreen(uint8_t, int) {}
void Club::OpenCollectionScreen(uint8_t, uint8_t, uint8_t) {}
void Club::OpenTradeScreen(uint8_t) {}
void Club::BeginTransition(uint8_t) {}
void Club::StepTransitionOut() {}
void Club::StepTransitionIn() {}
void Club::ReturnToClubView() {}
void Club::ReenterScreen(uint8_t) {}
void Club::CloseCollectionScreen() {}
void Club::LeaveBossScreen(bool) {}
void Club::StartTutorial() {}
void Club::EndTutorial() {}
void Club::TutorialUpdate() {}
void Club::TutorialStylusDown(uint16_t, uint16_t) {}
void Club::TutorialStylusUp(uint16_t, uint16_t) {}
bool Club::WriteState(platform::FileHandle) { return true; }
bool Club::ReadState(platform::FileHandle) { return true; }
void Club::ResumeFromQuickSave() {
    if (gClubActive == 1) OpenCharacterScreen();
}
void Club::LoadPanorama() {
    for (int frame = 1; frame <= kPanoramaFrameCount; ++frame) gLoadingScreen.Step();
}
void Club::LoadButtons() {}
void Club::Redraw(int8_t buffer) { FillBuffer(0, buffer); }
void Club::Tick() {}
void Club::RotateRight() {}
void Club::RotateLeft() {}
void Club::StepRotation() {}
void Club::TypeDescription() {}
void Club::FinishDescription(int8_t) {}
void Club::DrawCreditsCounter(int8_t) {}
void Club::DrawQuickMenuTab(int8_t) {}
void Club::SlideQuickMenuOpen() {}
void Club::RunQuickMenu() {}
void Club::SlideQuickMenuClosed() {}
int Club::RoomFrame(int) { return 0; }
bool Club::HasScreen(uint8_t type) const { return type == kScreenClubView; }
void Club::Reset() {}

void StartMenuMusic() {}

}  // namespace qv
