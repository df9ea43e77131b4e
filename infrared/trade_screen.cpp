// Placeholder until the trade screen is built: a dark screen that closes on a tap.
#include "infrared/trade_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Trade";
}  // namespace

// Placeholder until the trade screen is built.
TradeScreen::TradeScreen(MultiplayerScreen* room) : room_(room) {}
TradeScreen::~TradeScreen() = default;
void TradeScreen::Enter() { Draw(0); }
void TradeScreen::Update() {}
void TradeScreen::StylusDown(uint16_t, uint16_t) {}
// Placeholder until the trade screen is built: any tap closes it.
bool TradeScreen::StylusUp(uint16_t, uint16_t) { return true; }
void TradeScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
// Placeholder until the trade screen is built: nothing to send.
void TradeScreen::SendOwnOffer() {}
bool TradeScreen::WriteState(platform::FileHandle) { return true; }
bool TradeScreen::ReadState(platform::FileHandle) { return true; }

}  // namespace qv
