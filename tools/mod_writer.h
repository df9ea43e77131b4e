// A small ProTracker "M.K." module writer: 31 samples, 4 channels, 64-row patterns.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/data_format.h"

namespace qv::tools {

inline constexpr int kModChannels = 4;
inline constexpr int kModRows = 64;
inline constexpr int kModSamples = 31;

struct ModSample {
    std::string name;
    std::vector<int8_t> data;  // signed 8-bit PCM; an even number of bytes
    int volume = 64;           // 0..64
    int loopStart = 0;         // bytes; used when loopLength >= 16
    int loopLength = 0;        // bytes; 0 for a one-shot sample
};

struct ModCell {
    int note = -1;    // semitone index, 0 = C of the lowest octave; -1 none
    int sample = 0;   // 1..31, 0 none
    int effect = 0;   // 0x0..0xF
    int param = 0;    // 0x00..0xFF
};

using ModPattern = std::array<std::array<ModCell, kModChannels>, kModRows>;

struct ModSong {
    std::string title;
    std::vector<ModSample> samples;  // at most 31
    std::vector<ModPattern> patterns;
    std::vector<int> orders;         // pattern numbers, played in turn, then the song ends
};

// The Amiga period of a semitone index (0..35 the three classic octaves;
// notes outside them get the period of their octave, halved or doubled).
int ModPeriod(int note);
// The module file bytes.
Bytes EncodeMod(const ModSong& song);

}  // namespace qv::tools
