// The character screen's on-screen keyboard: which key a tap hits, the
// field rules, and the letter that flies from the key to its field.
#include "cards/save_io.h"
#include "club/character_screen.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/music.h"
#include "engine/utilities.h"
#include "platform/clock.h"

namespace qv {

namespace {

constexpr int kKeyLeft = 13, kKeyTop = 257, kKeyStepX = 17, kKeyStepY = 19, kKeySize = 15;
constexpr int kColumns = 13;
constexpr int kBackspaceColumn = 11, kBackspaceRow = 2;
constexpr int kTextLeft = 68;
// Texts must stay narrower than the field's bar.
constexpr int kTextWidthLimit = 158;
constexpr int kNumberFlightY = 78;
constexpr uint32_t kFlightStepMs = 4;

// Where a letter of the field lands (the text fields only).
int FlightY(int field) {
    switch (field) {
        case kFieldName: return 45;
        case kFieldTextA: return 111;
        default: return 145;
    }
}

int StepToward(int from, int to, int size) { return from < to ? size : (from > to ? -size : 0); }

}  // namespace

KeyboardKey KeyAtPoint(int x, int y) {
    KeyboardKey key;
    if (x < kKeyLeft || y < kKeyTop) return key;
    const int column = (x - kKeyLeft) / kKeyStepX;
    const int row = (y - kKeyTop) / kKeyStepY;
    if (column >= kColumns || row >= 3) return key;
    const bool wholeCell = column == kBackspaceColumn && row == kBackspaceRow;
    const bool onKey = x < kKeyLeft + kKeySize + kKeyStepX * column && y < kKeyTop + kKeySize + kKeyStepY * row;
    if (!wholeCell && !onKey) return key;
    const int index = column + kColumns * row;
    key.kind = KeyboardKey::kCharacter;
    if (index < 26) {
        key.character = static_cast<char16_t>(u'A' + index);
    } else if (index < 35) {
        key.character = static_cast<char16_t>(u'1' + index - 26);
    } else if (index == 35) {
        key.character = u'0';
    } else if (index == 36) {
        key.character = u' ';
    } else {
        key.kind = KeyboardKey::kBackspace;
    }
    return key;
}

int16_t AppendDigit(int16_t number, int digit) {
    if (number >= 1000) return number;
    return static_cast<int16_t>(number == -1 ? digit : number * 10 + digit);
}

int16_t DropDigit(int16_t number) {
    const int16_t shorter = static_cast<int16_t>(number / 10);
    return shorter == 0 ? int16_t{-1} : shorter;
}

void CharacterScreen::PressKey(uint16_t x, uint16_t y) {
    const KeyboardKey key = KeyAtPoint(x, y);
    if (key.kind == KeyboardKey::kNone) return;
    if (key.kind == KeyboardKey::kBackspace) {
        Backspace();
    } else if (selectedField_ == kFieldNumber) {
        if (key.character >= u'0' && key.character <= u'9') TypeDigit(key.character - u'0', x, y);
    } else {
        TypeCharacter(key.character, x, y);
    }
    Draw(0);
}

void CharacterScreen::Backspace() {
    CharacterSummary& slot = slots_[selectedSlot_];
    switch (selectedField_) {
        case kFieldName:
            if (!slot.name.empty()) slot.name.pop_back();
            break;
        case kFieldNumber: slot.number = DropDigit(slot.number); break;
        case kFieldTextA:
            if (!slot.textA.empty()) slot.textA.pop_back();
            break;
        case kFieldTextB:
            if (!slot.textB.empty()) slot.textB.pop_back();
            break;
        default: break;
    }
}

void CharacterScreen::TypeCharacter(char16_t c, uint16_t x, uint16_t y) {
    CharacterSummary& slot = slots_[selectedSlot_];
    WString* text = nullptr;
    switch (selectedField_) {
        case kFieldName: text = &slot.name; break;
        case kFieldTextA: text = &slot.textA; break;
        case kFieldTextB: text = &slot.textB; break;
        default: return;
    }
    // The length cap matters only for a font without the glyph (width 0):
    // the file keeps every character that was typed.
    if (gFont.TextWidth(*text + c) >= kTextWidthLimit || text->size() >= kMaxSaveTextLength) return;
    FlyGlyph(gFont.GetGlyph(c & 0xFF), x, y, kTextLeft + gFont.TextWidth(*text), FlightY(selectedField_));
    *text += c;
}

void CharacterScreen::TypeDigit(int digit, uint16_t x, uint16_t y) {
    CharacterSummary& slot = slots_[selectedSlot_];
    if (slot.number >= 1000) return;
    const int targetX = slot.number == -1 ? kTextLeft : kTextLeft + gFont.TextWidth(FormatShort(slot.number));
    FlyGlyph(gFont.GetGlyph(u'0' + digit), x, y, targetX, kNumberFlightY);
    slot.number = AppendDigit(slot.number, digit);
}

// Straight into back buffer 0 and presented step by step; buffer 0 is as it
// was when the flight ends.
void CharacterScreen::FlyGlyph(const Picture& glyph, int x, int y, int targetX, int targetY) {
    if (glyph.pixels == nullptr) return;
    int stepX = StepToward(x, targetX, 1);
    int stepY = StepToward(y, targetY, 2);
    Picture saveUnder{glyph.height, glyph.width, new uint16_t[static_cast<size_t>(glyph.width) * glyph.height]};
    uint32_t last = platform::GetTickCount();
    for (;;) {
        WaitSince(last, kFlightStepMs);
        last = platform::GetTickCount();
        GrabRectInto(x, y, 0, saveUnder);
        BlitPictureKeyed(x, y, glyph, 0);
        PresentRect(static_cast<int16_t>(stepX < 0 ? x : x - stepX), static_cast<int16_t>(stepY < 0 ? y : y - stepY),
                    static_cast<int16_t>(glyph.width + (stepX < 0 ? -stepX : stepX)),
                    static_cast<int16_t>(glyph.height + (stepY < 0 ? -stepY : stepY)), 0);
        BlitPicture(x, y, saveUnder, 0);
        if (x == targetX && y == targetY) break;
        x += stepX;
        y += stepY;
        if ((stepX > 0 && x >= targetX) || (stepX < 0 && x <= targetX)) {
            x = targetX;
            stepX = 0;
        }
        if ((stepY > 0 && y >= targetY) || (stepY < 0 && y <= targetY)) {
            y = targetY;
            stepY = 0;
        }
    }
    FreePicture(saveUnder);
}

}  // namespace qv
