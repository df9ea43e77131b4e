// Placeholder until the boss's lair is built: a dark screen that leaves for
// the club view on a tap, as after a lost boss match.
#include "club/boss_screen.h"

#include "club/club.h"
#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"The boss's lair";
}  // namespace

// Placeholder until the lair is built: the lair stays shut.
bool TryEnterBossLair() { return false; }

BossScreen::BossScreen() = default;
BossScreen::~BossScreen() = default;
// Placeholder until the lair is built: after a tap, leaves as after a defeat.
// The club frees the lair only once this call has returned.
void BossScreen::Update() {
    if (leaving_) gClub.LeaveBossScreen(false);
}
void BossScreen::StylusDown(uint16_t, uint16_t) { leaving_ = 1; }
bool BossScreen::StylusUp(uint16_t, uint16_t) { return false; }
void BossScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
bool BossScreen::WriteState(platform::FileHandle) { return true; }
bool BossScreen::ReadState(platform::FileHandle) { return true; }

}  // namespace qv
