// Placeholder until the collection manager is built: a dark screen that
// closes on a tap and keeps its quick-save bytes.
#include "club/collection_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Card manager";
}  // namespace

// Placeholder until the collection manager is built.
CollectionScreen::CollectionScreen(uint8_t, uint8_t, TradeScreen*) {}
CollectionScreen::~CollectionScreen() = default;
void CollectionScreen::Enter() { Draw(0); }
void CollectionScreen::Update() {}
bool CollectionScreen::StylusDown(uint16_t, uint16_t) { return false; }
void CollectionScreen::StylusMove(uint16_t, uint16_t) {}
// Placeholder until the collection manager is built: any tap closes it.
bool CollectionScreen::StylusUp(uint16_t, uint16_t) { return true; }
void CollectionScreen::Draw(int8_t buffer) { DrawPlaceholderScreen(kName, buffer); }
void CollectionScreen::SetTutorial(uint8_t flag) { state_[0] = flag; }
bool CollectionScreen::TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
bool CollectionScreen::TutorialStylusUp(uint16_t x, uint16_t y) { return StylusUp(x, y); }
bool CollectionScreen::WriteState(platform::FileHandle file) {
    return WritePlaceholderState(file, state_, kStateSize);
}
bool CollectionScreen::ReadState(platform::FileHandle file) {
    return ReadPlaceholderState(file, state_, kStateSize);
}

}  // namespace qv
