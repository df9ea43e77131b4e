// A small seeded generator so every run of the asset builder gives the same bytes.
#pragma once

#include <cstdint>

namespace qv::tools {

class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed * 2654435761u + 12345u) {
        if (state_ == 0) state_ = 1;  // xorshift never leaves zero
    }
    uint32_t Next() {
        // xorshift32: fast and plenty for picking art and powers.
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in 0..n-1 (n > 0).
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    // Uniform in lo..hi inclusive.
    int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
    double Unit() { return (Next() >> 8) / 16777216.0; }

private:
    uint32_t state_;
};

}  // namespace qv::tools
