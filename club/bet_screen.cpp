// Placeholder until the bet screen is built: a dark screen that closes on a
// tap and keeps its quick-save bytes.
#include "club/bet_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Bets";
constexpr int kPerLevel = 15;
}  // namespace

// Placeholder until the bet screen is built: keeps the opponent's index and level.
BetScreen::BetScreen(int opponentNumber) {
    const int number = opponentNumber >= 1 && opponentNumber <= 3 * kPerLevel ? opponentNumber : 1;
    state_[1] = static_cast<uint8_t>((number - 1) / kPerLevel);
    state_[0] = static_cast<uint8_t>(number - 1 - kPerLevel * state_[1]);
    Enter();
}
BetScreen::~BetScreen() = default;
void BetScreen::Enter() { Draw(0); }
void BetScreen::Update() {}
bool BetScreen::StylusDown(uint16_t, uint16_t) { return false; }
// Placeholder until the bet screen is built: any tap closes it.
bool BetScreen::StylusUp(uint16_t, uint16_t) { return true; }
void BetScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
void BetScreen::SetTutorial(uint8_t flag) { state_[3] = flag; }
void BetScreen::TutorialUpdate() { Update(); }
bool BetScreen::TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
// Placeholder until the bet screen is built: never starts the match.
bool BetScreen::TutorialStylusUp(uint16_t, uint16_t) { return false; }
bool BetScreen::WriteState(platform::FileHandle file) {
    return WritePlaceholderState(file, state_, kStateSize);
}
bool BetScreen::ReadState(platform::FileHandle file) {
    return ReadPlaceholderState(file, state_, kStateSize);
}

}  // namespace qv
