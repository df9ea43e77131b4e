// The six cheat key sequences typed on the direction pad.
#pragma once

#include <cstdint>

namespace qv {

// Direction codes fed to the sequences.
enum : int8_t { kDirectionUp = 0, kDirectionDown = 1, kDirectionLeft = 2, kDirectionRight = 3 };

// One sequence of direction keys and how far it has been typed.
class KeySequence {
public:
    static constexpr int kMaxKeys = 8;

    // Appends a key; ignored when kMaxKeys are held.
    void Append(int8_t key);
    // True when this key completes the sequence.
    bool Feed(int8_t key);

private:
    int8_t position_ = 0;
    int8_t length_ = 0;
    int8_t keys_[kMaxKeys] = {};
    uint32_t lastTick_ = 0;
};

inline constexpr int kCheatSequenceCount = 6;
extern KeySequence gCheatSequences[kCheatSequenceCount];
extern uint8_t gCheatMode;

// Clears the cheat mode and gives the sequences their keys.
void SetUpCheatSequences();
// The effect of completed sequence index (0..5).
void ApplyCheat(int index);

}  // namespace qv
