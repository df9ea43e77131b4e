// Placeholder until the card shop is built: a dark screen that closes on a tap
// and keeps its quick-save bytes.
#include "club/shop_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Cardshop";
}  // namespace

// Placeholder until the card shop is built.
ShopScreen::ShopScreen() { DrawPlaceholderScreen(kName, 1); }
ShopScreen::~ShopScreen() = default;
void ShopScreen::Enter() { Draw(0); }
void ShopScreen::Update() {}
bool ShopScreen::StylusDown(uint16_t, uint16_t) { return false; }
// Placeholder until the card shop is built: any tap closes it.
bool ShopScreen::StylusUp(uint16_t, uint16_t) { return true; }
void ShopScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
void ShopScreen::SetTutorial(uint8_t flag) { state_[0] = flag; }
void ShopScreen::SetTutorialStep(uint8_t step) { state_[1] = step; }
void ShopScreen::TutorialUpdate() { Update(); }
bool ShopScreen::TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
// Placeholder until the card shop is built: never done.
bool ShopScreen::TutorialStylusUp(uint16_t, uint16_t) { return false; }
bool ShopScreen::WriteState(platform::FileHandle file) {
    return WritePlaceholderState(file, state_, kStateSize);
}
bool ShopScreen::ReadState(platform::FileHandle file) {
    return ReadPlaceholderState(file, state_, kStateSize);
}

}  // namespace qv
