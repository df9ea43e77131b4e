// The club screen manager and its one instance gClub. Placeholder until the
// club screens are built: only the operations the rest of the game calls.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class Club {
public:
    Club() = default;
    virtual ~Club() = default;
    Club(const Club&) = delete;
    Club& operator=(const Club&) = delete;

    // One main-loop frame of the club; returns 1.
    int Update();
    // Stylus events in screen pixels.
    void StylusDown(uint16_t x, uint16_t y);
    void StylusMove(uint16_t x, uint16_t y);
    void StylusUp(uint16_t x, uint16_t y);
    // Draws the current screen into the back buffer (0..2).
    void RedrawCurrentScreen(int buffer);
    // Start-up: the club view's buttons, and its 50 panorama frames (one
    // loading step each).
    void LoadButtons();
    void LoadPanorama();
    // Opens the character screen (start-up without a quick save).
    void OpenCharacterScreen();
    // The club's block of the quick save, on the open file at its position.
    void WriteState(platform::FileHandle file);
    void ReadState(platform::FileHandle file);

private:
    uint8_t drawn_ = 0;    // 1 once the background is in buffer 0
    uint8_t pressed_ = 0;  // 1 between a stylus down and its up
};

extern Club gClub;

}  // namespace qv
