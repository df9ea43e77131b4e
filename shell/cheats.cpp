// The six cheat key sequences: placeholder until the cheat keys are built.
#include "shell/cheats.h"

namespace qv {

KeySequence gCheatSequences[kCheatSequenceCount];
uint8_t gCheatMode = 0;

void KeySequence::Append(int8_t key) {
    if (length_ < kMaxKeys) {
        keys_[length_++] = key;
    }
}

// Placeholder until the cheat keys are built: no sequence ever completes.
bool KeySequence::Feed(int8_t /*key*/) { return false; }

// Placeholder until the cheat keys are built: the sequences get no keys.
void SetUpCheatSequences() { gCheatMode = 0; }

// Placeholder until the cheat keys are built: does nothing.
void ApplyCheat(int /*index*/) {}

}  // namespace qv
