// The character screen: three character slots, name entry, loading and creating.
// Placeholder until the character screen is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class CharacterScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = true;
    static constexpr int kStateSize = 0;

    // Draws the screen's transition picture into back buffer 1.
    CharacterScreen();
    virtual ~CharacterScreen();
    CharacterScreen(const CharacterScreen&) = delete;
    CharacterScreen& operator=(const CharacterScreen&) = delete;

    // After the club's transition in: the screen comes up in buffer 0.
    void Enter();
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    // Nothing is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

private:
    uint8_t pressed_ = 0;  // placeholder: the quick-game button is held
};

}  // namespace qv
