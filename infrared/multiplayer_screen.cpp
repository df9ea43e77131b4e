// The multiplayer room's connection and its link checks. Placeholder until
// the room's screen is built: a dark screen without buttons or status texts.
#include "infrared/multiplayer_screen.h"

#include "club/placeholder_screen.h"
#include "engine/message_box.h"

namespace qv {
namespace {

const char16_t kName[] = u"Multiplayer";
constexpr uint16_t kHostSeconds = 20;

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
void MultiplayerScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }

bool MultiplayerScreen::HostIrConnection() {
    connected_ = HostLink(kHostSeconds) ? 1 : 0;
    return connected_ != 0;
}

bool MultiplayerScreen::JoinIrConnection() {
    connected_ = JoinLink() ? 1 : 0;
    return connected_ != 0;
}

void MultiplayerScreen::PollIrConnection() {
    if (!IsLinkAlive()) {
        connected_ = 0;
        Draw(0);
    }
}

bool MultiplayerScreen::CheckLinkSync() {
    if (IsLinkAlive()) {
        return true;
    }
    connected_ = 0;
    Draw(0);
    bool cancel = ShowMessageBox(u"Error of Synchronization:\n", u"Cancel", u"Retry", 1, 40, 120, 160, 80, 20, 3, 3);
    if (cancel) {
        return false;
    }
    return GetLinkRole() == 1 ? HostIrConnection() : JoinIrConnection();
}

}  // namespace qv
