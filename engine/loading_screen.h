// The loading screen shown while start-up loads: the picture revealed row by
// row, the loading line, a hint, and the closing sideways scroll.
#pragma once

#include <cstdint>

#include "engine/picture.h"
#include "platform/types.h"

namespace qv {

inline constexpr int kLoadingHintCount = 38;
extern const char* const gLoadingHints[kLoadingHintCount];

class LoadingScreen {
public:
    LoadingScreen();
    virtual ~LoadingScreen();
    LoadingScreen(const LoadingScreen&) = delete;
    LoadingScreen& operator=(const LoadingScreen&) = delete;

    // Loads the picture and picks the hint; draws nothing yet.
    void Begin(int16_t steps);
    // One loading step; the step that reaches the total runs Finish.
    void Step();
    // Scrolls the picture sideways until its end shows or a tap, then waits
    // for a tap.
    void Finish();
    void FreePictures();
    void DrawLoadingText();
    void DrawHint();

    int16_t StepsTaken() const { return step_; }
    int16_t TotalSteps() const { return total_; }

private:
    Picture picture_;
    Picture saveUnder_;
    int16_t total_ = 0;
    int16_t step_ = 0;
    uint8_t revealed_[320] = {};
    int8_t linesPerStep_ = 0;
    int8_t hint_ = 0;
};

// "Quorvane v1.15" in yellow, ending at x 235 on row 307 of buffer 0.
void DrawVersionLabel();

extern LoadingScreen gLoadingScreen;

}  // namespace qv
