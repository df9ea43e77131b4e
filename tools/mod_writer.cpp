// A small ProTracker "M.K." module writer: 31 samples, 4 channels, 64-row patterns.
#include "tools/mod_writer.h"

#include <algorithm>

namespace qv::tools {
namespace {

const int kPeriods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                          428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                          214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

void AppendBigEndian16(Bytes& out, int v) {
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(v & 0xFF));
}

void AppendText(Bytes& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
}

}  // namespace

int ModPeriod(int note) {
    // Each octave outside the table halves or doubles the period.
    int scale = 0;
    while (note < 0) {
        note += 12;
        --scale;
    }
    while (note >= 36) {
        note -= 12;
        ++scale;
    }
    return scale >= 0 ? kPeriods[note] >> scale : kPeriods[note] << -scale;
}

Bytes EncodeMod(const ModSong& song) {
    Bytes out;
    AppendText(out, song.title, 20);
    for (int s = 0; s < kModSamples; ++s) {
        if (s < static_cast<int>(song.samples.size())) {
            const ModSample& sample = song.samples[s];
            const int words = static_cast<int>(sample.data.size() / 2);
            AppendText(out, sample.name, 22);
            AppendBigEndian16(out, words);
            out.push_back(0);  // finetune
            out.push_back(static_cast<uint8_t>(std::clamp(sample.volume, 0, 64)));
            // The loader loops only when the length is above two words.
            if (sample.loopLength >= 16) {
                AppendBigEndian16(out, sample.loopStart / 2);
                AppendBigEndian16(out, sample.loopLength / 2);
            } else {
                AppendBigEndian16(out, 0);
                AppendBigEndian16(out, 1);
            }
        } else {
            AppendText(out, "", 22);
            AppendBigEndian16(out, 0);
            out.push_back(0);
            out.push_back(0);
            AppendBigEndian16(out, 0);
            AppendBigEndian16(out, 1);
        }
    }
    out.push_back(static_cast<uint8_t>(song.orders.size()));
    out.push_back(127);
    for (int i = 0; i < 128; ++i) {
        out.push_back(i < static_cast<int>(song.orders.size()) ? static_cast<uint8_t>(song.orders[i])
                                                               : 0);
    }
    out.push_back('M');
    out.push_back('.');
    out.push_back('K');
    out.push_back('.');
    for (const ModPattern& pattern : song.patterns) {
        for (const auto& row : pattern) {
            for (const ModCell& cell : row) {
                const int period = cell.note >= 0 ? ModPeriod(cell.note) : 0;
                out.push_back(static_cast<uint8_t>((cell.sample & 0xF0) | ((period >> 8) & 0x0F)));
                out.push_back(static_cast<uint8_t>(period & 0xFF));
                out.push_back(static_cast<uint8_t>(((cell.sample & 0x0F) << 4) | (cell.effect & 0x0F)));
                out.push_back(static_cast<uint8_t>(cell.param & 0xFF));
            }
        }
    }
    for (const ModSample& sample : song.samples) {
        for (int8_t v : sample.data) out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

}  // namespace qv::tools
