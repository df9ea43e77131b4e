// The music layer in a test process: a small module written on the spot,
// and turns of the music and of the main loop's dispatching on the clock.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/music.h"
#include "platform/clock.h"
#include "platform/messages.h"

namespace qv::test {

// A 4-channel ProTracker module: one pattern of `rows` rows (a pattern
// break on the last), one looped square-wave sample; it plays rows x 120 ms.
inline std::vector<uint8_t> MakeModule(int rows) {
    std::vector<uint8_t> mod(1084, 0);
    const char title[] = "quorvane test";
    std::copy(title, title + sizeof(title) - 1, mod.begin());
    for (int s = 0; s < 31; ++s) {
        uint8_t* header = mod.data() + 20 + 30 * s;
        if (s == 0) {
            header[22] = 0;  // length 16 words, big-endian
            header[23] = 16;
            header[25] = 64;  // volume
            header[29] = 16;  // loop length 16 words
        } else {
            header[29] = 1;  // no loop
        }
    }
    mod[950] = 1;  // one order
    mod[951] = 0x7F;
    mod[1080] = 'M';
    mod[1081] = '.';
    mod[1082] = 'K';
    mod[1083] = '.';
    std::vector<uint8_t> pattern(64 * 4 * 4, 0);
    const int period = 428;
    pattern[0] = static_cast<uint8_t>((1 & 0xF0) | ((period >> 8) & 0x0F));
    pattern[1] = static_cast<uint8_t>(period & 0xFF);
    pattern[2] = static_cast<uint8_t>((1 & 0x0F) << 4);
    uint8_t* last = pattern.data() + (rows - 1) * 16;
    last[2] = 0x0D;  // pattern break
    mod.insert(mod.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < 32; ++i) mod.push_back(i < 16 ? 100 : static_cast<uint8_t>(-100));
    return mod;
}

// Keeps the music going on the clock until the tune stops or the time runs
// out; gives the milliseconds that passed.
inline uint32_t PlayUntilStopped(uint32_t limitMs) {
    const uint32_t start = platform::GetTickCount();
    while (IsMusicPlaying() && platform::GetTickCount() - start < limitMs) {
        UpdateMusic();
        platform::Sleep(5);
    }
    return platform::GetTickCount() - start;
}

// Runs the main loop's dispatching (timers included) for a while, or until
// the tune plays again.
inline bool PumpUntilPlaying(uint32_t limitMs) {
    const uint32_t start = platform::GetTickCount();
    while (platform::GetTickCount() - start < limitMs) {
        platform::Msg msg;
        while (platform::PeekMessage(&msg, 0, 0, true)) platform::DispatchMessage(msg);
        if (IsMusicPlaying()) return true;
        platform::Sleep(5);
    }
    return false;
}

}  // namespace qv::test
