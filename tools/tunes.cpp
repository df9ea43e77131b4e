// The game's tunes: little four-channel pieces composed by rule, written as modules.
#include "tools/tunes.h"

#include <algorithm>
#include <cstdlib>

#include "tools/instruments.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

enum Channel { kMelody = 0, kBassLine = 1, kChords = 2, kDrums = 3 };
enum DrumStyle { kNoDrums, kSoftDrums, kRockDrums, kMarchDrums };
enum BassStyle { kRootFifth, kWalking, kPedal };

struct TuneSpec {
    const char* name;
    const char* file;
    int root;            // semitone index of the key's tonic in the middle octave (12..23)
    bool minor;
    int progA[4], progB[4];  // scale degrees of the bars of sections A and B
    const char* plan;    // sections in order: A, B, then E for the ending
    int speed, bpm;
    int lead;            // instrument of the melody
    DrumStyle drums;
    BassStyle bass;
    uint32_t seed;
};

const TuneSpec kTunes[] = {
    // Before a match and at start-up: long, expectant, in minor.
    {"Avant une partie", "Avant une partie.QVX", 21, true, {0, 5, 2, 6}, {3, 0, 4, 4},
     "AABAABAE", 6, 125, kPiano, kSoftDrums, kRootFifth, 11},
    // The club's lounge: easy major with a walking bass.
    {"menu", "menu.QVX", 17, false, {0, 5, 1, 4}, {3, 2, 1, 4}, "AABAE", 6, 112, kBell, kSoftDrums,
     kWalking, 22},
    {"Partie1", "Partie1.QVX", 19, false, {0, 3, 4, 0}, {5, 3, 1, 4}, "AABAE", 6, 132, kPiano,
     kRockDrums, kRootFifth, 31},
    {"Partie2", "Partie2.QVX", 14, true, {0, 6, 5, 4}, {0, 3, 6, 4}, "ABABE", 6, 140, kPiano,
     kRockDrums, kRootFifth, 42},
    {"Partie3", "Partie3.QVX", 16, true, {0, 3, 4, 0}, {5, 6, 0, 4}, "AABE", 5, 125, kBell,
     kMarchDrums, kPedal, 53},
    {"Partie4", "Partie4.QVX", 12, false, {0, 4, 5, 3}, {1, 4, 0, 4}, "ABAE", 6, 120, kPiano,
     kSoftDrums, kWalking, 64},
    // The character screen: bright and short.
    {"Partie5", "Partie5.QVM", 17, false, {0, 3, 0, 4}, {3, 4, 5, 4}, "ABE", 6, 118, kBell,
     kSoftDrums, kRootFifth, 75},
    // The lair: dark, driving, brass on top.
    {"Boss", "Boss.QVX", 16, true, {0, 0, 5, 4}, {3, 5, 6, 4}, "AABAE", 5, 138, kBrass,
     kMarchDrums, kPedal, 86},
    // The end credits: a proud major march.
    {"End credits", "End credits.QVX", 14, false, {0, 3, 4, 0}, {5, 3, 1, 4}, "AABABAE", 6, 116,
     kPiano, kMarchDrums, kWalking, 97},
};

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// Semitone offset of a scale degree (any integer, octaves folded).
int DegreeOffset(const TuneSpec& spec, int degree) {
    const int* scale = spec.minor ? kMinor : kMajor;
    const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    const int d = degree - octave * 7;
    return octave * 12 + scale[d];
}

// The triad on a degree as arpeggio semitones above its root.
int ArpeggioParam(const TuneSpec& spec, int degree) {
    const int root = DegreeOffset(spec, degree);
    int third = DegreeOffset(spec, degree + 2) - root;
    const int fifth = DegreeOffset(spec, degree + 4) - root;
    // In minor the fifth chord borrows the raised seventh, as the ear expects.
    if (spec.minor && degree % 7 == 4) third = 4;
    return (third << 4) | fifth;
}

ModCell Note(int note, int sample, int effect = 0, int param = 0) {
    return ModCell{note, sample, effect, param};
}

