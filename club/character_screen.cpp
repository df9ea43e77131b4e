// Placeholder until the character screen is built: a plain screen with a
// quick-game button; a tap anywhere else goes to the club view.
#include "club/character_screen.h"

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"

namespace qv {

namespace {

enum : uint8_t { kDownElsewhere = 1, kDownOnButton = 2 };

// The quick-game button of the placeholder screen.
constexpr int kQuickX = 60, kQuickY = 150, kQuickWidth = 120, kQuickHeight = 26;

bool OnQuickGameButton(int x, int y) {
    return x >= kQuickX && x < kQuickX + kQuickWidth && y >= kQuickY && y < kQuickY + kQuickHeight;
}

void DrawCentred(const WString& text, int y, int8_t buffer) {
    DrawText(text, (kScreenWidth - gFont.TextWidth(text)) / 2, y, gFont, buffer);
}

}  // namespace

// Placeholder until the character screen is built.
CharacterScreen::CharacterScreen() { Draw(1); }
CharacterScreen::~CharacterScreen() = default;
void CharacterScreen::Enter() { Draw(0); }
void CharacterScreen::Update() {}

// Placeholder until the character screen is built: remembers where the
// stylus went down.
bool CharacterScreen::StylusDown(uint16_t x, uint16_t y) {
    pressed_ = OnQuickGameButton(x, y) ? kDownOnButton : kDownElsewhere;
    return false;
}

// Placeholder until the character screen is built: a press and release on
// the button starts a quick game as the real screen will (the current
// character is saved first and the quick game runs without a character
// slot, so nothing of it is saved); any other tap closes the screen. A
// release whose press came before the screen does nothing.
bool CharacterScreen::StylusUp(uint16_t x, uint16_t y) {
    const uint8_t pressed = pressed_;
    pressed_ = 0;
    if (pressed == 0) return false;
    if (pressed != kDownOnButton || !OnQuickGameButton(x, y)) return true;
    SavePlayer();
    gProfile.SetSlot(255);
    StartQuickGame();
    return false;
}

// Placeholder until the character screen is built: the program's name, the
// button and the way on.
void CharacterScreen::Draw(int8_t buffer) {
    FillBuffer(0, buffer);
    FillRect(kQuickX, kQuickY, kQuickWidth, kQuickHeight, TextColour(10), buffer);
    FillRect(kQuickX + 2, kQuickY + 2, kQuickWidth - 4, kQuickHeight - 4, 0, buffer);
    DrawCentred(u"Quorvane", kQuickY - 40, buffer);
    DrawCentred(u"Quick game", kQuickY + (kQuickHeight - gFont.GetHeight()) / 2, buffer);
    DrawCentred(u"Tap elsewhere for the club", kQuickY + 60, buffer);
}

bool CharacterScreen::WriteState(platform::FileHandle) { return true; }
bool CharacterScreen::ReadState(platform::FileHandle) { return true; }

}  // namespace qv
