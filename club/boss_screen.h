// The boss's lair: the entry test, the boss's talk and match, the victory with
// the end credits, and the defeat. Placeholder until the lair is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

// Asked before the club view enters room 2: the entry checks and the
// payment. True lets the club open the lair.
bool TryEnterBossLair();

class BossScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    static constexpr int kStateSize = 0;

    BossScreen();
    virtual ~BossScreen();
    BossScreen(const BossScreen&) = delete;
    BossScreen& operator=(const BossScreen&) = delete;

    // After its match: the victory or the defeat, then Club::LeaveBossScreen.
    void Update();
    void StylusDown(uint16_t x, uint16_t y);
    bool StylusUp(uint16_t x, uint16_t y);  // always false: the lair leaves by itself
    void Draw(int8_t buffer);
    // Nothing is stored: true.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

private:
    uint8_t leaving_ = 0;  // placeholder: a tap asks to leave on the next update
};

}  // namespace qv
