// The character screen: three character slots, the on-screen keyboard, and
// creating, loading and deleting characters; also where a quick game starts.
#pragma once

#include <cstdint>

#include "cards/profile.h"
#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

inline constexpr int kCharacterSlotCount = 3;

// The editable fields of a slot, as the selected-field byte numbers them.
enum CharacterField : int8_t {
    kFieldName = 1,
    kFieldNumber = 2,
    kFieldTextA = 3,
    kFieldTextB = 4,
};

// What a tap on the keyboard stands for.
struct KeyboardKey {
    enum Kind : uint8_t { kNone, kCharacter, kBackspace } kind = kNone;
    char16_t character = 0;
};

// The key under the point: 13 columns by 3 rows of 15 x 15 keys at
// (13 + 17c, 257 + 19r); the gaps between keys are dead, except around the
// double-width backspace key (x 200..229 of the last row).
KeyboardKey KeyAtPoint(int x, int y);
// The number field's rules (-1 is empty): a digit is taken only while the
// number is below 1000; backspace drops the last digit and empties at 0.
int16_t AppendDigit(int16_t number, int digit);
int16_t DropDigit(int16_t number);
// A slot's summary as the screen shows an empty slot.
CharacterSummary EmptySlotSummary(int slotIndex);

class CharacterScreen {
public:
    static constexpr int kStateSize = 0;

    // Loads the pictures, selects the slot of the registry's "Character"
    // value, saves the current character, reads the three slots and draws
    // the transition picture into back buffer 1.
    CharacterScreen();
    virtual ~CharacterScreen();
    CharacterScreen(const CharacterScreen&) = delete;
    CharacterScreen& operator=(const CharacterScreen&) = delete;

    // After the club's transition in: the screen's tune, then the screen
    // at once after a tap, else through a cross-dissolve.
    void Enter();
    void Update() {}
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    // True closes the screen: only after OK loaded or created a character.
    bool StylusUp(uint16_t x, uint16_t y);
    void Draw(int8_t buffer);
    // Nothing of the screen is stored: true, and nothing is written or read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    // The head of the slot's character file (an empty slot when the file
    // does not open); the slot byte is always index + 1.
    static CharacterSummary ReadSlotHeader(int slotIndex);
    static bool SlotFileExists(int slotIndex);

    int SelectedSlot() const { return selectedSlot_; }
    int SelectedField() const { return selectedField_; }
    bool IsNewSlot() const { return newSlot_ != 0; }
    const CharacterSummary& Slot(int index) const { return slots_[index]; }

private:
    void DrawFields(int8_t buffer) const;
    void DrawSlotCursor(int8_t buffer) const;
    void DrawFieldCursor(int8_t buffer) const;
    void SelectSlot(int slotIndex);
    void PressKey(uint16_t x, uint16_t y);
    void TypeCharacter(char16_t c, uint16_t x, uint16_t y);
    void TypeDigit(int digit, uint16_t x, uint16_t y);
    void Backspace();
    static void FlyGlyph(const Picture& glyph, int x, int y, int targetX, int targetY);
    void PressButtons(uint16_t x, uint16_t y);
    bool PressOk();
    void PressDelete();
    void PressQuickGame();
    void CreateCharacter();
    bool LoadCharacter();
    void ForgetSlot(int slotIndex, bool forgetCurrent);

    Picture background_;
    Picture transitionPicture_;
    CharacterSummary slots_[kCharacterSlotCount];
    Button ok_;
    Button delete_;
    Button quickGame_;
    int8_t selectedSlot_ = 0;
    int8_t selectedField_ = kFieldName;
    uint8_t newSlot_ = 1;
};

}  // namespace qv
