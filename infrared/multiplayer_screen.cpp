// Placeholder until infra-red play is built: the room's link operations do nothing.
#include "infrared/multiplayer_screen.h"

namespace qv {

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
void MultiplayerScreen::Draw(int8_t) {}
void MultiplayerScreen::PollIrConnection() {}

}  // namespace qv
