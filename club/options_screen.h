// The options room: volume, gamma, screen effects and the statistics page.
// Placeholder until the options screen is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class OptionsScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    static constexpr int kStateSize = 0;

    // Puts the screen's entry picture into back buffer 1.
    OptionsScreen();
    virtual ~OptionsScreen();
    OptionsScreen(const OptionsScreen&) = delete;
    OptionsScreen& operator=(const OptionsScreen&) = delete;

    void Enter();
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    // Always into back buffer 0.
    void Draw();
    // Nothing is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);
};

}  // namespace qv
