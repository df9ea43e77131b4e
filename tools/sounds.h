// Short sound effects as 8-bit mono wave files: a card laid, a match won, a match lost.
#pragma once

#include <string>
#include <vector>

#include "tools/data_format.h"

namespace qv::tools {

inline constexpr int kWaveRate = 22050;

// A RIFF wave file of unsigned 8-bit mono samples at kWaveRate.
Bytes EncodeWave(const std::vector<uint8_t>& samples);

// "SOUNDS/carte.QVW", "gagne.QVW" and "perdu.QVW". False on failure.
bool WriteSoundEffects(const std::string& root);

}  // namespace qv::tools
