// Placeholder until the options screen is built: a dark screen that closes on a tap.
#include "club/options_screen.h"

#include "club/placeholder_screen.h"

namespace qv {

namespace {
const char16_t kName[] = u"Options";
}  // namespace

// Placeholder until the options screen is built.
OptionsScreen::OptionsScreen() { DrawPlaceholderScreen(kName, 1); }
OptionsScreen::~OptionsScreen() = default;
void OptionsScreen::Enter() { Draw(); }
void OptionsScreen::Update() {}
bool OptionsScreen::StylusDown(uint16_t, uint16_t) { return false; }
// Placeholder until the options screen is built: any tap closes it.
bool OptionsScreen::StylusUp(uint16_t, uint16_t) { return true; }
void OptionsScreen::Draw() { DrawPlaceholderScreen(kName, 0); }
bool OptionsScreen::WriteState(platform::FileHandle) { return true; }
bool OptionsScreen::ReadState(platform::FileHandle) { return true; }

}  // namespace qv
