// The card shop: boosters, the deck services and the way to the collection
// manager. Placeholder until the card shop is built.
#pragma once

#include <cstdint>

#include "platform/files.h"

namespace qv {

class ShopScreen {
public:
    // False while the room's screen is a placeholder that cannot be used:
    // the club view then answers the room with its closed note.
    static constexpr bool kOpen = false;
    // Tutorial flag, tutorial step.
    static constexpr int kStateSize = 2;

    // Draws the screen's transition picture into back buffer 1.
    ShopScreen();
    virtual ~ShopScreen();
    ShopScreen(const ShopScreen&) = delete;
    ShopScreen& operator=(const ShopScreen&) = delete;

    void Enter();
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the shop
    void Draw(int8_t buffer);
    void SetTutorial(uint8_t flag);
    void SetTutorialStep(uint8_t step);
    void TutorialUpdate();
    bool TutorialStylusDown(uint16_t x, uint16_t y);
    // True once the collection manager is open and current.
    bool TutorialStylusUp(uint16_t x, uint16_t y);
    // kStateSize bytes; true when all were written / read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

private:
    uint8_t state_[kStateSize] = {};  // placeholder's copy of the stored bytes
};

}  // namespace qv