// Onset rows of melody rhythms within a 16-row bar.
const std::vector<std::vector<int>> kRhythms = {
    {0, 4, 8, 12},      {0, 6, 8, 12, 14}, {0, 2, 4, 8, 12},   {0, 8, 12},
    {0, 3, 6, 8, 12},   {0, 4, 6, 8, 10},  {0, 4, 8, 10, 12, 14}, {0, 12},
};

struct BarMelody {
    std::vector<std::pair<int, int>> notes;  // row, scale degree above the tonic
};

// Four bars of melody over a progression: chord tones on the beats, steps between.
std::vector<BarMelody> ComposeSection(const int* progression, Rng& rng) {
    std::vector<BarMelody> bars;
    int degree = 4 + rng.Below(3);
    const int motif = rng.Below(static_cast<int>(kRhythms.size()) - 1);
    for (int bar = 0; bar < 4; ++bar) {
        BarMelody melody;
        // The motif's rhythm returns in bars 1 and 3; bar 4 breathes.
        const std::vector<int>& rhythm = bar == 3 ? kRhythms[rng.Below(2) == 0 ? 3 : 7]
                                         : bar == 2 ? kRhythms[rng.Below(static_cast<int>(kRhythms.size()))]
                                                    : kRhythms[motif];
        const int chord = progression[bar];
        for (int row : rhythm) {
            if (row % 4 == 0) {
                // Nearest chord tone (root, third or fifth of the bar's chord).
                int best = degree, bestDistance = 99;
                for (int octave = -7; octave <= 14; octave += 7) {
                    for (int tone = 0; tone < 3; ++tone) {
                        const int candidate = chord + tone * 2 + octave;
                        const int distance = std::abs(candidate - degree) + rng.Below(2);
                        if (candidate >= 0 && candidate <= 11 && distance < bestDistance) {
                            best = candidate;
                            bestDistance = distance;
                        }
                    }
                }
                degree = best;
            } else {
                degree += rng.Below(2) == 0 ? -1 : 1;
                degree = std::clamp(degree, 0, 11);
            }
            melody.notes.push_back({row, degree});
        }
        bars.push_back(melody);
    }
    return bars;
}

void FillBar(const TuneSpec& spec, ModPattern& pattern, int bar, int chord, const BarMelody& melody,
             bool ending) {
    const int base = bar * 16;
    const int tonic = spec.root;
    // Melody, one octave above the tonic's middle octave row.
    for (const auto& [row, degree] : melody.notes) {
        const int accent = row == 0 ? 0x40 : row % 4 == 0 ? 0x36 : 0x2C;
        pattern[base + row][kMelody] = Note(tonic + DegreeOffset(spec, degree), spec.lead, 0xC, accent);
    }
    // Chords: the pad with an arpeggio on every row of the bar.
    const int chordRoot = tonic - 12 + DegreeOffset(spec, chord);
    const int arpeggio = ArpeggioParam(spec, chord);
    for (int row = 0; row < 16; ++row) {
        pattern[base + row][kChords] = row == 0 ? Note(chordRoot + 12, kPad, 0x0, arpeggio)
                                                : ModCell{-1, 0, 0x0, arpeggio};
    }
    // Bass.
    const int bassRoot = tonic - 12 + DegreeOffset(spec, chord);
    const int bassFifth = tonic - 12 + DegreeOffset(spec, chord + 4);
    switch (spec.bass) {
    case kRootFifth:
        pattern[base][kBassLine] = Note(bassRoot, kBass);
        pattern[base + 8][kBassLine] = Note(bassFifth, kBass);
        if (!ending) pattern[base + 14][kBassLine] = Note(bassRoot, kBass, 0xC, 0x28);
        break;
    case kWalking:
        for (int beat = 0; beat < 4; ++beat) {
            const int degree = chord + (beat == 3 ? 1 : beat * 2);
            pattern[base + beat * 4][kBassLine] =
                Note(tonic - 12 + DegreeOffset(spec, degree), kBass, 0xC, beat == 0 ? 0x40 : 0x30);
        }
        break;
    case kPedal:
        for (int row = 0; row < 16; row += 4) {
            pattern[base + row][kBassLine] = Note(row == 8 ? bassFifth : bassRoot, kBass);
        }
        break;
    }
    // Drums, one voice: kick before snare before hat.
    for (int row = 0; row < 16; row += 2) {
        int sample = 0;
        switch (spec.drums) {
        case kNoDrums: break;
        case kSoftDrums:
            sample = row == 0 ? kKick : row == 8 ? kSnare : (row % 4 == 0 ? kHat : 0);
            break;
        case kRockDrums:
            sample = (row == 0 || row == 6 || row == 10) ? kKick : (row == 4 || row == 12) ? kSnare
                                                                                        : kHat;
            break;
        case kMarchDrums:
            sample = row % 8 == 0 ? kKick : (row % 4 == 0 ? kSnare : (row == 14 ? kSnare : kHat));
            break;
        }
        if (sample != 0) pattern[base + row][kDrums] = Note(12, sample);
    }
}

