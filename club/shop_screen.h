// The card shop: boosters bought and opened, the deck services and the way
// to the collection manager.
#pragma once

#include <cstdint>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

class ShopScreen {
public:
    // Tutorial flag, tutorial step.
    static constexpr int kStateSize = 2;
    static constexpr int kButtonCount = 10;
    static constexpr int kBundleCount = 5;
    static constexpr int kBoosterFrameCount = 11;
    // Boosters and their price, by the buttons 0 to 4.
    static const uint32_t kBoosterCounts[kBundleCount];
    static const uint32_t kBoosterPrices[kBundleCount];
    // The step of the club's tutorial at which the shop waits for a booster,
    // and the one at which it waits for the way to the collection manager.
    static constexpr uint8_t kTutorialBuyStep = 4;
    static constexpr uint8_t kTutorialManagerStep = 5;

    // Loads the pictures, sets up the buttons and draws the entry picture
    // into back buffer 1 for the club's transition in.
    ShopScreen();
    virtual ~ShopScreen();
    ShopScreen(const ShopScreen&) = delete;
    ShopScreen& operator=(const ShopScreen&) = delete;

    // Up to 500 ms for a tap, then the shop at once or through a dissolve.
    void Enter();
    // One step of the booster animation a frame; a second after it the
    // collection manager opens with the new cards standing out.
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the shop
    void Draw(int8_t buffer);
    void DrawCredits(int8_t buffer);

    // The club's tutorial: a booster that opens without being bought, then
    // a gift of cards and the way to the collection manager.
    void SetTutorial(uint8_t flag) { tutorial_ = flag; }
    void SetTutorialStep(uint8_t step) { tutorialStep_ = step; }
    void TutorialUpdate() { Update(); }
    bool TutorialStylusDown(uint16_t x, uint16_t y);
    // True once the collection manager is open and current.
    bool TutorialStylusUp(uint16_t x, uint16_t y);

    // Buys the bundle of button 0..4 when the credits allow it: the cards,
    // the credits and the character file change together.
    void BuyBoosters(int bundle);
    // Sells every copy beyond the first of each card and saves the character.
    void SellDuplicates();
    void OpenManager();
    // About one card in three of the set, spread over it; card 1 never.
    void GiveTutorialCards();

    // The tutorial flag and step. The reader takes them only when both are
    // in range, else it reports false and the shop stays out of the tutorial.
    // A restored shop is idle.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    bool Animating() const { return animating_ != 0; }
    bool Waiting() const { return waiting_ != 0; }
    uint8_t TutorialFlag() const { return tutorial_; }
    uint8_t TutorialStep() const { return tutorialStep_; }

private:
    // The button released over itself, or -1; every pressed one is redrawn.
    int ReleaseButtons(uint16_t x, uint16_t y);
    void PressButtons(uint16_t x, uint16_t y);
    void StepAnimation();
    void StartAnimation();
    void FreeAnimation();
    void EndTutorialWait();

    Button buttons_[kButtonCount];
    uint8_t waiting_ = 0;
    uint8_t animating_ = 0;
    int8_t animationStep_ = 0;
    Picture background_;
    Picture entry_;
    Picture frames_[kBoosterFrameCount];
    Picture savedArea_;
    uint8_t tutorial_ = 0;
    uint8_t tutorialStep_ = 0;
    uint32_t animationEndTick_ = 0;
};

}  // namespace qv
