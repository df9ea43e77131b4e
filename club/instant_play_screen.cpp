// Placeholder until Instant Play is built: a dark screen that closes on a tap
// and keeps its quick-save bytes.
#include "club/instant_play_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Instant Play";
}  // namespace

// Placeholder until Instant Play is built.
InstantPlayScreen::InstantPlayScreen() { DrawPlaceholderScreen(kName, 1); }
InstantPlayScreen::~InstantPlayScreen() = default;
void InstantPlayScreen::Enter() { Draw(0); }
void InstantPlayScreen::Update() {}
bool InstantPlayScreen::StylusDown(uint16_t, uint16_t) { return false; }
// Placeholder until Instant Play is built: any tap closes it.
bool InstantPlayScreen::StylusUp(uint16_t, uint16_t) { return true; }
void InstantPlayScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
void InstantPlayScreen::SetTutorial(uint8_t flag) { state_[2] = flag; }
void InstantPlayScreen::SetTutorialStep(uint8_t step) { state_[3] = step; }
bool InstantPlayScreen::TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
// Placeholder until Instant Play is built: never opens the bet screen.
bool InstantPlayScreen::TutorialStylusUp(uint16_t, uint16_t) { return false; }
bool InstantPlayScreen::WriteState(platform::FileHandle file) {
    return WritePlaceholderState(file, state_, kStateSize);
}
bool InstantPlayScreen::ReadState(platform::FileHandle file) {
    return ReadPlaceholderState(file, state_, kStateSize);
}

}  // namespace qv
