// The synthesised instruments of our tunes, as 8-bit module samples.
#pragma once

#include "tools/mod_writer.h"

namespace qv::tools {

// Sample numbers (1-based, as the patterns use them).
enum Instrument : int {
    kPiano = 1,   // decaying electric piano, the usual lead
    kBell = 2,    // glassy bell, for the lighter tunes
    kPad = 3,     // soft looped organ pad, played as arpeggiated chords
    kBass = 4,    // round plucked bass, one octave below its note
    kKick = 5,
    kSnare = 6,
    kHat = 7,
    kBrass = 8,   // harsh pulse lead for the boss
};

// The eight samples in instrument order.
std::vector<ModSample> MakeInstruments();

}  // namespace qv::tools
