// Instant Play: the 15 opponents of a level, and the way to the bet screen.
// Placeholder until Instant Play is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class InstantPlayScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    // Level, selected row, tutorial flag, tutorial step.
    static constexpr int kStateSize = 4;

    // Draws the screen's transition picture into back buffer 1.
    InstantPlayScreen();
    virtual ~InstantPlayScreen();
    InstantPlayScreen(const InstantPlayScreen&) = delete;
    InstantPlayScreen& operator=(const InstantPlayScreen&) = delete;

    // After the club's transition in, and again when the bet screen closes.
    void Enter();
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    void SetTutorial(uint8_t flag);
    void SetTutorialStep(uint8_t step);
    bool TutorialStylusDown(uint16_t x, uint16_t y);
    // True once it has opened the bet screen.
    bool TutorialStylusUp(uint16_t x, uint16_t y);
    // kStateSize bytes; true when all were written / read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

private:
    uint8_t state_[kStateSize] = {0, 0xFF, 0, 0};  // placeholder's copy of the stored bytes
};

}  // namespace qv
