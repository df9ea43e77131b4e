// The bet screen: one opponent's portrait and description, the stake and the
// match. Placeholder until the bet screen is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class BetScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    // Index, level, match-started flag, tutorial flag, spare.
    static constexpr int kStateSize = 5;

    // opponentNumber 1..45. Comes up in buffer 0 by itself (its own Enter).
    explicit BetScreen(int opponentNumber);
    virtual ~BetScreen();
    BetScreen(const BetScreen&) = delete;
    BetScreen& operator=(const BetScreen&) = delete;

    void Enter();
    // After a match started here: pays and counts the result.
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    void SetTutorial(uint8_t flag);
    void TutorialUpdate();
    bool TutorialStylusDown(uint16_t x, uint16_t y);
    // True once Ok has started the tutorial match.
    bool TutorialStylusUp(uint16_t x, uint16_t y);
    // kStateSize bytes; true when all were written / read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

private:
    uint8_t state_[kStateSize] = {};  // placeholder's copy of the stored bytes
};

}  // namespace qv
