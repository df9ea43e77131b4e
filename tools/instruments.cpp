// The synthesised instruments of our tunes, as 8-bit module samples.
#include "tools/instruments.h"

#include <algorithm>
#include <cmath>

#include "tools/rng.h"

namespace qv::tools {
namespace {

// One period of 32 bytes plays at about 259 Hz on the middle octave's C.
constexpr int kCycle = 32;

int8_t Clip(double v) { return static_cast<int8_t>(std::clamp(std::lround(v), -127L, 127L)); }

// A tone of whole cycles with harmonics (amplitudes of partials 1, 2, 3...)
// and an exponential decay (time constant in cycles).
ModSample Tone(const std::string& name, int cycle, int cycles, std::vector<double> partials,
               double decay, int attackCycles, int volume) {
    ModSample s;
    s.name = name;
    s.volume = volume;
    const int length = cycle * cycles;
    double peak = 0;
    for (double p : partials) peak += std::fabs(p);
    for (int i = 0; i < length; ++i) {
        const double phase = 2 * M_PI * (i % cycle) / cycle;
        double v = 0;
        for (size_t k = 0; k < partials.size(); ++k) v += partials[k] * std::sin((k + 1) * phase);
        const double t = static_cast<double>(i) / cycle;
        double envelope = decay > 0 ? std::exp(-t / decay) : 1.0;
        if (t < attackCycles) envelope *= t / attackCycles;
        // The last cycles fade to silence so a one-shot sample ends cleanly.
        const double tail = std::min(1.0, (cycles - t) / 4.0);
        s.data.push_back(Clip(110 * v / peak * envelope * tail));
    }
    return s;
}

ModSample Pad() {
    ModSample s = Tone("pad", kCycle, 48, {1, 0.5, 0.33, 0.2, 0.12}, 0, 6, 22);
    // Replace the faded tail by a steady loop of the last full-level cycles.
    const int loopCycles = 8;
    s.data.resize(kCycle * 48);
    for (int i = kCycle * (48 - loopCycles); i < kCycle * 48; ++i) {
        const double phase = 2 * M_PI * (i % kCycle) / kCycle;
        double v = std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.33 * std::sin(3 * phase) +
                   0.2 * std::sin(4 * phase) + 0.12 * std::sin(5 * phase);
        s.data[i] = Clip(110 * v / 2.15);
    }
    s.loopStart = kCycle * (48 - loopCycles);
    s.loopLength = kCycle * loopCycles;
    return s;
}

ModSample Kick() {
    ModSample s;
    s.name = "kick";
    s.volume = 60;
    double phase = 0;
    const int length = 1600;
    for (int i = 0; i < length; ++i) {
        const double t = i / 8287.0;
        const double freq = 45 + 120 * std::exp(-t * 30);
        phase += 2 * M_PI * freq / 8287.0;
        s.data.push_back(Clip(120 * std::sin(phase) * std::exp(-t * 14)));
    }
    return s;
}

ModSample Noise(const std::string& name, int length, double decay, double toneMix, int volume,
                uint32_t seed, bool bright) {
    ModSample s;
    s.name = name;
    s.volume = volume;
    Rng rng(seed);
    double previous = 0;
    for (int i = 0; i < length; ++i) {
        const double t = i / 8287.0;
        double noise = rng.Unit() * 2 - 1;
        // A bright noise keeps only the changes (a crude high-pass).
        if (bright) {
            const double raw = noise;
            noise = raw - previous;
            previous = raw;
            noise *= 0.6;
        }
        const double tone = std::sin(2 * M_PI * 185 * t);
        s.data.push_back(Clip(115 * ((1 - toneMix) * noise + toneMix * tone) * std::exp(-t * decay)));
    }
    return s;
}

ModSample Brass() {
    ModSample s;
    s.name = "brass";
    s.volume = 44;
    const int cycles = 160;
    for (int i = 0; i < kCycle * cycles; ++i) {
        const double t = static_cast<double>(i) / kCycle;
        const double duty = 0.3 + 0.15 * std::sin(t * 0.15);
        const double v = (i % kCycle) < duty * kCycle ? 1.0 : -1.0;
        const double envelope = std::min(1.0, t / 2) * std::exp(-t / 70) * std::min(1.0, (cycles - t) / 4);
        s.data.push_back(Clip(70 * v * envelope));
    }
    return s;
}

}  // namespace

std::vector<ModSample> MakeInstruments() {
    std::vector<ModSample> samples;
    samples.push_back(Tone("piano", kCycle, 220, {1, 0.45, 0.2, 0.1}, 45, 1, 48));
    samples.push_back(Tone("bell", kCycle, 260, {1, 0, 0.5, 0, 0.3, 0, 0.2}, 60, 1, 40));
    samples.push_back(Pad());
    samples.push_back(Tone("bass", kCycle * 2, 110, {1, 0.5, 0.15}, 40, 1, 56));
    samples.push_back(Kick());
    samples.push_back(Noise("snare", 1400, 22, 0.35, 42, 6, false));
    samples.push_back(Noise("hat", 420, 60, 0, 24, 7, true));
    samples.push_back(Brass());
    for (ModSample& s : samples) {
        if (s.data.size() % 2 != 0) s.data.push_back(0);
    }
    return samples;
}

}  // namespace qv::tools
