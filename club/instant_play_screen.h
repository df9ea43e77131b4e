// Instant Play: the 15 opponents of a level with the player's record against
// each, the level's stake, and the way to the bet screen.
#pragma once

#include <cstdint>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

class InstantPlayScreen {
public:
    // Level, selected row, tutorial flag, tutorial step.
    static constexpr int kStateSize = 4;
    static constexpr int kRowCount = 15;

    // Loads the pictures and draws the transition picture into back buffer 1.
    InstantPlayScreen();
    virtual ~InstantPlayScreen();
    InstantPlayScreen(const InstantPlayScreen&) = delete;
    InstantPlayScreen& operator=(const InstantPlayScreen&) = delete;

    // After the club's transition in, and again when the bet screen closes.
    void Enter();
    // The left and right keys turn the level.
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    bool StylusUp(uint16_t x, uint16_t y);    // true closes the screen
    void Draw(int8_t buffer);
    void DrawOpponentTable(int8_t buffer);
    void DrawStake(int8_t buffer);
    void DrawRowHighlighted(int row, int8_t buffer);
    void DrawRowPlain(int row, int8_t buffer);
    void SetTutorial(uint8_t flag) { tutorial_ = flag; }
    void SetTutorialStep(uint8_t step) { tutorialStep_ = step; }
    bool TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
    // True once it has opened the bet screen.
    bool TutorialStylusUp(uint16_t x, uint16_t y) { return StylusUp(x, y); }
    // kStateSize bytes. The reader takes them only when the level, row and
    // tutorial flag are in range; false otherwise (the screen stays as built).
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    int8_t Level() const { return level_; }
    int8_t SelectedRow() const { return selectedRow_; }

private:
    // The row (0..14) whose tap area holds the point, or -1.
    int RowAt(uint16_t x, uint16_t y) const;
    void DrawRow(int row, int colour, int8_t buffer);
    void TurnLevel(int step);

    int16_t rowTops_[kRowCount] = {};
    Button buttons_[3];  // left, right, back
    Picture background_;
    Picture transition_;
    Picture guestTitle_;
    Picture memberTitle_;
    Picture eliteTitle_;
    int8_t level_ = 0;
    int8_t selectedRow_ = -1;
    uint8_t tutorial_ = 0;
    uint8_t tutorialStep_ = 0;
};

}  // namespace qv