ModPattern MakePattern(const TuneSpec& spec, const int* progression,
                       const std::vector<BarMelody>& melody, bool ending) {
    ModPattern pattern{};
    for (int bar = 0; bar < 4; ++bar) {
        if (ending && bar == 3) break;
        FillBar(spec, pattern, bar, progression[bar], melody[bar], ending);
    }
    if (ending) {
        // A last tonic chord that rings out, then the song stops.
        const int row = 48;
        pattern[row][kMelody] = Note(spec.root + 12, spec.lead, 0xC, 0x40);
        pattern[row][kChords] = Note(spec.root, kPad, 0x0, ArpeggioParam(spec, 0));
        for (int r = row + 1; r < 64; ++r) pattern[r][kChords] = ModCell{-1, 0, 0x0, ArpeggioParam(spec, 0)};
        pattern[row][kBassLine] = Note(spec.root - 12, kBass);
        pattern[row][kDrums] = Note(12, spec.drums == kNoDrums ? kHat : kSnare);
        // Fade the pad over the last bar.
        for (int r = row + 4; r < 64; r += 4) pattern[r][kChords] = ModCell{-1, 0, 0xA, 0x02};
    }
    return pattern;
}

}  // namespace

ModSong ComposeTune(const std::string& name) {
    ModSong song;
    const TuneSpec* spec = nullptr;
    for (const TuneSpec& t : kTunes) {
        if (name == t.name) spec = &t;
    }
    if (spec == nullptr) return song;
    song.title = spec->name;
    song.samples = MakeInstruments();
    Rng rng(spec->seed);
    const std::vector<BarMelody> sectionA = ComposeSection(spec->progA, rng);
    const std::vector<BarMelody> sectionB = ComposeSection(spec->progB, rng);
    // Patterns: 0 = A, 1 = B, 2 = the ending.
    song.patterns.push_back(MakePattern(*spec, spec->progA, sectionA, false));
    song.patterns.push_back(MakePattern(*spec, spec->progB, sectionB, false));
    song.patterns.push_back(MakePattern(*spec, spec->progA, sectionA, true));
    // The first order sets speed and tempo, so it is a copy of A with them.
    ModPattern opening = song.patterns[0];
    opening[0][kDrums].effect = 0xF;
    opening[0][kDrums].param = spec->speed;
    opening[0][kBassLine].effect = 0xF;
    opening[0][kBassLine].param = spec->bpm;
    song.patterns.push_back(opening);
    for (const char* p = spec->plan; *p != '\0'; ++p) {
        const int pattern = *p == 'A' ? 0 : *p == 'B' ? 1 : 2;
        song.orders.push_back(song.orders.empty() ? 3 : pattern);
    }
    return song;
}

bool WriteTunes(const std::string& root) {
    for (const TuneSpec& t : kTunes) {
        if (!WriteFileBytes(root + "/SOUNDS/" + t.file, EncodeMod(ComposeTune(t.name)))) return false;
    }
    return true;
}

}  // namespace qv::tools
