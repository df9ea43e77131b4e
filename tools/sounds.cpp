// Short sound effects as 8-bit mono wave files: a card laid, a match won, a match lost.
#include "tools/sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/rng.h"

namespace qv::tools {
namespace {

void AppendLittle(Bytes& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void AppendTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

struct Mixer {
    std::vector<double> buffer;
    explicit Mixer(double seconds) : buffer(static_cast<size_t>(seconds * kWaveRate), 0.0) {}
    // A bell-like note: fundamental and octave, quick attack, exponential decay.
    void AddNote(double start, double length, double freq, double level) {
        const int first = static_cast<int>(start * kWaveRate);
        const int count = static_cast<int>(length * kWaveRate);
        for (int i = 0; i < count && first + i < static_cast<int>(buffer.size()); ++i) {
            const double t = static_cast<double>(i) / kWaveRate;
            const double envelope = std::min(1.0, t * 200) * std::exp(-t * 4.0 / length);
            buffer[first + i] += level * envelope *
                                 (std::sin(2 * M_PI * freq * t) + 0.3 * std::sin(4 * M_PI * freq * t));
        }
    }
    std::vector<uint8_t> Render() const {
        std::vector<uint8_t> out;
        for (double v : buffer) {
            out.push_back(static_cast<uint8_t>(std::clamp(std::lround(128 + v * 100), 1L, 255L)));
        }
        return out;
    }
};

double Hz(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

// A card slapped on the felt: a short knock and a little paper noise.
std::vector<uint8_t> CardSound() {
    Mixer mix(0.12);
    Rng rng(3);
    for (size_t i = 0; i < mix.buffer.size(); ++i) {
        const double t = static_cast<double>(i) / kWaveRate;
        const double knock = std::sin(2 * M_PI * (180 - 600 * t) * t) * std::exp(-t * 60);
        const double paper = (rng.Unit() * 2 - 1) * std::exp(-t * 90) * 0.5;
        mix.buffer[i] = 0.9 * knock + paper;
    }
    return mix.Render();
}

// A rising major arpeggio with a final chord.
std::vector<uint8_t> WinSound() {
    Mixer mix(1.3);
    const int notes[] = {-9, -5, -2, 3};  // C, E, G, C above
    for (int k = 0; k < 4; ++k) mix.AddNote(k * 0.12, 0.5, Hz(notes[k]), 0.35);
    for (int n : {3, 7, 10}) mix.AddNote(0.5, 0.8, Hz(n), 0.25);
    return mix.Render();
}

// A falling minor line that settles low.
std::vector<uint8_t> LoseSound() {
    Mixer mix(1.4);
    const int notes[] = {0, -2, -4, -5};
    for (int k = 0; k < 4; ++k) mix.AddNote(k * 0.2, 0.45, Hz(notes[k]), 0.35);
    for (int n : {-12, -9, -5}) mix.AddNote(0.8, 0.6, Hz(n), 0.22);
    return mix.Render();
}

}  // namespace

Bytes EncodeWave(const std::vector<uint8_t>& samples) {
    Bytes out;
    AppendTag(out, "RIFF");
    AppendLittle(out, static_cast<uint32_t>(36 + samples.size()), 4);
    AppendTag(out, "WAVE");
    AppendTag(out, "fmt ");
    AppendLittle(out, 16, 4);
    AppendLittle(out, 1, 2);  // PCM
    AppendLittle(out, 1, 2);  // mono
    AppendLittle(out, kWaveRate, 4);
    AppendLittle(out, kWaveRate, 4);  // bytes per second
    AppendLittle(out, 1, 2);          // block align
    AppendLittle(out, 8, 2);          // bits per sample
    AppendTag(out, "data");
    AppendLittle(out, static_cast<uint32_t>(samples.size()), 4);
    out.insert(out.end(), samples.begin(), samples.end());
    if (samples.size() % 2 != 0) out.push_back(128);  // chunks are padded to even sizes
    return out;
}

bool WriteSoundEffects(const std::string& root) {
    const std::string dir = root + "/SOUNDS/";
    return WriteFileBytes(dir + "carte.QVW", EncodeWave(CardSound())) &&
           WriteFileBytes(dir + "gagne.QVW", EncodeWave(WinSound())) &&
           WriteFileBytes(dir + "perdu.QVW", EncodeWave(LoseSound()));
}

}  // namespace qv::tools
