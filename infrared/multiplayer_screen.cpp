// Placeholder until infra-red play is built: the room's link operations do nothing.
#include "infrared/multiplayer_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Multiplayer";
}  // namespace

// Placeholder until the room is built: a dark screen that closes on a tap.
MultiplayerScreen::MultiplayerScreen() { DrawPlaceholderScreen(kName, 1); }
MultiplayerScreen::~MultiplayerScreen() = default;
void MultiplayerScreen::Enter() { Draw(0); }
void MultiplayerScreen::Update() {}
void MultiplayerScreen::StylusDown(uint16_t, uint16_t) {}
bool MultiplayerScreen::StylusUp(uint16_t, uint16_t) { return true; }
bool MultiplayerScreen::WriteState(platform::FileHandle) { return true; }
bool MultiplayerScreen::ReadState(platform::FileHandle) { return true; }

bool MultiplayerScreen::ExchangeMessage(uint8_t, uint8_t, uint8_t, uint8_t, uint8_t, int16_t,
                                        const WString&) {
    return false;
}

bool MultiplayerScreen::ReceiveMessage(uint8_t&, uint8_t&, uint8_t&, uint8_t&, uint8_t&,
                                       int16_t&, WString&) {
    return false;
}

bool MultiplayerScreen::IsMessageWaiting() { return false; }
bool MultiplayerScreen::SendCardTakenMessage() { return false; }
bool MultiplayerScreen::IsLinkAlive() { return true; }
bool MultiplayerScreen::CheckLinkSync() { return true; }
void MultiplayerScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
void MultiplayerScreen::PollIrConnection() {}

}  // namespace qv
